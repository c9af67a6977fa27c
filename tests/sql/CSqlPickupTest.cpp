#include "sql/CSqlBlock.h"
#include "sql/CSqlBlockComment.h"
#include "sql/CSqlComma.h"
#include "sql/CSqlDelimiter.h"
#include "sql/CSqlItem.h"
#include "sql/CSqlKeyword.h"
#include "sql/CSqlLineComment.h"
#include "sql/CSqlOperator.h"
#include "sql/CSqlQuote.h"

#include <gtest/gtest.h>

namespace {

struct Span
{
    qsizetype start;
    qsizetype end;
    bool operator==(const Span &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Span &span)
{
    return os << '[' << span.start << ", " << span.end << ')';
}

// The span a pick-up recognises at position (limit -1: the end of the text), or {-1, -1}.
Span pick(CSqlPickup &pickup, const QString &text, qsizetype position, qsizetype limit = -1)
{
    pickup.SetSqlText(&text);
    SqlPickupResult result;
    if (!pickup.PickUp(position, limit < 0 ? text.size() : limit, result))
        return {-1, -1};
    EXPECT_EQ(result.matchText, QStringView(text).sliced(result.start, result.end - result.start));
    EXPECT_EQ(result.kind, pickup.Kind());
    return {result.start, result.end};
}

CSqlStrArray symbols(const char *list)
{
    return CSqlStrArray::Split(QString::fromUtf8(list));
}

} // namespace

TEST(CSqlPickup, quote_toggles_on_doubled_quotes_and_stops_at_limit)
{
    CSqlQuote quote;
    quote.SetSymbols(CSqlStrArray::Split(QStringLiteral("'")));
    struct Case
    {
        const char *text;
        qsizetype limit;
        Span expected;
    };
    const Case cases[] = {
        {"'abc' x", -1, {0, 5}},
        {"'It''s' x", -1, {0, 7}},
        {"''''", -1, {0, 4}},
        {"'abc", -1, {0, 4}},     // never closed: to the limit
        {"'abc'", -1, {0, 5}},    // ended right after a quote
        {"'ab'c", 3, {0, 3}},     // limit inside the string
        {"'ab''", -1, {0, 5}},    // toggle off at the end: to the limit
        {"x'a'", -1, {-1, -1}},   // not at a quote
    };
    for (const Case &c : cases)
        EXPECT_EQ(pick(quote, QString::fromUtf8(c.text), 0, c.limit), c.expected) << c.text;
}

TEST(CSqlPickup, blocks_nest_and_comments_do_not)
{
    CSqlBlock parhs(SQL_ITEM_BLOCK, 1);
    parhs.SetSymbols(CSqlStrArray::Split(QStringLiteral("( , {")),
                     CSqlStrArray::Split(QStringLiteral(") , }")));
    EXPECT_EQ(pick(parhs, QStringLiteral("(a(b)c)d"), 0), (Span{0, 7}));
    EXPECT_EQ(pick(parhs, QStringLiteral("(a(b)c)d"), 2), (Span{2, 5}));
    EXPECT_EQ(pick(parhs, QStringLiteral("{a(})"), 0), (Span{0, 4}));   // only its own pair counts
    EXPECT_EQ(pick(parhs, QStringLiteral("(a(b"), 0), (Span{0, 4}));    // never closed
    EXPECT_EQ(pick(parhs, QStringLiteral("((a))"), 1, 3), (Span{1, 3})); // closes past the limit
    EXPECT_EQ(pick(parhs, QStringLiteral("(')')"), 0), (Span{0, 3}));  // quotes do not hide it

    // Same symbol for opening and closing: every further mark opens, nothing closes.
    CSqlBlock marks(SQL_ITEM_WORD_MARK, 1);
    marks.SetSymbols(symbols("\""), symbols("\""));
    EXPECT_EQ(pick(marks, QStringLiteral("\"a\" b"), 0), (Span{0, 5}));

    // Case-insensitive multi-character symbols.
    CSqlBlock words(SQL_ITEM_BLOCK, 1);
    words.SetSymbols(symbols("BEGIN"), symbols("END"));
    EXPECT_EQ(pick(words, QStringLiteral("begin x Begin y eNd End z"), 0), (Span{0, 23}));

    // Overlapping symbols: the scan starts after the opening symbol, so the second "(" of
    // the text never counts and the first ")" closes.
    CSqlBlock overlapping(SQL_ITEM_BLOCK, 1);
    overlapping.SetSymbols(symbols("(("), symbols(")"));
    EXPECT_EQ(pick(overlapping, QStringLiteral("((( a ))"), 0), (Span{0, 7}));

    // An open symbol without a partner is ignored.
    CSqlBlock unpaired(SQL_ITEM_BLOCK, 1);
    unpaired.SetSymbols(symbols("(,<"), symbols(")"));
    EXPECT_EQ(pick(unpaired, QStringLiteral("<a>"), 0), (Span{-1, -1}));

    CSqlBlockComment comment;
    comment.SetSymbols(symbols("/*"), symbols("*/"));
    EXPECT_EQ(pick(comment, QStringLiteral("/* a /* b */ c */"), 0), (Span{0, 12}));
    EXPECT_EQ(pick(comment, QStringLiteral("/* a"), 0), (Span{0, 4}));
    EXPECT_EQ(pick(comment, QStringLiteral("/*/"), 0), (Span{0, 3}));
}

TEST(CSqlPickup, line_comment_ends_before_cr_lf_only)
{
    CSqlLineComment line;
    line.SetSymbols(CSqlStrArray::Split(QStringLiteral("// , --")));
    EXPECT_EQ(pick(line, QStringLiteral("-- a\r\nb"), 0), (Span{0, 4}));
    EXPECT_EQ(pick(line, QStringLiteral("// a\nb\rc"), 0), (Span{0, 8}));
    EXPECT_EQ(pick(line, QStringLiteral("-- a\r\nb"), 0, 3), (Span{0, 3}));
    EXPECT_EQ(pick(line, QStringLiteral("- a"), 0), (Span{-1, -1}));
}

TEST(CSqlPickup, delimiters_absorb_runs_and_commas_stand_alone)
{
    CSqlDelimiter delimiter(SQL_ITEM_DELIMITER, 0);
    delimiter.SetSymbols(CSqlStrArray::Split(QStringLiteral("\t, ,\r\n"), false));
    EXPECT_EQ(pick(delimiter, QStringLiteral(" \t\r\n  x"), 0), (Span{0, 6}));
    EXPECT_EQ(pick(delimiter, QStringLiteral(" \n"), 0), (Span{0, 1}));     // a lone LF is text
    EXPECT_EQ(pick(delimiter, QStringLiteral("\r x"), 0), (Span{-1, -1}));  // so is a lone CR
    EXPECT_EQ(pick(delimiter, QStringLiteral("    "), 0, 2), (Span{0, 2}));

    CSqlComma comma;
    comma.SetSymbols(CSqlStrArray::Whole(QStringLiteral(",")));
    EXPECT_EQ(pick(comma, QStringLiteral(",,"), 0), (Span{0, 1}));
}

TEST(CSqlPickup, keyword_and_operator_classify_whole_ranges)
{
    CSqlKeyword keyword(SQL_ITEM_KEYWORD);
    keyword.SetSymbols(CSqlStrArray::Split(QStringLiteral("SELECT, GROUP BY")));
    EXPECT_TRUE(keyword.IsMatch(QStringLiteral("select")));
    EXPECT_TRUE(keyword.IsMatch(QStringLiteral("group by")));
    EXPECT_FALSE(keyword.IsMatch(QStringLiteral("group  by")));
    EXPECT_FALSE(keyword.IsMatch(QStringLiteral("selects")));
    EXPECT_TRUE(keyword.IsMatch(QStringLiteral("xSELECTx"), 1, 6));
    EXPECT_TRUE(keyword.ContainsJoined(u"Group", u"BY"));
    EXPECT_FALSE(keyword.ContainsJoined(u"Group", u"B"));
    EXPECT_EQ(pick(keyword, QStringLiteral("a Select"), 2), (Span{2, 8}));

    CSqlOperator op;
    EXPECT_TRUE(op.IsMatch(QStringLiteral("<>")));
    EXPECT_TRUE(op.IsMatch(QStringLiteral("_")));
    EXPECT_TRUE(op.IsMatch(QStringLiteral("!#$%&*+-./:;<=>?@[\\]^_`{|}")));
    EXPECT_FALSE(op.IsMatch(QStringLiteral("~")));
    EXPECT_FALSE(op.IsMatch(QStringLiteral("a=")));
    EXPECT_FALSE(op.IsMatch(QStringLiteral("＝"))); // full-width
    EXPECT_TRUE(op.IsMatch(QStringLiteral("a="), 1));

    // The base pick-up accepts anything and fills nothing.
    CSqlPickup base;
    SqlPickupResult result;
    EXPECT_TRUE(base.PickUp(0, 0, result));
    EXPECT_EQ(result.end, 0);
    EXPECT_TRUE(base.IsMatch(QString()));
}

TEST(CSqlItem, children_keep_order_and_parent_and_deep_trees_are_destroyed_safely)
{
    CSqlItem root(QString(), SQL_ITEM_BLOCK);
    CSqlItem *a = root.AddChild(QStringLiteral("a"), SQL_ITEM_WORD);
    CSqlItem *b = root.AddChild(QStringLiteral("b"), SQL_ITEM_WORD);
    CSqlItem *c = root.AddChild(QStringLiteral("c"), SQL_ITEM_WORD);
    EXPECT_EQ(a->parent, &root);
    EXPECT_EQ(a->Next(), b);
    EXPECT_EQ(c->Prev(), b);
    root.children.Remove(b);
    EXPECT_EQ(a->Next(), c);
    EXPECT_EQ(root.children.Count(), 2);

    // A chain a million deep: destroying it must not recurse.
    CSqlItem *deep = c;
    for (int i = 0; i < 1000000; ++i)
        deep = deep->AddChild(QString(), SQL_ITEM_BLOCK);
    root.ClearChildren();
    EXPECT_TRUE(root.children.IsEmpty());
    EXPECT_EQ(root.children.First(), nullptr);
}

TEST(CSqlPickup, remembered_bracket_ends_agree_with_a_plain_scan)
{
    // The bracket pick-up remembers closing positions; a straightforward scan from the
    // opening symbol, as the tokenizer would do it, must give the same span for any text,
    // position and limit.
    struct Pair
    {
        QString open;
        QString close;
    };
    const Pair pairs[] = {{QStringLiteral("("), QStringLiteral(")")},
                          {QStringLiteral("<<"), QStringLiteral(">")},
                          {QStringLiteral("ab"), QStringLiteral("ba")},
                          {QStringLiteral("x"), QStringLiteral("x")}};
    const QString alphabet = QStringLiteral("()<>abx ");
    quint32 seed = 12345;
    const auto random = [&seed](quint32 bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    for (const Pair &pair : pairs) {
        CSqlBlock block(SQL_ITEM_BLOCK, 1);
        block.SetSymbols(CSqlStrArray::Whole(pair.open), CSqlStrArray::Whole(pair.close));
        for (int round = 0; round < 400; ++round) {
            QString text;
            const int length = 1 + int(random(24));
            for (int i = 0; i < length; ++i)
                text.append(alphabet.at(random(alphabet.size())));
            for (qsizetype position = 0; position < text.size(); ++position) {
                const qsizetype limit = position + 1 + random(quint32(text.size() - position));
                Span expected{-1, -1};
                if (position + pair.open.size() <= limit
                    && QStringView(text).sliced(position).startsWith(pair.open)) {
                    int depth = 1;
                    expected = {position, limit};
                    for (qsizetype p = position + pair.open.size(); p < limit; ++p) {
                        const QStringView rest = QStringView(text).sliced(p, limit - p);
                        if (rest.startsWith(pair.open)) {
                            ++depth;
                        } else if (rest.startsWith(pair.close)) {
                            if (depth == 1) {
                                expected.end = p + pair.close.size();
                                break;
                            }
                            --depth;
                        }
                    }
                }
                ASSERT_EQ(pick(block, text, position, limit), expected)
                    << text.toStdString() << " at " << position << " limit " << limit;
            }
        }
    }
}

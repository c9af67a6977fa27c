#include "sql/CSqlParser.h"

#include "platform/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>

// Readable failure messages: the text with its line breaks escaped.
void PrintTo(const QString &text, std::ostream *os)
{
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    shown.replace(QLatin1Char('\n'), QLatin1String("\\n\n"));
    *os << '"' << shown.toStdString() << '"';
}

namespace {

// Lines joined with CR LF, as the formatter writes them.
QString lines(std::initializer_list<const char *> list)
{
    QStringList parts;
    for (const char *line : list)
        parts.append(QString::fromUtf8(line));
    return parts.join(QStringLiteral("\r\n"));
}

QString layOut(CSqlParser &parser, const QString &text)
{
    parser.SetSqlText(text);
    if (!parser.Parse())
        return QStringLiteral("<parse failed>");
    return parser.Format();
}

QString layOut(const QString &text)
{
    CSqlParser parser;
    return layOut(parser, text);
}

const char *const kSample
    = "SELECT TB1.FIELD1, DECODE(TB1.FIELD2, '1', '1', '2', '2', '0') AS FIELD2, (CASE WHEN "
      "TB1.FIELD3 = '1' THEN 1 ELSE 2 END) AS FIELD3, MIN(TB2.FIELD4) AS FIELD4, "
      "MAX(TB2.FIELD5) AS FIELD5 FROM TABLE1 TB1, TABLE2 TB2 WHERE TB1.FIELD1 = TB2.FIELD1 AND "
      "TB1.FIELD2 = TB2.FIELD2 AND TB2.FIELD3 IN ('1', '11', '111', '1111', '11111', '111111', "
      "'1111111', '11111111') GROUP BY TB1.FIELD1, TB1.FIELD2, TB2.FIELD3 ORDER BY TB1.FIELD1 "
      "DESC, TB2.FIELD3 ASC";

} // namespace

TEST(CSqlParser, worked_example_with_defaults)
{
    EXPECT_EQ(layOut(QStringLiteral("SELECT a, b FROM t WHERE x = 1 AND y = 2 ORDER BY a")),
              lines({"SELECT a", "      ,b", "FROM t", "WHERE x = 1", "  AND y = 2",
                     "ORDER BY a"}));
}

TEST(CSqlParser, worked_example_with_keyword_break_and_comma_after)
{
    CSqlParser parser;
    parser.SetKeywordReturn(1);
    parser.SetCommaReturn(1);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT a, b FROM t WHERE x = 1 AND y = 2 ORDER BY a")),
              lines({"SELECT", "    a,", "    b", "FROM", "    t", "WHERE", "    x = 1",
                     "AND y = 2", "ORDER BY", "    a"}));
}

TEST(CSqlParser, worked_example_dialog_sample_with_defaults)
{
    EXPECT_EQ(layOut(QString::fromUtf8(kSample)),
              lines({"SELECT TB1.FIELD1",
                     "      ,DECODE(TB1.FIELD2, '1', '1', '2', '2', '0') AS FIELD2",
                     "      ,(CASE WHEN TB1.FIELD3 = '1' THEN 1 ELSE 2 END) AS FIELD3",
                     "      ,MIN(TB2.FIELD4) AS FIELD4",
                     "      ,MAX(TB2.FIELD5) AS FIELD5",
                     "FROM TABLE1 TB1",
                     "    ,TABLE2 TB2",
                     "WHERE TB1.FIELD1 = TB2.FIELD1",
                     "  AND TB1.FIELD2 = TB2.FIELD2",
                     "  AND TB2.FIELD3 IN( '1'",
                     "                    ,'11'",
                     "                    ,'111'",
                     "                    ,'1111'",
                     "                    ,'11111'",
                     "                    ,'111111'",
                     "                    ,'1111111'",
                     "                    ,'11111111')",
                     "GROUP BY TB1.FIELD1",
                     "        ,TB1.FIELD2",
                     "        ,TB2.FIELD3",
                     "ORDER BY TB1.FIELD1 DESC",
                     "        ,TB2.FIELD3 ASC"}));
}

TEST(CSqlParser, layout_quirks_with_default_options)
{
    struct Case
    {
        const char *input;
        QString expected;
    };
    const Case cases[] = {
        // Keywords are recognised without regard to case but written as typed.
        {"select * from t", lines({"select *", "from t"})},
        // Words joined across white space and line breaks, with exactly one space.
        {"SELECT a FROM t GROUP\r\n   BY a", lines({"SELECT a", "FROM t", "GROUP BY a"})},
        {"select a from t group By a", lines({"select a", "from t", "group By a"})},
        // The last word of the text is never classified: no break before a final END ...
        {"SELECT CASE WHEN a THEN b END",
         lines({"SELECT", "CASE", "WHEN a", "THEN b END"})},
        // ... but a following space makes it a keyword again.
        {"SELECT CASE WHEN a THEN b END ",
         lines({"SELECT", "CASE", "WHEN a", "THEN b", "END"})},
        // A leading word gets a space, a leading logic operator a line break.
        {"EXEC p 1", QStringLiteral(" EXEC p 1")},
        {"AND x", lines({"", "AND x"})},
        // A short block after a word has no space; IN is not a keyword.
        {"SELECT COUNT(*) FROM t WHERE a IN (1, 2)",
         lines({"SELECT COUNT(*)", "FROM t", "WHERE a IN(1, 2)"})},
        // After a keyword a short block gets one space.
        {"SELECT (a) FROM t", lines({"SELECT (a)", "FROM t"})},
        // A doubled quote does not end a string.
        {"SELECT 'It''s' FROM t", lines({"SELECT 'It''s'", "FROM t"})},
        // Pick-ups are tried at every position: "--" inside a word starts a comment.
        {"SELECT a--b\r\nFROM t", lines({"SELECT a --b", "", "FROM t"})},
        // A lone LF or CR is an ordinary character.
        {"SELECT a\nFROM t", QStringLiteral("SELECT a\nFROM t")},
        {"SELECT a\rFROM t", QStringLiteral("SELECT a\rFROM t")},
        // "WITH_T(" can never match: "(" always starts a block.
        {"WITH_T(x)", QStringLiteral(" WITH_T(x)")},
        // Multi-word keywords and a third word.
        {"INSERT INTO t VALUES (1)", lines({"INSERT INTO t", "VALUES (1)"})},
        {"SELECT a FROM t FOR UPDATE", lines({"SELECT a", "FROM t", "FOR UPDATE"})},
        // Field-marked names and block comments are written as they are.
        {"SELECT [my col] /* c */ FROM t", lines({"SELECT [my col] /* c */", "FROM t"})},
        // An empty block is "()"; in a one-line rendering a childless block after a word
        // is still preceded by a space.
        {"SELECT f() FROM t", lines({"SELECT f()", "FROM t"})},
        {"SELECT (f(), g(x)) FROM t", lines({"SELECT (f (), g(x))", "FROM t"})},
        // Brackets are paired, with the close symbol of the same position; quotes and
        // comments inside do not hide a closing bracket from the bracket scan.
        {"SELECT {a} FROM t", lines({"SELECT {a}", "FROM t"})},
        {"SELECT (a, (b)) FROM t", lines({"SELECT (a, (b))", "FROM t"})},
        // An unclosed bracket is written with its closing symbol.
        {"SELECT (a", QStringLiteral("SELECT (a)")},
        {"SELECT 'abc", QStringLiteral("SELECT 'abc")},
        {"SELECT /* abc", QStringLiteral("SELECT /* abc")},
        // Logic operators are right-aligned under the text after the keyword.
        {"SELECT a FROM t WHERE a = 1 OR b = 2",
         lines({"SELECT a", "FROM t", "WHERE a = 1", "   OR b = 2"})},
        {"UPDATE t SET a = 1 WHERE b = 2", lines({"UPDATE t", "   SET a = 1", "WHERE b = 2"})},
    };
    for (const Case &c : cases)
        EXPECT_EQ(layOut(QString::fromUtf8(c.input)), c.expected) << c.input;
}

TEST(CSqlParser, block_margin_off_expands_a_subquery_after_a_word_without_merging_it)
{
    CSqlParser parser;
    parser.SetBlockMargin(0);
    const QString text = QStringLiteral("SELECT a FROM t WHERE x IN (SELECT a FROM b ORDER BY c)");
    EXPECT_EQ(layOut(parser, text),
              lines({"SELECT a", "FROM t", "WHERE x IN(SELECT a",
                     "           FROM b ORDER BY c)"}));
    // A block of six characters or fewer is never expanded, whatever the margin.
    parser.SetBlockMargin(1);
    parser.SetMargin(1, 0);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT f(abcd)")), QStringLiteral("SELECT f(abcd)"));
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT f(abcde)")),
              QStringLiteral("SELECT f( abcde)"));
}

TEST(CSqlParser, comma_one_line_if_possible_breaks_before_the_item_past_the_margin)
{
    CSqlParser parser;
    parser.SetCommaReturn(2);
    parser.SetMargin(20, 0);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT aaaa, bbbb, cccc, dddd, eeee")),
              lines({"SELECT aaaa, bbbb, ", "       cccc, dddd, ", "       eeee"}));
}

TEST(CSqlParser, block_breaks_outside_and_inside)
{
    CSqlParser parser;
    parser.SetBlockMargin(0);
    parser.SetBlockReturn(1, 1);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT a FROM t WHERE x IN (SELECT a FROM b)")),
              lines({"SELECT a", "FROM t", "WHERE x IN", "     (", "      SELECT a",
                     "      FROM b", "     )"}));
    // Keyword break on: the block stays on the keyword's continuation line, one column in.
    parser.SetKeywordReturn(1);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT a FROM (SELECT b FROM c) x")),
              lines({"SELECT", "    a", "FROM", "     (", "      SELECT", "          b",
                     "      FROM", "          c", "     ) x"}));
}

TEST(CSqlParser, nested_blocks_first_in_their_block_indent_from_the_line)
{
    const QString text = QStringLiteral("SELECT a FROM t WHERE x IN ((SELECT b FROM c))");
    CSqlParser parser;
    parser.SetBlockMargin(0);
    // Breaks inside: a block first in its block is indented a unit past the current line.
    parser.SetBlockReturn(0, 1);
    EXPECT_EQ(layOut(parser, text),
              lines({"SELECT a", "FROM t", "WHERE x IN(", "           (",
                     "                SELECT b", "                FROM c", "               )",
                     "          )"}));
    // Breaks outside only.
    parser.SetBlockReturn(1, 0);
    EXPECT_EQ(layOut(parser, text),
              lines({"SELECT a", "FROM t", "WHERE x IN", "     (", "          (SELECT b",
                     "           FROM c))"}));
}

TEST(CSqlParser, tab_indent_unit_and_space_count_floor)
{
    CSqlParser parser;
    parser.SetIndent(0, 4);
    EXPECT_EQ(parser.GetIndentUnit(), QStringLiteral("\t"));
    parser.SetKeywordReturn(1);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT a FROM t")),
              lines({"SELECT", "\ta", "FROM", "\tt"}));
    parser.SetIndent(1, 0);
    EXPECT_EQ(parser.GetSpaceCount(), 1);
    EXPECT_EQ(parser.GetIndentUnit(), QStringLiteral(" "));
}

TEST(CSqlParser, keyword_lr_off_keeps_keywords_on_the_line)
{
    CSqlParser parser;
    parser.SetKeywordLR(0);
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT a, b FROM t WHERE x = 1")),
              lines({"SELECT a", "      ,b FROM t WHERE x = 1"}));
}

TEST(CSqlParser, user_symbol_lists)
{
    CSqlParser parser;
    // Same field mark for opening and closing: the rest becomes one field-marked item.
    parser.SetWordMark(QStringLiteral("\""), QStringLiteral("\""));
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT \"a\" FROM t")),
              QStringLiteral("SELECT \"a\" FROM t"));

    CSqlParser custom;
    custom.SetSyntaxes(QStringLiteral("select,from,left  join"));
    custom.SetLogicOps(QStringLiteral("and"));
    custom.SetQuote(QStringLiteral("\", '"));
    custom.SetParhs(QStringLiteral("begin"), QStringLiteral("end"));
    // A word pair as brackets: the block is written as its symbols and contents joined.
    EXPECT_EQ(layOut(custom, QStringLiteral("select \"a, b\" from t begin x end and y")),
              lines({"select \"a, b\"", "from tbeginxend", " and y"}));
    // Multi-word keywords need exactly the spacing of the list entry.
    EXPECT_EQ(layOut(custom, QStringLiteral("select a from t left join u")),
              lines({"select a", "from t left join u"}));
}

TEST(CSqlParser, parse_fails_on_empty_or_blank_text)
{
    CSqlParser parser;
    for (const char *blank : {"", " ", "\t \r\n  \r\n"}) {
        parser.SetSqlText(QString::fromUtf8(blank));
        EXPECT_FALSE(parser.Parse()) << blank;
    }
    QString text = QStringLiteral(" \r\n ");
    EXPECT_FALSE(parser.layOut(text));
    EXPECT_EQ(text, QStringLiteral(" \r\n "));
}

TEST(CSqlParser, reused_parser_replaces_tree_and_output)
{
    CSqlParser parser;
    EXPECT_EQ(layOut(parser, QStringLiteral("SELECT a FROM t")), lines({"SELECT a", "FROM t"}));
    EXPECT_EQ(layOut(parser, QStringLiteral("x")), QStringLiteral(" x"));
    EXPECT_EQ(parser.GetOutput(), QStringLiteral(" x"));
    EXPECT_EQ(parser.Root().children.Count(), 1);
}

TEST(CSqlParser, odd_input_never_loses_characters)
{
    // Inputs that end inside a construct or contain stray control characters: the layout
    // keeps every non-blank character in order.
    const QString inputs[] = {
        QStringLiteral("SELECT 'abc"),
        QStringLiteral("SELECT ((a"),
        QStringLiteral("SELECT a)) FROM t"),
        QStringLiteral("SELECT [a FROM t"),
        QStringLiteral("/* never closed"),
        QStringLiteral("-- only a comment"),
        QString::fromUtf16(u"SELECT a\0b FROM t\0", 18),
        QStringLiteral("\r\r\n\n\r"),
        QStringLiteral("'"),
        QStringLiteral("("),
        QStringLiteral(")"),
        QStringLiteral("SELECT '('), (')' FROM t"),
        QStringLiteral("SELECT 日本語, ｶﾅ FROM テーブル WHERE 列 = 'é😀'"),
        QStringLiteral("SELECT \xD800 FROM t"),
    };
    const auto strip = [](const QString &text) {
        QString result;
        for (QChar ch : text) {
            if (ch != QLatin1Char(' ') && ch != QLatin1Char('\t') && ch != QLatin1Char('\r')
                && ch != QLatin1Char('\n'))
                result.append(ch);
        }
        return result;
    };
    for (const QString &input : inputs) {
        CSqlParser parser;
        QString text = input;
        ASSERT_TRUE(parser.layOut(text)) << input.toStdString();
        QString expected = strip(input);
        // Unclosed brackets are written with their closing symbol.
        if (input == QStringLiteral("SELECT ((a"))
            expected += QStringLiteral("))");
        if (input == QStringLiteral("("))
            expected += QStringLiteral(")");
        if (input == QStringLiteral("SELECT [a FROM t"))
            expected = QStringLiteral("SELECT[aFROMt");
        EXPECT_EQ(strip(text), expected) << input.toStdString();
    }
}

TEST(CSqlParser, hundred_thousand_nested_brackets_neither_overflow_nor_stall)
{
    const int depth = 100000;
    const QString text = QString(depth, QLatin1Char('(')) + QStringLiteral("x")
                         + QString(depth, QLatin1Char(')'));
    const auto started = std::chrono::steady_clock::now();
    {
        CSqlParser parser;
        QString out = text;
        ASSERT_TRUE(parser.layOut(out));
        EXPECT_EQ(out, text);

        // Unclosed and with keywords inside, so that every level is expanded.
        QString open;
        for (int i = 0; i < depth; ++i)
            open += QStringLiteral("SELECT a FROM (");
        out = open;
        parser.SetBlockReturn(1, 1);
        // Indentation growing with the depth cannot be written out; the layout gives up
        // cleanly and leaves the text as it was.
        EXPECT_FALSE(parser.layOut(out));
        EXPECT_EQ(out, open);
    }
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started);
    EXPECT_LT(seconds.count(), 30.0);
}

TEST(CSqlParser, settings_round_trip_and_missing_keys_keep_defaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("q.conf"));
    {
        SettingsStore store(path);
        CSqlParser parser;
        parser.LoadSettings(store); // nothing stored: defaults stay
        EXPECT_EQ(parser.GetMargin(), 80);
        EXPECT_EQ(parser.GetSpaceCount(), 4);
        EXPECT_EQ(parser.GetParhs1(), QStringLiteral("( , {"));
        EXPECT_EQ(parser.GetKeywordLR(), 1);

        parser.SetSyntaxes(QStringLiteral("SELECT, FROM"));
        parser.SetParhs(QStringLiteral("("), QStringLiteral(")"));
        parser.SetMargin(120, 1);
        parser.SetIndent(0, 8);
        parser.SetCommaReturn(2);
        parser.SetBlockReturn(1, 0);
        parser.SaveSettings(store);
        store.writeInt(QStringLiteral("SqlParser"), QStringLiteral("SqlFixKeywordLR"), 0);
        ASSERT_TRUE(store.sync());
    }
    SettingsStore store(path);
    EXPECT_EQ(store.valueNames(QStringLiteral("SqlParser")).size(), 20);
    CSqlParser parser;
    parser.LoadSettings(store);
    EXPECT_EQ(parser.GetSyntaxes(), QStringLiteral("SELECT, FROM"));
    EXPECT_EQ(parser.GetParhs2(), QStringLiteral(")"));
    EXPECT_EQ(parser.GetMargin(), 120);
    EXPECT_EQ(parser.GetFitWindow(), 1);
    EXPECT_EQ(parser.GetIndentKind(), 0);
    EXPECT_EQ(parser.GetSpaceCount(), 8);
    EXPECT_EQ(parser.GetCommaReturn(), 2);
    EXPECT_EQ(parser.GetBlockLR(), 1);
    EXPECT_EQ(parser.GetKeywordLR(), 0);
    EXPECT_EQ(parser.GetLineComment(), QStringLiteral("// , --"));

    // Stored values outside the dialog's limits are used; a space count below 1 becomes 1.
    store.writeInt(QStringLiteral("SqlParser"), QStringLiteral("SqlFixSpaceCount"), -5);
    store.writeInt(QStringLiteral("SqlParser"), QStringLiteral("SqlFixMargin"), 5000);
    parser.LoadSettings(store);
    EXPECT_EQ(parser.GetSpaceCount(), 1);
    EXPECT_EQ(parser.GetMargin(), 5000);
}

TEST(CSqlParser, application_formatter_fits_window_and_leaves_bad_text_alone)
{
    CSqlParser &app = CSqlParser::application();
    EXPECT_EQ(&app, &CSqlParser::application());
    const int margin = app.GetMargin();
    const int fit = app.GetFitWindow();

    QString text = QStringLiteral("SELECT a, b FROM t");
    ASSERT_TRUE(CSqlParser::layOutWithApplication(text));
    EXPECT_EQ(text, lines({"SELECT a", "      ,b", "FROM t"}));

    QString blank = QStringLiteral("   ");
    EXPECT_FALSE(CSqlParser::layOutWithApplication(blank));
    EXPECT_EQ(blank, QStringLiteral("   "));

    app.SetCommaReturn(2);
    app.SetMargin(80, 1);
    text = QStringLiteral("SELECT aaaa, bbbb, cccc");
    ASSERT_TRUE(CSqlParser::layOutWithApplication(text, 14));
    EXPECT_EQ(app.GetMargin(), 14);
    EXPECT_EQ(text, lines({"SELECT aaaa, ", "       bbbb, ", "       cccc"}));
    app.SetCommaReturn(0);
    app.SetMargin(margin, fit);
}

TEST(CSqlParser, random_text_and_options_keep_every_character)
{
    // Random fragments of SQL and of its special symbols under random options: the layout
    // never fails on a non-blank text and only adds white space and the closing symbols of
    // unclosed brackets.
    const QStringList pieces = {
        QStringLiteral("SELECT"), QStringLiteral("from"), QStringLiteral("GROUP"),
        QStringLiteral("BY"),     QStringLiteral("and"),  QStringLiteral("OR"),
        QStringLiteral("x"),      QStringLiteral("1"),    QStringLiteral("="),
        QStringLiteral(","),      QStringLiteral("("),    QStringLiteral(")"),
        QStringLiteral("{"),      QStringLiteral("}"),    QStringLiteral("["),
        QStringLiteral("]"),      QStringLiteral("'"),    QStringLiteral("/*"),
        QStringLiteral("*/"),     QStringLiteral("--"),   QStringLiteral("//"),
        QStringLiteral(" "),      QStringLiteral("  "),   QStringLiteral("\t"),
        QStringLiteral("\r\n"),   QStringLiteral("\r"),   QStringLiteral("\n"),
        QStringLiteral("日本"),   QString(QChar(0)),      QStringLiteral("END"),
    };
    quint32 seed = 20261211;
    const auto random = [&seed](quint32 bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    const auto essence = [](const QString &text) {
        QString result;
        for (QChar ch : text) {
            if (ch != QLatin1Char(' ') && ch != QLatin1Char('\t') && ch != QLatin1Char('\r')
                && ch != QLatin1Char('\n') && ch != QLatin1Char(')') && ch != QLatin1Char('}'))
                result.append(ch);
        }
        return result;
    };
    for (int round = 0; round < 3000; ++round) {
        QString input;
        const int count = 1 + int(random(40));
        for (int i = 0; i < count; ++i)
            input += pieces.at(random(quint32(pieces.size())));
        CSqlParser parser;
        parser.SetMargin(int(random(60)), 0);
        parser.SetIndent(int(random(2)), 1 + int(random(8)));
        parser.SetCommaReturn(int(random(3)));
        parser.SetKeywordReturn(int(random(2)));
        parser.SetKeywordLR(int(random(2)));
        parser.SetBlockReturn(int(random(2)), int(random(2)));
        parser.SetBlockMargin(int(random(2)));
        QString output = input;
        const bool blank = essence(input).isEmpty() && !input.contains(QLatin1Char(')'))
                           && !input.contains(QLatin1Char('}'));
        const bool ok = parser.layOut(output);
        if (blank)
            continue;
        ASSERT_TRUE(ok) << input.toStdString();
        ASSERT_EQ(essence(output), essence(input)) << input.toStdString();
        ASSERT_GE(output.count(QLatin1Char(')')), input.count(QLatin1Char(')')))
            << input.toStdString();
    }
}

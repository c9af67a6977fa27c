#include "editor/SqlColourScanner.h"
#include "platform/AppSettings.h"

#include <gtest/gtest.h>

namespace {

using S = SqlColourScanner;

// The scanner as the editor sets it up from default settings.
SqlColourScanner defaultScanner()
{
    SqlColourScanner scanner;
    scanner.setComments("--", "/*", "*/");
    return scanner;
}

// "start end style" lines, as the probe prints them.
QString describe(const S::Result &result)
{
    QStringList lines;
    for (const auto &r : result.ranges)
        lines << QStringLiteral("%1 %2 %3").arg(r.start).arg(r.end).arg(S::styleName(r.style));
    return lines.join(u',');
}

QString recased(QString text, const SqlColourScanner &scanner)
{
    S::applyCaseChanges(text, scanner.scan(text));
    return text;
}

} // namespace

TEST(SqlColourScanner, colours_the_documented_line)
{
    const QString text = "select * from t where a = 'x--y' -- note";
    const auto scanner = defaultScanner();
    const auto result = scanner.scan(text);
    EXPECT_EQ(describe(result),
              "0 6 keyword,9 13 keyword,16 21 keyword,26 32 string,33 40 comment");
    EXPECT_EQ(recased(text, scanner), "SELECT * FROM t WHERE a = 'x--y' -- note");
}

TEST(SqlColourScanner, token_ranges)
{
    struct Case
    {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        // A word still open at the end is not classified.
        {"select a FROM", "0 6 keyword"},
        {"FROM ", "0 4 keyword"},
        // The full stop is a delimiter by default.
        {"12.5 1e5 ", "0 2 number,3 4 number"},
        // Unterminated strings stop at the end of the line.
        {"'abc\r\nselect ", "0 4 string,6 12 keyword"},
        {"\"a\"'b' ", "0 3 string,3 6 string"},
        // Doubled quotes are two strings.
        {"'it''s' ", "0 4 string,4 7 string"},
        {"/* a\r\n b */x ", "0 11 comment"},
        {"/* open\r\nselect ", "0 16 comment"},
        {"-- c\r\nsum(", "0 4 comment,6 9 function"},
        {"null asc, desc;", "0 4 constant,5 8 constant,10 14 constant"},
        // A word directly followed by a quote or comment symbol is not classified.
        {"select'x' from--c\n", "6 9 string,14 17 comment"},
        // Underscores, number signs and dollar signs belong to words.
        {"select_1 #select $1 ", ""},
        {"42\t7\r\n", "0 2 number,3 4 number"},
        {"", ""},
    };
    const auto scanner = defaultScanner();
    for (const auto &c : cases)
        EXPECT_EQ(describe(scanner.scan(QString::fromUtf8(c.text))), QString::fromUtf8(c.expected))
            << c.text;
}

TEST(SqlColourScanner, case_rules)
{
    auto scanner = defaultScanner();
    EXPECT_EQ(recased("select Count(x) from t ", scanner), "SELECT COUNT(x) FROM t ");

    scanner.setChangeCase(false);
    EXPECT_EQ(recased("select ", scanner), "select ");
    EXPECT_EQ(describe(scanner.scan(QString("select "))), "0 6 keyword");

    scanner.setChangeCase(true);
    scanner.setCaseSensitive(true);
    EXPECT_EQ(recased("select SELECT ", scanner), "select SELECT ");
    EXPECT_EQ(describe(scanner.scan(QString("select SELECT "))), "7 13 keyword");

    // Comment symbols follow case sensitivity too.
    scanner.setComments("REM", "/*", "*/");
    EXPECT_EQ(describe(scanner.scan(QString("rem x\nREM y"))), "6 11 comment");
    scanner.setCaseSensitive(false);
    EXPECT_EQ(describe(scanner.scan(QString("rem x\nREM y"))), "0 5 comment,6 11 comment");
}

TEST(SqlColourScanner, lists_are_searched_in_order_and_keep_their_spelling)
{
    auto scanner = defaultScanner();
    scanner.setLists(" Select MyProc ", " MyProc NULL ", " GetDate myproc ");
    QString spelling;
    EXPECT_EQ(scanner.lookUp(u"MYPROC", &spelling), S::Keyword);
    EXPECT_EQ(spelling, "MyProc");
    EXPECT_EQ(scanner.lookUp(u"getdate", &spelling), S::Function);
    EXPECT_EQ(spelling, "GetDate");
    EXPECT_EQ(scanner.lookUp(u"nothing"), S::StyleCount);
    EXPECT_EQ(recased("select getdate() ", scanner), "Select GetDate() ");
}

TEST(SqlColourScanner, delimiters_decide_words)
{
    auto scanner = defaultScanner();
    QString delimiters = AppSettings::defaultDelimiters();
    delimiters.remove(u'.');
    scanner.setDelimiters(delimiters);
    EXPECT_EQ(describe(scanner.scan(QString("12.5 "))), "0 4 number");
    EXPECT_EQ(describe(scanner.scan(QString("t.select "))), "");
    EXPECT_TRUE(scanner.isWordBreak(u'\t'));
    EXPECT_TRUE(scanner.isWordBreak(u'\r'));
    EXPECT_FALSE(scanner.isWordBreak(u'_'));
}

TEST(SqlColourScanner, ranges_and_the_size_limit)
{
    const auto scanner = defaultScanner();
    const QString text = "xx select from yy";
    // Only [3, 14) is scanned: "select" is classified, "from" stays open at the end.
    EXPECT_EQ(describe(scanner.scan(text, 3, 14)), "3 9 keyword");
    EXPECT_EQ(describe(scanner.scan(text, 3, 15)), "3 9 keyword,10 14 keyword");
    EXPECT_TRUE(scanner.scan(text, 5, 5).ranges.isEmpty());

    QString big = QString("select ").repeated(7200); // 50400 characters
    EXPECT_TRUE(scanner.scan(big).ranges.isEmpty());
    EXPECT_EQ(scanner.scan(big, 0, S::MaxRange).ranges.size(), 7142);
}

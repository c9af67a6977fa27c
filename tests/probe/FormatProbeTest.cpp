#include "ProbeProcess.h"

#include <gtest/gtest.h>

namespace {

QString lines(const QStringList &list)
{
    return list.join(QStringLiteral("\r\n"));
}

const char *const Sample =
    "SELECT TB1.FIELD1, DECODE(TB1.FIELD2, '1', '1', '2', '2', '0') AS FIELD2, (CASE WHEN "
    "TB1.FIELD3 = '1' THEN 1 ELSE 2 END) AS FIELD3, MIN(TB2.FIELD4) AS FIELD4, MAX(TB2.FIELD5) AS "
    "FIELD5 FROM TABLE1 TB1, TABLE2 TB2 WHERE TB1.FIELD1 = TB2.FIELD1 AND TB1.FIELD2 = "
    "TB2.FIELD2 AND TB2.FIELD3 IN ('1', '11', '111', '1111', '11111', '111111', '1111111', "
    "'11111111') GROUP BY TB1.FIELD1, TB1.FIELD2, TB2.FIELD3 ORDER BY TB1.FIELD1 DESC, "
    "TB2.FIELD3 ASC";

} // namespace

// The laid-out text exactly as the formatter writes it: CR LF between lines, no final line
// break, nothing added by the probe.
TEST(FormatProbe, LaysOutWithTheDefaultsAndTheOptionsGiven)
{
    const QString example = "SELECT a, b FROM t WHERE x = 1 AND y = 2 ORDER BY a";
    struct Case
    {
        QStringList options;
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {{},
         example,
         lines({"SELECT a", "      ,b", "FROM t", "WHERE x = 1", "  AND y = 2", "ORDER BY a"})},
        // Line breaks and spacing of the input do not matter.
        {{},
         "SELECT a,\r\n  b\r\nFROM t   WHERE x = 1\r\n\tAND y = 2 ORDER\r\n   BY a\r\n",
         lines({"SELECT a", "      ,b", "FROM t", "WHERE x = 1", "  AND y = 2", "ORDER BY a"})},
        {{"--keyword-rr", "1", "--comma-return", "1"},
         example,
         lines({"SELECT", "    a,", "    b", "FROM", "    t", "WHERE", "    x = 1", "AND y = 2",
                "ORDER BY", "    a"})},
        {{"--keyword-rr", "1", "--comma-return", "1", "--indent-kind", "0"},
         example,
         lines({"SELECT", "\ta,", "\tb", "FROM", "\tt", "WHERE", "\tx = 1", "AND y = 2",
                "ORDER BY", "\ta"})},
        {{"--keyword-rr", "1", "--comma-return", "1", "--space-count", "2"},
         example,
         lines({"SELECT", "  a,", "  b", "FROM", "  t", "WHERE", "  x = 1", "AND y = 2",
                "ORDER BY", "  a"})},
        {{},
         Sample,
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
                "        ,TB2.FIELD3 ASC"})},
        // Keywords are written as typed.
        {{}, "select * from t", lines({"select *", "from t"})},
        {{}, "EXEC p 1", " EXEC p 1"},
        {{}, "SELECT 名前, '日本語の値' FROM 社員 WHERE 部署 = 'ａ'",
         lines({"SELECT 名前", "      ,'日本語の値'", "FROM 社員", "WHERE 部署 = 'ａ'"})},
        // The symbol lists given on the command line replace the defaults.
        {{"--syntaxes", "SELECT, FROM"},
         example,
         lines({"SELECT a", "      ,b", "FROM t WHERE x = 1", " AND y = 2 ORDER BY a"})},
        {{"--logic-ops", "OR"},
         example,
         lines({"SELECT a", "      ,b", "FROM t", "WHERE x = 1 AND y = 2", "ORDER BY a"})},
        {{}, "SELECT a -- x\r\nFROM t", lines({"SELECT a -- x", "", "FROM t"})},
        {{"--line-comment", "#"}, "SELECT a -- x\r\nFROM t", lines({"SELECT a -- x", "FROM t"})},
        {{}, "SELECT 'a  b' FROM t", lines({"SELECT 'a  b'", "FROM t"})},
        {{"--quote", "\""}, "SELECT 'a  b' FROM t", lines({"SELECT 'a b'", "FROM t"})},
        {{"--block-comment", "(*", "*)"}, "SELECT (* c *) a FROM t",
         lines({"SELECT (* c *) a", "FROM t"})},
        // The same mark opening and closing: the block never closes.
        {{"--word-mark", "`", "`"}, "SELECT `a` FROM t", "SELECT `a` FROM t"},
        // Field marks come before brackets: "[" stays a field mark; "<" becomes a bracket.
        {{"--parhs", "[", "]"}, "SELECT [a,  b] FROM t", lines({"SELECT [a,  b]", "FROM t"})},
        {{"--parhs", "<", ">"}, "SELECT <a,  b> FROM t", lines({"SELECT <a, b>", "FROM t"})},
        // Without the block margin a block longer than six characters is expanded.
        {{"--block-margin", "0"}, "SELECT a FROM t WHERE x IN (1, 2, 3)",
         lines({"SELECT a", "FROM t", "WHERE x IN( 1", "           ,2", "           ,3)"})},
        {{"--block-margin", "0"}, "SELECT a FROM t WHERE x IN (1, 2)",
         lines({"SELECT a", "FROM t", "WHERE x IN(1, 2)"})},
        {{"--comma-return", "2", "--margin", "20"},
         "SELECT aaaa, bbbb, cccc, dddd, eeee",
         lines({"SELECT aaaa, bbbb, ", "       cccc, dddd, ", "       eeee"})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(visible(c.input.toUtf8()).toStdString() + " "
                     + c.options.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(QStringList{"format"} + c.options, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(visible(result.out), visible(c.expected.toUtf8()));
    }
}

// A text the formatter cannot parse (nothing but separators) fails with no output at all.
TEST(FormatProbe, UnparsableTextExitsWithOneAndPrintsNothing)
{
    for (const QByteArray &input :
         {QByteArray(), QByteArray("   "), QByteArray("\r\n\t \r\n")}) {
        SCOPED_TRACE(visible(input).toStdString());
        const ProbeOutput result = ProbeProcess::run({"format"}, input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty()) << visible(result.out).toStdString();
    }
}

TEST(FormatProbe, BadUsageExitsWithTwoAndOneLine)
{
    const QStringList cases[] = {
        {"format", "--margin"},
        {"format", "--margin", "wide"},
        {"format", "--quote"},
        {"format", "--parhs", "("},
        {"format", "--unknown", "1"},
        {"format", "stray"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args, QByteArray("SELECT a FROM t"));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}

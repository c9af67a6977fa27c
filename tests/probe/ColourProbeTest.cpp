#include "ProbeProcess.h"

#include <gtest/gtest.h>

// colour: the text after case changes, "\n---\n", then one "start end style" line per coloured
// range, with the editor's default settings (built-in word lists, "--", "/*" "*/", the 29
// delimiters, case-insensitive, case changing on).
TEST(ColourProbe, ColoursAndCaseChangesWithTheDefaults)
{
    struct Case
    {
        QStringList options;
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {{},
         "select * from t where a = 'x--y' -- note",
         "SELECT * FROM t WHERE a = 'x--y' -- note\n---\n"
         "0 6 keyword\n9 13 keyword\n16 21 keyword\n26 32 string\n33 40 comment\n"},
        // The full stop is a delimiter: 12 and 5 are numbers each; 1e5 is no number.
        {{}, "12.5 1e5 ", "12.5 1e5 \n---\n0 2 number\n3 4 number\n"},
        // A word still open at the end of the text is not classified.
        {{}, "select * from", "SELECT * from\n---\n0 6 keyword\n"},
        {{},
         "count(*) null max ",
         "COUNT(*) NULL MAX \n---\n0 5 function\n9 13 constant\n14 17 function\n"},
        // An unterminated string stops before the carriage return.
        {{}, "'abc\r\nfrom t ", "'abc\r\nFROM t \n---\n0 4 string\n6 10 keyword\n"},
        {{}, "/* a\r\n b */select ", "/* a\r\n b */SELECT \n---\n0 11 comment\n11 17 keyword\n"},
        {{}, "\"a b\" x", "\"a b\" x\n---\n0 5 string\n"},
        // A word directly followed by a string or a comment is not classified.
        {{}, "select'x' from--c", "select'x' from--c\n---\n6 9 string\n14 17 comment\n"},
        {{}, "null/*c*/ ", "null/*c*/ \n---\n4 9 comment\n"},
        {{}, "select\nx ", "SELECT\nx \n---\n0 6 keyword\n"},
        {{}, "select\r\n", "SELECT\r\n\n---\n0 6 keyword\n"},
        {{}, "select 名前 from 社員 where 番号 = 1 ",
         "SELECT 名前 FROM 社員 WHERE 番号 = 1 \n---\n"
         "0 6 keyword\n10 14 keyword\n18 23 keyword\n29 30 number\n"},
        {{}, "", "\n---\n"},
        // Case-sensitive matching: the lower-case word is not in the list.
        {{"--case-sensitive", "1"}, "select x ", "select x \n---\n"},
        {{"--case-sensitive", "1"}, "SELECT x ", "SELECT x \n---\n0 6 keyword\n"},
        {{"--change-case", "0"}, "select x ", "select x \n---\n0 6 keyword\n"},
        {{"--case-sensitive", "0", "--change-case", "1"},
         "Select x ",
         "SELECT x \n---\n0 6 keyword\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(visible(c.input.toUtf8()).toStdString() + " "
                     + c.options.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(QStringList{"colour"} + c.options, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(visible(result.out), visible(c.expected.toUtf8()));
        EXPECT_TRUE(result.err.isEmpty());
    }
}

// A text of more than 50000 characters is not coloured (and so not case-changed) at all; one
// of exactly 50000 is.
TEST(ColourProbe, TextsOverFiftyThousandCharactersStayUncoloured)
{
    const QString longText = QStringLiteral("select ").repeated(7200);
    ASSERT_GT(longText.size(), 50000);
    const ProbeOutput over = ProbeProcess::run({"colour"}, longText);
    ASSERT_TRUE(over.finished) << over.failure.toStdString();
    EXPECT_EQ(over.exitCode, 0);
    EXPECT_EQ(over.outText(), longText + QStringLiteral("\n---\n"));

    const QString limit = QStringLiteral("select ").repeated(7142) + QStringLiteral("abcdef");
    ASSERT_EQ(limit.size(), 50000);
    const ProbeOutput at = ProbeProcess::run({"colour"}, limit);
    ASSERT_TRUE(at.finished) << at.failure.toStdString();
    EXPECT_EQ(at.exitCode, 0);
    const QString out = at.outText();
    const qsizetype split = out.indexOf(QStringLiteral("\n---\n"));
    ASSERT_EQ(split, 50000);
    EXPECT_EQ(out.left(split), QStringLiteral("SELECT ").repeated(7142) + QStringLiteral("abcdef"));
    const QStringList ranges = out.mid(split + 5).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(ranges.size(), 7142);
    EXPECT_EQ(ranges.first(), QStringLiteral("0 6 keyword"));
    EXPECT_EQ(ranges.last(), QStringLiteral("49987 49993 keyword"));
}

TEST(ColourProbe, BadUsageExitsWithTwoAndOneLine)
{
    const QStringList cases[] = {
        {"colour", "--case-sensitive", "2"},
        {"colour", "--change-case"},
        {"colour", "--change-case", "yes"},
        {"colour", "extra"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args, QByteArray("select 1 "));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}

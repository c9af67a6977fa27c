#include "ProbeProcess.h"

#include <gtest/gtest.h>

// Usage errors of the driver itself: exit status 2, a message on standard error, nothing on
// standard output.
TEST(ProbeUsage, BadCommandLinesExitWithTwo)
{
    struct Case
    {
        QStringList args;
        QString lastLine; // the last line of standard error
    };
    const Case cases[] = {
        {{}, QString()},
        {{"no-such-subcommand"}, "qorvane-probe: unknown subcommand: no-such-subcommand"},
        {{"--codepage"}, "qorvane-probe: --codepage needs a number"},
        {{"params", "--codepage", "abc"}, "qorvane-probe: bad code page: abc"},
        {{"params", "--codepage", "0"}, "qorvane-probe: bad code page: 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(c.args);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        ASSERT_TRUE(result.err.endsWith('\n'));
        EXPECT_EQ(result.err.count('\n'), 1) << "a one-line message";
        if (!c.lastLine.isEmpty()) {
            const QStringList errLines = result.errText().split('\n', Qt::SkipEmptyParts);
            EXPECT_EQ(errLines.last(), c.lastLine);
        }
    }
}

// Every subcommand of the table is there, and --help lists them and succeeds.
TEST(ProbeUsage, HelpListsEverySubcommand)
{
    const ProbeOutput result = ProbeProcess::run({"--help"});
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0);
    for (const char *name :
         {"format", "cipher", "profile", "sql", "catalog", "params", "target", "colour", "run"})
        EXPECT_TRUE(result.outText().contains(QStringLiteral("qorvane-probe %1 ").arg(name)))
            << name;
}

// The code page may stand anywhere on the command line and is taken out before the subcommand
// sees its arguments.
TEST(ProbeUsage, CodePageIsTakenOutOfTheArguments)
{
    for (const QStringList &args : {QStringList{"--codepage", "932", "target"},
                                    QStringList{"target", "--codepage", "65001"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args, QStringLiteral("SELECT * FROM 表"));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(result.outText(), QStringLiteral("表\n"));
    }
}

// A code page and no subcommand is bad usage like no arguments at all.
TEST(ProbeUsage, CodePageWithoutSubcommandIsBadUsage)
{
    const ProbeOutput result = ProbeProcess::run({"--codepage", "932"});
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(result.err.endsWith('\n'));
    EXPECT_EQ(result.err.count('\n'), 1) << "one line";
}

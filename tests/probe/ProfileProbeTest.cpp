#include "ProbeProcess.h"

#include <gtest/gtest.h>

namespace {

QString profileLines(const QString &name, const QString &provider, const QString &dataSource,
                     const QString &user, const QString &password, const QString &catalog,
                     const QString &others, const QString &connection)
{
    return QStringLiteral("name=") + name + "\nprovider=" + provider + "\ndataSource="
           + dataSource + "\nuser=" + user + "\npassword=" + password + "\ncatalog=" + catalog
           + "\nothers=" + others + "\nconnection=" + connection + "\n";
}

} // namespace

// The eight fields of a profile built from an empty name and the string, in their order, with
// the connection text recomposed: Provider and Data Source always, then catalogue, user and
// password when not empty, then the other pairs without a trailing ";".
TEST(ProfileProbe, PrintsTheEightFieldsOfTheParsedProfile)
{
    struct Case
    {
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {"Provider=SQLite;Data Source=/tmp/a.db",
         profileLines("", "SQLite", "/tmp/a.db", "", "", "", "",
                      "Provider=SQLite;Data Source=/tmp/a.db;")},
        {"Provider=PostgreSQL;Data Source=db:5432;Initial Catalog=sales;Sslmode=require",
         profileLines("", "PostgreSQL", "db:5432", "", "", "sales", "Sslmode=require",
                      "Provider=PostgreSQL;Data Source=db:5432;Initial Catalog=sales;"
                      "Sslmode=require")},
        {"Timeout=5;Password=pw;User ID=u;Provider=P;Initial Catalog=c;Data Source=d;X=1;",
         profileLines("", "P", "d", "u", "pw", "c", "Timeout=5;X=1",
                      "Provider=P;Data Source=d;Initial Catalog=c;User ID=u;Password=pw;"
                      "Timeout=5;X=1")},
        // Keys other than ConnName are compared exactly: a lower-case provider is another pair.
        {"provider=SQLite;Data Source=x",
         profileLines("", "", "x", "", "", "", "provider=SQLite",
                      "Provider=;Data Source=x;provider=SQLite")},
        {"user id=u;Data Source=x",
         profileLines("", "", "x", "", "", "", "user id=u", "Provider=;Data Source=x;user id=u")},
        // ConnName, compared ignoring case, sets the name and is not part of the connection.
        {"CONNNAME=本番 データベース;Provider=SQLite;Data Source=/データ/売上.db",
         profileLines("本番 データベース", "SQLite", "/データ/売上.db", "", "", "", "",
                      "Provider=SQLite;Data Source=/データ/売上.db;")},
        // White space around keys and values goes; empty pieces are skipped; a value keeps
        // every "=" after the first.
        {" Provider = P ;; Data Source =  d ; Extra = a=b;",
         profileLines("", "P", "d", "", "", "", "Extra=a=b", "Provider=P;Data Source=d;Extra=a=b")},
        // A piece without "=" has an empty key and the whole piece as value.
        {"Provider=P;junk",
         profileLines("", "P", "", "", "", "", "=junk", "Provider=P;Data Source=;=junk")},
        {"User ID=ユーザー;Password=パス ワード",
         profileLines("", "", "", "ユーザー", "パス ワード", "", "",
                      "Provider=;Data Source=;User ID=ユーザー;Password=パス ワード;")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const ProbeOutput result = ProbeProcess::run({"profile", c.input});
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(result.outText(), c.expected);
        EXPECT_TRUE(result.err.isEmpty());
    }
}

// An empty string stops the parse: every field stays empty, the connection text too (a profile
// whose connection text is empty is the one that is never stored).
TEST(ProfileProbe, EmptyStringLeavesEveryFieldEmpty)
{
    const ProbeOutput result = ProbeProcess::run({"profile", ""});
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outText(), profileLines("", "", "", "", "", "", "", ""));
}

TEST(ProfileProbe, BadUsageExitsWithTwoAndOneLine)
{
    for (const QStringList &args :
         {QStringList{"profile"}, QStringList{"profile", "Provider=P", "Data Source=d"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
        EXPECT_TRUE(result.err.endsWith('\n'));
    }
}

#include "connections/ConnectionProfile.h"

#include <gtest/gtest.h>

TEST(ConnectionProfile, parses_and_recomposes_in_fixed_order)
{
    struct Case
    {
        const char *input;
        const char *composed;
        const char *others;
    };
    const Case cases[] = {
        // Further keys go last, after user and password, without a trailing ";".
        {"Provider=PostgreSQL;Data Source=db:5432;Initial Catalog=sales;Port=1;User ID=u;"
         "Password=p;",
         "Provider=PostgreSQL;Data Source=db:5432;Initial Catalog=sales;User ID=u;Password=p;"
         "Port=1",
         "Port=1"},
        // Key spelling is exact: a lower-case provider is just another pair.
        {"provider=SQLite;Data Source=a.db", "Provider=;Data Source=a.db;provider=SQLite",
         "provider=SQLite"},
        // Blanks around keys and values go, empty pieces are skipped, values keep "=".
        {" Provider = SQLite ;;  Data Source= a b.db ; Password=x=y;;;",
         "Provider=SQLite;Data Source=a b.db;Password=x=y;", ""},
        // A piece without "=" has an empty key.
        {"Provider=X;flag;Data Source=d", "Provider=X;Data Source=d;=flag", "=flag"},
        // Provider and data source are always written.
        {"Foo=1;Bar=2", "Provider=;Data Source=;Foo=1;Bar=2", "Foo=1;Bar=2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        ConnectionProfile profile(QStringLiteral("n"), QString::fromUtf8(c.input));
        EXPECT_EQ(profile.connectionText, QString::fromUtf8(c.composed));
        EXPECT_EQ(profile.others, QString::fromUtf8(c.others));
        EXPECT_EQ(profile.name, QStringLiteral("n"));
        // Composed form is a fixed point.
        EXPECT_EQ(ConnectionProfile(QStringLiteral("n"), profile.connectionText).connectionText,
                  profile.connectionText);
    }
}

TEST(ConnectionProfile, fields_and_connname_key)
{
    ConnectionProfile profile(QStringLiteral("old"),
                              QStringLiteral("connname=売上DB;Provider=PostgreSQL;Data Source=h;"
                                             "User ID=山田;Password=秘密;Initial Catalog=c"));
    EXPECT_EQ(profile.name, QStringLiteral("売上DB"));
    EXPECT_EQ(profile.provider, QStringLiteral("PostgreSQL"));
    EXPECT_EQ(profile.dataSource, QStringLiteral("h"));
    EXPECT_EQ(profile.user, QStringLiteral("山田"));
    EXPECT_EQ(profile.password, QStringLiteral("秘密"));
    EXPECT_EQ(profile.catalog, QStringLiteral("c"));
    EXPECT_EQ(profile.storedText(),
              QStringLiteral("ConnName=売上DB;Provider=PostgreSQL;Data Source=h;Initial Catalog=c;"
                             "User ID=山田;Password=秘密;"));
}

TEST(ConnectionProfile, empty_string_reports_empty_and_clears_fields)
{
    ConnectionProfile profile(QStringLiteral("n"), QStringLiteral("Provider=A;Data Source=B"));
    EXPECT_FALSE(profile.parse(QString()));
    EXPECT_TRUE(profile.connectionText.isEmpty());
    EXPECT_TRUE(profile.provider.isEmpty());
    EXPECT_TRUE(profile.dataSource.isEmpty());
    EXPECT_EQ(profile.name, QStringLiteral("n"));
}

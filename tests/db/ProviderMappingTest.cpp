#include "db/ado/ConnectionString.h"
#include "db/odbc/OdbcResult.h"
#include "db/odbc/OdbcSqlText.h"
#include "db/odbc/OdbcSession.h"

#include <gtest/gtest.h>

using namespace Ado;

TEST(ConnectionString, parses_quoted_braced_and_plain_values)
{
    const ConnectionString cs(
        "Provider=SQLite; Data Source = /tmp/a;b.db ;Password=\"p;w\"\"d\";X='it''s';"
        "Driver={My Driver};Empty=;;Flag");
    EXPECT_EQ(cs.value("provider"), "SQLite");
    EXPECT_EQ(cs.value("DATA SOURCE"), "/tmp/a");
    EXPECT_TRUE(cs.contains("b.db"));
    EXPECT_EQ(cs.value("Password"), "p;w\"d");
    EXPECT_EQ(cs.value("X"), "it's");
    EXPECT_EQ(cs.value("Driver"), "My Driver");
    EXPECT_TRUE(cs.contains("Empty"));
    EXPECT_EQ(cs.value("Empty", "none"), "");
    EXPECT_FALSE(cs.contains("Missing"));
    // Round trip through the composed form.
    const ConnectionString again(cs.toString());
    EXPECT_EQ(again.value("Password"), "p;w\"d");
    EXPECT_EQ(again.value("X"), "it's");
}

TEST(OdbcMapping, provider_kinds)
{
    EXPECT_EQ(OdbcSession::kindForProvider("postgresql"), OdbcSession::Kind::PostgreSQL);
    EXPECT_EQ(OdbcSession::kindForProvider("MariaDB"), OdbcSession::Kind::MariaDB);
    EXPECT_EQ(OdbcSession::kindForProvider("MySQL"), OdbcSession::Kind::MariaDB);
    EXPECT_EQ(OdbcSession::kindForProvider("MSDASQL.1"), OdbcSession::Kind::Generic);
    EXPECT_FALSE(OdbcSession::kindForProvider("SQLOLEDB").has_value());
}

TEST(OdbcMapping, connection_strings_for_each_driver)
{
    const ConnectionString pg("Provider=PostgreSQL;Data Source=db.example:5433;"
                              "Initial Catalog=sales;User ID=bob;Password=se;cret;SSLMode=require");
    const ConnectionString pgOdbc(
        OdbcSession::odbcConnectionString(OdbcSession::Kind::PostgreSQL, pg, {}, {}));
    EXPECT_EQ(pgOdbc.value("DRIVER"), "PostgreSQL Unicode");
    EXPECT_EQ(pgOdbc.value("SERVER"), "db.example");
    EXPECT_EQ(pgOdbc.value("PORT"), "5433");
    EXPECT_EQ(pgOdbc.value("DATABASE"), "sales");
    EXPECT_EQ(pgOdbc.value("UID"), "bob");
    EXPECT_EQ(pgOdbc.value("PWD"), "se");
    EXPECT_EQ(pgOdbc.value("SSLMode"), "require");
    EXPECT_EQ(pgOdbc.value("UseDeclareFetch"), "1");
    EXPECT_EQ(pgOdbc.value("Fetch"), "10000");
    EXPECT_FALSE(pgOdbc.contains("Provider"));
    EXPECT_FALSE(pgOdbc.contains("Data Source"));

    // The string's own fetch settings win; log-in values replace the stored ones.
    const ConnectionString pg2("Provider=PostgreSQL;Data Source=h;UseDeclareFetch=0;Password=a");
    const ConnectionString pg2Odbc(
        OdbcSession::odbcConnectionString(OdbcSession::Kind::PostgreSQL, pg2, "typed", "p;w"));
    EXPECT_EQ(pg2Odbc.value("UseDeclareFetch"), "0");
    EXPECT_EQ(pg2Odbc.value("UID"), "typed");
    EXPECT_EQ(pg2Odbc.value("PWD"), "p;w");
    EXPECT_FALSE(pg2Odbc.contains("PORT"));

    const ConnectionString maria("Provider=MariaDB;Data Source=10.0.0.1:3307;Initial Catalog=shop;"
                                 "User ID=root;Password=x");
    const QString mariaText
        = OdbcSession::odbcConnectionString(OdbcSession::Kind::MariaDB, maria, {}, {});
    EXPECT_TRUE(mariaText.startsWith("DRIVER={MariaDB Unicode};")) << mariaText.toStdString();
    const ConnectionString mariaOdbc(mariaText);
    EXPECT_EQ(mariaOdbc.value("SERVER"), "10.0.0.1");
    EXPECT_EQ(mariaOdbc.value("PORT"), "3307");
    EXPECT_EQ(mariaOdbc.value("DATABASE"), "shop");
    EXPECT_EQ(mariaOdbc.value("NO_CACHE"), "1");
    EXPECT_EQ(mariaOdbc.value("FORWARDONLY"), "1");

    const ConnectionString dsn(
        "Provider=MSDASQL;Data Source=MyDsn;User ID=u;Driver=PostgreSQL Unicode");
    const QString dsnText
        = OdbcSession::odbcConnectionString(OdbcSession::Kind::Generic, dsn, {}, {});
    const ConnectionString dsnOdbc(dsnText);
    EXPECT_EQ(dsnOdbc.value("DSN"), "MyDsn");
    EXPECT_EQ(dsnOdbc.value("UID"), "u");
    EXPECT_TRUE(dsnText.contains("Driver={PostgreSQL Unicode}")) << dsnText.toStdString();
    EXPECT_FALSE(dsnOdbc.contains("UseDeclareFetch"));
}

TEST(OdbcMapping, named_parameters_become_positional_markers)
{
    QList<Parameter> params;
    for (const char *name : {"id", "Name", "d"}) {
        Parameter p;
        p.name = name;
        params.append(p);
    }
    struct Case
    {
        QString text;
        QString expected;
        QList<int> order;
    };
    const Case cases[] = {
        {"select * from t where id = :id and name = @name",
         "select * from t where id = ? and name = ?",
         {0, 1}},
        {"select :ID, :id", "select ?, ?", {0, 0}},
        {"select x::int, ':id', \":id\", -- :id\n /* @name */ :d",
         "select x::int, ':id', \":id\", -- :id\n /* @name */ ?",
         {2}},
        {"select $$ :id $$, $q$ @name $q$, :d", "select $$ :id $$, $q$ @name $q$, ?", {2}},
        {"set @other = 1; select @other, :nope", "set @other = 1; select @other, :nope", {}},
        {"select ?, ?", "select ?, ?", {0, 1}},
        {"select 'it''s :id', :id", "select 'it''s :id', ?", {0}},
    };
    for (const Case &c : cases) {
        QList<int> order;
        EXPECT_EQ(OdbcSqlText::rewriteParameters(c.text, params, order), c.expected);
        EXPECT_EQ(order, c.order) << c.text.toStdString();
    }
    QList<int> order;
    EXPECT_EQ(OdbcSqlText::rewriteParameters("select :id", {}, order), "select :id");
    // A backslash ends no literal in standard SQL, but escapes the quote in MariaDB.
    EXPECT_EQ(OdbcSqlText::rewriteParameters("select 'C:\\', :id", params, order),
              "select 'C:\\', ?");
    EXPECT_EQ(OdbcSqlText::rewriteParameters("select 'it\\'s :id', :id", params, order, true),
              "select 'it\\'s :id', ?");
}

TEST(OdbcMapping, statement_keywords_split_outside_quotes_and_comments)
{
    EXPECT_EQ(OdbcSqlText::statementKeywords("insert into t values(';'); -- x;\n"
                                             "create table u(x int);; /* ; */ select 1;"),
              QStringList({"INSERT", "CREATE", "SELECT"}));
    EXPECT_EQ(OdbcSqlText::statementKeywords("  (select 1)"), QStringList({"SELECT"}));
    EXPECT_EQ(OdbcSqlText::statementKeywords("do $$ begin; end $$; update t set a=1"),
              QStringList({"DO", "UPDATE"}));
    EXPECT_TRUE(OdbcSqlText::statementKeywords(" ; -- only\n").isEmpty());
}

#include "ProbeProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

QString sqliteConnection(const QString &path)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + path;
}

const char *const ItemsSql =
    "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT, price NUMERIC(10,2), ratio REAL,"
    " flag BOOLEAN, day DATE, at DATETIME, tm TIME, data BLOB);"
    "INSERT INTO items VALUES(1, 'りんご\tみかん', 120.5, 0.25, 1, '2024-03-01',"
    " '2024-03-01 00:00:00', '12:30:05', x'00ff');"
    "INSERT INTO items VALUES(2, NULL, NULL, NULL, 0, NULL, '2024-03-02 12:00:00', NULL, NULL);"
    "INSERT INTO items VALUES(3, 'x', 3, 1.5, NULL, '1999-12-31', '2024-03-03 01:02:03.045',"
    " '00:00:00', x'');";

// The query-error text of a record set: the four fields, then the statement.
QRegularExpression queryError(const QString &sql)
{
    return QRegularExpression(
        QStringLiteral("^クエリ実行エラー：\n\tコード： [0-9a-f]{8}\n\t内容　： .*\n\tソース： .*\n"
                       "\t説明　： .*\n\n\tSQL文： ")
            + QRegularExpression::escape(sql) + QStringLiteral("\\z"),
        QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

// Every result of the text in order: "# result N", then "affected=K" or the names, the ADO
// type numbers and the rows with the markers spelled out.
TEST(SqlProbe, WalksEveryResultOfASqliteText)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, ItemsSql);
    struct Case
    {
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {"SELECT * FROM items ORDER BY id",
         "# result 1\n"
         "id\tname\tprice\tratio\tflag\tday\tat\ttm\tdata\n"
         "3\t202\t131\t5\t11\t133\t135\t134\t205\n"
         "1\tりんご\tみかん\t120.5\t0.25\t1\t2024/03/01\t2024/03/01\t12:30:05\t<Binary>\n"
         "2\t<NULL>\t<NULL>\t<NULL>\t0\t<NULL>\t2024/03/02 12:00:00\t<NULL>\t<NULL>\n"
         "3\tx\t3\t1.5\t<NULL>\t1999/12/31\t2024/03/03 01:02:03.045\t00:00:00\t<Binary>\n"},
        {"SELECT id, name FROM items WHERE id > 100",
         "# result 1\nid\tname\n3\t202\n"},
        // Each statement is one result, in order; only data changes report a count.
        {"UPDATE items SET ratio = 2 WHERE id < 3;\r\nSELECT id FROM items WHERE ratio = 2;\r\n"
         "DELETE FROM items WHERE id = 99;\r\nCREATE TABLE more(a INTEGER);\r\n",
         "# result 1\naffected=2\n# result 2\nid\n3\n1\n2\n# result 3\naffected=0\n"
         "# result 4\naffected=-1\n"},
        {"INSERT INTO items(id, name) VALUES (10, '新しい行')",
         "# result 1\naffected=1\n"},
        {"SELECT name FROM items WHERE id = 10", "# result 1\nname\n202\n新しい行\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(visible(c.input.toUtf8()).toStdString());
        const ProbeOutput result = ProbeProcess::run({"sql", sqliteConnection(path)}, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(visible(result.out), visible(c.expected.toUtf8()));
        EXPECT_TRUE(result.err.isEmpty()) << result.errText().toStdString();
    }
}

// A failing statement: exit 1 with the query-error text on standard error; the results read
// before the failure stay on standard output.
TEST(SqlProbe, QueryErrorsGoToStandardErrorInTheQueryErrorFormat)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, ItemsSql);

    // Standard input is taken as it is: the statement keeps its trailing line break.
    const QString bad = QStringLiteral("SELEC * FROM items;\r\n");
    const ProbeOutput first = ProbeProcess::run({"sql", sqliteConnection(path)}, bad);
    ASSERT_TRUE(first.finished) << first.failure.toStdString();
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_TRUE(first.out.isEmpty()) << visible(first.out).toStdString();
    EXPECT_TRUE(queryError(bad).match(first.errText()).hasMatch())
        << visible(first.err).toStdString();

    const QString missing = QStringLiteral("\r\n  SELECT * FROM 無い表");
    const ProbeOutput leading = ProbeProcess::run({"sql", sqliteConnection(path)}, missing);
    ASSERT_TRUE(leading.finished) << leading.failure.toStdString();
    EXPECT_EQ(leading.exitCode, 1);
    // The statement is shown without its leading white space.
    EXPECT_TRUE(queryError(missing.trimmed()).match(leading.errText()).hasMatch())
        << visible(leading.err).toStdString();

    const ProbeOutput later =
        ProbeProcess::run({"sql", sqliteConnection(path)},
                          QStringLiteral("SELECT 7 AS n; SELECT * FROM nowhere;"));
    ASSERT_TRUE(later.finished) << later.failure.toStdString();
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_TRUE(later.outText().startsWith(QStringLiteral("# result 1\nn\n")))
        << visible(later.out).toStdString();
    EXPECT_TRUE(later.errText().startsWith(QStringLiteral("クエリ実行エラー：\n\tコード： ")))
        << visible(later.err).toStdString();
}

// A session that cannot open: exit 1 with the database-error text.
TEST(SqlProbe, OpenFailuresGiveTheDatabaseErrorText)
{
    QTemporaryDir dir;
    const QString cases[] = {
        sqliteConnection(dir.filePath(QStringLiteral("missing.db"))),
        QStringLiteral("Provider=NoSuchProvider;Data Source=x"),
    };
    const QRegularExpression databaseError(
        QStringLiteral("^データベースエラー：\n\tコード： [0-9a-f]{8}\n\t内容　： .*\n\tソース： .*\n"
                       "\t説明　： .*\n\\z"),
        QRegularExpression::DotMatchesEverythingOption);
    for (const QString &connection : cases) {
        SCOPED_TRACE(connection.toStdString());
        const ProbeOutput result = ProbeProcess::run({"sql", connection}, QByteArray("SELECT 1"));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(databaseError.match(result.errText()).hasMatch())
            << visible(result.err).toStdString();
    }
}

TEST(SqlProbe, BadUsageExitsWithTwoAndOneLine)
{
    for (const QStringList &args : {QStringList{"sql"}, QStringList{"sql", "a", "b"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args, QByteArray("SELECT 1"));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}

// The same walk on PostgreSQL through psqlODBC.
TEST(SqlProbe, WalksEveryResultOnPostgres)
{
    SKIP_WITHOUT_POSTGRES();
    const QString connection = TestSupport::postgresConnection();
    const QString setUp = QStringLiteral(
        "DROP TABLE IF EXISTS probe_sql_walk;"
        "CREATE TABLE probe_sql_walk(id integer PRIMARY KEY, name varchar(20), price numeric(10,2),"
        " ratio double precision, flag boolean, day date, at timestamp, tm time, data bytea);"
        "INSERT INTO probe_sql_walk VALUES(1, 'りんご', 120.50, 0.25, true, '2024-03-01',"
        " '2024-03-01 00:00:00', '12:30:05', '\\x00ff');"
        "INSERT INTO probe_sql_walk VALUES(2, NULL, NULL, NULL, false, NULL,"
        " '2024-03-02 12:00:00', NULL, NULL);");
    const ProbeOutput prepared = ProbeProcess::run({"sql", connection}, setUp);
    ASSERT_EQ(prepared.exitCode, 0) << prepared.errText().toStdString();

    const ProbeOutput result = ProbeProcess::run(
        {"sql", connection},
        QStringLiteral("UPDATE probe_sql_walk SET ratio = 1.5 WHERE id = 2;"
                       "SELECT * FROM probe_sql_walk ORDER BY id"));
    ProbeProcess::run({"sql", connection}, QByteArray("DROP TABLE probe_sql_walk"));
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
    const QStringList lines = result.outText().split('\n');
    ASSERT_EQ(lines.size(), 8) << visible(result.out).toStdString();
    EXPECT_EQ(lines[0], "# result 1");
    EXPECT_EQ(lines[1], "affected=1");
    EXPECT_EQ(lines[2], "# result 2");
    EXPECT_EQ(lines[3], "id\tname\tprice\tratio\tflag\tday\tat\ttm\tdata");
    EXPECT_EQ(lines[4], "3\t202\t131\t5\t11\t133\t135\t134\t205");
    EXPECT_EQ(lines[5], "1\tりんご\t120.50\t0.25\t1\t2024/03/01\t2024/03/01\t12:30:05\t<Binary>");
    EXPECT_EQ(lines[6], "2\t<NULL>\t<NULL>\t1.5\t0\t<NULL>\t2024/03/02 12:00:00\t<NULL>\t<NULL>");
    EXPECT_EQ(lines[7], "");
}

TEST(SqlProbe, PostgresErrorsGiveTheQueryErrorText)
{
    SKIP_WITHOUT_POSTGRES();
    const QString bad = QStringLiteral("SELECT * FROM probe_sql_no_such_table");
    const ProbeOutput result = ProbeProcess::run({"sql", TestSupport::postgresConnection()}, bad);
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(queryError(bad).match(result.errText()).hasMatch())
        << visible(result.err).toStdString();

    QString wrongPassword = TestSupport::postgresConnection();
    wrongPassword.replace(QRegularExpression(QStringLiteral("Password=[^;]*")),
                          QStringLiteral("Password=wrong-password"));
    const ProbeOutput refused = ProbeProcess::run({"sql", wrongPassword}, QByteArray("SELECT 1"));
    ASSERT_TRUE(refused.finished) << refused.failure.toStdString();
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errText().startsWith(QStringLiteral("データベースエラー：\n\tコード： 80040e4d\n")))
        << visible(refused.err).toStdString();
}

// Data changes report their counts and every other statement -1, one result per statement.
TEST(SqlProbe, ReportsTheCountOfEveryStatementOnPostgres)
{
    SKIP_WITHOUT_POSTGRES();
    const ProbeOutput result = ProbeProcess::run(
        {"sql", TestSupport::postgresConnection()},
        QStringLiteral("DROP TABLE IF EXISTS probe_sql_counts;\r\n"
                       "CREATE TABLE probe_sql_counts(a integer);\r\n"
                       "INSERT INTO probe_sql_counts VALUES (1), (2), (3);\r\n"
                       "UPDATE probe_sql_counts SET a = a + 1 WHERE a > 1;\r\n"
                       "SELECT a AS \"値\" FROM probe_sql_counts ORDER BY a;\r\n"
                       "DELETE FROM probe_sql_counts;\r\n"
                       "DROP TABLE probe_sql_counts;\r\n"));
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
    EXPECT_EQ(result.outText(),
              QStringLiteral("# result 1\naffected=-1\n# result 2\naffected=-1\n"
                             "# result 3\naffected=3\n# result 4\naffected=2\n"
                             "# result 5\n値\n3\n1\n3\n4\n"
                             "# result 6\naffected=3\n# result 7\naffected=-1\n"));
}

// Field texts by declared type: date-times with and without milliseconds, midnight as the
// date alone, booleans as 1 and 0, NULL before the binary marker, fixed-width text as stored.
TEST(SqlProbe, RendersEveryKindOfValueOnPostgres)
{
    SKIP_WITHOUT_POSTGRES();
    const ProbeOutput result = ProbeProcess::run(
        {"sql", TestSupport::postgresConnection()},
        QStringLiteral("SELECT '2024-03-03 01:02:03.045'::timestamp AS t, '00:00:00'::time AS z,"
                       " '2024-01-01'::timestamp AS m, true AS b, false AS f, 3::real AS r,"
                       " 'ａｂ'::char(3) AS c, NULL::bytea AS n, '\\x'::bytea AS e,"
                       " 12345678901::bigint AS big, 1.5::numeric AS dec"));
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
    EXPECT_EQ(result.outText(),
              QStringLiteral("# result 1\n"
                             "t\tz\tm\tb\tf\tr\tc\tn\te\tbig\tdec\n"
                             "135\t134\t135\t11\t11\t4\t130\t205\t205\t20\t131\n"
                             "2024/03/03 01:02:03.045\t00:00:00\t2024/01/01\t1\t0\t3\tａｂ \t"
                             "<NULL>\t<Binary>\t12345678901\t1.5\n"));
}

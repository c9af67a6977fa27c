#include "ProbeProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

QString sqliteConnection(const QString &path)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + path;
}

const char *const CatalogSql =
    "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT NOT NULL DEFAULT 'x',"
    " price NUMERIC(10,2));"
    "CREATE TABLE pair(a INTEGER, b TEXT, c REAL, PRIMARY KEY(b, a));"
    "CREATE TABLE nokey(v TEXT);"
    "CREATE TABLE 社員(番号 INTEGER PRIMARY KEY, 氏名 TEXT);"
    "CREATE VIEW cheap AS SELECT id, name FROM items WHERE price < 10;";

ProbeOutput catalog(const QString &connection, const QStringList &what)
{
    return ProbeProcess::run(QStringList{"catalog", connection} + what);
}

QStringList outLines(const ProbeOutput &result)
{
    return result.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

// One item per line; columns as ordinal, name, type name, data type, max length, precision,
// scale, nullable and default, tab-separated. SQLite has no schemata: one schema with an empty
// name, which every schema argument names as "".
TEST(CatalogProbe, ListsTheObjectsOfASqliteFile)
{
    QTemporaryDir dir;
    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, CatalogSql));
    struct Case
    {
        QStringList what;
        QString expected;
    };
    const Case cases[] = {
        {{"flags"}, "asyncCapable=1\nmultipleResults=1\nisJet=0\n"},
        {{"schemas"}, "\n"},
        {{"views", ""}, "cheap\n"},
        {{"columns", "", "items"},
         "1\tid\tINTEGER\t3\t-1\t10\t-1\t0\t\n"
         "2\tname\tTEXT\t202\t-1\t-1\t-1\t0\t'x'\n"
         "3\tprice\tNUMERIC\t131\t-1\t10\t2\t1\t\n"},
        {{"columns", "", "社員"},
         "1\t番号\tINTEGER\t3\t-1\t10\t-1\t0\t\n"
         "2\t氏名\tTEXT\t202\t-1\t-1\t-1\t1\t\n"},
        // Key columns in primary-key order, not column order.
        {{"keys", "", "pair"}, "b\na\n"},
        {{"keys", "", "items"}, "id\n"},
        {{"keys", "", "社員"}, "番号\n"},
        {{"keys", "", "nokey"}, ""},
        {{"classify", "items"}, "\titems\tTABLE\n"},
        {{"classify", "ITEMS"}, "\titems\tTABLE\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what.join(' ').toStdString());
        const ProbeOutput result = catalog(connection, c.what);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(visible(result.out), visible(c.expected.toUtf8()));
    }

    const ProbeOutput tables = catalog(connection, {"tables", ""});
    ASSERT_EQ(tables.exitCode, 0) << tables.errText().toStdString();
    const QStringList tableNames = outLines(tables);
    for (const char *name : {"items", "pair", "nokey", "社員"})
        EXPECT_TRUE(tableNames.contains(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(tableNames.contains(QStringLiteral("cheap")));

    // The columns' type names come from the provider's own type list.
    const ProbeOutput types = catalog(connection, {"types"});
    ASSERT_EQ(types.exitCode, 0);
    QStringList typeNames;
    for (const QString &line : outLines(types)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 7) << line.toStdString();
        typeNames.append(fields.first());
    }
    for (const char *name : {"INTEGER", "TEXT", "NUMERIC", "REAL", "BLOB"})
        EXPECT_TRUE(typeNames.contains(QString::fromLatin1(name))) << name;

    const ProbeOutput keywords = catalog(connection, {"keywords"});
    ASSERT_EQ(keywords.exitCode, 0);
    EXPECT_TRUE(outLines(keywords).contains(QStringLiteral("SELECT")));
}

// A view's columns come the same way; an object that is not there, or a name no list holds,
// is a failure with nothing printed.
TEST(CatalogProbe, UnknownObjectsFailWithExitOne)
{
    QTemporaryDir dir;
    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, CatalogSql));

    const ProbeOutput view = catalog(connection, {"columns", "", "cheap"});
    ASSERT_TRUE(view.finished) << view.failure.toStdString();
    EXPECT_EQ(view.exitCode, 0) << view.errText().toStdString();
    const QStringList viewLines = outLines(view);
    ASSERT_EQ(viewLines.size(), 2) << visible(view.out).toStdString();
    EXPECT_TRUE(viewLines[0].startsWith(QStringLiteral("1\tid\t")));
    EXPECT_TRUE(viewLines[1].startsWith(QStringLiteral("2\tname\t")));
    EXPECT_EQ(viewLines[1].split(QLatin1Char('\t')).size(), 9);

    const QStringList failing[] = {
        {"columns", "", "no_such_table"},
        {"classify", "no_such_table"},
    };
    for (const QStringList &what : failing) {
        SCOPED_TRACE(what.join(' ').toStdString());
        const ProbeOutput result = catalog(connection, what);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty()) << visible(result.out).toStdString();
    }
}

TEST(CatalogProbe, ConnectionFailureAndBadUsage)
{
    QTemporaryDir dir;
    const ProbeOutput missing =
        catalog(sqliteConnection(dir.filePath(QStringLiteral("missing.db"))), {"flags"});
    ASSERT_TRUE(missing.finished) << missing.failure.toStdString();
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.errText().startsWith(QStringLiteral("データベースエラー：\n\tコード： ")))
        << visible(missing.err).toStdString();

    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, CatalogSql));
    const QStringList cases[] = {
        {"catalog"},
        {"catalog", connection},
        {"catalog", connection, "everything"},
        {"catalog", connection, "tables"},
        {"catalog", connection, "columns", ""},
        {"catalog", connection, "flags", "extra"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.mid(2).join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}

// The same catalogue on PostgreSQL through psqlODBC, with real schemas.
TEST(CatalogProbe, ListsTheObjectsOfAPostgresDatabase)
{
    SKIP_WITHOUT_POSTGRES();
    const QString connection = TestSupport::postgresConnection();
    const ProbeOutput setUp = ProbeProcess::run(
        {"sql", connection},
        QStringLiteral("DROP VIEW IF EXISTS probe_cat_view; DROP TABLE IF EXISTS probe_cat_items;"
                       "DROP TABLE IF EXISTS probe_cat_pair;"
                       "CREATE TABLE probe_cat_items(id integer PRIMARY KEY,"
                       " name varchar(30) NOT NULL, price numeric(8,2));"
                       "CREATE TABLE probe_cat_pair(a integer, b integer, PRIMARY KEY(b, a));"
                       "CREATE VIEW probe_cat_view AS SELECT id FROM probe_cat_items;"));
    ASSERT_EQ(setUp.exitCode, 0) << setUp.errText().toStdString();

    const ProbeOutput schemas = catalog(connection, {"schemas"});
    const ProbeOutput tables = catalog(connection, {"tables", "public"});
    const ProbeOutput views = catalog(connection, {"views", "public"});
    const ProbeOutput columns = catalog(connection, {"columns", "public", "probe_cat_items"});
    const ProbeOutput keys = catalog(connection, {"keys", "public", "probe_cat_pair"});
    const ProbeOutput classify = catalog(connection, {"classify", "probe_cat_items"});
    ProbeProcess::run({"sql", connection},
                      QStringLiteral("DROP VIEW probe_cat_view; DROP TABLE probe_cat_items;"
                                     "DROP TABLE probe_cat_pair;"));

    EXPECT_EQ(schemas.exitCode, 0) << schemas.errText().toStdString();
    EXPECT_TRUE(outLines(schemas).contains(QStringLiteral("public")));
    EXPECT_EQ(tables.exitCode, 0) << tables.errText().toStdString();
    EXPECT_TRUE(outLines(tables).contains(QStringLiteral("probe_cat_items")));
    EXPECT_FALSE(outLines(tables).contains(QStringLiteral("probe_cat_view")));
    EXPECT_EQ(views.exitCode, 0) << views.errText().toStdString();
    EXPECT_TRUE(outLines(views).contains(QStringLiteral("probe_cat_view")));

    EXPECT_EQ(columns.exitCode, 0) << columns.errText().toStdString();
    const QStringList columnLines = outLines(columns);
    ASSERT_EQ(columnLines.size(), 3) << visible(columns.out).toStdString();
    const QStringList id = columnLines[0].split(QLatin1Char('\t'));
    const QStringList name = columnLines[1].split(QLatin1Char('\t'));
    const QStringList price = columnLines[2].split(QLatin1Char('\t'));
    ASSERT_EQ(id.size(), 9);
    ASSERT_EQ(name.size(), 9);
    ASSERT_EQ(price.size(), 9);
    EXPECT_EQ(id[0], "1");
    EXPECT_EQ(id[1], "id");
    EXPECT_EQ(id[3], "3");
    EXPECT_EQ(id[7], "0");
    EXPECT_EQ(name[0], "2");
    EXPECT_EQ(name[1], "name");
    EXPECT_EQ(name[4], "30");
    EXPECT_EQ(name[7], "0");
    EXPECT_EQ(price[0], "3");
    EXPECT_EQ(price[3], "131");
    EXPECT_EQ(price[5], "8");
    EXPECT_EQ(price[6], "2");
    EXPECT_EQ(price[7], "1");

    EXPECT_EQ(keys.exitCode, 0) << keys.errText().toStdString();
    EXPECT_EQ(keys.outText(), QStringLiteral("b\na\n"));
    EXPECT_EQ(classify.exitCode, 0) << classify.errText().toStdString();
    EXPECT_EQ(classify.outText(), QStringLiteral("public\tprobe_cat_items\tTABLE\n"));
}

// A function is a procedure of the catalogue; its parameters are listed by "columns", and a
// call written after the name still finds it.
TEST(CatalogProbe, ListsPostgresFunctionsAndTheirParameters)
{
    SKIP_WITHOUT_POSTGRES();
    const QString connection = TestSupport::postgresConnection();
    const ProbeOutput setUp = ProbeProcess::run(
        {"sql", connection},
        QStringLiteral("CREATE OR REPLACE FUNCTION probe_cat_fn(amount integer, label text)"
                       " RETURNS integer AS 'SELECT amount' LANGUAGE sql"));
    ASSERT_EQ(setUp.exitCode, 0) << setUp.errText().toStdString();

    const ProbeOutput procedures = catalog(connection, {"procedures", "public"});
    const ProbeOutput byName = catalog(connection, {"columns", "public", "probe_cat_fn"});
    const ProbeOutput byCall = catalog(connection, {"columns", "public", "probe_cat_fn(1, 'x')"});
    ProbeProcess::run({"sql", connection},
                      QByteArray("DROP FUNCTION probe_cat_fn(integer, text)"));

    EXPECT_EQ(procedures.exitCode, 0) << procedures.errText().toStdString();
    EXPECT_TRUE(outLines(procedures).contains(QStringLiteral("probe_cat_fn")))
        << visible(procedures.out).toStdString();
    EXPECT_EQ(byName.exitCode, 0) << byName.errText().toStdString();
    QStringList parameters;
    for (const QString &line : outLines(byName)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 9) << line.toStdString();
        if (!fields[1].isEmpty())
            parameters.append(QStringList{fields[0], fields[1], fields[3]}.join(QLatin1Char(' ')));
    }
    EXPECT_EQ(parameters, (QStringList{"1 amount 3", "2 label 203"}));
    EXPECT_EQ(byCall.exitCode, 0) << byCall.errText().toStdString();
    EXPECT_EQ(byCall.out, byName.out);
}

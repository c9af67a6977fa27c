#include "schema/CDBInfo.h"

#include "TestSupport.h"
#include "db/CADOCommand.h"
#include "db/CADODatabase.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

const char *const Fixture = R"sql(
CREATE TABLE Customer (
    Id INTEGER PRIMARY KEY,
    Name VARCHAR(50) NOT NULL,
    Balance NUMERIC(10,2) DEFAULT 0,
    Note TEXT
);
CREATE TABLE OrderLine (
    LineNo INTEGER NOT NULL,
    OrderId INTEGER NOT NULL,
    Qty INTEGER,
    PRIMARY KEY (OrderId, LineNo)
);
CREATE TABLE NoKey (Code TEXT UNIQUE, Label TEXT);
CREATE TABLE "Odd ""Name"" t" ("a b" INTEGER PRIMARY KEY, "q""c" TEXT);
CREATE TABLE "顧客" ("番号" INTEGER PRIMARY KEY, "名前" TEXT);
CREATE VIEW RichCustomer AS SELECT Id, Name FROM Customer WHERE Balance > 100;
INSERT INTO Customer (Name, Balance) VALUES ('a', 1), ('b', 200), ('c', 300);
)sql";

class CatalogueOnSqlite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = TestSupport::makeSqliteFile(dir, QString::fromUtf8(Fixture));
        connectionText = QStringLiteral("Provider=SQLite;Data Source=") + path + QLatin1Char(';');
        ASSERT_TRUE(session.Open(connectionText)) << session.GetErrorText().toStdString();
    }

    bool run(CADODatabase &on, const QString &sql)
    {
        CADOCommand command(&on, sql);
        const bool ok = command.Execute();
        EXPECT_TRUE(ok) << command.GetErrorText().toStdString();
        return ok;
    }

    static QStringList names(const QList<TableInfo> &list)
    {
        QStringList result;
        for (const TableInfo &t : list)
            result.append(t.name);
        return result;
    }

    QTemporaryDir dir;
    QString path;
    QString connectionText;
    CADODatabase session;
    CDBInfo catalogue;
};

TEST_F(CatalogueOnSqlite, entry_has_flags_one_default_schema_types_and_keywords)
{
    const auto entry = catalogue.GetEntry(&session);
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->asyncCapable);
    EXPECT_FALSE(entry->isJet);
    EXPECT_TRUE(catalogue.IsAsyncCapable(&session));
    EXPECT_FALSE(catalogue.IsJet(&session));
    EXPECT_EQ(catalogue.HasMultipleResults(&session), entry->multipleResults);

    ASSERT_EQ(entry->schemas.size(), 1);
    EXPECT_EQ(entry->schemas[0].name, QString());
    EXPECT_EQ(entry->schemas[0].displayName, QStringLiteral("既定のスキーマ"));
    EXPECT_EQ(catalogue.GetSchemaName(&session, QStringLiteral("既定のスキーマ")), QString());
    EXPECT_FALSE(entry->schemas[0].tablesLoaded) << "lists are read on first request only";

    EXPECT_FALSE(entry->providerTypes.isEmpty());
    EXPECT_EQ(catalogue.GetProviderTypes(&session).size(), entry->providerTypes.size());
    EXPECT_TRUE(QString(QLatin1Char(' ') + entry->keywords).contains(QStringLiteral(" SELECT ")));
    EXPECT_TRUE(entry->keywords.endsWith(QLatin1Char(' ')));
    EXPECT_EQ(entry->connection.provider, QStringLiteral("SQLite"));
    EXPECT_EQ(entry->connection.dataSource, path);
}

TEST_F(CatalogueOnSqlite, sessions_on_one_database_share_an_entry_and_refresh_empties_it_for_both)
{
    CADODatabase second;
    ASSERT_TRUE(second.Open(connectionText));
    CADODatabase otherUser;
    ASSERT_TRUE(otherUser.Open(connectionText + QStringLiteral("User ID=someone;")));

    EXPECT_TRUE(CDBInfo::SameDatabase(&session, &second));
    EXPECT_FALSE(CDBInfo::SameDatabase(&session, &otherUser));
    EXPECT_TRUE(CDBInfo::SameDatabase(&session, nullptr));

    const auto first = catalogue.GetEntry(&session);
    ASSERT_EQ(catalogue.GetTables(&session, QString(), true).size(), 6);
    EXPECT_EQ(catalogue.GetEntry(&second), first);
    EXPECT_EQ(catalogue.GetTables(&second, QString(), false).size(), 6)
        << "the second window finds the list already read";
    EXPECT_NE(catalogue.GetEntry(&otherUser), first);

    run(session, QStringLiteral("CREATE TABLE Added (x INTEGER)"));
    EXPECT_EQ(catalogue.GetTables(&second, QString(), true).size(), 6) << "cached until refresh";
    ASSERT_TRUE(catalogue.Refresh(&second));
    const auto refreshed = catalogue.FindEntry(&session);
    ASSERT_TRUE(refreshed);
    EXPECT_NE(refreshed, first);
    EXPECT_FALSE(refreshed->schemas[0].tablesLoaded);
    EXPECT_TRUE(catalogue.GetTables(&session, QString(), false).isEmpty());
    EXPECT_EQ(catalogue.GetTables(&session, QString(), true).size(), 7);
    EXPECT_EQ(first->schemas[0].tables.size(), 6) << "an old entry pointer stays readable";
}

TEST_F(CatalogueOnSqlite, closed_or_missing_session_yields_nothing)
{
    EXPECT_FALSE(catalogue.GetEntry(nullptr));
    ASSERT_TRUE(catalogue.GetEntry(&session));
    session.Close();
    EXPECT_FALSE(catalogue.GetEntry(&session));
    EXPECT_FALSE(catalogue.IsAsyncCapable(&session));
    EXPECT_TRUE(catalogue.GetTables(&session, QString(), true).isEmpty());
    EXPECT_FALSE(catalogue.GetTable(&session, QString(), QStringLiteral("Customer"), true));
    QStringList keys{QStringLiteral("stale")};
    EXPECT_FALSE(catalogue.GetKeyColumns(&session, QString(), QStringLiteral("Customer"), keys));
    EXPECT_TRUE(keys.isEmpty());
    EXPECT_TRUE(catalogue.FindEntry(&session)) << "closing a connection keeps its entry";
}

TEST_F(CatalogueOnSqlite, session_check_narrows_which_sessions_are_read)
{
    catalogue.SetSessionCheck([](const CADODatabase *) { return false; });
    EXPECT_FALSE(catalogue.GetEntry(&session));
    catalogue.SetSessionCheck({});
    EXPECT_TRUE(catalogue.GetEntry(&session));
}

TEST_F(CatalogueOnSqlite, tables_and_views_are_listed_apart_including_awkward_names)
{
    const QStringList tables = names(catalogue.GetTables(&session, QString(), true));
    for (const char *name : {"Customer", "OrderLine", "NoKey", "Odd \"Name\" t", "顧客"})
        EXPECT_TRUE(tables.contains(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(tables.contains(QStringLiteral("sqlite_schema"))) << "system tables are tables";
    EXPECT_FALSE(tables.contains(QStringLiteral("RichCustomer")));
    EXPECT_EQ(names(catalogue.GetViews(&session, QString(), true)),
              QStringList{QStringLiteral("RichCustomer")});
    EXPECT_TRUE(catalogue.GetProcedures(&session, QString(), true).isEmpty());
    EXPECT_TRUE(catalogue.LastError().isEmpty()) << catalogue.LastError().toStdString();

    EXPECT_TRUE(catalogue.GetTables(&session, QStringLiteral("nosuchschema"), true).isEmpty());
}

TEST_F(CatalogueOnSqlite, table_details_give_ordered_columns_types_nullability_defaults_and_keys)
{
    const auto customer = catalogue.GetTable(&session, QString(), QStringLiteral("customer"), true);
    ASSERT_TRUE(customer);
    EXPECT_EQ(customer->name, QStringLiteral("Customer")) << "the stored spelling";
    EXPECT_TRUE(customer->infoLoaded);
    EXPECT_TRUE(customer->columnsLoaded);
    EXPECT_TRUE(customer->keysLoaded);
    EXPECT_EQ(customer->rowCount, 3);
    EXPECT_EQ(customer->keys, QStringList{QStringLiteral("Id")});

    ASSERT_EQ(customer->columns.size(), 4);
    const QStringList expectedNames{"Id", "Name", "Balance", "Note"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(customer->columns[i].name, expectedNames[i]);
        EXPECT_EQ(customer->columns[i].ordinal, i + 1);
        EXPECT_FALSE(customer->columns[i].typeName.isEmpty()) << i;
    }
    EXPECT_FALSE(customer->columns[0].nullable) << "a primary key column";
    EXPECT_FALSE(customer->columns[1].nullable) << "NOT NULL";
    EXPECT_TRUE(customer->columns[3].nullable);
    EXPECT_EQ(customer->columns[2].defaultValue, QStringLiteral("0"));
    EXPECT_TRUE(customer->columns[3].defaultValue.isEmpty());
    EXPECT_EQ(customer->columns[2].precision, 10);
    EXPECT_EQ(customer->columns[2].scale, 2);
    EXPECT_EQ(customer->columns[3].scale, -1);

    // The getter without details returns what is cached, now complete.
    const auto cached = catalogue.GetTable(&session, QString(), QStringLiteral("Customer"), false);
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->columns.size(), 4);

    const auto view = catalogue.GetView(&session, QString(), QStringLiteral("RICHCUSTOMER"), true);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->columns.size(), 2);
    EXPECT_TRUE(view->keys.isEmpty());
    EXPECT_FALSE(catalogue.GetTable(&session, QString(), QStringLiteral("RichCustomer"), true));
}

TEST_F(CatalogueOnSqlite, awkward_names_read_their_columns_and_keys)
{
    struct Case
    {
        const char *table;
        QStringList columns;
    };
    const Case cases[] = {
        {"Odd \"Name\" t", {"a b", "q\"c"}},
        {"顧客", {"番号", "名前"}},
    };
    for (const Case &c : cases) {
        const QString name = QString::fromUtf8(c.table);
        const auto table = catalogue.GetTable(&session, QString(), name, true);
        ASSERT_TRUE(table) << c.table;
        QStringList columns;
        for (const ColumnInfo &column : table->columns)
            columns.append(column.name);
        EXPECT_EQ(columns, c.columns) << c.table;
        EXPECT_EQ(table->keys, QStringList{c.columns.first()}) << c.table;
    }
}

TEST_F(CatalogueOnSqlite, key_columns_come_only_from_the_primary_key_in_key_order)
{
    struct Case
    {
        QString schema;
        QString table;
        bool result;
        QStringList keys;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("OrderLine"), true, {"OrderId", "LineNo"}},
        {QString(), QStringLiteral("orderline"), true, {"OrderId", "LineNo"}},
        {QString(), QStringLiteral("Customer"), true, {"Id"}},
        {QString(), QStringLiteral("NoKey"), true, {}},      // a unique column is no key
        {QString(), QStringLiteral("RichCustomer"), false, {}}, // a view
        {QString(), QStringLiteral("Missing"), false, {}},
    };
    for (const Case &c : cases) {
        QStringList keys{QStringLiteral("left over")};
        EXPECT_EQ(catalogue.GetKeyColumns(&session, c.schema, c.table, keys), c.result)
            << c.table.toStdString();
        EXPECT_EQ(keys, c.keys) << c.table.toStdString();
    }
    const auto orderLine = catalogue.GetTable(&session, QString(), QStringLiteral("OrderLine"), false);
    ASSERT_TRUE(orderLine);
    EXPECT_TRUE(orderLine->keysLoaded) << "keys read for the result are kept on the table";
    EXPECT_FALSE(orderLine->columnsLoaded);
}

TEST_F(CatalogueOnSqlite, names_resolve_to_stored_name_schema_and_type)
{
    const auto table = catalogue.Classify(&session, QStringLiteral("CUSTOMER"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->name, QStringLiteral("Customer"));
    EXPECT_EQ(table->schemaName, QString());
    EXPECT_EQ(table->type, QStringLiteral("TABLE"));

    EXPECT_FALSE(catalogue.Classify(&session, QStringLiteral("RichCustomer")))
        << "views are searched only as far as their list is loaded";
    catalogue.GetViews(&session, QString(), true);
    const auto view = catalogue.Classify(&session, QStringLiteral("richcustomer"));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->type, QStringLiteral("VIEW"));

    const auto resolved = catalogue.ResolveObject(&session, QString(), QString::fromUtf8("顧客"));
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->type, QStringLiteral("TABLE"));
    EXPECT_FALSE(catalogue.ResolveObject(&session, QStringLiteral("main"), QStringLiteral("Customer")))
        << "an owner naming no schema resolves nothing";
    EXPECT_FALSE(catalogue.ResolveObject(&session, QString(), QStringLiteral("Nothing")));
    EXPECT_EQ(catalogue.GetStoredTableName(&session, QString(), QStringLiteral("noKEY")),
              QStringLiteral("NoKey"));
    EXPECT_EQ(catalogue.GetStoredTableName(&session, QString(), QStringLiteral("Nothing")),
              QStringLiteral("Nothing"));
}

TEST_F(CatalogueOnSqlite, resolving_in_an_unread_schema_reads_tables_then_views)
{
    const auto view = catalogue.ResolveObject(&session, QString(), QStringLiteral("RichCustomer"));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->type, QStringLiteral("VIEW"));
    EXPECT_EQ(view->name, QStringLiteral("RichCustomer"));
}

TEST_F(CatalogueOnSqlite, a_table_dropped_after_listing_leaves_a_consistent_entry)
{
    ASSERT_TRUE(catalogue.GetTables(&session, QString(), true).size() > 0);
    CADODatabase other;
    ASSERT_TRUE(other.Open(connectionText));
    run(other, QStringLiteral("DROP TABLE NoKey"));

    const auto dropped = catalogue.GetTable(&session, QString(), QStringLiteral("NoKey"), true);
    ASSERT_TRUE(dropped) << "still listed until refresh";
    EXPECT_TRUE(dropped->columns.isEmpty());
    EXPECT_TRUE(dropped->keys.isEmpty());
    QStringList keys;
    EXPECT_TRUE(catalogue.GetKeyColumns(&session, QString(), QStringLiteral("NoKey"), keys));
    EXPECT_TRUE(keys.isEmpty());

    ASSERT_TRUE(catalogue.Refresh(&session));
    EXPECT_FALSE(catalogue.GetTable(&session, QString(), QStringLiteral("NoKey"), true));
}

TEST_F(CatalogueOnSqlite, reload_reads_details_again_and_clear_rereads_a_list)
{
    ASSERT_TRUE(catalogue.GetTable(&session, QString(), QStringLiteral("NoKey"), true));
    run(session, QStringLiteral("ALTER TABLE NoKey ADD COLUMN Extra INTEGER"));
    EXPECT_EQ(catalogue.GetTable(&session, QString(), QStringLiteral("NoKey"), true)->columns.size(), 2);
    const auto reloaded = catalogue.ReloadTable(&session, QString(), QStringLiteral("NoKey"));
    ASSERT_TRUE(reloaded);
    ASSERT_EQ(reloaded->columns.size(), 3);
    EXPECT_EQ(reloaded->columns[2].name, QStringLiteral("Extra"));

    EXPECT_EQ(catalogue.GetViews(&session, QString(), true).size(), 1);
    run(session, QStringLiteral("CREATE VIEW V2 AS SELECT 1 AS one"));
    EXPECT_EQ(catalogue.GetViews(&session, QString(), true).size(), 1);
    catalogue.ClearViews(&session, QString());
    EXPECT_EQ(catalogue.GetViews(&session, QString(), true).size(), 2);
    catalogue.ClearTables(&session, QString());
    EXPECT_FALSE(catalogue.FindSchema(&session, QString(), false)->tablesLoaded);
}

TEST(ConnectionIdentity, four_fields_are_parsed_as_profiles_parse_them)
{
    const ConnectionFields fields = CDBInfo::ParseConnection(
        QStringLiteral("Provider=PostgreSQL; Data Source = h:5432 ;Initial Catalog=db;"
                       "User ID=u;Password=p;connname=Mine;provider=ignored"));
    EXPECT_EQ(fields.provider, QStringLiteral("PostgreSQL"));
    EXPECT_EQ(fields.dataSource, QStringLiteral("h:5432"));
    EXPECT_EQ(fields.initialCatalog, QStringLiteral("db"));
    EXPECT_EQ(fields.userId, QStringLiteral("u"));
    EXPECT_EQ(fields.connName, QStringLiteral("Mine"));
}

} // namespace

#include "schema/CDBInfo.h"

#include "TestSupport.h"
#include "db/CADOCommand.h"
#include "db/CADODatabase.h"
#include "db/CADORecordset.h"

#include <gtest/gtest.h>

namespace {

// Each test works in schemas of its own, named after it, so that tests of other folders
// running on the same server meet nothing of ours.
class CatalogueOnPostgres : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_POSTGRES();
        const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
        schema = QStringLiteral("qv_cat_") + QString::fromLatin1(info->name()).toLower().left(40);
        ASSERT_TRUE(session.Open(TestSupport::postgresConnection()))
            << session.GetErrorText().toStdString();
        dropSchemas();
        run(QStringLiteral("CREATE SCHEMA ") + schema);
        created.append(schema);
    }

    void TearDown() override
    {
        if (!created.isEmpty())
            dropSchemas();
    }

    void dropSchemas()
    {
        CADODatabase cleaner;
        if (!cleaner.Open(TestSupport::postgresConnection()))
            return;
        QStringList names = created;
        if (names.isEmpty())
            names.append(schema);
        for (const QString &name : names) {
            CADOCommand drop(&cleaner, QStringLiteral("DROP SCHEMA IF EXISTS ") + name
                                           + QStringLiteral(" CASCADE"));
            drop.Execute();
        }
    }

    bool run(const QString &sql, CADODatabase *on = nullptr)
    {
        CADOCommand command(on ? on : &session, sql);
        const bool ok = command.Execute();
        EXPECT_TRUE(ok) << command.GetErrorText().toStdString();
        return ok;
    }

    void makeShop()
    {
        const QString s = schema + QLatin1Char('.');
        run(QStringLiteral("CREATE TABLE %1customer (id serial PRIMARY KEY, name varchar(50) NOT "
                           "NULL, balance numeric(10,2) DEFAULT 0, note text, born date, "
                           "flag boolean)").arg(s));
        run(QStringLiteral("CREATE TABLE %1order_line (line_no int NOT NULL, order_id int NOT "
                           "NULL, qty int, PRIMARY KEY (order_id, line_no))").arg(s));
        run(QStringLiteral("CREATE TABLE %1nokey (code text UNIQUE, label text)").arg(s));
        run(QStringLiteral("CREATE TABLE %1\"Odd \"\"Name\"\" t\" (\"a b\" int PRIMARY KEY, "
                           "\"q\"\"c\" text)").arg(s));
        run(QStringLiteral("CREATE TABLE %1\"顧客\" (\"番号\" int PRIMARY KEY, \"名前\" text)").arg(s));
        run(QStringLiteral("CREATE VIEW %1rich AS SELECT id, name FROM %1customer WHERE "
                           "balance > 100").arg(s));
        run(QStringLiteral("CREATE FUNCTION %1add_one(a int, b text DEFAULT 'x') RETURNS int "
                           "LANGUAGE sql AS 'SELECT a + 1'").arg(s));
        run(QStringLiteral("CREATE PROCEDURE %1do_it(IN x int, INOUT y int) LANGUAGE plpgsql "
                           "AS $$ BEGIN y := x; END $$").arg(s));
        run(QStringLiteral("CREATE FUNCTION %1\"p1;1\"(a int, b int) RETURNS int LANGUAGE sql "
                           "AS 'SELECT a + b'").arg(s));
    }

    template <typename List> static QStringList names(const List &list)
    {
        QStringList result;
        for (const auto &item : list)
            result.append(item.name);
        return result;
    }

    QString schema;
    QStringList created;
    CADODatabase session;
    CDBInfo catalogue;
};

TEST_F(CatalogueOnPostgres, system_user_and_public_schemas_are_listed_in_provider_order)
{
    const auto entry = catalogue.GetEntry(&session);
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->asyncCapable);
    EXPECT_FALSE(entry->isJet);
    QStringList schemas;
    for (const SchemaInfo &s : entry->schemas) {
        schemas.append(s.name);
        EXPECT_EQ(s.displayName, s.name);
    }
    for (const QString &name : {QStringLiteral("public"), QStringLiteral("pg_catalog"),
                                QStringLiteral("information_schema"), schema})
        EXPECT_TRUE(schemas.contains(name)) << name.toStdString();
    EXPECT_EQ(catalogue.GetSchemaName(&session, schema.toUpper()), schema);
    EXPECT_FALSE(entry->providerTypes.isEmpty());
    EXPECT_TRUE(catalogue.GetTables(&session, QStringLiteral("pg_catalog"), true).size() > 20);
}

TEST_F(CatalogueOnPostgres, objects_columns_type_names_and_keys_of_a_schema)
{
    makeShop();
    const QStringList tables = names(catalogue.GetTables(&session, schema, true));
    for (const char *name : {"customer", "order_line", "nokey", "Odd \"Name\" t", "顧客"})
        EXPECT_TRUE(tables.contains(QString::fromUtf8(name))) << name;
    EXPECT_EQ(tables.size(), 5);
    EXPECT_EQ(names(catalogue.GetViews(&session, schema, true)), QStringList{"rich"});
    QStringList procedures = names(catalogue.GetProcedures(&session, schema, true));
    procedures.sort();
    EXPECT_EQ(procedures, (QStringList{"add_one", "do_it", "p1;1"}));

    const auto customer = catalogue.GetTable(&session, schema, QStringLiteral("Customer"), true);
    ASSERT_TRUE(customer);
    EXPECT_TRUE(customer->infoLoaded && customer->columnsLoaded && customer->keysLoaded)
        << catalogue.LastError().toStdString();
    struct Expected
    {
        const char *name;
        const char *typeName;
        qint64 maxLength, precision, scale;
        bool nullable;
    };
    const Expected expected[] = {
        {"id", "int4", -1, 10, 0, false},       {"name", "varchar", 50, -1, -1, false},
        {"balance", "numeric", -1, 10, 2, true}, {"note", "text", -1, -1, -1, true},
        {"born", "date", -1, -1, -1, true},     {"flag", "bool", -1, -1, -1, true},
    };
    ASSERT_EQ(customer->columns.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const ColumnInfo &c = customer->columns[i];
        const Expected &e = expected[i];
        EXPECT_EQ(c.ordinal, i + 1);
        EXPECT_EQ(c.name, QString::fromLatin1(e.name));
        EXPECT_EQ(c.typeName, QString::fromLatin1(e.typeName)) << e.name;
        EXPECT_EQ(c.nullable, e.nullable) << e.name;
        if (e.maxLength >= 0) {
            EXPECT_EQ(c.maxLength, e.maxLength) << e.name;
        }
        if (QByteArray(e.name) == "balance") {
            EXPECT_EQ(c.precision, e.precision);
            EXPECT_EQ(c.scale, e.scale);
        }
    }
    EXPECT_TRUE(customer->columns[0].defaultValue.startsWith(QStringLiteral("nextval(")));
    EXPECT_EQ(customer->columns[2].defaultValue, QStringLiteral("0"));
    EXPECT_EQ(customer->keys, QStringList{"id"});

    const auto view = catalogue.GetView(&session, schema, QStringLiteral("RICH"), true);
    ASSERT_TRUE(view);
    EXPECT_EQ(names(view->columns), (QStringList{"id", "name"}));
    EXPECT_TRUE(view->keys.isEmpty());

    for (const char *name : {"Odd \"Name\" t", "顧客"}) {
        const auto odd = catalogue.GetTable(&session, schema, QString::fromUtf8(name), true);
        ASSERT_TRUE(odd) << name;
        EXPECT_EQ(odd->columns.size(), 2) << name;
        ASSERT_EQ(odd->keys.size(), 1) << name;
        EXPECT_EQ(odd->keys.first(), odd->columns.first().name) << name;
    }
}

TEST_F(CatalogueOnPostgres, key_columns_come_from_the_primary_key_only)
{
    makeShop();
    struct Case
    {
        QString table;
        bool result;
        QStringList keys;
    };
    const Case cases[] = {
        {QStringLiteral("order_line"), true, {"order_id", "line_no"}},
        {QStringLiteral("ORDER_LINE"), true, {"order_id", "line_no"}},
        {QStringLiteral("nokey"), true, {}},
        {QStringLiteral("rich"), false, {}},
        {QStringLiteral("missing"), false, {}},
    };
    for (const Case &c : cases) {
        QStringList keys{QStringLiteral("left over")};
        EXPECT_EQ(catalogue.GetKeyColumns(&session, schema, c.table, keys), c.result)
            << c.table.toStdString();
        EXPECT_EQ(keys, c.keys) << c.table.toStdString();
    }
}

TEST_F(CatalogueOnPostgres, an_unqualified_name_takes_the_keys_of_the_table_it_resolves_to)
{
    const QString second = schema + QStringLiteral("_b");
    run(QStringLiteral("CREATE SCHEMA ") + second);
    created.append(second);
    run(QStringLiteral("CREATE TABLE %1.twin (x int PRIMARY KEY, y int)").arg(schema));
    run(QStringLiteral("CREATE TABLE %1.twin (x int, y int PRIMARY KEY)").arg(second));
    catalogue.Refresh(&session);

    const auto found = catalogue.Classify(&session, QStringLiteral("TWIN"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->schemaName, schema) << "the first schema in provider order";
    EXPECT_EQ(found->type, QStringLiteral("TABLE"));
    QStringList keys;
    EXPECT_TRUE(catalogue.GetKeyColumns(&session, QString(), QStringLiteral("twin"), keys));
    EXPECT_EQ(keys, QStringList{"x"});
    EXPECT_TRUE(catalogue.GetKeyColumns(&session, second, QStringLiteral("twin"), keys));
    EXPECT_EQ(keys, QStringList{"y"});

    const auto resolved = catalogue.ResolveObject(&session, second, QStringLiteral("Twin"));
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->schemaName, second);
    EXPECT_EQ(resolved->name, QStringLiteral("twin"));
    EXPECT_FALSE(catalogue.ResolveObject(&session, QStringLiteral("no_such_schema"),
                                         QStringLiteral("twin")));
}

TEST_F(CatalogueOnPostgres, procedures_match_without_group_suffix_or_argument_list)
{
    makeShop();
    for (const char *name : {"p1", "P1(1, 2)", "p1;1", "p1 (3)"}) {
        const auto found = catalogue.GetProcedure(&session, schema, QString::fromUtf8(name), true);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->name, QStringLiteral("p1;1")) << name;
    }
    EXPECT_FALSE(catalogue.GetProcedure(&session, schema, QStringLiteral("p"), false));
    EXPECT_FALSE(catalogue.GetProcedure(&session, schema, QStringLiteral("(p1)"), false));

    const auto p1 = catalogue.GetProcedure(&session, schema, QStringLiteral("p1"), true);
    QStringList inputs;
    for (const ColumnInfo &p : p1->parameters)
        if (p.parameterType == 1)
            inputs.append(p.name);
    EXPECT_EQ(inputs, (QStringList{"a", "b"}));
    EXPECT_TRUE(std::is_sorted(p1->parameters.cbegin(), p1->parameters.cend(),
                               [](const ColumnInfo &a, const ColumnInfo &b) {
                                   return a.ordinal < b.ordinal;
                               }));

    const auto doIt = catalogue.GetProcedure(&session, schema, QStringLiteral("do_it"), true);
    ASSERT_TRUE(doIt);
    EXPECT_TRUE(doIt->detailsLoaded);
    QList<int> kinds;
    for (const ColumnInfo &p : doIt->parameters)
        if (!p.name.isEmpty())
            kinds.append(p.parameterType);
    EXPECT_EQ(kinds, (QList<int>{1, 2}));

    const auto classified = catalogue.Classify(&session, QStringLiteral("add_one(1)"));
    ASSERT_TRUE(classified) << "the procedure list of the schema is loaded by now";
    EXPECT_EQ(classified->type, QStringLiteral("PROC"));
    EXPECT_EQ(classified->schemaName, schema);
    ASSERT_TRUE(catalogue.LoadProcedureNames(&session));
    const QString all = QLatin1Char(' ') + catalogue.FindEntry(&session)->procedureNames;
    EXPECT_TRUE(all.contains(QStringLiteral(" add_one ")));
    EXPECT_TRUE(all.contains(QStringLiteral(" p1;1 ")));
}

TEST_F(CatalogueOnPostgres, a_dropped_connection_keeps_what_was_read_and_marks_nothing_half_read)
{
    makeShop();
    ASSERT_EQ(catalogue.GetTables(&session, schema, true).size(), 5);

    CADORecordset pid(&session);
    ASSERT_TRUE(pid.Open(QStringLiteral("SELECT pg_backend_pid()")));
    QString backend;
    ASSERT_TRUE(pid.GetFieldText(0, backend));
    pid.Close();
    CADODatabase killer;
    ASSERT_TRUE(killer.Open(TestSupport::postgresConnection()));
    run(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(backend), &killer);

    const auto customer = catalogue.GetTable(&session, schema, QStringLiteral("customer"), true);
    ASSERT_TRUE(customer) << "the list read before stays";
    EXPECT_FALSE(customer->columnsLoaded);
    EXPECT_FALSE(customer->keysLoaded);
    EXPECT_TRUE(customer->columns.isEmpty());
    EXPECT_FALSE(catalogue.LastError().isEmpty());
    QStringList keys;
    EXPECT_FALSE(catalogue.GetKeyColumns(&session, schema, QStringLiteral("customer"), keys));
    EXPECT_TRUE(catalogue.GetViews(&session, schema, true).isEmpty());
    EXPECT_FALSE(catalogue.LastError().isEmpty());
    EXPECT_EQ(catalogue.GetTables(&session, schema, true).size(), 5);

    // A new connection to the same database finds the entry and completes what failed.
    CADODatabase again;
    ASSERT_TRUE(again.Open(TestSupport::postgresConnection()));
    const auto retried = catalogue.GetTable(&again, schema, QStringLiteral("customer"), true);
    ASSERT_TRUE(retried);
    EXPECT_TRUE(retried->columnsLoaded);
    EXPECT_EQ(retried->columns.size(), 6);
    EXPECT_EQ(retried->keys, QStringList{"id"});
    EXPECT_EQ(catalogue.GetViews(&again, schema, true).size(), 1);
}

TEST_F(CatalogueOnPostgres, refresh_sees_new_objects_for_every_session_of_the_database)
{
    run(QStringLiteral("CREATE TABLE %1.first (a int)").arg(schema));
    CADODatabase second;
    ASSERT_TRUE(second.Open(TestSupport::postgresConnection()));
    EXPECT_EQ(catalogue.GetEntry(&session), catalogue.GetEntry(&second));
    EXPECT_EQ(names(catalogue.GetTables(&session, schema, true)), QStringList{"first"});
    run(QStringLiteral("CREATE TABLE %1.second (a int)").arg(schema));
    EXPECT_EQ(catalogue.GetTables(&second, schema, true).size(), 1);
    ASSERT_TRUE(catalogue.Refresh(&second)) << catalogue.LastError().toStdString();
    QStringList tables = names(catalogue.GetTables(&session, schema, true));
    tables.sort();
    EXPECT_EQ(tables, (QStringList{"first", "second"}));
}

} // namespace

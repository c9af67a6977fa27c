#include "DbTestSupport.h"

#include "TestSupport.h"
#include "db/CADOCommand.h"
#include "db/CATConnectionEvents.h"
#include "db/FieldText.h"
#include "db/ado/AdoConnection.h"
#include "db/ado/ConnectionString.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Ado;

TEST_P(ProviderTest, multi_statement_text_gives_every_result_in_order_with_its_count)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection)) << session.GetErrorText().toStdString();
    const QString t = table(), u = table("_u");
    exec(session,
         QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, name VARCHAR(20))").arg(t));
    const QString text = QStringLiteral("INSERT INTO %1 VALUES (1, 'a');\n"
                                        "INSERT INTO %1 VALUES (2, 'b'), (3, 'c');\n"
                                        "CREATE TABLE %2 (x INTEGER);\n"
                                        "UPDATE %1 SET name = 'z' WHERE id > 5;\n"
                                        "SELECT id, name FROM %1 ORDER BY id;\n"
                                        "DELETE FROM %1 WHERE id = 1")
                             .arg(t, u);
    EXPECT_TEXT(dump(session, text), "#1 affected=1\n"
                                     "#2 affected=2\n"
                                     "#3 affected=-1\n"
                                     "#4 affected=0\n"
                                     "#5 id\tname\n3\t202\n1\ta\n2\tb\n3\tc\n"
                                     "#6 affected=1\n");
    EXPECT_TEXT(dump(session, QStringLiteral("SELECT count(*) AS n FROM %1 WHERE id = 99").arg(t))
                    .section('\n', 2),
                "0\n");
}

TEST_P(ProviderTest, field_texts_of_every_type)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection)) << session.GetErrorText().toStdString();
    const QString t = table();
    exec(session, QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, big BIGINT, "
                                 "amount DECIMAL(10,2), ratio DOUBLE PRECISION, at TIMESTAMP, "
                                 "day DATE, flag BOOLEAN, note VARCHAR(20), data %2)")
                      .arg(t, binaryType()));
    exec(session,
         QStringLiteral("INSERT INTO %1 VALUES (1, 9000000000, 12.25, 0.5, '2024-01-02 00:00:00', "
                        "'2024-03-04', "
                        "TRUE, '日本語テキスト', %2);"
                        "INSERT INTO %1 VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
                        "INSERT INTO %1 VALUES (3, -1, -0.75, 1e20, '2024-01-02 12:00:00', "
                        "'1999-12-31', FALSE, "
                        "'it''s', %2);"
                        "INSERT INTO %1 VALUES (4, 0, 100.01, -2.5, '2024-01-02 03:04:05.678', "
                        "'2000-02-29', TRUE, '', NULL)")
             .arg(t, binaryLiteral()));
    EXPECT_TEXT(dump(session, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(t)),
                "#1 id\tbig\tamount\tratio\tat\tday\tflag\tnote\tdata\n"
                "3\t20\t131\t5\t135\t133\t11\t202\t205\n"
                "1\t9000000000\t12.25\t0.5\t2024/01/02\t2024/03/04\t1\t日本語テキスト\t<Binary>\n"
                "2\t<NULL>\t<NULL>\t<NULL>\t<NULL>\t<NULL>\t<NULL>\t<NULL>\t<NULL>\n"
                "3\t-1\t-0.75\t1E+20\t2024/01/02 12:00:00\t1999/12/31\t0\tit's\t<Binary>\n"
                "4\t0\t100.01\t-2.5\t2024/01/02 03:04:05.678\t2000/02/29\t1\t\t<NULL>\n");

    // The value reader and the field information of the same record set.
    CADORecordset rs(&session);
    rs.SetNullText("(null)");
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT id, flag, note, data FROM %1 ORDER BY id").arg(t)));
    QString text;
    EXPECT_TRUE(rs.GetValueText("flag", text));
    EXPECT_EQ(text, "T");
    EXPECT_TRUE(rs.GetFieldText("FLAG", text));
    EXPECT_EQ(text, "1");
    const CADORecordset::FieldInfo note = rs.GetFieldInfo(2);
    EXPECT_EQ(note.name, "note");
    EXPECT_EQ(note.definedSize, 20);
    EXPECT_EQ(note.actualSize, 7);
    EXPECT_TRUE(note.attributes & adFldIsNullable);
    Variant data;
    EXPECT_TRUE(rs.GetValue("data", data));
    EXPECT_EQ(data.bytes(), QByteArray("\x01\x02"));
    EXPECT_FALSE(rs.HasField("missing"));
    EXPECT_FALSE(rs.GetFieldText("missing", text));
    EXPECT_EQ(rs.GetErrorCode(), AdErrItemNotFound);
}

TEST_P(ProviderTest, statement_errors_use_the_query_format_and_leave_the_session_usable)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    QString reported;
    CADORecordset::setErrorReporter([&](const QString &text) { reported = text; });
    CADORecordset rs(&session);
    EXPECT_FALSE(rs.Open("  SELEC 1 FROM nowhere"));
    CADORecordset::setErrorReporter({});
    EXPECT_EQ(rs.GetErrorCode(), DB_E_ErrorsInCommand);
    EXPECT_TRUE(
        rs.GetErrorText().startsWith("クエリ実行エラー：\n\tコード： 80040e14\n\t内容　： "
                                     "コマンドに 1 つ以上のエラーが含まれています。\n\tソース： "))
        << rs.GetErrorText().toStdString();
    EXPECT_TRUE(rs.GetErrorText().endsWith("\n\tSQL文： SELEC 1 FROM nowhere"));
    EXPECT_EQ(reported, rs.GetErrorText());
    // The connection's error list holds the same description.
    const QString errors = session.ErrorsText();
    EXPECT_TRUE(errors.startsWith('\n'));
    EXPECT_FALSE(errors.endsWith('\n'));
    EXPECT_TRUE(rs.GetErrorText().contains(errors.mid(1).section('\n', 0, 0)));
    EXPECT_TEXT(dump(session, "SELECT 1 AS one"),
                "#1 one\n" + QString(isPostgres() ? "3" : "20") + "\n1\n");

    // A failing statement in the middle of a text stops the results there.
    const QString t = table();
    exec(session, QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY)").arg(t));
    const QString out = dump(
        session, QStringLiteral("INSERT INTO %1 VALUES (1); INSERT INTO %1 VALUES (1)").arg(t));
    if (isPostgres()) // the server runs the text as one unit
        EXPECT_TRUE(out.startsWith("ERROR クエリ実行エラー")) << out.toStdString();
    else
        EXPECT_TRUE(out.startsWith("#1 affected=1\nERROR クエリ実行エラー")) << out.toStdString();
}

TEST_P(ProviderTest, transactions_begin_once_roll_back_and_commit_on_close)
{
    const QString t = table();
    {
        CADODatabase session;
        ASSERT_TRUE(session.Open(m_connection));
        exec(session, QStringLiteral("CREATE TABLE %1 (id INTEGER)").arg(t));
        EXPECT_EQ(session.BeginTrans(), 1);
        EXPECT_EQ(session.BeginTrans(), 1);
        EXPECT_TRUE(session.IsInTransaction());
        exec(session, QStringLiteral("INSERT INTO %1 VALUES (1)").arg(t));
        EXPECT_EQ(session.RollbackTrans(), 0);
        EXPECT_FALSE(session.IsInTransaction());
        EXPECT_TEXT(
            dump(session, QStringLiteral("SELECT count(*) AS n FROM %1").arg(t)).section('\n', 2),
            "0\n");

        session.BeginTrans();
        exec(session, QStringLiteral("INSERT INTO %1 VALUES (2)").arg(t));
        // Opening again closes first, which commits the pending transaction.
        ASSERT_TRUE(session.Open(m_connection));
        EXPECT_FALSE(session.IsInTransaction());
        session.BeginTrans();
        exec(session, QStringLiteral("INSERT INTO %1 VALUES (3)").arg(t));
    } // the destructor closes and commits
    CADODatabase check;
    ASSERT_TRUE(check.Open(m_connection));
    EXPECT_TEXT(
        dump(check, QStringLiteral("SELECT id FROM %1 ORDER BY id").arg(t)).section('\n', 2),
        "2\n3\n");
}

TEST_P(ProviderTest, record_count_walks_a_forward_cursor_and_returns_to_the_first_row)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    const QString t = table();
    exec(
        session,
        QStringLiteral("CREATE TABLE %1 (id INTEGER); INSERT INTO %1 VALUES (7), (8), (9)").arg(t));
    CADORecordset rs(&session);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT id FROM %1 ORDER BY id").arg(t)));
    EXPECT_EQ(rs.RecordCount(), 3);
    QString text;
    ASSERT_TRUE(rs.GetFieldText(0, text));
    EXPECT_EQ(text, "7");
    ASSERT_TRUE(rs.MoveNext());
    ASSERT_TRUE(rs.GetFieldText(0, text));
    EXPECT_EQ(text, "8");

    // A keyset cursor knows its count; an empty result counts 0.
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT id FROM %1").arg(t), adOpenKeyset, adUseServer,
                        adLockOptimistic));
    EXPECT_EQ(rs.RecordCount(), 3);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT id FROM %1 WHERE id < 0").arg(t)));
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.IsEOF());

    // An empty source reopens the previous statement, which sees new rows.
    exec(session, QStringLiteral("INSERT INTO %1 VALUES (-1)").arg(t));
    ASSERT_TRUE(rs.Open());
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.GetSource(), QStringLiteral("SELECT id FROM %1 WHERE id < 0").arg(t));
}

TEST_P(ProviderTest, asynchronous_open_raises_execute_complete_once_on_another_thread)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    const QString t = table();
    exec(session, QStringLiteral("CREATE TABLE %1 (id INTEGER)").arg(t));
    auto sink = std::make_shared<CompletionSink>();
    const int cookie = session.connection()->advise(sink);

    CADORecordset rs(&session);
    rs.SetMarkers();
    ASSERT_TRUE(rs.Open(
        QStringLiteral("INSERT INTO %1 VALUES (1), (2); SELECT id FROM %1 ORDER BY id").arg(t),
        adOpenForwardOnly, adUseServer, adLockReadOnly, adAsyncExecute));
    ASSERT_TRUE(sink->waitFor(1));
    EXPECT_EQ(sink->recordset, rs.recordset());
    EXPECT_EQ(sink->recordsAffected, 2);
    EXPECT_EQ(sink->status, adStatusOK);
    EXPECT_NE(sink->thread, std::this_thread::get_id());
    // Once the execution has completed, Cancel leaves the reading alone.
    EXPECT_TRUE(rs.Cancel());
    EXPECT_TEXT(dump(rs), "#1 affected=2\n#2 id\n3\n1\n2\n");

    // A failed execution completes too, once, with its error.
    CADORecordset bad(&session);
    ASSERT_TRUE(bad.Open("SELECT * FROM no_such_table_anywhere", adOpenForwardOnly, adUseServer,
                         adLockReadOnly, adAsyncExecute));
    ASSERT_TRUE(sink->waitFor(2));
    EXPECT_EQ(sink->errorCode, DB_E_ErrorsInCommand);
    EXPECT_EQ(sink->status, adStatusErrorsOccurred);
    EXPECT_EQ(sink->recordsAffected, -1);
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_FALSE(session.ErrorsText().isEmpty());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(sink->count, 2);
    session.connection()->unadvise(cookie);
}

namespace {
class TestOwner : public CATConnectionEvents::Owner
{
public:
    const CADORecordset *currentRecordset() const override { return current; }
    void executionCompleted(long recordsAffected, const ErrorRecord *) override
    {
        std::lock_guard lock(mutex);
        calls.append(recordsAffected);
    }
    const CADORecordset *current = nullptr;
    std::mutex mutex;
    QList<long> calls;
};
} // namespace

TEST_P(ProviderTest, query_window_sink_ignores_other_record_sets_and_stops_after_detach)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    const QString t = table();
    exec(session, QStringLiteral("CREATE TABLE %1 (id INTEGER)").arg(t));
    TestOwner owner;
    auto events = std::make_shared<CATConnectionEvents>(&owner);
    auto counter = std::make_shared<CompletionSink>();
    session.connection()->advise(events);
    session.connection()->advise(counter);

    CADORecordset mine(&session);
    CADORecordset other(&session);
    // No current record set: ignored.
    ASSERT_TRUE(
        mine.Open("SELECT 1", adOpenForwardOnly, adUseServer, adLockReadOnly, adAsyncExecute));
    ASSERT_TRUE(counter->waitFor(1));
    owner.current = &mine;
    // Another record set of the same connection (and a schema read): ignored.
    ASSERT_TRUE(
        other.Open("SELECT 2", adOpenForwardOnly, adUseServer, adLockReadOnly, adAsyncExecute));
    ASSERT_TRUE(counter->waitFor(2));
    CADORecordset schema(&session);
    EXPECT_TRUE(schema.OpenSchema(adSchemaProviderTypes));
    ASSERT_TRUE(counter->waitFor(3));
    // The window's own execution: delivered with its count.
    ASSERT_TRUE(mine.Open(QStringLiteral("INSERT INTO %1 VALUES (5)").arg(t), adOpenForwardOnly,
                          adUseServer, adLockReadOnly, adAsyncExecute));
    ASSERT_TRUE(counter->waitFor(4));
    {
        std::lock_guard lock(owner.mutex);
        EXPECT_EQ(owner.calls, QList<long>({1}));
    }
    events->detach();
    ASSERT_TRUE(
        mine.Open("SELECT 3", adOpenForwardOnly, adUseServer, adLockReadOnly, adAsyncExecute));
    ASSERT_TRUE(counter->waitFor(5));
    std::lock_guard lock(owner.mutex);
    EXPECT_EQ(owner.calls.size(), 1);
}

TEST_P(ProviderTest, cancel_stops_a_running_statement_and_the_session_stays_usable)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    auto sink = std::make_shared<CompletionSink>();
    session.connection()->advise(sink);
    CADORecordset rs(&session);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(
        rs.Open(slowQuery(), adOpenForwardOnly, adUseServer, adLockReadOnly, adAsyncExecute));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(sink->count, 0);
    EXPECT_TRUE(rs.Cancel());
    ASSERT_TRUE(sink->waitFor(1, 10000));
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(sink->errorCode, DB_E_Canceled);
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_TEXT(dump(session, "SELECT 'ok' AS r").section('\n', 2), "ok\n");
}

// A cancel given at once, while the statement may not yet have reached the server, is not
// lost: every try ends well before the statement would.
TEST_P(ProviderTest, cancel_right_after_the_open_is_not_lost)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    for (int attempt = 0; attempt < 5; ++attempt) {
        SCOPED_TRACE(attempt);
        auto sink = std::make_shared<CompletionSink>();
        const int cookie = session.connection()->advise(sink);
        CADORecordset rs(&session);
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(
            rs.Open(slowQuery(), adOpenForwardOnly, adUseServer, adLockReadOnly, adAsyncExecute));
        std::this_thread::sleep_for(std::chrono::microseconds(200 * attempt));
        EXPECT_TRUE(rs.Cancel());
        ASSERT_TRUE(sink->waitFor(1, 10000));
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(sink->errorCode, DB_E_Canceled);
        session.connection()->unadvise(cookie);
    }
    EXPECT_TEXT(dump(session, "SELECT 'ok' AS r").section('\n', 2), "ok\n");
}

TEST_P(ProviderTest, command_time_out_stops_a_statement)
{
    CADODatabase session;
    session.SetCommandTimeout(1);
    ASSERT_TRUE(session.Open(m_connection));
    CADORecordset rs(&session);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(rs.Open(slowQuery()));
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_EQ(rs.GetErrorCode(), DB_E_AbortLimitReached) << rs.GetErrorText().toStdString();
    EXPECT_TEXT(dump(session, "SELECT 'ok' AS r").section('\n', 2), "ok\n");
}

TEST_P(ProviderTest, named_parameters_are_bound_by_name)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    const QString t = table();
    exec(session,
         QStringLiteral("CREATE TABLE %1 (id INTEGER, name VARCHAR(20), at TIMESTAMP)").arg(t));
    CADOCommand insert(&session, QStringLiteral("INSERT INTO %1 (id, name) VALUES (:id, @name); "
                                                "INSERT INTO %1 (id, name) VALUES (:id + 1, :name)")
                                     .arg(t));
    insert.AddParameter("id", adVariant, adParamInput, 0, Variant::fromText("5"));
    insert.AddParameter("name", adChar, adParamInput, 510, Variant::fromText("日本 'quoted' :id"));
    ASSERT_TRUE(insert.Execute()) << insert.GetErrorText().toStdString();
    EXPECT_EQ(insert.GetRecordsAffected(), 2);
    EXPECT_EQ(insert.GetParameterCount(), 2);

    CADOCommand select(
        &session, QStringLiteral("SELECT id, name FROM %1 WHERE id >= :ID ORDER BY id").arg(t));
    select.AddParameter("id", adVariant, adParamInput, 0, Variant::fromText("5"));
    CADORecordset rs(&session);
    rs.SetMarkers();
    ASSERT_TRUE(rs.ExecuteCommand(select, adUseServer, adCmdText))
        << rs.GetErrorText().toStdString();
    EXPECT_TEXT(dump(rs), "#1 id\tname\n3\t202\n5\t日本 'quoted' :id\n6\t日本 'quoted' :id\n");

    // A marker without a value is an error, not a silent NULL.
    CADOCommand missing(&session,
                        QStringLiteral("SELECT * FROM %1 WHERE id = :id AND name = :other").arg(t));
    missing.AddParameter("id", adVariant, adParamInput, 0, Variant::fromText("5"));
    EXPECT_FALSE(missing.Execute());
    EXPECT_TRUE(missing.GetErrorText().startsWith("コマンドエラー：\n\tコード： "))
        << missing.GetErrorText().toStdString();
}

TEST_P(ProviderTest, schema_rowsets_with_ole_db_columns)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    const QString t = table();
    exec(session,
         QStringLiteral("CREATE TABLE %1 (name VARCHAR(30) NOT NULL, id INTEGER, note TEXT, "
                        "PRIMARY KEY (id, name))")
             .arg(t));
    const QString schema = isPostgres() ? QStringLiteral("public") : QString();
    CADORecordset rs(&session);
    rs.SetNullText("(null)");

    ASSERT_TRUE(rs.OpenSchema(adSchemaTables, QStringList{QString(), schema, t}))
        << rs.GetErrorText().toStdString();
    ASSERT_FALSE(rs.IsEOF());
    QString text;
    EXPECT_TRUE(rs.GetValueText("TABLE_NAME", text));
    EXPECT_EQ(text, t);
    EXPECT_TRUE(rs.GetValueText("TABLE_TYPE", text));
    EXPECT_EQ(text, "TABLE");
    EXPECT_EQ(rs.RecordCount(), 1);

    ASSERT_TRUE(rs.OpenSchema(adSchemaColumns, QStringList{QString(), schema, t}));
    QStringList columns;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QString name, ordinal, type, nullable, length;
        rs.GetValueText("COLUMN_NAME", name);
        rs.GetValueText("ORDINAL_POSITION", ordinal);
        rs.GetValueText("DATA_TYPE", type);
        rs.GetFieldText("IS_NULLABLE", nullable);
        rs.GetValueText("CHARACTER_MAXIMUM_LENGTH", length);
        columns.append(QStringList{ordinal, name, type, nullable, length}.join(' '));
    }
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0], "1 name 202 0 30");
    EXPECT_TRUE(columns[1].startsWith("2 id 3 0")) << columns[1].toStdString();
    EXPECT_TRUE(columns[2].startsWith("3 note 20")) << columns[2].toStdString();

    ASSERT_TRUE(rs.OpenSchema(adSchemaPrimaryKeys, QStringList{QString(), schema, t}));
    QStringList keys;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        rs.GetValueText("COLUMN_NAME", text);
        keys.append(text);
    }
    EXPECT_EQ(keys, QStringList({"id", "name"}));

    for (int number :
         {adSchemaProviderTypes, adSchemaDBInfoKeywords, adSchemaSchemata, adSchemaProcedures,
          adSchemaIndexes, adSchemaStatistics, adSchemaCatalogs, adSchemaForeignKeys}) {
        EXPECT_TRUE(rs.OpenSchema(number)) << number << rs.GetErrorText().toStdString();
    }
    ASSERT_TRUE(rs.OpenSchema(adSchemaDBInfoKeywords));
    EXPECT_GT(rs.RecordCount(), 50);
    ASSERT_TRUE(rs.OpenSchema(adSchemaProviderTypes));
    EXPECT_GT(rs.RecordCount(), 5);
    for (const char *field : {"TYPE_NAME", "DATA_TYPE", "COLUMN_SIZE", "CREATE_PARAMS", "IS_LONG",
                              "BEST_MATCH", "IS_FIXEDLENGTH"})
        EXPECT_TRUE(rs.HasField(field)) << field;

    // Constraint rowsets come from the server's information_schema where it has one.
    const bool opened = rs.OpenSchema(adSchemaTableConstraints,
                                      QStringList{QString(), QString(), QString(), QString(), schema, t});
    if (isPostgres()) {
        ASSERT_TRUE(opened) << rs.GetErrorText().toStdString();
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_TRUE(rs.GetValueText("CONSTRAINT_TYPE", text));
        EXPECT_EQ(text, "PRIMARY KEY");
        EXPECT_TRUE(rs.GetValueText("TABLE_NAME", text));
        EXPECT_EQ(text, t);
        ASSERT_TRUE(rs.OpenSchema(adSchemaKeyColumnUsage,
                                  QStringList{QString(), QString(), QString(), QString(), schema, t}));
        EXPECT_EQ(rs.RecordCount(), 2);
    } else {
        EXPECT_FALSE(opened);
        EXPECT_EQ(rs.GetErrorCode(), DB_E_NotSupported);
    }

    // An unsupported schema number fails to open.
    EXPECT_FALSE(rs.OpenSchema(39));
    EXPECT_EQ(rs.GetErrorCode(), DB_E_NotSupported);
}

TEST_P(ProviderTest, connection_properties)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    auto connection = session.connection();
    EXPECT_EQ(connection->property("DBMS Name").text(), isPostgres() ? "PostgreSQL" : "SQLite");
    EXPECT_NE(connection->property("Multiple Results").toInt(), 0);
    EXPECT_FALSE(connection->property("Provider Name").text().isEmpty());
    EXPECT_THROW(connection->property("No Such Property"), ComError);
}

TEST_P(ProviderTest, closing_the_session_under_an_open_record_set_fails_cleanly)
{
    CADODatabase session;
    ASSERT_TRUE(session.Open(m_connection));
    CADORecordset rs(&session);
    ASSERT_TRUE(rs.Open(isPostgres()
                            ? "SELECT x FROM generate_series(1, 50000) x"
                            : "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                              "WHERE x < 50000) SELECT x FROM c"));
    session.Close();
    EXPECT_FALSE(rs.IsOpen());
    QString text;
    int steps = 0;
    while (!rs.IsEOF() && rs.GetFieldText(0, text) && rs.MoveNext())
        ++steps;
    rs.Close();
    // A record set opened afterwards on the closed session reports it.
    CADORecordset late(&session);
    EXPECT_FALSE(late.Open("SELECT 1"));
}

INSTANTIATE_TEST_SUITE_P(Providers, ProviderTest, ::testing::Values("sqlite", "postgres"),
                         [](const auto &info) { return std::string(info.param); });

TEST(Session, open_failures_give_database_errors)
{
    QTemporaryDir dir;
    CADODatabase session;
    EXPECT_FALSE(session.Open("Provider=SQLite;Data Source=" + dir.filePath("missing.db")));
    EXPECT_EQ(session.GetErrorCode(), E_Fail);
    EXPECT_TRUE(session.GetErrorText().startsWith(
        "データベースエラー：\n\tコード： 80004005\n\t内容　： "));
    EXPECT_TRUE(session.GetErrorDescription().contains("missing.db"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.db")));
    EXPECT_FALSE(session.IsOpen());

    EXPECT_FALSE(session.Open("Provider=Nope;Data Source=x"));
    EXPECT_EQ(session.GetErrorCode(), AdErrBoundToCommand);
    EXPECT_TRUE(session.GetErrorDescription().contains("Nope"));

    // A file that is not a database.
    QFile junk(dir.filePath("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(session.Open("Provider=SQLite;Data Source=" + junk.fileName()));

    // Mode=ReadWriteCreate makes a new file.
    EXPECT_TRUE(
        session.Open("Provider=SQLite;Mode=ReadWriteCreate;Data Source=" + dir.filePath("new.db")));
    session.ClearError();
    EXPECT_EQ(session.GetErrorCode(), 0u);
    EXPECT_TRUE(session.GetErrorText().isEmpty());
}

TEST(Session, wrong_password_is_an_authentication_failure)
{
    SKIP_WITHOUT_POSTGRES();
    QString text = TestSupport::postgresConnection();
    text.replace(QRegularExpression("Password=[^;]*"), "Password=wrong");
    CADODatabase session;
    EXPECT_FALSE(session.Open(text));
    EXPECT_EQ(session.GetErrorCode(), DB_Sec_E_AuthFailed);
    // The log-in dialog then passes what the user typed.
    EXPECT_TRUE(session.Open(QString(), "qorvane", "qorvane"))
        << session.GetErrorText().toStdString();
}

TEST(Session, commit_after_a_failed_begin_reaches_the_provider)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, "CREATE TABLE t(x)");
    CADODatabase session;
    ASSERT_TRUE(session.Open("Provider=SQLite;Data Source=" + path));
    CADORecordset rs(&session);
    ASSERT_TRUE(rs.Open("BEGIN; INSERT INTO t VALUES (1)"));
    while (rs.NextRecordset()) {
    }
    // The text began a transaction of its own, so the session's begin fails.
    EXPECT_EQ(session.BeginTrans(), 1);
    EXPECT_FALSE(session.IsInTransaction());
    EXPECT_NE(session.GetErrorCode(), 0u);
    EXPECT_EQ(session.CommitTrans(), 0);
    EXPECT_EQ(session.CommitTrans(), 1);
    EXPECT_TRUE(session.GetErrorDescription().contains("no transaction"));
}

TEST(Session, operations_without_a_connection_fail_cleanly)
{
    CADODatabase session;
    session.Close();
    EXPECT_FALSE(session.IsOpen());
    // Never opened: the connection exists but is closed.
    EXPECT_EQ(session.CommitTrans(), 1);
    EXPECT_EQ(session.GetErrorCode(), AdErrObjectClosed);
    CADORecordset rs(&session);
    EXPECT_FALSE(rs.Open("SELECT 1"));
    EXPECT_EQ(rs.GetErrorCode(), AdErrObjectClosed);
    // Opened and closed: the session has no connection any more.
    QTemporaryDir dir;
    ASSERT_TRUE(
        session.Open("Provider=SQLite;Data Source=" + TestSupport::makeSqliteFile(dir, "")));
    session.Close();
    EXPECT_FALSE(session.connection());
    EXPECT_EQ(session.RollbackTrans(), 1);
    EXPECT_EQ(session.GetErrorCode(), E_Pointer);
    CADORecordset orphan(&session);
    EXPECT_FALSE(orphan.Open("SELECT 1"));
    EXPECT_EQ(orphan.GetErrorCode(), E_Pointer);
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_TRUE(rs.IsEOF());
    CADOCommand command(&session, "SELECT 1");
    EXPECT_FALSE(command.Execute());
    EXPECT_EQ(command.GetErrorCode(), AdErrObjectClosed);
}

TEST(Session, odbc_bridge_with_a_driver_string_reaches_postgres)
{
    SKIP_WITHOUT_POSTGRES();
    const ConnectionString pg(TestSupport::postgresConnection());
    const QString source = pg.value("Data Source");
    const QString text
        = QStringLiteral("Provider=MSDASQL;Driver={PostgreSQL Unicode};Server=%1;Port=%2;"
                         "Initial Catalog=%3;User ID=%4;Password=%5")
              .arg(source.section(':', 0, 0), source.section(':', 1, 1),
                   pg.value("Initial Catalog"), pg.value("User ID"), pg.value("Password"));
    CADODatabase session;
    ASSERT_TRUE(session.Open(text)) << session.GetErrorText().toStdString();
    EXPECT_EQ(session.connection()->property("DBMS Name").text(), "PostgreSQL");
    CADORecordset rs(&session);
    ASSERT_TRUE(rs.Open("SELECT 'bridge' AS b"));
    QString value;
    ASSERT_TRUE(rs.GetFieldText(0, value));
    EXPECT_EQ(value, "bridge");
}

TEST(Session, a_server_that_goes_away_while_reading_gives_an_error_not_a_crash)
{
    SKIP_WITHOUT_POSTGRES();
    CADODatabase victim;
    ASSERT_TRUE(victim.Open(TestSupport::postgresConnection()));
    CADORecordset pidSet(&victim);
    ASSERT_TRUE(pidSet.Open("SELECT pg_backend_pid()"));
    QString pid;
    ASSERT_TRUE(pidSet.GetFieldText(0, pid));
    pidSet.Close();

    CADORecordset rs(&victim);
    ASSERT_TRUE(rs.Open("SELECT x, repeat('y', 50) FROM generate_series(1, 300000) x"));
    CADODatabase killer;
    ASSERT_TRUE(killer.Open(TestSupport::postgresConnection()));
    CADORecordset kill(&killer);
    ASSERT_TRUE(kill.Open("SELECT pg_terminate_backend(" + pid + ")"));

    long rows = 0;
    bool failed = false;
    QString text;
    while (!rs.IsEOF()) {
        if (!rs.GetFieldText(0, text) || !rs.MoveNext()) {
            failed = true;
            break;
        }
        ++rows;
    }
    EXPECT_TRUE(failed) << rows;
    EXPECT_LT(rows, 300000);
    EXPECT_TRUE(rs.GetErrorText().startsWith("クエリ実行エラー："))
        << rs.GetErrorText().toStdString();
    rs.Close();
    victim.Close();
    EXPECT_FALSE(victim.IsOpen());
    // A new session works.
    ASSERT_TRUE(victim.Open(TestSupport::postgresConnection()));
    CADORecordset again(&victim);
    EXPECT_TRUE(again.Open("SELECT 1"));
}

namespace {
class TransactionCounter : public CConnEvent
{
public:
    void beginTransComplete(long level, const ErrorRecord *error, int &status,
                            Connection *connection) override
    {
        ++count;
        CConnEvent::beginTransComplete(level, error, status, connection);
    }
    int count = 0;
};
} // namespace

TEST(Session, a_declined_event_is_not_raised_again)
{
    QTemporaryDir dir;
    CADODatabase session;
    ASSERT_TRUE(
        session.Open("Provider=SQLite;Data Source=" + TestSupport::makeSqliteFile(dir, "")));
    auto sink = std::make_shared<TransactionCounter>();
    session.connection()->advise(sink);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(session.BeginTrans(), 1);
        EXPECT_EQ(session.CommitTrans(), 0);
    }
    EXPECT_EQ(sink->count, 1);
}

TEST(Session, mariadb_mapping_reaches_the_mariadb_driver)
{
    // No MariaDB server runs here: the driver itself must answer, naming the refused server.
    CADODatabase session;
    session.SetConnectTimeout(5);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(session.Open("Provider=MariaDB;Data Source=127.0.0.1:1;Initial Catalog=shop;"
                              "User ID=u;Password=p"));
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(session.GetErrorDescription().contains("connect", Qt::CaseInsensitive))
        << session.GetErrorText().toStdString();
    EXPECT_FALSE(session.GetErrorDescription().contains("Data source name not found"));
    EXPECT_TRUE(session.GetErrorText().startsWith("データベースエラー："));
}

TEST(Session, postgres_types_beyond_the_standard_ones_read_as_text)
{
    SKIP_WITHOUT_POSTGRES();
    CADODatabase session;
    ASSERT_TRUE(session.Open(TestSupport::postgresConnection()));
    const std::pair<const char *, const char *> cases[] = {
        {"interval '1 day 02:03:04'", "1 day 02:03:04"},
        {"'{\"a\":1}'::json", "{\"a\":1}"},
        {"'{\"a\":1}'::jsonb", "{\"a\": 1}"},
        {"ARRAY[1,2]", "{1,2}"},
        {"'10.0.0.1'::inet", "10.0.0.1"},
        {"'<a/>'::xml", "<a/>"},
        {"point(1,2)", "(1,2)"},
        {"'abc'::char(5)", "abc  "},
        {"'abc'::name", "abc"},
        {"B'101'", "101"},
        {"'12:00:00+02'::timetz", "12:00:00+02"},
        {"int4range(1,5)", "[1,5)"},
        {"'日本語'::varchar(3)", "日本語"},
        {"1.25::numeric", "1.25"},
        {"2.5::float4", "2.5"},
        {"'12:34:56.5'::time", "12:34:56"},
    };
    for (const auto &[expression, expected] : cases) {
        CADORecordset rs(&session);
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT %1 AS v").arg(QString::fromUtf8(expression))))
            << expression << rs.GetErrorText().toStdString();
        QString text;
        ASSERT_TRUE(rs.GetFieldText(0, text)) << expression;
        EXPECT_EQ(text.toStdString(), std::string(expected)) << expression;
    }
}

#include "ExecutionFixture.h"

#include "TestSupport.h"
#include "platform/AppSettings.h"

#include <QTemporaryDir>

namespace {

// Each provider: a connection text and the SQL dialect bits the cases need.
struct Provider
{
    const char *name;
    QString connection;
    QString longQuery;   // runs until cancelled
    QString manyRows;    // a large result
    QString tablePrefix; // unique per provider
};

class ExecutionCycle : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        AppSettings::instance().autoCommit = 1;
        AppSettings::instance().commentOut = 1;
        if (QString::fromLatin1(GetParam()) == QLatin1String("sqlite")) {
            ASSERT_TRUE(m_dir.isValid());
            const QString path = TestSupport::makeSqliteFile(
                m_dir,
                "CREATE TABLE exec_t(id INTEGER PRIMARY KEY, name TEXT, v REAL);"
                "INSERT INTO exec_t VALUES (1, 'a', 1.5), (2, NULL, 2), (3, 'c', 3);");
            m_provider = {"sqlite", "Provider=SQLite;Data Source=" + path,
                          "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                          "SELECT max(x) FROM c",
                          "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                          "LIMIT 300000) SELECT x, 'row' || x FROM c",
                          "exec_t"};
        } else {
            if (TestSupport::postgresConnection().isEmpty())
                GTEST_SKIP() << "QORVANE_TEST_PG is not set";
            // A table of this test's own: tests run in parallel on the shared server.
            const QString test = QString::fromLatin1(
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
            const QString table =
                QString("ec_" + test.section(QLatin1Char('/'), 0, 0)).left(60).toLower();
            m_provider = {"postgres", TestSupport::postgresConnection(), "SELECT pg_sleep(60)",
                          "SELECT x, 'row' || x FROM generate_series(1, 300000) AS x", table};
            HeadlessWindow setup(m_provider.connection);
            ASSERT_TRUE(setup.isOpen());
            ASSERT_TRUE(setup.run(QStringLiteral("DROP TABLE IF EXISTS %1;"
                                                 "CREATE TABLE %1(id int PRIMARY KEY, name text, "
                                                 "v float8);"
                                                 "INSERT INTO %1 VALUES (1, 'a', 1.5), "
                                                 "(2, NULL, 2), (3, 'c', 3)")
                                      .arg(table)));
        }
    }
    void TearDown() override
    {
        AppSettings::instance().autoCommit = 0;
        if (m_provider.name && QString::fromLatin1(m_provider.name) == "postgres") {
            HeadlessWindow cleanup(m_provider.connection);
            cleanup.run("DROP TABLE IF EXISTS " + m_provider.tablePrefix);
        }
    }

    QTemporaryDir m_dir;
    Provider m_provider{};
};

} // namespace

TEST_P(ExecutionCycle, one_result_fills_a_tab_and_describes_the_table)
{
    HeadlessWindow window(m_provider.connection);
    ASSERT_TRUE(window.isOpen());
    ASSERT_TRUE(window.run("SELECT * FROM " + m_provider.tablePrefix + " ORDER BY id"));
    EXPECT_EQ(window.captions(), QStringList({"ﾒｯｾｰｼﾞ", "1"}));
    EXPECT_EQ(window.host.messageLines, QStringList({"(3件が処理されました)"}))
        << window.host.messageLines.join(QLatin1Char(10)).toStdString();
    auto model = window.model(0);
    ASSERT_TRUE(model);
    EXPECT_EQ(ResultCollector::gridText(*model),
              "id\tname\tv\n1\ta\t1.5\n2\t<NULL>\t2\n3\tc\t3\n");
    EXPECT_EQ(model->GetTableName(), m_provider.tablePrefix);
    EXPECT_EQ(model->GetObjectType(), "TABLE");
    EXPECT_EQ(model->GetKeyColumns(), QStringList({"id"}));
    EXPECT_EQ(model->GetEditMode(), 14);
    EXPECT_TRUE(model->GetColumnInfo(0).isNumeric());
    EXPECT_FALSE(model->GetColumnInfo(1).isNumeric());
    EXPECT_EQ(window.host.panes[0], "実行が完了しました");
    EXPECT_EQ(window.host.panes[1], "データ数：3");
    EXPECT_TRUE(window.host.panes[2].startsWith("時間： 0:0:"));
    EXPECT_TRUE(window.host.panes[2].contains("(SQL: "));
    EXPECT_FALSE(window.execution->IsExecuting());
    EXPECT_FALSE(window.session->IsBusy());
}

TEST_P(ExecutionCycle, several_results_and_an_update_count_in_one_text)
{
    HeadlessWindow window(m_provider.connection);
    ASSERT_TRUE(window.run("SELECT id FROM " + m_provider.tablePrefix + " WHERE id = 1;\n"
                           "UPDATE " + m_provider.tablePrefix + " SET v = v + 1 WHERE id > 1;\n"
                           "SELECT name FROM " + m_provider.tablePrefix + " WHERE id = 3"));
    EXPECT_EQ(window.captions(), QStringList({"ﾒｯｾｰｼﾞ", "1", "2"}));
    EXPECT_EQ(window.host.messageLines,
              QStringList({"(1件が処理されました)", "(2件が処理されました)", "(1件が処理されました)"}));
    EXPECT_EQ(window.host.total, 4);
    // The first result tab is selected at the end.
    EXPECT_EQ(window.host.current, 1);
    EXPECT_EQ(ResultCollector::gridText(*window.model(1)), "name\nc\n");
}

TEST_P(ExecutionCycle, an_update_count_alone_shows_only_the_message_tab)
{
    HeadlessWindow window(m_provider.connection);
    ASSERT_TRUE(window.run("UPDATE " + m_provider.tablePrefix + " SET v = 0 WHERE id < 3"));
    EXPECT_EQ(window.captions(), QStringList({"ﾒｯｾｰｼﾞ"}));
    EXPECT_EQ(window.host.messageLines, QStringList({"(2件が処理されました)"}));
    EXPECT_EQ(window.host.current, 0);
    EXPECT_EQ(window.host.panes[1], "総データ数：2");
}

TEST_P(ExecutionCycle, a_failing_statement_reports_its_error_in_the_message_tab)
{
    HeadlessWindow window(m_provider.connection);
    ASSERT_TRUE(window.run("SELECT * FROM exec_no_such_table"));
    EXPECT_EQ(window.captions(), QStringList({"ﾒｯｾｰｼﾞ"}));
    ASSERT_FALSE(window.host.messageLines.isEmpty());
    EXPECT_TRUE(window.host.messageLines.join('\n').contains("exec_no_such_table"))
        << window.host.messageLines.join('\n').toStdString();
    EXPECT_FALSE(window.host.messageLines.contains("コマンドは正常に終了しました"));
    EXPECT_EQ(window.host.panes[0], "エラーが発生しました");
    EXPECT_FALSE(window.session->IsBusy());
    // The window runs again afterwards.
    ASSERT_TRUE(window.run("SELECT 1"));
    EXPECT_EQ(window.host.panes[0], "実行が完了しました");
}

TEST_P(ExecutionCycle, cancel_while_the_statement_runs)
{
    HeadlessWindow window(m_provider.connection);
    ASSERT_TRUE(window.execution->ExecuteText(m_provider.longQuery, false));
    EXPECT_TRUE(window.execution->IsExecuting());
    EXPECT_EQ(window.host.panes[0], "実行中 ...");
    QTimer::singleShot(400, [&] { window.execution->Cancel(); });
    ASSERT_TRUE(window.waitForEnd(20000));
    EXPECT_EQ(window.host.panes[0], "実行がキャンセルされました");
    EXPECT_EQ(window.host.messageLines, QStringList({"コマンドはキャンセルされました"}));
    EXPECT_FALSE(window.session->IsBusy());
}

TEST_P(ExecutionCycle, cancel_while_fetching_keeps_the_rows_read)
{
    HeadlessWindow window(m_provider.connection);
    struct CancellingHost : ResultCollector
    {
    };
    ASSERT_TRUE(window.execution->ExecuteText(m_provider.manyRows, false));
    // Cancel once the progress text shows rows.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window.host.panes[1].startsWith("データ数：")) {
            window.execution->Cancel();
            poll.stop();
        }
    });
    poll.start(1);
    ASSERT_TRUE(window.waitForEnd(60000));
    auto model = window.model(0);
    ASSERT_TRUE(model);
    EXPECT_GT(model->GetFetchedRowCount(), 0);
    EXPECT_LT(model->GetFetchedRowCount(), 300000);
    EXPECT_EQ(window.host.panes[0], "実行がキャンセルされました");
    EXPECT_EQ(window.host.messageLines,
              QStringList({QStringLiteral("(%1件が処理されました)")
                               .arg(model->GetFetchedRowCount())}));
}

TEST_P(ExecutionCycle, second_window_on_a_connection_waits_for_the_first)
{
    HeadlessWindow first(m_provider.connection);
    HeadlessWindow second(m_provider.connection, &first);
    ASSERT_TRUE(first.execution->ExecuteText(m_provider.longQuery, false));
    EXPECT_TRUE(first.execution->IsExecuting());
    EXPECT_FALSE(second.execution->IsExecuting());
    EXPECT_TRUE(second.execution->IsSessionBusy());
    EXPECT_FALSE(second.execution->ExecuteText("SELECT 1", false));
    first.execution->Cancel();
    ASSERT_TRUE(first.waitForEnd(20000));
    ASSERT_TRUE(second.run("SELECT 1"));
    EXPECT_EQ(second.host.messageLines, QStringList({"(1件が処理されました)"}));
}

TEST_P(ExecutionCycle, a_statement_other_than_a_query_begins_a_transaction)
{
    AppSettings::instance().autoCommit = 0;
    HeadlessWindow window(m_provider.connection);
    ASSERT_TRUE(window.run("SELECT * FROM " + m_provider.tablePrefix));
    EXPECT_FALSE(window.session->IsInTransaction());
    ASSERT_TRUE(window.run("UPDATE " + m_provider.tablePrefix + " SET name = 'z' WHERE id = 1"));
    EXPECT_TRUE(window.session->IsInTransaction());
    ASSERT_TRUE(window.run("UPDATE " + m_provider.tablePrefix + " SET name = 'y' WHERE id = 1"));
    EXPECT_TRUE(window.execution->Rollback());
    EXPECT_EQ(window.host.panes[0], "現在の接続トランザクションを ROLLBACK しました。");
    EXPECT_FALSE(window.session->IsInTransaction());
    EXPECT_FALSE(window.execution->Commit()); // nothing to commit
    ASSERT_TRUE(window.run("SELECT name FROM " + m_provider.tablePrefix + " WHERE id = 1"));
    EXPECT_EQ(ResultCollector::gridText(*window.model(0)), "name\na\n");
}


TEST_P(ExecutionCycle, two_connections_run_at_once)
{
    HeadlessWindow a(m_provider.connection);
    HeadlessWindow b(m_provider.connection);
    ASSERT_NE(a.session, b.session);
    ASSERT_TRUE(a.execution->ExecuteText(m_provider.longQuery, false));
    ASSERT_TRUE(b.execution->ExecuteText("SELECT 42 AS answer", false));
    ASSERT_TRUE(b.waitForEnd(20000));
    EXPECT_TRUE(a.execution->IsExecuting());
    ASSERT_TRUE(b.model(0));
    EXPECT_EQ(ResultCollector::gridText(*b.model(0)), "answer\n42\n");
    // A cancel that reaches the provider before its statement runs is lost there, so the
    // cancel is repeated until the cycle ends, as a user would press Esc again.
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] { a.execution->Cancel(); });
    again.start(300);
    ASSERT_TRUE(a.waitForEnd(20000));
    EXPECT_EQ(a.host.panes[0], "実行がキャンセルされました");
}

TEST_P(ExecutionCycle, repeated_runs_cancelled_at_varied_moments_always_end)
{
    HeadlessWindow window(m_provider.connection);
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(window.execution->ExecuteText(i % 2 ? m_provider.manyRows : m_provider.longQuery,
                                                  false))
            << i;
        QTimer::singleShot(i * 15, [&] { window.execution->Cancel(); });
        QTimer again; // see two_connections_run_at_once
        QObject::connect(&again, &QTimer::timeout, [&] { window.execution->Cancel(); });
        again.start(500);
        ASSERT_TRUE(window.waitForEnd(30000)) << i;
        EXPECT_FALSE(window.session->IsBusy()) << i;
        EXPECT_TRUE(window.host.panes[0] == "実行がキャンセルされました"
                    || window.host.panes[0] == "実行が完了しました")
            << i << " " << window.host.panes[0].toStdString();
    }
    // And a plain run afterwards is not cancelled by anything left over.
    ASSERT_TRUE(window.run("SELECT 7 AS n"));
    EXPECT_EQ(window.host.panes[0], "実行が完了しました");
    EXPECT_EQ(ResultCollector::gridText(*window.model(0)), "n\n7\n");
}

TEST_P(ExecutionCycle, parameters_are_bound_or_written_into_the_text)
{
    HeadlessWindow window(m_provider.connection);
    QString asked;
    bool replace = false;
    window.execution->setParamAsker([&](QList<ParamValue> &values, bool, bool *, bool *replaceInText) {
        asked.clear();
        for (ParamValue &value : values) {
            asked += value.name + ";";
            value.value = "2";
            value.isString = false;
        }
        *replaceInText = replace;
        return true;
    });
    const QString text = "SELECT id, name FROM " + m_provider.tablePrefix + " WHERE id = :wanted";
    ASSERT_TRUE(window.run(text));
    EXPECT_EQ(asked, "wanted;");
    ASSERT_TRUE(window.model(0)) << window.host.messageLines.join('\n').toStdString();
    EXPECT_EQ(ResultCollector::gridText(*window.model(0)), "id\tname\n2\t<NULL>\n");
    replace = true;
    ASSERT_TRUE(window.run(text));
    ASSERT_TRUE(window.model(0)) << window.host.messageLines.join('\n').toStdString();
    EXPECT_EQ(ResultCollector::gridText(*window.model(0)), "id\tname\n2\t<NULL>\n");

    // Cancelling the dialog runs nothing.
    window.execution->setParamAsker([](QList<ParamValue> &, bool, bool *, bool *) {
        return false;
    });
    EXPECT_FALSE(window.execution->ExecuteText(text, false));
    EXPECT_FALSE(window.session->IsBusy());
}

INSTANTIATE_TEST_SUITE_P(Providers, ExecutionCycle, ::testing::Values("sqlite", "postgres"),
                         [](const auto &info) { return std::string(info.param); });

#include "TestSupport.h"
#include "app/AppServices.h"
#include "app/CMainFrame.h"
#include "connections/CDBConnections.h"
#include "db/CADORecordset.h"
#include "editor/CQryView.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "query/CChildFrame.h"
#include "query/CResultView.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool waitUntil(const std::function<bool()> &done, int ms = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QTest::qWait(10);
    return done();
}

} // namespace

// The whole road through the main window: a query window connected by the registry to a real
// SQLite file, F5 through the command route, two result tabs and the message tab.
TEST(StartToResult, a_connected_window_runs_a_script_into_result_tabs)
{
    QTemporaryDir dir;
    const QString db = TestSupport::makeSqliteFile(
        dir, "CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT);"
             "INSERT INTO t VALUES (1, '山田'), (2, NULL);");

    // Settings as on a first start.
    const AppSettings saved = AppSettings::instance();
    SettingsStore store(dir.filePath("Qorvane.conf"));
    AppSettings::instance().load(store);

    CMainFrame main(nullptr);
    AppServices::installInto(main);
    main.resize(1000, 700);
    main.show();
    CChildFrame *frame = main.openQueryWindow(
        nullptr, "work/sample", QStringLiteral("Provider=SQLite;Data Source=%1").arg(db), {}, true);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), QStringLiteral("sample - ｸｴﾘ 1"));
    EXPECT_EQ(main.statusPane(1)->text(), QStringLiteral("接続数: 1"));
    main.updateCommandStates();
    EXPECT_TRUE(main.action(Cmd::Disconnect)->isEnabled());

    // A second window on the same connection shares it and is numbered 2.
    main.routeCommand(Cmd::NewQuery);
    CChildFrame *second = main.activeQueryWindow();
    ASSERT_NE(second, frame);
    EXPECT_EQ(second->session(), frame->session());
    EXPECT_EQ(second->title(), QStringLiteral("sample - ｸｴﾘ 2"));
    EXPECT_EQ(CDBConnections::instance().Count(), 1);

    main.activateQueryWindow(frame);
    frame->editor()->SetText("SELECT id, name FROM t ORDER BY id;\r\nSELECT COUNT(*) AS n FROM t;");
    main.updateCommandStates();
    ASSERT_TRUE(main.routeCommand(Cmd::Execute));
    ASSERT_TRUE(waitUntil([&] { return !frame->IsExecuting(); }));
    ASSERT_TRUE(waitUntil([&] { return frame->resultView()->resultPageCount() == 2; }));
    EXPECT_TRUE(frame->resultView()->hasMessagePage());

    const QString shots = qEnvironmentVariable("QORVANE_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        QTest::qWait(100);
        main.grab().save(shots + "/connected.png");
    }

    // Disconnect closes both windows of the connection and the connection with them.
    main.routeCommand(Cmd::Disconnect);
    QApplication::processEvents();
    EXPECT_EQ(main.queryWindows().count(), 0);
    EXPECT_EQ(CDBConnections::instance().Count(), 0);
    AppSettings::instance() = saved;
    CADORecordset::setErrorReporter({});
}

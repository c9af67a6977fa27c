#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/WindowPlacement.h"
#include "platform/AppSettings.h"
#include "query/CChildFrame.h"
#include "widgets/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Dismisses the next modal dialog (message box) once the event loop reaches it, and
// records its text.
QString dismissNextModal()
{
    static QString text;
    text.clear();
    QTimer::singleShot(0, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        } else if (QWidget *w = QApplication::activeModalWidget()) {
            w->close();
        }
    });
    return text;
}

QStringList menuTitles(QMainWindow &w)
{
    QStringList titles;
    for (QAction *a : w.menuBar()->actions())
        titles << a->text();
    return titles;
}

struct CloseGuardReset
{
    ~CloseGuardReset() { CChildFrame::setCloseGuard({}); }
};

} // namespace

TEST(MainFrame, unconnected_windows_are_numbered_and_numbering_restarts_when_all_are_closed)
{
    CMainFrame frame(nullptr);
    CChildFrame *first = frame.openQueryWindow(nullptr, {}, {}, {}, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->title(), QStringLiteral("接続無 - ｸｴﾘ 1"));
    CChildFrame *second = frame.openQueryWindow(nullptr, {}, {}, {}, false);
    EXPECT_EQ(second->title(), QStringLiteral("接続無 - ｸｴﾘ 2"));
    EXPECT_EQ(frame.statusPane(1)->text(), QStringLiteral("接続数: 0"));
    EXPECT_EQ(frame.queryWindows().count(), 2);

    frame.closeAll();
    EXPECT_EQ(frame.queryWindows().count(), 0);
    EXPECT_TRUE(frame.statusPane(1)->text().isEmpty());
    CChildFrame *again = frame.openQueryWindow(nullptr, {}, {}, {}, false);
    EXPECT_EQ(again->title(), QStringLiteral("接続無 - ｸｴﾘ 1"));

    CChildFrame *withPath = frame.openQueryWindow(nullptr, {}, {}, "/tmp/a.sql", false);
    EXPECT_EQ(withPath->title(), QStringLiteral("接続無 - /tmp/a.sql"));
}

TEST(MainFrame, menu_bar_follows_whether_a_query_window_is_open)
{
    CMainFrame frame(nullptr);
    EXPECT_EQ(menuTitles(frame), (QStringList{"ﾌｧｲﾙ(&F)", "表示(&V)", "ツール(&T)", "ﾍﾙﾌﾟ(&H)"}));
    frame.updateCommandStates();
    // Without a query window F5, F11, F12 and the record commands have no handler.
    for (int id : {Cmd::Execute, Cmd::Commit, Cmd::Rollback, Cmd::AddRow, Cmd::CloseQuery,
                   Cmd::CloseAll, Cmd::Disconnect})
        EXPECT_FALSE(frame.action(id)->isEnabled()) << id;
    EXPECT_TRUE(frame.action(Cmd::Options)->isEnabled());
    EXPECT_TRUE(frame.action(Cmd::Connect)->isEnabled());
    EXPECT_FALSE(frame.routeCommand(Cmd::Execute));

    frame.openQueryWindow(nullptr, {}, {}, {}, false);
    EXPECT_EQ(menuTitles(frame),
              (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "クエリ", "レコード(&R)",
                           "ツール(&T)", "ｳｨﾝﾄﾞｳ(&W)", "ﾍﾙﾌﾟ(&H)"}));
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(Cmd::CloseQuery)->isEnabled());
    EXPECT_FALSE(frame.action(Cmd::CloseAll)->isEnabled()) << "one window is not enough";
    frame.openQueryWindow(nullptr, {}, {}, {}, false);
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(Cmd::CloseAll)->isEnabled());

    frame.closeAll();
    QApplication::processEvents();
    EXPECT_EQ(menuTitles(frame).size(), 4);
}

TEST(MainFrame, labels_keys_and_prompts_come_from_the_command_table)
{
    CMainFrame frame(nullptr);
    QAction *execute = frame.action(Cmd::Execute);
    EXPECT_EQ(execute->text(), QStringLiteral("実行(&E)\tF5"));
    EXPECT_EQ(execute->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(execute->statusTip(), QStringLiteral("クエリを実行します"));
    EXPECT_EQ(execute->toolTip(), QStringLiteral("実行(F5)"));
    EXPECT_EQ(frame.action(Cmd::SetCurrentDate)->text(),
              QStringLiteral("現在日付にセット\tCtrl+;(セミコロン)"));
    EXPECT_EQ(CommandTable::find(Cmd::DeleteRows).prompt,
              QStringLiteral("選択した行データを削除します\n行データ削除(Ctrl+Delete)"));
    // Every command number appears once.
    QSet<int> ids;
    for (const CommandInfo &c : CommandTable::all())
        ids.insert(c.id);
    EXPECT_EQ(ids.size(), CommandTable::all().size());
}

TEST(MainFrame, the_512th_window_is_the_last)
{
    CMainFrame frame(nullptr);
    for (int i = 0; i < 512; ++i)
        ASSERT_NE(frame.openQueryWindow(nullptr, {}, {}, {}, false), nullptr) << i;
    dismissNextModal();
    EXPECT_EQ(frame.openQueryWindow(nullptr, {}, {}, {}, true), nullptr);
    EXPECT_EQ(frame.queryWindows().count(), 512);
    dismissNextModal();
    frame.routeCommand(Cmd::NewQuery);
    EXPECT_EQ(frame.queryWindows().count(), 512);
}

TEST(MainFrame, a_declined_close_keeps_the_application_and_still_stores_the_placement)
{
    CloseGuardReset reset;
    AppSettings::instance().windowPos.clear();
    CMainFrame frame(nullptr);
    frame.setGeometry(100, 80, 900, 600);
    frame.show();
    CChildFrame *keep = frame.openQueryWindow(nullptr, {}, {}, {}, false);
    frame.openQueryWindow(nullptr, {}, {}, {}, false);
    CChildFrame::setCloseGuard([keep](CChildFrame *f) { return f != keep; });

    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.queryWindows().count(), 1);
    const auto placement = WindowPlacement::parse(AppSettings::instance().windowPos);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->showState, 1u);

    CChildFrame::setCloseGuard({});
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(frame.queryWindows().count(), 0);
}

TEST(MainFrame, close_all_stops_at_the_window_that_declines)
{
    CloseGuardReset reset;
    CMainFrame frame(nullptr);
    frame.openQueryWindow(nullptr, {}, {}, {}, false);
    CChildFrame *middle = frame.openQueryWindow(nullptr, {}, {}, {}, false);
    frame.openQueryWindow(nullptr, {}, {}, {}, false);
    int asked = 0;
    int sawClosingAll = 0;
    CChildFrame::setCloseGuard([&](CChildFrame *f) {
        // A close question runs a modal loop: idle updates must not clear the flag.
        QTest::qWait(300);
        ++asked;
        sawClosingAll += frame.closingAll() ? 1 : 0;
        return f != middle;
    });
    frame.closeAll();
    EXPECT_GE(asked, 2);
    EXPECT_EQ(sawClosingAll, asked);
    EXPECT_TRUE(frame.queryWindows().contains(middle));
    EXPECT_GE(frame.queryWindows().count(), 1);
}

TEST(MainFrame, help_error_names_the_file)
{
    EXPECT_EQ(CMainFrame::helpErrorText("/opt/q/Qorvane.html", "見つかりません"),
              QStringLiteral("/opt/q/Qorvane.htmlを開くときにエラーが発生しました：　　　\n\n見つかりません"));
}

TEST(WindowPlacement, parses_only_ten_numbers_and_skips_minimised_windows)
{
    const auto p = WindowPlacement::parse("2,3,-1,-1,-8,-8,10,20,810,620");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->flags, 2u);
    EXPECT_EQ(p->showState, 3u);
    EXPECT_EQ(p->normal, QRect(10, 20, 800, 600));
    EXPECT_EQ(p->format(), QStringLiteral("2,3,-1,-1,-8,-8,10,20,810,620"));

    for (const char *bad : {"", "1,2,3", "0,1,-1,-1,-1,-1,10,20,810", "0,1,-1,-1,-1,-1,10,20,810,620,5",
                            "a,1,-1,-1,-1,-1,10,20,810,620", "-1,1,-1,-1,-1,-1,10,20,810,620"})
        EXPECT_FALSE(WindowPlacement::parse(bad).has_value()) << bad;

    EXPECT_FALSE(WindowPlacement::forWindow(false, true, QRect(0, 0, 10, 10)).has_value());
    const auto maximised = WindowPlacement::forWindow(true, false, QRect(5, 5, 100, 100));
    ASSERT_TRUE(maximised.has_value());
    EXPECT_EQ(maximised->flags, 2u);
    EXPECT_EQ(WindowPlacement::forWindow(false, false, QRect(5, 5, 100, 100))->flags, 0u);
}

// With QORVANE_SCREENSHOT_DIR set, saves pictures of the main window and the options dialog
// for a person to look at.
TEST(MainFrame, screenshots_when_asked)
{
    const QString dir = qEnvironmentVariable("QORVANE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "QORVANE_SCREENSHOT_DIR is not set";
    CMainFrame frame(nullptr);
    frame.resize(1100, 720);
    frame.show();
    frame.openQueryWindow(nullptr, {}, {}, {}, false);
    frame.updateCommandStates();
    QApplication::processEvents();
    EXPECT_TRUE(frame.grab().save(dir + "/mainframe.png"));
}

TEST(MainFrame, first_start_is_centred_and_a_stored_placement_is_used)
{
    AppSettings::instance().windowPos.clear();
    {
        CMainFrame frame(nullptr);
        frame.resize(800, 500);
        frame.restorePlacementAndShow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(std::abs(frame.geometry().center().x() - area.center().x()), 2);
        EXPECT_LE(std::abs(frame.geometry().center().y() - area.center().y()), 2);
    }
    AppSettings::instance().windowPos = "0,1,-1,-1,-1,-1,30,40,630,440";
    {
        CMainFrame frame(nullptr);
        frame.restorePlacementAndShow();
        EXPECT_EQ(frame.geometry(), QRect(30, 40, 600, 400));
        EXPECT_EQ(frame.placementText(), QStringLiteral("0,1,-1,-1,-1,-1,30,40,630,440"));
    }
    // A text that does not give ten numbers is ignored: the window is centred.
    AppSettings::instance().windowPos = "0,1,2";
    {
        CMainFrame frame(nullptr);
        frame.resize(800, 500);
        frame.restorePlacementAndShow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_LE(std::abs(frame.geometry().center().x() - area.center().x()), 2);
    }
    AppSettings::instance().windowPos.clear();
}

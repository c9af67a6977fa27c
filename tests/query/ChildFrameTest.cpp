#include "TestSupport.h"
#include "connections/CDBConnections.h"
#include "db/CADODatabase.h"
#include "editor/CQryView.h"
#include "platform/AppSettings.h"
#include "editor/CDlgParamInput.h"
#include "query/CChildFrame.h"
#include "query/CDlgRename.h"
#include "query/CResultMessage.h"
#include "query/CResultView.h"
#include "resultview/CResultGrid.h"
#include "resultview/ResultTableModel.h"
#include "results/CResultData.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ChildFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings::instance().autoCommit = 1;
        ASSERT_TRUE(m_dir.isValid());
        m_path = TestSupport::makeSqliteFile(
            m_dir, "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT NOT NULL, price REAL);"
                   "INSERT INTO items VALUES (1, 'pen', 1.2), (2, 'ink', NULL), (3, 'pad', 3);"
                   "CREATE TABLE notes(body TEXT);INSERT INTO notes VALUES ('hello');");
        CChildFrame::setMessageHandler([this](QWidget *, const QString &text) {
            m_messages << text;
        });
    }
    void TearDown() override
    {
        CChildFrame::setMessageHandler({});
        CChildFrame::setQuestionHandler({});
        for (CChildFrame *frame : m_frames) {
            CDBConnections::instance().WindowClosed(frame->session(), frame);
            delete frame;
        }
        AppSettings::instance().autoCommit = 0;
    }

    CChildFrame *openFrame(CChildFrame *share = nullptr)
    {
        auto *frame = new CChildFrame;
        m_frames << frame;
        CDBConnections &registry = CDBConnections::instance();
        CADODatabase *session = nullptr;
        if (share) {
            session = share->session();
            registry.AttachWindow(session, frame);
        } else {
            session = registry.CreateForWindow(frame);
            EXPECT_TRUE(session->Open("Provider=SQLite;Data Source=" + m_path));
            registry.RegisterOpened(session);
        }
        frame->setSession(session);
        frame->setTitle("test - ｸｴﾘ 1");
        frame->resize(900, 620);
        return frame;
    }

    // Runs text through the execute command and waits until the cycle has ended.
    static bool execute(CChildFrame *frame, const QString &text)
    {
        frame->editor()->SetText(text);
        bool finished = false;
        // The fetch ends after the cycle (error reports follow ExecutionFinished).
        auto connection = QObject::connect(frame->execution(), &CQueryExecution::fetchEnded,
                                           [&finished] { finished = true; });
        frame->runCommand(Cmd::Execute);
        QElapsedTimer timer;
        timer.start();
        while (!finished && timer.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QObject::disconnect(connection);
        return finished;
    }

    QTemporaryDir m_dir;
    QString m_path;
    QList<CChildFrame *> m_frames;
    QStringList m_messages;
};

} // namespace

TEST_F(ChildFrame, two_results_and_the_message_tab)
{
    CChildFrame *frame = openFrame();
    frame->show();
    ASSERT_TRUE(execute(frame, "SELECT * FROM items ORDER BY id;\r\n"
                               "UPDATE items SET price = 2 WHERE id = 2;\r\n"
                               "SELECT * FROM notes"));
    CResultView *view = frame->resultView();
    ASSERT_EQ(view->pageCount(), 3);
    EXPECT_EQ(view->tabCaption(0), "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(view->tabCaption(1), "1");
    EXPECT_EQ(view->tabCaption(2), "2");
    EXPECT_EQ(view->currentIndex(), 1);
    EXPECT_EQ(view->messagePage()->messageText(),
              "(3件が処理されました)\r\n(1件が処理されました)\r\n(1件が処理されました)\r\n");
    CResultGrid *grid = view->resultGrid(0);
    ASSERT_TRUE(grid);
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(grid->dataRowCount(), 3);
    EXPECT_TRUE(grid->isEditable());
    EXPECT_EQ(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    const QAbstractItemModel *model = grid->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "id");
    EXPECT_EQ(model->headerData(2, Qt::Vertical).toString(), "3");
    EXPECT_EQ(model->index(1, 2).data().toString(), AppSettings::instance().nullData);
    EXPECT_EQ(model->index(1, 2).data(Qt::ForegroundRole).value<QColor>(),
              AppSettings::instance().rsNullColor.color());
    EXPECT_TRUE(model->index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_EQ(frame->statusText(0), "実行が完了しました");
    EXPECT_EQ(frame->statusText(1), "データ数：3");
    EXPECT_TRUE(frame->statusText(3).contains("テーブル"));
    EXPECT_TRUE(frame->statusText(2).startsWith("時間："));
    EXPECT_EQ(frame->GetTargetTable(), "items");

    // Picking the message tab shows the total.
    view->SelectTab(0);
    EXPECT_EQ(frame->statusText(1), "総データ数：5");
    view->SelectTab(1);
    frame->grab().save("/tmp/exec-query-window.png");
}

TEST_F(ChildFrame, failing_statement_keeps_earlier_tabs_and_selects_the_messages)
{
    CChildFrame *frame = openFrame();
    ASSERT_TRUE(execute(frame, "SELECT * FROM notes;\r\nSELECT * FROM missing_table"));
    CResultView *view = frame->resultView();
    EXPECT_EQ(view->currentIndex(), 0);
    EXPECT_EQ(frame->statusText(0), "エラーが発生しました");
    const QString messages = view->messagePage()->messageText();
    EXPECT_TRUE(messages.startsWith("(1件が処理されました)\r\n")) << messages.toStdString();
    EXPECT_TRUE(messages.contains("missing_table"));
    EXPECT_EQ(view->resultPageCount(), 1);
    frame->show();
    QApplication::processEvents();
    frame->grab().save("/tmp/exec-error-messages.png");
}

TEST_F(ChildFrame, editing_adding_and_deleting_rows_then_the_pending_changes_question)
{
    CChildFrame *frame = openFrame();
    ASSERT_TRUE(execute(frame, "SELECT * FROM items"));
    CResultView *view = frame->resultView();
    CResultGrid *grid = view->resultGrid(0);
    ASSERT_TRUE(grid);
    auto data = grid->resultData();

    // In-place edit ends in SetCell, one undo step.
    EXPECT_TRUE(grid->model()->setData(grid->model()->index(0, 1), "pencil"));
    EXPECT_EQ(data->GetRowState(0), CResultData::RowModified);
    EXPECT_EQ(data->UndoStack().size(), 1);
    // The key column of a deleted row is read-only; an unwritable state is refused.
    grid->selectCells(1, 0, 2, 1);
    view->setFocus();
    ASSERT_TRUE(view->commandState(Cmd::DeleteRows).enabled);
    view->runCommand(Cmd::DeleteRows);
    EXPECT_EQ(data->GetRowState(1), CResultData::RowDeleted);
    EXPECT_EQ(data->GetRowState(2), CResultData::RowDeleted);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->hasSelectedCells());

    grid->selectCells(0, 0, 1, 0);
    ASSERT_TRUE(view->commandState(Cmd::AddRow).enabled);
    view->runCommand(Cmd::AddRow);
    EXPECT_EQ(grid->dataRowCount(), 5);
    EXPECT_EQ(data->GetInsertedRowCount(), 2);
    EXPECT_EQ(frame->statusText(1), "データ数：5");
    frame->show();
    QApplication::processEvents();
    frame->grab().save("/tmp/exec-edited-rows.png");

    // Cancel keeps everything; No runs the new text and drops the changes.
    int asked = 0;
    CChildFrame::setQuestionHandler([&asked](QWidget *, const QString &text) {
        ++asked;
        EXPECT_EQ(text, "データが変更されました。\r\nデータをデータベースに更新しますか？");
        return asked == 1 ? int(QMessageBox::Cancel) : int(QMessageBox::No);
    });
    frame->editor()->SetText("SELECT * FROM notes");
    frame->runCommand(Cmd::Execute);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(frame->IsExecuting());
    EXPECT_EQ(view->resultGrid(0)->resultData(), data);
    ASSERT_TRUE(execute(frame, "SELECT * FROM notes"));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(view->resultGrid(0)->dataRowCount(), 1);
}

TEST_F(ChildFrame, second_window_of_a_connection_waits_and_a_running_window_stays_open)
{
    CChildFrame *first = openFrame();
    CChildFrame *second = openFrame(first);
    first->editor()->SetText("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                             "SELECT max(x) FROM c");
    second->editor()->SetText("SELECT 1");
    EXPECT_TRUE(first->commandState(Cmd::Execute).enabled);
    EXPECT_FALSE(first->commandState(Cmd::Cancel).enabled);
    first->runCommand(Cmd::Execute);
    EXPECT_TRUE(first->IsExecuting());
    EXPECT_EQ(first->statusText(0), "実行中 ...");
    EXPECT_FALSE(second->commandState(Cmd::Execute).enabled);
    EXPECT_TRUE(first->commandState(Cmd::Cancel).enabled);
    EXPECT_FALSE(second->commandState(Cmd::Cancel).enabled);
    second->runCommand(Cmd::Execute);
    EXPECT_FALSE(second->IsExecuting());
    // The elapsed-time timer shows the running time.
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 700)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(first->statusText(2).startsWith("時間： 0:0:00.")) << first->statusText(2).toStdString();
    EXPECT_FALSE(first->statusText(2).contains("SQL"));

    EXPECT_FALSE(first->close());
    EXPECT_EQ(m_messages, QStringList({"executing..."}));

    bool finished = false;
    QObject::connect(first, &CChildFrame::cycleFinished, [&finished] { finished = true; });
    first->runCommand(Cmd::Cancel);
    EXPECT_EQ(first->statusText(0), "キャンセル中 ...");
    QElapsedTimer timer;
    timer.start();
    while (!finished && timer.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(finished);
    EXPECT_EQ(first->statusText(0), "実行がキャンセルされました");
    EXPECT_TRUE(second->commandState(Cmd::Execute).enabled);
}

TEST_F(ChildFrame, commit_and_rollback_follow_the_session_transaction)
{
    AppSettings::instance().autoCommit = 0;
    CChildFrame *frame = openFrame();
    EXPECT_FALSE(frame->commandState(Cmd::Commit).enabled);
    ASSERT_TRUE(execute(frame, "UPDATE items SET name = 'x' WHERE id = 1"));
    EXPECT_TRUE(frame->commandState(Cmd::Commit).enabled);
    EXPECT_TRUE(frame->commandState(Cmd::Rollback).enabled);
    frame->runCommand(Cmd::Commit);
    EXPECT_EQ(frame->statusText(0), "現在の接続トランザクションを COMMIT しました。");
    EXPECT_FALSE(frame->commandState(Cmd::Commit).enabled);
}

TEST_F(ChildFrame, format_and_rename_commands)
{
    CChildFrame *frame = openFrame();
    frame->show();
    frame->editor()->SetText("select a,b from t where a=1");
    ASSERT_TRUE(frame->commandState(Cmd::Format).enabled);
    frame->runCommand(Cmd::Format);
    const QString formatted = frame->editor()->Text();
    EXPECT_NE(formatted, "select a,b from t where a=1");
    EXPECT_TRUE(formatted.contains("FROM", Qt::CaseInsensitive));
    frame->editor()->SetText("");
    EXPECT_FALSE(frame->commandState(Cmd::Format).enabled);

    ASSERT_TRUE(execute(frame, "SELECT * FROM notes"));
    CDlgRename::setAsker([](CDlgRename &dialog) {
        EXPECT_EQ(dialog.newEdit()->text(), "notes");
        dialog.newEdit()->setText("Memo");
        return true;
    });
    frame->runCommand(Cmd::RenameTab);
    CDlgRename::setAsker({});
    EXPECT_EQ(frame->title(), "test - Memo");
    EXPECT_EQ(frame->path(), "test - Memo");
}

TEST_F(ChildFrame, parameters_are_asked_for_with_the_dialog)
{
    CChildFrame *frame = openFrame();
    QStringList names;
    CDlgParamInput::setAskHandler([&names](QList<ParamValue> &values, bool, bool *, bool *) {
        for (ParamValue &value : values) {
            names << value.name;
            value.value = "3";
        }
        return true;
    });
    ASSERT_TRUE(execute(frame, "SELECT name FROM items WHERE id = :id"));
    CDlgParamInput::setAskHandler({});
    EXPECT_EQ(names, QStringList({"id"}));
    ASSERT_EQ(frame->resultView()->resultPageCount(), 1);
    EXPECT_EQ(frame->resultView()->resultGrid(0)->model()->index(0, 0).data().toString(), "pad");
}

#pragma once

#include "CQueryExecution.h"
#include "widgets/CommandTarget.h"

#include <QWidget>
#include <functional>

class CADODatabase;
class CQryView;
class CResultView;
class QLabel;
class QSplitter;

// A query window: the SQL editor above the result area, a status bar of four panes, and at
// most one database session, which the connection registry owns. Created only by the main
// window's open-query-window routine. UI thread only.
class CChildFrame : public QWidget, public CommandTarget, private ExecutionHost
{
    Q_OBJECT
public:
    explicit CChildFrame(QWidget *parent = nullptr);
    ~CChildFrame() override;

    // The session (not owned), or none for an unconnected window.
    CADODatabase *session() const { return m_session; }
    // Attaching a session that is not executing binds the window's event sink to it.
    void setSession(CADODatabase *session);
    QString profileName() const { return m_profileName; }
    QString connectionText() const { return m_connectionText; }
    void setConnection(const QString &profileName, const QString &connectionText)
    {
        m_profileName = profileName;
        m_connectionText = connectionText;
    }

    // The script path of the document; empty for a window never loaded or saved.
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    // The editor pane and the result pane (the upper and lower halves).
    QWidget *editorPane() const { return m_editorPane; }
    QWidget *resultPane() const { return m_resultPane; }

    CQryView *editor() const { return m_editor; }
    CResultView *resultView() const { return m_resultView; }
    CQueryExecution *execution() const { return m_exec; }

    // Text of one of the four status panes.
    void setStatusText(int pane, const QString &text) override;
    QString statusText(int pane) const;

    // The pane that has the focus, as a command target (editor or result view), or none.
    CommandTarget *focusedPane() const;

    // Asked before the window closes; false keeps it open. The default asks the document
    // questions of the window; tests replace it.
    using CloseGuard = std::function<bool(CChildFrame *)>;
    static void setCloseGuard(CloseGuard guard);

    // The execution cycle.
    void ExecuteCommand();
    bool ExecuteText(const QString &text, bool notSelect);
    bool IsExecuting() const { return m_exec->IsExecuting(); }
    bool IsConnected() const { return m_exec->IsConnected(); }
    void BindEventSink() { m_exec->BindEventSink(); }
    QString GetTargetTable() const { return m_exec->GetTargetTable(); }
    QString GetTargetType() const { return m_exec->GetTargetType(); }
    QStringList GetTargetKeys() const { return m_exec->GetTargetKeys(); }
    void FormatCommand();
    void RenameCommand();

    // Message boxes and the pending-changes question; replaceable for tests. The question
    // answers QMessageBox::Yes, No or Cancel.
    using MessageHandler = std::function<void(QWidget *parent, const QString &text)>;
    static void setMessageHandler(MessageHandler handler);
    using QuestionHandler = std::function<int(QWidget *parent, const QString &text)>;
    static void setQuestionHandler(QuestionHandler handler);
    // Builds and delivers the change script of a result (answer Yes to the question).
    using ChangeScriptHandler = std::function<void(CChildFrame *frame)>;
    static void setChangeScriptHandler(ChangeScriptHandler handler);

    bool handlesCommand(int id) const override;
    State commandState(int id) const override;
    void runCommand(int id) override;

Q_SIGNALS:
    void titleChanged(CChildFrame *frame);
    void activated(CChildFrame *frame);
    // An execution cycle has ended.
    void cycleFinished(CChildFrame *frame);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // ExecutionHost
    void showMessage(const QString &text) override;
    void repaintNow() override;
    void executionFinished() override;
    void removeAllPages() override;
    void addMessagePageIfNone() override;
    std::shared_ptr<CResultData> addResultPage() override;
    void resultLoaded(const std::shared_ptr<CResultData> &model) override;
    bool hasMessagePage() const override;
    void appendMessage(const QString &text) override;
    void setTotal(int total) override;
    void selectTab(int index) override;
    void selectResultPage(int index) override;

    CADODatabase *m_session = nullptr;
    CQryView *m_editor = nullptr;
    CResultView *m_resultView = nullptr;
    CQueryExecution *m_exec = nullptr;
    QString m_profileName;
    QString m_connectionText;
    QString m_path;
    QString m_title;
    QSplitter *m_splitter = nullptr;
    QWidget *m_editorPane = nullptr;
    QWidget *m_resultPane = nullptr;
    QLabel *m_panes[4] = {};
    QString m_paneTexts[4];
    bool m_splitDone = false;
};

#pragma once

#include "widgets/CommandTarget.h"

#include <QWidget>
#include <functional>

class CADODatabase;
class QLabel;
class QSplitter;

// A query window: the SQL editor above the result area, a status bar of four panes, and at
// most one database session, which the connection registry owns. Created only by the main
// window's open-query-window routine. UI thread only.
class CChildFrame : public QWidget, public CommandTarget
{
    Q_OBJECT
public:
    explicit CChildFrame(QWidget *parent = nullptr);
    ~CChildFrame() override;

    // The session (not owned), or none for an unconnected window.
    CADODatabase *session() const { return m_session; }
    void setSession(CADODatabase *session) { m_session = session; }
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

    // Text of one of the four status panes.
    void setStatusText(int pane, const QString &text);
    QString statusText(int pane) const;

    // The pane that has the focus, as a command target (editor or result view), or none.
    CommandTarget *focusedPane() const;

    // Asked before the window closes; false keeps it open. The default asks the document
    // questions of the window; tests replace it.
    using CloseGuard = std::function<bool(CChildFrame *)>;
    static void setCloseGuard(CloseGuard guard);

    bool handlesCommand(int id) const override;
    State commandState(int id) const override;
    void runCommand(int id) override;

Q_SIGNALS:
    void titleChanged(CChildFrame *frame);
    void activated(CChildFrame *frame);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    CADODatabase *m_session = nullptr;
    QString m_profileName;
    QString m_connectionText;
    QString m_path;
    QString m_title;
    QSplitter *m_splitter = nullptr;
    QWidget *m_editorPane = nullptr;
    QWidget *m_resultPane = nullptr;
    QLabel *m_panes[4] = {};
    bool m_splitDone = false;
};

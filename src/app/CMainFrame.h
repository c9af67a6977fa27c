#pragma once

#include "QueryWindowList.h"
#include "widgets/CommandTarget.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class CADODatabase;
class CChildFrame;
class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProcess;
class QTabBar;
class QToolBar;
class SettingsStore;

// The main window: the query windows in a multiple-document area, the bars, the status bar
// with its five panes, the menus, and the commands the main window carries out itself.
// Every command is routed to the active query window, then its focused pane, then here.
// UI thread only.
class CMainFrame : public QMainWindow, public CommandTarget
{
    Q_OBJECT
public:
    explicit CMainFrame(SettingsStore *store, QWidget *parent = nullptr);
    ~CMainFrame() override;

    // How query windows get their connection; installed by the application at start-up.
    // Until one is installed every window stays unconnected.
    struct ConnectionServices
    {
        // Connects the window (sharing a session, or by profile, asking when told to);
        // returns whether the window's session is open afterwards.
        std::function<bool(CChildFrame *, CADODatabase *share, const QString &name,
                           const QString &connectionText, bool ask)>
            connect;
        // Number of open connections in the registry.
        std::function<int()> connectionCount;
        // Whether the window's session is open.
        std::function<bool(CChildFrame *)> isOpen;
        // The title of a connected window for a base text ("ｸｴﾘ %d" or a file title);
        // the query counter is passed for the default base text.
        std::function<QString(CChildFrame *, const QString &path)> connectedTitle;
        // The windows that share the window's connection, in the order they were added.
        std::function<QList<CChildFrame *>(CChildFrame *)> windowsOfConnection;
        // The window has gone (it may be half destroyed: only its identity is passed); the
        // registry drops it and closes the connection with its last window.
        std::function<void(QObject *window, CADODatabase *session)> windowClosed;
    };
    void setConnectionServices(ConnectionServices services);

    // The single routine that creates query windows. Returns the new window or none.
    CChildFrame *openQueryWindow(CADODatabase *session, const QString &profileName,
                                 const QString &connectionText, const QString &path,
                                 bool askForConnection);

    const QueryWindowList &queryWindows() const { return m_windows; }
    CChildFrame *activeQueryWindow() const;
    void activateQueryWindow(CChildFrame *frame);

    // Restores "WindowPos" (or centres the window) and shows it.
    void restorePlacementAndShow();
    // The placement text to store, or empty when the window is minimised.
    QString placementText() const;

    // The command route: active query window, its focused pane, the main window.
    QList<CommandTarget *> commandRoute() const;
    // Runs a command through the route; false when no enabled handler took it.
    bool routeCommand(int id);
    CommandTarget::State routedState(int id, bool *handled = nullptr) const;
    QAction *action(int id) const { return m_actions.value(id); }
    // Re-evaluates every command's enabled and checked state (also done while idle).
    void updateCommandStates();

    QLabel *statusPane(int index) const;
    void setMessageText(const QString &text);

    // The closing-all flag that a query window's close questions consult.
    bool closingAll() const { return m_closingAll; }

    bool handlesCommand(int id) const override;
    State commandState(int id) const override;
    void runCommand(int id) override;

    // Commands the main window carries out.
    void closeActiveQuery();
    void disconnectActive();
    void closeAll();
    void showOptions();
    void showAbout();
    void openHelp();
    QString helpPath() const;

    // Shows the error of the help file (public for the tests).
    static QString helpErrorText(const QString &path, const QString &platformText);

    // Formatter options dialog; installed by the application when the formatter is present.
    void setFormatterOptionsHandler(std::function<void(QWidget *)> handler)
    {
        m_formatterOptions = std::move(handler);
    }

Q_SIGNALS:
    void queryWindowOpened(CChildFrame *frame);
    void queryWindowClosed(CChildFrame *frame);
    void activeQueryWindowChanged(CChildFrame *frame);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createBars();
    void createDocks();
    void createStatusBar();
    void rebuildMenus();
    void buildSmallMenu();
    void buildFullMenu();
    QMenu *addMenuOf(QMenu *menu, const QList<int> &ids);
    void onSubWindowActivated(QMdiSubWindow *sub);
    void onQueryWindowDestroyed(QObject *frame);
    // Drops a closed window from the list and the registry, activating the next one.
    void forgetQueryWindow(CChildFrame *frame);
    void syncFileList();
    void updateConnectionPane();
    void saveBarLayout();
    void restoreBarLayout();
    QString titleFor(CChildFrame *frame);
    bool isOpen(CChildFrame *frame) const;
    int connectionCount() const;
    // Asks the window to close; true when it closed.
    bool closeFrame(CChildFrame *frame);

    SettingsStore *m_store = nullptr;
    ConnectionServices m_services;
    QueryWindowList m_windows;
    QMdiArea *m_mdi = nullptr;
    QHash<int, QAction *> m_actions;
    QToolBar *m_mainBar = nullptr;
    QToolBar *m_dataSetBar = nullptr;
    QToolBar *m_fileListBar = nullptr;
    QTabBar *m_fileList = nullptr;
    QDockWidget *m_databaseDock = nullptr;
    QDockWidget *m_objectDock = nullptr;
    QLabel *m_panes[5] = {};
    bool m_fullMenu = false;
    bool m_menusBuilt = false;
    bool m_closingAll = false;
    bool m_closeRunning = false; // inside close all or disconnect
    QPointer<QProcess> m_helpProcess;
    QPointer<CChildFrame> m_lastActive;
    QHash<QObject *, CADODatabase *> m_sessions; // each window's session, kept for its closing
    std::function<void(QWidget *)> m_formatterOptions;
};

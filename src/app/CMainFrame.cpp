#include "CMainFrame.h"

#include "CAboutDlg.h"
#include "CommandTable.h"
#include "OptionsDialog.h"
#include "WindowPlacement.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "editor/CQryView.h"
#include "query/CChildFrame.h"
#include "widgets/AppIcons.h"
#include "widgets/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

namespace {

const QString kBarSection = QStringLiteral("BarSetting");

// Restores the wait cursor when it goes out of scope.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

CMainFrame::CMainFrame(SettingsStore *store, QWidget *parent)
    : QMainWindow(parent)
    , m_store(store)
{
    setObjectName(QStringLiteral("MainFrame"));
    // The area adds " - [title]" of a maximised query window to this title itself.
    setWindowTitle(QStringLiteral("Qorvane"));
    setWindowIcon(AppIcons::application());
    setDockNestingEnabled(true);
    resize(1100, 750);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("QueryWindows"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);

    createActions();
    createBars();
    createDocks();
    createStatusBar();
    rebuildMenus();
    restoreBarLayout();

    auto *idle = new QTimer(this);
    idle->setInterval(250);
    connect(idle, &QTimer::timeout, this, &CMainFrame::updateCommandStates);
    idle->start();
    updateCommandStates();
}

CMainFrame::~CMainFrame()
{
    // The windows outlive this object's members while the base class deletes its children.
    for (QObject *frame : m_windows.windows())
        disconnect(frame, nullptr, this, nullptr);
    disconnect(m_mdi, nullptr, this, nullptr);
    saveBarLayout();
    if (m_helpProcess && m_helpProcess->state() != QProcess::NotRunning) {
        m_helpProcess->terminate();
        m_helpProcess->waitForFinished(1000);
    }
}

void CMainFrame::setConnectionServices(ConnectionServices services)
{
    m_services = std::move(services);
}

// ---- actions, bars, menus ------------------------------------------------------------

void CMainFrame::createActions()
{
    for (const CommandInfo &info : CommandTable::all()) {
        auto *action = new QAction(info.label, this);
        action->setData(info.id);
        if (!info.key.isEmpty()) {
            action->setShortcut(info.key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        action->setStatusTip(info.statusText());
        action->setToolTip(info.toolTip());
        action->setIcon(AppIcons::forCommand(info.id));
        action->setIconVisibleInMenu(!action->icon().isNull());
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { routeCommand(id); });
        addAction(action); // shortcuts work whichever menu bar is shown
        m_actions.insert(id, action);
    }
    for (int id : {int(Cmd::ViewToolBar), int(Cmd::ViewDataSetBar), int(Cmd::ViewFileList),
                   int(Cmd::ViewStatusBar), int(Cmd::ViewDatabasePanel), int(Cmd::ViewObjectPanel)})
        m_actions.value(id)->setCheckable(true);
}

void CMainFrame::createBars()
{
    m_mainBar = addToolBar(QStringLiteral("標準"));
    m_mainBar->setObjectName(QStringLiteral("MainToolBar"));
    m_mainBar->setIconSize(QSize(16, 16));
    const QList<int> mainButtons = {Cmd::Connect, Cmd::NewQuery, 0, Cmd::CloseQuery,
                                    Cmd::Disconnect, Cmd::CloseAll, 0, Cmd::ViewDatabasePanel,
                                    Cmd::ViewObjectPanel, 0, Cmd::EditUndo, Cmd::EditRedo, 0,
                                    Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste, 0, Cmd::EditFind,
                                    Cmd::EditReplace, 0, Cmd::FieldSearch};
    for (int id : mainButtons) {
        if (id == 0)
            m_mainBar->addSeparator();
        else
            m_mainBar->addAction(m_actions.value(id));
    }
    // The field-search button opens the object-list menu from its arrow.
    auto *objectMenu = new QMenu(QStringLiteral("オブジェクトリスト"), this);
    objectMenu->addAction(m_actions.value(Cmd::FieldSearch));
    objectMenu->addSeparator();
    for (int id : {Cmd::TableList, Cmd::FieldList, Cmd::ProcedureList, Cmd::ObjectList})
        objectMenu->addAction(m_actions.value(id));
    if (auto *button = qobject_cast<QToolButton *>(
            m_mainBar->widgetForAction(m_actions.value(Cmd::FieldSearch)))) {
        button->setMenu(objectMenu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }

    m_dataSetBar = addToolBar(QStringLiteral("ﾃﾞｰﾀｾｯﾄ"));
    m_dataSetBar->setObjectName(QStringLiteral("RsvViewToolBar"));
    m_dataSetBar->setIconSize(QSize(16, 16));
    const QList<int> dataButtons = {Cmd::Format, Cmd::ParamSubstitute, 0, Cmd::Execute,
                                    Cmd::Cancel, Cmd::Commit, Cmd::Rollback, 0,
                                    Cmd::SortAscending, Cmd::SortDescending, Cmd::SortRowNumber,
                                    Cmd::SortCustom, 0, Cmd::CopyHeader, Cmd::CopyHtml,
                                    Cmd::ColumnWidth, Cmd::SelectRowsByKey, 0, Cmd::OtherDataSet,
                                    Cmd::AddRow, Cmd::DeleteRows, Cmd::WriteChanges,
                                    Cmd::ChangesSql};
    for (int id : dataButtons) {
        if (id == 0)
            m_dataSetBar->addSeparator();
        else
            m_dataSetBar->addAction(m_actions.value(id));
    }
    const auto addDropDown = [this](int id, const QString &name, const QList<int> &ids) {
        auto *menu = new QMenu(name, this);
        menu->setObjectName(name);
        for (int item : ids)
            menu->addAction(m_actions.value(item));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
        if (auto *button = qobject_cast<QToolButton *>(
                m_dataSetBar->widgetForAction(m_actions.value(id)))) {
            button->setMenu(menu);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
    };
    addDropDown(Cmd::ColumnWidth, QStringLiteral("DATA_DISP"),
                {Cmd::ColumnWidth, Cmd::HideColumns, Cmd::ShowColumns, Cmd::RowHeight,
                 Cmd::HideRows, Cmd::ShowRows, Cmd::ShowAll});
    addDropDown(Cmd::SelectRowsByKey, QStringLiteral("SQL_FROM_DATA"),
                {Cmd::SelectRowsByKey, Cmd::SelectRowsByItems, Cmd::SelectColumnsByKey,
                 Cmd::SelectColumnsByItems, Cmd::SqlInsert, Cmd::SqlUpdate, Cmd::SqlDelete});
    addDropDown(Cmd::OtherDataSet, QStringLiteral("BATCH_DATASET"),
                {Cmd::SetCurrentDate, Cmd::SetCurrentTime, Cmd::SetCurrentDateTime,
                 Cmd::SetExcluded, Cmd::ClearExcluded, Cmd::SetFunction, Cmd::ClearFunction,
                 Cmd::SetNull, Cmd::OtherDataSet});

    // The tab strip of query windows; it docks only at the top or the bottom.
    addToolBarBreak();
    m_fileListBar = addToolBar(QStringLiteral("ﾌｧｲﾙﾘｽﾄ"));
    m_fileListBar->setObjectName(QStringLiteral("BarFilelist"));
    m_fileListBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    m_fileList = new QTabBar(m_fileListBar);
    m_fileList->setObjectName(QStringLiteral("FileList"));
    m_fileList->setDocumentMode(true);
    m_fileList->setExpanding(false);
    m_fileList->setMinimumSize(260, 20);
    m_fileList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_fileListBar->addWidget(m_fileList);
    connect(m_fileList, &QTabBar::currentChanged, this, [this](int index) {
        if (index < 0)
            return;
        auto *frame = qobject_cast<CChildFrame *>(
            m_fileList->tabData(index).value<QObject *>());
        if (frame && frame != activeQueryWindow())
            activateQueryWindow(frame);
    });
    connect(m_fileList, &QTabBar::tabBarDoubleClicked, this, [this](int index) {
        if (index >= 0)
            routeCommand(Cmd::CloseQuery);
    });
    connect(m_fileList, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const int index = m_fileList->tabAt(pos);
        if (index >= 0)
            m_fileList->setCurrentIndex(index);
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("filelist"));
        for (int id : {Cmd::CloseQuery, Cmd::Disconnect, Cmd::NewQuery})
            menu.addAction(m_actions.value(id));
        menu.addSeparator();
        for (int id : {Cmd::FileSave, Cmd::FileSaveAs, Cmd::RenameTab})
            menu.addAction(m_actions.value(id));
        updateCommandStates();
        menu.exec(m_fileList->mapToGlobal(pos));
    });
}

void CMainFrame::createDocks()
{
    const auto makeDock = [this](const QString &title, const QString &name, QSize size) {
        auto *dock = new QDockWidget(title, this);
        dock->setObjectName(name);
        auto *placeholder = new QWidget(dock);
        placeholder->setMinimumSize(60, 60);
        dock->setWidget(placeholder);
        dock->resize(size);
        addDockWidget(Qt::LeftDockWidgetArea, dock);
        resizeDocks({dock}, {size.width()}, Qt::Horizontal);
        return dock;
    };
    m_databaseDock = makeDock(QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽ情報"), QStringLiteral("BarTableInfo"),
                              QSize(220, 300));
    m_objectDock = makeDock(QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ情報"), QStringLiteral("BarTableProp"),
                            QSize(260, 300));
    splitDockWidget(m_databaseDock, m_objectDock, Qt::Vertical);
}

void CMainFrame::createStatusBar()
{
    QStatusBar *bar = statusBar();
    m_panes[0] = new QLabel(bar);
    bar->addWidget(m_panes[0], 1);
    m_panes[1] = new QLabel(bar);
    m_panes[1]->setFixedWidth(150);
    bar->addPermanentWidget(m_panes[1]);
    const char *indicators[3] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_panes[2 + i] = new QLabel(QString::fromLatin1(indicators[i]), bar);
        m_panes[2 + i]->setAlignment(Qt::AlignCenter);
        m_panes[2 + i]->setMinimumWidth(36);
        m_panes[2 + i]->setEnabled(false);
        bar->addPermanentWidget(m_panes[2 + i]);
    }
    // Prompts of the hovered command go to pane 0.
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString &message) {
        if (message.isEmpty())
            m_panes[0]->setVisible(true);
    });
}

QMenu *CMainFrame::addMenuOf(QMenu *menu, const QList<int> &ids)
{
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(m_actions.value(id));
    }
    return menu;
}

void CMainFrame::rebuildMenus()
{
    const bool full = m_windows.count() > 0;
    if (m_menusBuilt && full == m_fullMenu)
        return;
    m_menusBuilt = true;
    m_fullMenu = full;
    menuBar()->clear();
    if (full)
        buildFullMenu();
    else
        buildSmallMenu();
    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates,
                Qt::UniqueConnection);
}

void CMainFrame::buildSmallMenu()
{
    QMenuBar *bar = menuBar();
    addMenuOf(bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")),
              {Cmd::Connect, Cmd::FileOpen, 0, Cmd::FilePrintSetup, 0, Cmd::FileMru1, 0,
               Cmd::AppExit});
    addMenuOf(bar->addMenu(QStringLiteral("表示(&V)")), {Cmd::ViewToolBar, Cmd::ViewStatusBar});
    addMenuOf(bar->addMenu(QStringLiteral("ツール(&T)")), {Cmd::Options});
    addMenuOf(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), {Cmd::HelpContents, 0, Cmd::About});
}

void CMainFrame::buildFullMenu()
{
    QMenuBar *bar = menuBar();
    addMenuOf(bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")),
              {Cmd::Connect, Cmd::Disconnect, Cmd::CloseAll, 0, Cmd::NewQuery, Cmd::FileOpen,
               Cmd::CloseQuery, 0, Cmd::FileSave, Cmd::FileSaveAs, 0, Cmd::RenameTab, 0,
               Cmd::FilePrint, Cmd::FilePrintPreview, Cmd::FilePrintSetup, 0, Cmd::FileMru1, 0,
               Cmd::AppExit});
    addMenuOf(bar->addMenu(QStringLiteral("編集(&E)")),
              {Cmd::EditUndo, Cmd::EditRedo, 0, Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste,
               Cmd::EditSelectAll, 0, Cmd::EditFind, Cmd::EditFindPrevious, Cmd::EditFindNext,
               Cmd::EditReplace, Cmd::EditJump});
    addMenuOf(bar->addMenu(QStringLiteral("表示(&V)")),
              {Cmd::ViewToolBar, Cmd::ViewDataSetBar, Cmd::ViewFileList, Cmd::ViewStatusBar});

    QMenu *query = bar->addMenu(QStringLiteral("クエリ"));
    addMenuOf(query->addMenu(QStringLiteral("データベースオブジェクト")),
              {Cmd::TableList, Cmd::FieldList, Cmd::ProcedureList, Cmd::ObjectList, 0,
               Cmd::FieldSearch});
    query->addSeparator();
    addMenuOf(query, {Cmd::Execute, Cmd::Cancel, 0, Cmd::Commit, Cmd::Rollback, 0, Cmd::Format,
                      Cmd::FormatOptions, 0, Cmd::ParamSubstitute, 0, Cmd::EditorFont});

    QMenu *record = bar->addMenu(QStringLiteral("レコード(&R)"));
    addMenuOf(record, {Cmd::SortAscending, Cmd::SortDescending, Cmd::SortRowNumber,
                       Cmd::SortCustom, 0});
    addMenuOf(record->addMenu(QStringLiteral("データ表示")),
              {Cmd::ColumnWidth, Cmd::HideColumns, Cmd::ShowColumns, 0, Cmd::RowHeight,
               Cmd::HideRows, Cmd::ShowRows, 0, Cmd::ShowAll});
    addMenuOf(record, {0, Cmd::CopyHeader, Cmd::CopyHtml, 0});
    addMenuOf(record->addMenu(QStringLiteral("SQL(&Select)文作成")),
              {Cmd::SelectRowsByKey, Cmd::SelectRowsByItems, Cmd::SelectColumnsByKey,
               Cmd::SelectColumnsByItems});
    addMenuOf(record, {Cmd::SqlInsert, Cmd::SqlUpdate, Cmd::SqlDelete, 0});
    addMenuOf(record->addMenu(QStringLiteral("一括データセット")),
              {Cmd::SetCurrentDate, Cmd::SetCurrentTime, Cmd::SetCurrentDateTime, 0,
               Cmd::SetExcluded, Cmd::ClearExcluded, 0, Cmd::SetFunction, Cmd::ClearFunction, 0,
               Cmd::SetNull, 0, Cmd::OtherDataSet});
    addMenuOf(record, {0, Cmd::AddRow, Cmd::DeleteRows, 0, Cmd::WriteChanges, Cmd::ChangesSql, 0});
    addMenuOf(record->addMenu(QStringLiteral("データをファイルへ出力")),
              {Cmd::ExportFixed, Cmd::ExportTab, Cmd::ExportCsv, Cmd::ExportInsert});
    addMenuOf(record, {0, Cmd::GridFont});

    addMenuOf(bar->addMenu(QStringLiteral("ツール(&T)")), {Cmd::Options});
    addMenuOf(bar->addMenu(QStringLiteral("ｳｨﾝﾄﾞｳ(&W)")),
              {Cmd::WindowCascade, Cmd::WindowTile, Cmd::WindowArrange});
    addMenuOf(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), {Cmd::HelpContents, 0, Cmd::About});
}

// ---- routing --------------------------------------------------------------------------

QList<CommandTarget *> CMainFrame::commandRoute() const
{
    QList<CommandTarget *> route;
    if (CChildFrame *frame = activeQueryWindow()) {
        route << frame;
        if (CommandTarget *pane = frame->focusedPane())
            route << pane;
    }
    route << const_cast<CMainFrame *>(this);
    return route;
}

CommandTarget::State CMainFrame::routedState(int id, bool *handled) const
{
    for (CommandTarget *target : commandRoute()) {
        if (target->handlesCommand(id)) {
            if (handled)
                *handled = true;
            return target->commandState(id);
        }
    }
    if (handled)
        *handled = false;
    CommandTarget::State none;
    none.enabled = false;
    return none;
}

bool CMainFrame::routeCommand(int id)
{
    for (CommandTarget *target : commandRoute()) {
        if (!target->handlesCommand(id))
            continue;
        if (!target->commandState(id).enabled)
            return false;
        target->runCommand(id);
        updateCommandStates();
        return true;
    }
    return false;
}

void CMainFrame::updateCommandStates()
{
    // The closing-all flag is cleared when the close-all state is next computed, not while
    // a close command is still asking its windows (their questions run modal loops).
    if (!m_closeRunning)
        m_closingAll = false;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const CommandTarget::State state = routedState(it.key());
        QAction *action = it.value();
        if (action->isEnabled() != state.enabled)
            action->setEnabled(state.enabled);
        if (action->isCheckable() && action->isChecked() != state.checked)
            action->setChecked(state.checked);
    }
}

// ---- the main window's own commands ---------------------------------------------------

bool CMainFrame::handlesCommand(int id) const
{
    switch (id) {
    case Cmd::Connect:
    case Cmd::NewQuery:
    case Cmd::CloseQuery:
    case Cmd::Disconnect:
    case Cmd::CloseAll:
    case Cmd::Options:
    case Cmd::ViewDatabasePanel:
    case Cmd::ViewObjectPanel:
    case Cmd::ViewToolBar:
    case Cmd::ViewDataSetBar:
    case Cmd::ViewFileList:
    case Cmd::ViewStatusBar:
    case Cmd::HelpContents:
    case Cmd::About:
    case Cmd::AppExit:
    case Cmd::WindowCascade:
    case Cmd::WindowTile:
    case Cmd::WindowArrange:
        return true;
    case Cmd::FormatOptions:
        return bool(m_formatterOptions);
    case Cmd::NextPane:
    case Cmd::PreviousPane:
        return true;
    default:
        return false;
    }
}

CommandTarget::State CMainFrame::commandState(int id) const
{
    State s;
    const int windows = m_windows.count();
    switch (id) {
    case Cmd::CloseQuery:
    case Cmd::NextPane:
    case Cmd::PreviousPane:
    case Cmd::WindowCascade:
    case Cmd::WindowTile:
    case Cmd::WindowArrange:
        s.enabled = windows >= 1;
        break;
    case Cmd::Disconnect:
        s.enabled = connectionCount() >= 1;
        break;
    case Cmd::CloseAll:
        s.enabled = windows >= 2;
        break;
    case Cmd::ViewDatabasePanel:
        s.enabled = windows >= 1;
        s.checkable = true;
        s.checked = m_databaseDock->isVisible();
        break;
    case Cmd::ViewObjectPanel:
        s.enabled = windows >= 1;
        s.checkable = true;
        s.checked = m_objectDock->isVisible();
        break;
    case Cmd::ViewToolBar:
        s.checkable = true;
        s.checked = m_mainBar->isVisible();
        break;
    case Cmd::ViewDataSetBar:
        s.checkable = true;
        s.checked = m_dataSetBar->isVisible();
        break;
    case Cmd::ViewFileList:
        s.checkable = true;
        s.checked = m_fileListBar->isVisible();
        break;
    case Cmd::ViewStatusBar:
        s.checkable = true;
        s.checked = statusBar()->isVisible();
        break;
    default:
        break;
    }
    return s;
}

void CMainFrame::runCommand(int id)
{
    switch (id) {
    case Cmd::Connect:
        openQueryWindow(nullptr, QString(), QString(), QString(), true);
        break;
    case Cmd::NewQuery:
        try {
            if (CChildFrame *active = activeQueryWindow())
                openQueryWindow(active->session(), active->profileName(),
                                active->connectionText(), QString(), false);
            else
                openQueryWindow(nullptr, QString(), QString(), QString(), false);
        } catch (...) {
            QMessageBox::critical(this, QStringLiteral("Qorvane"), QStringLiteral("不明エラー."));
        }
        break;
    case Cmd::CloseQuery:
        closeActiveQuery();
        break;
    case Cmd::Disconnect:
        disconnectActive();
        break;
    case Cmd::CloseAll:
        closeAll();
        break;
    case Cmd::Options:
        showOptions();
        break;
    case Cmd::FormatOptions:
        if (m_formatterOptions)
            m_formatterOptions(this);
        break;
    case Cmd::ViewDatabasePanel:
        m_databaseDock->setVisible(!m_databaseDock->isVisible());
        break;
    case Cmd::ViewObjectPanel:
        m_objectDock->setVisible(!m_objectDock->isVisible());
        break;
    case Cmd::ViewToolBar:
        m_mainBar->setVisible(!m_mainBar->isVisible());
        break;
    case Cmd::ViewDataSetBar:
        m_dataSetBar->setVisible(!m_dataSetBar->isVisible());
        break;
    case Cmd::ViewFileList:
        m_fileListBar->setVisible(!m_fileListBar->isVisible());
        break;
    case Cmd::ViewStatusBar:
        statusBar()->setVisible(!statusBar()->isVisible());
        break;
    case Cmd::HelpContents:
        openHelp();
        break;
    case Cmd::About:
        showAbout();
        break;
    case Cmd::AppExit:
        close();
        break;
    case Cmd::NextPane:
    case Cmd::PreviousPane:
        // Two panes: either key moves the focus to the other one.
        if (CChildFrame *frame = activeQueryWindow()) {
            QWidget *focus = QApplication::focusWidget();
            const bool inEditor = focus && (focus == frame->editorPane()
                                            || frame->editorPane()->isAncestorOf(focus));
            QWidget *target = inEditor ? frame->resultPane() : frame->editorPane();
            target->setFocus(Qt::OtherFocusReason);
            if (QWidget *proxy = target->focusProxy())
                proxy->setFocus(Qt::OtherFocusReason);
        }
        break;
    case Cmd::WindowCascade:
        m_mdi->cascadeSubWindows();
        break;
    case Cmd::WindowTile:
        m_mdi->tileSubWindows();
        break;
    case Cmd::WindowArrange:
        for (QMdiSubWindow *sub : m_mdi->subWindowList())
            if (sub->isMinimized())
                sub->showMinimized();
        break;
    default:
        break;
    }
}

// ---- query windows --------------------------------------------------------------------

bool CMainFrame::isOpen(CChildFrame *frame) const
{
    return m_services.isOpen && frame && m_services.isOpen(frame);
}

int CMainFrame::connectionCount() const
{
    return m_services.connectionCount ? m_services.connectionCount() : 0;
}

QString CMainFrame::titleFor(CChildFrame *frame)
{
    if (isOpen(frame) && m_services.connectedTitle)
        return m_services.connectedTitle(frame, frame->path());
    if (!frame->path().isEmpty())
        return QStringLiteral("接続無 - %1").arg(frame->path());
    return QStringLiteral("接続無 - ｸｴﾘ %1").arg(m_windows.nextUnconnectedNumber());
}

CChildFrame *CMainFrame::openQueryWindow(CADODatabase *session, const QString &profileName,
                                         const QString &connectionText, const QString &path,
                                         bool askForConnection)
{
    std::optional<WaitCursor> wait(std::in_place);
    if (m_windows.isFull()) {
        wait.reset();
        QMessageBox::critical(this, QStringLiteral("Qorvane"),
                              QStringLiteral("Connection limit reached. You must close some "
                                             "connections before attempting to open any more "
                                             "connections."));
        return nullptr;
    }

    auto *frame = new CChildFrame;
    frame->setPath(path);
    // Loading a script belongs to the document; a window whose script cannot be loaded is
    // destroyed before it is shown.

    if (m_services.connect) {
        wait.reset();
        m_services.connect(frame, session, profileName, connectionText, askForConnection);
        wait.emplace();
    }

    m_sessions.insert(frame, frame->session());
    frame->setTitle(titleFor(frame));
    auto *sub = m_mdi->addSubWindow(frame);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(AppIcons::application());
    m_windows.append(frame);
    connect(frame, &QObject::destroyed, this, &CMainFrame::onQueryWindowDestroyed);
    // Commands of the editor's context menu that the editor does not run itself.
    connect(frame->editor(), &CQryView::commandRequested, this,
            [this](int id) { routeCommand(id); });
    connect(frame, &CChildFrame::titleChanged, this, [this] {
        syncFileList();
    });
    if (m_windows.count() == 1)
        sub->showMaximized();
    else if (m_mdi->activeSubWindow() && m_mdi->activeSubWindow()->isMaximized())
        sub->showMaximized();
    else
        sub->show();
    activateQueryWindow(frame);
    frame->setFocus();

    rebuildMenus();
    syncFileList();
    updateConnectionPane();
    Q_EMIT queryWindowOpened(frame);
    setMessageText(QString());
    updateCommandStates();
    return frame;
}

CChildFrame *CMainFrame::activeQueryWindow() const
{
    if (QMdiSubWindow *sub = m_mdi->activeSubWindow()) {
        if (auto *frame = qobject_cast<CChildFrame *>(sub->widget()); frame && m_windows.contains(frame))
            return frame;
    }
    // The area is not active (e.g. a dialog has the focus): the window last activated.
    if (m_lastActive && m_windows.contains(m_lastActive))
        return m_lastActive;
    const QList<QObject *> windows = m_windows.windows();
    return windows.isEmpty() ? nullptr : qobject_cast<CChildFrame *>(windows.last());
}

void CMainFrame::activateQueryWindow(CChildFrame *frame)
{
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->widget() == frame) {
            m_mdi->setActiveSubWindow(sub);
            break;
        }
    }
    if (frame != m_lastActive) {
        m_lastActive = frame;
        syncFileList();
        Q_EMIT activeQueryWindowChanged(frame);
    }
}

void CMainFrame::onSubWindowActivated(QMdiSubWindow *sub)
{
    auto *frame = sub ? qobject_cast<CChildFrame *>(sub->widget()) : nullptr;
    if (!frame || frame == m_lastActive || !m_windows.contains(frame))
        return;
    m_lastActive = frame;
    syncFileList();
    Q_EMIT activeQueryWindowChanged(frame);
}

void CMainFrame::forgetQueryWindow(CChildFrame *frame)
{
    if (!m_windows.contains(frame))
        return;
    m_windows.remove(frame);
    CADODatabase *session = m_sessions.take(frame);
    if (m_services.windowClosed)
        m_services.windowClosed(frame, session);
    Q_EMIT queryWindowClosed(frame);
    if (m_lastActive == frame || !m_lastActive) {
        // Like any multiple-document frame, the next window becomes the active one.
        const QList<QObject *> windows = m_windows.windows();
        m_lastActive = nullptr;
        if (!windows.isEmpty())
            activateQueryWindow(qobject_cast<CChildFrame *>(windows.last()));
    }
    rebuildMenus();
    syncFileList();
    updateConnectionPane();
}

void CMainFrame::onQueryWindowDestroyed(QObject *object)
{
    forgetQueryWindow(static_cast<CChildFrame *>(object));
    QTimer::singleShot(0, this, &CMainFrame::updateCommandStates);
}

bool CMainFrame::closeFrame(CChildFrame *frame)
{
    QMdiSubWindow *holder = nullptr;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->widget() == frame) {
            holder = sub;
            break;
        }
    }
    // The frame's close handler asks its questions; an ignored close event keeps it open.
    const bool closed = holder ? holder->close() : frame->close();
    if (!closed)
        return false;
    forgetQueryWindow(frame);
    return true;
}

void CMainFrame::closeActiveQuery()
{
    CChildFrame *frame = activeQueryWindow();
    if (!frame)
        return;
    WaitCursor wait;
    setMessageText(QStringLiteral("お待ちください..."));
    closeFrame(frame);
    updateConnectionPane();
    setMessageText(QString());
}

void CMainFrame::disconnectActive()
{
    CChildFrame *active = activeQueryWindow();
    if (!active)
        return;
    WaitCursor wait;
    QScopedValueRollback running(m_closeRunning, true);
    setMessageText(QStringLiteral("お待ちください..."));
    const QList<CChildFrame *> windows = (m_services.windowsOfConnection && isOpen(active))
                                             ? m_services.windowsOfConnection(active)
                                             : QList<CChildFrame *>();
    if (windows.isEmpty()) {
        closeFrame(active);
    } else {
        if (windows.size() > 1)
            m_closingAll = true;
        for (int i = 0; i < windows.size(); ++i) {
            const QList<CChildFrame *> current = m_services.windowsOfConnection(windows.first());
            CChildFrame *first = current.isEmpty() ? nullptr : current.first();
            if (!first || !m_windows.contains(first))
                break;
            activateQueryWindow(first);
            if (!closeFrame(first) && activeQueryWindow() == first)
                break; // declined
        }
    }
    m_closingAll = false;
    updateConnectionPane();
    m_panes[0]->clear();
    m_panes[1]->clear();
    m_windows.resetUnconnectedCounterIfEmpty();
    if (m_windows.count() > 0)
        updateConnectionPane();
}

void CMainFrame::closeAll()
{
    WaitCursor wait;
    QScopedValueRollback running(m_closeRunning, true);
    setMessageText(QStringLiteral("お待ちください..."));
    if (m_windows.count() > 1)
        m_closingAll = true;
    for (;;) {
        CChildFrame *active = activeQueryWindow();
        if (!active)
            break;
        const bool closed = closeFrame(active);
        updateConnectionPane();
        if (!closed || activeQueryWindow() == active)
            break;
    }
    m_closingAll = false;
    m_panes[0]->clear();
    m_panes[1]->clear();
    m_windows.resetUnconnectedCounterIfEmpty();
    if (m_windows.count() > 0)
        updateConnectionPane();
}

void CMainFrame::syncFileList()
{
    const QSignalBlocker block(m_fileList);
    const QList<QObject *> windows = m_windows.windows();
    while (m_fileList->count() > windows.size())
        m_fileList->removeTab(m_fileList->count() - 1);
    for (int i = 0; i < windows.size(); ++i) {
        auto *frame = qobject_cast<CChildFrame *>(windows.at(i));
        const QString text = frame ? frame->title() : QString();
        if (i >= m_fileList->count())
            m_fileList->addTab(text);
        m_fileList->setTabText(i, text);
        m_fileList->setTabData(i, QVariant::fromValue<QObject *>(windows.at(i)));
        if (frame == activeQueryWindow())
            m_fileList->setCurrentIndex(i);
    }
}

void CMainFrame::updateConnectionPane()
{
    if (m_windows.count() > 0)
        m_panes[1]->setText(QStringLiteral("接続数: %1").arg(connectionCount()));
    else
        m_panes[1]->clear();
}

QLabel *CMainFrame::statusPane(int index) const
{
    return index >= 0 && index < 5 ? m_panes[index] : nullptr;
}

void CMainFrame::setMessageText(const QString &text)
{
    m_panes[0]->setText(text);
}

// ---- dialogs, help --------------------------------------------------------------------

void CMainFrame::showOptions()
{
    OptionsDialog dialog(this);
    dialog.exec();
}

void CMainFrame::showAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

QString CMainFrame::helpPath() const
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Qorvane.html"));
}

QString CMainFrame::helpErrorText(const QString &path, const QString &platformText)
{
    return QStringLiteral("%1%2").arg(path + QStringLiteral("を開くときにエラーが発生しました：　　　\n\n"),
                                      platformText);
}

void CMainFrame::openHelp()
{
    const QString path = helpPath();
    QString error;
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("指定されたファイルが見つかりません。");
    } else {
        if (m_helpProcess && m_helpProcess->state() != QProcess::NotRunning)
            m_helpProcess->terminate();
        auto *process = new QProcess(this);
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        process->start(QStringLiteral("xdg-open"), {path});
        if (!process->waitForStarted(3000)) {
            error = process->errorString();
            process->deleteLater();
        } else {
            m_helpProcess = process;
        }
    }
    if (!error.isEmpty())
        QMessageBox::information(this, QStringLiteral("Qorvane"), helpErrorText(path, error));
}

// ---- placement and layout ---------------------------------------------------------------

void CMainFrame::restorePlacementAndShow()
{
    const auto placement = WindowPlacement::parse(AppSettings::instance().windowPos);
    if (placement && placement->normal.isValid()) {
        setGeometry(placement->normal);
        if (placement->showState == WindowPlacement::Maximized
            || (placement->flags & WindowPlacement::RestoreToMaximized))
            showMaximized();
        else
            show();
        return;
    }
    // Without a usable placement the window is centred on the screen.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = this->size().boundedTo(area.size());
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
    }
    show();
}

QString CMainFrame::placementText() const
{
    const auto placement = WindowPlacement::forWindow(isMaximized(), isMinimized(),
                                                      normalGeometry().isValid() ? normalGeometry()
                                                                                 : geometry());
    return placement ? placement->format() : QString();
}

void CMainFrame::saveBarLayout()
{
    if (m_store)
        m_store->writeBinary(kBarSection, QStringLiteral("MainFrame"), saveState());
}

void CMainFrame::restoreBarLayout()
{
    if (!m_store)
        return;
    const QByteArray state = m_store->readBinary(kBarSection, QStringLiteral("MainFrame"));
    if (!state.isEmpty())
        restoreState(state);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (isMinimized())
        showNormal();
    closeAll();
    const QString placement = placementText();
    if (!placement.isEmpty())
        AppSettings::instance().windowPos = placement;
    if (m_windows.count() > 0) {
        event->ignore();
        return;
    }
    saveBarLayout();
    event->accept();
}

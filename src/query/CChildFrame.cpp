#include "CChildFrame.h"

#include "CDlgRename.h"
#include "CResultView.h"
#include "connections/CDBConnections.h"
#include "db/CADODatabase.h"
#include "editor/CColorRichView.h"
#include "editor/CDlgParamInput.h"
#include "editor/CQryView.h"
#include "platform/AppSettings.h"
#include "results/CResultData.h"
#include "sql/CSqlParser.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
CChildFrame::CloseGuard &closeGuard()
{
    static CChildFrame::CloseGuard guard;
    return guard;
}
CChildFrame::MessageHandler &messageHandler()
{
    static CChildFrame::MessageHandler handler;
    return handler;
}
CChildFrame::QuestionHandler &questionHandler()
{
    static CChildFrame::QuestionHandler handler;
    return handler;
}
CChildFrame::ChangeScriptHandler &changeScriptHandler()
{
    static CChildFrame::ChangeScriptHandler handler;
    return handler;
}

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

CChildFrame::CChildFrame(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setChildrenCollapsible(false);
    m_editor = new CQryView(m_splitter);
    m_editor->setObjectName(QStringLiteral("QueryEditor"));
    m_editorPane = m_editor;
    m_resultView = new CResultView(m_splitter);
    m_resultPane = m_resultView;
    m_splitter->addWidget(m_editorPane);
    m_splitter->addWidget(m_resultPane);
    // The editor starts with half of the window's height.
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    layout->addWidget(m_splitter, 1);

    // Four status panes with base widths 120, 60, 150 and 40 pixels; extra width is shared
    // equally among them.
    auto *status = new QWidget(this);
    status->setObjectName(QStringLiteral("QueryStatusBar"));
    auto *statusLayout = new QHBoxLayout(status);
    statusLayout->setContentsMargins(2, 1, 2, 1);
    statusLayout->setSpacing(2);
    const int widths[4] = {120, 60, 150, 40};
    for (int i = 0; i < 4; ++i) {
        m_panes[i] = new QLabel(status);
        m_panes[i]->setFrameShape(QFrame::Panel);
        m_panes[i]->setFrameShadow(QFrame::Sunken);
        m_panes[i]->setMinimumWidth(widths[i]);
        m_panes[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        statusLayout->addWidget(m_panes[i], 1);
    }
    layout->addWidget(status);
    setFocusProxy(m_editorPane);

    m_exec = new CQueryExecution(this, this, this);
    m_exec->setParamAsker([this](QList<ParamValue> &values, bool showIgnore, bool *ignored,
                                 bool *replaceInText) {
        return CDlgParamInput::Ask(this, values, showIgnore, ignored, replaceInText);
    });
    m_resultView->setStatusSink([this](int pane, const QString &text) {
        setStatusText(pane, text);
    });
    m_editor->setParamContextProvider([this] { return m_exec->paramContext(); });
    connect(m_editor, &CQryView::executeRequested, this, &CChildFrame::ExecuteCommand);
}

CChildFrame::~CChildFrame()
{
    // The execution object goes with the window; a fetch still running stops at its next
    // row and its calls find no receiver.
    delete m_exec;
    m_exec = nullptr;
}

void CChildFrame::setSession(CADODatabase *session)
{
    m_session = session;
    m_exec->setSession(session);
    if (session && m_exec->IsConnected() && !session->IsBusy())
        m_exec->BindEventSink();
}

void CChildFrame::setTitle(const QString &title)
{
    m_title = title;
    setWindowTitle(title);
    Q_EMIT titleChanged(this);
}

void CChildFrame::setStatusText(int pane, const QString &text)
{
    if (pane < 0 || pane >= 4)
        return;
    m_paneTexts[pane] = text;
    // A pane is one line high: line breaks (the object information) show as spaces, the
    // full text as the tip.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("  "));
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_panes[pane]->setText(shown.trimmed());
    m_panes[pane]->setToolTip(shown == text ? QString() : text);
}

QString CChildFrame::statusText(int pane) const
{
    return pane >= 0 && pane < 4 ? m_paneTexts[pane] : QString();
}

CommandTarget *CChildFrame::focusedPane() const
{
    for (QWidget *w = focusWidget(); w && w != this; w = w->parentWidget()) {
        if (auto *target = dynamic_cast<CommandTarget *>(w))
            return target;
    }
    return nullptr;
}

void CChildFrame::setCloseGuard(CloseGuard guard)
{
    closeGuard() = std::move(guard);
}

void CChildFrame::setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

void CChildFrame::setQuestionHandler(QuestionHandler handler)
{
    questionHandler() = std::move(handler);
}

void CChildFrame::setChangeScriptHandler(ChangeScriptHandler handler)
{
    changeScriptHandler() = std::move(handler);
}

// ---- commands ------------------------------------------------------------------------------

bool CChildFrame::handlesCommand(int id) const
{
    switch (id) {
    case Cmd::Execute:
    case Cmd::Cancel:
    case Cmd::Commit:
    case Cmd::Rollback:
    case Cmd::Format:
    case Cmd::RenameTab:
    case Cmd::ParamSubstitute:
        return true;
    default:
        return false;
    }
}

CommandTarget::State CChildFrame::commandState(int id) const
{
    State state;
    const bool connected = IsConnected();
    switch (id) {
    case Cmd::Execute:
        state.enabled = connected && !m_session->IsBusy() && !m_editor->editor()->IsEmpty();
        break;
    case Cmd::Cancel:
        state.enabled = IsExecuting();
        break;
    case Cmd::Commit:
    case Cmd::Rollback:
        state.enabled = connected && m_session->IsInTransaction();
        break;
    case Cmd::Format:
        state.enabled = !m_editor->editor()->IsEmpty();
        break;
    case Cmd::RenameTab:
        state.enabled = true;
        break;
    case Cmd::ParamSubstitute:
        // The editor carries it out, wherever the focus is in the window.
        state = m_editor->commandState(id);
        break;
    default:
        state.enabled = false;
        break;
    }
    return state;
}

void CChildFrame::runCommand(int id)
{
    switch (id) {
    case Cmd::Execute:
        ExecuteCommand();
        break;
    case Cmd::Cancel:
        m_exec->Cancel();
        break;
    case Cmd::Commit:
        m_exec->Commit();
        break;
    case Cmd::Rollback:
        m_exec->Rollback();
        break;
    case Cmd::Format:
        FormatCommand();
        break;
    case Cmd::RenameTab:
        RenameCommand();
        break;
    case Cmd::ParamSubstitute:
        if (m_editor->commandState(id).enabled)
            m_editor->SubstituteParametersCommand();
        break;
    default:
        break;
    }
}

void CChildFrame::ExecuteCommand()
{
    if (!m_editor)
        return;
    if (m_exec->IsSessionBusy()) {
        const ConnectionRecord *record = CDBConnections::instance().Find(m_session);
        if (record && record->executingWindow)
            return; // one execution per connection at a time
    }
    const QString text = m_editor->TextForExecution();
    if (text.isEmpty())
        return;

    const int changed = m_resultView->firstChangedResultPage();
    if (changed >= 0) {
        m_resultView->SelectResultPage(changed);
        const QString question =
            QStringLiteral("データが変更されました。\r\nデータをデータベースに更新しますか？");
        const int answer =
            questionHandler()
                ? questionHandler()(this, question)
                : QMessageBox::question(this, QStringLiteral("Qorvane"), question,
                                        QMessageBox::Yes | QMessageBox::No
                                            | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || answer == QMessageBox::Escape)
            return;
        if (answer == QMessageBox::Yes) {
            if (changeScriptHandler())
                changeScriptHandler()(this);
            return;
        }
    }

    const bool notSelect =
        CQueryExecution::IsNotSelect(text, AppSettings::instance().commentOut == 1);
    ExecuteText(text, notSelect);
}

bool CChildFrame::ExecuteText(const QString &text, bool notSelect)
{
    return m_exec->ExecuteText(text, notSelect);
}

void CChildFrame::FormatCommand()
{
    QString text = m_editor->TextForFormat();
    if (text.isEmpty())
        return;
    WaitCursor wait;
    CColorRichView *view = m_editor->editor();
    const int letter = qMax(1, view->fontMetrics().horizontalAdvance(QLatin1Char('A')));
    const int fitWidth = view->viewport()->width() / letter - 10;
    if (!CSqlParser::layOutWithApplication(text, fitWidth))
        return;
    m_editor->ReplaceSelectionOrAll(text);
    view->moveCursor(QTextCursor::Start);
}

void CChildFrame::RenameCommand()
{
    WaitCursor wait;
    QString title = m_title;
    if (!CDlgRename::RenameTitle(this, title, m_exec->GetTargetTable()))
        return;
    // The new title is also the document's path name (not a recent file).
    m_path = title;
    setTitle(title);
}

// ---- execution host ------------------------------------------------------------------------

void CChildFrame::showMessage(const QString &text)
{
    if (messageHandler())
        messageHandler()(this, text);
    else
        QMessageBox::information(this, QStringLiteral("Qorvane"), text);
}

void CChildFrame::repaintNow()
{
    if (isVisible())
        repaint();
}

void CChildFrame::executionFinished()
{
    setFocus();
    Q_EMIT cycleFinished(this);
}

void CChildFrame::removeAllPages()
{
    m_resultView->RemoveAllPages();
}

void CChildFrame::addMessagePageIfNone()
{
    m_resultView->AddMessagePageIfNone();
}

std::shared_ptr<CResultData> CChildFrame::addResultPage()
{
    return m_resultView->AddResultPage();
}

void CChildFrame::resultLoaded(const std::shared_ptr<CResultData> &model)
{
    m_resultView->ResultLoaded(model);
}

bool CChildFrame::hasMessagePage() const
{
    return m_resultView->hasMessagePage();
}

void CChildFrame::appendMessage(const QString &text)
{
    m_resultView->AppendMessage(text);
}

void CChildFrame::setTotal(int total)
{
    m_resultView->setTotal(total);
}

void CChildFrame::selectTab(int index)
{
    m_resultView->SelectTab(index);
}

void CChildFrame::selectResultPage(int index)
{
    m_resultView->SelectResultPage(index);
}

// ---- window events -------------------------------------------------------------------------

void CChildFrame::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_splitDone) {
        // The editor is created with half of the window's height.
        m_splitDone = true;
        const int half = qMax(1, m_splitter->height() / 2);
        m_splitter->setSizes({half, m_splitter->height() - half});
    }
}

void CChildFrame::closeEvent(QCloseEvent *event)
{
    if (IsExecuting()) {
        showMessage(QStringLiteral("executing..."));
        event->ignore();
        return;
    }
    if (closeGuard() && !closeGuard()(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

#include "CChildFrame.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
CChildFrame::CloseGuard &closeGuard()
{
    static CChildFrame::CloseGuard guard;
    return guard;
}
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
    auto *editor = new QPlainTextEdit(m_splitter);
    editor->setObjectName(QStringLiteral("QueryEditor"));
    m_editorPane = editor;
    auto *results = new QTabWidget(m_splitter);
    results->setObjectName(QStringLiteral("ResultView"));
    results->setTabPosition(QTabWidget::South);
    m_resultPane = results;
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
        statusLayout->addWidget(m_panes[i], widths[i]);
    }
    layout->addWidget(status);
    setFocusProxy(m_editorPane);
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::setTitle(const QString &title)
{
    m_title = title;
    setWindowTitle(title);
    Q_EMIT titleChanged(this);
}

void CChildFrame::setStatusText(int pane, const QString &text)
{
    if (pane >= 0 && pane < 4)
        m_panes[pane]->setText(text);
}

QString CChildFrame::statusText(int pane) const
{
    return pane >= 0 && pane < 4 ? m_panes[pane]->text() : QString();
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

bool CChildFrame::handlesCommand(int) const
{
    return false;
}

CommandTarget::State CChildFrame::commandState(int) const
{
    return {};
}

void CChildFrame::runCommand(int) {}

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
    if (closeGuard() && !closeGuard()(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

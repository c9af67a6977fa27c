#include "CResultView.h"

#include "CResultMessage.h"
#include "resultview/CResultGrid.h"
#include "resultview/ResultTableModel.h"
#include "results/CResultData.h"
#include "platform/SettingsNotifier.h"
#include "resultview/GridImages.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QShowEvent>
#include <QVBoxLayout>

CResultView::CResultView(QWidget *parent)
    : QWidget(parent)
    , m_tabs(new QTabBar(this))
    , m_stack(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("ResultView"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QFont tabFont = font();
    tabFont.setPointSize(8);
    m_tabs->setFont(tabFont);
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(true);
    m_tabs->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 32px; }"));
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_removing)
            showSelected(index);
    });
    connect(&SettingsNotifier::instance(), &SettingsNotifier::settingsApplied, this,
            &CResultView::applySettings);
}

CResultView::~CResultView() = default;

void CResultView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Tabs added while the window was hidden leave the strip's size hint stale.
    m_tabs->updateGeometry();
    if (layout())
        layout()->invalidate();
}

void CResultView::status(int pane, const QString &text)
{
    if (m_status)
        m_status(pane, text);
}

void CResultView::addPage(QWidget *page, const QString &caption, bool isMessage)
{
    setVisible(true);
    const int index = int(m_pages.size());
    page->setProperty("qorvaneMessagePage", isMessage);
    page->setProperty("qorvaneTabIndex", index);
    m_pages.append(page);
    m_stack->addWidget(page);
    rebuildIndexLists();
    m_tabs->addTab(GridImages::tabImage(isMessage ? 1 : 0), caption);
    m_tabs->setTabData(index, isMessage);
    m_tabs->setCurrentIndex(index);
    showSelected(index);
}

void CResultView::rebuildIndexLists()
{
    m_resultPageTabs.clear();
    m_messagePageTabs.clear();
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages.at(i)->property("qorvaneMessagePage").toBool())
            m_messagePageTabs.append(i);
        else
            m_resultPageTabs.append(i);
    }
}

std::shared_ptr<CResultData> CResultView::AddResultPage()
{
    auto model = std::make_shared<CResultData>();
    auto *grid = new CResultGrid(model, m_stack);
    addPage(grid, QString::number(m_pages.size()), false);
    return model;
}

void CResultView::ResultLoaded(const std::shared_ptr<CResultData> &model)
{
    for (int n = 0; n < m_resultPageTabs.size(); ++n) {
        CResultGrid *grid = resultGrid(n);
        if (grid->resultData() != model)
            continue;
        grid->setLoaded();
        if (m_tabs->currentIndex() == m_resultPageTabs.at(n))
            showSelected(m_resultPageTabs.at(n));
        return;
    }
}

void CResultView::AddMessagePageIfNone()
{
    if (!m_pages.isEmpty())
        return;
    addPage(new CResultMessage(m_stack), QStringLiteral("ﾒｯｾｰｼﾞ"), true);
}

void CResultView::RemoveAllPages()
{
    m_removing = true;
    for (QWidget *page : std::as_const(m_pages)) {
        m_stack->removeWidget(page);
        delete page;
    }
    m_pages.clear();
    m_resultPageTabs.clear();
    m_messagePageTabs.clear();
    while (m_tabs->count() > 0)
        m_tabs->removeTab(m_tabs->count() - 1);
    m_removing = false;
}

void CResultView::SelectTab(int index)
{
    if (index < 0 || index >= m_pages.size())
        return;
    m_tabs->setCurrentIndex(index);
    showSelected(index);
}

void CResultView::SelectResultPage(int n)
{
    if (n < 0 || n >= m_resultPageTabs.size())
        return;
    SelectTab(m_resultPageTabs.at(n));
}

void CResultView::SelectMessagePage(int n)
{
    if (n < 0 || n >= m_messagePageTabs.size())
        return;
    SelectTab(m_messagePageTabs.at(n));
}

void CResultView::showSelected(int index)
{
    if (index < 0 || index >= m_pages.size())
        return;
    QWidget *page = m_pages.at(index);
    m_stack->setCurrentWidget(page);
    if (page->property("qorvaneMessagePage").toBool()) {
        status(1, QStringLiteral("総データ数：%1").arg(m_total));
        return;
    }
    auto *grid = static_cast<CResultGrid *>(page);
    if (!grid->isLoaded())
        return; // still being read; the tab is shown when its rows are in
    if (grid->isMarkedDisabled()) {
        grid->setMarkedDisabled(false);
        grid->resetFocusCell();
        grid->setEnabled(true);
    }
    status(1, QStringLiteral("データ数：%1").arg(grid->dataRowCount()));
    status(3, grid->resultData()->GetObjectInfo());
}

void CResultView::AppendMessage(const QString &text)
{
    if (CResultMessage *page = messagePage())
        page->AppendMessage(text);
}

int CResultView::currentIndex() const
{
    return m_tabs->currentIndex();
}

QString CResultView::tabCaption(int index) const
{
    return m_tabs->tabText(index);
}

CResultMessage *CResultView::messagePage() const
{
    if (m_messagePageTabs.isEmpty())
        return nullptr;
    return static_cast<CResultMessage *>(m_pages.at(m_messagePageTabs.first()));
}

CResultGrid *CResultView::resultGrid(int n) const
{
    if (n < 0 || n >= m_resultPageTabs.size())
        return nullptr;
    return static_cast<CResultGrid *>(m_pages.at(m_resultPageTabs.at(n)));
}

std::shared_ptr<CResultData> CResultView::resultModel(int n) const
{
    if (CResultGrid *grid = resultGrid(n))
        return grid->resultData();
    return nullptr;
}

CResultGrid *CResultView::currentGrid() const
{
    const int index = currentIndex();
    if (index < 0 || index >= m_pages.size()
        || m_pages.at(index)->property("qorvaneMessagePage").toBool())
        return nullptr;
    return static_cast<CResultGrid *>(m_pages.at(index));
}

int CResultView::firstChangedResultPage() const
{
    for (int n = 0; n < m_resultPageTabs.size(); ++n) {
        CResultGrid *grid = resultGrid(n);
        if (grid->isLoaded() && grid->resultData()->HasChanges())
            return n;
    }
    return -1;
}

void CResultView::applySettings()
{
    if (CResultMessage *page = messagePage())
        page->applyFont();
    for (int n = 0; n < m_resultPageTabs.size(); ++n)
        resultGrid(n)->applySettings();
}

// ---- commands ------------------------------------------------------------------------------

bool CResultView::handlesCommand(int id) const
{
    switch (id) {
    case Cmd::AddRow:
    case Cmd::DeleteRows:
        return true;
    case Cmd::EditCopy:
    case Cmd::EditSelectAll:
        return currentGrid() == nullptr && messagePage();
    default:
        return false;
    }
}

CommandTarget::State CResultView::commandState(int id) const
{
    State state;
    CResultGrid *grid = currentGrid();
    switch (id) {
    case Cmd::AddRow:
        state.enabled = grid && grid->isLoaded()
            && (grid->resultData()->GetEditMode() & CResultData::EditInsert);
        break;
    case Cmd::DeleteRows:
        state.enabled = grid && grid->isLoaded() && grid->isEditable()
            && grid->hasSelectedCells();
        break;
    case Cmd::EditCopy:
        state.enabled = messagePage() && messagePage()->textCursor().hasSelection();
        break;
    default:
        break;
    }
    return state;
}

void CResultView::runCommand(int id)
{
    switch (id) {
    case Cmd::AddRow:
        if (commandState(id).enabled)
            AddRowsCommand();
        break;
    case Cmd::DeleteRows:
        if (commandState(id).enabled)
            DeleteRowsCommand();
        break;
    case Cmd::EditCopy:
        if (CResultMessage *page = messagePage())
            page->copy();
        break;
    case Cmd::EditSelectAll:
        if (CResultMessage *page = messagePage())
            page->selectAll();
        break;
    default:
        break;
    }
}

void CResultView::AddRowsCommand()
{
    CResultGrid *grid = currentGrid();
    if (!grid)
        return;
    CResultData &data = *grid->resultData();
    int count = 1;
    int top, left, bottom, right;
    if (grid->selectionRange(&top, &left, &bottom, &right))
        count = qMin(100, bottom - top + 1);
    Q_EMIT grid->editGroupBegun();
    data.AddRows(count);
    Q_EMIT grid->editGroupEnded();
    grid->refreshRows();
    const int last = data.GetDisplayRowCount() - 1;
    grid->fitColumnsToRows(last - count + 1, last);
    grid->selectWholeRow(last);
    grid->scrollToBottom();
    status(1, QStringLiteral("データ数：%1").arg(grid->dataRowCount()));
}

void CResultView::DeleteRowsCommand()
{
    CResultGrid *grid = currentGrid();
    if (!grid)
        return;
    CResultData &data = *grid->resultData();
    QList<int> rows = grid->selectedRowList();
    Q_EMIT grid->editGroupBegun();
    data.BeginUndoGroup();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        data.DeleteRow(*it, false);
    data.EndUndoGroup();
    Q_EMIT grid->editGroupEnded();
    grid->clearSelection();
    grid->resetFocusCell();
    grid->refreshRows();
    grid->viewport()->update();
    status(1, QStringLiteral("データ数：%1").arg(grid->dataRowCount()));
}

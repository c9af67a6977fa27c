#include "CResultGrid.h"

#include "GridImages.h"
#include "ResultTableModel.h"
#include "platform/AppSettings.h"
#include "results/CResultData.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QItemSelectionModel>
#include <QSet>

CResultGrid::CResultGrid(std::shared_ptr<CResultData> data, QWidget *parent)
    : QTableView(parent)
    , m_model(new ResultTableModel(std::move(data), this))
{
    setObjectName(QStringLiteral("ResultGrid"));
    setModel(m_model);
    setFont(AppSettings::instance().qGridFont.toQFont());
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setCornerButtonEnabled(true);
    // Fixed row heights: a million rows cost nothing to lay out.
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    rows->setMinimumSectionSize(0);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(true);
    connect(m_model, &ResultTableModel::editGroupBegun, this, &CResultGrid::editGroupBegun);
    connect(m_model, &ResultTableModel::editGroupEnded, this, &CResultGrid::editGroupEnded);
    setEnabled(false);
}

CResultGrid::~CResultGrid() = default;

void CResultGrid::applySettings()
{
    setFont(AppSettings::instance().qGridFont.toQFont());
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    viewport()->update();
}

const std::shared_ptr<CResultData> &CResultGrid::resultData() const
{
    return m_model->resultData();
}

void CResultGrid::setLoaded()
{
    m_model->setEditable(resultData()->HasAllKeys());
    m_model->setLoaded();
    fitColumns();
    // The top-left cell shows the edit mode's image and the object information.
    if (auto *corner = findChild<QAbstractButton *>()) {
        corner->setToolTip(resultData()->GetObjectInfo().trimmed());
        corner->installEventFilter(this);
        corner->update();
    }
}

bool CResultGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == findChild<QAbstractButton *>()
        && m_model->isLoaded()) {
        auto *corner = static_cast<QWidget *>(watched);
        corner->removeEventFilter(this);
        QCoreApplication::sendEvent(corner, event); // the header-like background first
        corner->installEventFilter(this);
        QPainter painter(corner);
        const QIcon icon = GridImages::cornerImage(m_model->cornerImage());
        const int side = qMin(16, qMin(corner->width(), corner->height()));
        icon.paint(&painter, QRect((corner->width() - side) / 2, (corner->height() - side) / 2,
                                   side, side));
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool CResultGrid::isLoaded() const
{
    return m_model->isLoaded();
}

bool CResultGrid::isEditable() const
{
    return m_model->isEditable();
}

void CResultGrid::refreshRows()
{
    m_model->refresh();
}

void CResultGrid::resetFocusCell()
{
    if (selectionModel())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

int CResultGrid::dataRowCount() const
{
    return m_model->rowCount();
}

void CResultGrid::fitColumns()
{
    const CResultData &data = *resultData();
    const int charWidth = qMax(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
    const QFontMetrics headerMetrics(horizontalHeader()->font());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        const int chars = qMin(data.GetColumnInfo(c).width, 80);
        const int header = headerMetrics.horizontalAdvance(data.GetColumnName(c)) + 16;
        setColumnWidth(c, qMax(header, chars * charWidth + 20));
    }
}

void CResultGrid::fitColumnsToRows(int first, int last)
{
    const QFontMetrics metrics = fontMetrics();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        int width = columnWidth(c);
        for (int r = qMax(0, first); r <= last && r < m_model->rowCount(); ++r) {
            const QString text = m_model->index(r, c).data().toString();
            width = qMax(width, metrics.horizontalAdvance(text) + 20);
        }
        setColumnWidth(c, width);
    }
}

void CResultGrid::setColumnSize(int col, int size)
{
    if (size <= 0) {
        setColumnHidden(col, true);
    } else {
        setColumnHidden(col, false);
        setColumnWidth(col, size);
    }
}

void CResultGrid::setRowSize(int row, int size)
{
    if (size <= 0) {
        setRowHidden(row, true);
    } else {
        setRowHidden(row, false);
        setRowHeight(row, size);
    }
}

int CResultGrid::columnSize(int col) const
{
    return isColumnHidden(col) ? 0 : columnWidth(col);
}

int CResultGrid::rowSize(int row) const
{
    return isRowHidden(row) ? 0 : rowHeight(row);
}

QList<int> CResultGrid::selectedRowList() const
{
    QSet<int> rows;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.insert(r);
    }
    QList<int> list(rows.begin(), rows.end());
    std::sort(list.begin(), list.end());
    return list;
}

QList<int> CResultGrid::selectedColumnList() const
{
    QSet<int> cols;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int c = range.left(); c <= range.right(); ++c)
            cols.insert(c);
    }
    QList<int> list(cols.begin(), cols.end());
    std::sort(list.begin(), list.end());
    return list;
}

bool CResultGrid::selectionRange(int *top, int *left, int *bottom, int *right) const
{
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return false;
    int t = INT_MAX, l = INT_MAX, b = -1, r = -1;
    for (const QItemSelectionRange &range : selection) {
        t = qMin(t, range.top());
        l = qMin(l, range.left());
        b = qMax(b, range.bottom());
        r = qMax(r, range.right());
    }
    *top = t;
    *left = l;
    *bottom = b;
    *right = r;
    return true;
}

bool CResultGrid::hasSelectedCells() const
{
    return selectionModel() && selectionModel()->hasSelection();
}

void CResultGrid::selectCells(int top, int left, int bottom, int right)
{
    const QItemSelection selection(m_model->index(top, left), m_model->index(bottom, right));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(m_model->index(top, left), QItemSelectionModel::NoUpdate);
}

void CResultGrid::selectWholeRow(int row)
{
    selectCells(row, 0, row, m_model->columnCount() - 1);
}

void CResultGrid::selectWholeColumn(int col)
{
    selectCells(0, col, m_model->rowCount() - 1, col);
}

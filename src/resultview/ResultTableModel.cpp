#include "ResultTableModel.h"

#include "GridImages.h"

#include "platform/AppSettings.h"
#include "results/CResultData.h"

#include <QColor>
#include <QFont>

ResultTableModel::ResultTableModel(std::shared_ptr<CResultData> data, QObject *parent)
    : QAbstractTableModel(parent)
    , m_data(std::move(data))
{
}

void ResultTableModel::setLoaded()
{
    beginResetModel();
    m_loaded = true;
    m_rows = m_data->GetDisplayRowCount();
    m_columns = m_data->GetColumnCount();
    endResetModel();
}

void ResultTableModel::refresh()
{
    if (!m_loaded)
        return;
    const int rows = m_data->GetDisplayRowCount();
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (m_rows > 0 && m_columns > 0)
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, 0, qMax(0, m_rows - 1));
}

int ResultTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ResultTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

ResultTableModel::CellLook ResultTableModel::lookOf(int flags, const QString &text)
{
    const AppSettings &settings = AppSettings::instance();
    CellLook look;
    const auto background = [&look](ColorRef colour) {
        look.background = colour.color();
        look.bold = look.bold || colour.bold();
    };
    const auto foreground = [&look](ColorRef colour) {
        look.foreground = colour.color();
        look.bold = look.bold || colour.bold();
    };
    if ((flags & CResultData::RowModified) && !(flags & CResultData::RowUnchanged))
        background(settings.rsModifiedColor);
    if (flags & CResultData::RowDeleted)
        background(settings.rsDeletedColor);
    if (flags & CResultData::RowInserted)
        background(settings.rsInsertedColor);
    if (flags & CResultData::CellExcludedFlag) {
        background(settings.rsAutoBgColor);
        foreground(settings.rsAutoColor);
    } else if (flags & CResultData::CellFunctionFlag) {
        foreground(settings.rsCellFuncColor);
    }
    if (flags == 0 || (flags & CResultData::RowUnchanged))
        background(settings.rsCellColor);
    if (CResultData::IsMarker(text))
        foreground(settings.rsNullColor);
    return look;
}

QVariant ResultTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole: {
        QString text;
        m_data->GetCell(row, col, &text);
        return CResultData::DisplayText(text);
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::FontRole: {
        QString text;
        const int flags = m_data->GetCell(row, col, &text);
        const CellLook look = lookOf(flags, text);
        if (role == Qt::BackgroundRole)
            return look.background.isValid() ? QVariant(look.background) : QVariant();
        if (role == Qt::ForegroundRole)
            return look.foreground.isValid() ? QVariant(look.foreground) : QVariant();
        if (!look.bold)
            return {};
        QFont font;
        font.setWeight(QFont::Bold);
        return font;
    }
    case Qt::TextAlignmentRole:
        if (m_data->GetColumnInfo(col).isNumeric())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

void ResultTableModel::setSortIndicator(int column, bool ascending)
{
    m_sortColumn = column;
    m_sortAscending = ascending;
    if (m_columns > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

int ResultTableModel::rowImage(int row) const
{
    const int state = m_data->GetRowState(row);
    if (state == CResultData::RowUnchanged)
        return 1;
    if (state & CResultData::RowDeleted)
        return 4;
    if (state & CResultData::RowInserted)
        return 3;
    if (state & CResultData::RowModified)
        return 2;
    return 1;
}

int ResultTableModel::columnImage(int column) const
{
    const int key = m_data->IsKeyColumn(m_data->GetColumnName(column)) ? 2 : 0;
    if (column == m_sortColumn)
        return (m_sortAscending ? 5 : 6) + key;
    return key ? 0 : -1;
}

int ResultTableModel::cornerImage() const
{
    switch (m_data->GetEditMode()) {
    case 14: return 0;
    case 4: return 2;
    default: return 1;
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == ImageRole || role == Qt::DecorationRole) {
        if (orientation == Qt::Horizontal && section >= m_columns)
            return {};
        if (orientation == Qt::Vertical && section >= m_rows)
            return {};
        const int image = orientation == Qt::Horizontal ? columnImage(section) : rowImage(section);
        if (role == ImageRole)
            return image;
        const QIcon icon = orientation == Qt::Horizontal ? GridImages::columnImage(image)
                                                         : GridImages::rowImage(image);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section < m_columns ? m_data->GetColumnName(section) : QString();
    return section < m_rows ? m_data->GetRowNumberText(section) : QString();
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (!index.isValid() || !m_data->IsCellWritable(index.row(), index.column()))
        return result;
    // A result that only takes new rows (a table without a primary key) still needs their
    // values typed in.
    const bool newRow = (m_data->GetRowState(index.row()) & CResultData::RowInserted)
        && (m_data->GetEditMode() & CResultData::EditInsert);
    if (m_editable || newRow)
        result |= Qt::ItemIsEditable;
    return result;
}

bool ResultTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString())
        return false; // an edit that types nothing new changes nothing
    Q_EMIT editGroupBegun();
    m_data->BeginUndoGroup();
    const bool changed =
        m_data->SetCell(index.row(), index.column(), text, CResultData::MarkPlain, false);
    m_data->EndUndoGroup();
    Q_EMIT editGroupEnded();
    if (changed) {
        Q_EMIT dataChanged(this->index(index.row(), 0), this->index(index.row(), m_columns - 1));
        Q_EMIT headerDataChanged(Qt::Vertical, index.row(), index.row());
    }
    return changed;
}

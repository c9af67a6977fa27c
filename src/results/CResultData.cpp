#include "CResultData.h"

#include "db/FieldText.h"
#include "platform/AppSettings.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {
// Code units per arena chunk (1 MiB); a row longer than that gets a chunk of its own.
constexpr qsizetype ChunkUnits = 512 * 1024;

quint32 readEnd(const char16_t *block, int col)
{
    return quint32(block[2 * col]) | (quint32(block[2 * col + 1]) << 16);
}

void writeEnd(char16_t *block, int col, quint32 end)
{
    block[2 * col] = char16_t(end & 0xffff);
    block[2 * col + 1] = char16_t(end >> 16);
}
} // namespace

CResultData::CResultData() = default;
CResultData::~CResultData() = default;

// ---- loading -----------------------------------------------------------------------------

void CResultData::SetSession(CADODatabase *session, bool isJet)
{
    m_session = session;
    m_quote = isJet ? QLatin1Char('"') : QLatin1Char('\'');
}

void CResultData::BeginColumns(int count)
{
    count = qMax(0, count);
    m_columnNames.clear();
    m_columns.assign(size_t(count), ResultColumn{});
    m_chunks.clear();
    m_rows.clear();
    m_order.clear();
    m_changes.clear();
    m_changeIndex.clear();
    m_insertedCount = 0;
    m_editMode = -1;
    m_objectInfoDone = false;
}

void CResultData::AddColumnName(const QString &name)
{
    if (m_columnNames.size() < qsizetype(m_columns.size()))
        m_columnNames.append(name);
}

void CResultData::SetColumnInfo(int col, const ResultColumn &info)
{
    if (col >= 0 && size_t(col) < m_columns.size())
        m_columns[size_t(col)] = info;
}

char16_t *CResultData::reserveRow(qsizetype units)
{
    if (m_chunks.empty() || m_chunks.back().capacity - m_chunks.back().used < size_t(units)) {
        Chunk chunk;
        chunk.capacity = size_t(qMax(units, ChunkUnits));
        chunk.data = std::make_unique_for_overwrite<char16_t[]>(chunk.capacity);
        m_chunks.push_back(std::move(chunk));
    }
    Chunk &chunk = m_chunks.back();
    const size_t offset = chunk.used;
    chunk.used += size_t(units);
    m_rows.push_back({quint32(m_chunks.size() - 1), quint32(offset)});
    m_order.push_back(int(m_rows.size() - 1));
    return chunk.data.get() + offset;
}

void CResultData::AddRow(const QStringList &cells)
{
    RowBuffer buffer;
    const int n = GetColumnCount();
    for (int c = 0; c < n; ++c) {
        if (c < cells.size())
            buffer.text += cells.at(c);
        buffer.ends.push_back(qint32(buffer.text.size()));
    }
    AddRow(buffer);
}

void CResultData::AddRow(const RowBuffer &buffer)
{
    const int n = GetColumnCount();
    const qsizetype header = 2 * qsizetype(n);
    char16_t *block = reserveRow(header + buffer.text.size());
    qint32 last = 0;
    for (int c = 0; c < n; ++c) {
        if (size_t(c) < buffer.ends.size())
            last = qBound<qint32>(last, buffer.ends[size_t(c)], qint32(buffer.text.size()));
        writeEnd(block, c, quint32(last));
    }
    if (!buffer.text.isEmpty())
        std::memcpy(block + header, buffer.text.utf16(), size_t(buffer.text.size()) * 2);
}

void CResultData::SetColumnWidths(const QList<int> &widths)
{
    for (size_t c = 0; c < m_columns.size() && qsizetype(c) < widths.size(); ++c)
        m_columns[c].width = widths.at(qsizetype(c));
}

int CResultData::InitialDisplayWidth(const QString &name, int type)
{
    int width = int(name.size());
    if (type == 128 || type == 204 || type == 205)
        width = qMax(width, int(AppSettings::instance().binaryData.size()));
    else if (type == 12 || type == 138)
        width = qMax(width, int(AppSettings::instance().variantData.size()));
    return width;
}

int CResultData::DisplayWidthOf(QStringView text, int nullWidth)
{
    if (text == QStringView(NullMarker))
        return nullWidth;
    return int(text.size());
}

// ---- queries -----------------------------------------------------------------------------

ResultColumn CResultData::GetColumnInfo(int col) const
{
    if (col < 0 || size_t(col) >= m_columns.size())
        return {};
    return m_columns[size_t(col)];
}

int CResultData::FindColumn(const QString &name) const
{
    for (int c = 0; c < m_columnNames.size(); ++c) {
        if (m_columnNames.at(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int CResultData::KeyOfRow(int displayRow) const
{
    if (displayRow >= 0 && size_t(displayRow) < m_order.size())
        return m_order[size_t(displayRow)];
    return displayRow;
}

QStringView CResultData::FetchedText(int key, int col) const
{
    if (key < 0 || size_t(key) >= m_rows.size() || col < 0 || col >= GetColumnCount())
        return {};
    const RowRef ref = m_rows[size_t(key)];
    const char16_t *block = m_chunks[ref.chunk].data.get() + ref.offset;
    const quint32 start = col == 0 ? 0 : readEnd(block, col - 1);
    const quint32 end = readEnd(block, col);
    return QStringView(block + 2 * GetColumnCount() + start, qsizetype(end - start));
}

QStringList CResultData::fetchedRow(int key) const
{
    QStringList cells;
    const int n = GetColumnCount();
    cells.reserve(n);
    for (int c = 0; c < n; ++c)
        cells.append(FetchedText(key, c).toString());
    return cells;
}

int CResultData::changeIndex(int key) const
{
    if (m_changes.isEmpty())
        return -1; // the common case while painting and sorting: no lookup at all
    return m_changeIndex.value(key, -1);
}

void CResultData::rebuildChangeIndex()
{
    m_changeIndex.clear();
    for (int i = 0; i < m_changes.size(); ++i)
        m_changeIndex.insert(m_changes.at(i).key, i);
}

int CResultData::GetCell(int displayRow, int col, QString *text) const
{
    const int key = KeyOfRow(displayRow);
    const int index = changeIndex(key);
    if (index < 0) {
        if (text)
            *text = FetchedText(key, col).toString();
        return RowUnchanged;
    }
    const ChangeRecord &change = m_changes.at(index);
    if (col < 0 || col >= change.texts.size()) {
        if (text)
            text->clear();
        return change.state;
    }
    const QString &t = change.texts.at(col);
    const int m = change.marks.at(col);
    int flags = change.state;
    if ((flags & RowModified) && !(flags & (RowDeleted | RowInserted)) && m == MarkPlain
        && key < GetFetchedRowCount() && QStringView(t) == FetchedText(key, col))
        flags |= RowUnchanged;
    if (m == MarkExcluded)
        flags |= CellExcludedFlag;
    else if (m == MarkFunction)
        flags |= CellFunctionFlag;
    if (text)
        *text = t;
    return flags;
}

QString CResultData::GetCellText(int displayRow, int col) const
{
    QString text;
    GetCell(displayRow, col, &text);
    return text;
}

int CResultData::GetRowState(int displayRow) const
{
    const int index = changeIndex(KeyOfRow(displayRow));
    return index < 0 ? int(RowUnchanged) : m_changes.at(index).state;
}

QString CResultData::GetRowNumberText(int displayRow) const
{
    return QString::number(KeyOfRow(displayRow) + 1);
}

bool CResultData::IsKeyColumn(const QString &name) const
{
    return m_keyColumns.contains(name, Qt::CaseInsensitive);
}

bool CResultData::HasAllKeys() const
{
    if (m_keyColumns.isEmpty())
        return false;
    QStringList distinct;
    for (const QString &name : m_columnNames) {
        if (!distinct.contains(name, Qt::CaseInsensitive))
            distinct.append(name);
    }
    int count = 0;
    for (const QString &name : distinct) {
        if (IsKeyColumn(name))
            ++count;
    }
    return count >= m_keyColumns.size();
}

int CResultData::GetEditMode() const
{
    if (m_editMode < 0) {
        if (!m_tableName.isEmpty() && m_objectType == QLatin1String("TABLE")) {
            if (HasAllKeys())
                m_editMode = EditUpdate | EditInsert | EditDelete;
            else if (m_keyColumns.isEmpty())
                m_editMode = EditInsert;
            else
                m_editMode = EditReadOnly;
        } else {
            m_editMode = EditReadOnly;
        }
    }
    return m_editMode;
}

QString CResultData::EditModeName(int mode)
{
    switch (mode) {
    case 0: return QStringLiteral("不明");
    case 1: return QStringLiteral("読取専用");
    case 2: return QStringLiteral("編集のみ");
    case 4: return QStringLiteral("追加のみ");
    case 8: return QStringLiteral("削除のみ");
    case 14: return QStringLiteral("編集可");
    default: return QString();
    }
}

QString CResultData::GetEditModeText() const
{
    return EditModeName(GetEditMode());
}

QString CResultData::GetObjectInfo() const
{
    if (!m_objectInfoDone) {
        QString type = m_objectType;
        if (type == QLatin1String("TABLE"))
            type = QStringLiteral("テーブル");
        else if (type == QLatin1String("VIEW"))
            type = QStringLiteral("ビュー");
        else if (type == QLatin1String("PROC"))
            type = QStringLiteral("プロシージャ");
        m_objectInfo = QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ：  %1\r\n種　　類：  %2\r\nデータ数：  %3\r\n"
                                      "編集可能：  %4\r\n")
                           .arg(m_tableName.isEmpty() ? QStringLiteral("不明") : m_tableName,
                                type, QString::number(GetFetchedRowCount()),
                                GetEditModeText());
        m_objectInfoDone = true;
    }
    return m_objectInfo;
}

bool CResultData::IsColumnWritable(int col) const
{
    return col >= 0 && size_t(col) < m_columns.size() && m_columns[size_t(col)].writable;
}

bool CResultData::IsCellWritable(int displayRow, int col) const
{
    if (GetRowState(displayRow) & RowDeleted)
        return false;
    return IsColumnWritable(col);
}

QString CResultData::DisplayText(const QString &text)
{
    if (text.size() == 6 && text.at(0).unicode() == 1) {
        if (text == NullMarker)
            return AppSettings::instance().nullData;
        if (text == VariantMarker)
            return AppSettings::instance().variantData;
        if (text == BinaryMarker)
            return AppSettings::instance().binaryData;
    }
    return text;
}

bool CResultData::IsMarker(QStringView text)
{
    return text.size() == 6 && text.at(0).unicode() == 1
        && (text == QStringView(NullMarker) || text == QStringView(VariantMarker)
            || text == QStringView(BinaryMarker));
}

// ---- edits -------------------------------------------------------------------------------

void CResultData::record(const UndoEntry &entry, bool noUndo)
{
    if (!noUndo)
        m_undoGroup.entries.append(entry);
}

void CResultData::BeginUndoGroup()
{
    m_undoGroup.entries.clear();
    m_redoStack.clear();
}

void CResultData::EndUndoGroup()
{
    if (!m_undoGroup.isEmpty()) {
        m_undoStack.append(m_undoGroup);
        m_undoGroup.entries.clear();
    }
}

bool CResultData::SetCell(int row, int col, const QString &text, int mark, bool noUndo,
                          bool rowIsKey)
{
    if (col < 0 || col >= GetColumnCount() || mark < MarkPlain || mark > MarkRestoreFunction)
        return false;
    QString value = text;
    if (value == AppSettings::instance().nullData)
        value = NullMarker;
    const int key = rowIsKey ? row : KeyOfRow(row);

    static const int kinds[] = {UndoEntry::ValueSet, UndoEntry::CellExcluded,
                                UndoEntry::FunctionSet, UndoEntry::ExclusionRemoved,
                                UndoEntry::FunctionRemoved};
    UndoEntry entry;
    entry.kind = kinds[mark];
    entry.key = key;
    entry.column = col;
    entry.newText = value;

    const int stored = (mark == MarkRestoreExcluded || mark == MarkRestoreFunction) ? MarkPlain
                                                                                     : mark;
    const int index = changeIndex(key);
    if (index >= 0) {
        ChangeRecord &change = m_changes[index];
        const int old = change.marks.at(col);
        if ((mark == MarkExcluded || mark == MarkFunction) && mark == old)
            return false;
        if (mark == MarkRestoreExcluded && old != MarkExcluded)
            return false;
        if (mark == MarkRestoreFunction && old != MarkFunction)
            return false;
        entry.oldText = change.texts.at(col);
        entry.oldMark = old;
        change.texts[col] = value;
        change.marks[col] = quint8(stored);
        change.state |= RowModified;
    } else {
        if (mark == MarkRestoreExcluded || mark == MarkRestoreFunction)
            return false;
        if (key < 0 || key >= GetFetchedRowCount())
            return false;
        ChangeRecord change;
        change.key = key;
        change.texts = fetchedRow(key);
        change.marks = QList<quint8>(GetColumnCount(), quint8(MarkPlain));
        entry.oldText = change.texts.at(col);
        change.texts[col] = value;
        change.marks[col] = quint8(stored);
        change.state = RowModified;
        m_changes.append(change);
        m_changeIndex.insert(key, int(m_changes.size() - 1));
    }
    entry.newMark = stored;
    record(entry, noUndo);
    return true;
}

bool CResultData::DeleteRow(int displayRow, bool noUndo)
{
    const int key = KeyOfRow(displayRow);
    const int index = changeIndex(key);
    if (index < 0) {
        if (key < 0 || key >= GetFetchedRowCount())
            return false;
        ChangeRecord change;
        change.key = key;
        change.texts = fetchedRow(key);
        change.marks = QList<quint8>(GetColumnCount(), quint8(MarkPlain));
        change.state = RowDeleted;
        m_changes.append(change);
        m_changeIndex.insert(key, int(m_changes.size() - 1));
    } else {
        ChangeRecord &change = m_changes[index];
        if (change.state & RowInserted) {
            if (!noUndo) {
                for (int c = 0; c < change.texts.size(); ++c) {
                    UndoEntry entry;
                    entry.kind = UndoEntry::ValueSet;
                    entry.key = key;
                    entry.column = c;
                    entry.oldText = change.texts.at(c);
                    entry.oldMark = change.marks.at(c);
                    m_undoGroup.entries.append(entry);
                }
                UndoEntry removed;
                removed.kind = UndoEntry::RowDeleted;
                removed.key = key;
                m_undoGroup.entries.append(removed);
            }
            m_changes.removeAt(index);
            --m_insertedCount;
            for (ChangeRecord &other : m_changes) {
                if (other.key > key)
                    --other.key;
            }
            rebuildChangeIndex();
            return true;
        }
        if (change.state == RowDeleted)
            return true; // deleted and never edited: stays as it is
        if (change.state & RowDeleted)
            return true; // already deleted after an edit: nothing changes
        change.state |= RowDeleted;
    }
    UndoEntry entry;
    entry.kind = UndoEntry::RowDeleted;
    entry.key = key;
    record(entry, noUndo);
    return true;
}

QStringList CResultData::newRowCells() const
{
    QStringList cells;
    for (const ResultColumn &column : m_columns) {
        if (column.isNumeric())
            cells.append(column.nullable ? NullMarker : QStringLiteral("0"));
        else
            cells.append(column.nullable && !column.writable ? NullMarker : QString());
    }
    return cells;
}

void CResultData::InsertRow(int key, bool noUndo)
{
    ChangeRecord change;
    change.key = key;
    change.texts = newRowCells();
    change.marks = QList<quint8>(GetColumnCount(), quint8(MarkPlain));
    change.state = RowInserted;
    const int index = changeIndex(key);
    if (index >= 0) {
        for (ChangeRecord &other : m_changes) {
            if ((other.state & RowInserted) && other.key >= key)
                ++other.key;
        }
        m_changes.insert(index, change);
    } else {
        m_changes.append(change);
    }
    rebuildChangeIndex();
    ++m_insertedCount;
    UndoEntry entry;
    entry.kind = UndoEntry::RowInserted;
    entry.key = key;
    record(entry, noUndo);
}

void CResultData::AddRows(int count)
{
    BeginUndoGroup();
    for (int i = 0; i < count; ++i)
        InsertRow(GetFetchedRowCount() + m_insertedCount, false);
    EndUndoGroup();
}

void CResultData::ClearChanges()
{
    m_changes.clear();
    m_changeIndex.clear();
    m_insertedCount = 0;
}

bool CResultData::SetDisplayOrder(std::vector<int> order)
{
    if (order.size() != m_rows.size())
        return false;
    std::vector<bool> seen(order.size(), false);
    for (int key : order) {
        if (key < 0 || size_t(key) >= seen.size() || seen[size_t(key)])
            return false;
        seen[size_t(key)] = true;
    }
    m_order = std::move(order);
    return true;
}

void CResultData::ReplaceFetchedRow(int key, const QStringList &cells)
{
    if (key < 0 || size_t(key) >= m_rows.size())
        return;
    // The new values go to the end of the arena; the row index points there instead.
    AddRow(cells);
    m_rows[size_t(key)] = m_rows.back();
    m_rows.pop_back();
    m_order.pop_back();
    m_objectInfoDone = false;
}

void CResultData::RemoveFetchedRows(QList<int> keys)
{
    std::sort(keys.begin(), keys.end(), std::greater<int>());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (int key : std::as_const(keys)) {
        if (key < 0 || size_t(key) >= m_rows.size())
            continue;
        m_rows.erase(m_rows.begin() + key);
        std::vector<int> order;
        order.reserve(m_order.size() - 1);
        for (int k : m_order) {
            if (k != key)
                order.push_back(k > key ? k - 1 : k);
        }
        m_order = std::move(order);
    }
    m_objectInfoDone = false;
}

qint64 CResultData::MemoryUsage() const
{
    qint64 bytes = 0;
    for (const Chunk &chunk : m_chunks)
        bytes += qint64(chunk.capacity) * 2;
    bytes += qint64(m_rows.capacity()) * qint64(sizeof(RowRef));
    bytes += qint64(m_order.capacity()) * qint64(sizeof(int));
    return bytes;
}

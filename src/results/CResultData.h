#pragma once

#include "CRsvUndoFrame.h"
#include "ResultColumn.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

class CADODatabase;

// One result set as the grid shows it and the user edits it: columns with descriptors, the
// fetched rows as text, the display order, and the pending changes.
//
// Fetched rows are kept compactly: each row is one block in a chunked arena of UTF-16 code
// units, the block starting with the end offset of every cell (two code units each) followed
// by the cells' text. A cell therefore costs four bytes plus its text.
//
// Filled on the fetch worker (the loading operations, in order) while nothing reads it; after
// loading every operation is called on the UI thread only.
class CResultData
{
public:
    // Cell marks, and the two restore requests that SetCell accepts but never stores.
    enum Mark : int {
        MarkPlain = 0,
        MarkExcluded = 1,
        MarkFunction = 2,
        MarkRestoreExcluded = 3,
        MarkRestoreFunction = 4,
    };
    // Row-state bits of a change record; 1 stands for a row without one.
    enum RowState : int {
        RowUnchanged = 1,
        RowModified = 2,
        RowDeleted = 4,
        RowInserted = 8,
    };
    // Cell flags beyond the row-state bits.
    enum CellFlag : int { CellExcludedFlag = 0x20, CellFunctionFlag = 0x40 };
    // Edit-mode bits.
    enum EditBits : int { EditReadOnly = 1, EditUpdate = 2, EditInsert = 4, EditDelete = 8 };

    // A row being read: the cells' texts one after another, and the end of each cell.
    struct RowBuffer
    {
        QString text;
        std::vector<qint32> ends;
        void clear()
        {
            text.resize(0);
            ends.clear();
        }
    };

    struct ChangeRecord
    {
        int key = 0;
        QStringList texts;
        QList<quint8> marks;
        int state = RowModified;
        // 5 once a write-back could not re-read the row.
        int stateMark = 0;
    };

    CResultData();
    ~CResultData();
    CResultData(const CResultData &) = delete;
    CResultData &operator=(const CResultData &) = delete;

    // ---- loading (fetch worker, in this order) ----
    // isJet selects the double quote as literal quote (the apostrophe otherwise).
    void SetSession(CADODatabase *session, bool isJet = false);
    void BeginColumns(int count);
    void SetTableName(const QString &name) { m_tableName = name; }
    void SetObjectType(const QString &type) { m_objectType = type; }
    void SetKeyColumns(const QStringList &keys) { m_keyColumns = keys; }
    void AddColumnName(const QString &name);
    void SetColumnInfo(int col, const ResultColumn &info);
    void AddRow(const QStringList &cells);
    // Appends the row in buffer (ends must hold one end per column).
    void AddRow(const RowBuffer &buffer);
    void SetColumnWidths(const QList<int> &widths);

    // The display width a column starts with: its name, at least "<Binary>" for binary and
    // "<Variant>" for variant types.
    static int InitialDisplayWidth(const QString &name, int type);
    // The width a value needs (a NULL counts as the NULL display text).
    static int DisplayWidthOf(QStringView text, int nullWidth);

    // ---- queries ----
    int GetColumnCount() const { return int(m_columns.size()); }
    QString GetColumnName(int col) const { return m_columnNames.value(col); }
    const QStringList &GetColumnNames() const { return m_columnNames; }
    ResultColumn GetColumnInfo(int col) const;
    int FindColumn(const QString &name) const;

    int GetFetchedRowCount() const { return int(m_order.size()); }
    int GetInsertedRowCount() const { return m_insertedCount; }
    int GetDisplayRowCount() const { return GetFetchedRowCount() + m_insertedCount; }

    // The key of a display row (rows beyond the display order are inserted rows).
    int KeyOfRow(int displayRow) const;
    // Text and flags of a cell.
    int GetCell(int displayRow, int col, QString *text) const;
    QString GetCellText(int displayRow, int col) const;
    // The fetched text of a fetched row by key, without copying.
    QStringView FetchedText(int key, int col) const;
    int GetRowState(int displayRow) const;
    QString GetRowNumberText(int displayRow) const;

    bool IsKeyColumn(const QString &name) const;
    bool HasAllKeys() const;
    int GetEditMode() const;
    QString GetEditModeText() const;
    static QString EditModeName(int mode);
    QString GetObjectInfo() const;
    bool IsColumnWritable(int col) const;
    bool IsCellWritable(int displayRow, int col) const;
    bool HasChanges() const { return !m_changes.isEmpty(); }

    QString GetTableName() const { return m_tableName; }
    QString GetObjectType() const { return m_objectType; }
    const QStringList &GetKeyColumns() const { return m_keyColumns; }
    CADODatabase *GetSession() const { return m_session; }
    QChar LiteralQuote() const { return m_quote; }
    const QList<ChangeRecord> &Changes() const { return m_changes; }

    // The text a view shows for a stored text: the markers become the NULL, variant and
    // binary display texts.
    static QString DisplayText(const QString &text);
    static bool IsMarker(QStringView text);

    // ---- edits (UI thread) ----
    bool SetCell(int row, int col, const QString &text, int mark, bool noUndo,
                 bool rowIsKey = false);
    bool DeleteRow(int displayRow, bool noUndo);
    void InsertRow(int key, bool noUndo);
    void AddRows(int count);
    void ClearChanges();

    // Undo history: one command's edits form one step.
    void BeginUndoGroup();
    void EndUndoGroup();
    const CRsvUndoFrame &UndoGroup() const { return m_undoGroup; }
    QList<CRsvUndoFrame> &UndoStack() { return m_undoStack; }
    QList<CRsvUndoFrame> &RedoStack() { return m_redoStack; }

    // The display order: display row i shows fetched row GetDisplayOrder()[i]. Sorting sets
    // a new order, which must hold every fetched key once (false and unchanged otherwise).
    const std::vector<int> &GetDisplayOrder() const { return m_order; }
    bool SetDisplayOrder(std::vector<int> order);

    // Changes to the fetched rows themselves, for a write-back that made the database match:
    // a row's values replaced, and fetched rows removed (every key above a removed one
    // decreases by one; the display order follows). AddRow appends one.
    void ReplaceFetchedRow(int key, const QStringList &cells);
    void RemoveFetchedRows(QList<int> keys);

    // Bytes held by the fetched rows (arena, row index and display order).
    qint64 MemoryUsage() const;

private:
    struct RowRef
    {
        quint32 chunk;
        quint32 offset;
    };

    int changeIndex(int key) const;
    void rebuildChangeIndex();
    QStringList fetchedRow(int key) const;
    QStringList newRowCells() const;
    char16_t *reserveRow(qsizetype units);
    void record(const UndoEntry &entry, bool noUndo);

    CADODatabase *m_session = nullptr;
    QChar m_quote = QLatin1Char('\'');
    QStringList m_columnNames;
    std::vector<ResultColumn> m_columns;
    QString m_tableName;
    QString m_objectType;
    QStringList m_keyColumns;

    struct Chunk
    {
        std::unique_ptr<char16_t[]> data; // not zero-filled: rows are copied in whole
        size_t used = 0;
        size_t capacity = 0;
    };
    std::vector<Chunk> m_chunks;
    std::vector<RowRef> m_rows;
    std::vector<int> m_order;

    QList<ChangeRecord> m_changes;
    QHash<int, int> m_changeIndex; // key -> index in m_changes
    int m_insertedCount = 0;

    mutable int m_editMode = -1;
    mutable QString m_objectInfo;
    mutable bool m_objectInfoDone = false;

    CRsvUndoFrame m_undoGroup;
    QList<CRsvUndoFrame> m_undoStack;
    QList<CRsvUndoFrame> m_redoStack;
};

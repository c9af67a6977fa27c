#pragma once

#include <QList>
#include <QString>

// One recorded change of result data.
struct UndoEntry
{
    enum Kind : qint32 {
        RowInserted = 1,
        RowDeleted = 2,
        ValueSet = 4,
        CellExcluded = 12,
        FunctionSet = 20,
        ExclusionRemoved = 36,
        FunctionRemoved = 68,
    };

    qint32 kind = ValueSet;
    qint32 key = 0;
    qint32 column = 0;
    QString oldText;
    QString newText;
    qint32 oldMark = 0;
    qint32 newMark = 0;
};

// One undo step: the entries of one user command, in the order they were recorded.
class CRsvUndoFrame
{
public:
    virtual ~CRsvUndoFrame() = default;

    QList<UndoEntry> entries;

    bool isEmpty() const { return entries.isEmpty(); }
};

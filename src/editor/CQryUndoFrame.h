#pragma once

#include <QList>
#include <QString>

// One text change: [start, end) held textBefore and was replaced by textAfter, which now
// occupies [newStart, newEnd). Positions count one character per line break (the editor's
// document positions); the texts hold "\n" line breaks.
struct EditorChange
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype newStart = 0;
    qsizetype newEnd = 0;
    QString textBefore;
    QString textAfter;

    // The change that takes the text back.
    EditorChange reversed() const { return {newStart, newEnd, start, end, textAfter, textBefore}; }
    bool operator==(const EditorChange &) const = default;
};

// One step of the editor's undo and redo history: the changes one user action made, in the
// order they were made (a replace all is one step of many changes).
class CQryUndoFrame
{
public:
    QList<EditorChange> changes;

    bool isEmpty() const { return changes.isEmpty(); }
    void clear() { changes.clear(); }
};

#pragma once

#include <QString>
#include <QStringList>

// An ordered array of symbols: one symbol list of the formatter.
class CSqlStrArray : public QStringList
{
public:
    CSqlStrArray() = default;

    // Splits a comma-separated list. Empty pieces are dropped; with trim each piece loses its
    // leading and trailing white space first (a piece empty after trimming is dropped too).
    // Without trim the pieces are kept as they are, so a space or a tab survives as a symbol.
    static CSqlStrArray Split(const QString &list, bool trim = true);
    // The whole text as the single element (nothing when it is empty).
    static CSqlStrArray Whole(const QString &symbol);
};

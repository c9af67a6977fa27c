#include "CSqlStrArray.h"

CSqlStrArray CSqlStrArray::Split(const QString &list, bool trim)
{
    CSqlStrArray result;
    for (const QString &raw : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString piece = trim ? raw.trimmed() : raw;
        if (!piece.isEmpty())
            result.append(piece);
    }
    return result;
}

CSqlStrArray CSqlStrArray::Whole(const QString &symbol)
{
    // An empty symbol would match at every position without consuming anything.
    CSqlStrArray result;
    if (!symbol.isEmpty())
        result.append(symbol);
    return result;
}

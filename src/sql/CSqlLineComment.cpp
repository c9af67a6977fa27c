#include "CSqlLineComment.h"

#include "CSqlItem.h"

CSqlLineComment::CSqlLineComment()
    : CSqlPickup(SQL_ITEM_LINE_COMMENT)
{
}

bool CSqlLineComment::PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result)
{
    const int found = PrefixSearch(position, limit);
    if (found < 0)
        return false;
    const qsizetype from = position + m_openSymbols.at(found).size();
    // Only the two-character pair ends the comment; a lone CR or LF belongs to it.
    const QStringView rest = QStringView(*m_text).sliced(from, limit - from);
    const qsizetype lineEnd = rest.indexOf(QLatin1String("\r\n"));
    const qsizetype end = lineEnd < 0 ? limit : from + lineEnd;

    result.openSymbol = m_openSymbols.at(found);
    result.closeSymbol.clear();
    result.start = position;
    result.end = end;
    result.matchText = QStringView(*m_text).sliced(position, end - position);
    result.kind = m_kind;
    result.closed = lineEnd >= 0;
    return true;
}

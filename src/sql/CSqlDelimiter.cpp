#include "CSqlDelimiter.h"

CSqlDelimiter::CSqlDelimiter(int kind, int single)
    : CSqlPickup(kind)
    , m_single(single)
{
}

bool CSqlDelimiter::PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result)
{
    const int found = PrefixSearch(position, limit);
    if (found < 0)
        return false;
    qsizetype end = position + m_openSymbols.at(found).size();
    if (!m_single) {
        for (int next; (next = PrefixSearch(end, limit)) >= 0;)
            end += m_openSymbols.at(next).size();
    }
    result.openSymbol = m_openSymbols.at(found);
    result.closeSymbol.clear();
    result.start = position;
    result.end = end;
    result.matchText = QStringView(*m_text).sliced(position, end - position);
    result.kind = m_kind;
    result.closed = true;
    return true;
}

#include "CSqlQuote.h"

#include "CSqlItem.h"

CSqlQuote::CSqlQuote()
    : CSqlPickup(SQL_ITEM_QUOTE)
{
}

bool CSqlQuote::PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result)
{
    const int found = PrefixSearch(position, limit);
    if (found < 0)
        return false;
    const QString &quote = m_foldedOpen.at(found);
    const qsizetype quoteLength = quote.size();

    // Every occurrence of the quote flips the toggle; the first other character seen while
    // the toggle is on ends the string just after the last quote.
    bool toggle = false;
    qsizetype candidate = position + quoteLength;
    qsizetype end = -1;
    for (qsizetype p = position + quoteLength; p < limit; ++p) {
        if (FoldedAt(*m_text, p, limit, quote)) {
            toggle = !toggle;
            candidate = p + quoteLength;
        } else if (toggle) {
            end = candidate;
            break;
        }
    }
    if (end < 0)
        end = toggle ? candidate : limit;

    result.openSymbol = m_openSymbols.at(found);
    result.closeSymbol.clear();
    result.start = position;
    result.end = end;
    result.matchText = QStringView(*m_text).sliced(position, end - position);
    result.kind = m_kind;
    result.closed = toggle;
    return true;
}

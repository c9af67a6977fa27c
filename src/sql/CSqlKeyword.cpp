#include "CSqlKeyword.h"

CSqlKeyword::CSqlKeyword(int kind)
    : CSqlPickup(kind)
{
}

bool CSqlKeyword::PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result)
{
    if (!m_text || position < 0 || position >= limit || limit > m_text->size())
        return false;
    const QStringView piece = QStringView(*m_text).sliced(position, limit - position);
    if (ExactSearch(piece) < 0)
        return false;
    result.openSymbol.clear();
    result.closeSymbol.clear();
    result.start = position;
    result.end = limit;
    result.matchText = piece;
    result.kind = m_kind;
    result.closed = true;
    return true;
}

bool CSqlKeyword::IsMatch(const QString &string, qsizetype position, qsizetype length) const
{
    if (position < 0 || position > string.size())
        return false;
    if (length < 0 || position + length > string.size())
        length = string.size() - position;
    return ExactSearch(QStringView(string).sliced(position, length)) >= 0;
}

bool CSqlKeyword::ContainsJoined(QStringView first, QStringView second) const
{
    const qsizetype length = first.size() + 1 + second.size();
    for (const QString &symbol : m_foldedOpen) {
        if (symbol.size() != length || symbol.at(first.size()) != QLatin1Char(' '))
            continue;
        if (FoldedEquals(first, symbol.first(first.size()))
            && FoldedEquals(second, symbol.sliced(first.size() + 1)))
            return true;
    }
    return false;
}

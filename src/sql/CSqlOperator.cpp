#include "CSqlOperator.h"

#include "CSqlItem.h"

CSqlOperator::CSqlOperator()
    : CSqlPickup(SQL_ITEM_OPERATOR)
{
}

bool CSqlOperator::IsOperatorText(QStringView piece)
{
    if (piece.isEmpty())
        return false;
    for (QChar ch : piece) {
        if (!IsOperatorChar(ch.unicode()))
            return false;
    }
    return true;
}

bool CSqlOperator::PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result)
{
    if (!m_text || position < 0 || position >= limit || limit > m_text->size())
        return false;
    const QStringView piece = QStringView(*m_text).sliced(position, limit - position);
    if (!IsOperatorText(piece))
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

bool CSqlOperator::IsMatch(const QString &string, qsizetype position, qsizetype length) const
{
    if (position < 0 || position > string.size())
        return false;
    if (length < 0 || position + length > string.size())
        length = string.size() - position;
    return IsOperatorText(QStringView(string).sliced(position, length));
}

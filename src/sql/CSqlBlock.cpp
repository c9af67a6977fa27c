#include "CSqlBlock.h"

#include <algorithm>

CSqlBlock::CSqlBlock(int kind, int nestable)
    : CSqlPickup(kind)
    , m_nestable(nestable)
{
}

void CSqlBlock::Invalidate()
{
    m_index.clear();
}

bool CSqlBlock::PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result)
{
    const int found = PrefixSearch(position, limit, m_closeSymbols.size());
    if (found < 0)
        return false;
    const qsizetype end = ScanEnd(found, position, limit);
    result.openSymbol = m_openSymbols.at(found);
    result.closeSymbol = m_closeSymbols.at(found);
    result.start = position;
    result.closed = end >= 0 && end <= limit;
    result.end = result.closed ? end : limit;
    result.matchText = QStringView(*m_text).sliced(position, result.end - position);
    result.kind = m_kind;
    return true;
}

qsizetype CSqlBlock::ScanLiterally(int pair, qsizetype position, qsizetype limit) const
{
    const QString &open = m_foldedOpen.at(pair);
    const QString &close = m_foldedClose.at(pair);
    int depth = 1;
    for (qsizetype p = position + open.size(); p < limit; ++p) {
        if (FoldedAt(*m_text, p, limit, open)) {
            ++depth;
        } else if (FoldedAt(*m_text, p, limit, close)) {
            if (!m_nestable || depth == 1)
                return p + close.size();
            --depth;
        }
    }
    return -1;
}

qsizetype CSqlBlock::ScanEnd(int pair, qsizetype position, qsizetype limit)
{
    // A construct that does not nest ends at the first closing symbol: scanning it costs
    // no more than the construct itself.
    if (!m_nestable)
        return ScanLiterally(pair, position, limit);
    if (m_index.size() != size_t(m_closeSymbols.size()))
        m_index.assign(m_closeSymbols.size(), PairIndex());
    PairIndex &index = m_index[pair];
    if (!index.built)
        BuildIndex(pair);
    if (index.ambiguous)
        return ScanLiterally(pair, position, limit);
    const auto it = std::lower_bound(index.closing.begin(), index.closing.end(),
                                     std::make_pair(position, qsizetype(-1)));
    if (it == index.closing.end() || it->first != position)
        return -1;
    return it->second;
}

void CSqlBlock::BuildIndex(int pair)
{
    PairIndex &index = m_index[pair];
    index.built = true;
    index.ambiguous = false;
    index.closing.clear();
    const QString &text = *m_text;
    const QString &open = m_foldedOpen.at(pair);
    const QString &close = m_foldedClose.at(pair);
    const qsizetype length = text.size();
    const char16_t openFirst = open.at(0).unicode();
    const char16_t closeFirst = close.at(0).unicode();

    // A scan from one opening symbol tests every later position for the opening symbol
    // first and then for the closing one; a stack over the whole text sees the same matches
    // as long as no two matches overlap.
    std::vector<qsizetype> stack;
    qsizetype matchedUpTo = 0;
    const QChar *units = text.constData();
    for (qsizetype p = 0; p < length; ++p) {
        const char16_t folded = FoldUnit(units[p].unicode());
        if (folded != openFirst && folded != closeFirst)
            continue;
        if (FoldedAt(text, p, length, open)) {
            if (p < matchedUpTo)
                index.ambiguous = true;
            matchedUpTo = qMax(matchedUpTo, p + open.size());
            stack.push_back(p);
        } else if (FoldedAt(text, p, length, close)) {
            if (p < matchedUpTo)
                index.ambiguous = true;
            matchedUpTo = qMax(matchedUpTo, p + close.size());
            if (!stack.empty()) {
                index.closing.emplace_back(stack.back(), p + close.size());
                stack.pop_back();
            }
        }
        if (index.ambiguous) {
            index.closing.clear();
            return;
        }
    }
    std::sort(index.closing.begin(), index.closing.end());
}

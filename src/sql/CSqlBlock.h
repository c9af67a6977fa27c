#pragma once

#include "CSqlPickup.h"

#include <QList>
#include <utility>
#include <vector>

// Recognises a paired construct: a bracket pair, a field-marked name, or (as the base of the
// block comment) a comment with opening and closing markers. The n-th open symbol pairs with
// the n-th close symbol; an open symbol without a partner is ignored.
//
// With nestable 1 a further opening symbol inside raises the depth and the construct ends at
// the closing symbol that brings it back to zero. The closing position of every opening
// symbol in the text is found in one pass per pair and remembered, so recognising a bracket
// costs the same at any nesting depth (a bracket nested 100,000 deep would otherwise rescan
// its whole contents at every level).
class CSqlBlock : public CSqlPickup
{
public:
    explicit CSqlBlock(int kind = 8, int nestable = 1);

    bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result) override;

    int Nestable() const { return m_nestable; }

protected:
    void Invalidate() override;

    int m_nestable;

private:
    // The end of the construct opened by pair n at position: just after its closing symbol,
    // or -1 when it is never closed within the text.
    qsizetype ScanEnd(int pair, qsizetype position, qsizetype limit);
    qsizetype ScanLiterally(int pair, qsizetype position, qsizetype limit) const;

    struct PairIndex
    {
        bool built = false;
        // Matches of the pair overlap somewhere in the text, so the remembered positions
        // could differ from a scan that starts at one opening symbol: scan instead.
        bool ambiguous = false;
        std::vector<std::pair<qsizetype, qsizetype>> closing; // (open position, end), sorted
    };
    void BuildIndex(int pair);
    std::vector<PairIndex> m_index;
};

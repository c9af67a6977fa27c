#pragma once

#include "CSqlPickup.h"

// Recognises separators. With single 0 (spaces, tabs and line breaks) one item covers a whole
// run of symbols; with single 1 (the comma) every symbol is an item of its own.
class CSqlDelimiter : public CSqlPickup
{
public:
    explicit CSqlDelimiter(int kind = 5, int single = 0);

    bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result) override;

    int Single() const { return m_single; }

protected:
    int m_single;
};

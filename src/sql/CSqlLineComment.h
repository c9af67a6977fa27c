#pragma once

#include "CSqlPickup.h"

// Recognises a line comment: from its symbol up to, not including, the next CR LF.
class CSqlLineComment : public CSqlPickup
{
public:
    CSqlLineComment();

    bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result) override;
};

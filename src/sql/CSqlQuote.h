#pragma once

#include "CSqlPickup.h"

// Recognises a quoted string. A doubled quote inside the string does not end it.
class CSqlQuote : public CSqlPickup
{
public:
    CSqlQuote();

    bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result) override;
};

#pragma once

#include "CSqlPickup.h"

// Classifies a word by exact (case-insensitive) comparison with a symbol list.
class CSqlKeyword : public CSqlPickup
{
public:
    explicit CSqlKeyword(int kind);

    // Exact search of the range [position, limit) of the text.
    bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result) override;
    // Exact search of the string from position (length -1: to its end).
    bool IsMatch(const QString &string, qsizetype position = 0,
                 qsizetype length = -1) const override;

    bool Contains(QStringView piece) const { return ExactSearch(piece) >= 0; }
    // Does "first second" (joined by one space) equal a symbol? Builds no string.
    bool ContainsJoined(QStringView first, QStringView second) const;
};

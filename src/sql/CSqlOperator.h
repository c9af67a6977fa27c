#pragma once

#include "CSqlPickup.h"

// Classifies a word made only of operator characters: the ASCII punctuation from '!' to '/',
// from ':' to '@', from '[' to '`' and '{', '|', '}' (the underscore is one, the tilde not).
class CSqlOperator : public CSqlPickup
{
public:
    CSqlOperator();

    bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result) override;
    bool IsMatch(const QString &string, qsizetype position = 0,
                 qsizetype length = -1) const override;

    static bool IsOperatorChar(char16_t ch)
    {
        return (ch >= 0x21 && ch <= 0x2F) || (ch >= 0x3A && ch <= 0x40)
               || (ch >= 0x5B && ch <= 0x60) || (ch >= 0x7B && ch <= 0x7D);
    }
    // True for a non-empty piece made only of operator characters.
    static bool IsOperatorText(QStringView piece);
};

#pragma once

#include <QString>
#include <QStringView>

// What a pick-up recognised: the symbols found, the span [start, end) of the text it covers
// and the kind of item it makes.
struct SqlPickupResult
{
    QString openSymbol;  // the symbol found; empty for keywords-by-range and operators
    QString closeSymbol; // the closing symbol paired with openSymbol (paired constructs)
    qsizetype start = 0;
    qsizetype end = 0;   // exclusive
    // The text from start to end, a view into the text being cut (valid while that text is
    // unchanged). A view, because a bracket's match spans all its contents and copying them at
    // every nesting level would cost time growing with the square of the depth.
    QStringView matchText;
    int kind = 0;
    // For a paired construct: true when the closing symbol was found before the limit, false
    // when the construct simply ran to the limit.
    bool closed = false;
};

#pragma once

#include "CSqlStrArray.h"
#include "SqlPickupResult.h"

#include <QString>
#include <QStringView>
#include <vector>

// The base of the recognisers ("pick-ups"): one per kind of construct the tokenizer cuts out
// of the SQL text. A pick-up holds the symbols that start (and, for paired constructs, end)
// its construct and a non-owning pointer to the text being cut. Symbols are compared without
// regard to letter case (simple case folding of UTF-16 code units).
class CSqlPickup
{
public:
    explicit CSqlPickup(int kind = 1);
    virtual ~CSqlPickup();
    CSqlPickup(const CSqlPickup &) = delete;
    CSqlPickup &operator=(const CSqlPickup &) = delete;

    // Tries to recognise the construct at position of the text, looking no further than
    // limit; on success fills result and returns true. The base recognises everything and
    // fills nothing.
    virtual bool PickUp(qsizetype position, qsizetype limit, SqlPickupResult &result);
    // Tests a given string from position (length -1: to its end). The base accepts anything.
    virtual bool IsMatch(const QString &string, qsizetype position = 0,
                         qsizetype length = -1) const;

    // The text must outlive its use by the pick-up (the formatter owns it).
    virtual void SetSqlText(const QString *text);
    const QString *SqlText() const { return m_text; }

    // Replaces both symbol arrays.
    void SetSymbols(const CSqlStrArray &open, const CSqlStrArray &close = CSqlStrArray());
    const CSqlStrArray &OpenSymbols() const { return m_openSymbols; }
    const CSqlStrArray &CloseSymbols() const { return m_closeSymbols; }
    int Kind() const { return m_kind; }

    // Quick test: can any open symbol start with the code unit at position?
    bool MayStartAt(qsizetype position) const
    {
        return TestFirst(m_firstChars, FoldUnit(m_text->at(position).unicode()));
    }
    // ORs this pick-up's possible first code units into a bitmap of FoldedBitmapWords words.
    void AddFirstChars(std::vector<quint64> &bitmap) const;

    // Case folding of one UTF-16 code unit (surrogates fold to themselves). The table is
    // built on first use, so this works at any time, static initialisation included.
    static char16_t FoldUnit(char16_t unit)
    {
        static const char16_t *const table = BuildFoldTable();
        return table[unit];
    }
    static QString Fold(QStringView text);
    // Does the text at position begin with the (folded) symbol, ending at or before limit?
    static bool FoldedAt(const QString &text, qsizetype position, qsizetype limit,
                         const QString &foldedSymbol);
    // Case-insensitive equality of a piece of text with a folded symbol.
    static bool FoldedEquals(QStringView piece, const QString &foldedSymbol);

    static constexpr int FoldedBitmapWords = 65536 / 64;
    static bool TestFirst(const std::vector<quint64> &bitmap, char16_t folded)
    {
        return (bitmap[folded >> 6] >> (folded & 63)) & 1;
    }

protected:
    // Prefix search: the index of the first of openSymbols[0, usable) that the text at
    // position begins with (the whole symbol lying before limit), or -1. usable -1: all.
    int PrefixSearch(qsizetype position, qsizetype limit, qsizetype usable = -1) const;
    // Exact search: the index of the first open symbol equal to the piece, or -1.
    int ExactSearch(QStringView piece) const;
    // Called after the symbols or the text changed.
    virtual void Invalidate() {}

    const QString *m_text = nullptr;
    CSqlStrArray m_openSymbols;
    CSqlStrArray m_closeSymbols;
    int m_kind;
    QStringList m_foldedOpen;
    QStringList m_foldedClose;

private:
    static const char16_t *BuildFoldTable();
    std::vector<quint64> m_firstChars;
};

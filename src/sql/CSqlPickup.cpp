#include "CSqlPickup.h"

#include <QChar>

const char16_t *CSqlPickup::BuildFoldTable()
{
    static char16_t table[65536];
    for (int unit = 0; unit < 65536; ++unit) {
        const QChar ch(static_cast<char16_t>(unit));
        table[unit] = ch.isSurrogate() ? char16_t(unit) : ch.toCaseFolded().unicode();
    }
    return table;
}

CSqlPickup::CSqlPickup(int kind)
    : m_kind(kind)
    , m_firstChars(FoldedBitmapWords, 0)
{
}

CSqlPickup::~CSqlPickup() = default;

bool CSqlPickup::PickUp(qsizetype, qsizetype, SqlPickupResult &)
{
    return true;
}

bool CSqlPickup::IsMatch(const QString &, qsizetype, qsizetype) const
{
    return true;
}

void CSqlPickup::SetSqlText(const QString *text)
{
    m_text = text;
    Invalidate();
}

void CSqlPickup::SetSymbols(const CSqlStrArray &open, const CSqlStrArray &close)
{
    m_openSymbols = open;
    m_closeSymbols = close;
    m_foldedOpen.clear();
    m_foldedClose.clear();
    for (const QString &symbol : open)
        m_foldedOpen.append(Fold(symbol));
    for (const QString &symbol : close)
        m_foldedClose.append(Fold(symbol));
    std::fill(m_firstChars.begin(), m_firstChars.end(), 0);
    for (const QString &symbol : std::as_const(m_foldedOpen)) {
        const char16_t first = symbol.at(0).unicode();
        m_firstChars[first >> 6] |= quint64(1) << (first & 63);
    }
    Invalidate();
}

void CSqlPickup::AddFirstChars(std::vector<quint64> &bitmap) const
{
    for (int i = 0; i < FoldedBitmapWords; ++i)
        bitmap[i] |= m_firstChars[i];
}

QString CSqlPickup::Fold(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = QChar(FoldUnit(text[i].unicode()));
    return folded;
}

bool CSqlPickup::FoldedAt(const QString &text, qsizetype position, qsizetype limit,
                          const QString &foldedSymbol)
{
    const qsizetype length = foldedSymbol.size();
    if (length == 0 || position < 0 || position + length > limit)
        return false;
    const QChar *t = text.constData() + position;
    const QChar *s = foldedSymbol.constData();
    for (qsizetype i = 0; i < length; ++i) {
        if (FoldUnit(t[i].unicode()) != s[i].unicode())
            return false;
    }
    return true;
}

bool CSqlPickup::FoldedEquals(QStringView piece, const QString &foldedSymbol)
{
    if (piece.size() != foldedSymbol.size())
        return false;
    const QChar *s = foldedSymbol.constData();
    for (qsizetype i = 0; i < piece.size(); ++i) {
        if (FoldUnit(piece[i].unicode()) != s[i].unicode())
            return false;
    }
    return true;
}

int CSqlPickup::PrefixSearch(qsizetype position, qsizetype limit, qsizetype usable) const
{
    if (!m_text || position >= limit)
        return -1;
    if (!MayStartAt(position))
        return -1;
    const qsizetype count = usable < 0 ? m_foldedOpen.size()
                                       : qMin<qsizetype>(usable, m_foldedOpen.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (FoldedAt(*m_text, position, limit, m_foldedOpen.at(i)))
            return int(i);
    }
    return -1;
}

int CSqlPickup::ExactSearch(QStringView piece) const
{
    if (piece.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_foldedOpen.size(); ++i) {
        if (FoldedEquals(piece, m_foldedOpen.at(i)))
            return int(i);
    }
    return -1;
}

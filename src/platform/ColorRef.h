#pragma once

#include <QColor>
#include <QtGlobal>

// A stored colour: 0x00BBGGRR (red in the low byte) plus bit 28, which asks for bold text.
struct ColorRef
{
    static constexpr quint32 BoldFlag = 0x10000000;

    quint32 value = 0;

    constexpr ColorRef() = default;
    constexpr explicit ColorRef(quint32 v) : value(v) {}
    static constexpr ColorRef fromRgb(int r, int g, int b, bool bold = false)
    {
        return ColorRef(quint32(r & 0xFF) | (quint32(g & 0xFF) << 8) | (quint32(b & 0xFF) << 16)
                        | (bold ? BoldFlag : 0));
    }
    static ColorRef fromColor(const QColor &c, bool bold = false)
    {
        return fromRgb(c.red(), c.green(), c.blue(), bold);
    }

    constexpr quint32 rgb() const { return value & 0xFFFFFF; }
    constexpr int red() const { return int(value & 0xFF); }
    constexpr int green() const { return int((value >> 8) & 0xFF); }
    constexpr int blue() const { return int((value >> 16) & 0xFF); }
    constexpr bool bold() const { return (value & BoldFlag) != 0; }
    // Font weight the grid uses: 700 when bold, otherwise the default (400).
    constexpr int weight() const { return bold() ? 700 : 400; }
    QColor color() const { return QColor(red(), green(), blue()); }

    constexpr bool operator==(const ColorRef &) const = default;
};

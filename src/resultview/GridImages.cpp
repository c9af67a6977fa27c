#include "GridImages.h"

#include <QHash>
#include <functional>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QIcon glyph(const QString &text, QColor colour, bool filled = false)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (filled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
        colour = Qt::white;
    }
    QFont font = painter.font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon cached(QHash<int, QIcon> &cache, int index, const std::function<QIcon()> &make)
{
    auto it = cache.find(index);
    if (it == cache.end())
        it = cache.insert(index, make());
    return *it;
}

} // namespace

namespace GridImages {

QIcon rowImage(int index)
{
    static QHash<int, QIcon> cache;
    return cached(cache, index, [index] {
        switch (index) {
        case 2: return glyph(QStringLiteral("✎"), QColor(0xc0, 0x80, 0x00));
        case 3: return glyph(QStringLiteral("+"), QColor(0x00, 0x90, 0x30));
        case 4: return glyph(QStringLiteral("×"), QColor(0xc0, 0x20, 0x20));
        default: return QIcon();
        }
    });
}

QIcon columnImage(int index)
{
    static QHash<int, QIcon> cache;
    return cached(cache, index, [index] {
        const QColor key(0xb0, 0x80, 0x00);
        const QColor plain(0x40, 0x40, 0x40);
        switch (index) {
        case 0: return glyph(QStringLiteral("K"), key, true);
        case 5: return glyph(QStringLiteral("▲"), plain);
        case 6: return glyph(QStringLiteral("▼"), plain);
        case 7: return glyph(QStringLiteral("▲"), key, true);
        case 8: return glyph(QStringLiteral("▼"), key, true);
        default: return QIcon();
        }
    });
}

QIcon cornerImage(int index)
{
    static QHash<int, QIcon> cache;
    return cached(cache, index, [index] {
        switch (index) {
        case 0: return glyph(QStringLiteral("E"), QColor(0x00, 0x90, 0x30), true);
        case 2: return glyph(QStringLiteral("+"), QColor(0x20, 0x60, 0xc0), true);
        default: return glyph(QStringLiteral("R"), QColor(0x80, 0x80, 0x80), true);
        }
    });
}

QIcon tabImage(int index)
{
    static QHash<int, QIcon> cache;
    return cached(cache, index, [index] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setPen(QColor(0x50, 0x50, 0x50));
        if (index == 1) {
            // A page with lines of text.
            painter.setBrush(Qt::white);
            painter.drawRect(2, 1, 11, 13);
            for (int y = 4; y <= 11; y += 3)
                painter.drawLine(4, y, 11, y);
        } else {
            // A small grid with a header row.
            painter.setBrush(QColor(0xd8, 0xe4, 0xf0));
            painter.drawRect(1, 2, 13, 3);
            painter.setBrush(Qt::white);
            painter.drawRect(1, 5, 13, 8);
            painter.drawLine(1, 9, 14, 9);
            painter.drawLine(6, 2, 6, 13);
        }
        return QIcon(pixmap);
    });
}

} // namespace GridImages

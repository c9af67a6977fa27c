#include "WindowPlacement.h"

#include <QStringList>

QString WindowPlacement::format() const
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
        .arg(flags)
        .arg(showState)
        .arg(minX)
        .arg(minY)
        .arg(maxX)
        .arg(maxY)
        .arg(normal.left())
        .arg(normal.top())
        .arg(normal.left() + normal.width())
        .arg(normal.top() + normal.height());
}

std::optional<WindowPlacement> WindowPlacement::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 10)
        return std::nullopt;
    long long n[10];
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        n[i] = parts.at(i).trimmed().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        // The first two fields are unsigned.
        if (i < 2 && (n[i] < 0 || n[i] > 0xFFFFFFFFLL))
            return std::nullopt;
        if (i >= 2 && (n[i] < INT_MIN || n[i] > INT_MAX))
            return std::nullopt;
    }
    WindowPlacement p;
    p.flags = unsigned(n[0]);
    p.showState = unsigned(n[1]);
    p.minX = int(n[2]);
    p.minY = int(n[3]);
    p.maxX = int(n[4]);
    p.maxY = int(n[5]);
    p.normal = QRect(int(n[6]), int(n[7]), int(n[8] - n[6]), int(n[9] - n[7]));
    return p;
}

std::optional<WindowPlacement> WindowPlacement::forWindow(bool maximized, bool minimized,
                                                          const QRect &normalGeometry)
{
    if (minimized)
        return std::nullopt;
    WindowPlacement p;
    p.flags = maximized ? RestoreToMaximized : 0;
    p.showState = maximized ? Maximized : Normal;
    p.normal = normalGeometry;
    return p;
}

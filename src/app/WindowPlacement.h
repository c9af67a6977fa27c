#pragma once

#include <QRect>
#include <QString>
#include <optional>

// The main window's placement as stored in "WindowPos": ten numbers in the format
// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" (flags, show state, minimised x and y, maximised x and y,
// normal rectangle left, top, right, bottom).
struct WindowPlacement
{
    enum ShowState : unsigned { Normal = 1, Minimized = 2, Maximized = 3 };
    static constexpr unsigned RestoreToMaximized = 2;

    unsigned flags = 0;
    unsigned showState = Normal;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    QRect normal; // left, top, right, bottom as QRect(QPoint, QPoint) (inclusive right/bottom + 1)

    QString format() const;
    // Only a text that yields all ten numbers is used.
    static std::optional<WindowPlacement> parse(const QString &text);

    // The placement to store for a window, or nothing when it must not be written
    // (the window is minimised).
    static std::optional<WindowPlacement> forWindow(bool maximized, bool minimized,
                                                    const QRect &normalGeometry);
};

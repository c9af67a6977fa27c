#pragma once

#include <QList>
#include <QObject>

// The open query windows in the order they were opened, with the limit of 512 and the
// counter that numbers unconnected windows ("接続無 - ｸｴﾘ %d"). UI thread only.
class QueryWindowList
{
public:
    static constexpr int Limit = 512;

    int count() const { return int(m_windows.size()); }
    bool isFull() const { return count() >= Limit; }
    bool contains(QObject *window) const { return m_windows.contains(window); }
    QObject *at(int i) const { return m_windows.at(i); }
    QList<QObject *> windows() const { return m_windows; }

    void append(QObject *window);
    // Removes the window; when the last one has gone the unconnected counter restarts.
    void remove(QObject *window);

    // Raises the unconnected-window counter and returns the new number.
    int nextUnconnectedNumber() { return ++m_unconnected; }
    int unconnectedCounter() const { return m_unconnected; }
    void resetUnconnectedCounterIfEmpty()
    {
        if (m_windows.isEmpty())
            m_unconnected = 0;
    }

private:
    QList<QObject *> m_windows; // removed explicitly when a window closes or is destroyed
    int m_unconnected = 0;
};

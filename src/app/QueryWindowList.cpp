#include "QueryWindowList.h"

QList<QObject *> QueryWindowList::windows() const
{
    QList<QObject *> list;
    list.reserve(m_windows.size());
    for (const auto &w : m_windows)
        if (w)
            list << w.data();
    return list;
}

void QueryWindowList::append(QObject *window)
{
    if (!m_windows.contains(window))
        m_windows.append(window);
}

void QueryWindowList::remove(QObject *window)
{
    m_windows.removeAll(window);
    m_windows.removeAll(nullptr);
    resetUnconnectedCounterIfEmpty();
}

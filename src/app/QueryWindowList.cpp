#include "QueryWindowList.h"

void QueryWindowList::append(QObject *window)
{
    if (!m_windows.contains(window))
        m_windows.append(window);
}

void QueryWindowList::remove(QObject *window)
{
    m_windows.removeAll(window);
    resetUnconnectedCounterIfEmpty();
}

#include "CSqlItemList.h"

#include "CSqlItem.h"

#include <vector>

CSqlItemList::~CSqlItemList()
{
    Clear();
}

void CSqlItemList::Append(CSqlItem *item)
{
    item->m_prev = m_last;
    item->m_next = nullptr;
    if (m_last)
        m_last->m_next = item;
    else
        m_first = item;
    m_last = item;
    ++m_count;
}

CSqlItem *CSqlItemList::Take(CSqlItem *item)
{
    if (item->m_prev)
        item->m_prev->m_next = item->m_next;
    else
        m_first = item->m_next;
    if (item->m_next)
        item->m_next->m_prev = item->m_prev;
    else
        m_last = item->m_prev;
    item->m_prev = item->m_next = nullptr;
    --m_count;
    return item;
}

void CSqlItemList::Remove(CSqlItem *item)
{
    Take(item);
    // Hand the subtree to a list of its own so that it is torn down without recursion.
    CSqlItemList doomed;
    doomed.Append(item);
}

void CSqlItemList::Clear()
{
    if (!m_first)
        return;
    std::vector<CSqlItem *> pending;
    // Pushed first to last, popped last to first.
    for (CSqlItem *item = m_first; item; item = item->m_next)
        pending.push_back(item);
    m_first = m_last = nullptr;
    m_count = 0;
    while (!pending.empty()) {
        CSqlItem *item = pending.back();
        pending.pop_back();
        CSqlItemList &kids = item->children;
        for (CSqlItem *child = kids.m_first; child; child = child->m_next)
            pending.push_back(child);
        kids.m_first = kids.m_last = nullptr;
        kids.m_count = 0;
        delete item; // childless now: its own destructor does not descend
    }
}

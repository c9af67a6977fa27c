#pragma once

#include <QtGlobal>

class CSqlItem;

// The ordered children of an item: a doubly linked list of owned items, so that removing an
// item or stepping to a sibling costs the same however long the list is.
class CSqlItemList
{
public:
    CSqlItemList() = default;
    ~CSqlItemList();
    CSqlItemList(const CSqlItemList &) = delete;
    CSqlItemList &operator=(const CSqlItemList &) = delete;

    CSqlItem *First() const { return m_first; }
    CSqlItem *Last() const { return m_last; }
    qsizetype Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Appends an item the list takes ownership of.
    void Append(CSqlItem *item);
    // Unlinks an item of this list and hands it back to the caller.
    CSqlItem *Take(CSqlItem *item);
    // Unlinks and destroys an item of this list with its subtree.
    void Remove(CSqlItem *item);
    // Destroys every item from the last to the first. Subtrees are torn down with a work
    // list, not by recursion, so a tree nested 100,000 deep does not exhaust the stack.
    void Clear();

private:
    CSqlItem *m_first = nullptr;
    CSqlItem *m_last = nullptr;
    qsizetype m_count = 0;
};

#pragma once

#include "CSqlItemList.h"

#include <QString>

// Item kinds of the formatter's tree.
enum SqlItemKind {
    SQL_ITEM_WORD = 1,
    SQL_ITEM_KEYWORD = 2,
    SQL_ITEM_LOGIC_OP = 3,
    SQL_ITEM_OPERATOR = 4,
    SQL_ITEM_DELIMITER = 5,
    SQL_ITEM_COMMA = 6,
    SQL_ITEM_QUOTE = 7,
    SQL_ITEM_BLOCK = 8,
    SQL_ITEM_WORD_MARK = 9,
    SQL_ITEM_BLOCK_COMMENT = 10,
    SQL_ITEM_LINE_COMMENT = 11,
};

// A node of the formatter's item tree. An item owns its children; destroying it destroys its
// subtree. Siblings are reached through the links of the parent's list.
class CSqlItem
{
public:
    explicit CSqlItem(const QString &text = QString(), int kind = SQL_ITEM_WORD);
    ~CSqlItem();
    CSqlItem(const CSqlItem &) = delete;
    CSqlItem &operator=(const CSqlItem &) = delete;

    // Items come from a per-thread pool: a large text makes millions of them, and packing
    // them together keeps the tree walks cache-friendly. The pool's memory goes back to the
    // system when the thread's last item is destroyed. An item must be destroyed on the
    // thread that created it.
    static void *operator new(size_t size);
    static void operator delete(void *pointer, size_t size);

    QString text;      // for a bracket block the opening symbol
    QString closeText; // for a bracket block the closing symbol, else empty
    int kind = SQL_ITEM_WORD;
    CSqlItem *parent = nullptr;
    CSqlItemList children;

    // Length of the item's one-line rendering, -1 until the layout measures it.
    qsizetype lineLength = -1;

    // Appends a child (taking ownership) and makes this item its parent.
    CSqlItem *AddChild(CSqlItem *child);
    CSqlItem *AddChild(const QString &text, int kind);
    void ClearChildren() { children.Clear(); }
    bool HasChildren() const { return !children.IsEmpty(); }

    CSqlItem *Prev() const { return m_prev; }
    CSqlItem *Next() const { return m_next; }

private:
    friend class CSqlItemList;
    CSqlItem *m_prev = nullptr;
    CSqlItem *m_next = nullptr;
};

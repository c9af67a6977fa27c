#include "CSqlItem.h"

CSqlItem::CSqlItem(const QString &text, int kind)
    : text(text)
    , kind(kind)
{
}

CSqlItem::~CSqlItem() = default;

CSqlItem *CSqlItem::AddChild(CSqlItem *child)
{
    child->parent = this;
    children.Append(child);
    return child;
}

CSqlItem *CSqlItem::AddChild(const QString &text, int kind)
{
    return AddChild(new CSqlItem(text, kind));
}

#include "CSqlBlockComment.h"

#include "CSqlItem.h"

CSqlBlockComment::CSqlBlockComment()
    : CSqlBlock(SQL_ITEM_BLOCK_COMMENT, 0)
{
}

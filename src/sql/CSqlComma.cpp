#include "CSqlComma.h"

#include "CSqlItem.h"

CSqlComma::CSqlComma()
    : CSqlDelimiter(SQL_ITEM_COMMA, 1)
{
}

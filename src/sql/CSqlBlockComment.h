#pragma once

#include "CSqlBlock.h"

// Recognises a block comment. Comments do not nest: the first closing marker ends the
// comment even when an opening marker occurred inside.
class CSqlBlockComment : public CSqlBlock
{
public:
    CSqlBlockComment();
};

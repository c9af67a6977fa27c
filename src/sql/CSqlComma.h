#pragma once

#include "CSqlDelimiter.h"

// Recognises the comma: each symbol is an item of its own.
class CSqlComma : public CSqlDelimiter
{
public:
    CSqlComma();
};

#include "ResultColumn.h"

#include <algorithm>

bool ResultColumn::isNumericType(int type)
{
    return (type >= 2 && type <= 6) || type == 11 || type == 14 || (type >= 16 && type <= 21)
        || type == 131;
}

bool ResultColumn::isWideCharType(int type)
{
    return type == 130 || type == 202 || type == 203;
}

bool ResultColumn::isWritableType(int type, int attributes)
{
    if (attributes & 0x70100) // row id, row URL, default stream, collection
        return false;
    switch (type) {
    case 9:   // dispatch
    case 10:  // error
    case 12:  // variant
    case 13:  // unknown
    case 128: // binary
    case 132: // user-defined
    case 204: // var-binary
    case 205: // long var-binary
        return false;
    default:
        return true;
    }
}

ResultColumn ResultColumn::fromField(int type, qint64 definedSize, int attributes,
                                     qint64 actualSize)
{
    ResultColumn column;
    column.valueClass = isNumericType(type) ? Numeric : Other;
    const bool wide = isWideCharType(type);
    qint64 width = actualSize;
    if (type == 7 || type == 64 || type == 133 || type == 134 || type == 135)
        width = 30;
    else if (wide)
        width *= 2;
    column.width = qint32(std::clamp<qint64>(width, 0, 0x7fffffff));
    column.size = qint32(std::clamp<qint64>(wide ? definedSize * 2 : definedSize, 0, 0x7fffffff));
    column.nullable = (attributes & 0x20) ? 1 : 0;
    column.writable = isWritableType(type, attributes) ? 1 : 0;
    return column;
}

#pragma once

#include <QtGlobal>

// The descriptor of one result column, as the result model keeps it.
struct ResultColumn
{
    enum ValueClass : qint32 { Numeric = 1, Other = 2 };

    qint32 valueClass = Numeric;
    // The field's actual size in the first row while loading; the display width in
    // characters once loaded.
    qint32 width = 0;
    // The defined size in bytes (wide character types count two per character).
    qint32 size = 0;
    quint8 nullable = 0;
    quint8 writable = 1;

    bool isNumeric() const { return valueClass == Numeric; }

    // The descriptor of a field from its ADO data type, defined size, attributes and actual
    // size in the first row (0 for an empty result).
    static ResultColumn fromField(int type, qint64 definedSize, int attributes,
                                  qint64 actualSize);

    static bool isNumericType(int type);
    static bool isWideCharType(int type);
    static bool isWritableType(int type, int attributes);
};

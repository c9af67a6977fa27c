#pragma once

#include <QString>

// One column of a table or view, or one parameter of a procedure, as the catalogue keeps it.
// Plain value type.
struct ColumnInfo
{
    int ordinal = 0;
    QString name;
    int dataType = 0;      // ADO data type number
    QString typeName;      // chosen from the provider's types (columns) or as reported (parameters)
    int parameterType = 0; // parameters only: 1 in, 2 in/out, 3 out, 4 return value
    qint64 maxLength = -1; // -1 when the provider gives none
    qint64 precision = -1;
    qint64 scale = -1;
    bool nullable = true;
    QString defaultValue;
    QString description;
};

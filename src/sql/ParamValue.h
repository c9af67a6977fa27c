#pragma once

#include <QList>
#include <QString>

// One value the user gave for a bind parameter. A query window keeps the list of the values
// last entered, so values typed once are offered again for parameters of the same name.
struct ParamValue
{
    QString name;
    QString value;
    bool isString = true;

    bool operator==(const ParamValue &) const = default;
};

// One bind parameter found in a statement text (a colon or at-sign followed by a name).
struct ParamInfo
{
    // Numbering of the data types and directions of the command layer.
    static constexpr qint32 InputDirection = 1;
    static constexpr qint16 CharType = 129;   // character data
    static constexpr qint16 VariantType = 12; // variant
    static constexpr qint32 CharSize = 510;
    // Longest name the record holds (260 code units with the terminating zero).
    static constexpr int MaxNameLength = 259;

    qint32 direction = InputDirection;
    qint32 index = 0; // position among the detected parameters, from 1
    QString name;     // without the leading colon or at-sign
    qint32 size = CharSize;
    qint16 type = CharType;

    bool operator==(const ParamInfo &) const = default;
};

// A parameter as appended to a command: what substitution and binding need.
struct CommandParam
{
    QString name;
    qint16 type = ParamInfo::CharType;
    qint32 direction = ParamInfo::InputDirection;
    qint32 size = ParamInfo::CharSize;
    QString value;

    bool operator==(const CommandParam &) const = default;
};

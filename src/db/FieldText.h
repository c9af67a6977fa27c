#pragma once

#include "db/ado/AdoTypes.h"
#include "db/ado/AdoVariant.h"

#include <QString>

// The marker texts result data uses for NULL, unshowable and binary values.
inline const QString NullMarker = QString(6, QChar(1));
inline const QString VariantMarker = QString(5, QChar(1)) + QChar(2);
inline const QString BinaryMarker = QString(5, QChar(1)) + QChar(3);

// The three renderers of field values and the date formats. Pure functions.
namespace FieldText {

struct Markers
{
    QString nullText;
    QString variantText;
    QString binaryText;
};

// "2024/01/02 03:04:05.678", "2024/01/02 03:04:05" or "2024/01/02" (automatic);
// "Invalid DateTime" for an invalid value.
QString formatDateTime(const Ado::DateTime &value);
QString formatDate(const Ado::DateTime &value);
QString formatTime(const Ado::DateTime &value);

// Field text of result data, by the field's ADO data type; appended to out.
void appendFieldText(int dataType, const Ado::Variant &value, const Markers &markers, QString &out);
QString fieldText(int dataType, const Ado::Variant &value, const Markers &markers);

// The general variant-to-text conversion used for "any other" type.
void appendVariantText(const Ado::Variant &value, QString &out);

// Value reader of the schema catalogue, by the value's variant type. False (text left
// unchanged) for a kind that gives no text.
bool readValue(const Ado::Variant &value, const QString &nullText, QString &text);

// General variant describer for provider property lists.
QString describeVariant(const Ado::Variant &value);

// Name of a VARTYPE ("VT_BSTR"), empty for an unknown one.
QString varTypeName(int vt);

} // namespace FieldText

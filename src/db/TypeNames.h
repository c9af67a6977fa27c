#pragma once

#include <QList>
#include <QString>

// One data type the provider reports (the provider types rowset).
struct ProviderTypeInfo
{
    QString typeName;
    int dataType = 0;
    qint64 columnSize = 0;
    bool hasCreateParams = true;
    bool isLong = true;
    bool bestMatch = true;
    bool isFixedLength = true;
};

// Lower-case generic name for an ADO data type ("varchar"); empty for unlisted numbers.
QString GenericTypeName(int dataType);

// The type name of a column from the provider's types; maxLength, precision and scale are
// -1 when unknown; columnFlags bit 0x10 is the fixed-length flag.
QString ChooseTypeName(const QList<ProviderTypeInfo> &providerTypes, int dataType, int columnFlags,
                       qint64 maxLength, qint64 precision, qint64 scale);

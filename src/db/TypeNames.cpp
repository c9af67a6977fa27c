#include "db/TypeNames.h"

#include "db/ado/AdoTypes.h"

QString GenericTypeName(int dataType)
{
    switch (dataType) {
    case 2:
    case 18:
        return QStringLiteral("smallint");
    case 3:
    case 16:
    case 17:
    case 19:
        return QStringLiteral("int");
    case 4:
    case 5:
        return QStringLiteral("float");
    case 6:
        return QStringLiteral("currency");
    case 7:
    case 64:
    case 135:
        return QStringLiteral("datetime");
    case 8:
        return QStringLiteral("text");
    case 9:
        return QStringLiteral("dispatch");
    case 10:
        return QStringLiteral("error(32bit)");
    case 11:
        return QStringLiteral("boolean");
    case 12:
    case 138:
        return QStringLiteral("variant");
    case 13:
        return QStringLiteral("unknown");
    case 14:
        return QStringLiteral("decimal");
    case 20:
    case 21:
        return QStringLiteral("bigint");
    case 72:
        return QStringLiteral("guid");
    case 128:
    case 204:
    case 205:
        return QStringLiteral("binary");
    case 129:
    case 130:
        return QStringLiteral("char");
    case 131:
    case 139:
        return QStringLiteral("numeric");
    case 132:
        return QStringLiteral("user defined");
    case 133:
        return QStringLiteral("date");
    case 134:
        return QStringLiteral("time");
    case 200:
    case 201:
    case 202:
    case 203:
        return QStringLiteral("varchar");
    default:
        return QString();
    }
}

QString ChooseTypeName(const QList<ProviderTypeInfo> &providerTypes, int dataType, int columnFlags,
                       qint64 maxLength, qint64 precision, qint64 scale)
{
    Q_UNUSED(scale);
    QList<const ProviderTypeInfo *> candidates;
    for (const ProviderTypeInfo &type : providerTypes)
        if (type.dataType == dataType)
            candidates.append(&type);
    if (candidates.isEmpty())
        return GenericTypeName(dataType);
    if (candidates.size() == 1)
        return candidates.first()->typeName;

    const bool fixed = (columnFlags & Ado::adFldFixed) != 0;
    QList<const ProviderTypeInfo *> byFixed;
    for (const ProviderTypeInfo *type : candidates)
        if (type->isFixedLength == fixed)
            byFixed.append(type);
    if (byFixed.size() == 1)
        return byFixed.first()->typeName;
    if (byFixed.isEmpty())
        byFixed = candidates;

    const qint64 size = maxLength != -1 ? maxLength : precision;
    QList<const ProviderTypeInfo *> fitting;
    for (const ProviderTypeInfo *type : byFixed) {
        const bool fits
            = type->hasCreateParams ? type->columnSize >= size : type->columnSize == size;
        if (fits)
            fitting.append(type);
    }
    if (fitting.size() == 1)
        return fitting.first()->typeName;
    const QList<const ProviderTypeInfo *> &remaining = fitting.isEmpty() ? byFixed : fitting;
    QString text = QStringLiteral("(");
    for (qsizetype i = 0; i < remaining.size(); ++i) {
        if (i > 0)
            text += QStringLiteral(" | ");
        text += remaining[i]->typeName;
    }
    return text + QLatin1Char(')');
}

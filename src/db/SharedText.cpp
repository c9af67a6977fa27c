#include "db/SharedText.h"

QualifiedName SplitQualifiedName(const QString &name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return {QString(), name};
    return {name.left(dot), name.mid(dot + 1)};
}

QString TrimLabelBase(const QString &text)
{
    static const QString separators = QStringLiteral(" #%;/\\");
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (separators.contains(text[i]))
            return text.mid(i + 1);
    return text;
}

static QString withInstanceAndSuffix(QString label, int instance, const QString &suffix)
{
    if (instance >= 2)
        label += QLatin1Char('[') + QString::number(instance) + QLatin1Char(']');
    if (!suffix.isEmpty())
        label += QStringLiteral(" - ") + suffix;
    return label;
}

QString ConnectionLabel(const ConnectionFields &fields, int instance, const QString &suffix)
{
    QString label = TrimLabelBase(fields.dataSource);
    if (!fields.initialCatalog.isEmpty())
        label += QLatin1Char('.') + fields.initialCatalog;
    if (!fields.userId.isEmpty())
        label += QLatin1Char('.') + fields.userId;
    return withInstanceAndSuffix(label, instance, suffix);
}

QString ConnectionShortLabel(const ConnectionFields &fields, int instance, const QString &suffix)
{
    return withInstanceAndSuffix(TrimLabelBase(fields.connName), instance, suffix);
}

QString HtmlEscape(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    out.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    out.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    out.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return out;
}

#pragma once

#include <QString>

// The parsed connection-string fields that labels are built from.
struct ConnectionFields
{
    QString connName;       // "ConnName", the profile name
    QString provider;       // "Provider"
    QString dataSource;     // "Data Source"
    QString initialCatalog; // "Initial Catalog"
    QString userId;         // "User ID"
};

struct QualifiedName
{
    QString owner;
    QString object;
};

// Splits at the first full stop: «a.b.c» gives owner «a», object «b.c».
QualifiedName SplitQualifiedName(const QString &name);

// The text after the last blank, "#", "%", ";", "/" or backslash.
QString TrimLabelBase(const QString &text);

// «source.catalog.user[instance] - suffix» (instance shown from 2 on).
QString ConnectionLabel(const ConnectionFields &fields, int instance, const QString &suffix);
// «name[instance] - suffix» from the profile name.
QString ConnectionShortLabel(const ConnectionFields &fields, int instance, const QString &suffix);

// "&" → "&amp;", "\"" → "&quot;", "<" → "&lt;", ">" → "&gt;".
QString HtmlEscape(const QString &text);

#pragma once

#include "schema/ProcInfo.h"
#include "schema/TableInfo.h"

#include <QList>
#include <QString>

// One schema of a database with its object lists. A provider without schemas gets one schema
// with an empty name, shown as "既定のスキーマ". Plain value type.
struct SchemaInfo
{
    SchemaInfo() = default;
    explicit SchemaInfo(const QString &schemaName)
        : name(schemaName)
        , displayName(schemaName.isEmpty() ? QStringLiteral("既定のスキーマ") : schemaName)
    {
    }

    QString name;
    QString displayName;
    bool tablesLoaded = false; // views and procedures have no such flag: empty means unread
    QList<TableInfo> tables;
    QList<TableInfo> views;
    QList<ProcInfo> procedures;
};

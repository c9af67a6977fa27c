#pragma once

#include "db/SharedText.h"
#include "schema/ProviderTypeInfo.h"
#include "schema/SchemaInfo.h"

#include <QList>
#include <QString>

// What the catalogue knows about one database, identified by the Provider, Data Source,
// Initial Catalog and User ID of the connection string that first reached it. Owned by
// CDBInfo; read on the UI thread only.
struct DBInfoEntry
{
    bool asyncCapable = true;
    bool multipleResults = false;
    bool isJet = false;
    ConnectionFields connection; // identity; initialCatalog also restricts every schema read
    QList<ProviderTypeInfo> providerTypes;
    QList<SchemaInfo> schemas; // in provider order; never empty once loaded
    QString keywords;          // each keyword followed by one space
    QString procedureNames;    // each name followed by one space; filled by LoadProcedureNames
};

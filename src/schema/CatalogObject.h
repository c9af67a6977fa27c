#pragma once

#include <QString>

// An object found by name in the catalogue: its schema name, its name as stored and its type
// ("TABLE", "VIEW" or "PROC"). Plain value type.
struct CatalogObject
{
    QString schemaName;
    QString name;
    QString type;
};

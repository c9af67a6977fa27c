#pragma once

#include "db/ado/AdoVariant.h"
#include "db/ado/MemoryResult.h"

#include <memory>

namespace Ado {

class SqliteHandle;

// Schema rowsets of a SQLite database, built from its schema table and pragmas. SQLite has
// no schemata or procedures: those rowsets are empty. Called on one thread at a time.
class SqliteSchema
{
public:
    // Throws DB_E_NotSupported for a schema number SQLite does not offer.
    static std::unique_ptr<ResultStream> open(const std::shared_ptr<SqliteHandle> &handle,
                                              int schema, const QList<Variant> &restrictions);
};

} // namespace Ado

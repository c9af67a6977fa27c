#pragma once

#include "db/ado/AdoVariant.h"
#include "db/ado/MemoryResult.h"

#include <memory>

namespace Ado {

class OdbcHandle;

// Schema rowsets through the ODBC catalog functions, renamed and converted to the OLE DB
// columns. Called on one thread at a time.
class OdbcSchema
{
public:
    // Throws DB_E_NotSupported for a schema number ODBC does not map, ComError otherwise.
    static std::unique_ptr<ResultStream> open(const std::shared_ptr<OdbcHandle> &handle, int schema,
                                              const QList<Variant> &restrictions);
};

} // namespace Ado

#pragma once

#include "db/ado/AdoProvider.h"
#include "db/ado/ConnectionString.h"

#include <memory>

struct sqlite3;

namespace Ado {

class SqliteHandle;

// The SQLite provider: a database file opened through libsqlite3 (serialised mode, so the
// provider thread, the fetch worker and the UI thread may take turns on it).
class SqliteSession : public ProviderSession
{
public:
    // "Data Source" is the file (or ":memory:"); a missing file fails unless
    // "Mode=ReadWriteCreate"; "Mode=Read" opens read-only. Throws ComError.
    static std::unique_ptr<SqliteSession> open(const ConnectionString &connection);
    ~SqliteSession() override;

    void close() override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    Variant property(const QString &name) const override;
    QStringList propertyNames() const override;
    std::unique_ptr<ResultStream> prepare(const QString &text, const QList<Parameter> &parameters,
                                          int timeoutSeconds) override;
    std::unique_ptr<ResultStream> openSchema(int schema,
                                             const QList<Variant> &restrictions) override;

private:
    explicit SqliteSession(std::shared_ptr<SqliteHandle> handle, const QString &path);
    void exec(const char *sql);

    std::shared_ptr<SqliteHandle> m_handle;
    QString m_path;
};

} // namespace Ado

#pragma once

#include "db/ado/AdoProvider.h"
#include "db/ado/ConnectionString.h"

#include <memory>
#include <optional>

namespace Ado {

class OdbcHandle;

// The ODBC provider through unixODBC: the PostgreSQL (psqlODBC), MariaDB/MySQL (MariaDB
// Connector/ODBC) and generic (MSDASQL) mappings of an ADO connection string.
class OdbcSession : public ProviderSession
{
public:
    enum class Kind { Generic, PostgreSQL, MariaDB };

    // The mapping for a "Provider" value, or none when ODBC does not serve it.
    static std::optional<Kind> kindForProvider(const QString &provider);
    // The ODBC connection string for an ADO one (key mapping, driver and fetch options).
    static QString odbcConnectionString(Kind kind, const ConnectionString &connection,
                                        const QString &user, const QString &password);
    // Connects with SQLDriverConnect. Throws ComError (log-in failures as
    // DB_Sec_E_AuthFailed).
    static std::unique_ptr<OdbcSession> open(Kind kind, const ConnectionString &connection,
                                             const QString &user, const QString &password,
                                             int connectTimeoutSeconds);
    ~OdbcSession() override;

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
    OdbcSession(Kind kind, std::shared_ptr<OdbcHandle> handle);

    Kind m_kind;
    std::shared_ptr<OdbcHandle> m_handle;
};

} // namespace Ado

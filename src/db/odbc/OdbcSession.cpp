#include "db/odbc/OdbcSession.h"

namespace Ado {

class OdbcHandle
{
};

std::optional<OdbcSession::Kind> OdbcSession::kindForProvider(const QString &provider)
{
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0)
        return Kind::PostgreSQL;
    if (provider.compare(QLatin1String("MariaDB"), Qt::CaseInsensitive) == 0
        || provider.compare(QLatin1String("MySQL"), Qt::CaseInsensitive) == 0)
        return Kind::MariaDB;
    if (provider.compare(QLatin1String("MSDASQL"), Qt::CaseInsensitive) == 0
        || provider.startsWith(QLatin1String("MSDASQL."), Qt::CaseInsensitive))
        return Kind::Generic;
    return std::nullopt;
}

QString OdbcSession::odbcConnectionString(Kind, const ConnectionString &, const QString &,
                                          const QString &)
{
    return {};
}

std::unique_ptr<OdbcSession> OdbcSession::open(Kind, const ConnectionString &, const QString &,
                                               const QString &, int)
{
    throw ComError(E_NotImpl, QStringLiteral("ODBC"), statusMessage(E_NotImpl));
}

OdbcSession::OdbcSession(Kind kind, std::shared_ptr<OdbcHandle> handle)
    : m_kind(kind)
    , m_handle(std::move(handle))
{
}

OdbcSession::~OdbcSession() = default;
void OdbcSession::close() {}
void OdbcSession::beginTrans() {}
void OdbcSession::commitTrans() {}
void OdbcSession::rollbackTrans() {}
Variant OdbcSession::property(const QString &) const { return {}; }
QStringList OdbcSession::propertyNames() const { return {}; }
std::unique_ptr<ResultStream> OdbcSession::prepare(const QString &, const QList<Parameter> &, int)
{
    throw ComError(E_NotImpl, QStringLiteral("ODBC"), statusMessage(E_NotImpl));
}
std::unique_ptr<ResultStream> OdbcSession::openSchema(int, const QList<Variant> &)
{
    throw ComError(E_NotImpl, QStringLiteral("ODBC"), statusMessage(E_NotImpl));
}

} // namespace Ado

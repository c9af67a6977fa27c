#include "db/ado/AdoProvider.h"
#include "db/ado/ConnectionString.h"
#include "db/odbc/OdbcSession.h"
#include "db/sqlite/SqliteSession.h"

namespace Ado {

std::unique_ptr<ProviderSession> openProviderSession(const QString &connectionString,
                                                     const QString &user, const QString &password,
                                                     int connectTimeoutSeconds)
{
    const ConnectionString parsed(connectionString);
    const QString provider = parsed.value(QStringLiteral("Provider")).trimmed();
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        return SqliteSession::open(parsed);
    if (auto kind = OdbcSession::kindForProvider(provider))
        return OdbcSession::open(*kind, parsed, user, password, connectTimeoutSeconds);
    throw ComError(AdErrBoundToCommand, QStringLiteral("ADODB.Connection"),
                   provider.isEmpty()
                       ? QStringLiteral("接続文字列にプロバイダが指定されていません。")
                       : QStringLiteral("プロバイダ '%1' が見つかりません。").arg(provider));
}

} // namespace Ado

#include "db/odbc/OdbcSession.h"

#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcResult.h"
#include "db/odbc/OdbcSchema.h"

namespace Ado {

namespace {

// ADO keys that mean nothing to an ODBC driver.
bool isAdoOnlyKey(const QString &key)
{
    static const char *const keys[] = {
        "Provider", "Persist Security Info", "Mode", "Extended Properties", "ConnName", "Prompt"};
    for (const char *k : keys)
        if (key.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void splitHostPort(const QString &source, QString &host, QString &port)
{
    QString text = source.trimmed();
    if (text.startsWith(QLatin1Char('['))) { // [IPv6]:port
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        port = rest.startsWith(QLatin1Char(':')) ? rest.mid(1) : QString();
        return;
    }
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon > 0 && text.indexOf(QLatin1Char(':')) == colon) {
        host = text.left(colon);
        port = text.mid(colon + 1);
    } else {
        host = text;
        port.clear();
    }
}

QString infoText(SQLHDBC dbc, SQLUSMALLINT type)
{
    SQLWCHAR buffer[1024] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetInfoW(dbc, type, buffer, sizeof buffer, &length);
    if (!SQL_SUCCEEDED(rc))
        return QString();
    return OdbcHandle::fromWide(buffer, std::min<qsizetype>(length / 2, 1023));
}

} // namespace

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

QString OdbcSession::odbcConnectionString(Kind kind, const ConnectionString &connection,
                                          const QString &user, const QString &password)
{
    ConnectionString odbc;
    const QString dataSource = connection.value(QStringLiteral("Data Source"));
    const QString catalog = connection.value(QStringLiteral("Initial Catalog"));
    const QString uid = user.isEmpty() ? connection.value(QStringLiteral("User ID")) : user;
    const QString pwd
        = password.isEmpty() ? connection.value(QStringLiteral("Password")) : password;
    if (kind == Kind::Generic) {
        if (!dataSource.isEmpty())
            odbc.set(QStringLiteral("DSN"), dataSource);
    } else {
        odbc.set(QStringLiteral("DRIVER"), kind == Kind::PostgreSQL
                                               ? QStringLiteral("{PostgreSQL Unicode}")
                                               : QStringLiteral("{MariaDB Unicode}"));
        QString host;
        QString port;
        splitHostPort(dataSource, host, port);
        if (!host.isEmpty())
            odbc.set(QStringLiteral("SERVER"), host);
        if (!port.isEmpty())
            odbc.set(QStringLiteral("PORT"), port);
    }
    if (!catalog.isEmpty())
        odbc.set(QStringLiteral("DATABASE"), catalog);
    if (!uid.isEmpty())
        odbc.set(QStringLiteral("UID"), uid);
    if (!pwd.isEmpty())
        odbc.set(QStringLiteral("PWD"), pwd);
    static const char *const mapped[] = {"Data Source", "Initial Catalog", "User ID", "Password"};
    for (const auto &[key, value] : connection.pairs()) {
        bool isMapped = isAdoOnlyKey(key);
        for (const char *m : mapped)
            isMapped = isMapped || key.compare(QLatin1String(m), Qt::CaseInsensitive) == 0;
        if (isMapped)
            continue;
        const bool driver = key.compare(QLatin1String("Driver"), Qt::CaseInsensitive) == 0;
        odbc.set(key, driver && !value.startsWith(QLatin1Char('{'))
                          ? QLatin1Char('{') + value + QLatin1Char('}')
                          : value);
    }
    if (kind == Kind::PostgreSQL) {
        // Cursor-based fetching, so a large result is not held by the driver as a whole;
        // booleans as SQL_BIT.
        if (!odbc.contains(QStringLiteral("UseDeclareFetch")))
            odbc.set(QStringLiteral("UseDeclareFetch"), QStringLiteral("1"));
        if (!odbc.contains(QStringLiteral("Fetch")))
            odbc.set(QStringLiteral("Fetch"), QStringLiteral("10000"));
        if (!odbc.contains(QStringLiteral("BoolsAsChar")))
            odbc.set(QStringLiteral("BoolsAsChar"), QStringLiteral("0"));
        // The system schemas (pg_catalog, information_schema) belong in the catalogue too.
        if (!odbc.contains(QStringLiteral("ShowSystemTables")))
            odbc.set(QStringLiteral("ShowSystemTables"), QStringLiteral("1"));
    } else if (kind == Kind::MariaDB) {
        // A streamed result (forward-only cursor, nothing cached) and several statements in
        // one text.
        if (!odbc.contains(QStringLiteral("NO_CACHE")))
            odbc.set(QStringLiteral("NO_CACHE"), QStringLiteral("1"));
        if (!odbc.contains(QStringLiteral("FORWARDONLY")))
            odbc.set(QStringLiteral("FORWARDONLY"), QStringLiteral("1"));
        if (!odbc.contains(QStringLiteral("OPTION")))
            odbc.set(QStringLiteral("OPTION"), QStringLiteral("67108864")); // multi-statements
    }
    // The driver name keeps its braces; toOdbcString braces other values that need it.
    QString text = odbc.toOdbcString();
    return text;
}

std::unique_ptr<OdbcSession> OdbcSession::open(Kind kind, const ConnectionString &connection,
                                               const QString &user, const QString &password,
                                               int connectTimeoutSeconds)
{
    auto handle = std::make_shared<OdbcHandle>();
    if (handle->dbc() == SQL_NULL_HDBC)
        throw ComError(E_Fail, QStringLiteral("ODBC"),
                       QStringLiteral("ODBC ドライバマネージャを初期化できません。"));
    if (connectTimeoutSeconds > 0)
        SQLSetConnectAttrW(handle->dbc(), SQL_ATTR_LOGIN_TIMEOUT,
                           reinterpret_cast<SQLPOINTER>(SQLULEN(connectTimeoutSeconds)), 0);
    const std::u16string text
        = OdbcHandle::toWide(odbcConnectionString(kind, connection, user, password));
    SQLWCHAR out[2048];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(
        handle->dbc(), nullptr, reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(text.c_str())),
        SQL_NTS, out, SQLSMALLINT(std::size(out)), &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw OdbcHandle::diagnostics(SQL_HANDLE_DBC, handle->dbc(), QStringLiteral("ODBC"),
                                      QStringLiteral("接続できませんでした。"));
    handle->setConnected(true);
    handle->setDriverName(infoText(handle->dbc(), SQL_DRIVER_NAME));
    SQLUINTEGER getData = 0;
    SQLGetInfoW(handle->dbc(), SQL_GETDATA_EXTENSIONS, &getData, sizeof getData, nullptr);
    handle->setGetDataInBlocks((getData & SQL_GD_BLOCK) && (getData & SQL_GD_BOUND));
    handle->setBackslashEscapes(kind == Kind::MariaDB);
    handle->setHasInformationSchema(kind != Kind::Generic);
    handle->setRawTextAsBinary(kind == Kind::PostgreSQL
                               && handle->driverName().startsWith(QLatin1String("psqlodbc")));
    return std::unique_ptr<OdbcSession>(new OdbcSession(kind, handle));
}

OdbcSession::OdbcSession(Kind kind, std::shared_ptr<OdbcHandle> handle)
    : m_kind(kind)
    , m_handle(std::move(handle))
{}

OdbcSession::~OdbcSession()
{
    close();
}

void OdbcSession::close()
{
    if (!m_handle)
        return;
    // Record sets still open lose their statements first and report a closed connection.
    m_handle->releaseStatements();
    if (m_handle->isConnected()) {
        SQLEndTran(SQL_HANDLE_DBC, m_handle->dbc(), SQL_ROLLBACK);
        SQLDisconnect(m_handle->dbc());
        m_handle->setConnected(false);
    }
    m_handle.reset();
}

static void check(SQLRETURN rc, OdbcHandle *handle)
{
    if (!SQL_SUCCEEDED(rc))
        throw OdbcHandle::diagnostics(SQL_HANDLE_DBC, handle->dbc(), handle->source());
}

static OdbcHandle *requireOpen(const std::shared_ptr<OdbcHandle> &handle)
{
    if (!handle || !handle->isConnected())
        throw ComError(AdErrObjectClosed, QStringLiteral("ODBC"), statusMessage(AdErrObjectClosed));
    return handle.get();
}

void OdbcSession::beginTrans()
{
    OdbcHandle *h = requireOpen(m_handle);
    check(SQLSetConnectAttrW(h->dbc(), SQL_ATTR_AUTOCOMMIT,
                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          h);
}

void OdbcSession::commitTrans()
{
    OdbcHandle *h = requireOpen(m_handle);
    check(SQLEndTran(SQL_HANDLE_DBC, h->dbc(), SQL_COMMIT), h);
    check(SQLSetConnectAttrW(h->dbc(), SQL_ATTR_AUTOCOMMIT,
                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
          h);
}

void OdbcSession::rollbackTrans()
{
    OdbcHandle *h = requireOpen(m_handle);
    check(SQLEndTran(SQL_HANDLE_DBC, h->dbc(), SQL_ROLLBACK), h);
    check(SQLSetConnectAttrW(h->dbc(), SQL_ATTR_AUTOCOMMIT,
                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
          h);
}

QStringList OdbcSession::propertyNames() const
{
    return {QStringLiteral("DBMS Name"),        QStringLiteral("DBMS Version"),
            QStringLiteral("Provider Name"),    QStringLiteral("Provider Version"),
            QStringLiteral("Multiple Results"), QStringLiteral("Data Source Name"),
            QStringLiteral("Current Catalog"),  QStringLiteral("User Name"),
            QStringLiteral("Driver Name"),      QStringLiteral("Driver ODBC Version")};
}

Variant OdbcSession::property(const QString &name) const
{
    OdbcHandle *h = requireOpen(m_handle);
    auto is = [&](const char *key) {
        return name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0;
    };
    if (is("DBMS Name"))
        return Variant::fromText(infoText(h->dbc(), SQL_DBMS_NAME));
    if (is("DBMS Version"))
        return Variant::fromText(infoText(h->dbc(), SQL_DBMS_VER));
    if (is("Provider Name") || is("Driver Name"))
        return Variant::fromText(infoText(h->dbc(), SQL_DRIVER_NAME));
    if (is("Provider Version"))
        return Variant::fromText(infoText(h->dbc(), SQL_DRIVER_VER));
    if (is("Driver ODBC Version"))
        return Variant::fromText(infoText(h->dbc(), SQL_DRIVER_ODBC_VER));
    if (is("Multiple Results"))
        return Variant::fromInt(
            infoText(h->dbc(), SQL_MULT_RESULT_SETS) == QLatin1String("Y") ? 1 : 0, VT_I4);
    if (is("Data Source Name"))
        return Variant::fromText(infoText(h->dbc(), SQL_DATA_SOURCE_NAME));
    if (is("Current Catalog"))
        return Variant::fromText(infoText(h->dbc(), SQL_DATABASE_NAME));
    if (is("User Name"))
        return Variant::fromText(infoText(h->dbc(), SQL_USER_NAME));
    throw ComError(AdErrItemNotFound, h->source(),
                   statusMessage(AdErrItemNotFound) + QStringLiteral(" (%1)").arg(name));
}

std::unique_ptr<ResultStream>
OdbcSession::prepare(const QString &text, const QList<Parameter> &parameters, int timeoutSeconds)
{
    requireOpen(m_handle);
    return std::make_unique<OdbcResult>(m_handle, text, parameters, timeoutSeconds);
}

std::unique_ptr<ResultStream> OdbcSession::openSchema(int schema,
                                                      const QList<Variant> &restrictions)
{
    requireOpen(m_handle);
    return OdbcSchema::open(m_handle, schema, restrictions);
}

} // namespace Ado

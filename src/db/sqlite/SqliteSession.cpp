#include "db/sqlite/SqliteSession.h"

#include "db/ado/MemoryResult.h"
#include "db/sqlite/SqliteHandle.h"
#include "db/sqlite/SqliteResult.h"
#include "db/sqlite/SqliteSchema.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace Ado {

std::unique_ptr<SqliteSession> SqliteSession::open(const ConnectionString &connection)
{
    const QString path = connection.value(QStringLiteral("Data Source")).trimmed();
    const QString mode = connection.value(QStringLiteral("Mode")).trimmed();
    const bool create = mode.compare(QLatin1String("ReadWriteCreate"), Qt::CaseInsensitive) == 0;
    const bool readOnly = mode.compare(QLatin1String("Read"), Qt::CaseInsensitive) == 0;
    if (path.isEmpty())
        throw ComError(E_Fail, SqliteHandle::Source,
                       QStringLiteral("データベースファイルが指定されていません (Data Source)。"));
    const bool memory = path == QLatin1String(":memory:");
    if (!memory && !create && !QFileInfo(path).isFile())
        throw ComError(E_Fail, SqliteHandle::Source,
                       QStringLiteral("データベースファイルが見つかりません: %1").arg(path));
    int flags = SQLITE_OPEN_NOMUTEX;
    flags |= readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message
            = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw ComError(E_Fail, SqliteHandle::Source, QStringLiteral("%1: %2").arg(message, path));
    }
    auto handle = std::make_shared<SqliteHandle>(db);
    // A file that is not a database is found out here rather than at the first query.
    char *error = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, &error)
        != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw ComError(E_Fail, SqliteHandle::Source, QStringLiteral("%1: %2").arg(message, path));
    }
    sqlite3_busy_timeout(db, 5000);
    return std::unique_ptr<SqliteSession>(new SqliteSession(handle, path));
}

SqliteSession::SqliteSession(std::shared_ptr<SqliteHandle> handle, const QString &path)
    : m_handle(std::move(handle))
    , m_path(path)
{}

SqliteSession::~SqliteSession()
{
    close();
}

void SqliteSession::close()
{
    if (m_handle)
        m_handle->markClosed();
    m_handle.reset();
}

void SqliteSession::exec(const char *sql)
{
    if (!m_handle)
        throw ComError(AdErrObjectClosed, SqliteHandle::Source, statusMessage(AdErrObjectClosed));
    const auto guard = m_handle->lock();
    char *error = nullptr;
    if (sqlite3_exec(m_handle->db(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(m_handle->db());
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw ComError(SqliteHandle::statusFor(code), SqliteHandle::Source, message);
    }
}

void SqliteSession::beginTrans()
{
    exec("BEGIN");
}

void SqliteSession::commitTrans()
{
    exec("COMMIT");
}

void SqliteSession::rollbackTrans()
{
    exec("ROLLBACK");
}

QStringList SqliteSession::propertyNames() const
{
    return {QStringLiteral("DBMS Name"),        QStringLiteral("DBMS Version"),
            QStringLiteral("Provider Name"),    QStringLiteral("Provider Version"),
            QStringLiteral("Multiple Results"), QStringLiteral("Data Source Name"),
            QStringLiteral("Current Catalog"),  QStringLiteral("Identifier Case Sensitivity"),
            QStringLiteral("Transaction DDL")};
}

Variant SqliteSession::property(const QString &name) const
{
    auto is = [&](const char *key) {
        return name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0;
    };
    if (is("DBMS Name"))
        return Variant::fromText(QStringLiteral("SQLite"));
    if (is("DBMS Version"))
        return Variant::fromText(QString::fromLatin1(sqlite3_libversion()));
    if (is("Provider Name"))
        return Variant::fromText(QStringLiteral("libsqlite3"));
    if (is("Provider Version"))
        return Variant::fromText(QString::fromLatin1(sqlite3_libversion()));
    if (is("Multiple Results"))
        return Variant::fromInt(1, VT_I4); // DBPROPVAL_MR_SUPPORTED
    if (is("Data Source Name"))
        return Variant::fromText(m_path);
    if (is("Current Catalog"))
        return Variant::fromText(QStringLiteral("main"));
    if (is("Identifier Case Sensitivity"))
        return Variant::fromInt(8, VT_I4); // DBPROPVAL_IC_MIXED
    if (is("Transaction DDL"))
        return Variant::fromInt(8, VT_I4); // DBPROPVAL_TC_ALL
    throw ComError(AdErrItemNotFound, SqliteHandle::Source,
                   statusMessage(AdErrItemNotFound) + QStringLiteral(" (%1)").arg(name));
}

std::unique_ptr<ResultStream>
SqliteSession::prepare(const QString &text, const QList<Parameter> &parameters, int timeoutSeconds)
{
    if (!m_handle)
        throw ComError(AdErrObjectClosed, SqliteHandle::Source, statusMessage(AdErrObjectClosed));
    return std::make_unique<SqliteResult>(m_handle, text, parameters, timeoutSeconds);
}

std::unique_ptr<ResultStream> SqliteSession::openSchema(int schema,
                                                        const QList<Variant> &restrictions)
{
    if (!m_handle)
        throw ComError(AdErrObjectClosed, SqliteHandle::Source, statusMessage(AdErrObjectClosed));
    return SqliteSchema::open(m_handle, schema, restrictions);
}

} // namespace Ado

#include "db/odbc/OdbcHandle.h"

namespace Ado {

namespace {
// One environment for the process, created on first use and kept.
SQLHENV environment()
{
    static SQLHENV env = [] {
        SQLHENV handle = SQL_NULL_HENV;
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle);
        SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return handle;
    }();
    return env;
}
} // namespace

OdbcHandle::OdbcHandle()
{
    SQLAllocHandle(SQL_HANDLE_DBC, environment(), &m_dbc);
}

OdbcHandle::~OdbcHandle()
{
    if (m_connected)
        SQLDisconnect(m_dbc);
    if (m_dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
}

void OdbcHandle::addStatement(Statement *statement)
{
    std::lock_guard lock(m_statementsMutex);
    m_statements.insert(statement);
}

void OdbcHandle::removeStatement(Statement *statement)
{
    std::lock_guard lock(m_statementsMutex);
    m_statements.erase(statement);
}

void OdbcHandle::releaseStatements()
{
    std::set<Statement *> statements;
    {
        std::lock_guard lock(m_statementsMutex);
        statements = m_statements;
    }
    for (Statement *statement : statements)
        statement->release();
}

QString OdbcHandle::source() const
{
    return m_driverName.isEmpty() ? QStringLiteral("ODBC")
                                  : QStringLiteral("ODBC: %1").arg(m_driverName);
}

QString OdbcHandle::fromWide(const SQLWCHAR *text, qsizetype length)
{
    if (length < 0) {
        length = 0;
        while (text[length])
            ++length;
    }
    return QString(reinterpret_cast<const QChar *>(text), length);
}

std::u16string OdbcHandle::toWide(const QString &text)
{
    return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
}

QList<ErrorRecord> OdbcHandle::records(SQLSMALLINT handleType, SQLHANDLE handle,
                                       const QString &source)
{
    QList<ErrorRecord> list;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[2048];
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, message,
                                            SQLSMALLINT(std::size(message)), &length);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
            break;
        ErrorRecord record;
        record.sqlState = fromWide(state, 5);
        record.nativeError = int(native);
        record.description
            = fromWide(message, std::min<qsizetype>(length, std::size(message) - 1)).trimmed();
        record.source = source;
        record.code = statusFromSqlState(record.sqlState);
        const QString lower = record.description.toLower();
        if (lower.contains(QLatin1String("password authentication failed"))
            || lower.contains(QLatin1String("access denied for user"))
            || lower.contains(QLatin1String("authentication failed"))
            || lower.contains(QLatin1String("no password supplied")))
            record.code = DB_Sec_E_AuthFailed;
        list.append(record);
    }
    return list;
}

ComError OdbcHandle::diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString &source,
                                 const QString &fallback)
{
    const QList<ErrorRecord> list = records(handleType, handle, source);
    if (list.isEmpty())
        return ComError(E_Fail, source, fallback.isEmpty() ? statusMessage(E_Fail) : fallback);
    ErrorRecord first = list.first();
    // Further records (details, hints) join the description.
    for (qsizetype i = 1; i < list.size(); ++i)
        if (!list[i].description.isEmpty() && list[i].description != first.description)
            first.description += QLatin1Char('\n') + list[i].description;
    if (first.code == E_Fail)
        for (const ErrorRecord &record : list)
            if (record.code == DB_Sec_E_AuthFailed)
                first.code = DB_Sec_E_AuthFailed;
    return ComError(first);
}

} // namespace Ado

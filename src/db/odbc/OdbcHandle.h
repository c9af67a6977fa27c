#pragma once

#include "db/ado/AdoError.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <sql.h>
#include <sqlext.h>

namespace Ado {

// An ODBC connection handle shared by the session and its statements; freed when the last
// of them lets go. The ODBC calls it wraps are thread-safe in the driver manager.
class OdbcHandle
{
public:
    OdbcHandle();
    ~OdbcHandle();

    SQLHDBC dbc() const { return m_dbc; }
    bool isConnected() const { return m_connected.load(); }
    void setConnected(bool connected) { m_connected = connected; }
    QString driverName() const { return m_driverName; }
    void setDriverName(const QString &name) { m_driverName = name; }
    bool getDataInBlocks() const { return m_getDataInBlocks; }
    // The driver hands out a text column's value as the server sent it (UTF-8) when asked
    // for SQL_C_BINARY (psqlODBC), which spares its conversion to UTF-16.
    bool rawTextAsBinary() const { return m_rawText; }
    // The server has the standard information_schema views (PostgreSQL, MariaDB, MySQL).
    bool hasInformationSchema() const { return m_informationSchema; }
    void setHasInformationSchema(bool value) { m_informationSchema = value; }
    // A backslash escapes inside quoted literals (MySQL and MariaDB).
    bool backslashEscapes() const { return m_backslashEscapes; }
    void setBackslashEscapes(bool value) { m_backslashEscapes = value; }
    void setRawTextAsBinary(bool value) { m_rawText = value; }
    void setGetDataInBlocks(bool value) { m_getDataInBlocks = value; }

    // Every diagnostic record of a handle as an error; the status comes from the first
    // record's SQLSTATE (log-in failures recognised by their message as well).
    static ComError diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString &source,
                                const QString &fallback = {});
    static QList<ErrorRecord> records(SQLSMALLINT handleType, SQLHANDLE handle,
                                      const QString &source);
    static QString fromWide(const SQLWCHAR *text, qsizetype length = -1);
    static std::u16string toWide(const QString &text);

    // "ODBC: <driver>" as the error source.
    QString source() const;

    // Statements still open when the session closes are freed first (disconnecting would
    // free them under their record sets' feet).
    class Statement
    {
    public:
        virtual ~Statement() = default;
        virtual void release() = 0;
    };
    void addStatement(Statement *statement);
    void removeStatement(Statement *statement);
    void releaseStatements();

private:
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    std::atomic<bool> m_connected{false};
    QString m_driverName;
    bool m_getDataInBlocks = false;
    bool m_rawText = false;
    bool m_backslashEscapes = false;
    bool m_informationSchema = false;
    std::mutex m_statementsMutex;
    std::set<Statement *> m_statements;
};

} // namespace Ado

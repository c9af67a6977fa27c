#pragma once

#include "db/ado/AdoTypes.h"

#include <QList>
#include <QString>
#include <exception>

namespace Ado {

// One entry of a connection's error collection.
struct ErrorRecord
{
    Status code = E_Fail;
    QString source;      // e.g. "Qorvane SQLite Provider", "ODBC: PostgreSQL Unicode"
    QString description; // the provider's own message
    QString sqlState;    // five characters for ODBC errors, empty otherwise
    int nativeError = 0;
};

// What the component throws when an operation fails; the wrappers (CADODatabase,
// CADORecordset, CADOCommand) catch it. Carries the first error of the failure.
class ComError : public std::exception
{
public:
    ComError(Status code, const QString &source, const QString &description);
    explicit ComError(const ErrorRecord &record);

    Status code() const { return m_record.code; }
    const QString &source() const { return m_record.source; }
    const QString &description() const { return m_record.description; }
    const ErrorRecord &record() const { return m_record; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    ErrorRecord m_record;
    QByteArray m_what;
};

// The message text for a status code (the second value of each error format). Unknown
// codes give "Unknown error 0x%08X".
QString statusMessage(Status code);

// The ADO status for an ODBC SQLSTATE: 28xxx authentication, 42xxx statement errors,
// HYT00/HYT01 time-out, HY008 cancel, 23xxx integrity, otherwise E_FAIL.
Status statusFromSqlState(const QString &sqlState);

} // namespace Ado

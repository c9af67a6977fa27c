#pragma once

#include "db/ado/AdoError.h"
#include "db/ado/AdoVariant.h"

#include <QList>
#include <QString>
#include <memory>

namespace Ado {

// What a record set knows about one of its fields.
struct FieldInfo
{
    QString name;
    int type = adEmpty;     // DataType
    qint64 definedSize = 0; // characters for texts, bytes otherwise
    int attributes = 0;     // FieldAttribute bits
    int precision = 0;
    int scale = 0;
};

// One parameter of a command. name is the parameter's name without its ":" or "@".
struct Parameter
{
    QString name;
    int type = adVariant;
    int direction = adParamInput;
    qint64 size = 0;
    Variant value;
    int precision = 0;
    int scale = 0;
};

// The results of one command text as a provider produces them: one result per statement,
// in order. A result with fields is a row source (possibly with no rows); a result without
// fields is a statement that returned none and carries its records-affected count (-1 for
// a statement other than INSERT, UPDATE or DELETE).
// start(), fetch(), value() and nextResult() are called by one thread at a time (first the
// thread that executes, later the thread that reads); cancel() may be called from any thread.
class ResultStream
{
public:
    virtual ~ResultStream() = default;

    // Executes up to the first result. Throws ComError.
    virtual void start() = 0;
    virtual const QList<FieldInfo> &fields() const = 0;
    // Moves to the next row of the current result; false after the last. Throws ComError.
    virtual bool fetch() = 0;
    // The value of a column of the current row (after fetch() returned true).
    virtual void value(int column, Variant &out) = 0;
    // Bytes the current row's value takes in its field's type (characters for texts).
    virtual qint64 actualSize(int column) = 0;
    // A shortcut for the commonest field texts: appends the text of a column whose value
    // reads as itself (a plain text or an integer) and returns true, or sets isNull for a
    // NULL and returns true; returns false (nothing appended) when the value needs the full
    // renderer.
    virtual bool appendPlainText(int column, QString &out, bool &isNull)
    {
        Q_UNUSED(column);
        Q_UNUSED(out);
        Q_UNUSED(isNull);
        return false;
    }
    virtual long recordsAffected() const = 0;
    // Runs on to the next statement's result; false when there is none. Throws ComError.
    virtual bool nextResult() = 0;
    // Stops the running statement; the blocked call then throws DB_E_Canceled.
    virtual void cancel() = 0;
};

// One open provider connection. Owned by Ado::Connection. Methods other than interrupt()
// are called by one thread at a time.
class ProviderSession
{
public:
    virtual ~ProviderSession() = default;

    virtual void close() = 0;
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;
    // "DBMS Name", "DBMS Version", "Multiple Results", "Provider Name", ... Throws
    // AdErrItemNotFound for a name the provider does not know.
    virtual Variant property(const QString &name) const = 0;
    virtual QStringList propertyNames() const = 0;
    // A stream for the command text, not started yet. timeout 0 = none.
    virtual std::unique_ptr<ResultStream>
    prepare(const QString &text, const QList<Parameter> &parameters, int timeoutSeconds) = 0;
    // A started stream with the rowset of a schema number; throws DB_E_NotSupported for a
    // schema the provider does not offer. Restrictions: texts, or empty for "any".
    virtual std::unique_ptr<ResultStream> openSchema(int schema, const QList<Variant> &restrictions)
        = 0;
};

// Parses the ADO-form connection string, picks the provider from its "Provider" value and
// opens a session. Throws ComError (an unknown provider, a missing file, a log-in failure).
std::unique_ptr<ProviderSession> openProviderSession(const QString &connectionString,
                                                     const QString &user, const QString &password,
                                                     int connectTimeoutSeconds);

} // namespace Ado

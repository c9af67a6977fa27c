#include "db/ado/AdoConnection.h"

#include "db/ado/AdoRecordset.h"

namespace Ado {

namespace {
enum EventIndex {
    EvInfoMessage,
    EvBeginTrans,
    EvCommitTrans,
    EvRollbackTrans,
    EvWillExecute,
    EvExecuteComplete,
    EvWillConnect,
    EvConnectComplete,
    EvDisconnect,
};
const QString ComponentSource = QStringLiteral("ADODB.Connection");
} // namespace

std::shared_ptr<Connection> Connection::create()
{
    return std::shared_ptr<Connection>(new Connection());
}

Connection::~Connection()
{
    if (m_session) {
        try {
            m_session->close();
        } catch (const ComError &) {
        }
    }
}

QString Connection::connectionString() const
{
    return m_connectionString;
}

void Connection::setConnectionString(const QString &text)
{
    m_connectionString = text;
}

template <typename Raise>
void Connection::raise(int eventIndex, Raise raise)
{
    // Sinks are called without the lock held, so a handler may advise or unadvise.
    QList<Sink> sinks;
    {
        std::lock_guard lock(m_mutex);
        sinks = m_sinks;
    }
    for (const Sink &sink : sinks) {
        if (sink.unwanted & (1u << eventIndex))
            continue;
        int status = adStatusOK;
        raise(*sink.events, status);
        if (status == adStatusUnwantedEvent) {
            std::lock_guard lock(m_mutex);
            for (Sink &s : m_sinks)
                if (s.cookie == sink.cookie)
                    s.unwanted |= 1u << eventIndex;
        }
    }
}

void Connection::open(const QString &text, const QString &user, const QString &password,
                      int options)
{
    Q_UNUSED(options);
    if (m_session)
        throw ComError(AdErrObjectOpen, ComponentSource, statusMessage(AdErrObjectOpen));
    if (!text.isEmpty())
        m_connectionString = text;
    clearErrors();
    QString connectionText = m_connectionString;
    QString userText = user;
    QString passwordText = password;
    int opt = options;
    int willStatus = adStatusOK;
    raise(EvWillConnect, [&](ConnectionEvents &e, int &status) {
        e.willConnect(connectionText, userText, passwordText, opt, status, this);
        if (status == adStatusCancel)
            willStatus = adStatusCancel;
    });
    try {
        if (willStatus == adStatusCancel)
            throw ComError(DB_E_Canceled, ComponentSource, statusMessage(DB_E_Canceled));
        m_state = adStateConnecting;
        m_session
            = openProviderSession(connectionText, userText, passwordText, m_connectionTimeout);
        m_state = adStateOpen;
        m_transactionLevel = 0;
    } catch (const ComError &error) {
        m_state = adStateClosed;
        recordError(error.record());
        raise(EvConnectComplete, [&](ConnectionEvents &e, int &status) {
            e.connectComplete(&error.record(), status, this);
        });
        throw;
    }
    raise(EvConnectComplete,
          [&](ConnectionEvents &e, int &status) { e.connectComplete(nullptr, status, this); });
}

void Connection::close()
{
    throwIfClosed();
    std::unique_ptr<ProviderSession> session = std::move(m_session);
    m_state = adStateClosed;
    m_transactionLevel = 0;
    raise(EvDisconnect, [&](ConnectionEvents &e, int &status) { e.disconnect(status, this); });
    session->close();
}

void Connection::throwIfClosed() const
{
    if (!m_session)
        throw ComError(AdErrObjectClosed, ComponentSource, statusMessage(AdErrObjectClosed));
}

long Connection::beginTrans()
{
    throwIfClosed();
    try {
        m_session->beginTrans();
    } catch (const ComError &error) {
        recordError(error.record());
        raise(EvBeginTrans, [&](ConnectionEvents &e, int &status) {
            e.beginTransComplete(0, &error.record(), status, this);
        });
        throw;
    }
    m_transactionLevel = 1;
    raise(EvBeginTrans, [&](ConnectionEvents &e, int &status) {
        e.beginTransComplete(1, nullptr, status, this);
    });
    return 1;
}

void Connection::commitTrans()
{
    throwIfClosed();
    try {
        m_session->commitTrans();
    } catch (const ComError &error) {
        recordError(error.record());
        raise(EvCommitTrans, [&](ConnectionEvents &e, int &status) {
            e.commitTransComplete(&error.record(), status, this);
        });
        throw;
    }
    m_transactionLevel = 0;
    raise(EvCommitTrans,
          [&](ConnectionEvents &e, int &status) { e.commitTransComplete(nullptr, status, this); });
}

void Connection::rollbackTrans()
{
    throwIfClosed();
    try {
        m_session->rollbackTrans();
    } catch (const ComError &error) {
        recordError(error.record());
        raise(EvRollbackTrans, [&](ConnectionEvents &e, int &status) {
            e.rollbackTransComplete(&error.record(), status, this);
        });
        throw;
    }
    m_transactionLevel = 0;
    raise(EvRollbackTrans, [&](ConnectionEvents &e, int &status) {
        e.rollbackTransComplete(nullptr, status, this);
    });
}

QList<ErrorRecord> Connection::errors() const
{
    std::lock_guard lock(m_mutex);
    return m_errors;
}

Variant Connection::property(const QString &name) const
{
    throwIfClosed();
    return m_session->property(name);
}

QStringList Connection::propertyNames() const
{
    throwIfClosed();
    return m_session->propertyNames();
}

std::shared_ptr<Recordset> Connection::openSchema(int schema, const QList<Variant> &restrictions)
{
    throwIfClosed();
    clearErrors();
    try {
        std::unique_ptr<ResultStream> stream = m_session->openSchema(schema, restrictions);
        auto recordset = Recordset::create();
        recordset->setCursorType(adOpenStatic);
        recordset->adopt(shared_from_this(), std::move(stream), QString());
        raiseExecuteComplete(-1, nullptr, nullptr, recordset.get());
        return recordset;
    } catch (const ComError &error) {
        recordError(error.record());
        raiseExecuteComplete(-1, &error.record(), nullptr, nullptr);
        throw;
    }
}

int Connection::advise(const std::shared_ptr<ConnectionEvents> &sink)
{
    std::lock_guard lock(m_mutex);
    const int cookie = m_nextCookie++;
    m_sinks.append(Sink{cookie, sink, 0});
    return cookie;
}

void Connection::unadvise(int cookie)
{
    std::lock_guard lock(m_mutex);
    m_sinks.removeIf([cookie](const Sink &sink) { return sink.cookie == cookie; });
}

ProviderSession *Connection::session() const
{
    return m_session.get();
}

void Connection::clearErrors()
{
    std::lock_guard lock(m_mutex);
    m_errors.clear();
}

void Connection::recordError(const ErrorRecord &record)
{
    std::lock_guard lock(m_mutex);
    m_errors.append(record);
}

void Connection::raiseWillExecute(QString &source, int &cursorType, int &lockType, int &options,
                                  Command *command, Recordset *recordset)
{
    raise(EvWillExecute, [&](ConnectionEvents &e, int &status) {
        e.willExecute(source, cursorType, lockType, options, status, command, recordset, this);
    });
}

void Connection::raiseExecuteComplete(long recordsAffected, const ErrorRecord *error,
                                      Command *command, Recordset *recordset)
{
    raise(EvExecuteComplete, [&](ConnectionEvents &e, int &status) {
        status = error ? adStatusErrorsOccurred : adStatusOK;
        e.executeComplete(recordsAffected, error, status, command, recordset, this);
    });
}

} // namespace Ado

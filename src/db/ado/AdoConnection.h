#pragma once

#include "db/ado/AdoConnectionEvents.h"
#include "db/ado/AdoProvider.h"

#include <QList>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>

namespace Ado {

class Recordset;

// An ADO Connection: the connection string, time-outs and cursor location, the provider
// session while open, the error collection and the event sinks. Open, Close, transactions
// and OpenSchema are called from one thread (the UI thread); errors(), state() and the event
// sinks are safe from any thread, since executions raise their events on provider threads.
class Connection : public std::enable_shared_from_this<Connection>
{
public:
    static std::shared_ptr<Connection> create();
    ~Connection();

    QString connectionString() const;
    void setConnectionString(const QString &text);
    void setConnectionTimeout(int seconds) { m_connectionTimeout = seconds; }
    int connectionTimeout() const { return m_connectionTimeout; }
    void setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
    int commandTimeout() const { return m_commandTimeout; }
    void setCursorLocation(int location) { m_cursorLocation = location; }
    int cursorLocation() const { return m_cursorLocation; }

    // Opens with text (or the stored string when text is empty). Throws ComError.
    void open(const QString &text = {}, const QString &user = {}, const QString &password = {},
              int options = adOptionUnspecified);
    void close();
    int state() const { return m_state.load(); }

    long beginTrans(); // returns the nesting level (1)
    void commitTrans();
    void rollbackTrans();

    QList<ErrorRecord> errors() const;
    // Properties("name").Value; throws AdErrItemNotFound for an unknown name.
    Variant property(const QString &name) const;
    QStringList propertyNames() const;
    // Opens a schema rowset (materialised, scrollable). Throws ComError.
    std::shared_ptr<Recordset> openSchema(int schema, const QList<Variant> &restrictions = {});

    int advise(const std::shared_ptr<ConnectionEvents> &sink);
    void unadvise(int cookie);

    // For Recordset and Command.
    ProviderSession *session() const;
    void clearErrors();
    void recordError(const ErrorRecord &record);
    void raiseWillExecute(QString &source, int &cursorType, int &lockType, int &options,
                          Command *command, Recordset *recordset);
    void raiseExecuteComplete(long recordsAffected, const ErrorRecord *error, Command *command,
                              Recordset *recordset);

private:
    Connection() = default;
    void throwIfClosed() const;
    template <typename Raise>
    void raise(int eventIndex, Raise raise);

    struct Sink
    {
        int cookie;
        std::shared_ptr<ConnectionEvents> events;
        unsigned unwanted = 0; // bit per event index
    };

    QString m_connectionString;
    int m_connectionTimeout = 15;
    int m_commandTimeout = 30;
    int m_cursorLocation = adUseServer;
    std::atomic<int> m_state{adStateClosed};
    std::unique_ptr<ProviderSession> m_session;
    int m_transactionLevel = 0;

    mutable std::mutex m_mutex; // guards m_errors and m_sinks
    QList<ErrorRecord> m_errors;
    QList<Sink> m_sinks;
    int m_nextCookie = 1;
};

} // namespace Ado

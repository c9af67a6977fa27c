#pragma once

#include "db/ado/AdoError.h"

#include <QString>

namespace Ado {

class Command;
class Connection;
class Recordset;

// The nine connection events. A handler that sets status to adStatusUnwantedEvent is not
// given that event again. The connection raises ExecuteComplete of an asynchronous
// execution on its own provider thread, every other event on the calling thread; an
// implementation must be safe to call from any thread.
class ConnectionEvents
{
public:
    virtual ~ConnectionEvents() = default;

    virtual void infoMessage(const ErrorRecord *error, int &status, Connection *connection) = 0;
    virtual void beginTransComplete(long level, const ErrorRecord *error, int &status,
                                    Connection *connection)
        = 0;
    virtual void commitTransComplete(const ErrorRecord *error, int &status, Connection *connection)
        = 0;
    virtual void rollbackTransComplete(const ErrorRecord *error, int &status,
                                       Connection *connection)
        = 0;
    virtual void willExecute(QString &source, int &cursorType, int &lockType, int &options,
                             int &status, Command *command, Recordset *recordset,
                             Connection *connection)
        = 0;
    // recordset is the record set the execution belongs to (none for a command executed
    // without one); error is null when the execution succeeded.
    virtual void executeComplete(long recordsAffected, const ErrorRecord *error, int &status,
                                 Command *command, Recordset *recordset, Connection *connection)
        = 0;
    virtual void willConnect(QString &connectionString, QString &user, QString &password,
                             int &options, int &status, Connection *connection)
        = 0;
    virtual void connectComplete(const ErrorRecord *error, int &status, Connection *connection) = 0;
    virtual void disconnect(int &status, Connection *connection) = 0;
};

} // namespace Ado

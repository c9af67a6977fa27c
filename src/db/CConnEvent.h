#pragma once

#include "db/ado/AdoConnectionEvents.h"

// A connection-events sink that declines every event (status adStatusUnwantedEvent), so the
// connection stops raising them. Derived sinks override the events they handle.
class CConnEvent : public Ado::ConnectionEvents
{
public:
    void infoMessage(const Ado::ErrorRecord *, int &status, Ado::Connection *) override;
    void beginTransComplete(long, const Ado::ErrorRecord *, int &status,
                            Ado::Connection *) override;
    void commitTransComplete(const Ado::ErrorRecord *, int &status, Ado::Connection *) override;
    void rollbackTransComplete(const Ado::ErrorRecord *, int &status, Ado::Connection *) override;
    void willExecute(QString &, int &, int &, int &, int &status, Ado::Command *, Ado::Recordset *,
                     Ado::Connection *) override;
    void executeComplete(long, const Ado::ErrorRecord *, int &status, Ado::Command *,
                         Ado::Recordset *, Ado::Connection *) override;
    void willConnect(QString &, QString &, QString &, int &, int &status,
                     Ado::Connection *) override;
    void connectComplete(const Ado::ErrorRecord *, int &status, Ado::Connection *) override;
    void disconnect(int &status, Ado::Connection *) override;
};

#include "db/CConnEvent.h"

void CConnEvent::infoMessage(const Ado::ErrorRecord *, int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::beginTransComplete(long, const Ado::ErrorRecord *, int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::commitTransComplete(const Ado::ErrorRecord *, int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::rollbackTransComplete(const Ado::ErrorRecord *, int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::willExecute(QString &, int &, int &, int &, int &status, Ado::Command *,
                             Ado::Recordset *, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::executeComplete(long, const Ado::ErrorRecord *, int &status, Ado::Command *,
                                 Ado::Recordset *, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::willConnect(QString &, QString &, QString &, int &, int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::connectComplete(const Ado::ErrorRecord *, int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

void CConnEvent::disconnect(int &status, Ado::Connection *)
{
    status = Ado::adStatusUnwantedEvent;
}

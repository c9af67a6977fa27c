#include "db/CATConnectionEvents.h"

#include "db/CADORecordset.h"

CATConnectionEvents::CATConnectionEvents(Owner *owner)
    : m_owner(owner)
{}

void CATConnectionEvents::detach()
{
    std::lock_guard lock(m_mutex);
    m_owner = nullptr;
}

void CATConnectionEvents::executeComplete(long recordsAffected, const Ado::ErrorRecord *error,
                                          int &status, Ado::Command *, Ado::Recordset *recordset,
                                          Ado::Connection *)
{
    Q_UNUSED(status);
    // Held while calling the owner, so detach() cannot return while a call is in progress.
    std::lock_guard lock(m_mutex);
    if (!m_owner)
        return;
    const CADORecordset *current = m_owner->currentRecordset();
    if (!current || !recordset || current->recordset() != recordset)
        return;
    m_owner->executionCompleted(recordsAffected, error);
}

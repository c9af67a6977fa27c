#pragma once

#include "db/CConnEvent.h"

#include <mutex>

class CADORecordset;

// The query window's sink: tells its owner that the owner's asynchronous execution finished.
// ExecuteComplete arrives on the provider's thread; detach() (UI thread) guarantees that no
// call reaches the owner afterwards. Shared (std::shared_ptr) between the window and the
// connection it is advised to.
class CATConnectionEvents : public CConnEvent
{
public:
    // What the sink needs of its query window.
    class Owner
    {
    public:
        virtual ~Owner() = default;
        // The window's current record set, or null. Called on the provider thread.
        virtual const CADORecordset *currentRecordset() const = 0;
        // Store the count, confirm the busy flag and post FetchStart. Provider thread;
        // error is null for a successful execution.
        virtual void executionCompleted(long recordsAffected, const Ado::ErrorRecord *error) = 0;
    };

    explicit CATConnectionEvents(Owner *owner);
    void detach();

    void executeComplete(long recordsAffected, const Ado::ErrorRecord *error, int &status,
                         Ado::Command *command, Ado::Recordset *recordset,
                         Ado::Connection *connection) override;

private:
    std::mutex m_mutex;
    Owner *m_owner;
};

#pragma once

#include "ConnectionRecord.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class CADODatabase;

// The registry of open connections: owns each session with the list of query windows that
// use it, numbers the windows of a connection and the connections that share a display name,
// holds each session's execution slot, and closes a session when its last window goes.
// Windows are identified by their QObject; the registry never dereferences them.
// One process-wide instance (instance()); UI thread only.
class CDBConnections
{
public:
    CDBConnections();
    ~CDBConnections(); // releases every record (closing its session)
    CDBConnections(const CDBConnections &) = delete;
    CDBConnections &operator=(const CDBConnections &) = delete;

    static CDBConnections &instance();

    int Count() const { return int(m_records.size()); }
    ConnectionRecord *Find(const CADODatabase *session) const;
    bool IsOpen(const CADODatabase *session) const;
    // -1 for a session without a record.
    int QueryCounter(const CADODatabase *session) const;

    // A new session for a window that makes its own connection.
    CADODatabase *CreateForWindow(QObject *window);
    // Adds a window to a session's windows (raising the query counter), or gives a session
    // without a record one with that window.
    void AttachWindow(CADODatabase *session, QObject *window);
    // Once a session has opened: numbers it among the open connections of its display name.
    void RegisterOpened(CADODatabase *session);
    // "name" / "name[2]" followed by " - " + baseText when baseText is not empty; empty for
    // an unknown session.
    QString Title(const CADODatabase *session, const QString &baseText) const;
    // Claims (on) or releases (off) the session's execution slot for a window; a claim while
    // another window holds it, or a release by a window that does not, changes nothing.
    void SetBusy(CADODatabase *session, QObject *window, bool on);
    // Removes the window; the last window's going closes the connection and drops the record.
    void WindowClosed(CADODatabase *session, QObject *window);

    // The profile name without everything up to its last blank, "#", "%", ";", "/" or "\".
    static QString DisplayName(const QString &profileName);

    // Open count of a display name (0 when none is open), for the status bar and tests.
    int OpenCount(const QString &displayName) const;

private:
    struct NameCounter
    {
        QString displayName;
        int instanceCounter = 0;
        int openCount = 0;
    };

    qsizetype indexOf(const CADODatabase *session) const;
    void closeConnection(qsizetype index);

    QList<std::shared_ptr<ConnectionRecord>> m_records;
    QList<NameCounter> m_nameCounters;
};

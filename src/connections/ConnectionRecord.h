#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

class CADODatabase;

// What the schema tree panel keeps per connection between its uses; the registry only
// creates and frees it.
struct SchemaPanelState
{
    QStringList texts;
    QList<std::array<QString, 3>> entries;
    bool flag = false;
    QString filterText;
};

// One open (or opening) connection: its session, owned here, and the query windows that
// use it. Owned by CDBConnections; UI thread only.
struct ConnectionRecord
{
    std::unique_ptr<CADODatabase> session;
    // The window that holds the session's execution slot, or null.
    QObject *executingWindow = nullptr;
    int instanceNumber = 1;
    // Number for the next default title "ｸｴﾘ %d"; only ever raised.
    int queryCounter = 1;
    QList<QObject *> windows;
    SchemaPanelState schemaPanel;

    // Set by RegisterOpened: the display name counted in the registry's name counters.
    bool registered = false;
    QString registeredName;

    ConnectionRecord();
    ~ConnectionRecord();
    ConnectionRecord(const ConnectionRecord &) = delete;
    ConnectionRecord &operator=(const ConnectionRecord &) = delete;
};

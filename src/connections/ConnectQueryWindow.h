#pragma once

#include <QString>
#include <functional>

class CADODatabase;
class QWidget;

// Connecting a query window, independent of the query window's class.
//
// The caller (the query window, on the UI thread) passes itself, the session it is to share
// (new query on an existing connection) or none, a profile name and connection text (both
// empty to let the user choose), and whether to ask for a connection at all. The steps:
//  1. With a session to share: the window joins it (AttachWindow); unless the session is
//     executing, bindEventSink(session) is called; status pane 0 is cleared; connected.
//  2. Without the ask flag: not connected, nothing happens.
//  3. Status "接続中..."; the given text, or the connection choice (a declined choice clears
//     the status and gives not connected, without a session).
//  4. A new session for the window (CreateForWindow) with the "ConnectTimeout" setting, then
//     opened: any failure but a rejected log-in shows the session's error text; a rejected
//     log-in (0x80040E4D) brings up the log-in dialog, which can store user and password in
//     the profile. An opened session is registered (RegisterOpened).
//  5. Status cleared; when open: "データベース情報取得..." under the wait cursor,
//     readSchemaInfo(session), the "CommandTimeout" setting, "データベース情報取得成功.".
// The session returned belongs to the registry (CDBConnections) even when it did not open;
// the window reports its closing with CDBConnections::WindowClosed(session, window).
struct ConnectRequest
{
    QWidget *window = nullptr; // the query window: registry key and parent of the dialogs
    CADODatabase *shareSession = nullptr;
    QString profileName;
    QString connectionText;
    bool askForConnection = false;
    // Shows a text in status pane 0 (an empty text clears it).
    std::function<void(const QString &)> statusText;
    // Registers the window's connection event sink with the session.
    std::function<void(CADODatabase *)> bindEventSink;
    // Reads the schema catalogue entry of a newly opened session.
    std::function<void(CADODatabase *)> readSchemaInfo;
};

struct ConnectResult
{
    bool connected = false;
    // The window's session (shared or new), or null when none was made.
    CADODatabase *session = nullptr;
    // The profile name and connection text used (the chosen ones when the user chose).
    QString name;
    QString connectionText;
};

ConnectResult connectQueryWindow(const ConnectRequest &request);

// The open step alone, for a session the registry already holds: opens with empty user and
// password, runs the log-in on an authentication failure, registers the opened session.
bool openSession(QWidget *window, CADODatabase *session, const QString &name,
                 const QString &connectionText);

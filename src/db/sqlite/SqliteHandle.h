#pragma once

#include "db/ado/AdoError.h"

#include <QString>
#include <atomic>
#include <chrono>

struct sqlite3;
struct sqlite3_stmt;

namespace Ado {

// An open sqlite3 connection shared by the session and its result streams; closed when the
// last of them lets go. The session marks it closed at Close so streams stop preparing.
// Thread-safe (the connection runs in serialised mode).
class SqliteHandle
{
public:
    static const QString Source;

    explicit SqliteHandle(sqlite3 *db);
    ~SqliteHandle();

    sqlite3 *db() const { return m_db; }
    void markClosed() { m_closed = true; }
    bool isClosed() const { return m_closed.load(); }

    // One sqlite3_step that stops (SQLITE_INTERRUPT) when *cancelled becomes true or the
    // time-out (seconds, 0 = none) passes. Only this statement is stopped, unlike
    // sqlite3_interrupt, which would also stop other record sets of the connection.
    // A failing step stores its error in *error while the connection is still held.
    int step(sqlite3_stmt *stmt, const std::atomic<bool> *cancelled, int timeoutSeconds,
             ComError *error);

    // The ADO status for an SQLite result code.
    static Status statusFor(int sqliteCode);
    // The error of the connection as a ComError (time-out and cancel told apart).
    ComError lastError(bool cancelled) const;

private:
    static int progress(void *self);

    sqlite3 *m_db;
    std::atomic<bool> m_closed{false};
    // The step in progress (guarded by the connection's own mutex).
    const std::atomic<bool> *m_cancelFlag = nullptr;
    qint64 m_deadline = 0; // steady clock, milliseconds
    bool m_deadlinePassed = false;
};

} // namespace Ado

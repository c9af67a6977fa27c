#pragma once

#include "db/ado/AdoError.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace Ado {

// An open sqlite3 connection shared by the session and its result streams; closed when the
// last of them lets go. The session marks it closed at Close so streams stop preparing.
// The connection is opened without SQLite's own per-call locking: every use of it holds
// lock(), once per statement step and row rather than once per column read.
class SqliteHandle
{
public:
    static const QString Source;

    explicit SqliteHandle(sqlite3 *db);
    ~SqliteHandle();

    sqlite3 *db() const { return m_db; }
    std::unique_lock<std::recursive_mutex> lock() { return std::unique_lock(m_lock); }
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
    std::recursive_mutex m_lock;
    std::atomic<bool> m_closed{false};
    // The step in progress (guarded by m_lock).
    const std::atomic<bool> *m_cancelFlag = nullptr;
    qint64 m_deadline = 0; // steady clock, milliseconds
    bool m_deadlinePassed = false;
};

} // namespace Ado

#pragma once

#include "db/ado/AdoError.h"

#include <QString>
#include <atomic>
#include <chrono>

struct sqlite3;

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

    // Limits the statement steps that follow to a deadline (0 = none); a step past it is
    // interrupted and reported as a time-out.
    void setDeadline(int timeoutSeconds);
    void clearDeadline() { m_deadline = 0; }
    bool deadlinePassed() const { return m_deadlinePassed.load(); }

    // The ADO status for an SQLite result code.
    static Status statusFor(int sqliteCode);
    // The error of the connection as a ComError (time-out and cancel told apart).
    ComError lastError(bool cancelled) const;

private:
    static int progress(void *self);

    sqlite3 *m_db;
    std::atomic<bool> m_closed{false};
    std::atomic<qint64> m_deadline{0}; // steady clock, milliseconds
    std::atomic<bool> m_deadlinePassed{false};
};

} // namespace Ado

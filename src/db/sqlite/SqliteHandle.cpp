#include "db/sqlite/SqliteHandle.h"

#include <sqlite3.h>

namespace Ado {

const QString SqliteHandle::Source = QStringLiteral("SQLite");

namespace {
qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

SqliteHandle::SqliteHandle(sqlite3 *db)
    : m_db(db)
{
    sqlite3_progress_handler(m_db, 4000, &SqliteHandle::progress, this);
}

SqliteHandle::~SqliteHandle()
{
    sqlite3_close_v2(m_db);
}

int SqliteHandle::progress(void *self)
{
    // Runs inside sqlite3_step, with lock() held by step().
    auto *handle = static_cast<SqliteHandle *>(self);
    if (handle->m_cancelFlag && handle->m_cancelFlag->load(std::memory_order_relaxed))
        return 1;
    if (handle->m_deadline != 0 && nowMs() > handle->m_deadline) {
        handle->m_deadlinePassed = true;
        return 1;
    }
    return 0;
}

int SqliteHandle::step(sqlite3_stmt *stmt, const std::atomic<bool> *cancelled, int timeoutSeconds,
                       ComError *error)
{
    const auto guard = lock();
    m_cancelFlag = cancelled;
    m_deadlinePassed = false;
    m_deadline = timeoutSeconds > 0 ? nowMs() + qint64(timeoutSeconds) * 1000 : 0;
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && error)
        *error = lastError(cancelled && cancelled->load());
    m_cancelFlag = nullptr;
    m_deadline = 0;
    return rc;
}

Status SqliteHandle::statusFor(int sqliteCode)
{
    switch (sqliteCode & 0xff) {
    case SQLITE_ERROR:
        return DB_E_ErrorsInCommand;
    case SQLITE_CONSTRAINT:
        return DB_E_IntegrityViolation;
    case SQLITE_INTERRUPT:
        return DB_E_Canceled;
    case SQLITE_AUTH:
    case SQLITE_PERM:
        return DB_Sec_E_AuthFailed;
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
        return DB_E_DataOverflow;
    default:
        return E_Fail;
    }
}

ComError SqliteHandle::lastError(bool cancelled) const
{
    const auto guard = const_cast<SqliteHandle *>(this)->lock();
    const int code = sqlite3_extended_errcode(m_db);
    if ((code & 0xff) == SQLITE_INTERRUPT) {
        if (m_deadlinePassed && !cancelled)
            return ComError(DB_E_AbortLimitReached, Source,
                            QStringLiteral("クエリがタイムアウトしました。"));
        return ComError(DB_E_Canceled, Source, QStringLiteral("操作はキャンセルされました。"));
    }
    return ComError(statusFor(code), Source, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

} // namespace Ado

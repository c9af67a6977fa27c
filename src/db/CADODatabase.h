#pragma once

#include "db/ado/AdoConnection.h"

#include <QList>
#include <QString>
#include <atomic>
#include <memory>

// A session: one database connection with its name, connection text, time-outs, transaction
// flag and last error. No operation throws; failures store a database error text.
// Owned by the connection registry; called from the UI thread only, except isBusy/setBusy
// (atomic) and connection() (the shared connection, for record sets on worker threads).
class CADODatabase
{
public:
    CADODatabase();
    ~CADODatabase(); // closes, committing a pending transaction

    CADODatabase(const CADODatabase &) = delete;
    CADODatabase &operator=(const CADODatabase &) = delete;

    // Opens the stored connection text (replaced first by connectionText when not empty).
    bool Open(const QString &connectionText = {}, const QString &user = {},
              const QString &password = {});
    bool IsOpen() const;
    void Close();
    void SetConnectTimeout(int seconds) { m_connectTimeout = seconds; }
    int GetConnectTimeout() const { return m_connectTimeout; }
    void SetCommandTimeout(int seconds);
    int GetCommandTimeout() const { return m_commandTimeout; }

    // The level (1) on success or when already inside a transaction; 1 on an error too.
    long BeginTrans();
    // 0 on success; 1 on an error, which is recorded (the transaction flag then stays).
    long CommitTrans();
    long RollbackTrans();

    // The connection's error collection: "\n%s\n\n" per error, less the last two characters.
    QString ErrorsText() const;
    void ClearError();

    QString GetName() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    QString GetConnectionText() const { return m_connectionText; }
    void SetConnectionText(const QString &text) { m_connectionText = text; }
    QString GetErrorText() const { return m_errorText; }
    QString GetErrorDescription() const { return m_errorDescription; }
    Ado::Status GetErrorCode() const { return m_errorCode; }
    bool IsBusy() const { return m_busy.load(); }
    void SetBusy(bool busy) { m_busy.store(busy); }
    bool IsInTransaction() const { return m_inTransaction; }

    // Schema numbers whose rowset failed to open on this session (kept for its life).
    QList<int> &SchemaCache() { return m_schemaCache; }

    // The live connection, or null after Close.
    std::shared_ptr<Ado::Connection> connection() const { return m_connection; }
    // Replaces the live connection (used by the connection dialog after a test open).
    void SetConnection(std::shared_ptr<Ado::Connection> connection);

    // Records a failure as a database error (for callers that use connection() directly).
    void RecordError(Ado::Status code, const QString &source, const QString &description);

private:
    void recordError(const Ado::ComError &error);

    QList<int> m_schemaCache;
    std::shared_ptr<Ado::Connection> m_connection;
    std::atomic<bool> m_busy{false};
    QString m_name;
    QString m_connectionText;
    QString m_errorText;
    QString m_errorDescription;
    Ado::Status m_errorCode = 0;
    int m_connectTimeout = 0;
    int m_commandTimeout = 30;
    bool m_inTransaction = false;
};

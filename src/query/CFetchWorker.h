#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class CADODatabase;
class CADORecordset;
class CQueryExecution;
class CResultData;
class ExecutionHost;

// What one fetch needs. The worker holds it for its whole run, so nothing it reads goes away
// when the window does.
struct FetchJob
{
    std::shared_ptr<std::atomic<bool>> cancel;
    std::shared_ptr<CADORecordset> recordSet;
    CADODatabase *session = nullptr;
    bool isJet = false;
    bool multipleResults = false;
    QString tableName;
    QString objectType;
    QStringList keyColumns;
    long recordsAffected = -1;
    // The error the completion event carried, empty for a successful execution.
    QString completionError;
    int nullWidth = 6;
};

// The fetch of one execution: a worker thread reads every result of the record set into
// result models and reports through the window's execution host. The object itself lives on
// the UI thread and is the receiver of the worker's calls there: "sent" calls block the worker
// until the UI thread has run them, posted ones do not. Every call checks that the execution
// object still exists. The object deletes itself after the worker's last call.
class CFetchWorker : public QObject
{
public:
    CFetchWorker(CQueryExecution *owner, std::shared_ptr<FetchJob> job);
    void start();

    // The texts of the record set's connection's error list, one per error, separated by
    // blank lines (the session's error text of a failed read).
    static QString ConnectionErrors(const CADORecordset &recordSet);

private:
    // Worker thread.
    void run();
    void readAll();
    // Reads the current result set, which returned rows, into a new result tab; false when
    // reading failed.
    bool readRows(int *rows);
    void finishModel();
    void readError();

    // Runs function(owner, host) on the UI thread and waits for it.
    template <typename Function> void send(Function &&function);
    template <typename Function> void post(Function &&function);
    void status(int pane, const QString &text);
    void progress(int count);

    QPointer<CQueryExecution> m_owner;
    std::shared_ptr<FetchJob> m_job;
    std::shared_ptr<std::atomic<bool>> m_progressPending;

    // Worker-thread state.
    bool m_failed = false;
    QString m_errorText;
    std::shared_ptr<CResultData> m_loading;
    QList<int> m_widths;
};

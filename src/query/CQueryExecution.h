#pragma once

#include "db/CATConnectionEvents.h"
#include "sql/ParamValue.h"
#include "sql/ParameterPreparation.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <memory>

class CADOCommand;
class CADODatabase;
class CADORecordset;
class CResultData;
struct FetchJob;

// What the execution cycle needs of the window it runs for: the status panes, message boxes
// and the result view's pages. Every call arrives on the UI thread.
class ExecutionHost
{
public:
    virtual ~ExecutionHost() = default;

    virtual void setStatusText(int pane, const QString &text) = 0;
    // A message box with the OK button.
    virtual void showMessage(const QString &text) = 0;
    // Called right before the record set is opened, so the window shows its state at once.
    virtual void repaintNow() {}
    // The cycle has ended (slot released, times shown): give the window the focus.
    virtual void executionFinished() {}

    // The result view's pages.
    virtual void removeAllPages() = 0;
    virtual void addMessagePageIfNone() = 0;
    // Adds a result page and returns its (empty) model, which the fetch then loads.
    virtual std::shared_ptr<CResultData> addResultPage() = 0;
    // The model of a page added by addResultPage is loaded; the page may show it now.
    virtual void resultLoaded(const std::shared_ptr<CResultData> &model) = 0;
    virtual bool hasMessagePage() const = 0;
    virtual void appendMessage(const QString &text) = 0;
    virtual void setTotal(int total) = 0;
    virtual void selectTab(int index) = 0;
    virtual void selectResultPage(int index) = 0;
};

// The execution cycle of one query window: preparation, target table, transaction rule,
// execution slot, asynchronous open, the completion event, the fetch worker and the end of
// the cycle. Lives on the UI thread; the fetch worker reaches it only through blocking
// queued calls, and the provider thread only through a posted call.
class CQueryExecution : public QObject, private CATConnectionEvents::Owner
{
    Q_OBJECT
public:
    // window identifies the query window in the connection registry.
    CQueryExecution(ExecutionHost *host, QObject *window, QObject *parent = nullptr);
    ~CQueryExecution() override;

    CADODatabase *session() const { return m_session; }
    void setSession(CADODatabase *session);

    // Registers a new event sink with the session's connection (releasing the old one).
    void BindEventSink();

    bool IsConnected() const;
    bool IsExecuting() const;
    // The session is held by some window's execution.
    bool IsSessionBusy() const;

    // Runs text as one command. Returns false when the cycle did not start.
    bool ExecuteText(QString text, bool notSelect);
    // The parameter dialog; without one, texts with parameters run as typed.
    void setParamAsker(AskParamValues ask) { m_ask = std::move(ask); }

    void Cancel();
    bool Commit();
    bool Rollback();

    QString GetTargetTable() const { return m_targetTable; }
    QString GetTargetType() const { return m_targetType; }
    QStringList GetTargetKeys() const { return m_keyColumns; }

    QList<ParamValue> &paramValues() { return m_paramValues; }
    // What parameter preparation borrows from the window (the session only when connected).
    ParamPreparationContext paramContext();

    // Whether a text is something other than a query: its first word (after comments when
    // commentOut is 1) is not "select".
    static bool IsNotSelect(const QString &text, bool commentOut);
    // "%d:%d:%.2d" of a number of seconds.
    static QString ElapsedText(qint64 seconds);
    // "時間： %s.%d (SQL: %s.%d)".
    static QString FinishedText(qint64 totalMs, qint64 sqlMs);
    static QString RunningText(qint64 elapsedMs);

    // Milliseconds of a monotonic clock.
    static qint64 now();

Q_SIGNALS:
    // The cycle has ended (after the host was told).
    void finished();
    // The fetch worker has sent its last notification (an error report comes after
    // finished).
    void fetchEnded();

private:
    friend class CFetchWorker;

    const CADORecordset *currentRecordset() const override;
    void executionCompleted(long recordsAffected, const Ado::ErrorRecord *error) override;

    void onCompletion(long recordsAffected, const QString &errorText);
    void startFetch(long recordsAffected, const QString &errorText);
    void onExecutionFinished();
    void onTimer();
    void releaseSink();
    void resolveTarget(const QString &text);

    ExecutionHost *m_host;
    QObject *m_window;
    CADODatabase *m_session = nullptr;
    std::shared_ptr<CATConnectionEvents> m_sink;
    int m_sinkCookie = -1;
    std::weak_ptr<Ado::Connection> m_sinkConnection;
    std::shared_ptr<CADORecordset> m_recordSet;
    std::atomic<const CADORecordset *> m_current{nullptr};
    std::atomic<bool> m_completionSeen{false};
    std::unique_ptr<CADOCommand> m_paramCommand;
    QList<ParamValue> m_paramValues;
    AskParamValues m_ask;
    QString m_targetTable;
    QString m_targetType;
    QStringList m_keyColumns;
    std::shared_ptr<FetchJob> m_fetch; // the running fetch, shared with its worker
    // Cancel flag of the fetch: set by Cancel, read by the worker between rows.
    std::shared_ptr<std::atomic<bool>> m_cancelFlag;
    qint64 m_startTick = 0;
    qint64 m_sqlTick = 0;
    qint64 m_endTick = 0;
    bool m_asyncCapable = true;
    bool m_multipleResults = false;
    bool m_isJet = false;
    QTimer m_timer;
};

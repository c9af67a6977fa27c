#include "CQueryExecution.h"

#include "CFetchWorker.h"
#include "TargetTable.h"
#include "connections/CDBConnections.h"
#include "db/CADOCommand.h"
#include "db/CADODatabase.h"
#include "db/CADORecordset.h"
#include "db/FieldText.h"
#include "db/SharedText.h"
#include "platform/AppSettings.h"
#include "results/CResultData.h"
#include "schema/CDBInfo.h"
#include "sql/ScriptPreparation.h"

#include <QElapsedTimer>

CQueryExecution::CQueryExecution(ExecutionHost *host, QObject *window, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_window(window)
    , m_cancelFlag(std::make_shared<std::atomic<bool>>(false))
{
    m_timer.setInterval(300);
    connect(&m_timer, &QTimer::timeout, this, &CQueryExecution::onTimer);
}

CQueryExecution::~CQueryExecution()
{
    // A worker still running stops at its next row; its calls find no receiver.
    m_cancelFlag->store(true);
    releaseSink();
    m_current = nullptr;
}

qint64 CQueryExecution::now()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

void CQueryExecution::setSession(CADODatabase *session)
{
    if (session != m_session)
        releaseSink();
    m_session = session;
}

bool CQueryExecution::IsConnected() const
{
    return m_session && CDBConnections::instance().IsOpen(m_session);
}

bool CQueryExecution::IsSessionBusy() const
{
    return IsConnected() && m_session->IsBusy();
}

bool CQueryExecution::IsExecuting() const
{
    if (!IsConnected() || !m_session->IsBusy())
        return false;
    const ConnectionRecord *record = CDBConnections::instance().Find(m_session);
    return record && record->executingWindow == m_window;
}

// ---- the event sink ------------------------------------------------------------------------

void CQueryExecution::releaseSink()
{
    if (!m_sink)
        return;
    m_sink->detach();
    // Through the connection it was advised to: the session may already be gone.
    if (m_sinkCookie != -1) {
        if (const auto connection = m_sinkConnection.lock())
            connection->unadvise(m_sinkCookie);
    }
    m_sink.reset();
    m_sinkConnection.reset();
    m_sinkCookie = -1;
}

void CQueryExecution::BindEventSink()
{
    releaseSink();
    if (!m_session)
        return;
    const auto connection = m_session->connection();
    if (!connection)
        return;
    m_sink = std::make_shared<CATConnectionEvents>(static_cast<CATConnectionEvents::Owner *>(this));
    m_sinkCookie = connection->advise(m_sink);
    m_sinkConnection = connection;
}

const CADORecordset *CQueryExecution::currentRecordset() const
{
    return m_current.load();
}

void CQueryExecution::executionCompleted(long recordsAffected, const Ado::ErrorRecord *error)
{
    // Provider thread: keep the count and hand over to the UI thread.
    if (m_completionSeen.exchange(true))
        return;
    QString errorText;
    if (error) {
        if (const CADORecordset *current = m_current.load())
            errorText = CFetchWorker::ConnectionErrors(*current);
        if (errorText.isEmpty())
            errorText = error->description;
    }
    QMetaObject::invokeMethod(
        this, [this, recordsAffected, errorText] { onCompletion(recordsAffected, errorText); },
        Qt::QueuedConnection);
}

void CQueryExecution::onCompletion(long recordsAffected, const QString &errorText)
{
    if (!m_recordSet)
        return;
    CDBConnections::instance().SetBusy(m_session, m_window, true);
    startFetch(recordsAffected, errorText);
}

// ---- execution -----------------------------------------------------------------------------

bool CQueryExecution::IsNotSelect(const QString &text, bool commentOut)
{
    QString copy = commentOut ? ScriptPreparation::RemoveComments(text) : text;
    qsizetype start = 0;
    while (start < copy.size() && copy.at(start).isSpace())
        ++start;
    return QStringView(copy).mid(start, 6).compare(QLatin1String("select"), Qt::CaseInsensitive)
        != 0;
}

void CQueryExecution::resolveTarget(const QString &text)
{
    m_keyColumns.clear();
    m_targetTable = TargetTableOf(text);
    m_targetType = QStringLiteral("不明");
    if (m_targetTable.isEmpty())
        return;
    const QualifiedName split = SplitQualifiedName(m_targetTable);
    QString owner = split.owner;
    CDBInfo &info = CDBInfo::instance();
    if (const auto object = info.ResolveObject(m_session, split.owner, split.object)) {
        owner = object->schemaName;
        m_targetTable = object->name;
        m_targetType = object->type;
    }
    QStringList keys;
    info.GetKeyColumns(m_session, owner, split.object, keys);
    m_keyColumns.append(keys);
}

bool CQueryExecution::ExecuteText(QString text, bool notSelect)
{
    if (text.isEmpty() || !m_session)
        return false;
    if (IsSessionBusy())
        return false; // one execution per connection at a time

    CDBInfo &info = CDBInfo::instance();
    const bool connected = IsConnected();
    m_isJet = connected && info.IsJet(m_session);
    m_asyncCapable = connected ? info.IsAsyncCapable(m_session) : true;
    m_multipleResults = connected && info.HasMultipleResults(m_session);

    bool parameterised = false;
    if (connected && !m_isJet) {
        ParamPreparationContext context;
        context.session = m_session;
        context.isJet = m_isJet;
        context.command = &m_paramCommand;
        context.paramValues = &m_paramValues;
        const ParamPreparationResult prepared =
            PrepareParameters(context, text, true, m_ask ? m_ask : AskParamValues(
                                  [](QList<ParamValue> &, bool, bool *ignored, bool *) {
                                      *ignored = true; // no dialog: run the text as typed
                                      return false;
                                  }));
        if (prepared.cancelled && !prepared.ignored)
            return false;
        parameterised = prepared.parameterised;
    }

    m_startTick = now();
    m_sqlTick = m_startTick;
    m_cancelFlag->store(false); // a late cancel of the previous cycle must not stop this one
    if (!connected) {
        // The registry still holds a session that failed to open; one it dropped is gone.
        if (CDBConnections::instance().Find(m_session))
            m_host->showMessage(m_session->GetErrorText());
        return false;
    }

    BindEventSink();
    m_current = nullptr;
    if (m_recordSet) {
        m_recordSet->Close();
        m_recordSet.reset();
    }

    resolveTarget(text);

    if (AppSettings::instance().autoCommit == 0 && notSelect)
        m_session->BeginTrans();

    auto recordSet = std::make_shared<CADORecordset>(m_session);
    recordSet->SetMarkers();

    CDBConnections::instance().SetBusy(m_session, m_window, true);

    m_host->repaintNow();
    m_host->setStatusText(0, QStringLiteral("実行中 ..."));

    const int options = m_asyncCapable ? Ado::adAsyncExecute : Ado::adCmdText;
    const int location =
        AppSettings::instance().cursorLocation == 2 ? Ado::adUseClient : Ado::adUseServer;
    m_recordSet = recordSet;
    m_completionSeen = false;
    m_current = recordSet.get();

    bool opened;
    if (parameterised) {
        opened = recordSet->ExecuteCommand(*m_paramCommand, location, options);
    } else if (notSelect) {
        opened = recordSet->Open(text, Ado::adOpenKeyset, location, Ado::adLockOptimistic,
                                 options);
    } else {
        opened = recordSet->Open(text, Ado::adOpenForwardOnly, location, Ado::adLockReadOnly,
                                 options);
    }
    if (!opened || recordSet->GetErrorCode() != 0) {
        m_host->setStatusText(0, QStringLiteral("エラーが発生しました"));
        // The provider raises the completion event for a failed open too; should it not
        // have, the cycle still has to end, so it is raised here once.
        if (!m_completionSeen.exchange(true)) {
            const QString error = recordSet->GetErrorText();
            QMetaObject::invokeMethod(
                this, [this, error] { onCompletion(-1, error); }, Qt::QueuedConnection);
        }
    }
    if (!m_timer.isActive())
        m_timer.start();
    return true;
}

ParamPreparationContext CQueryExecution::paramContext()
{
    ParamPreparationContext context;
    if (IsConnected()) {
        context.session = m_session;
        context.isJet = CDBInfo::instance().IsJet(m_session);
    }
    context.command = &m_paramCommand;
    context.paramValues = &m_paramValues;
    return context;
}

// ---- the fetch worker ----------------------------------------------------------------------

void CQueryExecution::startFetch(long recordsAffected, const QString &errorText)
{
    auto job = std::make_shared<FetchJob>();
    job->cancel = m_cancelFlag;
    job->recordSet = m_recordSet;
    job->session = m_session;
    job->isJet = m_isJet;
    job->multipleResults = m_multipleResults;
    job->tableName = m_targetTable;
    job->objectType = m_targetType;
    job->keyColumns = m_keyColumns;
    job->recordsAffected = recordsAffected;
    job->completionError = errorText;
    job->nullWidth = int(AppSettings::instance().nullData.size());
    m_fetch = job;
    (new CFetchWorker(this, job))->start();
}

void CQueryExecution::onExecutionFinished()
{
    CDBConnections::instance().SetBusy(m_session, m_window, false);
    m_timer.stop();
    m_current = nullptr;
    if (m_recordSet) {
        m_recordSet->Close();
        m_recordSet.reset();
    }
    m_fetch.reset();
    m_endTick = now();
    m_host->setStatusText(2, FinishedText(m_endTick - m_startTick, m_sqlTick - m_startTick));
    m_host->executionFinished();
    Q_EMIT finished();
}

void CQueryExecution::onTimer()
{
    if (!IsExecuting())
        return;
    m_host->setStatusText(2, RunningText(now() - m_startTick));
}

// ---- cancel and transactions ---------------------------------------------------------------

void CQueryExecution::Cancel()
{
    if (!IsExecuting())
        return;
    // While the statement runs the provider is asked to stop; once rows are being read the
    // worker stops between rows (interrupting the provider then would turn the rows read so
    // far into an error).
    if (m_asyncCapable && m_recordSet && !m_fetch)
        m_recordSet->Cancel();
    m_cancelFlag->store(true);
    m_host->setStatusText(0, QStringLiteral("キャンセル中 ..."));
}

bool CQueryExecution::Commit()
{
    if (!IsConnected() || !m_session->IsInTransaction())
        return false;
    if (m_session->CommitTrans() != 0) {
        m_host->showMessage(m_session->GetErrorText());
        return false;
    }
    m_host->setStatusText(0, QStringLiteral("現在の接続トランザクションを COMMIT しました。"));
    return true;
}

bool CQueryExecution::Rollback()
{
    if (!IsConnected() || !m_session->IsInTransaction())
        return false;
    if (m_session->RollbackTrans() != 0) {
        m_host->showMessage(m_session->GetErrorText());
        return false;
    }
    m_host->setStatusText(0, QStringLiteral("現在の接続トランザクションを ROLLBACK しました。"));
    return true;
}

// ---- texts ---------------------------------------------------------------------------------

QString CQueryExecution::ElapsedText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds % 3600) / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString CQueryExecution::FinishedText(qint64 totalMs, qint64 sqlMs)
{
    return QStringLiteral("時間： %1.%2 (SQL: %3.%4)")
        .arg(ElapsedText(totalMs / 1000))
        .arg(totalMs % 1000)
        .arg(ElapsedText(sqlMs / 1000))
        .arg(sqlMs % 1000);
}

QString CQueryExecution::RunningText(qint64 elapsedMs)
{
    return QStringLiteral("時間： %1.%2").arg(ElapsedText(elapsedMs / 1000)).arg(elapsedMs % 1000);
}

#include "CQueryExecution.h"

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
#include <QThread>
#include <new>

// What one fetch shares between the window and its worker. The worker holds it for its whole
// run, so nothing it reads goes away when the window does.
struct CQueryExecution::Fetch
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

namespace {

// Calls on the UI thread for the worker. A fresh relay object per fetch stays alive until the
// worker is done, so a worker never addresses a destroyed receiver; the calls check that the
// execution object still exists.
class FetchRelay : public QObject
{
public:
    explicit FetchRelay(CQueryExecution *owner)
        : m_owner(owner)
    {
    }
    QPointer<CQueryExecution> m_owner;
};

QString connectionErrors(const CADORecordset &recordSet)
{
    QString text;
    if (const auto connection = recordSet.connection()) {
        for (const Ado::ErrorRecord &error : connection->errors())
            text += QLatin1Char('\n') + error.description + QStringLiteral("\n\n");
        text.chop(2);
    }
    return text;
}

} // namespace

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
            errorText = connectionErrors(*current);
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
    auto fetch = std::make_shared<Fetch>();
    fetch->cancel = m_cancelFlag;
    fetch->recordSet = m_recordSet;
    fetch->session = m_session;
    fetch->isJet = m_isJet;
    fetch->multipleResults = m_multipleResults;
    fetch->tableName = m_targetTable;
    fetch->objectType = m_targetType;
    fetch->keyColumns = m_keyColumns;
    fetch->recordsAffected = recordsAffected;
    fetch->completionError = errorText;
    fetch->nullWidth = int(AppSettings::instance().nullData.size());
    m_fetch = fetch;

    auto *relay = new FetchRelay(this);
    QThread *worker = QThread::create([fetch, relay] {
        // Blocking call onto the UI thread ("sent" notification).
        const auto send = [relay](auto &&function) {
            QMetaObject::invokeMethod(
                relay,
                [relay, &function] {
                    if (CQueryExecution *owner = relay->m_owner.data())
                        function(owner, owner->m_host);
                },
                Qt::BlockingQueuedConnection);
        };
        const auto status = [&send](int pane, const QString &text) {
            send([pane, text](CQueryExecution *, ExecutionHost *host) {
                host->setStatusText(pane, text);
            });
        };

        // The progress count is posted, not sent: it changes nothing the worker depends on,
        // and a worker that waited for the UI thread every 500 rows would spend most of a
        // large fetch waiting. At most one count is in flight, so a busy UI thread is never
        // flooded; counts skipped that way are overtaken by later ones anyway.
        auto progressPending = std::make_shared<std::atomic<bool>>(false);
        const auto progress = [relay, progressPending](int count) {
            if (progressPending->exchange(true))
                return;
            QMetaObject::invokeMethod(
                relay,
                [relay, progressPending, count] {
                    progressPending->store(false);
                    if (CQueryExecution *owner = relay->m_owner.data())
                        owner->m_host->setStatusText(1, QStringLiteral("データ数：%1").arg(count));
                },
                Qt::QueuedConnection);
        };

        const qint64 fetchStart = CQueryExecution::now();
        QMetaObject::invokeMethod(
            relay,
            [relay, fetchStart] {
                if (CQueryExecution *owner = relay->m_owner.data())
                    owner->m_sqlTick = fetchStart;
            },
            Qt::QueuedConnection);

        std::atomic<bool> &cancel = *fetch->cancel;
        CADORecordset *rs = fetch->recordSet.get();
        bool failed = false;
        QString errorText;
        std::shared_ptr<CResultData> loading;
        QList<int> widths;

        const auto finishModel = [&] {
            if (!loading)
                return;
            loading->SetColumnWidths(widths);
            auto model = loading;
            send([model](CQueryExecution *, ExecutionHost *host) { host->resultLoaded(model); });
            loading.reset();
        };
        const auto readError = [&] {
            failed = true;
            errorText = connectionErrors(*rs);
            if (errorText.isEmpty())
                errorText = rs->GetErrorText();
        };

        try {
            if (rs) {
                send([](CQueryExecution *, ExecutionHost *host) {
                    host->removeAllPages();
                    host->addMessagePageIfNone();
                });
                int count = 0;
                long affected = fetch->recordsAffected;
                // A statement stopped by the cancel command fails in the provider; that is
                // the cancellation the user asked for, not an error to report.
                if (!fetch->completionError.isEmpty() && !cancel.load()) {
                    failed = true;
                    errorText = fetch->completionError;
                }
                while (!failed) {
                    int rows;
                    if (rs->IsOpen()) {
                        std::shared_ptr<CResultData> model;
                        send([&model](CQueryExecution *, ExecutionHost *host) {
                            model = host->addResultPage();
                        });
                        if (!model)
                            model = std::make_shared<CResultData>();
                        loading = model;
                        const int n = rs->GetFieldCount();
                        model->SetSession(fetch->session, fetch->isJet);
                        model->BeginColumns(n);
                        model->SetTableName(fetch->tableName);
                        model->SetObjectType(fetch->objectType);
                        model->SetKeyColumns(fetch->keyColumns);
                        widths.clear();
                        for (int i = 0; i < n; ++i) {
                            const CADORecordset::FieldInfo field = rs->GetFieldInfo(i);
                            model->AddColumnName(field.name);
                            model->SetColumnInfo(i, ResultColumn::fromField(field.type,
                                                                            field.definedSize,
                                                                            field.attributes,
                                                                            field.actualSize));
                            widths.append(CResultData::InitialDisplayWidth(field.name,
                                                                           field.type));
                        }
                        CResultData::RowBuffer buffer;
                        buffer.ends.reserve(size_t(n));
                        int read = 0;
                        while (!rs->IsEOF() && !cancel.load(std::memory_order_relaxed)) {
                            ++read;
                            if (read % 500 == 0)
                                progress(read);
                            buffer.clear();
                            qint32 start = 0;
                            for (int i = 0; i < n; ++i) {
                                if (!rs->AppendFieldText(i, buffer.text))
                                    break;
                                const qint32 end = qint32(buffer.text.size());
                                buffer.ends.push_back(end);
                                const int width = CResultData::DisplayWidthOf(
                                    QStringView(buffer.text).mid(start, end - start),
                                    fetch->nullWidth);
                                if (width > widths[i])
                                    widths[i] = width;
                                start = end;
                            }
                            if (buffer.ends.size() != size_t(n)) {
                                --read;
                                readError();
                                break;
                            }
                            model->AddRow(buffer);
                            if (!rs->MoveNext()) {
                                readError();
                                break;
                            }
                        }
                        finishModel();
                        if (failed)
                            break;
                        rows = read;
                    } else {
                        rows = int(affected);
                    }
                    if (rows != -1)
                        count += rows;
                    QString line;
                    if (rows != -1)
                        line = QStringLiteral("(%1件が処理されました)\r\n\r\n").arg(rows);
                    else if (cancel.load())
                        line = QStringLiteral("コマンドはキャンセルされました\r\n\r\n");
                    else
                        line = QStringLiteral("コマンドは正常に終了しました\r\n\r\n");
                    send([line](CQueryExecution *, ExecutionHost *host) {
                        host->appendMessage(line);
                    });
                    if (!fetch->multipleResults || cancel.load())
                        break;
                    const Ado::Status before = rs->GetErrorCode();
                    long next = -1;
                    if (!rs->NextRecordset(&next)) {
                        if (rs->GetErrorCode() != 0 && rs->GetErrorCode() != before)
                            readError();
                        break;
                    }
                    affected = next;
                }
                if (!failed) {
                    const bool cancelled = cancel.load();
                    status(0, cancelled ? QStringLiteral("実行がキャンセルされました")
                                        : QStringLiteral("実行が完了しました"));
                    send([count](CQueryExecution *, ExecutionHost *host) {
                        host->setTotal(count);
                        host->setStatusText(1, QStringLiteral("総データ数：%1").arg(count));
                        host->selectResultPage(0);
                    });
                }
            }
        } catch (const std::bad_alloc &) {
            failed = true;
            errorText = QStringLiteral("メモリ不足");
        } catch (const std::exception &error) {
            failed = true;
            errorText = QString::fromLocal8Bit(error.what());
        } catch (...) {
            failed = true;
            errorText = QStringLiteral("不明エラー");
        }
        if (failed) {
            try {
                finishModel();
            } catch (...) {
            }
        }
        cancel.store(false);
        // Closing may talk to the server (a cursor to drop); it is done here, off the UI
        // thread, so the window's own close of the record set finds nothing left to do.
        if (rs)
            rs->Close();

        send([](CQueryExecution *owner, ExecutionHost *) { owner->onExecutionFinished(); });

        if (failed && !errorText.isEmpty()) {
            send([errorText](CQueryExecution *, ExecutionHost *host) {
                if (host->hasMessagePage())
                    host->appendMessage(errorText);
                else
                    host->showMessage(errorText);
            });
            status(0, QStringLiteral("エラーが発生しました"));
            send([](CQueryExecution *, ExecutionHost *host) { host->selectTab(0); });
        } else if (failed) {
            cancel.store(false);
        }
        QMetaObject::invokeMethod(
            relay,
            [relay] {
                if (CQueryExecution *owner = relay->m_owner.data())
                    Q_EMIT owner->fetchEnded();
                relay->deleteLater();
            },
            Qt::QueuedConnection);
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
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

#include "CFetchWorker.h"

#include "CQueryExecution.h"
#include "db/CADORecordset.h"
#include "db/ado/AdoConnection.h"
#include "results/CResultData.h"

#include <QThread>
#include <new>

QString CFetchWorker::ConnectionErrors(const CADORecordset &recordSet)
{
    QString text;
    if (const auto connection = recordSet.connection()) {
        for (const Ado::ErrorRecord &error : connection->errors())
            text += QLatin1Char('\n') + error.description + QStringLiteral("\n\n");
        text.chop(2);
    }
    return text;
}

CFetchWorker::CFetchWorker(CQueryExecution *owner, std::shared_ptr<FetchJob> job)
    : m_owner(owner)
    , m_job(std::move(job))
    , m_progressPending(std::make_shared<std::atomic<bool>>(false))
{
}

void CFetchWorker::start()
{
    QThread *thread = QThread::create([this] { run(); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

template <typename Function> void CFetchWorker::send(Function &&function)
{
    QMetaObject::invokeMethod(
        this,
        [this, &function] {
            if (CQueryExecution *owner = m_owner.data())
                function(owner, owner->m_host);
        },
        Qt::BlockingQueuedConnection);
}

template <typename Function> void CFetchWorker::post(Function &&function)
{
    QMetaObject::invokeMethod(
        this,
        [this, function = std::forward<Function>(function)] {
            if (CQueryExecution *owner = m_owner.data())
                function(owner, owner->m_host);
        },
        Qt::QueuedConnection);
}

void CFetchWorker::status(int pane, const QString &text)
{
    send([pane, text](CQueryExecution *, ExecutionHost *host) { host->setStatusText(pane, text); });
}

void CFetchWorker::progress(int count)
{
    // Posted, not sent: a worker that waited for the UI thread every 500 rows would spend most
    // of a large fetch waiting. At most one count is in flight, so a busy UI thread is never
    // flooded; a skipped count is overtaken by a later one anyway.
    if (m_progressPending->exchange(true))
        return;
    post([pending = m_progressPending, count](CQueryExecution *, ExecutionHost *host) {
        pending->store(false);
        host->setStatusText(1, QStringLiteral("データ数：%1").arg(count));
    });
}

void CFetchWorker::run()
{
    const qint64 fetchStart = CQueryExecution::now();
    post([fetchStart](CQueryExecution *owner, ExecutionHost *) { owner->m_sqlTick = fetchStart; });

    try {
        readAll();
    } catch (const std::bad_alloc &) {
        m_failed = true;
        m_errorText = QStringLiteral("メモリ不足");
    } catch (const std::exception &error) {
        m_failed = true;
        m_errorText = QString::fromLocal8Bit(error.what());
    } catch (...) {
        m_failed = true;
        m_errorText = QStringLiteral("不明エラー");
    }
    if (m_failed) {
        try {
            finishModel(); // the rows read before the failure stay
        } catch (...) {
        }
    }
    m_job->cancel->store(false);
    // Closing may talk to the server (a cursor to drop); it is done here, off the UI thread,
    // so the window's own close of the record set finds nothing left to do.
    if (m_job->recordSet)
        m_job->recordSet->Close();

    send([](CQueryExecution *owner, ExecutionHost *) { owner->onExecutionFinished(); });

    if (m_failed && !m_errorText.isEmpty()) {
        send([text = m_errorText](CQueryExecution *, ExecutionHost *host) {
            if (host->hasMessagePage())
                host->appendMessage(text);
            else
                host->showMessage(text);
        });
        status(0, QStringLiteral("エラーが発生しました"));
        send([](CQueryExecution *, ExecutionHost *host) { host->selectTab(0); });
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (CQueryExecution *owner = m_owner.data())
                Q_EMIT owner->fetchEnded();
            deleteLater();
        },
        Qt::QueuedConnection);
}

void CFetchWorker::readAll()
{
    CADORecordset *rs = m_job->recordSet.get();
    if (!rs)
        return;
    std::atomic<bool> &cancel = *m_job->cancel;
    send([](CQueryExecution *, ExecutionHost *host) {
        host->removeAllPages();
        host->addMessagePageIfNone();
    });
    int count = 0;
    long affected = m_job->recordsAffected;
    // A statement stopped by the cancel command fails in the provider; that is the
    // cancellation the user asked for, not an error to report.
    if (!m_job->completionError.isEmpty() && !cancel.load()) {
        m_failed = true;
        m_errorText = m_job->completionError;
        return;
    }
    for (;;) {
        int rows = -1;
        if (rs->IsOpen()) {
            if (!readRows(&rows))
                return;
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
        send([line](CQueryExecution *, ExecutionHost *host) { host->appendMessage(line); });
        if (!m_job->multipleResults || cancel.load())
            break;
        const Ado::Status before = rs->GetErrorCode();
        long next = -1;
        if (!rs->NextRecordset(&next)) {
            if (rs->GetErrorCode() != 0 && rs->GetErrorCode() != before) {
                readError();
                return;
            }
            break;
        }
        affected = next;
    }
    status(0, cancel.load() ? QStringLiteral("実行がキャンセルされました")
                            : QStringLiteral("実行が完了しました"));
    send([count](CQueryExecution *, ExecutionHost *host) {
        host->setTotal(count);
        host->setStatusText(1, QStringLiteral("総データ数：%1").arg(count));
        host->selectResultPage(0);
    });
}

bool CFetchWorker::readRows(int *rows)
{
    CADORecordset *rs = m_job->recordSet.get();
    const std::atomic<bool> &cancel = *m_job->cancel;
    std::shared_ptr<CResultData> model;
    send([&model](CQueryExecution *, ExecutionHost *host) { model = host->addResultPage(); });
    if (!model)
        model = std::make_shared<CResultData>(); // the window is gone: read into nothing
    m_loading = model;

    const int n = rs->GetFieldCount();
    model->SetSession(m_job->session, m_job->isJet);
    model->BeginColumns(n);
    model->SetTableName(m_job->tableName);
    model->SetObjectType(m_job->objectType);
    model->SetKeyColumns(m_job->keyColumns);
    m_widths.clear();
    for (int i = 0; i < n; ++i) {
        const CADORecordset::FieldInfo field = rs->GetFieldInfo(i);
        model->AddColumnName(field.name);
        model->SetColumnInfo(i, ResultColumn::fromField(field.type, field.definedSize,
                                                        field.attributes, field.actualSize));
        m_widths.append(CResultData::InitialDisplayWidth(field.name, field.type));
    }

    CResultData::RowBuffer buffer;
    buffer.ends.reserve(size_t(n));
    const int nullWidth = m_job->nullWidth;
    int read = 0;
    while (!rs->IsEOF() && !cancel.load(std::memory_order_relaxed)) {
        ++read;
        if (read % 500 == 0)
            progress(read);
        buffer.clear();
        qint32 start = 0;
        for (int i = 0; i < n; ++i) {
            if (!rs->AppendFieldText(i, buffer.text)) {
                readError();
                finishModel();
                return false;
            }
            const qint32 end = qint32(buffer.text.size());
            buffer.ends.push_back(end);
            const int width = CResultData::DisplayWidthOf(
                QStringView(buffer.text).mid(start, end - start), nullWidth);
            if (width > m_widths[i])
                m_widths[i] = width;
            start = end;
        }
        model->AddRow(buffer);
        if (!rs->MoveNext()) {
            readError();
            finishModel();
            return false;
        }
    }
    finishModel();
    *rows = read;
    return true;
}

void CFetchWorker::finishModel()
{
    if (!m_loading)
        return;
    m_loading->SetColumnWidths(m_widths);
    auto model = std::move(m_loading);
    m_loading.reset();
    send([model](CQueryExecution *, ExecutionHost *host) { host->resultLoaded(model); });
}

void CFetchWorker::readError()
{
    m_failed = true;
    m_errorText = ConnectionErrors(*m_job->recordSet);
    if (m_errorText.isEmpty())
        m_errorText = m_job->recordSet->GetErrorText();
}

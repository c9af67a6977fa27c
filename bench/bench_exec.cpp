// The execution cycle on a large result: F5 in a real query window (offscreen) until the first
// result tab shows every row, beside the command-line tool of the same database writing the
// same query to /dev/null, in one run.
//
//   bench_exec sqlite   [rows]   table in /tmp/bench_exec.db (built with sqlite3 when missing)
//   bench_exec postgres [rows]   table bench_exec_t on $QORVANE_TEST_PG (built with psql)
//
// Prints the times, their ratio, the result model's bytes per cell, the process's peak
// resident size beside the tool's, and the longest the UI thread's event loop went without
// serving a 2 ms timer during the fetch.

#include "connections/CDBConnections.h"
#include "db/CADODatabase.h"
#include "editor/CQryView.h"
#include "platform/AppSettings.h"
#include "query/CChildFrame.h"
#include "query/CQueryExecution.h"
#include "query/CResultView.h"
#include "resultview/CResultGrid.h"
#include "results/CResultData.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Runs a tool with its output to /dev/null; returns milliseconds and its peak in KiB.
double runTool(const QString &program, const QStringList &args, long *peak,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("/usr/bin/time"),
                  QStringList{QStringLiteral("-f"), QStringLiteral("%M")} << program << args);
    process.waitForFinished(-1);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const QList<QByteArray> lines = process.readAllStandardError().trimmed().split('\n');
    *peak = lines.isEmpty() ? -1 : lines.last().trimmed().toLong();
    return ms;
}

bool shell(const QString &command, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    process.waitForFinished(-1);
    if (process.exitCode() != 0)
        std::fprintf(stderr, "%s\n", process.readAllStandardError().constData());
    return process.exitCode() == 0;
}

QString pgField(const QString &connection, const QString &key)
{
    for (const QString &part : connection.split(QLatin1Char(';'))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("sqlite");
    const int rows = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 1000000;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString query = QStringLiteral("SELECT * FROM bench_exec_t");

    const QString columns = QStringLiteral(
        "x AS id, x %% 1000 AS i2, 'name ' || x AS name, 'C' || (x %% 97) AS code, "
        "(x %% 10000) / 100.0 AS price, x / 7.0 AS ratio, %1 AS created, (x %% 2 = 0) AS flag, "
        "x * 1000003 AS qty, 'note for row ' || x AS note");

    QString connection;
    QString toolProgram;
    QStringList toolArgs;
    if (mode == QLatin1String("sqlite")) {
        const QString path = QStringLiteral("/tmp/bench_exec_%1.db").arg(rows);
        if (!QFile::exists(path)) {
            const QString sql =
                QStringLiteral("CREATE TABLE bench_exec_t AS WITH RECURSIVE c(x) AS "
                               "(SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT %1) SELECT %2 FROM c;")
                    .arg(rows)
                    .arg(QString(columns).replace(QLatin1String("%%"), QLatin1String("%"))
                             .arg(QStringLiteral("datetime(1700000000 + x * 60, 'unixepoch')")));
            if (!shell(QStringLiteral("sqlite3 %1 \"%2\"").arg(path, sql), env))
                return 1;
        }
        connection = QStringLiteral("Provider=SQLite;Data Source=") + path;
        toolProgram = QStringLiteral("sqlite3");
        toolArgs = {QStringLiteral("-csv"), path, query};
    } else {
        connection = qEnvironmentVariable("QORVANE_TEST_PG");
        if (connection.isEmpty()) {
            std::fprintf(stderr, "QORVANE_TEST_PG is not set\n");
            return 2;
        }
        const QString source = pgField(connection, QStringLiteral("Data Source"));
        const QString host = source.section(QLatin1Char(':'), 0, 0);
        const QString port = source.section(QLatin1Char(':'), 1, 1);
        env.insert(QStringLiteral("PGPASSWORD"), pgField(connection, QStringLiteral("Password")));
        const QStringList psqlBase = {QStringLiteral("-h"), host, QStringLiteral("-p"), port,
                                      QStringLiteral("-U"),
                                      pgField(connection, QStringLiteral("User ID")),
                                      QStringLiteral("-d"),
                                      pgField(connection, QStringLiteral("Initial Catalog"))};
        const QString create =
            QStringLiteral("DROP TABLE IF EXISTS bench_exec_t; CREATE TABLE bench_exec_t AS "
                           "SELECT %1 FROM generate_series(1::bigint, %2) AS x;")
                .arg(QString(columns).replace(QLatin1String("%%"), QLatin1String("%"))
                         .arg(QStringLiteral("timestamp '2024-01-01' + x * interval '1 minute'")))
                .arg(rows);
        QProcess psql;
        psql.setProcessEnvironment(env);
        psql.start(QStringLiteral("psql"), QStringList(psqlBase) << QStringLiteral("-qc") << create);
        psql.waitForFinished(-1);
        if (psql.exitCode() != 0) {
            std::fprintf(stderr, "%s\n", psql.readAllStandardError().constData());
            return 1;
        }
        toolProgram = QStringLiteral("psql");
        toolArgs = QStringList(psqlBase) << QStringLiteral("-At") << QStringLiteral("-c") << query;
    }

    // The tool first (warms the caches for both), then again after us.
    long toolPeak = 0;
    runTool(toolProgram, toolArgs, &toolPeak, env);
    const double toolMs1 = runTool(toolProgram, toolArgs, &toolPeak, env);

    AppSettings::instance().autoCommit = 1;
    auto *frame = new CChildFrame;
    CDBConnections &registry = CDBConnections::instance();
    CADODatabase *session = registry.CreateForWindow(frame);
    if (!session->Open(connection)) {
        std::fprintf(stderr, "%s\n", qPrintable(session->GetErrorText()));
        return 1;
    }
    registry.RegisterOpened(session);
    session->SetCommandTimeout(0);
    frame->setSession(session);
    frame->resize(1000, 700);
    frame->show();
    frame->editor()->SetText(query);
    QApplication::processEvents();

    // Event-loop latency: the longest gap between ticks of a 2 ms timer during the cycle.
    // Gaps are counted separately before the fetch (the execute command itself, which reads
    // the catalogue on the UI thread) and during it (from the first page on).
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 worstGap = 0;
    qint64 worstStartGap = 0;
    qint64 worstGapAt = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 t = clock.elapsed();
        if (frame->resultView()->pageCount() > 0 && t - lastTick > worstGap) {
            worstGap = t - lastTick;
            worstGapAt = t;
        }
        else
            worstStartGap = qMax(worstStartGap, t - lastTick);
        lastTick = t;
    });

    bool done = false;
    QObject::connect(frame->execution(), &CQueryExecution::fetchEnded, [&] { done = true; });
    QElapsedTimer timer;
    clock.start();
    ticker.start(2);
    timer.start();
    frame->runCommand(Cmd::Execute);
    while (!done)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The tab is shown once its grid has painted.
    CResultGrid *grid = frame->resultView()->resultGrid(0);
    if (grid)
        grid->repaint();
    const double oursMs = double(timer.nsecsElapsed()) / 1e6;
    ticker.stop();

    const double toolMs2 = runTool(toolProgram, toolArgs, &toolPeak, env);
    const double toolMs = qMin(toolMs1, toolMs2);

    if (!grid) {
        std::fprintf(stderr, "no result tab: %s\n", qPrintable(frame->statusText(0)));
        return 1;
    }
    const CResultData &data = *grid->resultData();
    const double cells = double(data.GetFetchedRowCount()) * data.GetColumnCount();
    std::printf("provider %s, %d rows x %d columns (%d rows loaded, grid %d rows)\n",
                qPrintable(mode), rows, data.GetColumnCount(), data.GetFetchedRowCount(),
                grid->dataRowCount());
    std::printf("%s: %.0f ms (best of two)\n", qPrintable(toolProgram), toolMs);
    std::printf("qorvane F5 to the loaded tab: %.0f ms, ratio %.2f\n", oursMs, oursMs / toolMs);
    std::printf("result model: %.1f bytes per cell (%.1f MiB)\n",
                double(data.MemoryUsage()) / cells, double(data.MemoryUsage()) / 1048576.0);
    std::printf("peak resident: qorvane %ld KiB, %s %ld KiB\n", peakKiB(), qPrintable(toolProgram),
                toolPeak);
    std::printf("longest event-loop gap during the fetch: %lld ms, ending %lld ms before the "
                "cycle's end (before the fetch: %lld ms)\n",
                worstGap, qint64(oursMs) - worstGapAt, worstStartGap);
    std::printf("status: %s / %s\n", qPrintable(frame->statusText(0)),
                qPrintable(frame->statusText(2)));

    registry.WindowClosed(session, frame);
    delete frame;
    return 0;
}

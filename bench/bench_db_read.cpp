// Reading a large result through CADORecordset into field texts, beside the databases' own
// command-line tools writing the same query to /dev/null.
//
//     bench_db_read [rows [sqlite|postgres]]     (default 1,000,000 rows, both)
//
// SQLite: a file in the temporary folder, built once. PostgreSQL: the server of the
// QORVANE_TEST_PG connection string (skipped when unset), table bench_db_read, built for the
// run and dropped afterwards.

#include "db/CADODatabase.h"
#include "db/CADORecordset.h"
#include "db/ado/ConnectionString.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

struct Figures
{
    double seconds = 0;
    double cpuSeconds = 0; // user + system time of the reading process
    double firstRowMs = 0;
    long peakKb = 0;
    qint64 cells = 0;
};

double cpuNow()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
           + usage.ru_stime.tv_usec / 1e6;
}

long peakRssKb()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Resets the peak so the next figure is the reading alone.
void resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

bool run(CADODatabase &session, const QString &sql, const QString &text)
{
    CADORecordset rs(&session);
    if (!rs.Open(sql.isEmpty() ? text : sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(rs.GetErrorText()));
        return false;
    }
    while (rs.NextRecordset()) {
    }
    return rs.GetErrorCode() == 0;
}

enum class Mode { FieldTexts, RowBuffer, RowsOnly };

Figures readAll(const QString &connection, const QString &query, Mode mode = Mode::FieldTexts)
{
    const bool texts = mode != Mode::RowsOnly;
    Figures f;
    CADODatabase session;
    if (!session.Open(connection)) {
        std::fprintf(stderr, "%s\n", qPrintable(session.GetErrorText()));
        return f;
    }
    resetPeak();
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuNow();
    CADORecordset rs(&session);
    rs.SetMarkers();
    if (!rs.Open(query)) {
        std::fprintf(stderr, "%s\n", qPrintable(rs.GetErrorText()));
        return f;
    }
    const int fields = rs.GetFieldCount();
    QString cell;
    qint64 characters = 0;
    bool first = true;
    while (!rs.IsEOF()) {
        if (first) {
            f.firstRowMs = timer.nsecsElapsed() / 1e6;
            first = false;
        }
        if (mode == Mode::RowBuffer) {
            // As the fetch worker fills the result model: one text block per row.
            cell.resize(0);
            for (int i = 0; i < fields; ++i) {
                rs.AppendFieldText(i, cell);
                ++f.cells;
            }
            characters += cell.size();
        }
        for (int i = 0; mode == Mode::FieldTexts && i < fields; ++i) {
            rs.GetFieldText(i, cell);
            characters += cell.size();
            ++f.cells;
        }
        rs.MoveNext();
    }
    rs.Close();
    f.seconds = timer.nsecsElapsed() / 1e9;
    f.cpuSeconds = cpuNow() - cpuStart;
    f.peakKb = peakRssKb();
    if (texts && characters == 0)
        std::fprintf(stderr, "no text read\n");
    return f;
}

// Runs a command line with its output to /dev/null under /usr/bin/time.
Figures tool(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    Figures f;
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    QStringList args{QStringLiteral("-f"), QStringLiteral("%e %M %U %S"), program};
    args += arguments;
    process.start(QStringLiteral("/usr/bin/time"), args);
    process.waitForFinished(-1);
    const QStringList parts
        = QString::fromUtf8(process.readAllStandardError()).trimmed().split('\n').last().split(' ');
    f.seconds = parts.value(0).toDouble();
    f.peakKb = parts.value(1).toLong();
    f.cpuSeconds = parts.value(2).toDouble() + parts.value(3).toDouble();
    return f;
}

template <typename Fn>
Figures best(int times, Fn fn)
{
    Figures result;
    for (int i = 0; i < times; ++i) {
        const Figures f = fn();
        if (i == 0 || f.seconds < result.seconds)
            result = f;
    }
    return result;
}

void report(const char *what, const Figures &ours, const Figures &theirs, const char *tool)
{
    std::printf("%-10s CADORecordset %7.2f s wall %7.2f s cpu (first row %6.1f ms, peak %6ld MB, "
                "%lld cells)\n",
                what, ours.seconds, ours.cpuSeconds, ours.firstRowMs, ours.peakKb / 1024,
                static_cast<long long>(ours.cells));
    std::printf("%-10s %-13s %7.2f s wall %7.2f s cpu (peak %6ld MB)\n", what, tool, theirs.seconds,
                theirs.cpuSeconds, theirs.peakKb / 1024);
    std::printf("%-10s ratio %.2f wall, %.2f cpu\n\n", what, ours.seconds / theirs.seconds,
                ours.cpuSeconds / theirs.cpuSeconds);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    const QString only = argc > 2 ? QString::fromLatin1(argv[2]) : QString();
    std::printf("rows: %ld\n\n", rows);

    // SQLite.
    const QString path
        = QDir::temp().filePath(QStringLiteral("qorvane_bench_db_read_%1.db").arg(rows));
    const QString sqlite
        = QStringLiteral("Provider=SQLite;Mode=ReadWriteCreate;Data Source=") + path;
    if (!QFileInfo::exists(path)) {
        CADODatabase session;
        session.Open(sqlite);
        run(session, {},
            QStringLiteral(
                "CREATE TABLE bench (id INTEGER PRIMARY KEY, qty INTEGER, code VARCHAR(10), "
                "name VARCHAR(40), amount DECIMAL(12,2), ratio REAL, at DATETIME, flag BOOLEAN, "
                "note VARCHAR(20), jp VARCHAR(20));"
                "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < %1) "
                "INSERT INTO bench SELECT x, x * 7 %% 1000, 'C' || (x %% 1000), "
                "CASE WHEN x %% 10 = 0 THEN NULL ELSE 'name ' || x END, "
                "CASE WHEN x %% 10 = 5 THEN NULL ELSE (x %% 100000) / 100.0 END, x / 3.0, "
                "datetime(1700000000 + x * 37, 'unixepoch'), x %% 2, "
                "CASE WHEN x %% 10 = 3 THEN NULL ELSE 'note' || (x %% 50) END, "
                "'日本語テキスト' || (x %% 100) FROM c")
                .arg(rows)
                .replace("%%", "%"));
    }
    const QString sqliteQuery = QStringLiteral("SELECT * FROM bench");
    if (only.isEmpty() || only == QLatin1String("sqlite")) {
        const Figures sqliteOurs = best(3, [&] { return readAll(sqlite, sqliteQuery); });
        const Figures sqliteTool = best(3, [&] {
            return tool("sqlite3", {"-csv", path, sqliteQuery});
        });
        report("SQLite", sqliteOurs, sqliteTool, "sqlite3 -csv");
        const Figures rowBuffer = best(3, [&] { return readAll(sqlite, sqliteQuery, Mode::RowBuffer); });
        std::printf("SQLite     row blocks (AppendFieldText) %7.2f s wall %7.2f s cpu, ratio %.2f "
                    "wall, %.2f cpu\n\n",
                    rowBuffer.seconds, rowBuffer.cpuSeconds, rowBuffer.seconds / sqliteTool.seconds,
                    rowBuffer.cpuSeconds / sqliteTool.cpuSeconds);
    }
    if (only == QLatin1String("sqlite"))
        return 0;

    // PostgreSQL.
    const QString pg = qEnvironmentVariable("QORVANE_TEST_PG");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL: QORVANE_TEST_PG not set, skipped\n");
        return 0;
    }
    {
        CADODatabase session;
        if (!session.Open(pg))
            return 1;
        CADORecordset rs(&session);
        rs.Open(QStringLiteral("SELECT count(*) FROM bench_db_read"));
        QString count;
        if (rs.IsEOF() || !rs.GetFieldText(0, count) || count.toLong() != rows) {
            rs.Close();
            run(session, {},
                QStringLiteral(
                    "DROP TABLE IF EXISTS bench_db_read;"
                    "CREATE TABLE bench_db_read (id INTEGER PRIMARY KEY, qty INTEGER, code "
                    "VARCHAR(10), "
                    "name VARCHAR(40), amount NUMERIC(12,2), ratio DOUBLE PRECISION, at TIMESTAMP, "
                    "flag BOOLEAN, note VARCHAR(20), jp VARCHAR(20));"
                    "INSERT INTO bench_db_read SELECT x, x * 7 % 1000, 'C' || (x % 1000), "
                    "CASE WHEN x % 10 = 0 THEN NULL ELSE 'name ' || x END, "
                    "CASE WHEN x % 10 = 5 THEN NULL ELSE (x % 100000) / 100.0 END, x / 3.0, "
                    "to_timestamp(1700000000 + x * 37)::timestamp, x % 2 = 1, "
                    "CASE WHEN x % 10 = 3 THEN NULL ELSE 'note' || (x % 50) END, "
                    "'日本語テキスト' || (x % 100) FROM generate_series(1, %1) x;"
                    "ANALYZE bench_db_read")
                    .arg(rows));
        }
    }
    const QString pgQuery = QStringLiteral("SELECT * FROM bench_db_read");
    const Figures pgOurs = best(3, [&] { return readAll(pg, pgQuery); });
    const Ado::ConnectionString cs(pg);
    const QString source = cs.value("Data Source");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PGPASSWORD", cs.value("Password"));
    const Figures pgTool = best(3, [&] {
        return tool("psql",
                    {"-h", source.section(':', 0, 0), "-p", source.section(':', 1, 1), "-U",
                     cs.value("User ID"), "-d", cs.value("Initial Catalog"), "-At", "-c", pgQuery},
                    env);
    });
    report("PostgreSQL", pgOurs, pgTool, "psql -At -c");
    const Figures pgRowBuffer = best(3, [&] { return readAll(pg, pgQuery, Mode::RowBuffer); });
    std::printf("PostgreSQL row blocks (AppendFieldText) %7.2f s wall %7.2f s cpu, ratio %.2f "
                "wall, %.2f cpu\n",
                pgRowBuffer.seconds, pgRowBuffer.cpuSeconds, pgRowBuffer.seconds / pgTool.seconds,
                pgRowBuffer.cpuSeconds / pgTool.cpuSeconds);
    // The driver's share: the same rows moved through without reading any field.
    const Figures pgRows = best(3, [&] { return readAll(pg, pgQuery, Mode::RowsOnly); });
    std::printf("PostgreSQL rows only (MoveNext, no field texts) %7.2f s wall %7.2f s cpu\n",
                pgRows.seconds, pgRows.cpuSeconds);
    // The table is not left in the shared test database.
    {
        CADODatabase session;
        if (session.Open(pg))
            run(session, {}, QStringLiteral("DROP TABLE IF EXISTS bench_db_read"));
    }
    return 0;
}

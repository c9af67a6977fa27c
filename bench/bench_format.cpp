// Formatter throughput: lays out 1 MB and 10 MB of typical SQL (TPC-H queries, sqlglot test
// statements and the pagila schema, with CR LF line breaks as the editor hands them over)
// with the default options, in one run, and prints the times and their ratio.
//
//     bench_format [realdata-dir]     (default /work/shared/realdata)

#include "BenchCorpus.h"
#include "sql/CSqlParser.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

QString corpus(const QString &root)
{
    QStringList files;
    const QDir tpch(root + QStringLiteral("/datafusion-ballista-tpch"));
    for (const QString &name : tpch.entryList({QStringLiteral("q*.sql")}, QDir::Files, QDir::Name))
        files.append(tpch.filePath(name));
    files.append(root + QStringLiteral("/sqlglot/identity.sql"));
    files.append(root + QStringLiteral("/sqlglot/pretty.sql"));
    files.append(root + QStringLiteral("/pagila/pagila-schema.sql"));
    return readCorpus(files);
}

// The corpus repeated up to the given size in UTF-8 bytes, cut at a whole repetition.
QString ofSize(const QString &unit, qsizetype bytes)
{
    const qsizetype unitBytes = unit.toUtf8().size();
    QString text;
    text.reserve(bytes + unit.size());
    for (qsizetype total = 0; total < bytes; total += unitBytes)
        text += unit;
    return text;
}

// CPU time of this thread: on a shared machine it is steadier than the wall clock.
double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

struct Timing
{
    double parse = 0;  // SetSqlText and Parse, CPU seconds
    double format = 0; // Format, CPU seconds
    double wall = 0;   // the whole layout, wall-clock seconds
    qsizetype output = 0;
    double total() const { return parse + format; }
};

// One layout of the text with a fresh default formatter.
Timing measureOnce(const QString &text)
{
    CSqlParser parser;
    QElapsedTimer wall;
    wall.start();
    const double started = cpuSeconds();
    parser.SetSqlText(text);
    if (!parser.Parse()) {
        std::fprintf(stderr, "parse failed\n");
        return {};
    }
    const double parsed = cpuSeconds();
    const QString out = parser.Format();
    const double formatted = cpuSeconds();
    return {parsed - started, formatted - parsed, wall.nsecsElapsed() / 1e9, out.size()};
}

Timing best(const QList<Timing> &timings)
{
    const auto faster = [](const Timing &a, const Timing &b) { return a.total() < b.total(); };
    return *std::min_element(timings.begin(), timings.end(), faster);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral("/work/shared/realdata");
    const QString unit = corpus(root);
    if (unit.isEmpty())
        return 1;
    std::printf("corpus unit: %lld characters\n", qlonglong(unit.size()));

    const qsizetype mb = 1024 * 1024;
    const QString small = ofSize(unit, mb);
    const QString large = ofSize(unit, 10 * mb);
    // First layouts of each size (as a user formats once), then four more of each; a heap
    // that has served a large tree before serves the next one a little more slowly.
    QList<Timing> smallRuns{measureOnce(small)};
    QList<Timing> largeRuns{measureOnce(large)};
    for (int run = 0; run < 4; ++run) {
        smallRuns.append(measureOnce(small));
        largeRuns.append(measureOnce(large));
    }
    const auto show = [](const char *label, const Timing &t) {
        std::printf("%s: parse %.3f s, format %.3f s, total %.3f s CPU (%.3f s wall), "
                    "output %lld characters\n",
                    label, t.parse, t.format, t.total(), t.wall, qlonglong(t.output));
    };
    show("1 MB, first", smallRuns.first());
    show("10 MB, first", largeRuns.first());
    show("1 MB, best of 5", best(smallRuns));
    show("10 MB, best of 5", best(largeRuns));
    std::printf("ratio 10 MB / 1 MB: first %.2f, best %.2f\n",
                largeRuns.first().total() / smallRuns.first().total(),
                best(largeRuns).total() / best(smallRuns).total());
    return 0;
}

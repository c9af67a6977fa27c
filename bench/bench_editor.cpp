// Query editor colouring on the real widget (offscreen): a full recolour of a 50,000-character
// script and the cost of one keystroke (typing, Backspace, Enter) in the middle of it, which
// recolours the touched lines only. Also the load of a 5 MB script and a 5 MB paste.
//
//     bench_editor [realdata-dir]     (default /work/shared/realdata)

#include "BenchCorpus.h"
#include "editor/CColorRichView.h"
#include "platform/AppSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>

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
    files.append(root + QStringLiteral("/chinook-database/Chinook_Sqlite.sql"));
    return readCorpus(files);
}

// CPU time of this thread: the work itself, without the time the scheduler gives to other
// processes on a busy machine.
qint64 threadCpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

struct Stats
{
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Stats stats(QList<qint64> samples)
{
    std::sort(samples.begin(), samples.end());
    Stats s;
    s.median = ms(samples.at(samples.size() / 2));
    s.p99 = ms(samples.at(std::min<qsizetype>(samples.size() - 1, samples.size() * 99 / 100)));
    s.max = ms(samples.last());
    return s;
}

void send(CColorRichView &editor, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&editor, &press);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral("/work/shared/realdata");
    const QString all = corpus(root);
    if (all.size() < 60000) {
        std::fprintf(stderr, "corpus too small\n");
        return 1;
    }
    // 50,000 characters as the editor counts them (CR LF is one line break inside).
    QString script = all.left(52000);
    while (CColorRichView::toEditorBreaks(script).size() > 50000)
        script.chop(1);

    CColorRichView editor;
    editor.resize(1000, 700);
    editor.show();
    AppSettings settings;
    editor.ApplySettings(settings);

    QElapsedTimer timer;
    timer.start();
    editor.SetText(script);
    const double load = ms(timer.nsecsElapsed());

    // Full recolour, forced to restyle every range by a colour change each round.
    QList<qint64> full;
    for (int round = 0; round < 20; ++round) {
        settings.keywordColor = ColorRef(round % 2 ? 0xFF0000 : 0xCC0000);
        editor.ApplySettings(settings); // ends with the full recolour
        timer.restart();
        editor.RecolourAll(); // unchanged colours: scan only
        const qint64 scanOnly = timer.nsecsElapsed();
        settings.keywordColor = ColorRef(round % 2 ? 0xCC0000 : 0xFF0000);
        timer.restart();
        editor.ApplySettings(settings);
        full.append(timer.nsecsElapsed());
        if (round == 0)
            std::printf("full recolour, colours unchanged: %.2f ms\n", ms(scanOnly));
    }

    // Keystrokes in the middle of the script.
    QRandomGenerator random(42);
    QList<qint64> typing;
    QList<qint64> backspace;
    QList<qint64> enter;
    QList<qint64> cpu;
    const auto measure = [&](QList<qint64> &into, int key, const QString &text) {
        const qint64 cpuStart = threadCpuNs();
        timer.restart();
        send(editor, key, text);
        into.append(timer.nsecsElapsed());
        cpu.append(threadCpuNs() - cpuStart);
    };
    for (int i = 0; i < 500; ++i) {
        const qsizetype at = 20000 + random.bounded(20000);
        editor.SetSelection(at, at);
        measure(typing, Qt::Key_X, QStringLiteral("x"));
        measure(typing, Qt::Key_Space, QStringLiteral(" "));
        measure(backspace, Qt::Key_Backspace, QString());
        if (i % 5 == 0)
            measure(enter, Qt::Key_Return, QStringLiteral("\r"));
    }

    // 5 MB: loading it and pasting it (beyond the colouring limit, kept whole).
    QString big;
    while (big.size() < 5 * 1024 * 1024)
        big += all;
    big.truncate(5 * 1024 * 1024);
    CColorRichView large;
    large.resize(1000, 700);
    large.show();
    timer.restart();
    large.SetText(big);
    const double bigLoad = ms(timer.nsecsElapsed());
    QApplication::clipboard()->setText(big);
    CColorRichView paste;
    paste.resize(1000, 700);
    paste.show();
    timer.restart();
    paste.PasteClipboard();
    const double bigPaste = ms(timer.nsecsElapsed());

    const Stats f = stats(full);
    const Stats t = stats(typing);
    const Stats b = stats(backspace);
    const Stats e = stats(enter);
    std::printf("script: %lld characters, %d lines\n",
                qlonglong(editor.document()->characterCount() - 1),
                editor.document()->blockCount());
    std::printf("load (SetText + full colour):     %8.2f ms\n", load);
    std::printf("full recolour, all colours new:   median %.2f ms, max %.2f ms (20 runs)\n",
                f.median, f.max);
    std::printf("keystroke (type):                 "
                "median %.3f ms, p99 %.3f ms, max %.3f ms (%lld)\n",
                t.median, t.p99, t.max, qlonglong(typing.size()));
    std::printf("keystroke (Backspace):            "
                "median %.3f ms, p99 %.3f ms, max %.3f ms (%lld)\n",
                b.median, b.p99, b.max, qlonglong(backspace.size()));
    std::printf("keystroke (Enter with indent):    "
                "median %.3f ms, p99 %.3f ms, max %.3f ms (%lld)\n",
                e.median, e.p99, e.max, qlonglong(enter.size()));
    const Stats c = stats(cpu);
    std::printf("keystroke thread CPU time:        median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                c.median, c.p99, c.max);
    std::printf("5 MB script: load %.0f ms, paste %.0f ms\n", bigLoad, bigPaste);
    return 0;
}

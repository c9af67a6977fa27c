#include "ProbeCommand.h"

#include <cstdio>
#include <unistd.h>

ProbeCommand::ProbeCommand(const char *name, const char *usage, Function function)
{
    registry().append({QString::fromUtf8(name), QString::fromUtf8(usage), std::move(function)});
}

QList<ProbeCommand::Entry> &ProbeCommand::registry()
{
    static QList<Entry> entries;
    return entries;
}

namespace Probe {

QByteArray readStdin()
{
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0)
            break;
        data.append(buffer, n);
    }
    return data;
}

void out(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void err(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int usageError(const QString &message)
{
    err(QStringLiteral("qorvane-probe: %1\n").arg(message));
    return 2;
}

bool takeOption(QStringList &args, const QString &name, QString *value)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size())
        return false;
    *value = args.at(i + 1);
    args.remove(i, 2);
    return true;
}

} // namespace Probe

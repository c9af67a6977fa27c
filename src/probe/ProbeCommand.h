#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// A subcommand of qorvane-probe. Each lives in its own file in this folder and registers
// itself with a static ProbeCommand object:
//
//     static ProbeCommand format("format", "format [options] < sql", &runFormat);
//
// The function gets the arguments after the subcommand name (with --codepage already
// applied and removed) and returns the exit status: 0 success, 1 the library reported
// failure, 2 bad usage (use Probe::usageError for the message).
class ProbeCommand
{
public:
    using Function = std::function<int(const QStringList &args)>;

    ProbeCommand(const char *name, const char *usage, Function function);

    struct Entry
    {
        QString name;
        QString usage;
        Function function;
    };
    static QList<Entry> &registry();
};

namespace Probe {
// Standard input, byte for byte.
QByteArray readStdin();
// Writes bytes to standard output or standard error exactly as given.
void out(const QByteArray &bytes);
inline void out(const QString &text) { out(text.toUtf8()); }
void err(const QByteArray &bytes);
inline void err(const QString &text) { err(text.toUtf8()); }
// Prints "qorvane-probe: <message>" and a newline on standard error; returns 2.
int usageError(const QString &message);
// Takes "--name value" out of args; returns false (and leaves value) when absent.
bool takeOption(QStringList &args, const QString &name, QString *value);
} // namespace Probe

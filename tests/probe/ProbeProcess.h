#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// What one run of qorvane-probe gave back.
struct ProbeOutput
{
    bool finished = false; // false when the process could not start or ran past the time-out
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString failure; // why the run did not finish

    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs the qorvane-probe executable of this build with the given arguments, writing input to
// its standard input byte for byte and then closing it. Each run gets a settings directory of
// its own, so no user's settings reach the probe.
class ProbeProcess
{
public:
    static ProbeOutput run(const QStringList &args, const QByteArray &input = QByteArray(),
                           int timeoutMs = 120000);
    static ProbeOutput run(const QStringList &args, const QString &input,
                           int timeoutMs = 120000)
    {
        return run(args, input.toUtf8(), timeoutMs);
    }
};

// Shows bytes with their control characters spelled out, for failure messages.
QString visible(const QByteArray &bytes);

// Lets GoogleTest print texts readably in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << visible(text.toUtf8()).toStdString() << '"';
}

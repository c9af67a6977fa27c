#include "ProbeProcess.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

ProbeOutput ProbeProcess::run(const QStringList &args, const QByteArray &input, int timeoutMs)
{
    ProbeOutput result;
    QString program = TestSupport::probePath();
    if (program.isEmpty()) {
        // The probe is built beside the test executables: build/src/qorvane-probe.
        const QString sibling = QCoreApplication::applicationDirPath()
                                + QStringLiteral("/../../src/qorvane-probe");
        if (QFileInfo(sibling).isExecutable())
            program = QFileInfo(sibling).canonicalFilePath();
    }
    if (program.isEmpty()) {
        result.failure = QStringLiteral("QORVANE_PROBE is not set");
        return result;
    }

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(program);
    process.setArguments(args);
    process.start();
    if (!process.waitForStarted(30000)) {
        result.failure = process.errorString();
        return result;
    }
    // QProcess keeps what is not written yet and writes it while it waits for the end.
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        result.failure = QStringLiteral("no end within %1 ms").arg(timeoutMs);
        process.kill();
        process.waitForFinished(5000);
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString visible(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n\n"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return text;
}

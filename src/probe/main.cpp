#include "ProbeCommand.h"

#include "platform/CodePage.h"

#include <QCoreApplication>

// qorvane-probe: drives the libraries from the command line (see the README).
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    const auto usage = [] {
        QString text = QStringLiteral("usage: qorvane-probe <subcommand> [--codepage N] [args]\n");
        for (const auto &entry : ProbeCommand::registry())
            text += QStringLiteral("  qorvane-probe %1\n").arg(entry.usage);
        return text;
    };

    if (!args.isEmpty() && args.first() == QLatin1String("--help")) {
        Probe::out(usage());
        return 0;
    }

    QString codePage;
    if (args.contains(QStringLiteral("--codepage"))) {
        if (!Probe::takeOption(args, QStringLiteral("--codepage"), &codePage))
            return Probe::usageError(QStringLiteral("--codepage needs a number"));
        bool ok = false;
        const int cp = codePage.toInt(&ok);
        if (!ok || cp <= 0)
            return Probe::usageError(QStringLiteral("bad code page: %1").arg(codePage));
        CodePage::setProcessCodePage(cp);
    }

    if (args.isEmpty())
        return Probe::usageError(QStringLiteral("no subcommand (see qorvane-probe --help)"));
    const QString name = args.takeFirst();
    for (const auto &entry : ProbeCommand::registry()) {
        if (entry.name == name)
            return entry.function(args);
    }
    return Probe::usageError(QStringLiteral("unknown subcommand: %1").arg(name));
}

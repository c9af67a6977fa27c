#include "ProbeCommand.h"

#include "query/TargetTable.h"

// target < text: the table a statement text reads from.
static int runTarget(const QStringList &args)
{
    if (!args.isEmpty())
        return Probe::usageError(QStringLiteral("target takes no arguments"));
    Probe::out(TargetTableOf(QString::fromUtf8(Probe::readStdin())) + QLatin1Char('\n'));
    return 0;
}

static ProbeCommand targetCommand("target", "target < text", &runTarget);

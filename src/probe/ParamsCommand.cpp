#include "ProbeCommand.h"

#include "sql/ScriptPreparation.h"

namespace {

// Parameter detection as the preparation of a statement does it (comments removed first, by
// the default comment symbols): one detected name per line.
int runParams(const QStringList &args)
{
    if (!args.isEmpty())
        return Probe::usageError(QStringLiteral("unexpected argument: %1").arg(args.first()));
    const QString text = QString::fromUtf8(Probe::readStdin());
    QString out;
    for (const ParamInfo &info : ScriptPreparation::DetectParameters(
             ScriptPreparation::RemoveComments(text, ScriptPreparation::CommentSymbols{})))
        out += info.name + QLatin1Char('\n');
    Probe::out(out);
    return 0;
}

ProbeCommand params("params", "params < text", &runParams);

} // namespace

#include "ProbeCommand.h"

#include "editor/SqlColourScanner.h"
#include "platform/AppSettings.h"

namespace {

bool takeFlag(QStringList &args, const QString &name, bool *value, int *status)
{
    if (!args.contains(name))
        return true;
    QString text;
    if (!Probe::takeOption(args, name, &text) || (text != "0" && text != "1")) {
        *status = Probe::usageError(QStringLiteral("%1 needs 0 or 1").arg(name));
        return false;
    }
    *value = text == "1";
    return true;
}

// The editor's colouring of the whole text with the default settings.
int runColour(const QStringList &arguments)
{
    QStringList args = arguments;
    const AppSettings defaults;
    bool caseSensitive = defaults.caseSensitive == 1;
    bool changeCase = defaults.changeCase == 1;
    int status = 0;
    if (!takeFlag(args, QStringLiteral("--case-sensitive"), &caseSensitive, &status)
        || !takeFlag(args, QStringLiteral("--change-case"), &changeCase, &status))
        return status;
    if (!args.isEmpty())
        return Probe::usageError(QStringLiteral("unexpected argument: %1").arg(args.first()));

    SqlColourScanner scanner;
    scanner.setCaseSensitive(caseSensitive);
    scanner.setChangeCase(changeCase);
    scanner.setDelimiters(defaults.delimiters);
    scanner.setComments(defaults.lineComment, defaults.blockComment, defaults.blockComment2);

    QString text = QString::fromUtf8(Probe::readStdin());
    const SqlColourScanner::Result result = scanner.scan(text);
    SqlColourScanner::applyCaseChanges(text, result);

    QString out = text + QStringLiteral("\n---\n");
    for (const auto &range : result.ranges)
        out += QStringLiteral("%1 %2 %3\n")
                   .arg(range.start)
                   .arg(range.end)
                   .arg(SqlColourScanner::styleName(range.style));
    Probe::out(out);
    return 0;
}

ProbeCommand colour("colour", "colour [--case-sensitive 0|1] [--change-case 0|1] < text",
                    &runColour);

} // namespace

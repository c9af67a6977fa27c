#include "ProbeCommand.h"

#include "sql/CSqlParser.h"

#include <functional>
#include <map>

namespace {

// The formatter with its default options and lists, changed by the options given; lays out
// standard input.
int runFormat(const QStringList &arguments)
{
    CSqlParser parser;
    int indentKind = parser.GetIndentKind();
    int spaceCount = parser.GetSpaceCount();
    int blockLR = parser.GetBlockLR();
    int blockRR = parser.GetBlockRR();

    using Number = std::function<void(int)>;
    const std::map<QString, Number> numbers = {
        {QStringLiteral("--margin"), [&](int v) { parser.SetMargin(v, 0); }},
        {QStringLiteral("--indent-kind"), [&](int v) { indentKind = v; }},
        {QStringLiteral("--space-count"), [&](int v) { spaceCount = v; }},
        {QStringLiteral("--comma-return"), [&](int v) { parser.SetCommaReturn(v); }},
        {QStringLiteral("--keyword-lr"), [&](int v) { parser.SetKeywordLR(v); }},
        {QStringLiteral("--keyword-rr"), [&](int v) { parser.SetKeywordReturn(v); }},
        {QStringLiteral("--block-lr"), [&](int v) { blockLR = v; }},
        {QStringLiteral("--block-rr"), [&](int v) { blockRR = v; }},
        {QStringLiteral("--block-margin"), [&](int v) { parser.SetBlockMargin(v); }},
    };
    using Text = std::function<void(const QString &)>;
    const std::map<QString, Text> texts = {
        {QStringLiteral("--syntaxes"), [&](const QString &s) { parser.SetSyntaxes(s); }},
        {QStringLiteral("--logic-ops"), [&](const QString &s) { parser.SetLogicOps(s); }},
        {QStringLiteral("--quote"), [&](const QString &s) { parser.SetQuote(s); }},
        {QStringLiteral("--line-comment"), [&](const QString &s) { parser.SetLineComment(s); }},
    };
    using Pair = std::function<void(const QString &, const QString &)>;
    const std::map<QString, Pair> pairs = {
        {QStringLiteral("--word-mark"),
         [&](const QString &o, const QString &c) { parser.SetWordMark(o, c); }},
        {QStringLiteral("--parhs"),
         [&](const QString &o, const QString &c) { parser.SetParhs(o, c); }},
        {QStringLiteral("--block-comment"),
         [&](const QString &o, const QString &c) { parser.SetBlockComment(o, c); }},
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &name = arguments.at(i);
        if (const auto it = numbers.find(name); it != numbers.end()) {
            bool ok = false;
            const int value = i + 1 < arguments.size() ? arguments.at(i + 1).toInt(&ok) : 0;
            if (!ok)
                return Probe::usageError(QStringLiteral("%1 needs a number").arg(name));
            it->second(value);
            ++i;
        } else if (const auto it = texts.find(name); it != texts.end()) {
            if (i + 1 >= arguments.size())
                return Probe::usageError(QStringLiteral("%1 needs a value").arg(name));
            it->second(arguments.at(++i));
        } else if (const auto it = pairs.find(name); it != pairs.end()) {
            if (i + 2 >= arguments.size())
                return Probe::usageError(QStringLiteral("%1 needs two values").arg(name));
            it->second(arguments.at(i + 1), arguments.at(i + 2));
            i += 2;
        } else {
            return Probe::usageError(QStringLiteral("unexpected argument: %1").arg(name));
        }
    }
    parser.SetIndent(indentKind, spaceCount);
    parser.SetBlockReturn(blockLR, blockRR);

    QString text = QString::fromUtf8(Probe::readStdin());
    if (!parser.layOut(text))
        return 1;
    Probe::out(text);
    return 0;
}

ProbeCommand format("format",
                    "format [--margin N --indent-kind N --space-count N --comma-return N "
                    "--keyword-lr N --keyword-rr N --block-lr N --block-rr N --block-margin N "
                    "--syntaxes S --logic-ops S --quote S --word-mark O C --parhs O C "
                    "--block-comment O C --line-comment S] < sql",
                    &runFormat);

} // namespace

#include "ScriptPreparation.h"

#include "platform/AppSettings.h"

namespace ScriptPreparation {

namespace {

bool startsWithAt(const QString &text, qsizetype pos, const QString &symbol, bool caseSensitive)
{
    if (symbol.isEmpty() || pos + symbol.size() > text.size())
        return false;
    return QStringView(text).mid(pos, symbol.size())
               .compare(symbol, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive)
           == 0;
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"' || c == u'`';
}

bool isMarker(QChar c)
{
    return c == u':' || c == u'@';
}

} // namespace

CommentSymbols CommentSymbols::fromSettings()
{
    const AppSettings &settings = AppSettings::instance();
    CommentSymbols symbols;
    symbols.lineComment = settings.lineComment;
    symbols.blockOpen = settings.blockComment;
    symbols.blockClose = settings.blockComment2;
    symbols.caseSensitive = settings.caseSensitive == 1;
    return symbols;
}

QString paramNoteMarker()
{
    return QStringLiteral("パラメーター：");
}

QString RemoveComments(const QString &text, const CommentSymbols &symbols)
{
    QString result;
    result.reserve(text.size());
    const bool cs = symbols.caseSensitive;
    qsizetype p = 0;
    const qsizetype n = text.size();
    while (p < n) {
        if (startsWithAt(text, p, symbols.lineComment, cs)) {
            const qsizetype cr = text.indexOf(u'\r', p + symbols.lineComment.size());
            p = cr < 0 ? n : cr;
        } else if (startsWithAt(text, p, symbols.blockOpen, cs)) {
            // An empty close symbol cannot end a block; the comment runs to the end.
            const qsizetype close = symbols.blockClose.isEmpty()
                                        ? -1
                                        : text.indexOf(symbols.blockClose,
                                                       p + symbols.blockOpen.size(),
                                                       cs ? Qt::CaseSensitive
                                                          : Qt::CaseInsensitive);
            p = close < 0 ? n : close + symbols.blockClose.size();
        } else {
            result.append(text.at(p));
            ++p;
        }
    }
    return result;
}

QString RemoveComments(const QString &text)
{
    return RemoveComments(text, CommentSymbols::fromSettings());
}

bool isParamTerminator(QChar c)
{
    switch (c.unicode()) {
    case u' ':
    case u'=':
    case u',':
    case u';':
    case u')':
    case u'\t':
    case u'\r':
    case u'\n':
        return true;
    default:
        return false;
    }
}

QList<ParamInfo> DetectParameters(const QString &text)
{
    QList<ParamInfo> found;
    bool quoted = false;
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n) {
        const QChar c = text.at(p);
        if (isMarker(c) && !quoted) {
            if (p + 1 < n && text.at(p + 1) == c) {
                p += 2; // "::" and "@@" stand for the character itself
                continue;
            }
            qsizetype q = p + 1;
            while (q < n) {
                const QChar ch = text.at(q);
                if (isQuote(ch))
                    quoted = !quoted;
                else if (!quoted && isParamTerminator(ch))
                    break;
                ++q;
            }
            QString name = text.mid(p + 1, q - p - 1);
            if (!name.isEmpty() && isQuote(name.front())) {
                name.remove(0, 1);
                if (!name.isEmpty() && isQuote(name.back()))
                    name.chop(1);
            }
            // A name the record cannot hold is refused rather than cut, so that it can never
            // be bound or substituted under a different name.
            const bool usable = !name.isEmpty() && name.size() <= ParamInfo::MaxNameLength;
            const auto sameName = [&](const ParamInfo &f) {
                return f.name.compare(name, Qt::CaseInsensitive) == 0;
            };
            const bool known = usable && std::any_of(found.cbegin(), found.cend(), sameName);
            if (usable && !known) {
                ParamInfo info;
                info.index = qint32(found.size() + 1);
                info.name = name;
                found.append(info);
                if (found.size() == MaxParameters)
                    break;
            }
            p = q + 1; // after the character that ended the name
            continue;
        }
        if (isQuote(c))
            quoted = !quoted;
        ++p;
    }
    return found;
}

ParamNote ParseParamNote(const QString &text, const QList<ParamInfo> &detected)
{
    ParamNote note;
    const QString marker = paramNoteMarker();
    const qsizetype at = text.indexOf(marker);
    if (at < 0)
        return note;
    const QString statement = text.left(at);

    // The character right after the marker is skipped.
    QString rest = text.mid(at + marker.size() + 1).trimmed();
    if (rest.endsWith(u']'))
        rest.chop(1);
    if (rest.endsWith(u')'))
        rest.chop(1);
    if (rest.startsWith(u'('))
        rest.remove(0, 2);

    QStringList items;
    while (!rest.isEmpty()) {
        qsizetype cut = rest.indexOf(QLatin1String(") ("));
        qsizetype cutLength = 3;
        if (cut < 0) {
            cut = rest.indexOf(QLatin1String(")("));
            cutLength = 2;
        }
        QString item;
        if (cut < 0) {
            item = rest;
            rest.clear();
        } else {
            item = rest.left(cut);
            rest = rest.mid(cut + cutLength).trimmed();
        }
        if (!item.isEmpty())
            items.append(item);
    }
    if (items.size() != detected.size())
        return note;

    QList<std::pair<QString, QString>> pairs;
    for (const QString &item : std::as_const(items)) {
        const QStringList pieces = item.split(QLatin1String(":="), Qt::SkipEmptyParts);
        if (pieces.size() == 2)
            pairs.append({pieces.at(0).trimmed(), pieces.at(1).trimmed()});
    }
    if (pairs.size() != detected.size())
        return note;

    QList<ParamValue> values;
    for (const ParamInfo &info : detected) {
        const auto it = std::find_if(pairs.cbegin(), pairs.cend(),
                                     [&](const auto &pair) { return pair.first == info.name; });
        if (it == pairs.cend())
            return note;
        values.append(ParamValue{info.name, it->second, true});
    }
    note.succeeded = true;
    note.statement = statement;
    note.values = values;
    return note;
}

QString SubstituteParameters(const QString &text, const QList<CommandParam> &params)
{
    QString result = text;
    for (const CommandParam &param : params) {
        if (param.name.isEmpty())
            continue;
        const QString value = param.type == ParamInfo::CharType
                                  ? QLatin1Char('\'') + param.value + QLatin1Char('\'')
                                  : param.value;
        qsizetype p = 0;
        while (p < result.size()) {
            const QChar c = result.at(p);
            if (!isMarker(c)) {
                ++p;
                continue;
            }
            // "::" and "@@" are never markers (a cast such as x::int stays intact).
            if (p + 1 < result.size() && result.at(p + 1) == c) {
                p += 2;
                continue;
            }
            const qsizetype nameEnd = p + 1 + param.name.size();
            const bool matches =
                nameEnd <= result.size()
                && QStringView(result).mid(p + 1, param.name.size())
                           .compare(param.name, Qt::CaseInsensitive)
                       == 0
                && (nameEnd == result.size() || isParamTerminator(result.at(nameEnd)));
            if (!matches) {
                ++p;
                continue;
            }
            result.replace(p, nameEnd - p, value);
            p += value.size();
        }
    }
    return result;
}

QList<CommandParam> makeCommandParams(const QList<ParamInfo> &detected,
                                      const QList<ParamValue> &values)
{
    QList<CommandParam> params;
    params.reserve(detected.size());
    for (qsizetype i = 0; i < detected.size(); ++i) {
        const ParamValue value = i < values.size() ? values.at(i) : ParamValue{};
        CommandParam param;
        param.name = detected.at(i).name;
        param.direction = detected.at(i).direction;
        if (value.isString) {
            param.type = ParamInfo::CharType;
            param.size = ParamInfo::CharSize;
        } else {
            param.type = ParamInfo::VariantType;
            param.size = 0;
        }
        param.value = value.value;
        params.append(param);
    }
    return params;
}

QList<ParamValue> initialDialogValues(const QList<ParamInfo> &detected,
                                      const QList<ParamValue> &remembered)
{
    QList<ParamValue> values;
    values.reserve(detected.size());
    for (const ParamInfo &info : detected) {
        ParamValue value{info.name, QString(), true};
        for (const ParamValue &old : remembered) {
            if (old.name.compare(info.name, Qt::CaseInsensitive) == 0) {
                value.value = old.value;
                value.isString = old.isString;
            }
        }
        values.append(value);
    }
    return values;
}

} // namespace ScriptPreparation

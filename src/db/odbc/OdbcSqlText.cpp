#include "db/odbc/OdbcSqlText.h"

namespace Ado {

namespace {

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() > 0x7f;
}

// Walks a SQL text calling code(i) for every position outside quotes and comments. Handles
// '', "", ``, -- and /* */ comments, $tag$ quotes, and (MySQL) backslash escapes in literals.
template <typename Code>
void scanSql(const QString &text, bool backslashEscapes, Code code)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            ++i;
            while (i < n) {
                if (text[i] == c) {
                    if (i + 1 < n && text[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                if (backslashEscapes && text[i] == QLatin1Char('\\') && i + 1 < n) {
                    i += 2;
                    continue;
                }
                ++i;
            }
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && text[i + 1] == QLatin1Char('-')) {
            while (i < n && text[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            continue;
        }
        if (c == QLatin1Char('$')) {
            qsizetype j = i + 1;
            while (j < n && (text[j].isLetterOrNumber() || text[j] == QLatin1Char('_')))
                ++j;
            if (j < n && text[j] == QLatin1Char('$') && !(j > i + 1 && text[i + 1].isDigit())) {
                const QString tag = text.mid(i, j - i + 1);
                const qsizetype end = text.indexOf(tag, j + 1);
                i = end < 0 ? n : end + tag.size();
                continue;
            }
        }
        code(i);
        ++i;
    }
}

} // namespace

QString OdbcSqlText::rewriteParameters(const QString &text, const QList<Parameter> &parameters,
                                       QList<int> &order, bool backslashEscapes)
{
    order.clear();
    if (parameters.isEmpty())
        return text;
    QString out;
    qsizetype copied = 0;
    int positional = 0;
    qsizetype skipUntil = -1;
    scanSql(text, backslashEscapes, [&](qsizetype i) {
        if (i < skipUntil)
            return;
        const QChar c = text[i];
        if (c == QLatin1Char('?')) {
            order.append(positional < parameters.size() ? positional : -1);
            ++positional;
            return;
        }
        if (c != QLatin1Char(':') && c != QLatin1Char('@'))
            return;
        if (i > 0 && text[i - 1] == c)
            return; // "::" cast or "@@" variable
        if (i + 1 < text.size() && text[i + 1] == c) {
            skipUntil = i + 2;
            return;
        }
        qsizetype end = i + 1;
        while (end < text.size() && isIdentifierChar(text[end]))
            ++end;
        if (end == i + 1)
            return;
        const QString name = text.mid(i + 1, end - i - 1);
        int index = -1;
        for (int p = 0; p < parameters.size(); ++p) {
            const QString &candidate = parameters[p].name;
            if (candidate.compare(name, Qt::CaseInsensitive) == 0
                || candidate.compare(c + name, Qt::CaseInsensitive) == 0) {
                index = p;
                break;
            }
        }
        if (index < 0)
            return; // not one of ours (a MariaDB @variable, a PostgreSQL :: cast's type)
        out += QStringView(text).mid(copied, i - copied);
        out += QLatin1Char('?');
        copied = end;
        skipUntil = end;
        order.append(index);
    });
    out += QStringView(text).mid(copied);
    return out;
}

QStringList OdbcSqlText::statementKeywords(const QString &text, bool backslashEscapes)
{
    QStringList keywords;
    QString current;
    bool wordDone = false;
    bool any = false;
    qsizetype last = -1;
    scanSql(text, backslashEscapes, [&](qsizetype i) {
        const QChar c = text[i];
        if (c == QLatin1Char(';')) {
            if (any)
                keywords.append(current.toUpper());
            current.clear();
            wordDone = false;
            any = false;
            last = i;
            return;
        }
        if (c.isSpace() || c == QLatin1Char('(')) {
            if (!current.isEmpty())
                wordDone = true;
            return;
        }
        any = true;
        if (!wordDone && c.isLetter() && (current.isEmpty() || last == i - 1))
            current += c;
        else if (!current.isEmpty())
            wordDone = true;
        last = i;
    });
    if (any)
        keywords.append(current.toUpper());
    return keywords;
}

} // namespace Ado

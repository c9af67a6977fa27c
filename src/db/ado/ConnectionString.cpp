#include "db/ado/ConnectionString.h"

namespace Ado {

ConnectionString::ConnectionString(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // Key: up to "=" (a doubled "==" stands for one "=" in a key).
        QString key;
        while (i < n && text[i] != QLatin1Char(';')) {
            if (text[i] == QLatin1Char('=')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('=')) {
                    key += QLatin1Char('=');
                    i += 2;
                    continue;
                }
                break;
            }
            key += text[i++];
        }
        QString value;
        if (i < n && text[i] == QLatin1Char('=')) {
            ++i;
            while (i < n && text[i].isSpace())
                ++i;
            if (i < n
                && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\'')
                    || text[i] == QLatin1Char('{'))) {
                const QChar close = text[i] == QLatin1Char('{') ? QLatin1Char('}') : text[i];
                ++i;
                while (i < n) {
                    if (text[i] == close) {
                        if (i + 1 < n && text[i + 1] == close) {
                            value += close;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    value += text[i++];
                }
                while (i < n && text[i] != QLatin1Char(';'))
                    ++i; // text after a closing quote is ignored
            } else {
                while (i < n && text[i] != QLatin1Char(';'))
                    value += text[i++];
                value = value.trimmed();
            }
        }
        if (i < n && text[i] == QLatin1Char(';'))
            ++i;
        key = key.trimmed();
        if (!key.isEmpty())
            set(key, value);
    }
}

bool ConnectionString::contains(const QString &key) const
{
    for (const auto &pair : m_pairs)
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ConnectionString::value(const QString &key, const QString &fallback) const
{
    for (const auto &pair : m_pairs)
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0)
            return pair.second;
    return fallback;
}

void ConnectionString::set(const QString &key, const QString &value)
{
    for (auto &pair : m_pairs) {
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0) {
            pair.second = value;
            return;
        }
    }
    m_pairs.append({key, value});
}

void ConnectionString::remove(const QString &key)
{
    m_pairs.removeIf([&](const QPair<QString, QString> &pair) {
        return pair.first.compare(key, Qt::CaseInsensitive) == 0;
    });
}

QString ConnectionString::toString() const
{
    QString out;
    for (const auto &[key, value] : m_pairs) {
        out += QString(key).replace(QLatin1Char('='), QLatin1String("==")) + QLatin1Char('=');
        const bool needsQuotes = value.contains(QLatin1Char(';'))
                                 || value.contains(QLatin1Char('"'))
                                 || value.contains(QLatin1Char('\'')) || value != value.trimmed();
        if (needsQuotes)
            out += QLatin1Char('"')
                   + QString(value).replace(QLatin1String("\""), QLatin1String("\"\""))
                   + QLatin1Char('"');
        else
            out += value;
        out += QLatin1Char(';');
    }
    return out;
}

QString ConnectionString::toOdbcString() const
{
    QString out;
    for (const auto &[key, value] : m_pairs) {
        out += key + QLatin1Char('=');
        const bool needsBraces = value.contains(QLatin1Char(';'))
                                 || value.contains(QLatin1Char('{'))
                                 || value.contains(QLatin1Char('}')) || value != value.trimmed();
        if (needsBraces
            && !(value.startsWith(QLatin1Char('{')) && value.endsWith(QLatin1Char('}'))))
            out += QLatin1Char('{')
                   + QString(value).replace(QLatin1String("}"), QLatin1String("}}"))
                   + QLatin1Char('}');
        else
            out += value;
        out += QLatin1Char(';');
    }
    return out;
}

} // namespace Ado

#include "TargetTable.h"

QString TargetTableOf(const QString &text)
{
    QString copy = text;
    for (QChar &c : copy) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    copy = copy.trimmed();
    if (copy.contains(QLatin1String(" UNION "), Qt::CaseInsensitive))
        return {};
    const qsizetype from = copy.indexOf(QLatin1String(" FROM "), 0, Qt::CaseInsensitive);
    if (from <= 0)
        return {};
    const QString rest = copy.mid(from + 6).trimmed();
    if (rest.isEmpty())
        return {};
    qsizetype end = rest.indexOf(QLatin1String(" WHERE "), 0, Qt::CaseInsensitive);
    if (end < 0)
        end = rest.indexOf(QLatin1String(" GROUP BY "), 0, Qt::CaseInsensitive);
    if (end < 0)
        end = rest.indexOf(QLatin1String(" ORDER BY "), 0, Qt::CaseInsensitive);
    if (end < 0)
        end = rest.size();
    const QStringView head = QStringView(rest).left(end);
    if (head.contains(QLatin1String("FROM "), Qt::CaseInsensitive)
        || head.contains(QLatin1String(" JOIN "), Qt::CaseInsensitive)
        || head.contains(QLatin1Char(',')))
        return {};
    qsizetype stop = rest.indexOf(QLatin1Char(' '));
    if (stop < 0 || stop > end)
        stop = end;
    QString name = rest.left(stop);
    if (name.contains(QLatin1Char('['))) {
        name.chop(1);
        name.remove(0, 1);
    }
    return name;
}

#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdio>

// Reads SQL files into one text with CR LF line breaks, as the editor and the formatter see
// a loaded script. A file that cannot be read is reported and skipped.
inline QString readCorpus(const QStringList &files)
{
    QString text;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            continue;
        }
        QString part = QString::fromUtf8(file.readAll());
        part.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        part.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        text += part + QStringLiteral("\r\n");
    }
    return text;
}

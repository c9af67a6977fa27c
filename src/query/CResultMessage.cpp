#include "CResultMessage.h"

#include "platform/AppSettings.h"

#include <QScrollBar>
#include <QTextCursor>

CResultMessage::CResultMessage(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("ResultMessage"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setViewportMargins(2, 0, 2, 0);
    applyFont();
}

void CResultMessage::applyFont()
{
    setFont(AppSettings::instance().qViewFont.toQFont());
}

QStringList CResultMessage::messageLines(const QString &text)
{
    QStringList lines;
    for (const QString &piece : text.split(QLatin1Char('\n'))) {
        const QString line = piece.trimmed();
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

void CResultMessage::AppendMessage(const QString &text)
{
    const QStringList lines = messageLines(text);
    if (lines.isEmpty())
        return;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // The document keeps one block per line; the final empty block stands for the last
    // line break.
    QString insert;
    for (const QString &line : lines)
        insert += line + QLatin1Char('\n');
    cursor.insertText(insert);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString CResultMessage::messageText() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

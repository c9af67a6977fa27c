#pragma once

#include <QPlainTextEdit>

// The message page of a result view: an editable text of the per-result messages and errors
// in the query editor's font. UI thread only.
class CResultMessage : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CResultMessage(QWidget *parent = nullptr);

    // Appends every non-blank line of text (each trimmed), each followed by a line break.
    void AppendMessage(const QString &text);
    // The page text with CR LF line breaks.
    QString messageText() const;
    // The lines AppendMessage adds for text.
    static QStringList messageLines(const QString &text);

    void applyFont();
};

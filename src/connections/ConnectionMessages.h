#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Message boxes of the connection dialogs: caption "Qorvane", modal on the UI thread.
namespace ConnectionMessages {

void warning(QWidget *parent, const QString &text);
void information(QWidget *parent, const QString &text);
// A plain box (no icon) with OK.
void plain(QWidget *parent, const QString &text);
// OK and Cancel with the question icon; true for OK.
bool confirm(QWidget *parent, const QString &text);

} // namespace ConnectionMessages

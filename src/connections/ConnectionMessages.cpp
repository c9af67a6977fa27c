#include "ConnectionMessages.h"

#include <QAbstractButton>

namespace ConnectionMessages {
namespace {

int show(QWidget *parent, QMessageBox::Icon icon, const QString &text,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, QStringLiteral("Qorvane"), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    if (QAbstractButton *ok = box.button(QMessageBox::Ok))
        ok->setText(QStringLiteral("OK"));
    if (QAbstractButton *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("キャンセル"));
    return box.exec();
}

} // namespace

void warning(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void information(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void plain(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool confirm(QWidget *parent, const QString &text)
{
    return show(parent, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok)
        == QMessageBox::Ok;
}

} // namespace ConnectionMessages

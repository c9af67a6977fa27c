#include "CDlgRename.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

namespace {
CDlgRename::Asker &asker()
{
    static CDlgRename::Asker instance;
    return instance;
}
} // namespace

CDlgRename::CDlgRename(const QString &currentName, const QString &proposal, QWidget *parent)
    : QDialog(parent)
    , m_current(new QLineEdit(currentName, this))
    , m_new(new QLineEdit(proposal, this))
{
    setWindowTitle(QStringLiteral("名前変更"));
    m_current->setReadOnly(true);
    m_new->setMaxLength(64);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("現在の名前："), m_current);
    form->addRow(QStringLiteral("新しい名前："), m_new);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_new->setFocus();
    m_new->selectAll();
}

QString CDlgRename::newName() const
{
    return m_new->text();
}

void CDlgRename::setAsker(Asker a)
{
    asker() = std::move(a);
}

bool CDlgRename::RenameTitle(QWidget *parent, QString &title, const QString &proposal)
{
    const qsizetype separator = title.indexOf(QLatin1String(" - "));
    if (separator < 0)
        return false;
    const QString prefix = title.left(separator + 3);
    CDlgRename dialog(title.mid(separator + 3), proposal, parent);
    const bool accepted = asker() ? asker()(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted)
        return false;
    title = prefix + dialog.newName();
    return true;
}

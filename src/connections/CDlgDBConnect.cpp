#include "CDlgDBConnect.h"

#include "CDlgConnectionSetting.h"
#include "CPageRecentConnections.h"
#include "ProfileList.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

CDlgDBConnect::CDlgDBConnect(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("データベース接続"));
    setSizeGripEnabled(true);

    auto *tabs = new QTabWidget(this);
    m_page = new CPageRecentConnections(tabs);
    tabs->addTab(m_page, QStringLiteral("最近の接続"));
    connect(m_page, &CPageRecentConnections::rowActivated, this, &CDlgDBConnect::accept);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDBConnect::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgDBConnect::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    resize(640, 360);
    m_page->list()->setFocus();
}

void CDlgDBConnect::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_page->list()->setFocus();
}

void CDlgDBConnect::accept()
{
    if (!m_page->selection(m_name, m_connectionText))
        return;
    QDialog::accept();
}

CDlgDBConnect::Choice CDlgDBConnect::choose(QWidget *parent)
{
    Choice choice;
    ProfileList &profiles = ProfileList::instance();
    if (profiles.isEmpty()) {
        CDlgConnectionSetting dialog(QString(), QString(), true, parent);
        if (dialog.exec() != QDialog::Accepted)
            return choice;
        profiles.append(ConnectionProfile(dialog.name(), dialog.connectionText()));
        choice.ok = true;
        choice.name = dialog.name();
        choice.connectionText = profiles.at(profiles.count() - 1).connectionText;
        return choice;
    }
    CDlgDBConnect sheet(parent);
    if (sheet.exec() != QDialog::Accepted)
        return choice;
    choice.ok = true;
    choice.name = sheet.name();
    choice.connectionText = sheet.connectionText();
    return choice;
}

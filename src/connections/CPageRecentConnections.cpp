#include "CPageRecentConnections.h"

#include "CDlgConnectionSetting.h"
#include "ConnectionMessages.h"
#include "ProfileList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CPageRecentConnections::CPageRecentConnections(QWidget *parent)
    : QWidget(parent)
{
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("接続名"), QStringLiteral("データソース"),
                             QStringLiteral("データベース"), QStringLiteral("ユーザID"),
                             QStringLiteral("ドライバ"), QStringLiteral("その他")});
    const int widths[] = {90, 100, 80, 80, 110, 110};
    for (int i = 0; i < 6; ++i)
        m_list->setColumnWidth(i, widths[i]);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *, int) { emit rowActivated(); });

    m_new = new QPushButton(QStringLiteral("新規作成"), this);
    m_similar = new QPushButton(QStringLiteral("類似作成"), this);
    m_edit = new QPushButton(QStringLiteral("編集"), this);
    m_delete = new QPushButton(QStringLiteral("削除"), this);
    for (QPushButton *button : {m_new, m_similar, m_edit, m_delete})
        button->setAutoDefault(false);
    connect(m_new, &QPushButton::clicked, this, &CPageRecentConnections::newProfile);
    connect(m_similar, &QPushButton::clicked, this, &CPageRecentConnections::similarProfile);
    connect(m_edit, &QPushButton::clicked, this, &CPageRecentConnections::editProfile);
    connect(m_delete, &QPushButton::clicked, this, &CPageRecentConnections::deleteProfile);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_similar);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    refill();
    selectRow(0);
    m_list->setFocus();
}

void CPageRecentConnections::refill()
{
    m_list->clear();
    const ProfileList &profiles = ProfileList::instance();
    for (qsizetype i = 0; i < profiles.count(); ++i) {
        const ConnectionProfile &p = profiles.at(i);
        auto *item
            = new QTreeWidgetItem({p.name, p.dataSource, p.catalog, p.user, p.provider, p.others});
        m_list->addTopLevelItem(item);
    }
}

int CPageRecentConnections::selectedRow() const
{
    const QList<QTreeWidgetItem *> items = m_list->selectedItems();
    return items.isEmpty() ? -1 : m_list->indexOfTopLevelItem(items.first());
}

void CPageRecentConnections::selectRow(int row)
{
    m_list->clearSelection();
    if (QTreeWidgetItem *item = m_list->topLevelItem(row)) {
        m_list->setCurrentItem(item);
        item->setSelected(true);
        m_list->scrollToItem(item);
    }
}

bool CPageRecentConnections::selection(QString &name, QString &connectionText) const
{
    const int row = selectedRow();
    if (row < 0 || row >= ProfileList::instance().count())
        return false;
    name = ProfileList::instance().at(row).name;
    connectionText = ProfileList::instance().at(row).connectionText;
    return true;
}

void CPageRecentConnections::selectName(const QString &name)
{
    selectRow(int(ProfileList::instance().indexOf(name)));
}

void CPageRecentConnections::addProfile(const QString &name, const QString &connectionText)
{
    ProfileList &profiles = ProfileList::instance();
    if (!profiles.contains(name)) {
        profiles.append(ConnectionProfile(name, connectionText));
        profiles.sort();
    }
    refill();
    selectName(name);
}

void CPageRecentConnections::newProfile()
{
    m_list->clearSelection();
    CDlgConnectionSetting dialog(QString(), QString(), true, this);
    if (dialog.exec() == QDialog::Accepted)
        addProfile(dialog.name(), dialog.connectionText());
}

void CPageRecentConnections::similarProfile()
{
    QString name;
    QString text;
    if (!selection(name, text))
        return;
    CDlgConnectionSetting dialog(name + QStringLiteral("_2"), text, true, this);
    if (dialog.exec() == QDialog::Accepted)
        addProfile(dialog.name(), dialog.connectionText());
}

void CPageRecentConnections::editProfile()
{
    const int row = selectedRow();
    QString name;
    QString text;
    if (!selection(name, text))
        return;
    CDlgConnectionSetting dialog(name, text, false, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ConnectionProfile &profile = ProfileList::instance()[row];
    profile.parse(dialog.connectionText());
    profile.name = dialog.name();
    refill();
    selectRow(row);
}

void CPageRecentConnections::deleteProfile()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (!ConnectionMessages::confirm(this, QStringLiteral("接続を削除しますか？")))
        return;
    ProfileList::instance().removeAt(row);
    refill();
    selectRow(0);
}

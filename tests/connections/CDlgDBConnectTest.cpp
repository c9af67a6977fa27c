#include "ModalDriver.h"
#include "connections/CDlgConnectionSetting.h"
#include "connections/CDlgDBConnect.h"
#include "connections/CPageRecentConnections.h"
#include "connections/ProfileList.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString kSetting = QStringLiteral("接続設定");
const QString kSheet = QStringLiteral("データベース接続");

class DBConnectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProfileList::instance().clear();
        CDlgConnectionSetting::setWizardFunction([](QWidget *, QString &) { return false; });
    }
    void TearDown() override
    {
        CDlgConnectionSetting::setWizardFunction({});
        ProfileList::instance().clear();
    }
    static void add(const char *name, const char *text)
    {
        ProfileList::instance().append(
            ConnectionProfile(QString::fromUtf8(name), QString::fromUtf8(text)));
        ProfileList::instance().sort();
    }
    static QStringList names()
    {
        QStringList out;
        for (const ConnectionProfile &p : ProfileList::instance().profiles())
            out << p.name;
        return out;
    }
    static ModalDriver::Action fill(const QString &name, const QString &text)
    {
        return [name, text](QWidget *w) {
            auto *d = static_cast<CDlgConnectionSetting *>(w);
            if (!name.isNull())
                d->nameEdit()->setText(name);
            if (!text.isNull())
                d->textEdit()->setPlainText(text);
            d->accept();
        };
    }
};

} // namespace

TEST_F(DBConnectTest, page_lists_profiles_with_columns_and_first_row_selected)
{
    add("b", "Provider=PostgreSQL;Data Source=h;Initial Catalog=c;User ID=u;Password=p;X=1");
    add("A", "Provider=SQLite;Data Source=a.db");
    CPageRecentConnections page;
    QTreeWidget *list = page.list();
    ASSERT_EQ(list->columnCount(), 6);
    const QStringList headers
        = {"接続名", "データソース", "データベース", "ユーザID", "ドライバ", "その他"};
    const int widths[] = {90, 100, 80, 80, 110, 110};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list->headerItem()->text(i), headers.at(i));
        EXPECT_EQ(list->columnWidth(i), widths[i]);
    }
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem *row = list->topLevelItem(1);
    EXPECT_EQ(row->text(0), QStringLiteral("b"));
    EXPECT_EQ(row->text(1), QStringLiteral("h"));
    EXPECT_EQ(row->text(2), QStringLiteral("c"));
    EXPECT_EQ(row->text(3), QStringLiteral("u"));
    EXPECT_EQ(row->text(4), QStringLiteral("PostgreSQL"));
    EXPECT_EQ(row->text(5), QStringLiteral("X=1"));
    EXPECT_EQ(page.selectedRow(), 0);
}

TEST_F(DBConnectTest, new_similar_edit_and_delete_act_on_the_profile_list)
{
    add("db1", "Provider=SQLite;Data Source=one.db");
    CPageRecentConnections page;
    ModalDriver driver;

    // New: sorted in, selected by name.
    driver.expect(
        kSetting,
        fill(QStringLiteral("Alpha"), QStringLiteral("Provider=SQLite;Data Source=a.db")));
    page.newButton()->click();
    EXPECT_EQ(names(), (QStringList{"Alpha", "db1"}));
    EXPECT_EQ(page.selectedRow(), 0);

    // Similar: proposes name_2 with the same text; a taken name is refused first.
    page.selectRow(1);
    QString offeredName;
    QString offeredText;
    driver.expect(kSetting, [&](QWidget *w) {
        auto *d = static_cast<CDlgConnectionSetting *>(w);
        offeredName = d->nameEdit()->text();
        offeredText = d->textEdit()->toPlainText();
        d->nameEdit()->setText(QStringLiteral("ALPHA"));
        d->accept();
    });
    driver.expectMessage();
    driver.expect(kSetting, fill(QStringLiteral("db1_2"), QString()));
    page.similarButton()->click();
    EXPECT_EQ(offeredName, QStringLiteral("db1_2"));
    EXPECT_EQ(offeredText, QStringLiteral("Provider=SQLite;Data Source=one.db;"));
    EXPECT_EQ(driver.messages, QStringList{QStringLiteral("接続名が重複しています")});
    EXPECT_EQ(names(), (QStringList{"Alpha", "db1", "db1_2"}));
    EXPECT_EQ(page.selectedRow(), 2);

    // Edit: new text re-parsed, then the new name; no duplicate check; same row selected.
    page.selectRow(1);
    driver.expect(kSetting,
                  fill(QStringLiteral("alpha"),
                       QStringLiteral("Provider=PostgreSQL;Data Source=h;Password=pw")));
    page.editButton()->click();
    EXPECT_EQ(names(), (QStringList{"Alpha", "alpha", "db1_2"}));
    EXPECT_EQ(ProfileList::instance().at(1).password, QStringLiteral("pw"));
    EXPECT_EQ(ProfileList::instance().at(1).provider, QStringLiteral("PostgreSQL"));
    EXPECT_EQ(page.selectedRow(), 1);
    EXPECT_EQ(page.list()->topLevelItem(1)->text(4), QStringLiteral("PostgreSQL"));

    // Delete asks first; Cancel keeps, OK removes and selects the first row.
    page.selectRow(2);
    driver.expectMessage(QStringLiteral("キャンセル"));
    page.deleteButton()->click();
    EXPECT_EQ(ProfileList::instance().count(), 3);
    driver.expectMessage(QStringLiteral("OK"));
    page.deleteButton()->click();
    EXPECT_EQ(names(), (QStringList{"Alpha", "alpha"}));
    EXPECT_EQ(page.selectedRow(), 0);
    EXPECT_EQ(driver.messages.mid(1),
              (QStringList{QStringLiteral("接続を削除しますか？"),
                           QStringLiteral("接続を削除しますか？")}));
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(driver.unexpected.isEmpty());
}

TEST_F(DBConnectTest, choice_with_empty_list_asks_for_a_first_profile)
{
    ModalDriver driver;
    driver.expect(
        kSetting,
        fill(QStringLiteral("first"), QStringLiteral("Provider=SQLite;Data Source=f.db")));
    const CDlgDBConnect::Choice choice = CDlgDBConnect::choose(nullptr);
    EXPECT_TRUE(choice.ok);
    EXPECT_EQ(choice.name, QStringLiteral("first"));
    EXPECT_EQ(choice.connectionText, QStringLiteral("Provider=SQLite;Data Source=f.db;"));
    EXPECT_EQ(names(), QStringList{"first"});

    // With profiles: the sheet; OK returns the selected row, Cancel declines, deleting the
    // only profile brings the connection dialog back next time.
    add("second", "Provider=SQLite;Data Source=s.db");
    driver.expect(kSheet, [](QWidget *w) {
        auto *sheet = static_cast<CDlgDBConnect *>(w);
        EXPECT_EQ(sheet->page()->selectedRow(), 0);
        EXPECT_TRUE(sheet->page()->list()->hasFocus());
        sheet->page()->selectRow(1);
        sheet->accept();
    });
    const CDlgDBConnect::Choice picked = CDlgDBConnect::choose(nullptr);
    EXPECT_TRUE(picked.ok);
    EXPECT_EQ(picked.name, QStringLiteral("second"));
    EXPECT_EQ(picked.connectionText, QStringLiteral("Provider=SQLite;Data Source=s.db;"));

    // A double-click acts as OK.
    driver.expect(kSheet, [](QWidget *w) {
        auto *sheet = static_cast<CDlgDBConnect *>(w);
        QTreeWidget *list = sheet->page()->list();
        list->setCurrentItem(list->topLevelItem(1));
        emit list->itemDoubleClicked(list->topLevelItem(1), 0);
    });
    EXPECT_EQ(CDlgDBConnect::choose(nullptr).name, QStringLiteral("second"));

    driver.expect(kSheet, [](QWidget *w) {
        auto *sheet = static_cast<CDlgDBConnect *>(w);
        sheet->page()->list()->clearSelection();
        sheet->accept(); // nothing selected: stays open
        EXPECT_TRUE(sheet->isVisible());
        sheet->reject();
    });
    EXPECT_FALSE(CDlgDBConnect::choose(nullptr).ok);

    ProfileList::instance().clear();
    driver.expect(kSetting, [](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
    EXPECT_FALSE(CDlgDBConnect::choose(nullptr).ok);
    EXPECT_TRUE(ProfileList::instance().isEmpty());
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(driver.unexpected.isEmpty());
}

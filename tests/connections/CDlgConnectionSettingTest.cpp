#include "ModalDriver.h"
#include "connections/CDlgConnectionSetting.h"
#include "connections/ProfileList.h"
#include "platform/CodePage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kTitle = QStringLiteral("接続設定");

class ConnectionSettingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProfileList::instance().clear();
        ProfileList::instance().append(ConnectionProfile(
            QStringLiteral("Sales"), QStringLiteral("Provider=SQLite;Data Source=s.db")));
        m_wizardCalls = 0;
        CDlgConnectionSetting::setWizardFunction([this](QWidget *, QString &text) {
            ++m_wizardCalls;
            m_wizardInput = text;
            if (m_wizardResult.isNull())
                return false;
            text = m_wizardResult;
            return true;
        });
    }
    void TearDown() override
    {
        CDlgConnectionSetting::setWizardFunction({});
        ProfileList::instance().clear();
    }

    static void typeAndOk(QWidget *w, const QString &name, const QString *text = nullptr)
    {
        auto *dialog = static_cast<CDlgConnectionSetting *>(w);
        dialog->nameEdit()->setText(name);
        if (text)
            dialog->textEdit()->setPlainText(*text);
        dialog->accept();
    }

    int m_wizardCalls = 0;
    QString m_wizardInput;
    QString m_wizardResult;
};

} // namespace

TEST_F(ConnectionSettingTest, password_is_masked_and_restored_unless_retyped)
{
    const QString text
        = QStringLiteral("Provider=PostgreSQL;Data Source=h;User ID=u;Password=secret;Port=1");
    {
        CDlgConnectionSetting dialog(QStringLiteral("n"), text, false);
        EXPECT_EQ(
            dialog.textEdit()->toPlainText(),
            QStringLiteral("Provider=PostgreSQL;Data Source=h;User ID=u;Password=******;Port=1"));
        ModalDriver driver;
        driver.expect(kTitle, [](QWidget *w) {
            auto *d = static_cast<CDlgConnectionSetting *>(w);
            EXPECT_TRUE(d->nameEdit()->hasFocus());
            EXPECT_EQ(d->nameEdit()->selectedText(), QStringLiteral("n"));
            d->accept();
        });
        ASSERT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(dialog.connectionText(), ConnectionProfile({}, text).connectionText);
    }
    {
        // Asterisks left in a changed password still stand for the remembered one; a
        // password without any is taken as typed.
        CDlgConnectionSetting dialog(QStringLiteral("n"), text, false);
        EXPECT_EQ(dialog.unmask(QStringLiteral("Provider=P;Data Source=h;Password=**;")),
                  QStringLiteral("Provider=P;Data Source=h;Password=secret;"));
        EXPECT_EQ(dialog.unmask(QStringLiteral("Provider=P;Data Source=h;Password=new;")),
                  QStringLiteral("Provider=P;Data Source=h;Password=new;"));
        EXPECT_EQ(dialog.unmask(QStringLiteral("Provider=P;Data Source=h;Password=***;")),
                  QStringLiteral("Provider=P;Data Source=h;Password=new;"));
    }
}

TEST_F(ConnectionSettingTest, ok_checks_name_duplicates_and_stored_size)
{
    const QString longText = QStringLiteral("Provider=SQLite;Data Source=") + QString(1100, 'x');
    const QString shortText = QStringLiteral("Provider=SQLite;Data Source=ok.db");
    CDlgConnectionSetting dialog(QString(), QStringLiteral("Provider=SQLite;Data Source=a.db"),
                                 true);
    ModalDriver driver;
    driver.expect(kTitle, [](QWidget *w) { typeAndOk(w, QString()); });
    driver.expectMessage();
    driver.expect(kTitle, [](QWidget *w) { typeAndOk(w, QStringLiteral("sales")); });
    driver.expectMessage();
    driver.expect(kTitle, [](QWidget *w) { typeAndOk(w, QStringLiteral("a;b")); });
    driver.expectMessage();
    driver.expect(kTitle, [&](QWidget *w) { typeAndOk(w, QStringLiteral("Long"), &longText); });
    driver.expectMessage();
    driver.expect(kTitle, [&](QWidget *w) { typeAndOk(w, QStringLiteral(" New "), &shortText); });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(driver.unexpected.isEmpty());
    ASSERT_EQ(driver.messages.size(), 4);
    EXPECT_EQ(driver.messages.at(0), QStringLiteral("接続名を指定してください"));
    EXPECT_EQ(driver.messages.at(1), QStringLiteral("接続名が重複しています"));
    EXPECT_TRUE(driver.messages.at(2).contains(QLatin1Char(';')));
    EXPECT_TRUE(driver.messages.at(3).contains(QStringLiteral("長すぎる")));
    EXPECT_EQ(dialog.name(), QStringLiteral("New"));
    EXPECT_EQ(dialog.connectionText(), QStringLiteral("Provider=SQLite;Data Source=ok.db;"));

    // Editing (no duplicate check) keeps an existing name; an empty text is accepted.
    CDlgConnectionSetting edit(QStringLiteral("Sales"), QStringLiteral("Provider=X"), false);
    driver.expect(kTitle, [](QWidget *w) {
        auto *d = static_cast<CDlgConnectionSetting *>(w);
        d->textEdit()->clear();
        d->accept();
    });
    ASSERT_EQ(edit.exec(), QDialog::Accepted);
    EXPECT_EQ(edit.name(), QStringLiteral("Sales"));
    EXPECT_TRUE(edit.connectionText().isEmpty());
}

TEST_F(ConnectionSettingTest, empty_text_starts_the_wizard_and_names_the_profile)
{
    m_wizardResult = QStringLiteral("Provider=SQLite;Data Source=/data/sample.db;Password=pw");
    CDlgConnectionSetting dialog(QString(), QString(), true);
    ModalDriver driver;
    driver.expect(kTitle, [](QWidget *w) { static_cast<QDialog *>(w)->accept(); });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(m_wizardCalls, 1);
    EXPECT_TRUE(m_wizardInput.isEmpty());
    EXPECT_EQ(dialog.name(), QStringLiteral("sample"));
    EXPECT_EQ(dialog.connectionText(),
              QStringLiteral("Provider=SQLite;Data Source=/data/sample.db;Password=pw;"));

    // The wizard edits the unmasked text; a cancelled wizard leaves the text alone.
    m_wizardResult = QString();
    CDlgConnectionSetting edit(QStringLiteral("n"),
                               QStringLiteral("Provider=P;Data Source=d;Password=abc"), false);
    edit.runWizard();
    EXPECT_EQ(m_wizardInput, QStringLiteral("Provider=P;Data Source=d;Password=abc;"));
    EXPECT_EQ(edit.textEdit()->toPlainText(),
              QStringLiteral("Provider=P;Data Source=d;Password=***;"));
}

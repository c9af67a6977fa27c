#include "ModalDriver.h"
#include "TestSupport.h"
#include "connections/CDlgLogin.h"
#include "db/CADODatabase.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CDlgLogin, shows_the_session_fields_and_opens_with_the_typed_user)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, QStringLiteral("CREATE TABLE t(a);"));
    CADODatabase session;
    session.SetName(QStringLiteral("local"));
    session.SetConnectionText(QStringLiteral("Provider=SQLite;Data Source=%1;Initial Catalog=main;"
                                             "User ID=old;Password=pw")
                                  .arg(path));
    CDlgLogin login(&session);
    EXPECT_EQ(login.windowTitle(), QStringLiteral("localへのログイン"));
    EXPECT_EQ(login.dataSourceLabel()->text(), path);
    EXPECT_EQ(login.catalogLabel()->text(), QStringLiteral("main"));
    EXPECT_EQ(login.userEdit()->text(), QStringLiteral("old"));
    EXPECT_EQ(login.passwordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(login.saveBox()->isChecked());

    ModalDriver driver;
    driver.expect(login.windowTitle(), [](QWidget *w) {
        auto *d = static_cast<CDlgLogin *>(w);
        EXPECT_TRUE(d->passwordEdit()->hasFocus()); // a user is known
        EXPECT_EQ(d->passwordEdit()->selectedText(), QStringLiteral("pw"));
        d->passwordEdit()->setText(QStringLiteral("a;Mode=ReadWriteCreate"));
        d->accept();
    });
    driver.expectMessage();
    driver.expect(login.windowTitle(), [](QWidget *w) {
        auto *d = static_cast<CDlgLogin *>(w);
        d->userEdit()->setText(QStringLiteral("new"));
        d->passwordEdit()->setText(QStringLiteral("pw2"));
        d->accept();
    });
    ASSERT_EQ(login.exec(), QDialog::Accepted);
    EXPECT_EQ(driver.messages, QStringList{QStringLiteral("パスワードに「;」は使用できません")});
    EXPECT_TRUE(session.IsOpen());
    EXPECT_EQ(session.GetConnectionText(),
              QStringLiteral("Provider=SQLite;Data Source=%1;Initial Catalog=main;User ID=new;"
                             "Password=pw2;")
                  .arg(path));
}

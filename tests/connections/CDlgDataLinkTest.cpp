#include "ModalDriver.h"
#include "TestSupport.h"
#include "connections/CDlgDataLink.h"
#include "connections/ConnectionProfile.h"
#include "db/CADODatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kWizard = QStringLiteral("接続ウィザード");

// A dialog whose message boxes are answered, run until the test button's report is read.
QString runTest(CDlgDataLink &dialog)
{
    ModalDriver driver;
    driver.expectMessage();
    dialog.testButton()->click();
    EXPECT_TRUE(driver.done());
    return driver.messages.value(0);
}

} // namespace

TEST(CDlgDataLink, fields_make_ado_form_strings_and_strings_fill_the_fields)
{
    const struct
    {
        CDlgDataLink::Kind kind;
        const char *text;
    } cases[] = {
        {CDlgDataLink::SQLite, "Provider=SQLite;Data Source=/tmp/a b.db;"},
        {CDlgDataLink::SQLite,
         "Provider=SQLite;Data Source=/tmp/new.db;Mode=ReadWriteCreate;Cache=Shared"},
        {CDlgDataLink::PostgreSQL,
         "Provider=PostgreSQL;Data Source=db.example:5433;Initial Catalog=sales;User "
         "ID=u;Password=p;"},
        {CDlgDataLink::MariaDB,
         "Provider=MariaDB;Data Source=localhost;Initial Catalog=shop;User ID=root;"},
        {CDlgDataLink::OdbcDriver,
         "Provider=MSDASQL;Data Source=;Initial Catalog=x;User ID=u;Driver={PostgreSQL Unicode};"
         "Server=h;Port=5432;SSLMode=require"},
        {CDlgDataLink::OdbcDsn, "Provider=MSDASQL;Data Source=MyDsn;User ID=u;Password=pw;"},
        {CDlgDataLink::Other, "Provider=SQLOLEDB;Data Source=srv;Integrated Security=SSPI"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        CDlgDataLink dialog(QString::fromUtf8(c.text));
        EXPECT_EQ(dialog.currentKind(), c.kind);
        const QString composed = c.kind == CDlgDataLink::Other
            ? QString::fromUtf8(c.text)
            : ConnectionProfile({}, QString::fromUtf8(c.text)).connectionText;
        EXPECT_EQ(dialog.connectionString(), composed);
    }

    CDlgDataLink dialog(QStringLiteral(
        "Provider=PostgreSQL;Data Source=h:5433;Initial Catalog=c;User ID=u;Password=p"));
    EXPECT_EQ(dialog.hostEdit()->text(), QStringLiteral("h"));
    EXPECT_EQ(dialog.portEdit()->text(), QStringLiteral("5433"));
    EXPECT_EQ(dialog.databaseEdit()->text(), QStringLiteral("c"));
    EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
    ASSERT_TRUE(dialog.selectKind(CDlgDataLink::MariaDB));
    dialog.portEdit()->clear();
    EXPECT_EQ(
        dialog.connectionString(),
        QStringLiteral("Provider=MariaDB;Data Source=h;Initial Catalog=c;User ID=u;Password=p;"));
}

TEST(CDlgDataLink, lists_installed_odbc_drivers)
{
    const QStringList drivers = CDlgDataLink::odbcDrivers();
    if (drivers.isEmpty())
        GTEST_SKIP() << "no ODBC driver installed";
    CDlgDataLink dialog{QString()};
    ASSERT_TRUE(dialog.selectKind(CDlgDataLink::OdbcDriver, drivers.first()));
    dialog.hostEdit()->setText(QStringLiteral("h"));
    EXPECT_EQ(
        dialog.connectionString(),
        QStringLiteral("Provider=MSDASQL;Data Source=;Driver={%1};Server=h").arg(drivers.first()));
}

TEST(CDlgDataLink, new_connection_offers_the_sample_database)
{
    QTemporaryDir dir;
    const QString sample
        = TestSupport::makeSqliteFile(dir, QStringLiteral("CREATE TABLE t(a);"), "sample.db");
    CDlgDataLink::setSampleDatabasePath(sample);
    {
        CDlgDataLink dialog{QString()};
        EXPECT_EQ(dialog.currentKind(), CDlgDataLink::SQLite);
        EXPECT_EQ(dialog.connectionString(),
                  QStringLiteral("Provider=SQLite;Data Source=%1;").arg(sample));
        // A given text wins over the sample.
        CDlgDataLink edit(QStringLiteral("Provider=SQLite;Data Source=/x.db"));
        EXPECT_EQ(edit.fileEdit()->text(), QStringLiteral("/x.db"));
    }
    CDlgDataLink::setSampleDatabasePath(dir.filePath("missing.db"));
    EXPECT_TRUE(CDlgDataLink::sampleDatabasePath().isEmpty());
    CDlgDataLink::setSampleDatabasePath(QString());
}

TEST(CDlgDataLink, connection_test_reports_success_and_failure_on_sqlite)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, QStringLiteral("CREATE TABLE t(a);"));
    CDlgDataLink dialog(QStringLiteral("Provider=SQLite;Data Source=") + path);
    dialog.show();
    EXPECT_EQ(runTest(dialog), QStringLiteral("接続テストに成功しました。"));
    dialog.fileEdit()->setText(dir.filePath("missing.db"));
    const QString failure = runTest(dialog);
    EXPECT_TRUE(failure.startsWith(QStringLiteral("接続テストに失敗しました。")))
        << failure.toStdString();
    EXPECT_TRUE(failure.contains(QStringLiteral("データベースエラー"))) << failure.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.db")));
    // With "create", the file is made.
    dialog.createBox()->setChecked(true);
    EXPECT_EQ(runTest(dialog), QStringLiteral("接続テストに成功しました。"));
    EXPECT_TRUE(QFile::exists(dir.filePath("missing.db")));
}

TEST(CDlgDataLink, connection_test_against_postgresql)
{
    SKIP_WITHOUT_POSTGRES();
    const ConnectionProfile pg({}, TestSupport::postgresConnection());
    CDlgDataLink dialog(pg.connectionText);
    EXPECT_EQ(dialog.currentKind(), CDlgDataLink::PostgreSQL);
    dialog.show();
    EXPECT_EQ(runTest(dialog), QStringLiteral("接続テストに成功しました。"));
    dialog.passwordEdit()->setText(QStringLiteral("wrong"));
    EXPECT_TRUE(runTest(dialog).contains(QStringLiteral("80040e4d"), Qt::CaseInsensitive));
}

TEST(CDlgDataLink, edit_data_link_gives_the_session_the_new_text)
{
    CADODatabase session;
    QString text = QStringLiteral("Provider=SQLite;Data Source=/a.db");
    QString error;
    ModalDriver driver;
    driver.expect(kWizard, [](QWidget *w) {
        auto *d = static_cast<CDlgDataLink *>(w);
        d->fileEdit()->setText(QStringLiteral("/b.db"));
        d->accept();
    });
    EXPECT_TRUE(CDlgDataLink::EditDataLink(session, nullptr, text, error));
    EXPECT_EQ(text, QStringLiteral("Provider=SQLite;Data Source=/b.db;"));
    EXPECT_EQ(session.GetConnectionText(), text);
    ASSERT_TRUE(session.connection());
    EXPECT_EQ(session.connection()->connectionString(), text);

    // A ";" in a field would cut the string: refused, the dialog stays.
    driver.expect(kWizard, [](QWidget *w) {
        auto *d = static_cast<CDlgDataLink *>(w);
        d->selectKind(CDlgDataLink::PostgreSQL);
        d->passwordEdit()->setText(QStringLiteral("pa;ss"));
        d->accept();
    });
    driver.expectMessage();
    driver.expect(kWizard, [](QWidget *w) {
        auto *d = static_cast<CDlgDataLink *>(w);
        EXPECT_TRUE(d->isVisible());
        d->passwordEdit()->setText(QStringLiteral("pass"));
        d->accept();
    });
    EXPECT_TRUE(CDlgDataLink::EditDataLink(session, nullptr, text, error));
    EXPECT_EQ(driver.messages.value(0), QStringLiteral("パスワードに「;」は使用できません"));
    EXPECT_EQ(ConnectionProfile({}, text).password, QStringLiteral("pass"));

    // Cancelling a new connection reports it; cancelling an edit leaves no connection.
    QString empty;
    driver.expect(kWizard, [](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
    EXPECT_FALSE(CDlgDataLink::EditDataLink(session, nullptr, empty, error));
    EXPECT_EQ(error, QStringLiteral("unknow error"));
    EXPECT_FALSE(session.connection());
    EXPECT_TRUE(driver.done());
}

#include "ModalDriver.h"
#include "TestSupport.h"
#include "connections/CDBConnections.h"
#include "connections/CDlgConnectionSetting.h"
#include "connections/CDlgDataLink.h"
#include "connections/CDlgLogin.h"
#include "connections/ConnectQueryWindow.h"
#include "connections/ProfileList.h"
#include "db/CADODatabase.h"
#include "platform/AppSettings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// One query window's side of connecting: the status texts it was given and the hooks it saw.
struct FakeWindowHooks
{
    QWidget window;
    QStringList statuses;
    int sinkBindings = 0;
    int schemaReads = 0;

    ConnectRequest request(const QString &name, const QString &text, bool ask = true)
    {
        ConnectRequest r;
        r.window = &window;
        r.profileName = name;
        r.connectionText = text;
        r.askForConnection = ask;
        r.statusText = [this](const QString &s) { statuses << s; };
        r.bindEventSink = [this](CADODatabase *) { ++sinkBindings; };
        r.readSchemaInfo = [this](CADODatabase *) { ++schemaReads; };
        return r;
    }
};

class ConnectQueryWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { ProfileList::instance().clear(); }
    void TearDown() override
    {
        ProfileList::instance().clear();
        CDlgConnectionSetting::setWizardFunction({});
    }
    // The registry is process-wide; every window a test made is closed at its end.
    void close(FakeWindowHooks &w, CADODatabase *session)
    {
        CDBConnections::instance().WindowClosed(session, &w.window);
    }
};

} // namespace

TEST_F(ConnectQueryWindowTest, opens_a_sqlite_profile_and_shares_it)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, QStringLiteral("CREATE TABLE t(a);"));
    const QString text = QStringLiteral("Provider=SQLite;Data Source=") + path;
    AppSettings::instance().commandTimeout = 77;
    ModalDriver driver; // closes (and records) any dialog that should not have come up

    FakeWindowHooks first;
    const ConnectResult r1
        = connectQueryWindow(first.request(QStringLiteral("local/sample"), text));
    EXPECT_TRUE(driver.unexpected.isEmpty());
    ASSERT_TRUE(r1.connected) << r1.session->GetErrorText().toStdString();
    ASSERT_TRUE(r1.session);
    EXPECT_TRUE(r1.session->IsOpen());
    EXPECT_EQ(r1.session->GetName(), QStringLiteral("local/sample"));
    EXPECT_EQ(r1.session->GetCommandTimeout(), 77);
    EXPECT_EQ(
        first.statuses,
        (QStringList{"接続中...", "", "データベース情報取得...", "データベース情報取得成功."}));
    EXPECT_EQ(first.schemaReads, 1);
    CDBConnections &registry = CDBConnections::instance();
    EXPECT_EQ(registry.Title(r1.session, QStringLiteral("ｸｴﾘ 1")),
              QStringLiteral("sample - ｸｴﾘ 1"));

    FakeWindowHooks second;
    ConnectRequest share = second.request({}, {}, false);
    share.shareSession = r1.session;
    const ConnectResult r2 = connectQueryWindow(share);
    EXPECT_TRUE(r2.connected);
    EXPECT_EQ(r2.session, r1.session);
    EXPECT_EQ(second.sinkBindings, 1);
    EXPECT_EQ(second.statuses, QStringList{QString()});
    EXPECT_EQ(registry.QueryCounter(r1.session), 2);

    // A busy session is shared without binding the newcomer's sink.
    FakeWindowHooks third;
    registry.SetBusy(r1.session, &first.window, true);
    ConnectRequest busy = third.request({}, {}, false);
    busy.shareSession = r1.session;
    EXPECT_TRUE(connectQueryWindow(busy).connected);
    EXPECT_EQ(third.sinkBindings, 0);
    registry.SetBusy(r1.session, &first.window, false);

    close(first, r1.session);
    close(second, r1.session);
    EXPECT_TRUE(registry.IsOpen(r1.session));
    close(third, r1.session);
    EXPECT_EQ(registry.Find(r1.session), nullptr);
}

TEST_F(ConnectQueryWindowTest, failures_and_declines_leave_the_window_unconnected)
{
    FakeWindowHooks w;
    // Not asked: nothing at all.
    EXPECT_FALSE(connectQueryWindow(w.request({}, {}, false)).session);
    EXPECT_TRUE(w.statuses.isEmpty());

    // A declined choice: status cleared, no session made.
    const int before = CDBConnections::instance().Count();
    ModalDriver driver;
    CDlgConnectionSetting::setWizardFunction([](QWidget *, QString &) { return false; });
    driver.expect(QStringLiteral("接続設定"),
                  [](QWidget *d) { static_cast<QDialog *>(d)->reject(); });
    const ConnectResult declined = connectQueryWindow(w.request({}, {}));
    EXPECT_FALSE(declined.connected);
    EXPECT_EQ(declined.session, nullptr);
    EXPECT_EQ(w.statuses, (QStringList{"接続中...", ""}));
    EXPECT_EQ(CDBConnections::instance().Count(), before);

    // An open failure: warning with the session's error; the record stays until the window goes.
    QTemporaryDir dir;
    w.statuses.clear();
    driver.expectMessage();
    const ConnectResult failed = connectQueryWindow(
        w.request(QStringLiteral("gone"),
                  QStringLiteral("Provider=SQLite;Data Source=") + dir.filePath("none.db")));
    EXPECT_FALSE(failed.connected);
    ASSERT_TRUE(failed.session);
    EXPECT_FALSE(failed.session->IsOpen());
    EXPECT_EQ(driver.messages.value(0), failed.session->GetErrorText());
    EXPECT_EQ(w.statuses, (QStringList{"接続中...", ""}));
    EXPECT_EQ(w.schemaReads, 0);
    EXPECT_EQ(CDBConnections::instance().Count(), before + 1);
    close(w, failed.session);
    EXPECT_EQ(CDBConnections::instance().Count(), before);
    EXPECT_TRUE(driver.done());
}

// A rejected password brings up the log-in dialog; a wrong one there keeps it open; the
// right one connects and, when asked to, goes into the profile.
TEST_F(ConnectQueryWindowTest, postgres_log_in_after_authentication_failure)
{
    SKIP_WITHOUT_POSTGRES();
    ConnectionProfile pg(QStringLiteral("pg/sales"), TestSupport::postgresConnection());
    const QString user = pg.user;
    const QString password = pg.password;
    pg.user.clear();
    pg.password = QStringLiteral("not-the-password");
    pg.compose();
    const QString stored = ConnectionProfile(pg.name, pg.connectionText).connectionText;

    for (const bool save : {false, true}) {
        SCOPED_TRACE(save ? "saved" : "not saved");
        ProfileList::instance().clear();
        ProfileList::instance().append(ConnectionProfile(pg.name, stored));
        FakeWindowHooks w;
        ModalDriver driver;
        const QString title = QStringLiteral("pg/salesへのログイン");
        Ado::Status firstCode = 0;
        driver.expect(title, [&](QWidget *d) {
            auto *login = static_cast<CDlgLogin *>(d);
            EXPECT_EQ(login->dataSourceLabel()->text(), pg.dataSource);
            EXPECT_EQ(login->catalogLabel()->text(), pg.catalog);
            EXPECT_FALSE(login->saveBox()->isChecked());
            EXPECT_TRUE(login->userEdit()->hasFocus()); // no user yet
            login->userEdit()->setText(user);
            login->passwordEdit()->setText(QStringLiteral("still-wrong"));
            login->accept();
        });
        driver.expectMessage();
        driver.expect(title, [&](QWidget *d) {
            auto *login = static_cast<CDlgLogin *>(d);
            EXPECT_TRUE(login->isVisible());
            login->passwordEdit()->setText(password);
            login->saveBox()->setChecked(save);
            login->accept();
        });
        const ConnectRequest request = w.request(pg.name, stored);
        // The first open fails with the authentication status before the dialog shows.
        CADODatabase probe;
        probe.SetConnectTimeout(15);
        EXPECT_FALSE(probe.Open(stored));
        firstCode = probe.GetErrorCode();
        EXPECT_EQ(firstCode, 0x80040E4Du);

        const ConnectResult r = connectQueryWindow(request);
        EXPECT_TRUE(r.connected);
        ASSERT_TRUE(r.session);
        EXPECT_TRUE(r.session->IsOpen());
        EXPECT_TRUE(driver.done());
        EXPECT_TRUE(
            driver.messages.value(0).contains(QStringLiteral("80040e4d"), Qt::CaseInsensitive))
            << driver.messages.value(0).toStdString();
        const ConnectionProfile session({}, r.session->GetConnectionText());
        EXPECT_EQ(session.user, user);
        EXPECT_EQ(session.password, password);
        const ConnectionProfile &kept = ProfileList::instance().at(0);
        EXPECT_EQ(kept.user, save ? user : QString());
        EXPECT_EQ(kept.password, save ? password : QStringLiteral("not-the-password"));
        close(w, r.session);
    }

    // Cancelling the log-in leaves the window unconnected.
    FakeWindowHooks w;
    ModalDriver driver;
    driver.expect(QStringLiteral("pg/salesへのログイン"),
                  [](QWidget *d) { static_cast<QDialog *>(d)->reject(); });
    const ConnectResult r = connectQueryWindow(w.request(pg.name, stored));
    EXPECT_FALSE(r.connected);
    EXPECT_EQ(w.schemaReads, 0);
    close(w, r.session);
}

// From an empty profile list to a connected window on the sample database: the wizard opens
// by itself with the sample chosen, and two OKs (wizard, connection dialog) connect.
TEST_F(ConnectQueryWindowTest, first_start_reaches_the_sample_database_in_two_confirmations)
{
    QTemporaryDir dir;
    const QString sample
        = TestSupport::makeSqliteFile(dir, QStringLiteral("CREATE TABLE t(a);"), "sample.db");
    CDlgDataLink::setSampleDatabasePath(sample);
    ModalDriver driver;
    int confirmations = 0;
    const auto ok = [&](QWidget *d) {
        ++confirmations;
        static_cast<QDialog *>(d)->accept();
    };
    driver.expect(QStringLiteral("接続ウィザード"), ok);
    driver.expect(QStringLiteral("接続設定"), ok);
    FakeWindowHooks w;
    const ConnectResult r = connectQueryWindow(w.request({}, {}));
    CDlgDataLink::setSampleDatabasePath(QString());
    EXPECT_TRUE(driver.unexpected.isEmpty()) << driver.unexpected.join(',').toStdString();
    EXPECT_TRUE(r.connected);
    EXPECT_EQ(confirmations, 2);
    EXPECT_EQ(r.name, QStringLiteral("sample"));
    ASSERT_EQ(ProfileList::instance().count(), 1);
    EXPECT_EQ(ProfileList::instance().at(0).name, QStringLiteral("sample"));
    EXPECT_EQ(ProfileList::instance().at(0).dataSource, sample);
    EXPECT_EQ(r.connectionText, ProfileList::instance().at(0).connectionText);
    EXPECT_EQ(CDBConnections::instance().Title(r.session, QStringLiteral("ｸｴﾘ 1")),
              QStringLiteral("sample - ｸｴﾘ 1"));
    close(w, r.session);
}

// The server going away in the middle of a fetch: a throwaway PostgreSQL cluster of this test's
// own is stopped while rows are being read.

#include "ExecutionFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

const QString PgBin = QStringLiteral("/usr/lib/postgresql/15/bin/");
const int Port = 54391;

// Runs a program as the postgres user; true on exit code 0.
bool asPostgres(const QStringList &command, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("runuser"), QStringList{"-u", "postgres", "--"} << command);
    if (!process.waitForFinished(120000))
        return false;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class ThrowawayCluster
{
public:
    bool start(QString *error)
    {
        if (!m_dir.isValid())
            return false;
        m_data = m_dir.path() + "/data";
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777));
        QProcess::execute("chown", {"postgres", m_dir.path()});
        if (!asPostgres({PgBin + "initdb", "-D", m_data, "-U", "postgres", "--auth=trust",
                         "-E", "UTF8"},
                        error))
            return false;
        m_started = asPostgres({PgBin + "pg_ctl", "-D", m_data, "-w", "-l",
                                m_dir.path() + "/log", "-o",
                                QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1")
                                    .arg(Port)
                                    .arg(m_dir.path()),
                                "start"},
                               error);
        return m_started;
    }
    void stop()
    {
        if (m_started)
            asPostgres({PgBin + "pg_ctl", "-D", m_data, "-m", "immediate", "stop"});
        m_started = false;
    }
    ~ThrowawayCluster() { stop(); }

private:
    QTemporaryDir m_dir{QDir::tempPath() + "/exec-stop-XXXXXX"};
    QString m_data;
    bool m_started = false;
};

} // namespace

TEST(ServerStoppedMidFetch, rows_read_stay_and_the_error_goes_to_the_message_tab)
{
    if (geteuid() != 0 || !QFile::exists(PgBin + "initdb") || !QFile::exists("/usr/sbin/runuser"))
        GTEST_SKIP() << "needs root and PostgreSQL 15 server binaries";
    ThrowawayCluster cluster;
    QString error;
    if (!cluster.start(&error))
        GTEST_SKIP() << "cluster did not start: " << error.toStdString();

    const QString connection =
        QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:%1;Initial Catalog=postgres;"
                       "User ID=postgres;Password=x;UseDeclareFetch=1;Fetch=1000")
            .arg(Port);
    HeadlessWindow window(connection);
    ASSERT_TRUE(window.isOpen()) << window.session->GetErrorText().toStdString();
    ASSERT_TRUE(window.execution->ExecuteText(
        "SELECT x, repeat('v', 200) AS pad FROM generate_series(1, 2000000) AS x", false));

    // Stop the server once rows are arriving.
    QElapsedTimer timer;
    timer.start();
    while (!window.host.panes[1].startsWith("データ数：") && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(window.host.panes[1].startsWith("データ数："));
    cluster.stop();
    ASSERT_TRUE(window.waitForEnd(60000));

    auto model = window.model(0);
    ASSERT_TRUE(model);
    EXPECT_GT(model->GetFetchedRowCount(), 0);
    EXPECT_LT(model->GetFetchedRowCount(), 2000000);
    EXPECT_EQ(window.captions(), QStringList({"ﾒｯｾｰｼﾞ", "1"}));
    EXPECT_EQ(window.host.current, 0); // the message tab
    EXPECT_EQ(window.host.panes[0], "エラーが発生しました");
    EXPECT_FALSE(window.host.messageLines.isEmpty());
    EXPECT_TRUE(window.host.boxes.isEmpty());
    EXPECT_FALSE(window.session->IsBusy());
}

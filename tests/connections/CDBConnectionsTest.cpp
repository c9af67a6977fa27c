#include "TestSupport.h"
#include "connections/CDBConnections.h"
#include "db/CADODatabase.h"

#include <QObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A session created for a window and named like an opened profile (the registry reads only
// the name when numbering).
CADODatabase *opened(CDBConnections &registry, QObject *window, const QString &profileName)
{
    CADODatabase *session = registry.CreateForWindow(window);
    session->SetName(profileName);
    registry.RegisterOpened(session);
    return session;
}

} // namespace

TEST(CDBConnections, display_name_strips_up_to_the_last_separator)
{
    const struct
    {
        const char *profile;
        const char *display;
    } cases[] = {{"db/sales", "sales"}, {"a b#c%d;e", "e"}, {"x\\y/z", "z"}, {"plain", "plain"},
                 {"ends/", ""},         {"売上 DB", "DB"},  {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(CDBConnections::DisplayName(QString::fromUtf8(c.profile)),
                  QString::fromUtf8(c.display))
            << c.profile;
}

TEST(CDBConnections, query_counter_counts_windows_and_never_goes_down)
{
    CDBConnections registry;
    QObject w1, w2, w3, w4;
    CADODatabase *session = opened(registry, &w1, QStringLiteral("Sales"));
    EXPECT_EQ(registry.QueryCounter(session), 1);
    registry.AttachWindow(session, &w2);
    EXPECT_EQ(registry.QueryCounter(session), 2);
    registry.AttachWindow(session, &w2); // already there: no change
    EXPECT_EQ(registry.QueryCounter(session), 2);
    registry.AttachWindow(session, &w3);
    EXPECT_EQ(registry.QueryCounter(session), 3);
    registry.WindowClosed(session, &w2);
    registry.AttachWindow(session, &w4);
    EXPECT_EQ(registry.QueryCounter(session), 4);
    EXPECT_EQ(registry.Title(session, QStringLiteral("ｸｴﾘ 4")), QStringLiteral("Sales - ｸｴﾘ 4"));
    EXPECT_EQ(registry.Title(session, QString()), QStringLiteral("Sales"));
    EXPECT_EQ(registry.Find(session)->windows, (QList<QObject *>{&w1, &w3, &w4}));
    EXPECT_EQ(registry.QueryCounter(nullptr), -1);
    EXPECT_TRUE(registry.Title(nullptr, QStringLiteral("x")).isEmpty());
}

TEST(CDBConnections, instance_numbers_per_display_name)
{
    CDBConnections registry;
    QObject w1, w2, w3, w4, w5;
    CADODatabase *a = opened(registry, &w1, QStringLiteral("db/sales"));
    CADODatabase *b = opened(registry, &w2, QStringLiteral("other/sales"));
    EXPECT_EQ(registry.Title(a, QStringLiteral("ｸｴﾘ 1")), QStringLiteral("sales - ｸｴﾘ 1"));
    EXPECT_EQ(registry.Title(b, QStringLiteral("ｸｴﾘ 1")), QStringLiteral("sales[2] - ｸｴﾘ 1"));
    EXPECT_EQ(registry.Count(), 2);

    registry.WindowClosed(a, &w1);
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.Find(a), nullptr);
    CADODatabase *c = opened(registry, &w3, QStringLiteral("db/sales"));
    EXPECT_EQ(registry.Find(c)->instanceNumber, 3);
    EXPECT_EQ(registry.Title(c, QString()), QStringLiteral("sales[3]"));

    // A session that never opened leaves the counters alone when it goes.
    CADODatabase *failed = registry.CreateForWindow(&w4);
    failed->SetName(QStringLiteral("db/sales"));
    registry.WindowClosed(failed, &w4);
    EXPECT_EQ(registry.OpenCount(QStringLiteral("sales")), 2);
    EXPECT_EQ(registry.Find(b)->instanceNumber, 2);

    registry.WindowClosed(b, &w2);
    registry.WindowClosed(c, &w3);
    EXPECT_EQ(registry.OpenCount(QStringLiteral("sales")), 0);
    CADODatabase *d = opened(registry, &w5, QStringLiteral("sales"));
    EXPECT_EQ(registry.Find(d)->instanceNumber, 1);
    EXPECT_EQ(registry.Count(), 1);
}

TEST(CDBConnections, busy_slot_belongs_to_one_window)
{
    CDBConnections registry;
    QObject w1, w2;
    CADODatabase *session = opened(registry, &w1, QStringLiteral("s"));
    registry.AttachWindow(session, &w2);

    registry.SetBusy(session, &w1, true);
    EXPECT_TRUE(session->IsBusy());
    registry.SetBusy(session, &w2, true); // held by w1: nothing changes
    EXPECT_EQ(registry.Find(session)->executingWindow, &w1);
    registry.SetBusy(session, &w2, false); // w2 does not hold it
    EXPECT_TRUE(session->IsBusy());
    registry.SetBusy(session, &w1, false);
    EXPECT_FALSE(session->IsBusy());
    EXPECT_EQ(registry.Find(session)->executingWindow, nullptr);

    // A holder that closes gives the slot back to the windows that stay.
    registry.SetBusy(session, &w2, true);
    registry.WindowClosed(session, &w2);
    EXPECT_FALSE(session->IsBusy());
    registry.SetBusy(session, &w1, true);
    EXPECT_EQ(registry.Find(session)->executingWindow, &w1);
}

TEST(CDBConnections, last_window_closes_a_real_connection)
{
    QTemporaryDir dir;
    const QString path
        = TestSupport::makeSqliteFile(dir, QStringLiteral("CREATE TABLE t(a INTEGER);"));
    CDBConnections registry;
    QObject w1, w2;
    CADODatabase *session = registry.CreateForWindow(&w1);
    session->SetName(QStringLiteral("file"));
    ASSERT_TRUE(session->Open(QStringLiteral("Provider=SQLite;Data Source=") + path))
        << session->GetErrorText().toStdString();
    registry.RegisterOpened(session);
    EXPECT_TRUE(registry.IsOpen(session));
    registry.AttachWindow(session, &w2);
    std::weak_ptr<Ado::Connection> connection = session->connection();
    registry.WindowClosed(session, &w1);
    EXPECT_TRUE(registry.IsOpen(session));
    registry.WindowClosed(session, &w2);
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_FALSE(registry.IsOpen(session));
    EXPECT_TRUE(connection.expired());
}

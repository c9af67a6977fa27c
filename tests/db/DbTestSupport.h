#pragma once

#include "db/CADODatabase.h"
#include "db/CADORecordset.h"
#include "db/CConnEvent.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

// Compares texts and shows both readably when they differ.
#define EXPECT_TEXT(actual, expected)                                                              \
    EXPECT_EQ(QString(actual).toStdString(), QString(expected).toStdString())

// Fixture running one table of behaviours against both providers: "sqlite" (a fresh file)
// and "postgres" (the test server through psqlODBC, skipped when QORVANE_TEST_PG is unset).
class ProviderTest : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override;
    void TearDown() override;

    bool isPostgres() const { return QString::fromLatin1(GetParam()) == QLatin1String("postgres"); }
    // A table name unique to this test, dropped afterwards.
    QString table(const QString &suffix = QString());
    // Runs a text on a fresh synchronous record set; "#N affected=K" or names, types, rows.
    static QString dump(CADODatabase &session, const QString &text);
    static QString dump(CADORecordset &recordset);
    void exec(CADODatabase &session, const QString &text);
    // The database-specific binary literal of two bytes 01 02, and the binary column type.
    QString binaryLiteral() const { return isPostgres() ? "'\\x0102'::bytea" : "X'0102'"; }
    QString binaryType() const { return isPostgres() ? "BYTEA" : "BLOB"; }
    // A statement that runs for a long time.
    QString slowQuery() const;

    QTemporaryDir m_dir;
    QString m_connection;
    QStringList m_tables;
};

// Counts ExecuteComplete events and lets a test wait for them.
class CompletionSink : public CConnEvent
{
public:
    void executeComplete(long recordsAffected, const Ado::ErrorRecord *error, int &status,
                         Ado::Command *, Ado::Recordset *recordset, Ado::Connection *) override;
    bool waitFor(int count, int milliseconds = 20000);

    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    long recordsAffected = 0;
    int status = 0;
    Ado::Status errorCode = 0;
    const Ado::Recordset *recordset = nullptr;
    std::thread::id thread;
};

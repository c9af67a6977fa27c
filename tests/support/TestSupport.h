#pragma once

#include <QString>
#include <QTemporaryDir>

// Helpers shared by the test executables.
namespace TestSupport {

// tests/data of the source tree.
QString dataDir();

// The PostgreSQL connection string scripts/test exports (QORVANE_TEST_PG), or empty.
QString postgresConnection();

// Builds a SQLite database file from SQL in a fresh temporary directory; returns its path.
QString makeSqliteFile(const QTemporaryDir &dir, const QString &sql, const QString &name = "t.db");

} // namespace TestSupport

#define SKIP_WITHOUT_POSTGRES()                                                                    \
    do {                                                                                           \
        if (TestSupport::postgresConnection().isEmpty())                                           \
            GTEST_SKIP() << "QORVANE_TEST_PG is not set";                                          \
    } while (0)

namespace TestSupport {
// The qorvane-probe executable of this build (QORVANE_PROBE), or empty.
QString probePath();
} // namespace TestSupport

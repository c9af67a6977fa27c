#include "TestSupport.h"

#include <sqlite3.h>

#include <stdexcept>

namespace TestSupport {

QString dataDir()
{
    return qEnvironmentVariable("QORVANE_DATA_DIR");
}

QString postgresConnection()
{
    return qEnvironmentVariable("QORVANE_TEST_PG");
}

QString makeSqliteFile(const QTemporaryDir &dir, const QString &sql, const QString &name)
{
    const QString path = dir.filePath(name);
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create test database");
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error("test SQL failed: " + message);
    return path;
}

} // namespace TestSupport

namespace TestSupport {
QString probePath()
{
    return qEnvironmentVariable("QORVANE_PROBE");
}
} // namespace TestSupport

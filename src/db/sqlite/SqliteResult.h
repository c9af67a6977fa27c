#pragma once

#include "db/ado/AdoProvider.h"

#include <QByteArray>
#include <atomic>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace Ado {

class SqliteHandle;

// The results of a command text on SQLite: each statement of the text in turn is one
// result. Declared column types give the ADO data types by SQLite's affinity rules; a value
// whose storage class does not fit its column's type is given as the value it holds.
class SqliteResult : public ResultStream
{
public:
    SqliteResult(std::shared_ptr<SqliteHandle> handle, const QString &text,
                 const QList<Parameter> &parameters, int timeoutSeconds);
    ~SqliteResult() override;

    void start() override;
    const QList<FieldInfo> &fields() const override { return m_fields; }
    bool fetch() override;
    void value(int column, Variant &out) override;
    qint64 actualSize(int column) override;
    bool appendPlainText(int column, QString &out, bool &isNull) override;
    long recordsAffected() const override { return m_recordsAffected; }
    bool nextResult() override;
    void cancel() override;

    // The ADO type, size, precision and scale for a declared column type.
    static FieldInfo typeForDeclared(const QString &declared);

private:
    bool runNextStatement();
    void bindParameters();
    void describeColumns();
    [[noreturn]] void throwLastError();
    int step(int timeoutSeconds);
    void finalize();

    std::shared_ptr<SqliteHandle> m_handle;
    QByteArray m_text;
    const char *m_tail = nullptr;
    QList<Parameter> m_parameters;
    int m_positional = 0; // "?" markers bound so far
    int m_timeout = 0;
    sqlite3_stmt *m_stmt = nullptr;
    QList<FieldInfo> m_fields;
    QList<int> m_kinds;  // per column: how values are read
    QList<bool> m_plain; // per column: texts and integers render as themselves
    long m_recordsAffected = -1;
    // The current row, read in one go under the connection's lock (texts and blobs point
    // into the statement and stay valid until its next step).
    struct Cell
    {
        int type = 0;
        qint64 i = 0;
        double d = 0;
        const char *p = nullptr;
        int n = 0;
    };
    std::vector<Cell> m_cells;
    void loadRow();
    bool m_pendingRow = false; // the first step already produced a row
    bool m_rowValid = false;
    std::atomic<bool> m_cancelled{false};
    ComError m_stepError{E_Fail, QString(), QString()};
    bool m_haveStepError = false;
};

} // namespace Ado

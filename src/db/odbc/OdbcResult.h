#pragma once

#include "db/ado/AdoProvider.h"
#include "db/odbc/OdbcHandle.h"

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sql.h>
#include <vector>

namespace Ado {

class OdbcHandle;

// The results of a command text through ODBC: SQLExecDirect, then SQLMoreResults for each
// further result. Rows are fetched in column-bound arrays of up to 1,000 rows; text columns
// are bound with a capped width and a longer value is read with SQLGetData when asked for.
class OdbcResult : public ResultStream, private OdbcHandle::Statement
{
public:
    OdbcResult(std::shared_ptr<OdbcHandle> handle, const QString &text,
               const QList<Parameter> &parameters, int timeoutSeconds);
    ~OdbcResult() override;

    void start() override;
    const QList<FieldInfo> &fields() const override { return m_fields; }
    bool fetch() override;
    void value(int column, Variant &out) override;
    qint64 actualSize(int column) override;
    bool appendPlainText(int column, QString &out, bool &isNull) override;
    long recordsAffected() const override { return m_recordsAffected; }
    bool nextResult() override;
    void cancel() override;

    // The ADO data type for an ODBC SQL type.
    static int adoType(int sqlType, bool isUnsigned);

private:
    void release() override;
    void checkStatement() const;

    struct Column
    {
        SQLSMALLINT cType = 0;
        SQLLEN elementBytes = 0;
        std::vector<char> data;
        std::vector<SQLLEN> indicators;
        int kind = 0;
        bool raw = false; // the server's UTF-8 text, bound as SQL_C_BINARY
    };

    void describeCurrent();
    void bindParameters(const QList<int> &order);
    [[noreturn]] void throwStatementError();
    bool readLong(int column, Variant &out);
    void valueFromText(int column, const char *p, SQLLEN ind, Variant &out);

    std::shared_ptr<OdbcHandle> m_handle;
    QString m_text;
    QList<Parameter> m_parameters;
    int m_timeout = 0;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    std::mutex m_stmtMutex; // guards m_stmt against cancel() and release()
    std::mutex m_useMutex;  // held by every call that uses the statement
    std::atomic<bool> m_cancelled{false};
    std::mutex m_cancelWaitMutex;         // with m_cancelWait: wakes the execution's watcher
    std::condition_variable m_cancelWait;
    std::atomic<bool> m_released{false};
    QStringList m_keywords;
    int m_resultIndex = 0;

    QList<FieldInfo> m_fields;
    std::vector<Column> m_columns;
    SQLULEN m_arraySize = 1;
    SQLULEN m_fetched = 0;
    SQLULEN m_row = 0;
    std::vector<SQLUSMALLINT> m_rowStatus;
    long m_recordsAffected = -1;

    // Parameter buffers, alive until the statement is freed.
    std::vector<std::u16string> m_paramTexts;
    std::vector<std::vector<char>> m_paramData;
    std::vector<SQLLEN> m_paramIndicators;
};

} // namespace Ado

#pragma once

#include "db/ado/AdoProvider.h"

#include <QList>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace Ado {

class Command;
class Connection;

// An ADO Recordset over one result of a provider stream. A forward-only cursor reads the
// provider directly; any other cursor type, or the client cursor location, keeps the rows
// read so far so that MoveFirst and RecordCount work.
// Open (with adAsyncExecute) starts the execution on a thread of its own and returns;
// ExecuteComplete is raised there once, and from then on one thread at a time may read the
// record set. cancel() and state() may be called from any thread.
class Recordset : public std::enable_shared_from_this<Recordset>
{
public:
    static std::shared_ptr<Recordset> create();
    ~Recordset();

    void setCursorType(int type) { m_cursorType = type; }
    void setCursorLocation(int location) { m_cursorLocation = location; }
    void setLockType(int type) { m_lockType = type; }
    void setCacheSize(int size) { m_cacheSize = size; }
    int cursorType() const { return m_cursorType; }

    // Throws ComError (synchronous execution, or a closed connection).
    void open(const QString &source, const std::shared_ptr<Connection> &connection,
              int cursorType = adOpenUnspecified, int lockType = -1,
              int options = adOptionUnspecified);
    void close();
    int state() const { return m_state.load(); }
    bool eof() const;
    // -1 for a forward-only cursor, else the number of rows (reads to the end to know it).
    long recordCount();
    void moveFirst();
    void moveNext();
    // The record set of the next statement, or null when there is none; recordsAffected
    // receives its count. This record set is closed afterwards.
    std::shared_ptr<Recordset> nextRecordset(long *recordsAffected = nullptr);
    // Stops an execution in progress; no effect once it has completed.
    void cancel();
    void cancelUpdate() {}
    // Makes a forward-only record set keep the rows it reads from the current one on, so
    // that MoveFirst can come back to it (used to count by walking).
    void keepRows();

    int fieldCount() const { return int(m_fields.size()); }
    const FieldInfo &field(int index) const { return m_fields.at(index); }
    int fieldIndex(const QString &name) const; // case-insensitive; -1 when absent
    // Throws AdErrNoCurrentRecord at EOF, AdErrItemNotFound for a bad index.
    void value(int index, Variant &out);
    qint64 actualSize(int index);
    // The provider's shortcut for plain texts (see ResultStream::appendPlainText); false when
    // it does not apply. The caller has checked the index and EOF.
    bool appendPlainText(int index, QString &out, bool &isNull)
    {
        return !m_buffered && m_stream->appendPlainText(index, out, isNull);
    }
    long recordsAffected() const { return m_recordsAffected; }
    const QString &source() const { return m_source; }
    std::shared_ptr<Connection> activeConnection() const { return m_connection; }

    // Used by Command::execute and Connection::openSchema: runs or adopts a stream.
    void execute(const std::shared_ptr<Connection> &connection, const QString &source,
                 const QList<Parameter> &parameters, int options, Command *command);
    void adopt(const std::shared_ptr<Connection> &connection, std::unique_ptr<ResultStream> stream,
               const QString &source);

private:
    Recordset() = default;
    void runExecution(Command *command, int options, bool async);
    void takeCurrentResult();
    bool scrollable() const { return m_buffered; }
    void fetchAhead();
    void checkOpen() const;
    void joinWorker();

    int m_cursorType = adOpenForwardOnly;
    int m_cursorLocation = adUseServer;
    int m_lockType = adLockReadOnly;
    int m_cacheSize = 1;
    QString m_source;
    std::shared_ptr<Connection> m_connection;
    std::shared_ptr<ResultStream> m_stream;
    QList<Parameter> m_parameters;
    QList<FieldInfo> m_fields;
    std::atomic<int> m_state{adStateClosed};
    long m_recordsAffected = -1;

    // Forward-only reading.
    bool m_eof = true;
    bool m_buffered = false;
    qsizetype m_bufferStart = 0; // forward position of the first kept row
    // Scrollable reading: rows kept so far and the position in them.
    std::vector<std::vector<Variant>> m_rows;
    qsizetype m_position = 0;
    bool m_streamAtEnd = false;

    std::thread m_worker;
    std::mutex m_cancelMutex;
    bool m_cancelled = false;
};

} // namespace Ado

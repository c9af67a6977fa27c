#include "db/ado/AdoRecordset.h"

#include "db/ado/AdoConnection.h"

namespace Ado {

namespace {
const QString ComponentSource = QStringLiteral("ADODB.Recordset");

[[noreturn]] void fail(Status code)
{
    throw ComError(code, ComponentSource, statusMessage(code));
}
} // namespace

std::shared_ptr<Recordset> Recordset::create()
{
    return std::shared_ptr<Recordset>(new Recordset());
}

Recordset::~Recordset()
{
    cancel();
    joinWorker();
}

void Recordset::joinWorker()
{
    if (!m_worker.joinable())
        return;
    if (m_worker.get_id() == std::this_thread::get_id())
        m_worker.detach(); // the execution thread itself lets go of the record set
    else
        m_worker.join();
}

void Recordset::keepRows()
{
    checkOpen();
    if (m_buffered)
        return;
    m_rows.clear();
    m_bufferStart = m_position;
    m_streamAtEnd = m_eof;
    if (!m_eof) {
        std::vector<Variant> row(size_t(m_fields.size()));
        for (int i = 0; i < m_fields.size(); ++i)
            m_stream->value(i, row[size_t(i)]);
        m_rows.push_back(std::move(row));
    }
    m_position = 0;
    m_buffered = true;
}

void Recordset::open(const QString &source, const std::shared_ptr<Connection> &connection,
                     int cursorType, int lockType, int options)
{
    if (m_state.load() != adStateClosed)
        fail(AdErrObjectOpen);
    if (!connection || connection->state() == adStateClosed)
        fail(AdErrObjectClosed);
    if (cursorType != adOpenUnspecified)
        m_cursorType = cursorType;
    if (lockType > 0)
        m_lockType = lockType;
    execute(connection, source, {}, options, nullptr);
}

void Recordset::execute(const std::shared_ptr<Connection> &connection, const QString &source,
                        const QList<Parameter> &parameters, int options, Command *command)
{
    if (m_state.load() != adStateClosed)
        fail(AdErrObjectOpen);
    if (!connection || !connection->session())
        fail(AdErrObjectClosed);
    joinWorker();
    m_connection = connection;
    m_source = source;
    m_parameters = parameters;
    m_recordsAffected = -1;
    connection->clearErrors();

    QString text = source;
    int cursorType = m_cursorType;
    int lockType = m_lockType;
    int opts = options;
    connection->raiseWillExecute(text, cursorType, lockType, opts, command, this);

    std::unique_ptr<ResultStream> stream;
    try {
        stream = connection->session()->prepare(text, parameters, connection->commandTimeout());
    } catch (const ComError &error) {
        connection->recordError(error.record());
        connection->raiseExecuteComplete(-1, &error.record(), command, this);
        throw;
    }
    {
        std::lock_guard lock(m_cancelMutex);
        m_stream = std::move(stream);
        m_cancelled = false;
    }
    const bool async = options != adOptionUnspecified && (options & adAsyncExecute);
    if (async) {
        m_state = adStateOpen | adStateExecuting;
        m_worker = std::thread([self = shared_from_this(), command, options] {
            self->runExecution(command, options, true);
        });
    } else {
        m_state = adStateExecuting;
        runExecution(command, options, false);
    }
}

void Recordset::adopt(const std::shared_ptr<Connection> &connection,
                      std::unique_ptr<ResultStream> stream, const QString &source)
{
    m_connection = connection;
    m_source = source;
    {
        std::lock_guard lock(m_cancelMutex);
        m_stream = std::move(stream);
        m_cancelled = false;
    }
    takeCurrentResult();
}

void Recordset::runExecution(Command *command, int options, bool async)
{
    Q_UNUSED(options);
    std::shared_ptr<Connection> connection = m_connection;
    try {
        m_stream->start();
        takeCurrentResult();
    } catch (const ComError &error) {
        {
            std::lock_guard lock(m_cancelMutex);
            m_stream.reset();
        }
        m_fields.clear();
        m_rows.clear();
        m_eof = true;
        m_state = adStateClosed;
        connection->recordError(error.record());
        connection->raiseExecuteComplete(-1, &error.record(), command, this);
        if (!async)
            throw;
        return;
    }
    connection->raiseExecuteComplete(m_recordsAffected, nullptr, command, this);
}

void Recordset::takeCurrentResult()
{
    m_fields = m_stream->fields();
    m_recordsAffected = m_stream->recordsAffected();
    m_rows.clear();
    m_position = 0;
    m_bufferStart = 0;
    m_streamAtEnd = false;
    m_buffered = m_cursorType != adOpenForwardOnly || m_cursorLocation == adUseClient;
    if (m_fields.isEmpty()) {
        m_eof = true;
        m_streamAtEnd = true;
        m_state = adStateClosed;
        return;
    }
    if (scrollable()) {
        fetchAhead();
        m_eof = m_rows.empty();
    } else {
        m_eof = !m_stream->fetch();
    }
    m_state = adStateOpen;
}

void Recordset::fetchAhead()
{
    if (m_streamAtEnd)
        return;
    if (!m_stream->fetch()) {
        m_streamAtEnd = true;
        return;
    }
    std::vector<Variant> row(size_t(m_fields.size()));
    for (int i = 0; i < m_fields.size(); ++i)
        m_stream->value(i, row[size_t(i)]);
    m_rows.push_back(std::move(row));
}

void Recordset::checkOpen() const
{
    if (m_state.load() == adStateClosed)
        fail(AdErrObjectClosed);
}

void Recordset::close()
{
    cancel();
    joinWorker();
    if (m_state.load() == adStateClosed && !m_stream)
        fail(AdErrObjectClosed);
    {
        std::lock_guard lock(m_cancelMutex);
        m_stream.reset();
    }
    m_fields.clear();
    m_rows.clear();
    m_eof = true;
    m_state = adStateClosed;
}

bool Recordset::eof() const
{
    if (scrollable())
        return m_position >= qsizetype(m_rows.size());
    return m_eof;
}

long Recordset::recordCount()
{
    checkOpen();
    if (!scrollable())
        return -1;
    while (!m_streamAtEnd)
        fetchAhead();
    return long(m_rows.size());
}

void Recordset::moveFirst()
{
    checkOpen();
    if (scrollable()) {
        if (m_bufferStart != 0)
            fail(DB_E_CantScrollBackwards);
        m_position = 0;
        return;
    }
    // A forward-only cursor can only stay where it started.
    if (m_position != 0)
        fail(DB_E_CantScrollBackwards);
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof())
        fail(AdErrNoCurrentRecord);
    ++m_position;
    if (scrollable()) {
        if (m_position >= qsizetype(m_rows.size()))
            fetchAhead();
    } else {
        m_eof = !m_stream->fetch();
    }
}

std::shared_ptr<Recordset> Recordset::nextRecordset(long *recordsAffected)
{
    joinWorker();
    std::shared_ptr<ResultStream> stream;
    {
        std::lock_guard lock(m_cancelMutex);
        stream = m_stream;
    }
    if (!stream) {
        if (recordsAffected)
            *recordsAffected = -1;
        return nullptr;
    }
    bool more = false;
    try {
        // Running the next statement is an execution that cancel() may stop.
        m_state = m_state.load() | adStateExecuting;
        more = stream->nextResult();
        m_state = m_state.load() & ~adStateExecuting;
    } catch (const ComError &error) {
        m_state = m_state.load() & ~adStateExecuting;
        if (m_connection)
            m_connection->recordError(error.record());
        throw;
    }
    auto next = more ? create() : nullptr;
    if (next) {
        next->m_cursorType = m_cursorType;
        next->m_cursorLocation = m_cursorLocation;
        next->m_lockType = m_lockType;
        next->m_cacheSize = m_cacheSize;
        next->m_connection = m_connection;
        next->m_source = m_source;
        next->m_stream = stream;
        next->takeCurrentResult();
        if (recordsAffected)
            *recordsAffected = next->m_recordsAffected;
    } else if (recordsAffected) {
        *recordsAffected = -1;
    }
    {
        std::lock_guard lock(m_cancelMutex);
        m_stream.reset();
    }
    m_fields.clear();
    m_rows.clear();
    m_eof = true;
    m_state = adStateClosed;
    return next;
}

void Recordset::cancel()
{
    // Only a pending execution is stopped; rows already being read are not affected (the
    // reader stops on its own flag).
    std::lock_guard lock(m_cancelMutex);
    if (m_stream && (m_state.load() & adStateExecuting)) {
        m_cancelled = true;
        m_stream->cancel();
    }
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Recordset::value(int index, Variant &out)
{
    checkOpen();
    if (index < 0 || index >= m_fields.size())
        fail(AdErrItemNotFound);
    if (eof())
        fail(AdErrNoCurrentRecord);
    if (scrollable())
        out = m_rows[size_t(m_position)][size_t(index)];
    else
        m_stream->value(index, out);
}

qint64 Recordset::actualSize(int index)
{
    checkOpen();
    if (index < 0 || index >= m_fields.size())
        fail(AdErrItemNotFound);
    if (eof())
        fail(AdErrNoCurrentRecord);
    if (!scrollable())
        return m_stream->actualSize(index);
    const Variant &v = m_rows[size_t(m_position)][size_t(index)];
    if (v.vt() == (VT_ARRAY | VT_UI1))
        return v.bytes().size();
    switch (v.baseType()) {
    case VT_EMPTY:
    case VT_NULL:
        return 0;
    case VT_BSTR:
        return v.text().size();
    case VT_DECIMAL:
        return 19;
    default:
        return m_fields[index].definedSize;
    }
}

} // namespace Ado

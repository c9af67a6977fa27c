#include "db/CADODatabase.h"

#include "db/AdoErrorText.h"

CADODatabase::CADODatabase()
    : m_connection(Ado::Connection::create())
{}

CADODatabase::~CADODatabase()
{
    Close();
}

void CADODatabase::recordError(const Ado::ComError &error)
{
    RecordError(error.code(), error.source(), error.description());
}

void CADODatabase::RecordError(Ado::Status code, const QString &source, const QString &description)
{
    m_errorCode = code;
    m_errorDescription = description;
    m_errorText = AdoErrorText::format(AdoErrorText::DatabaseError, code, source, description);
}

bool CADODatabase::Open(const QString &connectionText, const QString &user, const QString &password)
{
    if (IsOpen()) {
        Close();
        m_connection = Ado::Connection::create();
    }
    if (!m_connection)
        m_connection = Ado::Connection::create();
    if (!connectionText.isEmpty())
        m_connectionText = connectionText;
    try {
        m_connection->setConnectionTimeout(m_connectTimeout);
        m_connection->open(m_connectionText, user, password, Ado::adOptionUnspecified);
        m_connection->setCommandTimeout(m_commandTimeout);
        m_inTransaction = false;
        return true;
    } catch (const Ado::ComError &error) {
        recordError(error);
        return false;
    }
}

bool CADODatabase::IsOpen() const
{
    return m_connection && m_connection->state() != Ado::adStateClosed;
}

void CADODatabase::Close()
{
    if (!IsOpen())
        return;
    try {
        if (m_inTransaction) {
            m_connection->commitTrans();
            m_inTransaction = false;
        }
    } catch (const Ado::ComError &error) {
        recordError(error);
    }
    try {
        m_connection->close();
    } catch (const Ado::ComError &error) {
        recordError(error);
    }
    m_inTransaction = false;
    m_connection.reset();
}

void CADODatabase::SetConnection(std::shared_ptr<Ado::Connection> connection)
{
    m_connection = std::move(connection);
    m_inTransaction = false;
}

void CADODatabase::SetCommandTimeout(int seconds)
{
    m_commandTimeout = seconds;
    if (IsOpen())
        m_connection->setCommandTimeout(seconds);
}

long CADODatabase::BeginTrans()
{
    if (m_inTransaction)
        return 1;
    if (!m_connection) {
        RecordError(Ado::E_Pointer, QStringLiteral("ADODB.Connection"),
                    Ado::statusMessage(Ado::E_Pointer));
        return 1;
    }
    try {
        const long level = m_connection->beginTrans();
        m_inTransaction = true;
        return level;
    } catch (const Ado::ComError &error) {
        recordError(error);
        return 1;
    }
}

long CADODatabase::CommitTrans()
{
    if (!m_connection) {
        RecordError(Ado::E_Pointer, QStringLiteral("ADODB.Connection"),
                    Ado::statusMessage(Ado::E_Pointer));
        return 1;
    }
    try {
        m_connection->commitTrans();
        m_inTransaction = false;
        return 0;
    } catch (const Ado::ComError &error) {
        recordError(error);
        return 1;
    }
}

long CADODatabase::RollbackTrans()
{
    if (!m_connection) {
        RecordError(Ado::E_Pointer, QStringLiteral("ADODB.Connection"),
                    Ado::statusMessage(Ado::E_Pointer));
        return 1;
    }
    try {
        m_connection->rollbackTrans();
        m_inTransaction = false;
        return 0;
    } catch (const Ado::ComError &error) {
        recordError(error);
        return 1;
    }
}

QString CADODatabase::ErrorsText() const
{
    if (!m_connection)
        return {};
    QString text;
    for (const Ado::ErrorRecord &error : m_connection->errors())
        text += QLatin1Char('\n') + error.description + QStringLiteral("\n\n");
    text.chop(2);
    return text;
}

void CADODatabase::ClearError()
{
    m_errorCode = 0;
    m_errorText.clear();
    m_errorDescription.clear();
}

#include "db/CADOCommand.h"

#include "db/AdoErrorText.h"
#include "db/CADODatabase.h"
#include "db/ado/AdoConnection.h"
#include "db/ado/AdoRecordset.h"

CADOCommand::CADOCommand(const CADODatabase *session, const QString &text, int commandType)
    : CADOCommand(session ? session->connection() : nullptr, text, commandType)
{}

CADOCommand::CADOCommand(std::shared_ptr<Ado::Connection> connection, const QString &text,
                         int commandType)
    : m_command(Ado::Command::create())
    , m_type(commandType)
    , m_text(text)
{
    m_command->clearParameters();
    m_command->setCommandText(text);
    m_command->setCommandType(commandType);
    m_command->setActiveConnection(connection);
}

bool CADOCommand::AddParameter(const QString &name, int type, int direction, qint64 size,
                               const Ado::Variant &value, int precision, int scale)
{
    Ado::Parameter parameter = Ado::Command::createParameter(name, type, direction, size, value);
    parameter.precision = precision;
    parameter.scale = scale;
    m_command->appendParameter(parameter);
    ++m_parameterCount;
    return true;
}

void CADOCommand::ClearParameters()
{
    m_command->clearParameters();
    m_parameterCount = 0;
}

void CADOCommand::SetText(const QString &text)
{
    m_text = text;
    m_command->setCommandText(text);
}

bool CADOCommand::Execute()
{
    try {
        long affected = 0;
        auto recordset = m_command->execute(&affected, m_type);
        // Every statement of the text runs; the count is the total of those that report one.
        long total = affected;
        while (recordset) {
            long next = -1;
            recordset = recordset->nextRecordset(&next);
            if (recordset && next >= 0)
                total = total < 0 ? next : total + next;
        }
        m_recordsAffected = total;
        m_errorCode = 0;
        m_errorText.clear();
        return true;
    } catch (const Ado::ComError &error) {
        m_errorCode = error.code();
        m_errorText = AdoErrorText::format(AdoErrorText::CommandError, error.code(), error.source(),
                                           error.description());
        return false;
    }
}

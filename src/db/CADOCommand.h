#pragma once

#include "db/ado/AdoCommand.h"

#include <QString>
#include <memory>

class CADODatabase;

// One command with parameters, used for statements that return no rows and for
// parameterised execution. No operation throws; failures store a command error text.
// Called from the UI thread only.
class CADOCommand
{
public:
    CADOCommand(const CADODatabase *session, const QString &text = {},
                int commandType = Ado::adCmdText);
    CADOCommand(std::shared_ptr<Ado::Connection> connection, const QString &text = {},
                int commandType = Ado::adCmdText);

    bool AddParameter(const QString &name, int type, int direction, qint64 size,
                      const Ado::Variant &value, int precision = 0, int scale = 0);
    void ClearParameters();
    int GetParameterCount() const { return m_parameterCount; }
    const QList<Ado::Parameter> &GetParameters() const { return m_command->parameters(); }

    void SetText(const QString &text);
    QString GetText() const { return m_text; }
    int GetType() const { return m_type; }

    // Executes with the command type as options; keeps the records-affected count.
    bool Execute();
    long GetRecordsAffected() const { return m_recordsAffected; }

    QString GetErrorText() const { return m_errorText; }
    Ado::Status GetErrorCode() const { return m_errorCode; }

    std::shared_ptr<Ado::Command> command() const { return m_command; }

private:
    std::shared_ptr<Ado::Command> m_command;
    int m_type = Ado::adCmdText;
    long m_recordsAffected = 0;
    QString m_text;
    QString m_errorText;
    Ado::Status m_errorCode = 0;
    int m_parameterCount = 0;
};

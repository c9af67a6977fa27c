#pragma once

#include "db/ado/AdoProvider.h"

#include <QList>
#include <QString>
#include <memory>

namespace Ado {

class Connection;
class Recordset;

// An ADO Command: text, type, active connection and parameters. Parameters are matched to
// ":name" and "@name" markers of the text by name (in order for "?"). Called from one thread.
class Command
{
public:
    static std::shared_ptr<Command> create();

    void setActiveConnection(const std::shared_ptr<Connection> &connection);
    std::shared_ptr<Connection> activeConnection() const { return m_connection; }
    void setCommandText(const QString &text) { m_text = text; }
    const QString &commandText() const { return m_text; }
    void setCommandType(int type) { m_type = type; }
    int commandType() const { return m_type; }

    static Parameter createParameter(const QString &name, int type, int direction, qint64 size,
                                     const Variant &value);
    void appendParameter(const Parameter &parameter) { m_parameters.append(parameter); }
    void clearParameters() { m_parameters.clear(); }
    QList<Parameter> &parameters() { return m_parameters; }
    const QList<Parameter> &parameters() const { return m_parameters; }

    // Runs the text; returns the record set of its first result (closed when that result
    // has no rows). With adAsyncExecute the execution runs on a provider thread. A target
    // record set, when given, is the one used (so its identity is known before completion).
    // Throws ComError.
    std::shared_ptr<Recordset> execute(long *recordsAffected, int options,
                                       std::shared_ptr<Recordset> target = {});

private:
    Command() = default;

    std::shared_ptr<Connection> m_connection;
    QString m_text;
    int m_type = adCmdText;
    QList<Parameter> m_parameters;
};

} // namespace Ado

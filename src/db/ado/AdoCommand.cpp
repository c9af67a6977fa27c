#include "db/ado/AdoCommand.h"

#include "db/ado/AdoConnection.h"
#include "db/ado/AdoRecordset.h"

namespace Ado {

std::shared_ptr<Command> Command::create()
{
    return std::shared_ptr<Command>(new Command());
}

void Command::setActiveConnection(const std::shared_ptr<Connection> &connection)
{
    m_connection = connection;
}

Parameter Command::createParameter(const QString &name, int type, int direction, qint64 size,
                                   const Variant &value)
{
    Parameter p;
    p.name = name;
    p.type = type;
    p.direction = direction;
    p.size = size;
    p.value = value;
    return p;
}

std::shared_ptr<Recordset> Command::execute(long *recordsAffected, int options,
                                            std::shared_ptr<Recordset> target)
{
    if (!m_connection || !m_connection->session())
        throw ComError(AdErrObjectClosed, QStringLiteral("ADODB.Command"),
                       statusMessage(AdErrObjectClosed));
    auto recordset = target ? std::move(target) : Recordset::create();
    if (recordset->state() != adStateClosed)
        recordset->close();
    recordset->setCursorLocation(m_connection->cursorLocation());
    recordset->execute(m_connection, m_text, m_parameters, options, this);
    if (recordsAffected)
        *recordsAffected = (options != adOptionUnspecified && (options & adAsyncExecute))
                               ? -1
                               : recordset->recordsAffected();
    return recordset;
}

} // namespace Ado

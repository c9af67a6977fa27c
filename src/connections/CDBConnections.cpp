#include "CDBConnections.h"

#include "db/CADODatabase.h"

CDBConnections::CDBConnections() = default;

CDBConnections::~CDBConnections()
{
    // Newest first, so sessions close in the reverse order of their opening.
    while (!m_records.isEmpty())
        m_records.removeLast();
}

CDBConnections &CDBConnections::instance()
{
    static CDBConnections registry;
    return registry;
}

qsizetype CDBConnections::indexOf(const CADODatabase *session) const
{
    if (!session)
        return -1;
    for (qsizetype i = 0; i < m_records.size(); ++i) {
        if (m_records.at(i)->session.get() == session)
            return i;
    }
    return -1;
}

ConnectionRecord *CDBConnections::Find(const CADODatabase *session) const
{
    const qsizetype i = indexOf(session);
    return i < 0 ? nullptr : m_records.at(i).get();
}

bool CDBConnections::IsOpen(const CADODatabase *session) const
{
    const ConnectionRecord *record = Find(session);
    return record && record->session && record->session->IsOpen();
}

int CDBConnections::QueryCounter(const CADODatabase *session) const
{
    const ConnectionRecord *record = Find(session);
    return record ? record->queryCounter : -1;
}

CADODatabase *CDBConnections::CreateForWindow(QObject *window)
{
    auto record = std::make_shared<ConnectionRecord>();
    record->session = std::make_unique<CADODatabase>();
    record->windows.append(window);
    m_records.append(record);
    return record->session.get();
}

void CDBConnections::AttachWindow(CADODatabase *session, QObject *window)
{
    if (!session)
        return;
    ConnectionRecord *record = Find(session);
    if (!record) {
        // A session made elsewhere joins the registry, which takes it over.
        auto created = std::make_shared<ConnectionRecord>();
        created->session.reset(session);
        created->windows.append(window);
        m_records.append(created);
        return;
    }
    if (!record->windows.contains(window)) {
        record->windows.append(window);
        ++record->queryCounter;
    }
}

QString CDBConnections::DisplayName(const QString &profileName)
{
    static const QString separators = QStringLiteral(" #%;/\\");
    for (qsizetype i = profileName.size() - 1; i >= 0; --i) {
        if (separators.contains(profileName.at(i)))
            return profileName.mid(i + 1);
    }
    return profileName;
}

void CDBConnections::RegisterOpened(CADODatabase *session)
{
    ConnectionRecord *record = Find(session);
    if (!record || record->registered)
        return;
    const QString name = DisplayName(session->GetName());
    record->registered = true;
    record->registeredName = name;
    for (NameCounter &counter : m_nameCounters) {
        if (counter.displayName == name) {
            ++counter.instanceCounter;
            ++counter.openCount;
            record->instanceNumber = counter.instanceCounter;
            return;
        }
    }
    m_nameCounters.append({name, 1, 1});
    record->instanceNumber = 1;
}

QString CDBConnections::Title(const CADODatabase *session, const QString &baseText) const
{
    const ConnectionRecord *record = Find(session);
    if (!record)
        return {};
    const QString name = DisplayName(record->session->GetName());
    const QString suffix = baseText.isEmpty() ? QString() : QStringLiteral(" - ") + baseText;
    if (record->instanceNumber < 2)
        return name + suffix;
    return QStringLiteral("%1[%2]%3").arg(name).arg(record->instanceNumber).arg(suffix);
}

void CDBConnections::SetBusy(CADODatabase *session, QObject *window, bool on)
{
    ConnectionRecord *record = Find(session);
    if (!record)
        return;
    if (on && !record->executingWindow) {
        record->session->SetBusy(true);
        record->executingWindow = window;
    } else if (!on && record->executingWindow == window) {
        record->session->SetBusy(false);
        record->executingWindow = nullptr;
    }
}

void CDBConnections::WindowClosed(CADODatabase *session, QObject *window)
{
    const qsizetype index = indexOf(session);
    if (index < 0)
        return;
    ConnectionRecord *record = m_records.at(index).get();
    record->windows.removeAll(window);
    // A window that goes while holding the slot must not leave the session blocked for
    // the windows that stay.
    if (record->executingWindow == window) {
        record->session->SetBusy(false);
        record->executingWindow = nullptr;
    }
    if (record->windows.isEmpty())
        closeConnection(index);
}

void CDBConnections::closeConnection(qsizetype index)
{
    const std::shared_ptr<ConnectionRecord> record = m_records.takeAt(index);
    const bool registered = record->registered;
    const QString name = record->registeredName;
    record->session.reset(); // closes the connection, committing a pending transaction
    if (!registered || name.isEmpty())
        return;
    for (qsizetype i = 0; i < m_nameCounters.size(); ++i) {
        if (m_nameCounters.at(i).displayName == name) {
            if (--m_nameCounters[i].openCount <= 0)
                m_nameCounters.removeAt(i);
            break;
        }
    }
}

int CDBConnections::OpenCount(const QString &displayName) const
{
    for (const NameCounter &counter : m_nameCounters) {
        if (counter.displayName == displayName)
            return counter.openCount;
    }
    return 0;
}

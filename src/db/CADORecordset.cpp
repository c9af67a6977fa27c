#include "db/CADORecordset.h"

#include "db/AdoErrorText.h"
#include "db/CADOCommand.h"
#include "db/CADODatabase.h"
#include "db/FieldText.h"
#include "db/ado/AdoConnection.h"

#include <mutex>

namespace {
std::mutex reporterMutex;
std::function<void(const QString &)> &reporter()
{
    static std::function<void(const QString &)> instance;
    return instance;
}
} // namespace

void CADORecordset::setErrorReporter(std::function<void(const QString &)> function)
{
    std::lock_guard lock(reporterMutex);
    reporter() = std::move(function);
}

CADORecordset::CADORecordset(const CADODatabase *session)
    : CADORecordset(session ? session->connection() : nullptr)
{}

CADORecordset::CADORecordset(std::shared_ptr<Ado::Connection> connection)
    : m_recordset(Ado::Recordset::create())
    , m_connection(std::move(connection))
{}

CADORecordset::~CADORecordset()
{
    if (m_recordset)
        m_recordset->cancel();
}

bool CADORecordset::queryError(const Ado::ComError &error)
{
    m_errorCode = error.code();
    m_errorText = AdoErrorText::format(AdoErrorText::QueryError, error.code(), error.source(),
                                       error.description(), m_source);
    std::function<void(const QString &)> report;
    {
        std::lock_guard lock(reporterMutex);
        report = reporter();
    }
    if (report)
        report(m_errorText);
    return false;
}

static Ado::ComError missingInstance()
{
    return Ado::ComError(Ado::E_Pointer, QStringLiteral("ADODB.Recordset"),
                         Ado::statusMessage(Ado::E_Pointer));
}

bool CADORecordset::Open(const QString &source, int cursorType, int cursorLocation, int lockType,
                         int options)
{
    if (!source.isEmpty()) {
        qsizetype start = 0;
        while (start < source.size() && source[start].isSpace())
            ++start;
        m_source = source.mid(start);
    }
    try {
        if (!m_recordset || !m_connection)
            throw missingInstance();
        if (m_recordset->state() != Ado::adStateClosed) {
            CancelUpdate();
            m_recordset->close();
        }
        m_recordset->setCursorType(cursorType);
        m_recordset->setCursorLocation(cursorLocation);
        m_recordset->setLockType(lockType);
        m_recordset->setCacheSize(Ado::DefaultCacheSize);
        m_errorCode = 0;
        m_errorText.clear();
        m_recordset->open(m_source, m_connection, cursorType, lockType, options);
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::ExecuteCommand(CADOCommand &command, int cursorLocation, int options)
{
    m_source = command.GetText();
    try {
        if (!m_recordset || !m_connection)
            throw missingInstance();
        if (m_recordset->state() != Ado::adStateClosed)
            m_recordset->close();
        m_connection->setCursorLocation(cursorLocation);
        auto adoCommand = command.command();
        adoCommand->setActiveConnection(m_connection);
        m_errorCode = 0;
        m_errorText.clear();
        m_recordset = adoCommand->execute(nullptr, options, m_recordset);
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::NextRecordset(long *recordsAffected)
{
    try {
        if (!m_recordset)
            throw missingInstance();
        auto next = m_recordset->nextRecordset(recordsAffected);
        if (!next)
            return false;
        m_recordset = std::move(next);
        return true;
    } catch (const Ado::ComError &error) {
        if (recordsAffected)
            *recordsAffected = -1;
        return queryError(error);
    }
}

void CADORecordset::Close()
{
    CancelUpdate();
    if (!m_recordset || m_recordset->state() == Ado::adStateClosed)
        return;
    try {
        m_recordset->close();
    } catch (const Ado::ComError &error) {
        queryError(error);
    }
}

bool CADORecordset::IsOpen() const
{
    return m_connection && m_connection->state() != Ado::adStateClosed && m_recordset
           && m_recordset->state() != Ado::adStateClosed;
}

bool CADORecordset::IsEOF() const
{
    return !m_recordset || m_recordset->eof();
}

bool CADORecordset::MoveFirst()
{
    try {
        if (!m_recordset)
            throw missingInstance();
        m_recordset->moveFirst();
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::MoveNext()
{
    try {
        if (!m_recordset)
            throw missingInstance();
        m_recordset->moveNext();
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::Cancel()
{
    if (!m_recordset)
        return false;
    m_recordset->cancel();
    return true;
}

long CADORecordset::RecordCount()
{
    try {
        if (!m_recordset)
            throw missingInstance();
        long count = m_recordset->recordCount();
        if (count != -1)
            return count;
        count = 0;
        m_recordset->keepRows();
        if (!m_recordset->eof())
            m_recordset->moveFirst();
        while (!m_recordset->eof()) {
            ++count;
            m_recordset->moveNext();
        }
        if (count != 0)
            m_recordset->moveFirst();
        return count;
    } catch (const Ado::ComError &error) {
        queryError(error);
        return -1;
    }
}

long CADORecordset::RecordsAffected() const
{
    return m_recordset ? m_recordset->recordsAffected() : -1;
}

int CADORecordset::GetFieldCount() const
{
    return m_recordset ? m_recordset->fieldCount() : 0;
}

CADORecordset::FieldInfo CADORecordset::GetFieldInfo(int index) const
{
    FieldInfo info;
    if (!m_recordset || index < 0 || index >= m_recordset->fieldCount())
        return info;
    const Ado::FieldInfo &field = m_recordset->field(index);
    info.name = field.name;
    info.type = field.type;
    info.definedSize = field.definedSize;
    info.attributes = field.attributes;
    if (!m_recordset->eof()) {
        try {
            info.actualSize = m_recordset->actualSize(index);
        } catch (const Ado::ComError &) {
        }
    }
    return info;
}

int CADORecordset::GetFieldIndex(const QString &name) const
{
    return m_recordset ? m_recordset->fieldIndex(name) : -1;
}

bool CADORecordset::renderField(int index, QString &buffer, bool append)
{
    try {
        if (!m_recordset)
            throw missingInstance();
        // Checked first so that a failure leaves the caller's text as it was.
        if (index < 0 || index >= m_recordset->fieldCount())
            throw Ado::ComError(Ado::AdErrItemNotFound, QStringLiteral("ADODB.Fields"),
                                Ado::statusMessage(Ado::AdErrItemNotFound));
        if (m_recordset->state() == Ado::adStateClosed || m_recordset->eof())
            throw Ado::ComError(Ado::AdErrNoCurrentRecord, QStringLiteral("ADODB.Field"),
                                Ado::statusMessage(Ado::AdErrNoCurrentRecord));
        if (!append)
            buffer.resize(0); // keeps the capacity of a reused text
        bool isNull = false;
        if (m_recordset->appendPlainText(index, buffer, isNull)) {
            if (isNull)
                buffer += m_markers.nullText;
            return true;
        }
        m_recordset->value(index, m_cell);
        FieldText::appendFieldText(m_recordset->field(index).type, m_cell, m_markers, buffer);
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::GetFieldText(int index, QString &text)
{
    return renderField(index, text, false);
}

bool CADORecordset::GetFieldText(const QString &name, QString &text)
{
    const int index = GetFieldIndex(name);
    if (index < 0)
        return queryError(Ado::ComError(Ado::AdErrItemNotFound, QStringLiteral("ADODB.Fields"),
                                        Ado::statusMessage(Ado::AdErrItemNotFound)));
    return GetFieldText(index, text);
}

bool CADORecordset::AppendFieldText(int index, QString &buffer)
{
    return renderField(index, buffer, true);
}

bool CADORecordset::GetValue(int index, Ado::Variant &value)
{
    try {
        if (!m_recordset)
            throw missingInstance();
        m_recordset->value(index, value);
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::GetValue(const QString &name, Ado::Variant &value)
{
    const int index = GetFieldIndex(name);
    if (index < 0)
        return queryError(Ado::ComError(Ado::AdErrItemNotFound, QStringLiteral("ADODB.Fields"),
                                        Ado::statusMessage(Ado::AdErrItemNotFound)));
    return GetValue(index, value);
}

bool CADORecordset::GetValueText(const QString &name, QString &text)
{
    Ado::Variant value;
    if (!GetValue(name, value))
        return false;
    return FieldText::readValue(value, m_markers.nullText, text);
}

bool CADORecordset::IsFieldNull(const QString &name)
{
    Ado::Variant value;
    if (!GetValue(name, value))
        return false;
    return value.isEmptyOrNull();
}

bool CADORecordset::openSchema(int schema, const QList<Ado::Variant> &restrictions)
{
    m_source.clear();
    try {
        if (!m_recordset || !m_connection)
            throw missingInstance();
        if (m_recordset->state() != Ado::adStateClosed)
            m_recordset->close();
        m_errorCode = 0;
        m_errorText.clear();
        m_recordset = m_connection->openSchema(schema, restrictions);
        return true;
    } catch (const Ado::ComError &error) {
        return queryError(error);
    }
}

bool CADORecordset::OpenSchema(int schema)
{
    return openSchema(schema, {});
}

bool CADORecordset::OpenSchema(int schema, const QString &fourthRestriction)
{
    return openSchema(schema, {Ado::Variant(), Ado::Variant(), Ado::Variant(),
                               Ado::Variant::fromText(fourthRestriction)});
}

bool CADORecordset::OpenSchema(int schema, const QStringList &restrictions)
{
    QList<Ado::Variant> values;
    for (const QString &text : restrictions)
        values.append(text.isEmpty() ? Ado::Variant() : Ado::Variant::fromText(text));
    return openSchema(schema, values);
}

void CADORecordset::SetMarkers()
{
    m_markers = {NullMarker, VariantMarker, BinaryMarker};
}

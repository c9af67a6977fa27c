#include "schema/SchemaRowset.h"

#include "db/AdoErrorText.h"
#include "db/FieldText.h"
#include "db/ado/AdoConnection.h"
#include "db/ado/AdoError.h"
#include "db/ado/AdoRecordset.h"

SchemaRowset::SchemaRowset() = default;
SchemaRowset::~SchemaRowset() = default;

void SchemaRowset::recordError(Ado::Status code, const QString &source,
                               const QString &description)
{
    m_failed = true;
    m_errorCode = code;
    m_errorText = AdoErrorText::format(AdoErrorText::QueryError, code, source, description);
}

bool SchemaRowset::open(const std::shared_ptr<Ado::Connection> &connection, int schema,
                        const QStringList &restrictions)
{
    m_recordset.reset();
    m_indexes.clear();
    m_failed = false;
    m_errorText.clear();
    m_errorCode = 0;
    if (!connection || connection->state() == Ado::adStateClosed) {
        recordError(Ado::AdErrObjectClosed, QStringLiteral("ADODB.Connection"),
                    Ado::statusMessage(Ado::AdErrObjectClosed));
        return false;
    }
    QList<Ado::Variant> values;
    values.reserve(restrictions.size());
    for (const QString &text : restrictions)
        values.append(text.isEmpty() ? Ado::Variant() : Ado::Variant::fromText(text));
    try {
        m_recordset = connection->openSchema(schema, values);
        return true;
    } catch (const Ado::ComError &error) {
        recordError(error.code(), error.source(), error.description());
        return false;
    } catch (const std::exception &error) {
        recordError(Ado::E_Fail, QStringLiteral("ADODB.Connection"),
                    QString::fromLocal8Bit(error.what()));
        return false;
    }
}

bool SchemaRowset::atEnd() const
{
    return m_failed || !m_recordset || m_recordset->eof();
}

bool SchemaRowset::next()
{
    if (m_failed || !m_recordset)
        return false;
    try {
        m_recordset->moveNext();
        return true;
    } catch (const Ado::ComError &error) {
        recordError(error.code(), error.source(), error.description());
        return false;
    }
}

int SchemaRowset::index(const QString &name) const
{
    if (!m_recordset)
        return -1;
    auto it = m_indexes.constFind(name);
    if (it != m_indexes.constEnd())
        return it.value();
    const int found = m_recordset->fieldIndex(name);
    m_indexes.insert(name, found);
    return found;
}

bool SchemaRowset::readAt(int column, Ado::Variant &out)
{
    if (m_failed || !m_recordset || column < 0 || column >= m_recordset->fieldCount())
        return false;
    try {
        m_recordset->value(column, out);
        return true;
    } catch (const Ado::ComError &error) {
        recordError(error.code(), error.source(), error.description());
        return false;
    }
}

bool SchemaRowset::value(const QString &name, Ado::Variant &out)
{
    return readAt(index(name), out);
}

bool SchemaRowset::isNull(const QString &name)
{
    return !value(name, m_cell) || m_cell.isEmptyOrNull();
}

QString SchemaRowset::textAt(int column)
{
    QString text;
    if (readAt(column, m_cell))
        FieldText::readValue(m_cell, QString(), text);
    return text;
}

QString SchemaRowset::text(const QString &name)
{
    return textAt(index(name));
}

qint64 SchemaRowset::integer(const QString &name, qint64 fallback)
{
    if (!value(name, m_cell) || m_cell.isEmptyOrNull())
        return fallback;
    return qint64(m_cell.toInt());
}

std::optional<double> SchemaRowset::number(const QString &name)
{
    if (!value(name, m_cell) || m_cell.isEmptyOrNull())
        return std::nullopt;
    return m_cell.toDouble();
}

bool SchemaRowset::boolean(const QString &name, bool fallback)
{
    if (!value(name, m_cell) || m_cell.isEmptyOrNull())
        return fallback;
    if (m_cell.baseType() == Ado::VT_BSTR) {
        const QString t = m_cell.text().trimmed();
        if (t.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("NO"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("F"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return m_cell.toBool();
}

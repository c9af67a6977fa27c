#pragma once

#include "db/ado/AdoTypes.h"
#include "db/ado/AdoVariant.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace Ado {
class Connection;
class Recordset;
} // namespace Ado

// One schema rowset read row by row by field name, for the catalogue. Errors never escape:
// open() and next() return false and errorText() holds the query error text; reads of a
// missing field give their fallback. Used on the thread that opened it (the UI thread).
class SchemaRowset
{
public:
    SchemaRowset();
    ~SchemaRowset();
    SchemaRowset(const SchemaRowset &) = delete;
    SchemaRowset &operator=(const SchemaRowset &) = delete;

    // restrictions: catalogue, schema, object name, ...; an empty text means any value.
    bool open(const std::shared_ptr<Ado::Connection> &connection, int schema,
              const QStringList &restrictions = {});
    // True at the end of the rows, and after a failure.
    bool atEnd() const;
    bool next();

    bool failed() const { return m_failed; }
    QString errorText() const { return m_errorText; }
    Ado::Status errorCode() const { return m_errorCode; }

    bool has(const QString &name) const { return index(name) >= 0; }
    // A missing field counts as NULL.
    bool isNull(const QString &name);
    // The value reader's text; empty for NULL, a missing field or a kind without text.
    QString text(const QString &name);
    QString textAt(int column);
    qint64 integer(const QString &name, qint64 fallback);
    // Present and not NULL, as a number.
    std::optional<double> number(const QString &name);
    bool boolean(const QString &name, bool fallback);
    // The raw value; false when the field is missing or unreadable.
    bool value(const QString &name, Ado::Variant &out);

private:
    int index(const QString &name) const;
    bool readAt(int column, Ado::Variant &out);
    void recordError(Ado::Status code, const QString &source, const QString &description);

    std::shared_ptr<Ado::Recordset> m_recordset;
    mutable QHash<QString, int> m_indexes;
    Ado::Variant m_cell;
    bool m_failed = false;
    QString m_errorText;
    Ado::Status m_errorCode = 0;
};

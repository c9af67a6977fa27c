#pragma once

#include "db/ado/AdoProvider.h"

#include <vector>

namespace Ado {

// A result held in memory: fields and rows built by a provider (schema rowsets). Read by
// one thread at a time.
class MemoryResult : public ResultStream
{
public:
    MemoryResult() = default;
    explicit MemoryResult(QList<FieldInfo> fields)
        : m_fields(std::move(fields))
    {}

    // Adds a field of the given ADO type (texts are adVarWChar, sized 128).
    void addField(const QString &name, int type, qint64 definedSize = 0, int attributes = 0);
    // Starts a new row of NULLs and returns it for filling by field index.
    std::vector<Variant> &addRow();
    int fieldIndex(const QString &name) const;
    // Sets a value of a row by field name; a name the rowset does not have is ignored.
    void set(std::vector<Variant> &row, const char *name, const Variant &value) const;
    // The empty rowset of a schema number with the OLE DB columns, or null when the schema
    // number is not one the providers offer.
    static std::unique_ptr<MemoryResult> forSchema(int schema);
    qsizetype rowCount() const { return qsizetype(m_rows.size()); }

    void start() override {}
    const QList<FieldInfo> &fields() const override { return m_fields; }
    bool fetch() override;
    void value(int column, Variant &out) override;
    qint64 actualSize(int column) override;
    long recordsAffected() const override { return -1; }
    bool nextResult() override { return false; }
    void cancel() override {}

private:
    QList<FieldInfo> m_fields;
    std::vector<std::vector<Variant>> m_rows;
    qsizetype m_next = 0;
    qsizetype m_current = -1;
};

} // namespace Ado

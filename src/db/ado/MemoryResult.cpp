#include "db/ado/MemoryResult.h"

namespace Ado {

void MemoryResult::addField(const QString &name, int type, qint64 definedSize, int attributes)
{
    FieldInfo field;
    field.name = name;
    field.type = type;
    field.definedSize = definedSize ? definedSize : (type == adVarWChar ? 128 : 8);
    field.attributes = attributes | adFldIsNullable | adFldMayBeNull;
    m_fields.append(field);
}

std::vector<Variant> &MemoryResult::addRow()
{
    m_rows.emplace_back(size_t(m_fields.size()), Variant::null());
    return m_rows.back();
}

int MemoryResult::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool MemoryResult::fetch()
{
    if (m_next >= qsizetype(m_rows.size())) {
        m_current = -1;
        return false;
    }
    m_current = m_next++;
    return true;
}

void MemoryResult::value(int column, Variant &out)
{
    out = m_rows[size_t(m_current)][size_t(column)];
}

qint64 MemoryResult::actualSize(int column)
{
    const Variant &v = m_rows[size_t(m_current)][size_t(column)];
    if (v.vt() == VT_BSTR)
        return v.text().size();
    return v.isEmptyOrNull() ? 0 : m_fields[column].definedSize;
}

} // namespace Ado

namespace Ado {

void MemoryResult::set(std::vector<Variant> &row, const char *name, const Variant &value) const
{
    const int index = fieldIndex(QLatin1String(name));
    if (index >= 0)
        row[size_t(index)] = value;
}

std::unique_ptr<MemoryResult> MemoryResult::forSchema(int schema)
{
    enum { T = adVarWChar, I = adInteger, B = adBoolean, D = adDate, G = adGUID, L = adBigInt };
    struct Column
    {
        const char *name;
        int type;
    };
    auto make = [](std::initializer_list<Column> columns) {
        auto result = std::make_unique<MemoryResult>();
        for (const Column &c : columns)
            result->addField(QLatin1String(c.name), c.type);
        return result;
    };
    switch (schema) {
    case adSchemaCatalogs:
        return make({{"CATALOG_NAME", T}, {"DESCRIPTION", T}});
    case adSchemaSchemata:
        return make({{"CATALOG_NAME", T},
                     {"SCHEMA_NAME", T},
                     {"SCHEMA_OWNER", T},
                     {"DEFAULT_CHARACTER_SET_CATALOG", T},
                     {"DEFAULT_CHARACTER_SET_SCHEMA", T},
                     {"DEFAULT_CHARACTER_SET_NAME", T}});
    case adSchemaTables:
        return make({{"TABLE_CATALOG", T},
                     {"TABLE_SCHEMA", T},
                     {"TABLE_NAME", T},
                     {"TABLE_TYPE", T},
                     {"TABLE_GUID", G},
                     {"DESCRIPTION", T},
                     {"TABLE_PROPID", I},
                     {"DATE_CREATED", D},
                     {"DATE_MODIFIED", D}});
    case adSchemaViews:
        return make({{"TABLE_CATALOG", T},
                     {"TABLE_SCHEMA", T},
                     {"TABLE_NAME", T},
                     {"VIEW_DEFINITION", T},
                     {"CHECK_OPTION", B},
                     {"IS_UPDATABLE", B},
                     {"DESCRIPTION", T},
                     {"DATE_CREATED", D},
                     {"DATE_MODIFIED", D}});
    case adSchemaColumns:
        return make({{"TABLE_CATALOG", T},
                     {"TABLE_SCHEMA", T},
                     {"TABLE_NAME", T},
                     {"COLUMN_NAME", T},
                     {"COLUMN_GUID", G},
                     {"COLUMN_PROPID", I},
                     {"ORDINAL_POSITION", I},
                     {"COLUMN_HASDEFAULT", B},
                     {"COLUMN_DEFAULT", T},
                     {"COLUMN_FLAGS", I},
                     {"IS_NULLABLE", B},
                     {"DATA_TYPE", I},
                     {"TYPE_GUID", G},
                     {"CHARACTER_MAXIMUM_LENGTH", I},
                     {"CHARACTER_OCTET_LENGTH", I},
                     {"NUMERIC_PRECISION", I},
                     {"NUMERIC_SCALE", I},
                     {"DATETIME_PRECISION", I},
                     {"CHARACTER_SET_CATALOG", T},
                     {"CHARACTER_SET_SCHEMA", T},
                     {"CHARACTER_SET_NAME", T},
                     {"COLLATION_CATALOG", T},
                     {"COLLATION_SCHEMA", T},
                     {"COLLATION_NAME", T},
                     {"DOMAIN_CATALOG", T},
                     {"DOMAIN_SCHEMA", T},
                     {"DOMAIN_NAME", T},
                     {"DESCRIPTION", T}});
    case adSchemaPrimaryKeys:
        return make({{"TABLE_CATALOG", T},
                     {"TABLE_SCHEMA", T},
                     {"TABLE_NAME", T},
                     {"COLUMN_NAME", T},
                     {"COLUMN_GUID", G},
                     {"COLUMN_PROPID", I},
                     {"ORDINAL", I},
                     {"PK_NAME", T}});
    case adSchemaIndexes:
        return make({{"TABLE_CATALOG", T},
                     {"TABLE_SCHEMA", T},
                     {"TABLE_NAME", T},
                     {"INDEX_CATALOG", T},
                     {"INDEX_SCHEMA", T},
                     {"INDEX_NAME", T},
                     {"PRIMARY_KEY", B},
                     {"UNIQUE", B},
                     {"CLUSTERED", B},
                     {"TYPE", I},
                     {"FILL_FACTOR", I},
                     {"INITIAL_SIZE", I},
                     {"NULLS", I},
                     {"SORT_BOOKMARKS", B},
                     {"AUTO_UPDATE", B},
                     {"NULL_COLLATION", I},
                     {"ORDINAL_POSITION", I},
                     {"COLUMN_NAME", T},
                     {"COLUMN_GUID", G},
                     {"COLUMN_PROPID", I},
                     {"COLLATION", I},
                     {"CARDINALITY", L},
                     {"PAGES", I},
                     {"FILTER_CONDITION", T},
                     {"INTEGRATED", B}});
    case adSchemaForeignKeys:
        return make({{"PK_TABLE_CATALOG", T},
                     {"PK_TABLE_SCHEMA", T},
                     {"PK_TABLE_NAME", T},
                     {"PK_COLUMN_NAME", T},
                     {"PK_COLUMN_GUID", G},
                     {"PK_COLUMN_PROPID", I},
                     {"FK_TABLE_CATALOG", T},
                     {"FK_TABLE_SCHEMA", T},
                     {"FK_TABLE_NAME", T},
                     {"FK_COLUMN_NAME", T},
                     {"FK_COLUMN_GUID", G},
                     {"FK_COLUMN_PROPID", I},
                     {"ORDINAL", I},
                     {"UPDATE_RULE", T},
                     {"DELETE_RULE", T},
                     {"PK_NAME", T},
                     {"FK_NAME", T},
                     {"DEFERRABILITY", I}});
    case adSchemaStatistics:
        return make(
            {{"TABLE_CATALOG", T}, {"TABLE_SCHEMA", T}, {"TABLE_NAME", T}, {"CARDINALITY", L}});
    case adSchemaProcedures:
        return make({{"PROCEDURE_CATALOG", T},
                     {"PROCEDURE_SCHEMA", T},
                     {"PROCEDURE_NAME", T},
                     {"PROCEDURE_TYPE", I},
                     {"PROCEDURE_DEFINITION", T},
                     {"DESCRIPTION", T},
                     {"DATE_CREATED", D},
                     {"DATE_MODIFIED", D}});
    case adSchemaProcedureParameters:
        return make({{"PROCEDURE_CATALOG", T},
                     {"PROCEDURE_SCHEMA", T},
                     {"PROCEDURE_NAME", T},
                     {"PARAMETER_NAME", T},
                     {"ORDINAL_POSITION", I},
                     {"PARAMETER_TYPE", I},
                     {"PARAMETER_HASDEFAULT", B},
                     {"PARAMETER_DEFAULT", T},
                     {"IS_NULLABLE", B},
                     {"DATA_TYPE", I},
                     {"CHARACTER_MAXIMUM_LENGTH", I},
                     {"CHARACTER_OCTET_LENGTH", I},
                     {"NUMERIC_PRECISION", I},
                     {"NUMERIC_SCALE", I},
                     {"DESCRIPTION", T},
                     {"TYPE_NAME", T},
                     {"LOCAL_TYPE_NAME", T}});
    case adSchemaProviderTypes:
        return make({{"TYPE_NAME", T},        {"DATA_TYPE", I},
                     {"COLUMN_SIZE", L},      {"LITERAL_PREFIX", T},
                     {"LITERAL_SUFFIX", T},   {"CREATE_PARAMS", T},
                     {"IS_NULLABLE", B},      {"CASE_SENSITIVE", B},
                     {"SEARCHABLE", I},       {"UNSIGNED_ATTRIBUTE", B},
                     {"FIXED_PREC_SCALE", B}, {"AUTO_UNIQUE_VALUE", B},
                     {"LOCAL_TYPE_NAME", T},  {"MINIMUM_SCALE", I},
                     {"MAXIMUM_SCALE", I},    {"GUID", G},
                     {"TYPELIB", T},          {"VERSION", T},
                     {"IS_LONG", B},          {"BEST_MATCH", B},
                     {"IS_FIXEDLENGTH", B}});
    case adSchemaDBInfoKeywords:
        return make({{"KEYWORD", T}});
    default:
        return nullptr;
    }
}

} // namespace Ado

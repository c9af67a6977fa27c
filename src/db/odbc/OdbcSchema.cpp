#include "db/odbc/OdbcSchema.h"

#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcResult.h"

#include <functional>
#include <sqlext.h>

namespace Ado {

namespace {

using Row = QList<Variant>;
using Rows = QList<Row>;

// A statement handle freed on scope exit.
class Statement
{
public:
    explicit Statement(OdbcHandle *handle)
        : m_handle(handle)
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, handle->dbc(), &m_stmt)))
            throw OdbcHandle::diagnostics(SQL_HANDLE_DBC, handle->dbc(), handle->source());
    }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_stmt); }
    SQLHSTMT get() const { return m_stmt; }

    void check(SQLRETURN rc) const
    {
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
            throw OdbcHandle::diagnostics(SQL_HANDLE_STMT, m_stmt, m_handle->source());
    }

    // Every row of the current result, integers as VT_I8, everything else as text; names
    // receives the column names and integer which columns are integers.
    Rows readAll(QStringList *names = nullptr, QList<bool> *integers = nullptr) const
    {
        SQLSMALLINT count = 0;
        check(SQLNumResultCols(m_stmt, &count));
        QList<bool> integer;
        for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
            SQLSMALLINT type = 0;
            SQLULEN size = 0;
            SQLSMALLINT digits = 0, nullable = 0;
            SQLWCHAR name[256];
            SQLSMALLINT length = 0;
            SQLDescribeColW(m_stmt, i, name, 256, &length, &type, &size, &digits, &nullable);
            integer.append(type == SQL_SMALLINT || type == SQL_INTEGER || type == SQL_TINYINT
                           || type == SQL_BIGINT);
            if (names)
                names->append(OdbcHandle::fromWide(name, std::min<SQLSMALLINT>(length, 255)));
        }
        if (integers)
            *integers = integer;
        Rows rows;
        for (;;) {
            const SQLRETURN rc = SQLFetch(m_stmt);
            if (rc == SQL_NO_DATA)
                break;
            check(rc);
            Row row;
            for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
                SQLLEN ind = 0;
                if (integer[i - 1]) {
                    qint64 value = 0;
                    SQLGetData(m_stmt, i, SQL_C_SBIGINT, &value, 0, &ind);
                    row.append(ind == SQL_NULL_DATA ? Variant::null()
                                                    : Variant::fromInt(value, VT_I8));
                    continue;
                }
                QString text;
                bool isNull = false;
                for (;;) {
                    SQLWCHAR buffer[2048];
                    const SQLRETURN r
                        = SQLGetData(m_stmt, i, SQL_C_WCHAR, buffer, sizeof buffer, &ind);
                    if (r == SQL_NO_DATA || !SQL_SUCCEEDED(r))
                        break;
                    if (ind == SQL_NULL_DATA) {
                        isNull = true;
                        break;
                    }
                    const qsizetype room = qsizetype(std::size(buffer)) - 1;
                    const qsizetype got = (ind == SQL_NO_TOTAL || ind / 2 > room) ? room : ind / 2;
                    text += OdbcHandle::fromWide(buffer, got);
                    if (r == SQL_SUCCESS)
                        break;
                }
                row.append(isNull ? Variant::null() : Variant::fromText(text));
            }
            rows.append(row);
        }
        return rows;
    }

private:
    OdbcHandle *m_handle;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
};

struct Restrictions
{
    QList<Variant> values;
    QString at(int i) const
    {
        if (i >= values.size() || values[i].isEmptyOrNull())
            return QString();
        return values[i].text();
    }
    // Catalog functions take search patterns; results are narrowed to exact names here.
    bool matches(int i, const QString &value) const
    {
        const QString wanted = at(i);
        return wanted.isEmpty() || wanted == value;
    }
};

// A restriction as a catalog-function argument: null (any) when empty.
class Arg
{
public:
    explicit Arg(const QString &text)
        : m_null(text.isEmpty())
        , m_text(OdbcHandle::toWide(text))
    {}
    SQLWCHAR *ptr() { return m_null ? nullptr : reinterpret_cast<SQLWCHAR *>(m_text.data()); }
    SQLSMALLINT length() const { return m_null ? 0 : SQLSMALLINT(SQL_NTS); }

private:
    bool m_null;
    std::u16string m_text;
};

Variant i4(qint64 value)
{
    return Variant::fromInt(value, VT_I4);
}

Variant boolFrom(const Variant &v)
{
    return v.isEmptyOrNull() ? Variant::null() : Variant::fromBool(v.toInt() != 0);
}

bool isLongSqlType(int sqlType)
{
    return sqlType == SQL_LONGVARCHAR || sqlType == SQL_WLONGVARCHAR
           || sqlType == SQL_LONGVARBINARY;
}

bool isFixedAdoType(int type)
{
    return !(type == adVarWChar || type == adLongVarWChar || type == adVarChar
             || type == adLongVarChar || type == adVarBinary || type == adLongVarBinary);
}

bool isCharacterAdoType(int type)
{
    return type == adChar || type == adWChar || type == adVarChar || type == adVarWChar
           || type == adLongVarChar || type == adLongVarWChar || type == adBinary
           || type == adVarBinary || type == adLongVarBinary;
}

// The information_schema view whose columns are the OLE DB rowset's (OLE DB took its
// schema rowsets from these views), or nullptr.
const char *informationSchemaView(int schema)
{
    switch (schema) {
    case adSchemaCharacterSets:
        return "character_sets";
    case adSchemaCollations:
        return "collations";
    case adSchemaCheckConstraints:
        return "check_constraints";
    case adSchemaConstraintColumnUsage:
        return "constraint_column_usage";
    case adSchemaConstraintTableUsage:
        return "constraint_table_usage";
    case adSchemaKeyColumnUsage:
        return "key_column_usage";
    case adSchemaReferentialConstraints:
        return "referential_constraints";
    case adSchemaTableConstraints:
        return "table_constraints";
    case adSchemaColumnsDomainUsage:
        return "column_domain_usage";
    case adSchemaColumnPrivileges:
        return "column_privileges";
    case adSchemaTablePrivileges:
        return "table_privileges";
    case adSchemaUsagePrivileges:
        return "usage_privileges";
    case adSchemaViewColumnUsage:
        return "view_column_usage";
    case adSchemaViewTableUsage:
        return "view_table_usage";
    default:
        return nullptr;
    }
}

Rows tables(OdbcHandle *h, const QString &catalog, const QString &schema, const QString &name,
            const QString &type)
{
    Statement s(h);
    Arg c(catalog), sc(schema), n(name), t(type);
    s.check(SQLTablesW(s.get(), c.ptr(), c.length(), sc.ptr(), sc.length(), n.ptr(), n.length(),
                       t.ptr(), t.length()));
    return s.readAll();
}

} // namespace

std::unique_ptr<ResultStream> OdbcSchema::open(const std::shared_ptr<OdbcHandle> &handle,
                                               int schema, const QList<Variant> &values)
{
    OdbcHandle *h = handle.get();
    const Restrictions r{values};
    if (const char *view = informationSchemaView(schema); view && h->hasInformationSchema()) {
        // Read as the server has it; restriction i narrows the i-th column (the OLE DB
        // restriction columns lead each of these rowsets, in order).
        Statement s(h);
        const std::u16string query = OdbcHandle::toWide(
            QStringLiteral("SELECT * FROM information_schema.%1").arg(QLatin1String(view)));
        s.check(SQLExecDirectW(
            s.get(), reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(query.c_str())), SQL_NTS));
        QStringList names;
        QList<bool> integers;
        const Rows rows = s.readAll(&names, &integers);
        auto rowset = std::make_unique<MemoryResult>();
        for (qsizetype i = 0; i < names.size(); ++i)
            rowset->addField(names[i].toUpper(), integers[i] ? adInteger : adVarWChar);
        for (const Row &row : rows) {
            bool keep = true;
            for (int i = 0; i < values.size() && i < row.size() && keep; ++i)
                keep = r.matches(i, row[i].isEmptyOrNull() ? QString() : row[i].text());
            if (!keep)
                continue;
            auto &o = rowset->addRow();
            for (qsizetype i = 0; i < row.size(); ++i)
                o[size_t(i)] = row[i];
        }
        return rowset;
    }
    std::unique_ptr<MemoryResult> result = MemoryResult::forSchema(schema);
    if (!result)
        throw ComError(DB_E_NotSupported, handle->source(),
                       QStringLiteral("スキーマ %1 はサポートされていません。").arg(schema));
    MemoryResult &out = *result;
    // Table-scoped functions need a table: without one they run per table.
    auto forEachTable = [&](const QString &catalog, const QString &schemaName, const QString &table,
                            const std::function<void(const Row &)> &fn) {
        if (!table.isEmpty()) {
            fn(Row{Variant::fromText(catalog), Variant::fromText(schemaName),
                   Variant::fromText(table)});
            return;
        }
        for (const Row &t : tables(h, catalog, schemaName, QString(), QStringLiteral("TABLE")))
            fn(t);
    };
    auto text = [](const Variant &v) { return v.isEmptyOrNull() ? QString() : v.text(); };

    switch (schema) {
    case adSchemaCatalogs:
        for (const Row &row :
             tables(h, QStringLiteral(SQL_ALL_CATALOGS), QString(), QString(), QString())) {
            auto &o = out.addRow();
            out.set(o, "CATALOG_NAME", row.value(0));
        }
        if (out.rowCount() == 0) {
            SQLWCHAR buffer[256] = {};
            SQLSMALLINT length = 0;
            if (SQL_SUCCEEDED(
                    SQLGetInfoW(h->dbc(), SQL_DATABASE_NAME, buffer, sizeof buffer, &length))
                && length > 0)
                out.set(out.addRow(), "CATALOG_NAME",
                        Variant::fromText(OdbcHandle::fromWide(buffer, length / 2)));
        }
        break;
    case adSchemaSchemata: {
        Statement s(h);
        Arg all(QStringLiteral(SQL_ALL_SCHEMAS));
        std::u16string blank;
        s.check(SQLTablesW(s.get(), reinterpret_cast<SQLWCHAR *>(blank.data()), 0, all.ptr(),
                           SQL_NTS, reinterpret_cast<SQLWCHAR *>(blank.data()), 0,
                           reinterpret_cast<SQLWCHAR *>(blank.data()), 0));
        for (const Row &row : s.readAll()) {
            if (text(row.value(1)).isEmpty())
                continue;
            auto &o = out.addRow();
            out.set(o, "CATALOG_NAME", row.value(0));
            out.set(o, "SCHEMA_NAME", row.value(1));
        }
        break;
    }
    case adSchemaTables:
    case adSchemaViews:
        for (const Row &row : tables(h, r.at(0), r.at(1), r.at(2),
                                     schema == adSchemaViews ? QStringLiteral("VIEW") : r.at(3))) {
            if (!r.matches(2, text(row.value(2))))
                continue;
            auto &o = out.addRow();
            out.set(o, "TABLE_CATALOG", row.value(0));
            out.set(o, "TABLE_SCHEMA", row.value(1));
            out.set(o, "TABLE_NAME", row.value(2));
            out.set(o, "TABLE_TYPE", row.value(3));
            out.set(o, "DESCRIPTION", row.value(4));
        }
        break;
    case adSchemaColumns: {
        Statement s(h);
        Arg c(r.at(0)), sc(r.at(1)), t(r.at(2)), col(r.at(3));
        s.check(SQLColumnsW(s.get(), c.ptr(), c.length(), sc.ptr(), sc.length(), t.ptr(),
                            t.length(), col.ptr(), col.length()));
        for (const Row &row : s.readAll()) {
            if (!r.matches(2, text(row.value(2))) || !r.matches(3, text(row.value(3))))
                continue;
            const int sqlType = int(row.value(4).toInt());
            const int type = OdbcResult::adoType(sqlType, false);
            const bool nullable = row.value(10).toInt() != SQL_NO_NULLS;
            int flags = 0x8;
            if (nullable)
                flags |= 0x20 | 0x40;
            if (isFixedAdoType(type))
                flags |= 0x10;
            if (isLongSqlType(sqlType))
                flags |= 0x80;
            auto &o = out.addRow();
            out.set(o, "TABLE_CATALOG", row.value(0));
            out.set(o, "TABLE_SCHEMA", row.value(1));
            out.set(o, "TABLE_NAME", row.value(2));
            out.set(o, "COLUMN_NAME", row.value(3));
            out.set(o, "ORDINAL_POSITION", i4(row.value(16).toInt()));
            out.set(o, "COLUMN_HASDEFAULT", Variant::fromBool(!row.value(12).isEmptyOrNull()));
            out.set(o, "COLUMN_DEFAULT", row.value(12));
            out.set(o, "COLUMN_FLAGS", i4(flags));
            out.set(o, "IS_NULLABLE", Variant::fromBool(nullable));
            out.set(o, "DATA_TYPE", i4(type));
            if (isCharacterAdoType(type) && !row.value(6).isEmptyOrNull()) {
                out.set(o, "CHARACTER_MAXIMUM_LENGTH", i4(row.value(6).toInt()));
                if (!row.value(15).isEmptyOrNull())
                    out.set(o, "CHARACTER_OCTET_LENGTH", i4(row.value(15).toInt()));
            } else if (!isCharacterAdoType(type) && !row.value(6).isEmptyOrNull()) {
                out.set(o, "NUMERIC_PRECISION", i4(row.value(6).toInt()));
                if (!row.value(8).isEmptyOrNull())
                    out.set(o, "NUMERIC_SCALE", i4(row.value(8).toInt()));
            }
            out.set(o, "DESCRIPTION", row.value(11));
        }
        break;
    }
    case adSchemaPrimaryKeys:
        forEachTable(r.at(0), r.at(1), r.at(2), [&](const Row &t) {
            Statement s(h);
            Arg c(text(t.value(0))), sc(text(t.value(1))), n(text(t.value(2)));
            s.check(SQLPrimaryKeysW(s.get(), c.ptr(), c.length(), sc.ptr(), sc.length(), n.ptr(),
                                    n.length()));
            for (const Row &row : s.readAll()) {
                auto &o = out.addRow();
                out.set(o, "TABLE_CATALOG", row.value(0));
                out.set(o, "TABLE_SCHEMA", row.value(1));
                out.set(o, "TABLE_NAME", row.value(2));
                out.set(o, "COLUMN_NAME", row.value(3));
                out.set(o, "ORDINAL", i4(row.value(4).toInt()));
                out.set(o, "PK_NAME", row.value(5));
            }
        });
        break;
    case adSchemaStatistics:
    case adSchemaIndexes: {
        const QString table = schema == adSchemaIndexes ? r.at(4) : r.at(2);
        forEachTable(r.at(0), r.at(1), table, [&](const Row &t) {
            Statement s(h);
            Arg c(text(t.value(0))), sc(text(t.value(1))), n(text(t.value(2)));
            s.check(SQLStatisticsW(s.get(), c.ptr(), c.length(), sc.ptr(), sc.length(), n.ptr(),
                                   n.length(), SQL_INDEX_ALL, SQL_QUICK));
            for (const Row &row : s.readAll()) {
                const bool tableStat = row.value(6).toInt() == SQL_TABLE_STAT;
                if (schema == adSchemaStatistics) {
                    if (!tableStat)
                        continue;
                } else if (tableStat || !r.matches(2, text(row.value(5)))) {
                    continue;
                }
                auto &o = out.addRow();
                out.set(o, "TABLE_CATALOG", row.value(0));
                out.set(o, "TABLE_SCHEMA", row.value(1));
                out.set(o, "TABLE_NAME", row.value(2));
                if (!row.value(10).isEmptyOrNull())
                    out.set(o, "CARDINALITY", Variant::fromInt(row.value(10).toInt(), VT_I8));
                if (schema == adSchemaIndexes) {
                    out.set(o, "INDEX_SCHEMA", row.value(4));
                    out.set(o, "INDEX_NAME", row.value(5));
                    out.set(o, "UNIQUE", Variant::fromBool(row.value(3).toInt() == 0));
                    out.set(o, "PRIMARY_KEY",
                            Variant::fromBool(
                                text(row.value(5)).endsWith(QLatin1String("_pkey"))
                                || text(row.value(5))
                                           .compare(QLatin1String("PRIMARY"), Qt::CaseInsensitive)
                                       == 0));
                    out.set(o, "CLUSTERED",
                            Variant::fromBool(row.value(6).toInt() == SQL_INDEX_CLUSTERED));
                    out.set(o, "TYPE", i4(1));
                    out.set(o, "ORDINAL_POSITION", i4(row.value(7).toInt()));
                    out.set(o, "COLUMN_NAME", row.value(8));
                    out.set(o, "COLLATION", i4(text(row.value(9)) == QLatin1String("D") ? 2 : 1));
                    out.set(o, "PAGES",
                            row.value(11).isEmptyOrNull() ? Variant::null()
                                                          : i4(row.value(11).toInt()));
                    out.set(o, "FILTER_CONDITION", row.value(12));
                }
            }
        });
        break;
    }
    case adSchemaForeignKeys: {
        auto run = [&](const QString &pkTable, const Row &fk) {
            Statement s(h);
            Arg pc(r.at(0)), ps(r.at(1)), pt(pkTable);
            Arg fc(text(fk.value(0))), fs(text(fk.value(1))), ft(text(fk.value(2)));
            s.check(SQLForeignKeysW(s.get(), pc.ptr(), pc.length(), ps.ptr(), ps.length(), pt.ptr(),
                                    pt.length(), fc.ptr(), fc.length(), fs.ptr(), fs.length(),
                                    ft.ptr(), ft.length()));
            static const char *const rules[]
                = {"CASCADE", "RESTRICT", "SET NULL", "NO ACTION", "SET DEFAULT"};
            for (const Row &row : s.readAll()) {
                auto &o = out.addRow();
                out.set(o, "PK_TABLE_CATALOG", row.value(0));
                out.set(o, "PK_TABLE_SCHEMA", row.value(1));
                out.set(o, "PK_TABLE_NAME", row.value(2));
                out.set(o, "PK_COLUMN_NAME", row.value(3));
                out.set(o, "FK_TABLE_CATALOG", row.value(4));
                out.set(o, "FK_TABLE_SCHEMA", row.value(5));
                out.set(o, "FK_TABLE_NAME", row.value(6));
                out.set(o, "FK_COLUMN_NAME", row.value(7));
                out.set(o, "ORDINAL", i4(row.value(8).toInt()));
                const qint64 update = row.value(9).toInt(), del = row.value(10).toInt();
                if (update >= 0 && update < 5)
                    out.set(o, "UPDATE_RULE", Variant::fromText(QLatin1String(rules[update])));
                if (del >= 0 && del < 5)
                    out.set(o, "DELETE_RULE", Variant::fromText(QLatin1String(rules[del])));
                out.set(o, "FK_NAME", row.value(11));
                out.set(o, "PK_NAME", row.value(12));
                out.set(o, "DEFERRABILITY",
                        row.value(13).isEmptyOrNull() ? Variant::null()
                                                      : i4(row.value(13).toInt()));
            }
        };
        if (!r.at(2).isEmpty() || !r.at(5).isEmpty())
            run(r.at(2), Row{Variant::fromText(r.at(3)), Variant::fromText(r.at(4)),
                             Variant::fromText(r.at(5))});
        else
            forEachTable(r.at(3), r.at(4), QString(), [&](const Row &t) { run(QString(), t); });
        break;
    }
    case adSchemaProcedures: {
        Statement s(h);
        Arg c(r.at(0)), sc(r.at(1)), n(r.at(2));
        s.check(SQLProceduresW(s.get(), c.ptr(), c.length(), sc.ptr(), sc.length(), n.ptr(),
                               n.length()));
        for (const Row &row : s.readAll()) {
            if (!r.matches(2, text(row.value(2))))
                continue;
            auto &o = out.addRow();
            out.set(o, "PROCEDURE_CATALOG", row.value(0));
            out.set(o, "PROCEDURE_SCHEMA", row.value(1));
            out.set(o, "PROCEDURE_NAME", row.value(2));
            out.set(o, "DESCRIPTION", row.value(6));
            out.set(o, "PROCEDURE_TYPE",
                    row.value(7).isEmptyOrNull() ? Variant::null() : i4(row.value(7).toInt()));
        }
        break;
    }
    case adSchemaProcedureParameters: {
        Statement s(h);
        Arg c(r.at(0)), sc(r.at(1)), n(r.at(2)), col(r.at(3));
        s.check(SQLProcedureColumnsW(s.get(), c.ptr(), c.length(), sc.ptr(), sc.length(), n.ptr(),
                                     n.length(), col.ptr(), col.length()));
        for (const Row &row : s.readAll()) {
            if (!r.matches(2, text(row.value(2))))
                continue;
            // ODBC column types to OLE DB parameter types (input 1, in/out 2, out 3, return 4).
            const qint64 odbcType = row.value(4).toInt();
            const int parameterType = odbcType == SQL_PARAM_INPUT          ? 1
                                      : odbcType == SQL_PARAM_INPUT_OUTPUT ? 2
                                      : odbcType == SQL_PARAM_OUTPUT       ? 3
                                      : odbcType == SQL_RETURN_VALUE       ? 4
                                                                           : 0;
            if (parameterType == 0)
                continue; // result-set columns are not parameters
            const int type = OdbcResult::adoType(int(row.value(5).toInt()), false);
            auto &o = out.addRow();
            out.set(o, "PROCEDURE_CATALOG", row.value(0));
            out.set(o, "PROCEDURE_SCHEMA", row.value(1));
            out.set(o, "PROCEDURE_NAME", row.value(2));
            out.set(o, "PARAMETER_NAME", row.value(3));
            out.set(o, "ORDINAL_POSITION", i4(row.value(17).toInt()));
            out.set(o, "PARAMETER_TYPE", i4(parameterType));
            out.set(o, "PARAMETER_HASDEFAULT", Variant::fromBool(!row.value(13).isEmptyOrNull()));
            out.set(o, "PARAMETER_DEFAULT", row.value(13));
            out.set(o, "IS_NULLABLE", Variant::fromBool(row.value(11).toInt() != SQL_NO_NULLS));
            out.set(o, "DATA_TYPE", i4(type));
            if (!row.value(7).isEmptyOrNull()) {
                if (isCharacterAdoType(type))
                    out.set(o, "CHARACTER_MAXIMUM_LENGTH", i4(row.value(7).toInt()));
                else
                    out.set(o, "NUMERIC_PRECISION", i4(row.value(7).toInt()));
            }
            if (!row.value(9).isEmptyOrNull())
                out.set(o, "NUMERIC_SCALE", i4(row.value(9).toInt()));
            out.set(o, "DESCRIPTION", row.value(12));
            out.set(o, "TYPE_NAME", row.value(6));
            out.set(o, "LOCAL_TYPE_NAME", row.value(6));
        }
        break;
    }
    case adSchemaProviderTypes: {
        Statement s(h);
        s.check(SQLGetTypeInfoW(s.get(), SQL_ALL_TYPES));
        for (const Row &row : s.readAll()) {
            const int sqlType = int(row.value(1).toInt());
            const int type = OdbcResult::adoType(sqlType, row.value(9).toInt() != 0);
            auto &o = out.addRow();
            out.set(o, "TYPE_NAME", row.value(0));
            out.set(o, "DATA_TYPE", i4(type));
            out.set(o, "COLUMN_SIZE",
                    row.value(2).isEmptyOrNull() ? Variant::null()
                                                 : Variant::fromInt(row.value(2).toInt(), VT_I8));
            out.set(o, "LITERAL_PREFIX", row.value(3));
            out.set(o, "LITERAL_SUFFIX", row.value(4));
            out.set(o, "CREATE_PARAMS", row.value(5));
            out.set(o, "IS_NULLABLE", Variant::fromBool(row.value(6).toInt() != SQL_NO_NULLS));
            out.set(o, "CASE_SENSITIVE", boolFrom(row.value(7)));
            out.set(o, "SEARCHABLE", i4(row.value(8).toInt()));
            out.set(o, "UNSIGNED_ATTRIBUTE", boolFrom(row.value(9)));
            out.set(o, "FIXED_PREC_SCALE", boolFrom(row.value(10)));
            out.set(o, "AUTO_UNIQUE_VALUE", boolFrom(row.value(11)));
            out.set(o, "LOCAL_TYPE_NAME", row.value(12));
            out.set(o, "MINIMUM_SCALE",
                    row.value(13).isEmptyOrNull() ? Variant::null() : i4(row.value(13).toInt()));
            out.set(o, "MAXIMUM_SCALE",
                    row.value(14).isEmptyOrNull() ? Variant::null() : i4(row.value(14).toInt()));
            out.set(o, "IS_LONG", Variant::fromBool(isLongSqlType(sqlType)));
            out.set(o, "BEST_MATCH", Variant::fromBool(true));
            out.set(o, "IS_FIXEDLENGTH", Variant::fromBool(isFixedAdoType(type)));
        }
        break;
    }
    case adSchemaDBInfoKeywords: {
        SQLWCHAR buffer[8192] = {};
        SQLSMALLINT length = 0;
        if (SQL_SUCCEEDED(SQLGetInfoW(h->dbc(), SQL_KEYWORDS, buffer, sizeof buffer, &length))) {
            const QString list
                = OdbcHandle::fromWide(buffer, std::min<qsizetype>(length / 2, 8191));
            for (const QString &word : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                auto &o = out.addRow();
                out.set(o, "KEYWORD", Variant::fromText(word.trimmed()));
            }
        }
        if (out.rowCount() == 0) {
            // psqlODBC reports no keyword list; the server has its own.
            SQLWCHAR dbms[64] = {};
            SQLSMALLINT length = 0;
            SQLGetInfoW(h->dbc(), SQL_DBMS_NAME, dbms, sizeof dbms, &length);
            if (OdbcHandle::fromWide(dbms, std::min<qsizetype>(length / 2, 63))
                == QLatin1String("PostgreSQL")) {
                Statement st(h);
                const std::u16string query = OdbcHandle::toWide(
                    QStringLiteral("SELECT upper(word) FROM pg_get_keywords() ORDER BY 1"));
                if (SQL_SUCCEEDED(SQLExecDirectW(
                        st.get(),
                        reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(query.c_str())),
                        SQL_NTS))) {
                    for (const Row &row : st.readAll())
                        out.set(out.addRow(), "KEYWORD", row.value(0));
                }
            }
        }
        break;
    }
    default:
        throw ComError(DB_E_NotSupported, h->source(),
                       QStringLiteral("スキーマ %1 はサポートされていません。").arg(schema));
    }
    return result;
}

} // namespace Ado

#include "db/sqlite/SqliteSchema.h"

#include "db/sqlite/SqliteHandle.h"
#include "db/sqlite/SqliteResult.h"

#include <algorithm>
#include <sqlite3.h>

namespace Ado {

namespace {

using Rows = QList<QList<Variant>>;

// Runs a query with text parameters and returns every row's values.
Rows query(sqlite3 *db, const QString &sql, const QStringList &arguments = {})
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
        throw ComError(E_Fail, SqliteHandle::Source, QString::fromUtf8(sqlite3_errmsg(db)));
    for (int i = 0; i < arguments.size(); ++i) {
        const QByteArray value = arguments[i].toUtf8();
        sqlite3_bind_text(stmt, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    Rows rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QList<Variant> row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_NULL:
                row.append(Variant::null());
                break;
            case SQLITE_INTEGER:
                row.append(Variant::fromInt(sqlite3_column_int64(stmt, c), VT_I8));
                break;
            default:
                row.append(Variant::fromText(QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)))));
                break;
            }
        }
        rows.append(row);
    }
    const QString error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw ComError(E_Fail, SqliteHandle::Source, error);
    return rows;
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1String("\""), QLatin1String("\"\""))
           + QLatin1Char('"');
}

struct Restrictions
{
    QList<Variant> values;
    // The text of restriction i, or a null text when it is empty (any value).
    QString at(int i) const
    {
        if (i >= values.size() || values[i].isEmptyOrNull())
            return QString();
        return values[i].text();
    }
    bool matches(int i, const QString &value) const
    {
        const QString wanted = at(i);
        return wanted.isNull() || wanted.compare(value, Qt::CaseInsensitive) == 0;
    }
    // SQLite has no schemas: a schema restriction other than "main" matches nothing.
    bool schemaMatches(int i) const
    {
        return at(i).isEmpty() || matches(i, QStringLiteral("main"));
    }
};

struct Object
{
    QString name;
    QString type; // "TABLE", "VIEW", "SYSTEM TABLE"
    QString sql;
};

QList<Object> objects(sqlite3 *db)
{
    QList<Object> list;
    const Rows rows = query(
        db, QStringLiteral(
                "SELECT type, name, sql FROM main.sqlite_schema WHERE type IN ('table','view') "
                "ORDER BY name"));
    for (const QList<Variant> &row : rows) {
        Object o;
        o.name = row[1].text();
        o.sql = row[2].text();
        if (row[0].text() == QLatin1String("view"))
            o.type = QStringLiteral("VIEW");
        else if (o.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            o.type = QStringLiteral("SYSTEM TABLE");
        else
            o.type = QStringLiteral("TABLE");
        list.append(o);
    }
    list.append({QStringLiteral("sqlite_schema"), QStringLiteral("SYSTEM TABLE"), QString()});
    return list;
}

bool isFixed(int type)
{
    return !(type == adVarWChar || type == adLongVarWChar || type == adVarChar
             || type == adLongVarChar || type == adVarBinary || type == adLongVarBinary);
}

Variant textOrNull(const QString &text)
{
    return text.isNull() ? Variant::null() : Variant::fromText(text);
}

Variant i4(qint64 value)
{
    return Variant::fromInt(value, VT_I4);
}

struct TypeRow
{
    const char *name;
    int type;
    qint64 size;
    const char *createParams;
    bool isLong;
    const char *prefix;
    const char *suffix;
};

const TypeRow ProviderTypes[] = {
    {"INTEGER", adInteger, 10, nullptr, false, nullptr, nullptr},
    {"BIGINT", adBigInt, 19, nullptr, false, nullptr, nullptr},
    {"SMALLINT", adSmallInt, 5, nullptr, false, nullptr, nullptr},
    {"TINYINT", adTinyInt, 3, nullptr, false, nullptr, nullptr},
    {"REAL", adDouble, 15, nullptr, false, nullptr, nullptr},
    {"NUMERIC", adNumeric, 38, "precision,scale", false, nullptr, nullptr},
    {"BOOLEAN", adBoolean, 1, nullptr, false, nullptr, nullptr},
    {"DATE", adDBDate, 10, nullptr, false, "'", "'"},
    {"TIME", adDBTime, 12, nullptr, false, "'", "'"},
    {"DATETIME", adDBTimeStamp, 23, nullptr, false, "'", "'"},
    {"CHAR", adWChar, 1073741823, "max length", false, "'", "'"},
    {"TEXT", adVarWChar, 1073741823, nullptr, false, "'", "'"},
    {"BLOB", adLongVarBinary, 2147483647, nullptr, true, "X'", "'"},
};

} // namespace

std::unique_ptr<ResultStream> SqliteSchema::open(const std::shared_ptr<SqliteHandle> &handle,
                                                 int schema, const QList<Variant> &values)
{
    std::unique_ptr<MemoryResult> result = MemoryResult::forSchema(schema);
    const bool supported
        = result && schema != adSchemaProviderSpecific; // everything forSchema describes
    if (!supported)
        throw ComError(DB_E_NotSupported, SqliteHandle::Source,
                       QStringLiteral("スキーマ %1 はサポートされていません。").arg(schema));
    const auto guard = handle->lock();
    sqlite3 *db = handle->db();
    const Restrictions r{values};
    MemoryResult &out = *result;

    switch (schema) {
    case adSchemaCatalogs:
        for (const QList<Variant> &row : query(db, QStringLiteral("PRAGMA database_list"))) {
            auto &o = out.addRow();
            out.set(o, "CATALOG_NAME", row[1]);
            out.set(o, "DESCRIPTION", row[2]);
        }
        break;
    case adSchemaSchemata:
    case adSchemaProcedures:
    case adSchemaProcedureParameters:
        break; // none in SQLite
    case adSchemaTables:
    case adSchemaViews:
    case adSchemaStatistics:
        if (!r.schemaMatches(1))
            break;
        for (const Object &object : objects(db)) {
            if (!r.matches(2, object.name))
                continue;
            if (schema == adSchemaTables && !r.matches(3, object.type))
                continue;
            if (schema == adSchemaViews && object.type != QLatin1String("VIEW"))
                continue;
            if (schema == adSchemaStatistics && object.type != QLatin1String("TABLE"))
                continue;
            auto &o = out.addRow();
            out.set(o, "TABLE_NAME", Variant::fromText(object.name));
            if (schema == adSchemaTables) {
                out.set(o, "TABLE_TYPE", Variant::fromText(object.type));
            } else if (schema == adSchemaViews) {
                out.set(o, "VIEW_DEFINITION", Variant::fromText(object.sql));
                out.set(o, "CHECK_OPTION", Variant::fromBool(false));
                out.set(o, "IS_UPDATABLE", Variant::fromBool(false));
            } else {
                const Rows count
                    = query(db, QStringLiteral("SELECT count(*) FROM main.") + quoted(object.name));
                out.set(o, "CARDINALITY", Variant::fromInt(count.value(0).value(0).toInt(), VT_I8));
            }
        }
        break;
    case adSchemaColumns:
    case adSchemaPrimaryKeys:
        if (!r.schemaMatches(1))
            break;
        for (const Object &object : objects(db)) {
            if (!r.matches(2, object.name))
                continue;
            const Rows columns = query(db, QStringLiteral("PRAGMA main.table_info(")
                                               + quoted(object.name) + QLatin1Char(')'));
            if (schema == adSchemaPrimaryKeys) {
                QList<QPair<qint64, QString>> keys;
                for (const QList<Variant> &c : columns)
                    if (c[5].toInt() > 0)
                        keys.append({c[5].toInt(), c[1].text()});
                std::sort(keys.begin(), keys.end());
                for (const auto &[ordinal, name] : keys) {
                    auto &o = out.addRow();
                    out.set(o, "TABLE_NAME", Variant::fromText(object.name));
                    out.set(o, "COLUMN_NAME", Variant::fromText(name));
                    out.set(o, "ORDINAL", i4(ordinal));
                }
                continue;
            }
            for (const QList<Variant> &c : columns) {
                if (!r.matches(3, c[1].text()))
                    continue;
                FieldInfo type = SqliteResult::typeForDeclared(c[2].text());
                if (c[2].text().trimmed().isEmpty())
                    type = SqliteResult::typeForDeclared(QStringLiteral("TEXT"));
                const bool nullable = c[3].toInt() == 0 && c[5].toInt() == 0;
                int flags = 0x8; // DBCOLUMNFLAGS_WRITEUNKNOWN
                if (nullable)
                    flags |= 0x20 | 0x40;
                if (isFixed(type.type))
                    flags |= 0x10;
                if (type.attributes & adFldLong)
                    flags |= 0x80;
                auto &o = out.addRow();
                out.set(o, "TABLE_NAME", Variant::fromText(object.name));
                out.set(o, "COLUMN_NAME", c[1]);
                out.set(o, "ORDINAL_POSITION", i4(c[0].toInt() + 1));
                out.set(o, "COLUMN_HASDEFAULT", Variant::fromBool(!c[4].isEmptyOrNull()));
                out.set(o, "COLUMN_DEFAULT", c[4]);
                out.set(o, "COLUMN_FLAGS", i4(flags));
                out.set(o, "IS_NULLABLE", Variant::fromBool(nullable));
                out.set(o, "DATA_TYPE", i4(type.type));
                if ((type.type == adWChar || type.type == adVarWChar) && type.definedSize > 0) {
                    out.set(o, "CHARACTER_MAXIMUM_LENGTH", i4(type.definedSize));
                    out.set(o, "CHARACTER_OCTET_LENGTH", i4(type.definedSize * 2));
                }
                if (type.type == adNumeric || type.precision > 0)
                    out.set(o, "NUMERIC_PRECISION", i4(type.precision));
                if (type.type == adNumeric)
                    out.set(o, "NUMERIC_SCALE", i4(type.scale));
            }
        }
        break;
    case adSchemaIndexes:
        if (!r.schemaMatches(1))
            break;
        for (const Object &object : objects(db)) {
            if (object.type == QLatin1String("VIEW") || !r.matches(4, object.name))
                continue;
            const Rows indexes = query(db, QStringLiteral("PRAGMA main.index_list(")
                                               + quoted(object.name) + QLatin1Char(')'));
            for (const QList<Variant> &index : indexes) {
                const QString name = index[1].text();
                if (!r.matches(2, name))
                    continue;
                const Rows columns = query(db, QStringLiteral("PRAGMA main.index_info(")
                                                   + quoted(name) + QLatin1Char(')'));
                for (const QList<Variant> &c : columns) {
                    auto &o = out.addRow();
                    out.set(o, "TABLE_NAME", Variant::fromText(object.name));
                    out.set(o, "INDEX_NAME", Variant::fromText(name));
                    out.set(o, "PRIMARY_KEY",
                            Variant::fromBool(index[3].text() == QLatin1String("pk")));
                    out.set(o, "UNIQUE", Variant::fromBool(index[2].toInt() != 0));
                    out.set(o, "CLUSTERED", Variant::fromBool(false));
                    out.set(o, "TYPE", i4(1)); // B-tree
                    out.set(o, "ORDINAL_POSITION", i4(c[0].toInt() + 1));
                    out.set(o, "COLUMN_NAME", c[2]);
                }
            }
        }
        break;
    case adSchemaForeignKeys:
        for (const Object &object : objects(db)) {
            if (object.type == QLatin1String("VIEW") || !r.matches(5, object.name))
                continue;
            const Rows keys = query(db, QStringLiteral("PRAGMA main.foreign_key_list(")
                                            + quoted(object.name) + QLatin1Char(')'));
            for (const QList<Variant> &k : keys) {
                if (!r.matches(2, k[2].text()))
                    continue;
                auto &o = out.addRow();
                out.set(o, "PK_TABLE_NAME", k[2]);
                out.set(o, "PK_COLUMN_NAME", k[4]);
                out.set(o, "FK_TABLE_NAME", Variant::fromText(object.name));
                out.set(o, "FK_COLUMN_NAME", k[3]);
                out.set(o, "ORDINAL", i4(k[1].toInt() + 1));
                out.set(o, "UPDATE_RULE", k[5]);
                out.set(o, "DELETE_RULE", k[6]);
            }
        }
        break;
    case adSchemaProviderTypes:
        for (const TypeRow &t : ProviderTypes) {
            auto &o = out.addRow();
            out.set(o, "TYPE_NAME", Variant::fromText(QLatin1String(t.name)));
            out.set(o, "DATA_TYPE", i4(t.type));
            out.set(o, "COLUMN_SIZE", Variant::fromInt(t.size, VT_I8));
            out.set(o, "LITERAL_PREFIX",
                    textOrNull(t.prefix ? QString::fromLatin1(t.prefix) : QString()));
            out.set(o, "LITERAL_SUFFIX",
                    textOrNull(t.suffix ? QString::fromLatin1(t.suffix) : QString()));
            out.set(o, "CREATE_PARAMS",
                    textOrNull(t.createParams ? QString::fromLatin1(t.createParams) : QString()));
            out.set(o, "IS_NULLABLE", Variant::fromBool(true));
            out.set(o, "CASE_SENSITIVE",
                    Variant::fromBool(t.type == adVarWChar || t.type == adWChar));
            out.set(o, "SEARCHABLE", i4(4));
            out.set(o, "LOCAL_TYPE_NAME", Variant::fromText(QLatin1String(t.name)));
            out.set(o, "IS_LONG", Variant::fromBool(t.isLong));
            out.set(o, "BEST_MATCH", Variant::fromBool(true));
            out.set(o, "IS_FIXEDLENGTH", Variant::fromBool(isFixed(t.type)));
        }
        break;
    case adSchemaDBInfoKeywords:
        for (int i = 0; i < sqlite3_keyword_count(); ++i) {
            const char *name = nullptr;
            int length = 0;
            if (sqlite3_keyword_name(i, &name, &length) == SQLITE_OK) {
                auto &o = out.addRow();
                out.set(o, "KEYWORD", Variant::fromText(QString::fromLatin1(name, length)));
            }
        }
        break;
    default:
        throw ComError(DB_E_NotSupported, SqliteHandle::Source,
                       QStringLiteral("スキーマ %1 はサポートされていません。").arg(schema));
    }
    return result;
}

} // namespace Ado

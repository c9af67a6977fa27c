#include "schema/CDBInfo.h"

#include "db/CADODatabase.h"
#include "db/ado/AdoConnection.h"
#include "db/ado/AdoError.h"
#include "schema/SchemaRowset.h"

#include <algorithm>

namespace {

const QString TableType = QStringLiteral("TABLE");
const QString ViewType = QStringLiteral("VIEW");
const QString ProcType = QStringLiteral("PROC");

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name a procedure is looked for by: "p1(1, 2)" is looked for as "p1".
QString procedureSearchName(const QString &name)
{
    const qsizetype paren = name.indexOf(QLatin1Char('('));
    if (paren <= 0)
        return name;
    QString head = name.left(paren);
    while (!head.isEmpty() && head.back().isSpace())
        head.chop(1);
    return head;
}

// A stored name matches with or without its ";n" group suffix.
bool procedureMatches(const QString &stored, const QString &searched)
{
    if (sameText(stored, searched))
        return true;
    const qsizetype semicolon = stored.indexOf(QLatin1Char(';'));
    return semicolon >= 0 && sameText(stored.left(semicolon), searched);
}

template <typename List> qsizetype indexByName(const List &list, const QString &name)
{
    for (qsizetype i = 0; i < list.size(); ++i)
        if (sameText(list[i].name, name))
            return i;
    return -1;
}

qsizetype procedureIndex(const QList<ProcInfo> &list, const QString &name)
{
    const QString searched = procedureSearchName(name);
    for (qsizetype i = 0; i < list.size(); ++i)
        if (procedureMatches(list[i].name, searched))
            return i;
    return -1;
}

bool sameIdentity(const ConnectionFields &a, const ConnectionFields &b)
{
    return a.provider == b.provider && a.dataSource == b.dataSource
           && a.initialCatalog == b.initialCatalog && a.userId == b.userId;
}

// The OLE DB column flag rowsets report IS_NULLABLE as a boolean (read as "T"/"F"); ODBC
// drivers as "YES"/"NO"; some as 0/1. Only an explicit no makes a column not nullable.
bool nullableText(const QString &text)
{
    const QString t = text.trimmed();
    return !(t == QLatin1String("0") || sameText(t, QStringLiteral("F"))
             || sameText(t, QStringLiteral("NO")) || sameText(t, QStringLiteral("FALSE")));
}

qint64 truncatedOrNone(const std::optional<double> &value)
{
    return value ? qint64(*value) : -1;
}

QString propertyText(const std::shared_ptr<Ado::Connection> &connection, const QString &name)
{
    try {
        const Ado::Variant value = connection->property(name);
        if (value.baseType() == Ado::VT_BSTR)
            return value.text();
        return QString();
    } catch (const Ado::ComError &) {
        return QString();
    }
}

qint64 propertyInt(const std::shared_ptr<Ado::Connection> &connection, const QString &name)
{
    try {
        return qint64(connection->property(name).toInt());
    } catch (const Ado::ComError &) {
        return 0;
    }
}

} // namespace

CDBInfo::CDBInfo() = default;
CDBInfo::~CDBInfo() = default;

CDBInfo &CDBInfo::instance()
{
    static CDBInfo catalogue;
    return catalogue;
}

void CDBInfo::SetSessionCheck(SessionCheck check)
{
    m_sessionCheck = std::move(check);
}

ConnectionFields CDBInfo::ParseConnection(const QString &connectionText)
{
    ConnectionFields fields;
    const QStringList pieces = connectionText.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = piece.left(eq).trimmed();
        const QString value = piece.mid(eq + 1).trimmed();
        if (key.compare(QLatin1String("ConnName"), Qt::CaseInsensitive) == 0)
            fields.connName = value;
        else if (key == QLatin1String("Provider"))
            fields.provider = value;
        else if (key == QLatin1String("Data Source"))
            fields.dataSource = value;
        else if (key == QLatin1String("Initial Catalog"))
            fields.initialCatalog = value;
        else if (key == QLatin1String("User ID"))
            fields.userId = value;
    }
    return fields;
}

bool CDBInfo::SameDatabase(const CADODatabase *a, const CADODatabase *b)
{
    if (!a || !b)
        return true;
    return sameIdentity(ParseConnection(a->GetConnectionText()),
                        ParseConnection(b->GetConnectionText()));
}

void CDBInfo::fail(const QString &errorText)
{
    if (m_lastError.isEmpty())
        m_lastError = errorText;
}

bool CDBInfo::usable(const CADODatabase *session) const
{
    if (!session)
        return false;
    if (m_sessionCheck)
        return m_sessionCheck(session);
    return session->IsOpen();
}

std::shared_ptr<DBInfoEntry> CDBInfo::existingEntry(const CADODatabase *session) const
{
    if (!session)
        return nullptr;
    const ConnectionFields identity = ParseConnection(session->GetConnectionText());
    for (const std::shared_ptr<DBInfoEntry> &entry : m_entries)
        if (sameIdentity(entry->connection, identity))
            return entry;
    return nullptr;
}

std::shared_ptr<DBInfoEntry> CDBInfo::entryFor(const CADODatabase *session)
{
    if (!usable(session))
        return nullptr;
    if (std::shared_ptr<DBInfoEntry> entry = existingEntry(session))
        return entry;
    return loadEntry(session);
}

std::shared_ptr<DBInfoEntry> CDBInfo::loadEntry(const CADODatabase *session)
{
    const std::shared_ptr<Ado::Connection> connection = session->connection();
    auto entry = std::make_shared<DBInfoEntry>();

    const QString dbmsName = propertyText(connection, QStringLiteral("DBMS Name"));
    const QString providerName = propertyText(connection, QStringLiteral("Provider Name"));
    entry->isJet = sameText(dbmsName, QStringLiteral("MS JET"));
    entry->asyncCapable =
        !(entry->isJet || sameText(providerName, QStringLiteral("MSDAIPP.DLL"))
          || sameText(providerName,
                      QStringLiteral("MICROSOFT OLE DB PROVIDER FOR INTERNET PUBLISHING")));
    entry->multipleResults = propertyInt(connection, QStringLiteral("Multiple Results")) != 0;

    // A provider without schemas (or whose schemata rowset fails) gets one unnamed schema;
    // its reads then pass an empty schema restriction.
    SchemaRowset rowset;
    if (rowset.open(connection, Ado::adSchemaSchemata)) {
        for (; !rowset.atEnd(); rowset.next())
            entry->schemas.append(SchemaInfo(rowset.text(QStringLiteral("SCHEMA_NAME"))));
    }
    if (rowset.failed())
        fail(rowset.errorText());
    if (entry->schemas.isEmpty())
        entry->schemas.append(SchemaInfo(QString()));

    entry->connection = ParseConnection(session->GetConnectionText());
    m_entries.append(entry);

    if (rowset.open(connection, Ado::adSchemaProviderTypes)) {
        QList<ProviderTypeInfo> types;
        for (; !rowset.atEnd(); rowset.next()) {
            ProviderTypeInfo type;
            type.typeName = rowset.text(QStringLiteral("TYPE_NAME"));
            type.dataType = int(rowset.integer(QStringLiteral("DATA_TYPE"), 0));
            type.columnSize = rowset.integer(QStringLiteral("COLUMN_SIZE"), 0);
            type.hasCreateParams = !(rowset.has(QStringLiteral("CREATE_PARAMS"))
                                     && rowset.isNull(QStringLiteral("CREATE_PARAMS")));
            type.isLong = rowset.boolean(QStringLiteral("IS_LONG"), true);
            type.bestMatch = rowset.boolean(QStringLiteral("BEST_MATCH"), true);
            type.isFixedLength = rowset.boolean(QStringLiteral("IS_FIXEDLENGTH"), true);
            // Drivers list one type under several SQL types that map to the same data type
            // (psqlODBC: numeric, date, timestamptz); a repeat would only turn a column's type
            // name into "(numeric | numeric)".
            const bool repeated = std::any_of(types.cbegin(), types.cend(),
                                              [&type](const ProviderTypeInfo &earlier) {
                                                  return earlier.dataType == type.dataType
                                                         && earlier.typeName == type.typeName;
                                              });
            if (!repeated)
                types.append(type);
        }
        if (!rowset.failed())
            entry->providerTypes = types;
    }
    if (rowset.failed())
        fail(rowset.errorText());

    if (rowset.open(connection, Ado::adSchemaDBInfoKeywords)) {
        QString keywords;
        for (; !rowset.atEnd(); rowset.next())
            keywords += rowset.textAt(0) + QLatin1Char(' ');
        if (!rowset.failed())
            entry->keywords = keywords;
    }
    if (rowset.failed())
        fail(rowset.errorText());
    return entry;
}

std::shared_ptr<const DBInfoEntry> CDBInfo::GetEntry(const CADODatabase *session)
{
    m_lastError.clear();
    return entryFor(session);
}

std::shared_ptr<const DBInfoEntry> CDBInfo::FindEntry(const CADODatabase *session) const
{
    return existingEntry(session);
}

bool CDBInfo::IsAsyncCapable(const CADODatabase *session)
{
    const auto entry = GetEntry(session);
    return entry && entry->asyncCapable;
}

bool CDBInfo::HasMultipleResults(const CADODatabase *session)
{
    const auto entry = GetEntry(session);
    return entry && entry->multipleResults;
}

bool CDBInfo::IsJet(const CADODatabase *session)
{
    const auto entry = GetEntry(session);
    return entry && entry->isJet;
}

QList<ProviderTypeInfo> CDBInfo::GetProviderTypes(const CADODatabase *session)
{
    const auto entry = GetEntry(session);
    return entry ? entry->providerTypes : QList<ProviderTypeInfo>();
}

bool CDBInfo::Refresh(const CADODatabase *session)
{
    m_lastError.clear();
    if (!usable(session))
        return false;
    const ConnectionFields identity = ParseConnection(session->GetConnectionText());
    m_entries.removeIf([&identity](const std::shared_ptr<DBInfoEntry> &entry) {
        return sameIdentity(entry->connection, identity);
    });
    loadEntry(session);
    return m_lastError.isEmpty();
}

SchemaInfo *CDBInfo::schemaOf(DBInfoEntry &entry, const QString &name, bool byDisplayName)
{
    for (SchemaInfo &schema : entry.schemas)
        if (sameText(byDisplayName ? schema.displayName : schema.name, name))
            return &schema;
    return nullptr;
}

std::optional<SchemaInfo> CDBInfo::FindSchema(const CADODatabase *session, const QString &name,
                                              bool byDisplayName)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    if (!entry)
        return std::nullopt;
    if (SchemaInfo *schema = schemaOf(*entry, name, byDisplayName))
        return *schema;
    return std::nullopt;
}

QString CDBInfo::GetSchemaName(const CADODatabase *session, const QString &displayName)
{
    const std::optional<SchemaInfo> schema = FindSchema(session, displayName, true);
    return schema ? schema->name : QString();
}

bool CDBInfo::loadList(const CADODatabase *session, DBInfoEntry &entry, SchemaInfo &schema,
                       ListKind kind)
{
    const QStringList restrictions{entry.connection.initialCatalog, schema.name};
    SchemaRowset rowset;
    if (kind == ListKind::Procedures) {
        QList<ProcInfo> procedures;
        if (rowset.open(session->connection(), Ado::adSchemaProcedures, restrictions)) {
            for (; !rowset.atEnd(); rowset.next()) {
                ProcInfo procedure;
                procedure.name = rowset.text(QStringLiteral("PROCEDURE_NAME"));
                procedures.append(procedure);
            }
        }
        if (rowset.failed()) {
            fail(rowset.errorText());
            return false;
        }
        schema.procedures = procedures;
        return true;
    }

    const QString &typeText = kind == ListKind::Tables ? TableType : ViewType;
    QList<TableInfo> objects;
    if (rowset.open(session->connection(), Ado::adSchemaTables, restrictions)) {
        for (; !rowset.atEnd(); rowset.next()) {
            if (!rowset.text(QStringLiteral("TABLE_TYPE")).contains(typeText))
                continue;
            TableInfo object;
            object.name = rowset.text(QStringLiteral("TABLE_NAME"));
            objects.append(object);
        }
    }
    // A failed read leaves the list as it was: half a list is never taken for the whole.
    if (rowset.failed()) {
        fail(rowset.errorText());
        return false;
    }
    if (kind == ListKind::Tables) {
        schema.tables = objects;
        schema.tablesLoaded = true;
    } else {
        schema.views = objects;
    }
    return true;
}

bool CDBInfo::ensureList(const CADODatabase *session, DBInfoEntry &entry, SchemaInfo &schema,
                         ListKind kind)
{
    const bool empty = kind == ListKind::Tables ? schema.tables.isEmpty()
                       : kind == ListKind::Views ? schema.views.isEmpty()
                                                 : schema.procedures.isEmpty();
    return !empty || loadList(session, entry, schema, kind);
}

template<typename Item>
QList<Item> CDBInfo::listOf(const CADODatabase *session, const QString &schema, bool loadIfEmpty,
                            ListKind kind, QList<Item> SchemaInfo::*list)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    SchemaInfo *info = entry ? schemaOf(*entry, schema) : nullptr;
    if (!info)
        return {};
    if (loadIfEmpty)
        ensureList(session, *entry, *info, kind);
    return info->*list;
}

QList<TableInfo> CDBInfo::GetTables(const CADODatabase *session, const QString &schema,
                                    bool loadIfEmpty)
{
    return listOf(session, schema, loadIfEmpty, ListKind::Tables, &SchemaInfo::tables);
}

QList<TableInfo> CDBInfo::GetViews(const CADODatabase *session, const QString &schema,
                                   bool loadIfEmpty)
{
    return listOf(session, schema, loadIfEmpty, ListKind::Views, &SchemaInfo::views);
}

QList<ProcInfo> CDBInfo::GetProcedures(const CADODatabase *session, const QString &schema,
                                       bool loadIfEmpty)
{
    return listOf(session, schema, loadIfEmpty, ListKind::Procedures, &SchemaInfo::procedures);
}

void CDBInfo::clearList(const CADODatabase *session, const QString &schema, ListKind kind)
{
    m_lastError.clear();
    if (!usable(session))
        return;
    const auto entry = existingEntry(session);
    SchemaInfo *info = entry ? schemaOf(*entry, schema) : nullptr;
    if (!info)
        return;
    switch (kind) {
    case ListKind::Tables:
        info->tables.clear();
        info->tablesLoaded = false;
        break;
    case ListKind::Views:
        info->views.clear();
        break;
    case ListKind::Procedures:
        info->procedures.clear();
        break;
    }
}

void CDBInfo::ClearTables(const CADODatabase *session, const QString &schema)
{
    clearList(session, schema, ListKind::Tables);
}

void CDBInfo::ClearViews(const CADODatabase *session, const QString &schema)
{
    clearList(session, schema, ListKind::Views);
}

void CDBInfo::ClearProcedures(const CADODatabase *session, const QString &schema)
{
    clearList(session, schema, ListKind::Procedures);
}

bool CDBInfo::readColumns(SchemaRowset &rowset, const DBInfoEntry &entry, bool parameters,
                          QList<ColumnInfo> &columns)
{
    const QString nameField =
        parameters ? QStringLiteral("PARAMETER_NAME") : QStringLiteral("COLUMN_NAME");
    const QString defaultField =
        parameters ? QStringLiteral("PARAMETER_DEFAULT") : QStringLiteral("COLUMN_DEFAULT");
    for (; !rowset.atEnd(); rowset.next()) {
        ColumnInfo column;
        column.name = rowset.text(nameField);
        column.ordinal = int(rowset.integer(QStringLiteral("ORDINAL_POSITION"), 0));
        column.dataType = int(rowset.integer(QStringLiteral("DATA_TYPE"), 0));
        column.maxLength = truncatedOrNone(rowset.number(QStringLiteral("CHARACTER_MAXIMUM_LENGTH")));
        column.precision = truncatedOrNone(rowset.number(QStringLiteral("NUMERIC_PRECISION")));
        column.scale = truncatedOrNone(rowset.number(QStringLiteral("NUMERIC_SCALE")));
        column.nullable = nullableText(rowset.text(QStringLiteral("IS_NULLABLE")));
        column.defaultValue = rowset.text(defaultField);
        column.description = rowset.text(QStringLiteral("DESCRIPTION"));
        if (parameters) {
            column.parameterType = int(rowset.integer(QStringLiteral("PARAMETER_TYPE"), 0));
            column.typeName = rowset.text(QStringLiteral("TYPE_NAME"));
        } else {
            const int flags = int(rowset.integer(QStringLiteral("COLUMN_FLAGS"), 0));
            column.typeName = ChooseTypeName(entry.providerTypes, column.dataType, flags,
                                             column.maxLength, column.precision, column.scale);
        }
        columns.append(column);
    }
    std::stable_sort(columns.begin(), columns.end(),
                     [](const ColumnInfo &a, const ColumnInfo &b) { return a.ordinal < b.ordinal; });
    return !rowset.failed();
}

bool CDBInfo::readKeys(const CADODatabase *session, const DBInfoEntry &entry,
                       const QString &schema, const QString &table, QStringList &keys)
{
    SchemaRowset rowset;
    QStringList names;
    if (rowset.open(session->connection(), Ado::adSchemaPrimaryKeys,
                    {entry.connection.initialCatalog, schema, table})) {
        for (; !rowset.atEnd(); rowset.next())
            names.append(rowset.text(QStringLiteral("COLUMN_NAME")));
    }
    if (rowset.failed()) {
        fail(rowset.errorText());
        return false;
    }
    keys = names;
    return true;
}

bool CDBInfo::loadTableDetails(const CADODatabase *session, DBInfoEntry &entry,
                               const SchemaInfo &schema, TableInfo &object, bool isView)
{
    const QStringList restrictions{entry.connection.initialCatalog, schema.name, object.name};
    const QString &typeText = isView ? ViewType : TableType;

    SchemaRowset rowset;
    QString description, created, modified;
    if (rowset.open(session->connection(), Ado::adSchemaTables, restrictions)) {
        for (; !rowset.atEnd(); rowset.next()) {
            if (!rowset.text(QStringLiteral("TABLE_TYPE")).contains(typeText))
                continue;
            description = rowset.text(QStringLiteral("DESCRIPTION"));
            created = rowset.text(QStringLiteral("DATE_CREATED"));
            modified = rowset.text(QStringLiteral("DATE_MODIFIED"));
        }
    }
    const bool infoRead = !rowset.failed();
    if (infoRead) {
        object.description = description;
        object.dateCreated = created;
        object.dateModified = modified;
    } else {
        fail(rowset.errorText());
    }

    // The row count is a nicety many providers lack: its absence is no failure.
    if (!isView && rowset.open(session->connection(), Ado::adSchemaStatistics, restrictions)
        && !rowset.atEnd()) {
        const qint64 cardinality = rowset.integer(QStringLiteral("CARDINALITY"), -1);
        if (!rowset.failed() && cardinality >= 0)
            object.rowCount = cardinality;
    }
    if (infoRead)
        object.infoLoaded = true;

    QList<ColumnInfo> columns;
    bool columnsRead = rowset.open(session->connection(), Ado::adSchemaColumns, restrictions);
    if (columnsRead)
        columnsRead = readColumns(rowset, entry, false, columns);
    if (columnsRead) {
        object.columns = columns;
        object.columnsLoaded = true;
    } else {
        fail(rowset.errorText());
    }

    QStringList keys;
    const bool keysRead = readKeys(session, entry, schema.name, object.name, keys);
    if (keysRead) {
        object.keys = keys;
        object.keysLoaded = true;
    }
    return infoRead && columnsRead && keysRead;
}

bool CDBInfo::loadProcDetails(const CADODatabase *session, DBInfoEntry &entry,
                              const SchemaInfo &schema, ProcInfo &procedure)
{
    const QStringList restrictions{entry.connection.initialCatalog, schema.name, procedure.name};
    SchemaRowset rowset;
    QString description, created, modified;
    if (rowset.open(session->connection(), Ado::adSchemaProcedures, restrictions)) {
        for (; !rowset.atEnd(); rowset.next()) {
            description = rowset.text(QStringLiteral("DESCRIPTION"));
            created = rowset.text(QStringLiteral("DATE_CREATED"));
            modified = rowset.text(QStringLiteral("DATE_MODIFIED"));
        }
    }
    const bool infoRead = !rowset.failed();
    if (infoRead) {
        procedure.description = description;
        procedure.dateCreated = created;
        procedure.dateModified = modified;
    } else {
        fail(rowset.errorText());
    }

    QList<ColumnInfo> parameters;
    bool parametersRead =
        rowset.open(session->connection(), Ado::adSchemaProcedureParameters, restrictions);
    if (parametersRead)
        parametersRead = readColumns(rowset, entry, true, parameters);
    if (parametersRead)
        procedure.parameters = parameters;
    else
        fail(rowset.errorText());
    procedure.detailsLoaded = infoRead && parametersRead;
    return procedure.detailsLoaded;
}

std::optional<TableInfo> CDBInfo::tableOrView(const CADODatabase *session, const QString &schema,
                                              const QString &name, bool isView,
                                              bool loadDetails, bool reload)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    SchemaInfo *info = entry ? schemaOf(*entry, schema) : nullptr;
    if (!info)
        return std::nullopt;
    const ListKind kind = isView ? ListKind::Views : ListKind::Tables;
    ensureList(session, *entry, *info, kind);
    QList<TableInfo> &list = isView ? info->views : info->tables;
    const qsizetype index = indexByName(list, name);
    if (index < 0)
        return std::nullopt;
    TableInfo object = list[index];
    const bool complete = object.infoLoaded && object.columnsLoaded && object.keysLoaded;
    if (reload || (loadDetails && !complete)) {
        loadTableDetails(session, *entry, *info, object, isView);
        list[index] = object;
    }
    return object;
}

std::optional<TableInfo> CDBInfo::GetTable(const CADODatabase *session, const QString &schema,
                                           const QString &name, bool loadDetails)
{
    return tableOrView(session, schema, name, false, loadDetails, false);
}

std::optional<TableInfo> CDBInfo::GetView(const CADODatabase *session, const QString &schema,
                                          const QString &name, bool loadDetails)
{
    return tableOrView(session, schema, name, true, loadDetails, false);
}

std::optional<TableInfo> CDBInfo::ReloadTable(const CADODatabase *session, const QString &schema,
                                              const QString &name)
{
    return tableOrView(session, schema, name, false, true, true);
}

std::optional<TableInfo> CDBInfo::ReloadView(const CADODatabase *session, const QString &schema,
                                             const QString &name)
{
    return tableOrView(session, schema, name, true, true, true);
}

std::optional<ProcInfo> CDBInfo::procedure(const CADODatabase *session, const QString &schema,
                                           const QString &name, bool loadDetails, bool reload)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    SchemaInfo *info = entry ? schemaOf(*entry, schema) : nullptr;
    if (!info)
        return std::nullopt;
    ensureList(session, *entry, *info, ListKind::Procedures);
    const qsizetype index = procedureIndex(info->procedures, name);
    if (index < 0)
        return std::nullopt;
    ProcInfo object = info->procedures[index];
    if (reload || (loadDetails && !object.detailsLoaded)) {
        loadProcDetails(session, *entry, *info, object);
        info->procedures[index] = object;
    }
    return object;
}

std::optional<ProcInfo> CDBInfo::GetProcedure(const CADODatabase *session, const QString &schema,
                                              const QString &name, bool loadDetails)
{
    return procedure(session, schema, name, loadDetails, false);
}

std::optional<ProcInfo> CDBInfo::ReloadProcedure(const CADODatabase *session,
                                                 const QString &schema, const QString &name)
{
    return procedure(session, schema, name, true, true);
}

QString CDBInfo::GetStoredTableName(const CADODatabase *session, const QString &schema,
                                    const QString &name)
{
    const std::optional<TableInfo> table = GetTable(session, schema, name, false);
    return table ? table->name : name;
}

std::optional<CatalogObject> CDBInfo::classify(const CADODatabase *session, DBInfoEntry &entry,
                                               const QString &name)
{
    for (SchemaInfo &schema : entry.schemas) {
        if (!schema.tablesLoaded)
            loadList(session, entry, schema, ListKind::Tables);
        qsizetype index = indexByName(schema.tables, name);
        if (index >= 0)
            return CatalogObject{schema.name, schema.tables[index].name, TableType};
        index = indexByName(schema.views, name);
        if (index >= 0)
            return CatalogObject{schema.name, schema.views[index].name, ViewType};
        index = procedureIndex(schema.procedures, name);
        if (index >= 0)
            return CatalogObject{schema.name, schema.procedures[index].name, ProcType};
    }
    return std::nullopt;
}

std::optional<CatalogObject> CDBInfo::Classify(const CADODatabase *session, const QString &name)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    if (!entry)
        return std::nullopt;
    return classify(session, *entry, name);
}

std::optional<CatalogObject> CDBInfo::ResolveObject(const CADODatabase *session,
                                                    const QString &schema, const QString &name)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    if (!entry)
        return std::nullopt;
    SchemaInfo *info = schemaOf(*entry, schema);
    if (!info)
        return schema.isEmpty() ? classify(session, *entry, name) : std::nullopt;

    const QString schemaName = info->name;
    if (!info->tables.isEmpty()) {
        qsizetype index = indexByName(info->tables, name);
        if (index >= 0)
            return CatalogObject{schemaName, info->tables[index].name, TableType};
        index = indexByName(info->views, name);
        if (index >= 0)
            return CatalogObject{schemaName, info->views[index].name, ViewType};
        index = procedureIndex(info->procedures, name);
        if (index >= 0)
            return CatalogObject{schemaName, info->procedures[index].name, ProcType};
        return std::nullopt;
    }
    if (const auto table = tableOrView(session, schemaName, name, false, false, false))
        return CatalogObject{schemaName, table->name, TableType};
    if (const auto view = tableOrView(session, schemaName, name, true, false, false))
        return CatalogObject{schemaName, view->name, ViewType};
    if (const auto proc = procedure(session, schemaName, name, false, false))
        return CatalogObject{schemaName, proc->name, ProcType};
    return std::nullopt;
}

bool CDBInfo::GetKeyColumns(const CADODatabase *session, const QString &schema,
                            const QString &table, QStringList &keys)
{
    keys.clear();
    m_lastError.clear();
    const auto entry = entryFor(session);
    if (!entry)
        return false;

    QString schemaName = schema;
    QString tableName = table;
    if (SchemaInfo *info = schemaOf(*entry, schema)) {
        if (!info->tablesLoaded)
            loadList(session, *entry, *info, ListKind::Tables);
        if (!info->tables.isEmpty() && indexByName(info->tables, table) < 0)
            return false;
        schemaName = info->name;
    } else if (schema.isEmpty()) {
        // An unqualified name: read the keys of the table it resolves to, not of every
        // table of that name in any schema.
        const std::optional<CatalogObject> found = classify(session, *entry, table);
        if (found && found->type != TableType)
            return false;
        if (found) {
            schemaName = found->schemaName;
            tableName = found->name;
        }
    }

    SchemaInfo *info = schemaOf(*entry, schemaName);
    const qsizetype index = info ? indexByName(info->tables, tableName) : -1;
    if (index >= 0) {
        TableInfo &stored = info->tables[index];
        if (stored.keysLoaded) {
            keys = stored.keys;
            return true;
        }
        QStringList names;
        if (!readKeys(session, *entry, info->name, stored.name, names))
            return false;
        stored.keys = names;
        stored.keysLoaded = true;
        keys = names;
        return true;
    }
    return readKeys(session, *entry, schemaName, tableName, keys);
}

bool CDBInfo::LoadProcedureNames(const CADODatabase *session)
{
    m_lastError.clear();
    const auto entry = entryFor(session);
    if (!entry)
        return false;
    SchemaRowset rowset;
    QString names;
    if (rowset.open(session->connection(), Ado::adSchemaProcedures)) {
        for (; !rowset.atEnd(); rowset.next())
            names += rowset.textAt(2) + QLatin1Char(' ');
    }
    if (rowset.failed()) {
        fail(rowset.errorText());
        return false;
    }
    entry->procedureNames = names;
    return true;
}

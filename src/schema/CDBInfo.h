#pragma once

#include "schema/CatalogObject.h"
#include "schema/DBInfoEntry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class CADODatabase;
class SchemaRowset;

// The application's one catalogue of database objects: one entry per database identity
// (Provider, Data Source, Initial Catalog, User ID of the session's connection text, compared
// exactly), shared by every session on that database. Everything is read from the provider's
// schema rowsets on first use and kept until Refresh.
//
// UI thread only: every member reads the database synchronously on the calling thread, and
// nothing is locked. A session is borrowed for the call, never kept.
//
// Failures never throw: a rowset that cannot be opened or walked leaves the part it would fill
// as it was (rows read before the failure stay, the part's loaded flag stays false), the
// operation returns false or an empty result, and LastError() holds the query error text of
// the failure until the next operation. Nothing is shown to the user here.
//
// Names: `schema` arguments are schema names (not display names; empty for the default
// schema). Object names compare without regard to case; procedure names also match without
// their ";n" suffix and without an argument list ("p1(1, 2)" finds "p1;1").
class CDBInfo
{
public:
    CDBInfo();
    ~CDBInfo();
    CDBInfo(const CDBInfo &) = delete;
    CDBInfo &operator=(const CDBInfo &) = delete;

    static CDBInfo &instance();

    // Decides whether a session may be read: by default the session's connection is open.
    // The application narrows it to sessions the connection registry knows.
    using SessionCheck = std::function<bool(const CADODatabase *)>;
    void SetSessionCheck(SessionCheck check);

    // The identity fields of a connection text, split as connection profiles split it
    // (";"-separated key=value pairs, trimmed, keys matched exactly).
    static ConnectionFields ParseConnection(const QString &connectionText);
    // Whether two sessions reach the same database (true when either is missing).
    static bool SameDatabase(const CADODatabase *a, const CADODatabase *b);

    // The session's entry, loaded when there is none yet; null when the session is missing
    // or not open. The pointer stays valid after Refresh (it then holds the old contents).
    std::shared_ptr<const DBInfoEntry> GetEntry(const CADODatabase *session);
    // The entry if one is loaded already; never reads the database.
    std::shared_ptr<const DBInfoEntry> FindEntry(const CADODatabase *session) const;

    // Capability flags of the session's entry (loading it); false without an entry.
    bool IsAsyncCapable(const CADODatabase *session);
    bool HasMultipleResults(const CADODatabase *session);
    bool IsJet(const CADODatabase *session);
    QList<ProviderTypeInfo> GetProviderTypes(const CADODatabase *session);

    // Drops the entry with every cached list and detail and loads it again at once.
    bool Refresh(const CADODatabase *session);

    std::optional<SchemaInfo> FindSchema(const CADODatabase *session, const QString &name,
                                         bool byDisplayName);
    // The schema name for a display name; empty when unknown.
    QString GetSchemaName(const CADODatabase *session, const QString &displayName);

    // A schema's lists, read first when empty and loadIfEmpty is set.
    QList<TableInfo> GetTables(const CADODatabase *session, const QString &schema,
                               bool loadIfEmpty);
    QList<TableInfo> GetViews(const CADODatabase *session, const QString &schema,
                              bool loadIfEmpty);
    QList<ProcInfo> GetProcedures(const CADODatabase *session, const QString &schema,
                                  bool loadIfEmpty);
    // Empty a list so that the next request reads it again.
    void ClearTables(const CADODatabase *session, const QString &schema);
    void ClearViews(const CADODatabase *session, const QString &schema);
    void ClearProcedures(const CADODatabase *session, const QString &schema);

    // One object (first case-insensitive match), its list read when empty. With loadDetails
    // its description, dates, row count, columns and keys (parameters for a procedure) are
    // read when not all of them are loaded yet. Nothing when not found.
    std::optional<TableInfo> GetTable(const CADODatabase *session, const QString &schema,
                                      const QString &name, bool loadDetails);
    std::optional<TableInfo> GetView(const CADODatabase *session, const QString &schema,
                                     const QString &name, bool loadDetails);
    std::optional<ProcInfo> GetProcedure(const CADODatabase *session, const QString &schema,
                                         const QString &name, bool loadDetails);
    // As the getters, always reading the details again.
    std::optional<TableInfo> ReloadTable(const CADODatabase *session, const QString &schema,
                                         const QString &name);
    std::optional<TableInfo> ReloadView(const CADODatabase *session, const QString &schema,
                                        const QString &name);
    std::optional<ProcInfo> ReloadProcedure(const CADODatabase *session, const QString &schema,
                                            const QString &name);

    // The table's name as stored, or name itself when the table is not found.
    QString GetStoredTableName(const CADODatabase *session, const QString &schema,
                               const QString &name);
    // Looks a name up in every schema (reading table lists that are not loaded yet; views and
    // procedures only as far as loaded): tables first, then views, then procedures.
    std::optional<CatalogObject> Classify(const CADODatabase *session, const QString &name);
    // Resolves an owner and name split from a qualified name: within that schema when it
    // exists, through Classify when the owner is empty and no schema has an empty name.
    std::optional<CatalogObject> ResolveObject(const CADODatabase *session,
                                               const QString &schema, const QString &name);
    // The primary-key columns of a table, in key order; false (and keys empty) when the
    // object is not a table, has no primary key information, or the read failed. A table
    // without a primary key yields true with no keys only when its keys were read.
    bool GetKeyColumns(const CADODatabase *session, const QString &schema,
                       const QString &table, QStringList &keys);
    // Fills the entry's procedureNames with every procedure of the database.
    bool LoadProcedureNames(const CADODatabase *session);

    // The query error text of the last failed read, empty when the last operation read
    // everything it asked for.
    QString LastError() const { return m_lastError; }

private:
    enum class ListKind { Tables, Views, Procedures };

    bool usable(const CADODatabase *session) const;
    std::shared_ptr<DBInfoEntry> entryFor(const CADODatabase *session);
    std::shared_ptr<DBInfoEntry> existingEntry(const CADODatabase *session) const;
    std::shared_ptr<DBInfoEntry> loadEntry(const CADODatabase *session);
    SchemaInfo *schemaOf(DBInfoEntry &entry, const QString &name, bool byDisplayName = false);

    bool loadList(const CADODatabase *session, DBInfoEntry &entry, SchemaInfo &schema,
                  ListKind kind);
    bool ensureList(const CADODatabase *session, DBInfoEntry &entry, SchemaInfo &schema,
                    ListKind kind);
    // One of a schema's lists, loaded first when asked and still empty.
    template<typename Item>
    QList<Item> listOf(const CADODatabase *session, const QString &schema, bool loadIfEmpty,
                       ListKind kind, QList<Item> SchemaInfo::*list);
    bool loadTableDetails(const CADODatabase *session, DBInfoEntry &entry,
                          const SchemaInfo &schema, TableInfo &object, bool isView);
    bool loadProcDetails(const CADODatabase *session, DBInfoEntry &entry,
                         const SchemaInfo &schema, ProcInfo &procedure);
    bool readColumns(SchemaRowset &rowset, const DBInfoEntry &entry, bool parameters,
                     QList<ColumnInfo> &columns);
    bool readKeys(const CADODatabase *session, const DBInfoEntry &entry,
                  const QString &schema, const QString &table, QStringList &keys);

    std::optional<TableInfo> tableOrView(const CADODatabase *session, const QString &schema,
                                         const QString &name, bool isView, bool loadDetails,
                                         bool reload);
    std::optional<ProcInfo> procedure(const CADODatabase *session, const QString &schema,
                                      const QString &name, bool loadDetails, bool reload);
    std::optional<CatalogObject> classify(const CADODatabase *session, DBInfoEntry &entry,
                                          const QString &name);
    void clearList(const CADODatabase *session, const QString &schema, ListKind kind);
    void fail(const QString &errorText);

    QList<std::shared_ptr<DBInfoEntry>> m_entries;
    SessionCheck m_sessionCheck;
    QString m_lastError;
};

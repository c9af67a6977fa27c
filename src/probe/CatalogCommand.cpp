#include "ProbeCommand.h"

#include "db/CADODatabase.h"
#include "schema/CDBInfo.h"

#include <QHash>

namespace {

const char *const Usage =
    "usage: catalog \"<connection string>\" flags | schemas | tables SCHEMA | views SCHEMA | "
    "procedures SCHEMA | columns SCHEMA OBJECT | keys SCHEMA TABLE | types | keywords | "
    "classify NAME";

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString columnLine(const ColumnInfo &c)
{
    return QString::number(c.ordinal) + QLatin1Char('\t') + c.name + QLatin1Char('\t')
           + c.typeName + QLatin1Char('\t') + QString::number(c.dataType) + QLatin1Char('\t')
           + QString::number(c.maxLength) + QLatin1Char('\t') + QString::number(c.precision)
           + QLatin1Char('\t') + QString::number(c.scale) + QLatin1Char('\t')
           + flag(c.nullable) + QLatin1Char('\t') + c.defaultValue + QLatin1Char('\n');
}

// Prints the object lists and details the catalogue reads for one session.
int runCatalog(const QStringList &args)
{
    if (args.size() < 2)
        return Probe::usageError(QString::fromLatin1(Usage));
    const QString what = args[1];
    const QStringList rest = args.mid(2);
    static const QHash<QString, int> arity{
        {QStringLiteral("flags"), 0},      {QStringLiteral("schemas"), 0},
        {QStringLiteral("tables"), 1},     {QStringLiteral("views"), 1},
        {QStringLiteral("procedures"), 1}, {QStringLiteral("columns"), 2},
        {QStringLiteral("keys"), 2},       {QStringLiteral("types"), 0},
        {QStringLiteral("keywords"), 0},   {QStringLiteral("classify"), 1},
    };
    if (!arity.contains(what) || arity.value(what) != rest.size())
        return Probe::usageError(QString::fromLatin1(Usage));

    CADODatabase session;
    if (!session.Open(args.first())) {
        Probe::err(session.GetErrorText());
        return 1;
    }
    CDBInfo &catalogue = CDBInfo::instance();
    const auto entry = catalogue.GetEntry(&session);
    if (!entry) {
        Probe::err(catalogue.LastError());
        return 1;
    }

    QString out;
    bool ok = true;
    if (what == QLatin1String("flags")) {
        out += QStringLiteral("asyncCapable=") + flag(entry->asyncCapable) + QLatin1Char('\n');
        out += QStringLiteral("multipleResults=") + flag(entry->multipleResults)
               + QLatin1Char('\n');
        out += QStringLiteral("isJet=") + flag(entry->isJet) + QLatin1Char('\n');
    } else if (what == QLatin1String("schemas")) {
        for (const SchemaInfo &schema : entry->schemas)
            out += schema.name + QLatin1Char('\n');
    } else if (what == QLatin1String("tables") || what == QLatin1String("views")) {
        const QList<TableInfo> list = what == QLatin1String("tables")
                                          ? catalogue.GetTables(&session, rest[0], true)
                                          : catalogue.GetViews(&session, rest[0], true);
        ok = catalogue.LastError().isEmpty();
        for (const TableInfo &object : list)
            out += object.name + QLatin1Char('\n');
    } else if (what == QLatin1String("procedures")) {
        const QList<ProcInfo> list = catalogue.GetProcedures(&session, rest[0], true);
        ok = catalogue.LastError().isEmpty();
        for (const ProcInfo &procedure : list)
            out += procedure.name + QLatin1Char('\n');
    } else if (what == QLatin1String("columns")) {
        if (auto table = catalogue.GetTable(&session, rest[0], rest[1], true)) {
            ok = table->columnsLoaded;
            for (const ColumnInfo &column : table->columns)
                out += columnLine(column);
        } else if (auto view = catalogue.GetView(&session, rest[0], rest[1], true)) {
            ok = view->columnsLoaded;
            for (const ColumnInfo &column : view->columns)
                out += columnLine(column);
        } else if (auto procedure = catalogue.GetProcedure(&session, rest[0], rest[1], true)) {
            ok = procedure->detailsLoaded;
            for (const ColumnInfo &parameter : procedure->parameters)
                out += columnLine(parameter);
        } else {
            ok = false;
        }
    } else if (what == QLatin1String("keys")) {
        QStringList keys;
        ok = catalogue.GetKeyColumns(&session, rest[0], rest[1], keys);
        for (const QString &key : keys)
            out += key + QLatin1Char('\n');
    } else if (what == QLatin1String("types")) {
        for (const ProviderTypeInfo &type : entry->providerTypes)
            out += type.typeName + QLatin1Char('\t') + QString::number(type.dataType)
                   + QLatin1Char('\t') + QString::number(type.columnSize) + QLatin1Char('\t')
                   + flag(type.hasCreateParams) + QLatin1Char('\t') + flag(type.isLong)
                   + QLatin1Char('\t') + flag(type.bestMatch) + QLatin1Char('\t')
                   + flag(type.isFixedLength) + QLatin1Char('\n');
    } else if (what == QLatin1String("keywords")) {
        for (const QString &keyword : entry->keywords.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            out += keyword + QLatin1Char('\n');
    } else if (what == QLatin1String("classify")) {
        if (const auto found = catalogue.Classify(&session, rest[0]))
            out += found->schemaName + QLatin1Char('\t') + found->name + QLatin1Char('\t')
                   + found->type + QLatin1Char('\n');
        else
            ok = false;
    }
    Probe::out(out);
    if (!catalogue.LastError().isEmpty())
        Probe::err(catalogue.LastError());
    return ok ? 0 : 1;
}

} // namespace

static ProbeCommand catalogCommand("catalog", "catalog \"<connection string>\" WHAT [ARGS]",
                                   &runCatalog);

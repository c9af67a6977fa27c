// Schema catalogue: connecting, loading a database's entry and one schema's table list, for a
// database of 2,000 tables of 20 columns, beside the command-line tools listing the same
// tables (`sqlite3 FILE .tables`, `psql -c '\dt SCHEMA.*'`), in one run; prints the medians
// and their ratio. Also the first read of one table's columns and keys, which the listing
// leaves for later.
//
//     bench_catalog [--tables N] [--columns N] [--runs N] [--keep]
//
// PostgreSQL is measured when QORVANE_TEST_PG holds a connection string (schema
// qv_bench_catalog is created, and dropped afterwards unless --keep is given).

#include "db/CADOCommand.h"
#include "db/CADODatabase.h"
#include "schema/CDBInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Options
{
    int tables = 2000;
    int columns = 20;
    int runs = 7;
    bool keep = false;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// Milliseconds of one call, the median of several.
double timed(int runs, const std::function<void()> &work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

QStringList createStatements(const Options &options, const QString &prefix)
{
    QStringList statements;
    for (int t = 0; t < options.tables; ++t) {
        QString sql = QStringLiteral("CREATE TABLE %1t%2 (id integer PRIMARY KEY")
                          .arg(prefix)
                          .arg(t, 4, 10, QLatin1Char('0'));
        for (int c = 1; c < options.columns; ++c)
            sql += c % 3 == 0 ? QStringLiteral(", c%1 numeric(12,2)").arg(c)
                   : c % 3 == 1 ? QStringLiteral(", c%1 varchar(40)").arg(c)
                                : QStringLiteral(", c%1 integer NOT NULL DEFAULT 0").arg(c);
        statements.append(sql + QLatin1Char(')'));
    }
    return statements;
}

bool execute(CADODatabase &session, const QStringList &statements)
{
    for (qsizetype i = 0; i < statements.size(); i += 200) {
        CADOCommand command(&session, statements.mid(i, 200).join(QStringLiteral(";\n")));
        if (!command.Execute()) {
            std::fprintf(stderr, "%s\n", qPrintable(command.GetErrorText()));
            return false;
        }
    }
    return true;
}

struct Figures
{
    double ours = 0;
    double tool = 0;
    double firstDetails = 0;
    qsizetype listed = 0;
    qsizetype toolLines = 0;
};

Figures measure(const Options &options, const QString &connection, const QString &schema,
                const QString &program, const QStringList &arguments,
                const QProcessEnvironment &environment)
{
    Figures f;
    f.ours = timed(options.runs, [&] {
        CDBInfo catalogue;
        CADODatabase session;
        if (!session.Open(connection)) {
            std::fprintf(stderr, "%s\n", qPrintable(session.GetErrorText()));
            return;
        }
        catalogue.GetEntry(&session);
        f.listed = catalogue.GetTables(&session, schema, true).size();
    });
    f.tool = timed(options.runs, [&] {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        process.waitForFinished(-1);
        f.toolLines = process.readAllStandardOutput().count('\n');
    });
    // Columns and keys are read only when first asked for: one table's first read.
    CADODatabase session;
    session.Open(connection);
    QList<double> details;
    for (int i = 0; i < options.runs; ++i) {
        CDBInfo catalogue;
        catalogue.GetTables(&session, schema, true);
        const QString name = QStringLiteral("t%1").arg(i * 97 % options.tables, 4, 10, QLatin1Char('0'));
        QElapsedTimer timer;
        timer.start();
        const auto table = catalogue.GetTable(&session, schema, name, true);
        details.append(timer.nsecsElapsed() / 1e6);
        if (!table || table->columns.size() != options.columns)
            std::fprintf(stderr, "details of %s incomplete\n", qPrintable(name));
    }
    f.firstDetails = median(details);
    return f;
}

void report(const char *provider, const Figures &f)
{
    std::printf("%-10s catalogue (connect + entry + table list): %8.1f ms  (%lld tables)\n",
                provider, f.ours, static_cast<long long>(f.listed));
    std::printf("%-10s command-line tool listing:                 %8.1f ms  (%lld lines)\n",
                provider, f.tool, static_cast<long long>(f.toolLines));
    std::printf("%-10s ratio catalogue / tool:                    %8.2f   (limit 2.00)\n",
                provider, f.tool > 0 ? f.ours / f.tool : 0.0);
    std::printf("%-10s first columns + keys of one table:         %8.1f ms\n\n", provider,
                f.firstDetails);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--keep"))
            options.keep = true;
        else if (i + 1 < args.size() && arg == QLatin1String("--tables"))
            options.tables = args[++i].toInt();
        else if (i + 1 < args.size() && arg == QLatin1String("--columns"))
            options.columns = args[++i].toInt();
        else if (i + 1 < args.size() && arg == QLatin1String("--runs"))
            options.runs = args[++i].toInt();
    }
    std::printf("%d tables x %d columns, median of %d runs\n\n", options.tables, options.columns,
                options.runs);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("catalog.db"));
    {
        CADODatabase session;
        if (!session.Open(QStringLiteral("Provider=SQLite;Data Source=%1;Mode=ReadWriteCreate").arg(file)))
            return std::fprintf(stderr, "%s\n", qPrintable(session.GetErrorText())), 1;
        session.BeginTrans();
        if (!execute(session, createStatements(options, QString())))
            return 1;
        session.CommitTrans();
    }
    report("SQLite", measure(options, QStringLiteral("Provider=SQLite;Data Source=") + file,
                             QString(), QStringLiteral("sqlite3"),
                             {file, QStringLiteral(".tables")},
                             QProcessEnvironment::systemEnvironment()));

    const QString pg = qEnvironmentVariable("QORVANE_TEST_PG");
    if (pg.isEmpty()) {
        std::printf("PostgreSQL skipped: QORVANE_TEST_PG is not set\n");
        return 0;
    }
    const QString schema = QStringLiteral("qv_bench_catalog");
    CADODatabase admin;
    if (!admin.Open(pg))
        return std::fprintf(stderr, "%s\n", qPrintable(admin.GetErrorText())), 1;
    execute(admin, {QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema),
                    QStringLiteral("CREATE SCHEMA %1").arg(schema)});
    if (!execute(admin, createStatements(options, schema + QLatin1Char('.'))))
        return 1;

    const ConnectionFields fields = CDBInfo::ParseConnection(pg);
    const QString host = fields.dataSource.section(QLatin1Char(':'), 0, 0);
    const QString port = fields.dataSource.section(QLatin1Char(':'), 1, 1);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const qsizetype at = pg.indexOf(QLatin1String("Password="));
    if (at >= 0)
        environment.insert(QStringLiteral("PGPASSWORD"),
                           pg.mid(at + 9).section(QLatin1Char(';'), 0, 0));
    QStringList psql{QStringLiteral("-X"), QStringLiteral("-h"), host};
    if (!port.isEmpty())
        psql << QStringLiteral("-p") << port;
    psql << QStringLiteral("-U") << fields.userId << QStringLiteral("-d") << fields.initialCatalog
         << QStringLiteral("-c") << QStringLiteral("\\dt %1.*").arg(schema);
    report("PostgreSQL", measure(options, pg, schema, QStringLiteral("psql"), psql, environment));

    if (!options.keep)
        execute(admin, {QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema)});
    return 0;
}

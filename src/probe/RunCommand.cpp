#include "ProbeCommand.h"

#include "connections/CDBConnections.h"
#include "db/CADODatabase.h"
#include "platform/AppSettings.h"
#include "query/CQueryExecution.h"
#include "query/ResultCollector.h"
#include "results/CResultData.h"
#include "sql/ScriptPreparation.h"

#include <QEventLoop>
#include <QObject>

namespace {
bool takeFlag(QStringList &args, const QString &name, int *value, QString *error)
{
    QString text;
    if (!args.contains(name))
        return true;
    if (!Probe::takeOption(args, name, &text) || (text != QLatin1String("0")
                                                  && text != QLatin1String("1"))) {
        *error = QStringLiteral("%1 needs 0 or 1").arg(name);
        return false;
    }
    *value = text.toInt();
    return true;
}

QString escapedPane(QString text)
{
    text.replace(QLatin1String("\r"), QLatin1String("\\r"));
    text.replace(QLatin1String("\n"), QLatin1String("\\n"));
    return text;
}
} // namespace

// run [--autocommit 0|1] [--comment-out 0|1] "<connection string>" < text: the query window's
// execution cycle on a window without widgets.
static int runRun(const QStringList &arguments)
{
    QStringList args = arguments;
    AppSettings &settings = AppSettings::instance();
    int autoCommit = settings.autoCommit;
    int commentOut = settings.commentOut;
    QString error;
    if (!takeFlag(args, QStringLiteral("--autocommit"), &autoCommit, &error)
        || !takeFlag(args, QStringLiteral("--comment-out"), &commentOut, &error))
        return Probe::usageError(error);
    if (args.size() != 1)
        return Probe::usageError(QStringLiteral("run needs one connection string"));
    settings.autoCommit = autoCommit;
    settings.commentOut = commentOut;

    QString text = QString::fromUtf8(Probe::readStdin());

    CDBConnections &registry = CDBConnections::instance();
    QObject window;
    CADODatabase *session = registry.CreateForWindow(&window);
    session->SetConnectTimeout(settings.connectTimeout);
    if (!session->Open(args.first())) {
        Probe::err(session->GetErrorText());
        registry.WindowClosed(session, &window);
        return 1;
    }
    registry.RegisterOpened(session);
    session->SetCommandTimeout(settings.commandTimeout);

    ResultCollector collector;
    int status = 0;
    {
        CQueryExecution execution(&collector, &window);
        execution.setSession(session);
        execution.BindEventSink();

        // As the execute command: comments go first when "CommentOut" is 0.
        if (commentOut == 0)
            text = ScriptPreparation::RemoveComments(text);
        const bool notSelect = CQueryExecution::IsNotSelect(text, commentOut == 1);

        QEventLoop loop;
        QObject::connect(&execution, &CQueryExecution::fetchEnded, &loop, &QEventLoop::quit);
        if (!text.isEmpty() && execution.ExecuteText(text, notSelect))
            loop.exec();
        else
            status = 1;
    }

    QString out;
    for (const QString &line : std::as_const(collector.messageLines))
        out += line + QLatin1Char('\n');
    for (const ResultCollector::Page &page : std::as_const(collector.pages)) {
        if (page.isMessage)
            continue;
        out += QStringLiteral("## ") + page.caption + QLatin1Char('\n');
        out += ResultCollector::gridText(*page.model);
    }
    for (int pane = 0; pane < 4; ++pane)
        out += QStringLiteral("pane %1: %2\n").arg(pane).arg(escapedPane(collector.panes[pane]));
    Probe::out(out);
    for (const QString &box : std::as_const(collector.boxes))
        Probe::err(box + QLatin1Char('\n'));
    if (collector.panes[0] == QStringLiteral("エラーが発生しました"))
        status = 1;

    registry.WindowClosed(session, &window);
    return status;
}

static ProbeCommand runCommand(
    "run", "run [--autocommit 0|1] [--comment-out 0|1] \"<connection string>\" < text", &runRun);

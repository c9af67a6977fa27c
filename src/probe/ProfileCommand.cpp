#include "ProbeCommand.h"

#include "connections/ConnectionProfile.h"

// profile "<connection string>": the fields of a profile built from an empty name.
static int runProfile(const QStringList &args)
{
    if (args.size() != 1)
        return Probe::usageError(QStringLiteral("profile needs one connection string"));

    const ConnectionProfile profile(QString(), args.first());
    QString text;
    text += QStringLiteral("name=") + profile.name + QLatin1Char('\n');
    text += QStringLiteral("provider=") + profile.provider + QLatin1Char('\n');
    text += QStringLiteral("dataSource=") + profile.dataSource + QLatin1Char('\n');
    text += QStringLiteral("user=") + profile.user + QLatin1Char('\n');
    text += QStringLiteral("password=") + profile.password + QLatin1Char('\n');
    text += QStringLiteral("catalog=") + profile.catalog + QLatin1Char('\n');
    text += QStringLiteral("others=") + profile.others + QLatin1Char('\n');
    text += QStringLiteral("connection=") + profile.connectionText + QLatin1Char('\n');
    Probe::out(text);
    return 0;
}

static ProbeCommand profileCommand("profile", "profile \"<connection string>\"", &runProfile);

#include "ConnectionProfile.h"

#include <QStringList>

ConnectionProfile::ConnectionProfile(const QString &name, const QString &connectionString)
    : name(name)
{
    parse(connectionString);
}

bool ConnectionProfile::parse(const QString &connectionString)
{
    provider.clear();
    dataSource.clear();
    user.clear();
    password.clear();
    catalog.clear();
    others.clear();
    if (connectionString.isEmpty()) {
        connectionText.clear();
        return false;
    }

    const QStringList pieces = connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        QString key;
        QString value;
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0) {
            value = piece.trimmed();
        } else {
            key = piece.left(eq).trimmed();
            value = piece.mid(eq + 1).trimmed();
        }
        if (key.compare(QLatin1String("ConnName"), Qt::CaseInsensitive) == 0)
            name = value;
        else if (key == QLatin1String("Provider"))
            provider = value;
        else if (key == QLatin1String("Data Source"))
            dataSource = value;
        else if (key == QLatin1String("User ID"))
            user = value;
        else if (key == QLatin1String("Password"))
            password = value;
        else if (key == QLatin1String("Initial Catalog"))
            catalog = value;
        else
            others += key + QLatin1Char('=') + value + QLatin1Char(';');
    }
    while (others.endsWith(QLatin1Char(';')))
        others.chop(1);
    compose();
    return true;
}

QString ConnectionProfile::compose(const QString &provider, const QString &dataSource,
                                   const QString &catalog, const QString &user,
                                   const QString &password, const QString &others)
{
    QString text = QLatin1String("Provider=") + provider + QLatin1String(";Data Source=")
        + dataSource + QLatin1Char(';');
    if (!catalog.isEmpty())
        text += QLatin1String("Initial Catalog=") + catalog + QLatin1Char(';');
    if (!user.isEmpty())
        text += QLatin1String("User ID=") + user + QLatin1Char(';');
    if (!password.isEmpty())
        text += QLatin1String("Password=") + password + QLatin1Char(';');
    text += others;
    return text;
}

QString ConnectionProfile::compose()
{
    connectionText = compose(provider, dataSource, catalog, user, password, others);
    return connectionText;
}

QString ConnectionProfile::storedText() const
{
    return QLatin1String("ConnName=") + name + QLatin1Char(';') + connectionText;
}

#pragma once

#include <QString>

// A named connection string with the fields parsed from it. The connection text is always
// kept in composed form: "Provider=..;Data Source=..;" then the catalog, user and password
// pairs when not empty, then every other pair in input order. Plain value type.
class ConnectionProfile
{
public:
    ConnectionProfile() = default;
    // Stores the name, parses the string and recomposes the connection text. A "ConnName"
    // pair in the string replaces the name.
    ConnectionProfile(const QString &name, const QString &connectionString);

    // Clears the six parsed fields and parses the string (split at ";", no quoting; keys and
    // values trimmed; "ConnName" matched ignoring case, the five known keys exactly). Returns
    // false, with the fields and the connection text empty, when the string is empty.
    bool parse(const QString &connectionString);
    // Recomposes the connection text from the fields and returns it.
    QString compose();
    static QString compose(const QString &provider, const QString &dataSource,
                           const QString &catalog, const QString &user, const QString &password,
                           const QString &others);

    // "ConnName=" + name + ";" + connection text: what is enciphered and stored.
    QString storedText() const;

    QString connectionText;
    QString name;
    QString provider;
    QString dataSource;
    QString user;
    QString password;
    QString catalog;
    QString others;
};

#pragma once

#include "db/ado/AdoProvider.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Ado {

// What the ODBC provider needs to know of a command text before sending it: its named
// parameters and the kind of each statement. Pure functions.
class OdbcSqlText
{
public:
    // The text with every ":name" or "@name" of a given parameter replaced by "?"; order
    // receives, per marker, the index of its parameter ("?" markers take them in turn).
    // Quoted texts, comments and "::" casts are left alone.
    // backslashEscapes: a backslash inside a quoted literal escapes the next character
    // (MySQL and MariaDB).
    static QString rewriteParameters(const QString &text, const QList<Parameter> &parameters,
                                     QList<int> &order, bool backslashEscapes = false);
    // The first word (upper case) of every statement of a text, in order.
    static QStringList statementKeywords(const QString &text, bool backslashEscapes = false);
};

} // namespace Ado

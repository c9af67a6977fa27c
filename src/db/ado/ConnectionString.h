#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace Ado {

// An ADO-form connection string: "key=value" pairs separated by ";"; a value may be quoted
// with double or single quotes (a doubled quote inside stands for one) or braced as ODBC
// does. Keys compare ignoring case. Plain value type.
class ConnectionString
{
public:
    ConnectionString() = default;
    explicit ConnectionString(const QString &text);

    bool contains(const QString &key) const;
    QString value(const QString &key, const QString &fallback = {}) const;
    void set(const QString &key, const QString &value);
    void remove(const QString &key);
    const QList<QPair<QString, QString>> &pairs() const { return m_pairs; }

    // "key=value;" per pair; values that need it are quoted.
    QString toString() const;
    // The same for ODBC: values that need it are braced.
    QString toOdbcString() const;

private:
    QList<QPair<QString, QString>> m_pairs;
};

} // namespace Ado

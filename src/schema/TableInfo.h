#pragma once

#include "schema/ColumnInfo.h"

#include <QList>
#include <QString>
#include <QStringList>

// A table or a view with the details the catalogue has read so far. A flag is set only when
// its part was read completely; a part that failed keeps its flag false (and whatever rows
// were read), so the next request reads it again. Plain value type.
struct TableInfo
{
    QString name;
    QString description;
    QString dateCreated;
    QString dateModified;
    bool infoLoaded = false;
    bool columnsLoaded = false;
    bool keysLoaded = false;
    qint64 rowCount = 0;       // 0 until known
    QList<ColumnInfo> columns; // ascending by ordinal
    QStringList keys;          // primary-key column names, in key order
};

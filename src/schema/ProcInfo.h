#pragma once

#include "schema/ColumnInfo.h"

#include <QList>
#include <QString>

// A procedure or function. name is as the provider returns it and may carry a ";n" group
// suffix. Plain value type.
struct ProcInfo
{
    QString name;
    QString description;
    QString dateCreated;
    QString dateModified;
    bool detailsLoaded = false;
    QList<ColumnInfo> parameters; // ascending by ordinal
};

#pragma once

#include <QString>

// The table a statement text reads from, for write-back and the default tab name: the name
// after " FROM " up to the next blank, or empty when the text has a UNION, a join, a list of
// tables or a subquery in its FROM clause. Brackets around the name are removed.
QString TargetTableOf(const QString &text);

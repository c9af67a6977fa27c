#pragma once

#include <QIcon>

// The small images of the result grid's headers, drawn at run time.
//  Row headers: 1 plain, 2 modified, 3 inserted, 4 deleted.
//  Column headers: 0 key column, 5 sorted ascending, 6 sorted descending, 7 and 8 the same
//  for a key column.
//  Top-left cell: 0 editable, 1 read-only, 2 insert only.
namespace GridImages {
QIcon rowImage(int index);
QIcon columnImage(int index);
QIcon cornerImage(int index);
// Result tabs: 0 a result grid, 1 the message page.
QIcon tabImage(int index);
} // namespace GridImages

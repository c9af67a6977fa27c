#pragma once

#include "db/ado/AdoError.h"

#include <QString>

// The three error texts of the session wrappers.
namespace AdoErrorText {

enum Kind { DatabaseError, QueryError, CommandError };

// "データベースエラー：\n\tコード： %08lx\n\t内容　： %s\n\tソース： %s\n\t説明　： %s\n" and its
// two siblings; the query error is followed by "\n\tSQL文： " and the statement.
QString format(Kind kind, Ado::Status code, const QString &source, const QString &description,
               const QString &sql = {});

} // namespace AdoErrorText

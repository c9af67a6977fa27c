#include "db/AdoErrorText.h"

namespace AdoErrorText {

QString format(Kind kind, Ado::Status code, const QString &source, const QString &description,
               const QString &sql)
{
    static const QString heads[] = {
        QStringLiteral("データベースエラー："),
        QStringLiteral("クエリ実行エラー："),
        QStringLiteral("コマンドエラー："),
    };
    QString text = heads[kind] + QStringLiteral("\n\tコード： ")
                   + QStringLiteral("%1").arg(code, 8, 16, QLatin1Char('0'))
                   + QStringLiteral("\n\t内容　： ") + Ado::statusMessage(code)
                   + QStringLiteral("\n\tソース： ") + source + QStringLiteral("\n\t説明　： ")
                   + description + QLatin1Char('\n');
    if (kind == QueryError)
        text += QStringLiteral("\n\tSQL文： ") + sql;
    return text;
}

} // namespace AdoErrorText

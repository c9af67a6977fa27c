#include "db/ado/AdoError.h"

namespace Ado {

ComError::ComError(Status code, const QString &source, const QString &description)
    : ComError(ErrorRecord{code, source, description, {}, 0})
{}

ComError::ComError(const ErrorRecord &record)
    : m_record(record)
    , m_what(QStringLiteral("0x%1 %2: %3")
                 .arg(record.code, 8, 16, QLatin1Char('0'))
                 .arg(record.source, record.description)
                 .toUtf8())
{}

QString statusMessage(Status code)
{
    switch (code) {
    case S_Ok:
        return QStringLiteral("この操作を正しく終了しました。");
    case E_Pointer:
        return QStringLiteral("無効なポインタです");
    case E_Fail:
        return QStringLiteral("エラーを特定できません");
    case E_NotImpl:
        return QStringLiteral("実装されていません");
    case E_InvalidArg:
        return QStringLiteral("引数が間違っています。");
    case DB_E_ErrorsInCommand:
        return QStringLiteral("コマンドに 1 つ以上のエラーが含まれています。");
    case DB_E_NoTable:
        return QStringLiteral("テーブルまたはビューが存在しません。");
    case DB_E_AbortLimitReached:
        return QStringLiteral("タイムアウトのため、操作が中止されました。");
    case DB_E_Canceled:
        return QStringLiteral("操作はキャンセルされました。");
    case DB_E_CantScrollBackwards:
        return QStringLiteral("行セットは逆方向へのスクロールをサポートしていません。");
    case DB_E_NotSupported:
        return QStringLiteral("要求されたメソッドはサポートされていません。");
    case DB_E_IntegrityViolation:
        return QStringLiteral("整合性制約に違反しています。");
    case DB_E_DataOverflow:
        return QStringLiteral("値がデータ型の範囲を超えています。");
    case DB_Sec_E_AuthFailed:
        return QStringLiteral("認証に失敗しました。");
    case AdErrBoundToCommand:
        return QStringLiteral("プロバイダが見つかりません。");
    case AdErrObjectClosed:
        return QStringLiteral("オブジェクトが閉じている場合は、操作は許可されません。");
    case AdErrObjectOpen:
        return QStringLiteral("オブジェクトが開いている場合は、操作は許可されません。");
    case AdErrNoCurrentRecord:
        return QStringLiteral("BOF と EOF のいずれかが True になっているか、または現在のレコードが"
                              "削除されています。");
    case AdErrItemNotFound:
        return QStringLiteral(
            "要求された名前、または序数に対応する項目がコレクションで見つかりません。");
    case AdErrFeatureNotAvailable:
        return QStringLiteral("プロバイダはこの操作をサポートしていません。");
    case AdErrOperationNotAllowed:
        return QStringLiteral("このコンテキストで操作は許可されていません。");
    default:
        return QStringLiteral("Unknown error 0x%1")
            .arg(code, 8, 16, QLatin1Char('0'))
            .toUpper()
            .replace(QLatin1String("UNKNOWN ERROR 0X"), QLatin1String("Unknown error 0x"));
    }
}

Status statusFromSqlState(const QString &sqlState)
{
    if (sqlState.startsWith(QLatin1String("28")))
        return DB_Sec_E_AuthFailed;
    if (sqlState.startsWith(QLatin1String("42")))
        return DB_E_ErrorsInCommand;
    if (sqlState == QLatin1String("HYT00") || sqlState == QLatin1String("HYT01"))
        return DB_E_AbortLimitReached;
    if (sqlState == QLatin1String("HY008") || sqlState == QLatin1String("57014"))
        return DB_E_Canceled;
    if (sqlState.startsWith(QLatin1String("23")))
        return DB_E_IntegrityViolation;
    return E_Fail;
}

} // namespace Ado

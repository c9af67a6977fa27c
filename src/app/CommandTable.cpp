#include "CommandTable.h"

#include "widgets/CommandIds.h"

#include <QHash>

namespace {

CommandInfo make(int id, const char *label, const char *keyText, const QKeySequence &key,
                 const char *prompt)
{
    CommandInfo info;
    info.id = id;
    info.label = QString::fromUtf8(label);
    if (keyText && *keyText)
        info.label += QLatin1Char('\t') + QString::fromUtf8(keyText);
    info.key = key;
    info.prompt = QString::fromUtf8(prompt);
    return info;
}

QList<CommandInfo> build()
{
    using K = QKeySequence;
    const K none;
    return {
        // File
        make(Cmd::Connect, "接続(&T)", "Ctrl+T", K(Qt::CTRL | Qt::Key_T), "新規接続の確立\n新規接続(Ctrl+T)"),
        make(Cmd::Disconnect, "接続解除(&D)", "Ctrl+Shift+F4", K(Qt::CTRL | Qt::SHIFT | Qt::Key_F4), "現在の接続のクエリをすべて閉じます\n接続解除(Ctrl+Shift+F4)"),
        make(Cmd::CloseAll, "すべて閉じる(&I)", "", none, "すべてのクエリと接続を閉じます\nすべて閉じる"),
        make(Cmd::NewQuery, "新規クエリ(&N)", "Ctrl+N", K(Qt::CTRL | Qt::Key_N), "現在の接続で新規クエリを作成\n新規クエリ(Ctrl+N)"),
        make(Cmd::FileOpen, "開く(&O)...", "Ctrl+O", K(Qt::CTRL | Qt::Key_O), "既存のﾌｧｲﾙを開く\n開く(Ctrl+O)"),
        make(Cmd::CloseQuery, "クエリを閉じる", "Ctrl+F4", K(Qt::CTRL | Qt::Key_F4), "現在のクエリを閉じる\nクエリ閉じる"),
        make(Cmd::FileSave, "上書き保存(&S)", "Ctrl+S", K(Qt::CTRL | Qt::Key_S), "作業中のﾌｧｲﾙを上書きして保存\n保存(Ctrl+S)"),
        make(Cmd::FileSaveAs, "名前を付けて保存(&A)...", "", none, "作業中のﾌｧｲﾙを新しい名前で保存\n名前をつけて保存"),
        make(Cmd::RenameTab, "タブ名変更(&U)", "", none, "作業中のタブの表示名を変更します。"),
        make(Cmd::FilePrint, "印刷(&P)...", "Ctrl+P", K(Qt::CTRL | Qt::Key_P), "作業中のﾌｧｲﾙを印刷\n印刷"),
        make(Cmd::FilePrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "", none, "印刷ｲﾒｰｼﾞを表示\n印刷ﾌﾟﾚﾋﾞｭｰ"),
        make(Cmd::FilePrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)...", "", none, "ﾌﾟﾘﾝﾀ/印刷ｵﾌﾟｼｮﾝの変更\n印刷設定"),
        make(Cmd::FileMru1, "最近使ったﾌｧｲﾙ", "", none, "指定のﾌｧｲﾙを開く"),
        make(Cmd::FileMru2, "最近使ったﾌｧｲﾙ", "", none, "指定のﾌｧｲﾙを開く"),
        make(Cmd::FileMru3, "最近使ったﾌｧｲﾙ", "", none, "指定のﾌｧｲﾙを開く"),
        make(Cmd::FileMru4, "最近使ったﾌｧｲﾙ", "", none, "指定のﾌｧｲﾙを開く"),
        make(Cmd::AppExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "", none, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了"),
        // Edit
        make(Cmd::EditUndo, "元に戻す(&U)", "Ctrl+Z", K(Qt::CTRL | Qt::Key_Z), "直前に行った動作を元に戻す\n元に戻す(Ctrl+Z)"),
        make(Cmd::EditRedo, "繰り返す", "Ctrl+Y", K(Qt::CTRL | Qt::Key_Y), "直前に行った動作を繰り返す\n繰り返す(Ctrl+Y)"),
        make(Cmd::EditCut, "切り取り(&T)", "Ctrl+X", K(Qt::CTRL | Qt::Key_X), "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n切り取り"),
        make(Cmd::EditCopy, "ｺﾋﾟｰ(&C)", "Ctrl+C", K(Qt::CTRL | Qt::Key_C), "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\nｺﾋﾟｰ"),
        make(Cmd::EditPaste, "貼り付け(&P)", "Ctrl+V", K(Qt::CTRL | Qt::Key_V), "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け\n貼り付け"),
        make(Cmd::EditSelectAll, "すべて選択(&S)", "Ctrl+A", K(Qt::CTRL | Qt::Key_A), "ﾌｧｲﾙ内のすべてを選択\nすべて選択"),
        make(Cmd::EditFind, "検索(&F)...", "Ctrl+F", K(Qt::CTRL | Qt::Key_F), "指定した文字列の検索\n検索"),
        make(Cmd::EditFindPrevious, "前を検索(R)", "Shift+F3", K(Qt::SHIFT | Qt::Key_F3), "前を検索します"),
        make(Cmd::EditFindNext, "次を検索(&I)", "F3", K(Qt::Key_F3), "次を検索します"),
        make(Cmd::EditReplace, "置換(&E)", "Ctrl+H", K(Qt::CTRL | Qt::Key_H), "指定した文字列を他の文字列で置換\n置換"),
        make(Cmd::EditJump, "ジャンプ(&G)...", "Ctrl+G", K(Qt::CTRL | Qt::Key_G), "指定した行（列）へジャンプします\nジャンプ"),
        // View
        make(Cmd::ViewToolBar, "ﾒｲﾝ　ﾂｰﾙ ﾊﾞｰ(&T)", "", none, "ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示/非表示"),
        make(Cmd::ViewDataSetBar, "ﾃﾞｰﾀｾｯﾄ　ﾂｰﾙﾊﾞｰ(&D)", "", none, "ﾃﾞｰﾀｾｯﾄ ﾂｰﾙﾊﾞｰの表示/非表示"),
        make(Cmd::ViewFileList, "ﾌｧｲﾙﾘｽﾄ ﾂｰﾙﾊﾞｰﾞ(&F)", "", none, "ﾌｧｲﾙﾘｽﾄの表示/非表示"),
        make(Cmd::ViewStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", "", none, "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"),
        make(Cmd::ViewDatabasePanel, "テーブルリスト", "F8", K(Qt::Key_F8), "テーブルリストを表示する\nテーブルリスト(F8)"),
        make(Cmd::ViewObjectPanel, "テーブル情報", "F9", K(Qt::Key_F9), "テーブルの詳細情報\nテーブル情報(F9)"),
        // Query
        make(Cmd::TableList, "テーブルリスト ...", "", none, "今のデータベースにあるテーブルなどの一覧"),
        make(Cmd::FieldList, "フィールドリスト", "", none, "データベース内のフィールド一覧"),
        make(Cmd::ProcedureList, "プロシージャ ...", "", none, "今のデータベースにあるプロシージャなどの一覧"),
        make(Cmd::ObjectList, "オブジェクトリスト ...", "", none, "今のデータベースにあるオブジェクトの一覧"),
        make(Cmd::FieldSearch, "フィールド検索", "", none, "データベース内にフィールドを検索\nフィールド検索"),
        make(Cmd::Execute, "実行(&E)", "F5", K(Qt::Key_F5), "クエリを実行します\n実行(F5)"),
        make(Cmd::Cancel, "実行のキャンセル(&C)", "Esc", K(Qt::Key_Escape), "実行中のクエリーをキャンセルします\nキャンセル(Esc)"),
        make(Cmd::Commit, "COMMIT", "F11", K(Qt::Key_F11), "現在継続中のトランザクション操作を確定します\nCOMMIT(F11)"),
        make(Cmd::Rollback, "ROLLBACK", "F12", K(Qt::Key_F12), "現在継続中のトランザクション操作を取り消します\nROLLBACK(F12)"),
        make(Cmd::Format, "整形", "F7", K(Qt::Key_F7), "SQL文を整形する。\n整形(F7)"),
        make(Cmd::FormatOptions, "整形設定(&S)", "", none, "SQL整形のオプションを表示する\n整形設定"),
        make(Cmd::ParamSubstitute, "パラメータ置換", "Ctrl+R", K(Qt::CTRL | Qt::Key_R), "SQL文のパラメータを指定された値に置き換える\nパラメータ置換(Ctrl+R)"),
        make(Cmd::EditorFont, "フォント(&F)", "", none, "クエリエディタのフォントを変更します"),
        // Record
        make(Cmd::SortAscending, "昇順で並べ替え(&A)", "", none, "選択した列で昇順に並べ替えます\n昇順で並べ替え"),
        make(Cmd::SortDescending, "降順で並べ替え(&V)", "", none, "選択した列で降順に並べ替えます\n降順で並べ替え"),
        make(Cmd::SortRowNumber, "行番号並べ替え(&L)", "", none, "行番号の順に並べ替えます\n行番号並べ替え"),
        make(Cmd::SortCustom, "並べ替えカスタマイズ(&C)", "", none, "並べ替えの条件を指定します\n並べ替えカスタマイズ"),
        make(Cmd::ColumnWidth, "列の幅(&C)...", "", none, "列の幅を指定します\n列の幅"),
        make(Cmd::HideColumns, "列を表示しない(&G)", "", none, "選択した列を表示しません"),
        make(Cmd::ShowColumns, "列を再表示(&U)", "", none, "選択した範囲の列を再表示します"),
        make(Cmd::RowHeight, "行の高さ(&R)...", "", none, "行の高さを指定します"),
        make(Cmd::HideRows, "行を表示しない(&H)", "", none, "選択した行を表示しません"),
        make(Cmd::ShowRows, "行を再表示(&V)", "", none, "選択した範囲の行を再表示します"),
        make(Cmd::ShowAll, "すべて再表示(&A)", "", none, "すべての行と列を再表示します"),
        make(Cmd::CopyHeader, "ヘッダ部 コピー", "Ctrl+D", K(Qt::CTRL | Qt::Key_D), "ヘッダ部分をクリップボードにコピーします\nヘッダコピー(Ctrl+D)"),
        make(Cmd::CopyHtml, "フォーマット付き コピー", "Ctrl+E", K(Qt::CTRL | Qt::Key_E), "選択したデータとヘッダ部をHTMLフォーマットでコピー\nフォーマットコピー(Ctrl+E)"),
        make(Cmd::SelectRowsByKey, "行データ抽出（キー条件）(&1)", "", none, "選択した行をキー条件で抽出するSELECT文を作成します\n行データ抽出（キー条件）"),
        make(Cmd::SelectRowsByItems, "行データ抽出（項目条件）(&2)", "", none, "選択した項目を条件に行を抽出するSELECT文を作成します\n行データ抽出（項目条件）"),
        make(Cmd::SelectColumnsByKey, "列データ抽出（キー条件）(&3)", "", none, "選択した列をキー条件で抽出するSELECT文を作成します\n列データ抽出（キー条件）"),
        make(Cmd::SelectColumnsByItems, "列データ抽出（項目条件）(&4)", "", none, "選択した項目を条件に列を抽出するSELECT文を作成します\n列データ抽出（項目条件）"),
        make(Cmd::SqlInsert, "SQL(&Insert)文作成", "", none, "選択したデータのINSERT文を作成します\nINSERT文作成"),
        make(Cmd::SqlUpdate, "SQL(&Update)文作成", "", none, "選択したデータのUPDATE文を作成します\nUPDATE文作成"),
        make(Cmd::SqlDelete, "SQL(&Delete)文作成", "", none, "選択したデータのDELETE文を作成します\nDELETE文作成"),
        make(Cmd::SetCurrentDate, "現在日付にセット", "Ctrl+;(セミコロン)", K(Qt::CTRL | Qt::Key_Semicolon), "選択したセルに現在の日付をセットします\n現在日付にセット(Ctrl+;)"),
        make(Cmd::SetCurrentTime, "現在時刻をセット", "Ctrl+:(コロン)", K(Qt::CTRL | Qt::Key_Colon), "選択したセルに現在の時刻をセットします\n現在時刻をセット(Ctrl+:)"),
        make(Cmd::SetCurrentDateTime, "日時（日付+時刻）をセット", "Ctrl+Shift+;(セミコロン)", K(Qt::CTRL | Qt::SHIFT | Qt::Key_Semicolon), "選択したセルに現在の日時をセットします\n日時をセット(Ctrl+Shift+;)"),
        make(Cmd::SetExcluded, "除外項目にセット", "Ctrl+8(Number)", K(Qt::CTRL | Qt::Key_8), "選択したセルをSQL文から除外します\n除外項目にセット(Ctrl+8)"),
        make(Cmd::ClearExcluded, "除外項目を戻す", "Ctrl+Shift+8(Number)", K(Qt::CTRL | Qt::SHIFT | Qt::Key_8), "選択したセルの除外を取り消します\n除外項目を戻す(Ctrl+Shift+8)"),
        make(Cmd::SetFunction, "関数をセット", "Ctrl+9(Number)", K(Qt::CTRL | Qt::Key_9), "選択したセルにデータベース関数をセットします\n関数をセット(Ctrl+9)"),
        make(Cmd::ClearFunction, "関数を戻す", "Ctrl+Shift+9(Number)", K(Qt::CTRL | Qt::SHIFT | Qt::Key_9), "選択したセルの関数を取り消します\n関数を戻す(Ctrl+Shift+9)"),
        make(Cmd::SetNull, "NULLにセット", "Ctrl+0(Number)", K(Qt::CTRL | Qt::Key_0), "選択したセルにNULLをセットします\nNULLにセット(Ctrl+0)"),
        make(Cmd::OtherDataSet, "その他データセット", "Ctrl+ -(Minus)", K(Qt::CTRL | Qt::Key_Minus), "選択したセルにデータを一括でセットします\nその他データセット(Ctrl+-)"),
        make(Cmd::AddRow, "データ追加", "Insert", K(Qt::Key_Insert), "行データを追加します\n行データ追加(Insert)"),
        make(Cmd::DeleteRows, "データ削除", "Ctrl+Delete", K(Qt::CTRL | Qt::Key_Delete), "選択した行データを削除します\n行データ削除(Ctrl+Delete)"),
        make(Cmd::WriteChanges, "変更したデータを更新", "Ctrl+U", K(Qt::CTRL | Qt::Key_U), "追加、更新、削除をしたデータをDBに反映します\n変更したデータを更新(Ctrl+U)"),
        make(Cmd::ChangesSql, "変更したデータのSQL文作成", "Ctrl+M", K(Qt::CTRL | Qt::Key_M), "追加、更新、削除をしたデータの更新SQL文を作成します\n変更したデータのSQL文作成(Ctrl+M)"),
        make(Cmd::ExportFixed, "固定長ファイル(&F)", "", none, "データを固定長ファイルへ出力します"),
        make(Cmd::ExportTab, "タブ区切ファイル(&T)", "", none, "データをタブ区切ファイルへ出力します"),
        make(Cmd::ExportCsv, "カンマ区切(CSV)ファイル(&C)", "", none, "データをカンマ区切(CSV)ファイルへ出力します"),
        make(Cmd::ExportInsert, "INSERT文を出力(&I)", "", none, "データをINSERT文でファイルへ出力します"),
        make(Cmd::GridFont, "フォント(&F)", "", none, "データ部とデータベース情報のフォントを変更します"),
        make(Cmd::DataInfo, "データ情報", "Ctrl+I", K(Qt::CTRL | Qt::Key_I), "結果データのオブジェクト情報\nデータ情報(Ctrl+I)"),
        // Tools, window, help
        make(Cmd::Options, "オプション(&O)", "", none, "オプションのダイアログを表示します\nオプション"),
        make(Cmd::WindowCascade, "重ねて表示(&C)", "", none, "ｳｨﾝﾄﾞｳを重ねて表示\n重ねて表示"),
        make(Cmd::WindowTile, "並べて表示(&T)", "", none, "ｳｨﾝﾄﾞｳを並べて表示\n並べて表示"),
        make(Cmd::WindowArrange, "ｱｲｺﾝの整列(&A)", "", none, "ｳｨﾝﾄﾞｳの下にｱｲｺﾝを整列\nｱｲｺﾝの整列"),
        make(Cmd::HelpContents, "目次(&C)", "", none, "ﾍﾙﾌﾟの目次を表示\n目次"),
        make(Cmd::About, "Qorvane のﾊﾞｰｼﾞｮﾝ情報(&A)...", "", none, "ﾌﾟﾛｸﾞﾗﾑ情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報"),
        make(Cmd::NextPane, "次のペイン", "F6", K(Qt::Key_F6), "次のｳｨﾝﾄﾞｳ ｳｨﾝﾄﾞｳに切り替え\n次のﾍﾟｲﾝ"),
        make(Cmd::PreviousPane, "前のペイン", "Shift+F6", K(Qt::SHIFT | Qt::Key_F6), "前のｳｨﾝﾄﾞｳ ｳｨﾝﾄﾞｳに切り替え\n前のﾍﾟｲﾝ"),
    };
}

} // namespace

namespace CommandTable {

const QList<CommandInfo> &all()
{
    static const QList<CommandInfo> table = build();
    return table;
}

const CommandInfo &find(int id)
{
    static const QHash<int, qsizetype> index = [] {
        QHash<int, qsizetype> h;
        for (qsizetype i = 0; i < all().size(); ++i)
            h.insert(all().at(i).id, i);
        return h;
    }();
    static const CommandInfo unknown;
    const auto it = index.constFind(id);
    return it == index.cend() ? unknown : all().at(*it);
}

} // namespace CommandTable

#include "ProbeProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

QString sqliteConnection(const QString &path)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + path;
}

const char *const RunSql =
    "CREATE TABLE items(id INTEGER PRIMARY KEY, name TEXT, note TEXT);"
    "INSERT INTO items VALUES(1, 'りんご', NULL), (2, 'b', 'x');"
    "CREATE TABLE nokey(a TEXT);"
    "INSERT INTO nokey VALUES('z');"
    "CREATE VIEW v AS SELECT id FROM items;";

// The elapsed time differs from run to run; its form does not: "時間： H:M:SS.ms (SQL: ...)",
// the milliseconds without leading zeros. The line is replaced by "pane 2: <time>".
QString withTimeChecked(const QString &out)
{
    static const QRegularExpression time(QStringLiteral(
        "^pane 2: 時間： \\d+:[0-5]?\\d:[0-5]\\d\\.(0|[1-9]\\d{0,2}) "
        "\\(SQL: \\d+:[0-5]?\\d:[0-5]\\d\\.(0|[1-9]\\d{0,2})\\)$"),
        QRegularExpression::MultilineOption);
    QString text = out;
    text.replace(time, QStringLiteral("pane 2: <time>"));
    return text;
}

QString objectInfo(const QString &name, const QString &type, int rows, const QString &mode)
{
    return QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ：  %1\\r\\n種　　類：  %2\\r\\nデータ数：  %3\\r\\n編集可能：  %4\\r\\n")
        .arg(name, type)
        .arg(rows)
        .arg(mode);
}

} // namespace

// The message-tab lines, then per result tab "## N", the column names and the rows as the grid
// shows them, then the four status panes as the execution cycle leaves them.
TEST(RunProbe, ShowsMessagesTabsAndPanesOfASqliteExecution)
{
    QTemporaryDir dir;
    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, RunSql));
    struct Case
    {
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {"SELECT * FROM items",
         "(2件が処理されました)\n## 1\nid\tname\tnote\n1\tりんご\t<NULL>\n2\tb\tx\n"
         "pane 0: 実行が完了しました\npane 1: データ数：2\npane 2: <time>\npane 3: "
             + objectInfo("items", "テーブル", 2, "編集可") + "\n"},
        // The target table resolves to its stored name; a view and a table without a key
        // cannot be edited the same way.
        {"select *\r\nfrom ITEMS where id = 2",
         "(1件が処理されました)\n## 1\nid\tname\tnote\n2\tb\tx\n"
         "pane 0: 実行が完了しました\npane 1: データ数：1\npane 2: <time>\npane 3: "
             + objectInfo("items", "テーブル", 1, "編集可") + "\n"},
        {"SELECT * FROM v WHERE id = 1",
         "(1件が処理されました)\n## 1\nid\n1\n"
         "pane 0: 実行が完了しました\npane 1: データ数：1\npane 2: <time>\npane 3: "
             + objectInfo("v", "ビュー", 1, "読取専用") + "\n"},
        {"SELECT * FROM nokey",
         "(1件が処理されました)\n## 1\na\nz\n"
         "pane 0: 実行が完了しました\npane 1: データ数：1\npane 2: <time>\npane 3: "
             + objectInfo("nokey", "テーブル", 1, "追加のみ") + "\n"},
        // One message line per result, one tab per result with rows; the first tab is shown.
        // The target is read from the first " FROM " up to " ORDER BY ": nokey.
        {"INSERT INTO nokey VALUES('y');\r\nSELECT a FROM nokey ORDER BY a;\r\n"
         "SELECT id FROM v ORDER BY id",
         "(1件が処理されました)\n(2件が処理されました)\n(2件が処理されました)\n"
         "## 1\na\ny\nz\n## 2\nid\n1\n2\n"
         "pane 0: 実行が完了しました\npane 1: データ数：2\npane 2: <time>\npane 3: "
             + objectInfo("nokey", "テーブル", 2, "追加のみ") + "\n"},
        // A query without rows still gets its tab, with the header alone.
        {"SELECT * FROM items WHERE id > 100",
         "(0件が処理されました)\n## 1\nid\tname\tnote\n"
         "pane 0: 実行が完了しました\npane 1: データ数：0\npane 2: <time>\npane 3: "
             + objectInfo("items", "テーブル", 0, "編集可") + "\n"},
        // Values from a parameter note: the text before the note runs with them. The key
        // column is not in the result, so it cannot be edited.
        {"SELECT name FROM items WHERE id = :id パラメーター： ( id:=1)",
         "(1件が処理されました)\n## 1\nname\nりんご\n"
         "pane 0: 実行が完了しました\npane 1: データ数：1\npane 2: <time>\npane 3: "
             + objectInfo("items", "テーブル", 1, "読取専用") + "\n"},
        // Only counts: the message tab alone, its total in pane 1.
        {"UPDATE items SET note = 'n' WHERE id = 9",
         "(0件が処理されました)\n"
         "pane 0: 実行が完了しました\npane 1: 総データ数：0\npane 2: <time>\npane 3: \n"},
        {"UPDATE items SET note = 'n'",
         "(2件が処理されました)\n"
         "pane 0: 実行が完了しました\npane 1: 総データ数：2\npane 2: <time>\npane 3: \n"},
        {"CREATE TABLE t2(a INTEGER)",
         "コマンドは正常に終了しました\n"
         "pane 0: 実行が完了しました\npane 1: 総データ数：0\npane 2: <time>\npane 3: \n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(visible(c.input.toUtf8()).toStdString());
        const ProbeOutput result = ProbeProcess::run({"run", connection}, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(withTimeChecked(result.outText()), c.expected);
        EXPECT_TRUE(result.err.isEmpty()) << result.errText().toStdString();
    }
}

// Many rows come through whole, past the 500-row progress steps.
TEST(RunProbe, ReadsEveryRowOfALargeResult)
{
    QTemporaryDir dir;
    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, RunSql));
    const int count = 20000;
    const ProbeOutput result = ProbeProcess::run(
        {"run", connection},
        QStringLiteral("WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c"
                       " WHERE n < %1) SELECT n, '行' || n AS t FROM c")
            .arg(count));
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
    QString expected = QStringLiteral("(%1件が処理されました)\n## 1\nn\tt\n").arg(count);
    for (int n = 1; n <= count; ++n)
        expected += QStringLiteral("%1\t行%1\n").arg(n);
    expected += QStringLiteral("pane 0: 実行が完了しました\npane 1: データ数：%1\npane 2: <time>\npane 3: ")
                    .arg(count)
                + objectInfo("不明", "不明", count, "読取専用") + "\n";
    EXPECT_TRUE(withTimeChecked(result.outText()) == expected);
}

// A failing statement: exit 1, pane 0 "エラーが発生しました", the error lines in the message
// tab after the lines of the results read before it, and the tabs made before it kept.
TEST(RunProbe, ErrorsEndUpInTheMessageTabAndPaneZero)
{
    QTemporaryDir dir;
    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, RunSql));

    const ProbeOutput syntax = ProbeProcess::run({"run", connection}, QByteArray("SELEC 1"));
    ASSERT_TRUE(syntax.finished) << syntax.failure.toStdString();
    EXPECT_EQ(syntax.exitCode, 1);
    EXPECT_FALSE(syntax.outText().contains(QStringLiteral("\n## ")));
    EXPECT_TRUE(syntax.outText().contains(QStringLiteral("\npane 0: エラーが発生しました\n")))
        << visible(syntax.out).toStdString();

    const ProbeOutput later = ProbeProcess::run({"run", connection},
                                                QByteArray("SELECT 1 AS a; SELECT * FROM nowhere"));
    ASSERT_TRUE(later.finished) << later.failure.toStdString();
    EXPECT_EQ(later.exitCode, 1);
    const QStringList lines = later.outText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 8) << visible(later.out).toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("(1件が処理されました)"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("nowhere"))) << lines[1].toStdString();
    EXPECT_TRUE(later.outText().contains(QStringLiteral("\n## 1\na\n1\npane 0: エラーが発生しました\n")))
        << visible(later.out).toStdString();

    QTemporaryDir empty;
    const ProbeOutput missing = ProbeProcess::run(
        {"run", sqliteConnection(empty.filePath(QStringLiteral("missing.db")))},
        QByteArray("SELECT 1"));
    ASSERT_TRUE(missing.finished) << missing.failure.toStdString();
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty()) << visible(missing.out).toStdString();
    EXPECT_TRUE(missing.errText().startsWith(QStringLiteral("データベースエラー：\n\tコード： ")))
        << visible(missing.err).toStdString();
}

// "CommentOut" 0 removes comments before the text is sent, without regard to quotes; 1 sends
// them. "AutoCommit" 0 begins a transaction, which closing the session commits.
TEST(RunProbe, CommentOutAndAutoCommitOptions)
{
    QTemporaryDir dir;
    const QString connection = sqliteConnection(TestSupport::makeSqliteFile(dir, RunSql));

    const char *const quoted = "SELECT '--x' AS a";
    const ProbeOutput kept =
        ProbeProcess::run({"run", "--comment-out", "1", connection}, QByteArray(quoted));
    ASSERT_TRUE(kept.finished) << kept.failure.toStdString();
    EXPECT_EQ(kept.exitCode, 0) << visible(kept.out).toStdString();
    EXPECT_TRUE(kept.outText().startsWith(QStringLiteral("(1件が処理されました)\n## 1\na\n--x\n")))
        << visible(kept.out).toStdString();

    const ProbeOutput removed =
        ProbeProcess::run({"run", "--comment-out", "0", connection}, QByteArray(quoted));
    ASSERT_TRUE(removed.finished) << removed.failure.toStdString();
    EXPECT_EQ(removed.exitCode, 1) << visible(removed.out).toStdString();
    EXPECT_TRUE(removed.outText().contains(QStringLiteral("pane 0: エラーが発生しました\n")));

    const ProbeOutput heading = ProbeProcess::run(
        {"run", "--comment-out", "0", connection},
        QByteArray("-- 見出し\r\nSELECT name FROM items WHERE id = 1"));
    ASSERT_TRUE(heading.finished) << heading.failure.toStdString();
    EXPECT_EQ(heading.exitCode, 0) << visible(heading.out).toStdString();
    EXPECT_TRUE(heading.outText().startsWith(QStringLiteral("(1件が処理されました)\n## 1\nname\nりんご\n")))
        << visible(heading.out).toStdString();

    const ProbeOutput inserted = ProbeProcess::run({"run", "--autocommit", "0", connection},
                                                   QByteArray("INSERT INTO nokey VALUES('後')"));
    ASSERT_TRUE(inserted.finished) << inserted.failure.toStdString();
    EXPECT_EQ(inserted.exitCode, 0) << visible(inserted.out).toStdString();
    const ProbeOutput read =
        ProbeProcess::run({"sql", connection}, QByteArray("SELECT a FROM nokey ORDER BY rowid"));
    EXPECT_EQ(read.outText(), QStringLiteral("# result 1\na\n202\nz\n後\n"));
}

TEST(RunProbe, BadUsageExitsWithTwoAndOneLine)
{
    const QStringList cases[] = {
        {"run"},
        {"run", "Provider=SQLite;Data Source=a", "Provider=SQLite;Data Source=b"},
        {"run", "--autocommit", "2", "Provider=SQLite;Data Source=a"},
        {"run", "--comment-out", "Provider=SQLite;Data Source=a"},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args, QByteArray("SELECT 1"));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}

// The cycle on PostgreSQL through psqlODBC: several results, a keyed table that can be edited.
TEST(RunProbe, ShowsAPostgresExecution)
{
    SKIP_WITHOUT_POSTGRES();
    const QString connection = TestSupport::postgresConnection();
    const ProbeOutput setUp = ProbeProcess::run(
        {"sql", connection},
        QStringLiteral("DROP TABLE IF EXISTS probe_run_items;"
                       "CREATE TABLE probe_run_items(id integer PRIMARY KEY, name text);"
                       "INSERT INTO probe_run_items VALUES (1, 'りんご'), (2, NULL);"));
    ASSERT_EQ(setUp.exitCode, 0) << setUp.errText().toStdString();

    const ProbeOutput keyed = ProbeProcess::run(
        {"run", connection}, QByteArray("SELECT * FROM probe_run_items ORDER BY id"));
    const ProbeOutput batch = ProbeProcess::run(
        {"run", connection},
        QStringLiteral("UPDATE probe_run_items SET name = 'x' WHERE id = 2;"
                       "SELECT 1 AS a, NULL::text AS b, 'テキスト' AS c; SELECT 2 AS d"));
    ProbeProcess::run({"sql", connection}, QByteArray("DROP TABLE probe_run_items"));

    ASSERT_TRUE(keyed.finished) << keyed.failure.toStdString();
    EXPECT_EQ(keyed.exitCode, 0) << keyed.errText().toStdString();
    EXPECT_EQ(withTimeChecked(keyed.outText()),
              "(2件が処理されました)\n## 1\nid\tname\n1\tりんご\n2\t<NULL>\n"
              "pane 0: 実行が完了しました\npane 1: データ数：2\npane 2: <time>\npane 3: "
                  + objectInfo("probe_run_items", "テーブル", 2, "編集可") + "\n");

    ASSERT_TRUE(batch.finished) << batch.failure.toStdString();
    EXPECT_EQ(batch.exitCode, 0) << batch.errText().toStdString();
    EXPECT_EQ(withTimeChecked(batch.outText()),
              "(1件が処理されました)\n(1件が処理されました)\n(1件が処理されました)\n"
              "## 1\na\tb\tc\n1\t<NULL>\tテキスト\n## 2\nd\n2\n"
              "pane 0: 実行が完了しました\npane 1: データ数：1\npane 2: <time>\npane 3: "
                  + objectInfo("不明", "不明", 1, "読取専用") + "\n");
}

// On PostgreSQL: a failing statement ends in the message tab and pane 0; with "AutoCommit" 0 a
// change is inside a transaction that closing the session commits.
TEST(RunProbe, PostgresErrorsAndTransactions)
{
    SKIP_WITHOUT_POSTGRES();
    const QString connection = TestSupport::postgresConnection();
    const ProbeOutput setUp = ProbeProcess::run(
        {"sql", connection},
        QStringLiteral("DROP TABLE IF EXISTS probe_run_tx; CREATE TABLE probe_run_tx(a text);"));
    ASSERT_EQ(setUp.exitCode, 0) << setUp.errText().toStdString();

    const ProbeOutput failed = ProbeProcess::run(
        {"run", connection}, QByteArray("SELECT * FROM probe_run_no_such_table"));
    const ProbeOutput inserted =
        ProbeProcess::run({"run", "--autocommit", "0", connection},
                          QStringLiteral("INSERT INTO probe_run_tx VALUES ('日本')"));
    const ProbeOutput read =
        ProbeProcess::run({"sql", connection}, QByteArray("SELECT a FROM probe_run_tx"));
    ProbeProcess::run({"sql", connection}, QByteArray("DROP TABLE probe_run_tx"));

    ASSERT_TRUE(failed.finished) << failed.failure.toStdString();
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.outText().contains(QStringLiteral("probe_run_no_such_table")))
        << visible(failed.out).toStdString();
    EXPECT_FALSE(failed.outText().contains(QStringLiteral("\n## ")));
    EXPECT_TRUE(failed.outText().contains(QStringLiteral("\npane 0: エラーが発生しました\n")))
        << visible(failed.out).toStdString();

    EXPECT_EQ(inserted.exitCode, 0) << visible(inserted.out).toStdString();
    EXPECT_TRUE(inserted.outText().startsWith(QStringLiteral("(1件が処理されました)\n")));
    EXPECT_EQ(read.outText().section(QLatin1Char('\n'), 3), QStringLiteral("日本\n"))
        << visible(read.out).toStdString();
}

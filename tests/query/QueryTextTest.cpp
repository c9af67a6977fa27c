#include "platform/AppSettings.h"
#include "query/CDlgRename.h"
#include "query/CQueryExecution.h"
#include "query/CResultMessage.h"
#include "query/TargetTable.h"

#include <QLineEdit>
#include <gtest/gtest.h>

TEST(TargetTable, name_after_from_or_empty_for_joins_unions_and_lists)
{
    const QList<std::pair<QString, QString>> cases = {
        {"SELECT * FROM [Orders] WHERE id = 1", "Orders"},
        {"select *\r\nfrom dbo.T order by 1", "dbo.T"},
        {"SELECT a FROM t GROUP BY a", "t"},
        {"SELECT * FROM t\tWHERE x = 1", "t"},
        {"SELECT * FROM a, b", ""},
        {"SELECT * FROM a JOIN b ON a.id = b.id", ""},
        {"SELECT * FROM (SELECT * FROM t) x", ""},
        {"SELECT 1 FROM a UNION SELECT 2 FROM b", ""},
        {"FROM t", ""},
        {"SELECT 1", ""},
        {"SELECT * FROM ", ""},
        {"DELETE FROM t WHERE id = 3", "t"},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(TargetTableOf(text), expected) << text.toStdString();
}

TEST(QueryTexts, elapsed_times_read_hours_minutes_seconds_and_milliseconds)
{
    EXPECT_EQ(CQueryExecution::ElapsedText(75), "0:1:15");
    EXPECT_EQ(CQueryExecution::RunningText(3725412), "時間： 1:2:05.412");
    EXPECT_EQ(CQueryExecution::FinishedText(2007, 7), "時間： 0:0:02.7 (SQL: 0:0:00.7)");
}

TEST(QueryTexts, first_word_decides_whether_a_text_is_a_query)
{
    EXPECT_FALSE(CQueryExecution::IsNotSelect("  \r\nSELECT 1", true));
    EXPECT_FALSE(CQueryExecution::IsNotSelect("select*from t", false));
    // A leading comment hides the first word only when comments are not removed first.
    EXPECT_FALSE(CQueryExecution::IsNotSelect("-- note\r\nSELECT 1", true));
    EXPECT_TRUE(CQueryExecution::IsNotSelect("-- note\r\nSELECT 1", false));
    EXPECT_TRUE(CQueryExecution::IsNotSelect("UPDATE t SET a = 1", true));
    EXPECT_TRUE(CQueryExecution::IsNotSelect("WITH x AS (SELECT 1) SELECT * FROM x", true));
}

TEST(ResultMessage, appended_text_becomes_trimmed_non_blank_lines)
{
    EXPECT_EQ(CResultMessage::messageLines("a\r\nb"), QStringList({"a", "b"}));
    EXPECT_EQ(CResultMessage::messageLines("x\ny"), QStringList({"x", "y"}));
    EXPECT_EQ(CResultMessage::messageLines("(3件が処理されました)\r\n\r\n"),
              QStringList({"(3件が処理されました)"}));
    CResultMessage page;
    page.AppendMessage("(1件が処理されました)\r\n\r\n");
    page.AppendMessage("\n  err one \r\n\r\nerr two");
    EXPECT_EQ(page.messageText(), "(1件が処理されました)\r\nerr one\r\nerr two\r\n");
}

TEST(CDlgRename, proposes_the_target_table_and_keeps_the_prefix)
{
    CDlgRename::setAsker([](CDlgRename &dialog) {
        EXPECT_EQ(dialog.currentEdit()->text(), "ｸｴﾘ 2");
        EXPECT_TRUE(dialog.currentEdit()->isReadOnly());
        EXPECT_EQ(dialog.newEdit()->text(), "Orders");
        EXPECT_EQ(dialog.newEdit()->maxLength(), 64);
        return true;
    });
    QString title = "Sales - ｸｴﾘ 2";
    EXPECT_TRUE(CDlgRename::RenameTitle(nullptr, title, "Orders"));
    EXPECT_EQ(title, "Sales - Orders");
    QString plain = "接続無";
    EXPECT_FALSE(CDlgRename::RenameTitle(nullptr, plain, "Orders"));
    EXPECT_EQ(plain, "接続無");
    CDlgRename::setAsker({});
}

#include "sql/ScriptPreparation.h"

#include <gtest/gtest.h>

using namespace ScriptPreparation;

namespace {

QStringList names(const QList<ParamInfo> &params)
{
    QStringList result;
    for (const auto &p : params)
        result << p.name;
    return result;
}

} // namespace

TEST(RemoveComments, strips_line_and_block_comments_by_the_symbols)
{
    struct Case
    {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {"select 1 -- note\r\nfrom t", "select 1 \r\nfrom t"},
        {"select /* a\r\nb */1", "select 1"},
        {"select 1 /* never closed", "select 1 "},
        {"select 1 --", "select 1 "},
        // Quotes are not considered.
        {"select '--x' from t", "select '"},
        {"a/**/b--c\r\n--d\r\ne", "ab\r\n\r\ne"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RemoveComments(QString::fromUtf8(c.text), CommentSymbols{}),
                  QString::fromUtf8(c.expected))
            << c.text;
}

TEST(RemoveComments, symbol_matching_follows_case_sensitivity)
{
    CommentSymbols symbols;
    symbols.lineComment = "REM";
    symbols.blockOpen = "<c>";
    symbols.blockClose = "</C>";
    EXPECT_EQ(RemoveComments("a rem x\r\nb <C>y</c>z", symbols), "a \r\nb z");
    symbols.caseSensitive = true;
    EXPECT_EQ(RemoveComments("a rem x\r\nb <C>y</c>z", symbols), "a rem x\r\nb <C>y</c>z");
    EXPECT_EQ(RemoveComments("a REM x\r\nb <c>y</C>z", symbols), "a \r\nb z");
}

TEST(DetectParameters, finds_distinct_names_in_order)
{
    struct Case
    {
        const char *text;
        QStringList expected;
    };
    const Case cases[] = {
        {"WHERE a = :a AND b = @b", {"a", "b"}},
        {"WHERE a = :a OR b = :A", {"a"}},
        {"select 'x:y' from t", {}},
        {"select x::int, @@ROWCOUNT", {}},
        {"where id in (:id)", {"id"}},
        {"where id = :id+1", {"id+1"}},
        {"where a = :a\r\n and b=:b;", {"a", "b"}},
        {"where a=:\"my name\" and b = :b", {"my name", "b"}},
        {"set x :=1", {}},
        {"select :", {}},
        {"where \"col:x\" = 1 and y = :y", {"y"}},
        // One quote flag for the three quote characters, not paired.
        {"where a = `x' and b = :b", {"b"}},
        {"where a = `x and b = :b", {}},
        {"where a=:a,b=:b)c=@c\tand d=:d", {"a", "b", "c", "d"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(names(DetectParameters(QString::fromUtf8(c.text))), c.expected) << c.text;
}

TEST(DetectParameters, fills_the_records_and_stops_at_255)
{
    QString text = "select ";
    for (int i = 1; i <= 1000; ++i)
        text += QString(":p%1, ").arg(i);
    const auto found = DetectParameters(text);
    ASSERT_EQ(found.size(), MaxParameters);
    EXPECT_EQ(found.first().name, "p1");
    EXPECT_EQ(found.last().name, "p255");
    EXPECT_EQ(found.last().index, 255);
    EXPECT_EQ(found.first().direction, 1);
    EXPECT_EQ(found.first().type, 129);
    EXPECT_EQ(found.first().size, 510);
}

TEST(DetectParameters, refuses_names_longer_than_the_record_holds)
{
    const QString longName(300, QLatin1Char('n'));
    EXPECT_TRUE(DetectParameters(":" + longName + " and :b").size() == 1);
    EXPECT_EQ(DetectParameters(":" + QString(259, 'n')).size(), 1);
}

TEST(DetectParameters, ignores_parameters_in_removed_comments)
{
    const QString text = "select /* :hidden */ * from t where a = :a -- :b\r\n";
    EXPECT_EQ(names(DetectParameters(RemoveComments(text, CommentSymbols{}))),
              QStringList{"a"});
}

TEST(ParseParamNote, accepts_a_matching_note)
{
    const QString text = QStringLiteral("SELECT * FROM T WHERE id = :id パラメーター： ( id:=10)");
    const auto detected = DetectParameters(text);
    ASSERT_EQ(names(detected), QStringList{"id"});
    const auto note = ParseParamNote(text, detected);
    ASSERT_TRUE(note.succeeded);
    EXPECT_EQ(note.statement, "SELECT * FROM T WHERE id = :id ");
    EXPECT_EQ(note.values, (QList<ParamValue>{{"id", "10", true}}));
}

TEST(ParseParamNote, reads_several_items_in_detection_order)
{
    const QString text =
        QStringLiteral("where a=:a and b=@b\r\nパラメーター： ( b:= x y )( a:=1)");
    const auto note = ParseParamNote(text, DetectParameters(text));
    ASSERT_TRUE(note.succeeded);
    EXPECT_EQ(note.values, (QList<ParamValue>{{"a", "1", true}, {"b", "x y", true}}));
}

TEST(ParseParamNote, rejects_notes_that_do_not_match)
{
    const char *texts[] = {
        "where id = :id",                              // no note
        "where id = :id パラメーター：[(id:=10)]",      // the name loses its first letter
        "where id = :id パラメーター： ( ID:=10)",      // names compare case-sensitively
        "where id = :id and x = :x パラメーター： ( id:=10)", // too few items
        "where id = :id パラメーター： ( id:=10) ( x:=1)",    // too many items
        "where id = :id パラメーター： ( id=10)",        // no pair
        "where id = :id パラメーター： ( id:=1:=2)",     // three pieces
        "where id = :id パラメーター：",
    };
    for (const char *t : texts) {
        const QString text = QString::fromUtf8(t);
        EXPECT_FALSE(ParseParamNote(text, DetectParameters(text)).succeeded) << t;
    }
}

TEST(SubstituteParameters, writes_values_into_the_text)
{
    struct Case
    {
        const char *text;
        QList<CommandParam> params;
        const char *expected;
    };
    const Case cases[] = {
        {"where n = :n", {{"n", 129, 1, 510, "O'Neil"}}, "where n = 'O'Neil'"},
        {"where n = :n", {{"n", 12, 1, 0, "O'Neil"}}, "where n = O'Neil"},
        {"a=:A and b=@a;c=:ab", {{"a", 12, 1, 0, "1"}}, "a=1 and b=1;c=:ab"},
        {"x = :x", {{"x", 129, 1, 510, ":x"}}, "x = ':x'"},
        {"x = :x, y = :y", {{"x", 12, 1, 0, ":y"}, {"y", 12, 1, 0, "2"}}, "x = 2, y = 2"},
        {"select v::int, :int", {{"int", 12, 1, 0, "7"}}, "select v::int, 7"},
        {"where id = (:id)", {{"id", 12, 1, 0, "5"}}, "where id = (5)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SubstituteParameters(QString::fromUtf8(c.text), c.params),
                  QString::fromUtf8(c.expected))
            << c.text;
}

TEST(ScriptPreparation, dialog_rows_take_remembered_values_by_name)
{
    const auto detected = DetectParameters("where a=:a and b=:B and c=:c");
    const QList<ParamValue> remembered{{"b", "2", false}, {"z", "9", true}};
    EXPECT_EQ(initialDialogValues(detected, remembered),
              (QList<ParamValue>{{"a", "", true}, {"B", "2", false}, {"c", "", true}}));
    const auto params = makeCommandParams(detected, initialDialogValues(detected, remembered));
    ASSERT_EQ(params.size(), 3);
    EXPECT_EQ(params[0].type, 129);
    EXPECT_EQ(params[0].size, 510);
    EXPECT_EQ(params[1].type, 12);
    EXPECT_EQ(params[1].value, "2");
}

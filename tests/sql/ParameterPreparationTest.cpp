#include "sql/ParameterPreparation.h"

#include "TestSupport.h"
#include "db/CADOCommand.h"
#include "db/CADODatabase.h"
#include "platform/AppSettings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// A query window's share of the preparation, on a real session.
struct Window
{
    CADODatabase session;
    bool isJet = false;
    std::unique_ptr<CADOCommand> command;
    QList<ParamValue> paramValues;

    ParamPreparationContext context()
    {
        return {&session, isJet, &command, &paramValues};
    }
};

// A scripted answer of the parameter dialog; records what it was offered.
struct Dialog
{
    bool accept = true;
    bool ignore = false;
    bool replaceInText = true;
    QStringList typed; // values typed into the rows, in order
    int calls = 0;
    bool showIgnore = false;
    QList<ParamValue> offered;

    AskParamValues asker()
    {
        return [this](QList<ParamValue> &values, bool show, bool *ignored, bool *replace) {
            ++calls;
            showIgnore = show;
            offered = values;
            for (qsizetype i = 0; i < values.size() && i < typed.size(); ++i)
                values[i].value = typed.at(i);
            *ignored = ignore;
            *replace = replaceInText;
            return accept;
        };
    }
};

class ParameterPreparationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString path = TestSupport::makeSqliteFile(
            dir, "CREATE TABLE t (id INTEGER, name TEXT);"
                 "INSERT INTO t VALUES (1, 'a'), (2, 'b'), (3, 'c');");
        ASSERT_TRUE(window.session.Open("Provider=SQLite;Data Source=" + path))
            << window.session.GetErrorText().toStdString();
    }

    QTemporaryDir dir;
    Window window;
    Dialog dialog;
};

} // namespace

TEST_F(ParameterPreparationTest, a_matching_note_binds_without_the_dialog)
{
    QString text = QStringLiteral("UPDATE t SET name = 'z' WHERE id = :id パラメーター： ( id:=2)");
    const auto result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_TRUE(result.parameterised);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(dialog.calls, 0);
    ASSERT_TRUE(window.command);
    EXPECT_EQ(window.command->GetText(), "UPDATE t SET name = 'z' WHERE id = :id ");
    ASSERT_EQ(window.command->GetParameterCount(), 1);
    const Ado::Parameter &param = window.command->GetParameters().first();
    EXPECT_EQ(param.name, "id");
    EXPECT_EQ(param.type, 129);
    EXPECT_EQ(param.size, 510);
    EXPECT_EQ(param.value.text(), "2");
    EXPECT_EQ(window.paramValues, (QList<ParamValue>{{"id", "2", true}}));

    ASSERT_TRUE(window.command->Execute()) << window.command->GetErrorText().toStdString();
    EXPECT_EQ(window.command->GetRecordsAffected(), 1);
}

TEST_F(ParameterPreparationTest, dialog_values_are_substituted_into_the_text_for_execution)
{
    window.paramValues = {{"NAME", "old", false}};
    dialog.typed = {"3", "O'Neil"};
    QString text = "UPDATE t SET name = :name WHERE id = :id -- :hidden\r\n";
    const auto result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_FALSE(result.parameterised);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(dialog.calls, 1);
    EXPECT_TRUE(dialog.showIgnore);
    // The remembered value of the same name (ignoring case) is offered again.
    EXPECT_EQ(dialog.offered, (QList<ParamValue>{{"name", "old", false}, {"id", "", true}}));
    EXPECT_EQ(text, "UPDATE t SET name = 3 WHERE id = 'O'Neil' -- :hidden\r\n");
    EXPECT_EQ(window.paramValues,
              (QList<ParamValue>{{"name", "3", false}, {"id", "O'Neil", true}}));
}

TEST_F(ParameterPreparationTest, dialog_values_bind_when_not_written_into_the_text)
{
    dialog.replaceInText = false;
    dialog.typed = {"q", "1"};
    QString text = "UPDATE t SET name = :name WHERE id = @id";
    const auto result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_TRUE(result.parameterised);
    EXPECT_EQ(text, "UPDATE t SET name = :name WHERE id = @id");
    ASSERT_EQ(window.command->GetParameterCount(), 2);
    ASSERT_TRUE(window.command->Execute()) << window.command->GetErrorText().toStdString();
    EXPECT_EQ(window.command->GetRecordsAffected(), 1);
    EXPECT_EQ(SubstituteParameters(*window.command),
              "UPDATE t SET name = 'q' WHERE id = '1'");

    // The substitution command (not for execution) never offers "無視" and always binds.
    dialog.replaceInText = true;
    const auto again = PrepareParameters(window.context(), text, false, dialog.asker());
    EXPECT_TRUE(again.parameterised);
    EXPECT_FALSE(dialog.showIgnore);
    EXPECT_EQ(window.command->GetParameterCount(), 2); // replaced, not added to
}

TEST_F(ParameterPreparationTest, cancel_ignore_and_texts_without_parameters)
{
    QString text = "SELECT * FROM t WHERE id = :id";
    dialog.accept = false;
    auto result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.ignored);
    EXPECT_FALSE(result.parameterised);

    dialog.ignore = true;
    result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.ignored);
    EXPECT_EQ(text, "SELECT * FROM t WHERE id = :id");

    // A note that does not match opens the dialog.
    dialog = Dialog{};
    text = QStringLiteral("SELECT * FROM t WHERE id = :id パラメーター：[(id:=10)]");
    result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_EQ(dialog.calls, 1);

    dialog = Dialog{};
    text = "SELECT x::int, @@version, 'a:b' /* :c */ FROM t";
    result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_FALSE(result.parameterised || result.cancelled || result.ignored);
    EXPECT_EQ(dialog.calls, 0);
    EXPECT_EQ(window.command->GetText(), text);

    window.isJet = true;
    text = "SELECT * FROM t WHERE id = :id";
    result = PrepareParameters(window.context(), text, true, dialog.asker());
    EXPECT_FALSE(result.parameterised || result.cancelled);
    EXPECT_EQ(dialog.calls, 0);
}

TEST(ParameterPreparationPostgres, note_values_bind_through_the_driver)
{
    SKIP_WITHOUT_POSTGRES();
    Window window;
    ASSERT_TRUE(window.session.Open(TestSupport::postgresConnection()))
        << window.session.GetErrorText().toStdString();
    CADOCommand setup(&window.session,
                      "DROP TABLE IF EXISTS editor_prep_note; "
                      "CREATE TABLE editor_prep_note (id int, name text); "
                      "INSERT INTO editor_prep_note VALUES (1, 'a'), (2, 'b')");
    ASSERT_TRUE(setup.Execute()) << setup.GetErrorText().toStdString();

    Dialog dialog;
    QString text = QStringLiteral(
        "UPDATE editor_prep_note SET name = :name WHERE id = 2\r\n"
        "パラメーター： ( name:=zz)");
    const auto result = PrepareParameters(window.context(), text, true, dialog.asker());
    ASSERT_TRUE(result.parameterised);
    const bool ran = window.command->Execute();
    const QString error = window.command->GetErrorText();
    CADOCommand drop(&window.session, "DROP TABLE editor_prep_note");
    EXPECT_TRUE(ran) << error.toStdString();
    EXPECT_EQ(window.command->GetRecordsAffected(), 1);
    drop.Execute();
}

#include "editor/CColorRichView.h"
#include "editor/CDlgParamInput.h"
#include "editor/CQryView.h"

#include "TestSupport.h"
#include "db/CADOCommand.h"
#include "db/CADODatabase.h"
#include "platform/AppSettings.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

class QryViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view = std::make_unique<CQryView>();
        view->resize(500, 300);
        view->show();
        view->setMessageHandler([this](const QString &text) { messages << text; });
    }
    void TearDown() override
    {
        AppSettings::instance() = saved;
        CDlgParamInput::setAskHandler({});
    }

    AppSettings saved = AppSettings::instance();
    std::unique_ptr<CQryView> view;
    QStringList messages;
};

} // namespace

TEST_F(QryViewTest, texts_for_execution_and_formatting)
{
    view->SetText("select 1 -- one\r\n/* two */SELECT 2");
    AppSettings::instance().commentOut = 1;
    EXPECT_EQ(view->TextForExecution(), "SELECT 1 -- one\r\n/* two */SELECT 2");
    AppSettings::instance().commentOut = 0;
    EXPECT_EQ(view->TextForExecution(), "SELECT 1 \r\nSELECT 2");
    EXPECT_EQ(view->TextForFormat(), "SELECT 1 -- one\r\n/* two */SELECT 2");
    view->editor()->SetSelection(0, 15);
    EXPECT_EQ(view->TextForExecution(), "SELECT 1 ");
    EXPECT_EQ(view->TextForFormat(), "SELECT 1 -- one");
}

TEST_F(QryViewTest, append_generated_selects_the_new_text_and_may_ask_to_execute)
{
    int execute = 0;
    QObject::connect(view.get(), &CQryView::executeRequested, [&] { ++execute; });
    view->AppendGenerated("SELECT * FROM a", false);
    EXPECT_EQ(view->Text(), "SELECT * FROM a");
    EXPECT_EQ(view->editor()->SelectedText(), "SELECT * FROM a");
    EXPECT_EQ(execute, 0);
    view->AppendGenerated("SELECT * FROM b\r\n", true);
    EXPECT_EQ(view->Text(), "SELECT * FROM a\r\nSELECT * FROM b\r\n");
    EXPECT_EQ(view->editor()->SelectedText(), "SELECT * FROM b\r\n");
    EXPECT_EQ(execute, 1);
    view->runCommand(Cmd::EditUndo);
    EXPECT_EQ(view->Text(), "SELECT * FROM a");
}

TEST_F(QryViewTest, undo_and_redo_commands_follow_the_stacks)
{
    EXPECT_FALSE(view->commandState(Cmd::EditUndo).enabled);
    EXPECT_FALSE(view->commandState(Cmd::EditRedo).enabled);
    view->ReplaceSelectionOrAll("abc");
    EXPECT_TRUE(view->commandState(Cmd::EditUndo).enabled);
    view->runCommand(Cmd::EditUndo);
    EXPECT_EQ(view->Text(), "");
    EXPECT_FALSE(view->commandState(Cmd::EditUndo).enabled);
    EXPECT_TRUE(view->commandState(Cmd::EditRedo).enabled);
    view->runCommand(Cmd::EditRedo);
    EXPECT_EQ(view->Text(), "abc");
    EXPECT_TRUE(view->IsModified());
    EXPECT_FALSE(view->handlesCommand(Cmd::Execute));
    EXPECT_FALSE(view->handlesCommand(Cmd::ParamSubstitute)); // no window context yet
}

TEST_F(QryViewTest, the_editor_font_applies_to_every_view)
{
    CQryView other;
    LogFont font = AppSettings::instance().qViewFont;
    font.faceName = QStringLiteral("DejaVu Sans Mono");
    font.height = -20;
    AppSettings::instance().qViewFont = font;
    CQryView::ApplyEditorFontToAll();
    for (CQryView *v : {view.get(), &other}) {
        EXPECT_EQ(v->editor()->font().family(), font.toQFont(v->logicalDpiY()).family());
        const qreal a = QFontMetricsF(v->editor()->font()).horizontalAdvance(QLatin1Char('A'));
        EXPECT_DOUBLE_EQ(v->editor()->tabStopDistance(), 4 * a);
    }
}

TEST_F(QryViewTest, settings_from_the_options_reach_every_view)
{
    CQryView other;
    other.SetText("select x ");
    view->SetText("-- c\r\n");
    AppSettings::instance().lineComment = "#";
    AppSettings::instance().changeCase = 0;
    AppSettings::instance().commentColor = ColorRef(0x0000FF | ColorRef::BoldFlag);
    CQryView::ApplySettingsToAll();
    for (CQryView *v : {view.get(), &other}) {
        EXPECT_EQ(v->editor()->scanner().lineComment(), "#");
        EXPECT_EQ(v->editor()->style(SqlColourScanner::Comment),
                  AppSettings::instance().commentColor);
    }
    EXPECT_EQ(view->editor()->StyleAt(0), SqlColourScanner::StyleCount);
    other.SetText("select #x");
    EXPECT_EQ(other.Text(), "select #x");
    EXPECT_EQ(other.editor()->StyleAt(0), SqlColourScanner::Keyword);
    EXPECT_EQ(other.editor()->StyleAt(8), SqlColourScanner::Comment);

    // Database words join while "DBInfoColor" is 1.
    view->SetDatabaseWords(" RETURNING ", " do_it ");
    view->SetText("returning do_it() ");
    EXPECT_EQ(view->editor()->StyleAt(0), SqlColourScanner::Keyword);
    EXPECT_EQ(view->editor()->StyleAt(10), SqlColourScanner::Function);
}

TEST_F(QryViewTest, dropped_files_are_handed_on)
{
    QList<QStringList> dropped;
    QObject::connect(view.get(), &CQryView::filesDropped,
                     [&](const QStringList &paths) { dropped.append(paths); });
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.sql"), QUrl::fromLocalFile("/tmp/b.sql")});
    QWidget *target = view->editor()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped.first(),
              (QStringList{"/tmp/a.sql", "/tmp/b.sql"}));
    EXPECT_TRUE(view->Text().isEmpty());
}

TEST_F(QryViewTest, context_menu_runs_editor_commands_and_hands_on_the_rest)
{
    QList<int> requested;
    QObject::connect(view.get(), &CQryView::commandRequested,
                     [&](int id) { requested.append(id); });
    view->ReplaceSelectionOrAll("abc");
    std::unique_ptr<QMenu> menu(view->createContextMenu());
    const auto find = [](QMenu *in, const QString &prefix) -> QAction * {
        QList<QMenu *> menus{in};
        while (!menus.isEmpty()) {
            QMenu *m = menus.takeFirst();
            for (QAction *action : m->actions()) {
                if (action->menu())
                    menus.append(action->menu());
                else if (action->text().startsWith(prefix))
                    return action;
            }
        }
        return nullptr;
    };
    QAction *undo = find(menu.get(), "元に戻す");
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(view->Text(), "");
    QAction *execute = find(menu.get(), "実行(&E)");
    ASSERT_NE(execute, nullptr);
    execute->trigger();
    EXPECT_EQ(requested, QList<int>{Cmd::Execute});
    EXPECT_NE(find(menu.get(), "印刷ﾌﾟﾚﾋﾞｭｰ"), nullptr);
}

TEST_F(QryViewTest, parameter_substitution_command)
{
    QTemporaryDir dir;
    const QString path = TestSupport::makeSqliteFile(dir, "CREATE TABLE t (id INTEGER);");
    CADODatabase session;
    ASSERT_TRUE(session.Open("Provider=SQLite;Data Source=" + path));
    std::unique_ptr<CADOCommand> command;
    QList<ParamValue> values;
    bool connected = false;
    bool jet = false;
    view->setParamContextProvider([&] {
        return ParamPreparationContext{connected ? &session : nullptr, jet, &command, &values};
    });
    int asked = 0;
    bool accept = true;
    CDlgParamInput::setAskHandler(
        [&](QList<ParamValue> &rows, bool showIgnore, bool *, bool *) {
            ++asked;
            EXPECT_FALSE(showIgnore);
            for (auto &row : rows)
                row.value = row.name == "id" ? "7" : "x";
            return accept;
        });

    view->SetText("select * from t where id = :id and n = @n");
    ASSERT_TRUE(view->handlesCommand(Cmd::ParamSubstitute));
    EXPECT_FALSE(view->commandState(Cmd::ParamSubstitute).enabled); // not connected
    connected = true;
    EXPECT_TRUE(view->commandState(Cmd::ParamSubstitute).enabled);
    jet = true;
    EXPECT_FALSE(view->commandState(Cmd::ParamSubstitute).enabled);
    jet = false;

    view->runCommand(Cmd::ParamSubstitute);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(view->Text(), "SELECT * FROM t WHERE id = '7' AND n = 'x'");
    view->runCommand(Cmd::EditUndo);
    EXPECT_EQ(view->Text(), "SELECT * FROM t WHERE id = :id AND n = @n");

    // Only the selection is replaced when there is one.
    view->editor()->SetSelection(22, 30);
    view->runCommand(Cmd::ParamSubstitute);
    EXPECT_EQ(view->Text(), "SELECT * FROM t WHERE id = '7' AND n = @n");

    // Cancel changes nothing and says nothing.
    accept = false;
    view->editor()->SetSelection(0, 0);
    view->runCommand(Cmd::ParamSubstitute);
    EXPECT_EQ(view->Text(), "SELECT * FROM t WHERE id = '7' AND n = @n");
    EXPECT_TRUE(messages.isEmpty());

    // No parameter: the message.
    view->SetText("select 1");
    view->runCommand(Cmd::ParamSubstitute);
    EXPECT_EQ(messages, QStringList{CQryView::noParameterMessage()});
}

TEST(CDlgParamInput, rows_buttons_and_the_shared_box)
{
    const QList<ParamValue> rows{{"id", "1", true}, {"n", "", false}};
    {
        CDlgParamInput dialog(rows, true);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "パラメータ入力");
        ASSERT_EQ(dialog.grid()->rowCount(), 2);
        EXPECT_EQ(dialog.grid()->horizontalHeaderItem(0)->text(), "バインド変数名");
        EXPECT_EQ(dialog.grid()->currentColumn(), 1);
        EXPECT_EQ(dialog.grid()->currentRow(), 0);
        EXPECT_FALSE(dialog.ignoreButton()->isHidden());
        EXPECT_TRUE(dialog.replaceInText());
        EXPECT_EQ(dialog.values(), rows);
        dialog.grid()->item(1, 1)->setText("abc");
        dialog.grid()->item(1, 2)->setCheckState(Qt::Checked);
        dialog.replaceBox()->setChecked(false);
        dialog.accept();
        EXPECT_EQ(dialog.values(), (QList<ParamValue>{{"id", "1", true}, {"n", "abc", true}}));
        EXPECT_FALSE(dialog.ignored());
    }
    {
        // The box keeps its state; 無視 ends the dialog as ignored.
        CDlgParamInput dialog(rows, true);
        EXPECT_FALSE(dialog.replaceInText());
        dialog.ignoreButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(dialog.ignored());
        dialog.replaceBox()->setChecked(true);
    }
    CDlgParamInput hidden(rows, false);
    EXPECT_TRUE(hidden.ignoreButton()->isHidden());
    EXPECT_TRUE(hidden.replaceBox()->isHidden());
}

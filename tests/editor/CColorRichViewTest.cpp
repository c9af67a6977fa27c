#include "editor/CColorRichView.h"
#include "platform/AppSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <gtest/gtest.h>

static void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using S = SqlColourScanner;

// Keeps the process-wide settings as they were before a test.
class SettingsGuard
{
public:
    SettingsGuard() : m_saved(AppSettings::instance()) {}
    ~SettingsGuard() { AppSettings::instance() = m_saved; }

private:
    AppSettings m_saved;
};

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor = std::make_unique<CColorRichView>();
        editor->resize(600, 400);
        editor->show();
        AppSettings defaults;
        editor->ApplySettings(defaults);
        editor->setMessageHandler([this](const QString &text) { messages << text; });
    }

    void key(int code, const QString &text = QString(), Qt::KeyboardModifiers mods = {})
    {
        QKeyEvent press(QEvent::KeyPress, code, mods, text);
        QApplication::sendEvent(editor.get(), &press);
    }
    void type(const QString &text)
    {
        for (QChar c : text) {
            if (c == u'\n')
                key(Qt::Key_Return, QStringLiteral("\r"));
            else
                key(c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : Qt::Key_unknown,
                    QString(c));
        }
    }
    void caretTo(qsizetype position) { editor->SetSelection(position, position); }

    // The style of every character as a compact string: k c f m n s, or '.' when uncoloured.
    QString styles()
    {
        static const char letters[] = "kcfmns";
        QString out;
        const QString text = editor->Text();
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == u'\r' || text.at(i) == u'\n') {
                out += text.at(i) == u'\r' ? QStringLiteral("|") : QString();
                continue;
            }
            const S::Style style = editor->StyleAt(i);
            out += style == S::StyleCount ? QLatin1Char('.') : QLatin1Char(letters[style]);
        }
        return out;
    }

    std::unique_ptr<CColorRichView> editor;
    QStringList messages;
};

} // namespace

TEST_F(EditorTest, typing_colours_and_recases_the_documented_line)
{
    type("select * from t where a = 'x--y' -- note");
    EXPECT_EQ(editor->Text().toStdString(), "SELECT * FROM t WHERE a = 'x--y' -- note");
    EXPECT_EQ(styles().toStdString(), "kkkkkk...kkkk...kkkkk.....ssssss.mmmmmmm");
    // One undo step per typed character; the case change is not a step of its own.
    EXPECT_EQ(editor->undoStack().size(), 40);
}

TEST_F(EditorTest, a_word_at_the_end_of_a_line_waits_for_a_delimiter)
{
    type("select a from");
    EXPECT_EQ(editor->Text(), "SELECT a from");
    EXPECT_EQ(styles(), "kkkkkk.......");
    type(" ");
    EXPECT_EQ(editor->Text(), "SELECT a FROM ");
    EXPECT_EQ(styles(), "kkkkkk...kkkk.");
}

TEST_F(EditorTest, set_text_uses_crlf_outside_and_colours_everything)
{
    editor->SetText("select 1\r\n-- c\rfrom 'a\nb' /* x\r\ny */ sum(");
    EXPECT_EQ(editor->Text(), "SELECT 1\r\n-- c\r\nFROM 'a\r\nb' /* x\r\ny */ SUM(");
    // The apostrophe after b opens a string to the end of its line, which hides the /*.
    EXPECT_EQ(styles(), "kkkkkk.n|mmmm|kkkk.ss|.ssssss|.....fff.");
    EXPECT_EQ(editor->TextLength(), editor->Text().size());
    EXPECT_FALSE(editor->CanUndo());
    EXPECT_FALSE(editor->IsModified());

    // Selection positions count two characters per line break.
    editor->SetSelection(10, 14);
    EXPECT_EQ(editor->SelectedText(), "-- c");
    editor->SetSelection(6, 16);
    EXPECT_EQ(editor->SelectedText(), " 1\r\n-- c\r\n");
    EXPECT_EQ(editor->SelectionStart(), 6);
    EXPECT_EQ(editor->SelectionEnd(), 16);
}

TEST_F(EditorTest, local_recolouring_after_edits)
{
    editor->SetText("x\r\nabc\r\ny");
    caretTo(3);
    type("'");
    EXPECT_EQ(styles(), ".|ssss|.");
    key(Qt::Key_Backspace);
    EXPECT_EQ(styles(), ".|...|.");
    // Typing a block comment opener recolours the touched line only.
    caretTo(0);
    type("/*");
    EXPECT_EQ(styles(), "mmm|...|.");
    key(Qt::Key_Delete);
    EXPECT_EQ(editor->Text(), "/*\r\nabc\r\ny");
    EXPECT_EQ(styles(), "mm|...|.");
    // Joining lines recolours the joined line.
    caretTo(4);
    key(Qt::Key_Backspace);
    EXPECT_EQ(editor->Text(), "/*abc\r\ny");
    EXPECT_EQ(styles(), "mmmmm|.");
}

TEST_F(EditorTest, undo_and_redo_sequences)
{
    type("abc");
    ASSERT_TRUE(editor->CanUndo());
    EXPECT_FALSE(editor->CanRedo());
    const char *afterUndo[] = {"ab", "a", ""};
    for (const char *expected : afterUndo) {
        editor->Undo();
        EXPECT_EQ(editor->Text(), expected);
    }
    EXPECT_FALSE(editor->CanUndo());
    editor->Undo(); // nothing left: no effect
    const char *afterRedo[] = {"a", "ab", "abc"};
    for (const char *expected : afterRedo) {
        editor->Redo();
        EXPECT_EQ(editor->Text(), expected);
    }
    EXPECT_FALSE(editor->CanRedo());

    // A new edit after an undo makes redo unavailable.
    editor->Undo();
    EXPECT_TRUE(editor->CanRedo());
    type("x");
    EXPECT_EQ(editor->Text(), "abx");
    EXPECT_FALSE(editor->CanRedo());
}

TEST_F(EditorTest, undo_of_deletions_selections_and_line_breaks)
{
    editor->SetText("abc\r\ndef");
    caretTo(1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(editor->Text(), "bc\r\ndef");
    key(Qt::Key_Delete);
    EXPECT_EQ(editor->Text(), "c\r\ndef");
    editor->SetSelection(1, 4); // the line break and "d"
    type("-");
    EXPECT_EQ(editor->Text(), "c-ef");
    editor->Undo();
    EXPECT_EQ(editor->Text(), "c\r\ndef");
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(editor->Text(), "abc\r\ndef");
    editor->Redo();
    editor->Redo();
    editor->Redo();
    EXPECT_EQ(editor->Text(), "c-ef");
}

TEST_F(EditorTest, enter_indents_like_the_line_before_and_undoes_in_one_step)
{
    editor->SetText("\t\tselect");
    caretTo(8);
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(editor->Text(), "\t\tSELECT\r\n\t\t");
    EXPECT_EQ(editor->SelectionStart(), 12);
    ASSERT_EQ(editor->undoStack().size(), 1);
    EXPECT_EQ(editor->undoStack().last().changes.first().textAfter, "\n\t\t");
    editor->Undo();
    EXPECT_EQ(editor->Text(), "\t\tSELECT");
    // Indentation is taken from the line where Enter was pressed, spaces too.
    editor->SetText("  a b");
    caretTo(4);
    key(Qt::Key_Enter, "\r");
    EXPECT_EQ(editor->Text(), "  a \r\n  b");
    // Shift+Enter makes an ordinary line break too.
    caretTo(0);
    key(Qt::Key_Return, "\r", Qt::ShiftModifier);
    EXPECT_EQ(editor->Text(), "\r\n    a \r\n  b");
}

TEST_F(EditorTest, replace_all_is_one_undo_step_and_counts)
{
    editor->SetText("a x a x a\r\nx a a");
    editor->setFindOptions("a", false, true, true);
    editor->setReplaceText("bb");
    EXPECT_EQ(editor->ReplaceAll(), 5);
    EXPECT_EQ(editor->Text(), "bb x bb x bb\r\nx bb bb");
    EXPECT_EQ(messages, QStringList{" 5 個のアイテムを置換しました。"});
    ASSERT_EQ(editor->undoStack().size(), 1);
    editor->Undo();
    EXPECT_EQ(editor->Text(), "a x a x a\r\nx a a");
    editor->Redo();
    EXPECT_EQ(editor->Text(), "bb x bb x bb\r\nx bb bb");

    editor->SetText("aaa");
    messages.clear();
    editor->setFindOptions("a", false, false, true);
    editor->setReplaceText("aa");
    EXPECT_EQ(editor->ReplaceAll(), 3);
    EXPECT_EQ(editor->Text(), "aaaaaa");
    EXPECT_EQ(messages, QStringList{" 3 個のアイテムを置換しました。"});

    // Without a match only the not-found message appears and nothing is recorded.
    messages.clear();
    editor->SetText("abc");
    editor->setFindOptions("zz", false, false, true);
    EXPECT_EQ(editor->ReplaceAll(), 0);
    EXPECT_EQ(messages, QStringList{"文字列  'zz'  が見つかりません"});
    EXPECT_FALSE(editor->CanUndo());
}

TEST_F(EditorTest, find_directions_wrap_whole_words_and_case)
{
    editor->SetText("Ab ab_x ab\r\nAB");
    editor->setFindOptions("ab", false, false, true);
    caretTo(0);
    ASSERT_TRUE(editor->Search(true, true, true));
    EXPECT_EQ(editor->SelectionStart(), 0);
    editor->FindNext();
    EXPECT_EQ(editor->SelectionStart(), 3);
    editor->FindNext();
    EXPECT_EQ(editor->SelectionStart(), 8);
    editor->FindNext();
    EXPECT_EQ(editor->SelectionStart(), 12);
    editor->FindNext(); // wraps to the start
    EXPECT_EQ(editor->SelectionStart(), 0);
    editor->FindPrevious(); // wraps to the end
    EXPECT_EQ(editor->SelectionStart(), 12);
    EXPECT_TRUE(messages.isEmpty());

    // Whole words: ab_x is one word (the underscore is not a delimiter).
    editor->setFindOptions("ab", true, true, true);
    caretTo(0);
    ASSERT_TRUE(editor->Search(false, false, false));
    EXPECT_EQ(editor->SelectionStart(), 8);
    EXPECT_FALSE(editor->Search(false, true, true));
    EXPECT_EQ(messages, QStringList{"文字列  'ab'  が見つかりません"});
    // The selection stays where it was.
    EXPECT_EQ(editor->SelectionStart(), 8);
    EXPECT_EQ(editor->SelectionEnd(), 10);

    // A line break in the find text matches the editor's line break.
    editor->setFindOptions("ab\r\nAB", true, false, true);
    caretTo(0);
    ASSERT_TRUE(editor->Search(true, false, false));
    EXPECT_EQ(editor->SelectionStart(), 8);
    EXPECT_EQ(editor->SelectedText(), "ab\r\nAB");
}

TEST_F(EditorTest, replace_button_replaces_the_match_and_selects_the_next)
{
    editor->SetText("one two one two");
    editor->setFindOptions("two", false, false, true);
    editor->setReplaceText("2");
    caretTo(0);
    editor->ReplaceOne();
    EXPECT_EQ(editor->Text(), "one 2 one two");
    EXPECT_EQ(editor->SelectedText(), "two");
    EXPECT_EQ(editor->SelectionStart(), 10);
    editor->ReplaceOne();
    EXPECT_EQ(editor->Text(), "one 2 one 2");
    editor->Undo();
    EXPECT_EQ(editor->Text(), "one 2 one two");
}

TEST_F(EditorTest, apply_settings_fills_empty_lists_and_adds_database_words)
{
    SettingsGuard guard;
    AppSettings settings;
    settings.keywordColor = ColorRef(0x123456 | ColorRef::BoldFlag);
    editor->ApplySettings(settings, " MERGE ", " my_proc ");
    EXPECT_EQ(settings.keywords, AppSettings::builtInKeywords());
    EXPECT_EQ(settings.functions, AppSettings::builtInFunctions());
    EXPECT_EQ(editor->style(S::Keyword), settings.keywordColor);
    editor->SetText("merge my_proc(1) ");
    EXPECT_EQ(editor->Text(), "MERGE my_proc(1) ");
    EXPECT_EQ(styles(), "kkkkk.fffffff.n..");

    // Without "DBInfoColor" the database words are not used.
    settings.dbInfoColor = 0;
    editor->ApplySettings(settings, " MERGE ", " my_proc ");
    EXPECT_EQ(styles(), "..............n..");

    // Case-sensitive lists leave lower-case words alone.
    settings.caseSensitive = 1;
    editor->ApplySettings(settings);
    editor->SetText("select SELECT ");
    EXPECT_EQ(editor->Text(), "select SELECT ");
    EXPECT_EQ(styles(), ".......kkkkkk.");
}

TEST_F(EditorTest, paste_and_cut_use_plain_text_with_the_editor_breaks)
{
    QApplication::clipboard()->setText("select 1\r\nfrom t\rwhere");
    editor->PasteClipboard();
    EXPECT_EQ(editor->Text(), "SELECT 1\r\nFROM t\r\nwhere");
    EXPECT_EQ(styles(), "kkkkkk.n|kkkk..|.....");
    editor->SetSelection(0, 10);
    editor->CutSelection();
    EXPECT_EQ(QApplication::clipboard()->text(), "SELECT 1\n");
    EXPECT_EQ(editor->Text(), "FROM t\r\nwhere");
    editor->Undo();
    EXPECT_EQ(editor->Text(), "SELECT 1\r\nFROM t\r\nwhere");
}

TEST_F(EditorTest, bad_input_does_not_hang_or_lose_text)
{
    // Five megabytes pasted: kept whole, not coloured (beyond the colouring limit).
    QString big;
    big.reserve(5 * 1024 * 1024);
    while (big.size() < 5 * 1024 * 1024)
        big += QStringLiteral("select a, b from t where c = 'x' -- comment\n");
    QApplication::clipboard()->setText(big);
    QElapsedTimer timer;
    timer.start();
    editor->PasteClipboard();
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(editor->TextLength(), big.size() + big.count(u'\n'));
    EXPECT_EQ(editor->StyleAt(0), S::StyleCount);
    editor->Undo();
    EXPECT_TRUE(editor->IsEmpty());

    // Binary junk as a loaded text.
    QByteArray junk(65536, '\0');
    QRandomGenerator generator(7);
    for (char &c : junk)
        c = char(generator.bounded(256));
    const QString text = QString::fromLatin1(junk);
    editor->SetText(text);
    EXPECT_EQ(editor->Text(), CColorRichView::toEditorBreaks(text).replace("\n", "\r\n"));
    type("x");
    editor->Undo();
    EXPECT_EQ(editor->Text(), CColorRichView::toEditorBreaks(text).replace("\n", "\r\n"));
}

TEST_F(EditorTest, ctrl_arrows_move_by_the_editor_words)
{
    editor->SetText("ab_c.de  fg\r\nh");
    caretTo(0);
    const qsizetype expected[] = {4, 5, 9, 11, 13, 14};
    for (qsizetype position : expected) {
        key(Qt::Key_Right, QString(), Qt::ControlModifier);
        EXPECT_EQ(editor->SelectionStart(), position);
    }
    key(Qt::Key_Left, QString(), Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->SelectionStart(), 13);
    EXPECT_EQ(editor->SelectionEnd(), 14);
}

TEST_F(EditorTest, double_click_selects_an_editor_word)
{
    editor->SetText("x = ab_c.de");
    QTextCursor at = editor->textCursor();
    at.setPosition(6);
    const QPoint point = editor->cursorRect(at).center();
    QMouseEvent click(QEvent::MouseButtonDblClick, point, editor->viewport()->mapToGlobal(point),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &click);
    EXPECT_EQ(editor->SelectedText(), "ab_c");
}

TEST_F(EditorTest, undo_and_redo_keys_use_the_editor_history)
{
    type("ab");
    key(Qt::Key_Z, QString(), Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), "a");
    key(Qt::Key_Y, QString(), Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), "ab");
}

TEST_F(EditorTest, the_find_dialog_drives_the_searches)
{
    editor->SetText("select a, b from t where a = b");
    editor->SetSelection(7, 8); // "a"
    editor->OpenReplaceDialog();
    CFindReplaceDialog *dialog = editor->findDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->findText(), "a");
    editor->OpenFindDialog(); // one dialog at a time
    EXPECT_EQ(editor->findDialog(), dialog);

    dialog->setFindText("B");
    dialog->setReplaceText("c");
    dialog->setOptions(false, true, true);
    Q_EMIT dialog->replaceAllRequested();
    EXPECT_EQ(editor->Text(), "SELECT a, c FROM t WHERE a = c");
    EXPECT_EQ(messages, QStringList{" 2 個のアイテムを置換しました。"});
    EXPECT_EQ(editor->findText(), "B");

    dialog->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(editor->findDialog(), nullptr);
    // F3 goes on with the remembered text; with none it opens the find dialog.
    editor->setFindOptions("a", false, true, true);
    editor->SetSelection(0, 0);
    editor->FindNext();
    EXPECT_EQ(editor->SelectionStart(), 7);
    editor->setFindOptions("", false, false, true);
    editor->FindNext();
    ASSERT_NE(editor->findDialog(), nullptr);
    EXPECT_FALSE(editor->findDialog()->isReplaceMode());
}

TEST_F(EditorTest, long_texts_are_coloured_locally_only)
{
    const QString filler = QString("x ").repeated(30000);
    editor->SetText("select 1\r\n" + filler);
    // Beyond 50000 characters a full recolour does nothing...
    EXPECT_EQ(editor->StyleAt(0), S::StyleCount);
    EXPECT_EQ(editor->Text().left(8), "select 1");
    // ...but typing colours the lines it touches.
    caretTo(8);
    type(" ");
    EXPECT_EQ(editor->Text().left(9), "SELECT 1 ");
    EXPECT_EQ(editor->StyleAt(0), S::Keyword);
    EXPECT_EQ(editor->StyleAt(7), S::Number);
}

TEST_F(EditorTest, random_edits_undo_and_redo_back_to_every_state)
{
    // Every recorded step must take the text back exactly, whatever the edit was, indentation
    // included. (Case changes are off: recolouring the lines an undo touches applies them
    // again, by design.)
    AppSettings settings;
    settings.changeCase = 0;
    editor->ApplySettings(settings);
    for (const quint32 seed : {2024u, 7u, 99u, 31337u}) {
        editor->SetText("select a,\r\n\tb from t -- x\r\n/* c */ where 'q' = 1");
        QRandomGenerator random(seed);
        QStringList states{editor->Text()};
        const QString pieces[] = {"select ", "x", "\r\n", "'", "--",
                                  "/*",      "*/", "from", " ", "\t"};
        for (int i = 0; i < 300; ++i) {
            const qsizetype length = editor->TextLength();
            qsizetype a = random.bounded(int(length + 1));
            qsizetype b = random.bounded(int(length + 1));
            // Never split a CR LF pair.
            const QString text = editor->Text();
            if (a > 0 && a < length && text.at(a) == u'\n')
                --a;
            if (b > 0 && b < length && text.at(b) == u'\n')
                --b;
            editor->SetSelection(qMin(a, b), random.bounded(3) == 0 ? qMax(a, b) : qMin(a, b));
            const qsizetype steps = editor->undoStack().size();
            switch (random.bounded(5)) {
            case 0:
                type(pieces[random.bounded(10)]);
                break;
            case 1:
                key(Qt::Key_Backspace);
                break;
            case 2:
                key(Qt::Key_Delete);
                break;
            case 3:
                key(Qt::Key_Return, "\r");
                break;
            default:
                editor->ReplaceSelection(pieces[random.bounded(10)]);
                break;
            }
            // Typing a piece makes one step per character; keep every state.
            for (qsizetype s = steps; s < editor->undoStack().size(); ++s)
                states.append(QString());
            if (editor->undoStack().size() > steps)
                states.last() = editor->Text();
        }
        ASSERT_EQ(editor->undoStack().size(), states.size() - 1);
        const QString finalText = editor->Text();
        for (qsizetype i = states.size() - 2; i >= 0; --i) {
            editor->Undo();
            if (!states.at(i).isEmpty() || i == 0) {
                ASSERT_EQ(editor->Text(), states.at(i))
                    << "seed " << seed << ", undoing to state " << i;
            }
        }
        EXPECT_FALSE(editor->CanUndo());
        while (editor->CanRedo())
            editor->Redo();
        EXPECT_EQ(editor->Text(), finalText);
    }
}

TEST_F(EditorTest, inactive_selection_is_grey)
{
    EXPECT_EQ(editor->palette().color(QPalette::Inactive, QPalette::Highlight),
              QColor(0xA0, 0xA0, 0xA0));
}

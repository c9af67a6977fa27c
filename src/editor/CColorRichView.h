#pragma once

#include "CFindReplaceDialog.h"
#include "CQryUndoFrame.h"
#include "SqlColourScanner.h"

#include "platform/ColorRef.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCharFormat>
#include <functional>

class AppSettings;

// The SQL editing surface: colours comments, strings, numbers and the words of three lists
// as the text changes, changes the letter case of recognised words, indents new lines like the
// line before, finds and replaces, and keeps its own undo and redo history (the text control's
// built-in undo is off).
//
// Text model: every public text and position uses CR LF line breaks (a line break counts two
// characters); inside, the document holds one separator per line and the colouring, the
// change records and the search work on that. Colours live in the line layouts, not in the
// document, so colouring is never an edit.
//
// All members are to be called from the UI thread only.
class CColorRichView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CColorRichView(QWidget *parent = nullptr);
    ~CColorRichView() override;

    // How a pending change is being made; decides the range recoloured afterwards.
    enum ChangeKind {
        NoKind = 0,
        OtherKey = 1,
        Typing = 2,
        DeleteKey = 3,
        BackspaceKey = 4,
        Cut = 5,
        Paste = 6,
        DragMove = 7,
        Copy = 8,
    };

    // Editor settings, word lists and styles from the settings. An empty "Keywords",
    // "Constants" or "Functions" setting is first filled with the list the editor uses now.
    // The database words are appended when "DBInfoColor" is 1 (pass empty texts when the
    // window is not connected). Recolours the whole text.
    void ApplySettings(AppSettings &settings, const QString &databaseKeywords = QString(),
                       const QString &databaseFunctions = QString());
    // Sets the editor font; tab stops every four widths of "A".
    void ApplyFont(const QFont &font);

    const SqlColourScanner &scanner() const { return m_scanner; }
    ColorRef style(SqlColourScanner::Style style) const { return m_styles[style]; }

    // The whole text with CR LF line breaks.
    QString Text() const;
    // Replaces the whole text (a loaded script): CR LF, lone CR and lone LF each make one
    // line break. Empties the undo history and recolours everything.
    void SetText(const QString &text);
    qsizetype TextLength() const;
    bool IsEmpty() const { return m_text.isEmpty(); }
    // Set by every change of the text, cleared by SetText and SetModified(false).
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);

    // Line breaks of a text put into the editor: CR LF, lone CR, lone LF and the Unicode
    // line and paragraph separators each become one "\n".
    static QString toEditorBreaks(const QString &text);

    // Selection in CR LF positions.
    qsizetype SelectionStart() const;
    qsizetype SelectionEnd() const;
    void SetSelection(qsizetype start, qsizetype end);
    QString SelectedText() const;
    // Replaces the selection, or the whole text when nothing is selected (the caret then goes
    // to the start). One undo step.
    void ReplaceSelectionOrAll(const QString &text);
    // Replaces the selection as a typed change (one undo step); the caret ends after it.
    void ReplaceSelection(const QString &text);

    // Colours the characters of [start, end) in document positions (one per line break).
    // Does nothing for an empty range or one longer than 50000 characters.
    void Recolour(qsizetype start, qsizetype end);
    void RecolourAll();

    // Colour style at a CR LF position, StyleCount when uncoloured (for tests and tools).
    SqlColourScanner::Style StyleAt(qsizetype position) const;

    // Undo and redo history.
    bool CanUndo() const { return !m_undoStack.isEmpty(); }
    bool CanRedo() const { return !m_redoStack.isEmpty(); }
    void Undo();
    void Redo();
    const QList<CQryUndoFrame> &undoStack() const { return m_undoStack; }

    // Editing commands with their change kinds.
    void CutSelection();
    void CopySelection();
    void PasteClipboard();
    bool CanPaste() const;

    // Find and replace.
    void OpenFindDialog();
    void OpenReplaceDialog();
    void FindNext();
    void FindPrevious();
    void JumpToLine(int line);
    CFindReplaceDialog *findDialog() const { return m_findDialog; }
    void setFindOptions(const QString &findText, bool matchCase, bool wholeWord,
                        bool searchDown);
    void setReplaceText(const QString &text) { m_replaceText = text; }
    QString findText() const { return m_findText; }
    // One search for findText from the selection; selects and returns true on a match.
    bool Search(bool wrap, bool skipSelection, bool message);
    // The dialog's replace and replace-all buttons, with the current texts and options.
    void ReplaceOne();
    int ReplaceAll();

    // Shows a message to the user; replaceable so that tests and tools can capture it.
    using MessageHandler = std::function<void(const QString &text)>;
    void setMessageHandler(MessageHandler handler) { m_message = std::move(handler); }

    // Default text colour of the editor.
    static constexpr quint32 DefaultColour = 0x000000;
    // Background of the selection while the editor has no focus.
    static constexpr quint32 InactiveSelection = 0xA0A0A0;

Q_SIGNALS:
    void undoStateChanged();
    void modifiedChanged(bool modified);
    void filesDropped(const QStringList &paths);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

Q_SIGNALS:
    void contextMenuRequested(const QPoint &globalPos);

private:
    void onContentsChange(int position, int removed, int added);
    void onContentsChanged();
    void completeChange(qsizetype start, const QString &before, const QString &after);
    void recolourAfterChange(qsizetype start, qsizetype end, int kind);
    void applyRanges(qsizetype start, qsizetype end, const SqlColourScanner::Result &result);
    void clearColours(qsizetype start, qsizetype end);
    void replaceRange(qsizetype start, qsizetype end, const QString &text, int kind);
    void insertNewLine();
    void moveWord(bool forward, bool keepAnchor);
    void rebuildFormats();
    void showMessage(const QString &text);
    void openFind(bool replace);
    void takeDialogOptions();
    bool isWordBreakChar(QChar c) const;
    QString documentText(qsizetype start, qsizetype end) const;
    qsizetype toDocument(qsizetype position) const;
    qsizetype toExternal(qsizetype position) const;
    qsizetype lineStart(qsizetype position) const;
    qsizetype lineEnd(qsizetype position) const;

    SqlColourScanner m_scanner;
    ColorRef m_styles[SqlColourScanner::StyleCount];
    QTextCharFormat m_formats[SqlColourScanner::StyleCount];

    // The document's text with "\n" between lines, kept in step with every change, so that a
    // change record has the text it replaced.
    QString m_text;
    int m_changeKind = NoKind;
    bool m_internalChange = false;
    bool m_applyingHistory = false;
    bool m_loading = false;
    bool m_replaceAllRunning = false;
    bool m_modified = false;
    struct PendingRecolour
    {
        qsizetype start;
        qsizetype end;
        int kind;
    };
    QList<PendingRecolour> m_pending;

    QList<CQryUndoFrame> m_undoStack;
    QList<CQryUndoFrame> m_redoStack;
    CQryUndoFrame m_building;

    QString m_findText;
    QString m_replaceText;
    bool m_matchCase = false;
    bool m_wholeWord = false;
    bool m_searchDown = true;
    qsizetype m_lastFoundStart = -1;
    qsizetype m_lastFoundEnd = -1;
    QPointer<CFindReplaceDialog> m_findDialog;
    MessageHandler m_message;
};

#pragma once

#include "sql/ParameterPreparation.h"
#include "widgets/CommandTarget.h"

#include <QWidget>
#include <functional>

class CColorRichView;
class QMenu;

// The editor pane of a query window: the syntax-colouring editor with the settings and the
// shared editor font applied, the texts handed to execution and formatting, generated
// statements appended, and the editor commands (undo, redo, clipboard, find, replace, jump,
// parameter substitution, editor font, print). UI thread only.
class CQryView : public QWidget, public CommandTarget
{
    Q_OBJECT
public:
    explicit CQryView(QWidget *parent = nullptr);
    ~CQryView() override;

    CColorRichView *editor() const { return m_editor; }

    // Re-reads the editor settings, the colours and the editor font from the application
    // settings, with the database words when "DBInfoColor" is 1.
    void ApplySettings();
    // Keywords and procedure names of the connected database (blank-separated, as the
    // catalogue keeps them); empty texts when the window is not connected. Re-applies the
    // settings.
    void SetDatabaseWords(const QString &keywords, const QString &procedureNames);

    // The selection, or the whole text when nothing is selected (CR LF line breaks); for
    // execution without comments when "CommentOut" is 0.
    QString TextForExecution() const;
    QString TextForFormat() const;
    // Puts a generated statement at the end (after a line break when the editor is not
    // empty), selects it, focuses the editor and asks for execution when execute is true.
    void AppendGenerated(const QString &text, bool execute);
    // Replaces the selection, or the whole text when nothing is selected.
    void ReplaceSelectionOrAll(const QString &text);

    QString Text() const;
    void SetText(const QString &text);
    bool IsModified() const;
    void SetModified(bool modified);

    // What the parameter substitution command needs from the query window; the command is
    // disabled without it. The window answers with its open session (or none), whether that
    // is the "MS JET" DBMS, its parameter command and its remembered values.
    using ParamContextProvider = std::function<ParamPreparationContext()>;
    void setParamContextProvider(ParamContextProvider provider);
    // Carries out the parameter substitution command.
    void SubstituteParametersCommand();

    // Applies the editor font of the settings to every open query view.
    static void ApplyEditorFontToAll();
    // Re-applies the settings in every open query view (after the options dialog's OK).
    static void ApplySettingsToAll();
    static QList<CQryView *> allViews();

    // Shows a message to the user; replaceable for tests.
    using MessageHandler = std::function<void(const QString &text)>;
    void setMessageHandler(MessageHandler handler);

    // CommandTarget
    bool handlesCommand(int id) const override;
    State commandState(int id) const override;
    void runCommand(int id) override;

    // The "QueryView" context menu; commands the view does not carry out are sent through
    // commandRequested (the main window routes them).
    QMenu *createContextMenu();

    static QString noParameterMessage();

Q_SIGNALS:
    void filesDropped(const QStringList &paths);
    void modifiedChanged(bool modified);
    void executeRequested();
    void commandRequested(int id);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyFont();
    void chooseFont();
    void print(bool preview);
    void jump();
    void showMessage(const QString &text);
    QString selectionOrAll(bool *hasSelection) const;

    CColorRichView *m_editor = nullptr;
    QString m_databaseKeywords;
    QString m_databaseProcedures;
    bool m_setUp = false;
    ParamContextProvider m_paramContext;
    MessageHandler m_message;
};

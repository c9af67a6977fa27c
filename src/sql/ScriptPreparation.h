#pragma once

#include "ParamValue.h"

#include <QList>
#include <QString>

// Preparing a statement text for execution: removing comments, finding bind parameters,
// reading the values of a parameter note and writing values into the text. Pure functions on
// texts with CR LF line breaks; no widget and no database needed.
namespace ScriptPreparation {

// Comment symbols and the matching rule of the editor settings.
struct CommentSymbols
{
    QString lineComment = QStringLiteral("--");
    QString blockOpen = QStringLiteral("/*");
    QString blockClose = QStringLiteral("*/");
    bool caseSensitive = false;

    // The symbols of the application settings ("LineComment", "BlockComment",
    // "BlockComment2", "CaseSensitive").
    static CommentSymbols fromSettings();
};

// At most this many distinct parameters are detected in one text.
constexpr int MaxParameters = 255;

// The note that carries parameter values after a statement.
QString paramNoteMarker();

// The text without its line comments (up to, not including, the next carriage return) and
// block comments (through the close symbol, or to the end when it is missing). Quotes are not
// considered: a comment symbol inside a literal starts a comment too.
QString RemoveComments(const QString &text, const CommentSymbols &symbols);
QString RemoveComments(const QString &text);

// The distinct parameters of the text in order of appearance (names compared ignoring case),
// at most MaxParameters. "::" and "@@" are not markers; markers inside quotes are ignored.
QList<ParamInfo> DetectParameters(const QString &text);

// True for the characters that end a parameter name.
bool isParamTerminator(QChar c);

struct ParamNote
{
    bool succeeded = false;
    QString statement;        // the text before the note
    QList<ParamValue> values; // one per detected parameter, in detection order
};

// Reads the note "パラメーター： ( a:=1) ( b:=2)" after the statement. Succeeds only when its
// items name exactly the detected parameters.
ParamNote ParseParamNote(const QString &text, const QList<ParamInfo> &detected);

// text with every marker of each parameter (prefix, then the name ignoring case, then a
// terminator or the end) replaced by its value; character values (type 129) are put between
// apostrophes as they stand. A value is inserted once and never scanned again.
QString SubstituteParameters(const QString &text, const QList<CommandParam> &params);

// The parameters to append for the detected ones with the values at the same positions:
// character type and size 510 for a string value, the variant type otherwise.
QList<CommandParam> makeCommandParams(const QList<ParamInfo> &detected,
                                      const QList<ParamValue> &values);

// The dialog's starting rows: the detected names with empty string values, each taking the
// value and string flag of a remembered value of the same name (ignoring case).
QList<ParamValue> initialDialogValues(const QList<ParamInfo> &detected,
                                      const QList<ParamValue> &remembered);

} // namespace ScriptPreparation

#pragma once

#include "ParamValue.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class CADOCommand;
class CADODatabase;

// Binding or substituting the bind parameters of a statement before it runs, with the
// values of a parameter note or of the parameter dialog. UI thread only.

// What a query window lends to the preparation: its session, its parameter command (created
// here on first use and kept by the window) and the values last entered in it.
struct ParamPreparationContext
{
    const CADODatabase *session = nullptr;
    bool isJet = false;
    std::unique_ptr<CADOCommand> *command = nullptr;
    QList<ParamValue> *paramValues = nullptr;
};

// Asks the user for the values. values holds one row per detected parameter on entry and the
// edited rows on return. Returns true for OK; on any other end sets *ignored when the user
// chose to run the text as typed. *replaceInText is the dialog's "replace in the text" box.
using AskParamValues = std::function<bool(QList<ParamValue> &values, bool showIgnore,
                                          bool *ignored, bool *replaceInText)>;

struct ParamPreparationResult
{
    bool parameterised = false; // the command holds the text and the parameters to bind
    bool cancelled = false;
    bool ignored = false;
};

// Detects the parameters of text (comments never count) on the window's command. With a
// matching parameter note the values are taken from it and the statement before the note runs
// as a parameterised command; otherwise the dialog is asked. When the dialog's values are to be
// written into the text (forExecution and its box checked), text becomes the substituted text
// and nothing is parameterised.
ParamPreparationResult PrepareParameters(const ParamPreparationContext &context, QString &text,
                                         bool forExecution, const AskParamValues &ask);

// The command's text with each of its parameters replaced by its value.
QString SubstituteParameters(const CADOCommand &command);

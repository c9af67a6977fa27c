#include "ParameterPreparation.h"

#include "ScriptPreparation.h"

#include "db/CADOCommand.h"
#include "db/CADODatabase.h"

ParamPreparationResult PrepareParameters(const ParamPreparationContext &context, QString &text,
                                         bool forExecution, const AskParamValues &ask)
{
    ParamPreparationResult result;
    if (context.isJet || !context.command || !context.paramValues)
        return result;

    // Parameters inside comments are never detected, whatever "CommentOut" says.
    const QString detectText = ScriptPreparation::RemoveComments(text);
    std::unique_ptr<CADOCommand> &command = *context.command;
    if (!command) {
        command = std::make_unique<CADOCommand>(context.session);
    } else {
        command->SetText(QString());
        command->ClearParameters();
    }
    command->SetText(detectText);
    const QList<ParamInfo> detected = ScriptPreparation::DetectParameters(detectText);
    command->SetText(text);
    if (detected.isEmpty())
        return result;

    bool fromDialog = false;
    bool replaceInText = false;
    const ScriptPreparation::ParamNote note = ScriptPreparation::ParseParamNote(text, detected);
    if (note.succeeded) {
        *context.paramValues = note.values;
        command->SetText(note.statement);
    } else {
        QList<ParamValue> values =
            ScriptPreparation::initialDialogValues(detected, *context.paramValues);
        bool ignored = false;
        if (!ask || !ask(values, forExecution, &ignored, &replaceInText)) {
            result.cancelled = true;
            result.ignored = ignored;
            return result;
        }
        *context.paramValues = values;
        fromDialog = true;
    }

    const QList<CommandParam> params =
        ScriptPreparation::makeCommandParams(detected, *context.paramValues);
    for (const CommandParam &param : params)
        command->AddParameter(param.name, param.type, param.direction, param.size,
                              Ado::Variant::fromText(param.value));

    if (fromDialog && forExecution && replaceInText) {
        text = SubstituteParameters(*command);
        return result;
    }
    result.parameterised = true;
    return result;
}

QString SubstituteParameters(const CADOCommand &command)
{
    QList<CommandParam> params;
    for (const Ado::Parameter &parameter : command.GetParameters()) {
        CommandParam param;
        param.name = parameter.name;
        param.type = qint16(parameter.type);
        param.direction = parameter.direction;
        param.size = qint32(parameter.size);
        param.value = parameter.value.text();
        params.append(param);
    }
    return ScriptPreparation::SubstituteParameters(command.GetText(), params);
}

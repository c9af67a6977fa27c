#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// The command vocabulary: for every command number its menu label (with the mnemonic and,
// after a tab, the text of its shortcut), its key, and its prompt ("status text\ntool tip").
// Pure data, shared by the menus, the tool bars and the status bar.
struct CommandInfo
{
    int id = 0;
    QString label;      // as shown in the menu, "\t" + key text included when there is a key
    QKeySequence key;   // empty when the command has no shortcut
    QString prompt;     // status-bar text, then optionally "\n" and the tool tip

    QString statusText() const { return prompt.section(QLatin1Char('\n'), 0, 0); }
    QString toolTip() const
    {
        const QString tip = prompt.section(QLatin1Char('\n'), 1);
        return tip.isEmpty() ? label.section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) : tip;
    }
};

namespace CommandTable {
const QList<CommandInfo> &all();
// The entry for a command number; a default entry (id 0) for an unknown number.
const CommandInfo &find(int id);
} // namespace CommandTable

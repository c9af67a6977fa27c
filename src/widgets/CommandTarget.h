#pragma once

// A window class that carries out commands. The main window routes each command to the
// active query window, then its focused pane, then itself; the first target that handles
// the command decides whether it is enabled and runs it. A command no target on the route
// handles is shown disabled. Called on the UI thread only.
class CommandTarget
{
public:
    struct State
    {
        bool enabled = true;
        bool checked = false;
        bool checkable = false;
    };

    virtual ~CommandTarget() = default;

    // True when this target has a handler for the command at all.
    virtual bool handlesCommand(int id) const = 0;
    // The state of a handled command (enabled, check mark).
    virtual State commandState(int id) const
    {
        (void)id;
        return {};
    }
    virtual void runCommand(int id) = 0;
};

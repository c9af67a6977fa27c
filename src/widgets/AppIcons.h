#pragma once

#include <QIcon>

// Button and window images. Drawn at run time: a coloured tile with a short glyph per
// command, so every command that has a button has a distinct, readable image.
namespace AppIcons {
QIcon application();
// The image of a command's button, or a null icon when the command has none.
QIcon forCommand(int id);
} // namespace AppIcons

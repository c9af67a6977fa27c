#pragma once

class CMainFrame;

// The composition root: binds the main window to the connection registry, the profile list,
// the formatter and the schema catalogue. Called once at start-up (and by tests that need a
// main window with real connections). UI thread only.
namespace AppServices {
// Settings hooks (profiles, formatter options); before the settings are loaded.
void installSettingsHooks();
// Connection services and dialogs of the main window.
void installInto(CMainFrame &mainFrame);
} // namespace AppServices

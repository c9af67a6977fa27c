#pragma once

#include <QObject>

// The one notification that settings changed (OK in the options dialog, the font commands).
// Query windows, editors, grids and schema panels connect to it and re-read AppSettings.
// UI thread only.
class SettingsNotifier : public QObject
{
    Q_OBJECT
public:
    static SettingsNotifier &instance();

    void notifyApplied() { Q_EMIT settingsApplied(); }

Q_SIGNALS:
    // Every open window re-reads its editor/grid settings, colours and fonts.
    void settingsApplied();
    // The schema panels re-read their font.
    void schemaFontChanged();
};

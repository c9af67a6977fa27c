#include "SettingsNotifier.h"

SettingsNotifier &SettingsNotifier::instance()
{
    static SettingsNotifier notifier;
    return notifier;
}

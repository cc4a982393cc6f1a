#pragma once

#include "settings/SettingsFile.h"

// What the settings reader needs from this desktop: the available area of
// each screen (the primary one first), the desktop folder, the installed
// font families and the desktop's default font.
SettingsEnvironment desktopSettingsEnvironment();

#pragma once

#include "encoding/EncodingSettings.h"
#include "settings/SettingsFile.h"

// What the settings file and the encoding settings share: the output
// options below the list (same field names in both records) and the active
// output page (OutputFormat, pcVideoFormat). At start the window applies the
// settings file over the last-session profile; at exit it stores the
// current values back before the file is written.
void ApplyMainSettings(EncodingSettings &s, const MainSettings &main);
void StoreMainSettings(MainSettings &main, const EncodingSettings &s);

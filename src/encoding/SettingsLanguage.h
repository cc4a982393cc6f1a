#pragma once

#include "encoding/EncodingSettings.h"

struct TAppStrings;

// A language change as it reaches the settings: list entries are replaced
// by index (so every item index stays), the translated entries of the
// resolution and audio-track lists are swapped, and the texts of the
// editable fields are set again. A threads, bitrate or sampling text that
// is not an integer, or an FPS text that is not a decimal number ("," or
// "."), becomes the new Main.Auto; an aspect text equal to the old Main.Auto
// does too. Typed numbers and any other aspect text stay.
void ApplyLanguageChange(EncodingSettings &s, EncodingLists &lists, const TAppStrings &oldStrings,
    const TAppStrings &newStrings);

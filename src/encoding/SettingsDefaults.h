#pragma once

#include "encoding/EncodingSettings.h"

#include <QString>

struct TAppStrings;

// The DefaultVideoCodec option of the settings file as an AVI codec entry:
// "H.264" (trimmed, any case) gives entry 2, anything else entry 0.
int DefaultVideoCodecEntry(const QString &optionText);
// The option text written for an entry: "H.264" for entry 2, else "Xvid".
QString DefaultVideoCodecText(int entry);

// The group defaults. defaultVideoCodec is the AVI codec entry the
// DefaultVideoCodec option names (0 or 2; an index outside the codec list
// gives 0). None of them touches the output options.
void SetDefaultVideoSettings_Avi(
    EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec);
void SetDefaultVideoSettings_Mpg(EncodingSettings &s, const TAppStrings &strings);
void SetDefaultAudioSettings(EncodingSettings &s, const TAppStrings &strings);
void SetDefaultAdvancedSettings(EncodingSettings &s);
// The four groups in this order, then the AVI page.
void SetDefaultParams(EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec);

// A record in the state the window starts in: output options at their
// defaults, every group at its defaults.
EncodingSettings DefaultEncodingSettings(const TAppStrings &strings, int defaultVideoCodec);

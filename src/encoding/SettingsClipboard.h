#pragma once

#include "encoding/EncodingSettings.h"

#include <QHash>
#include <QString>
#include <optional>

struct TAppStrings;

// The private copy slots of the four settings groups. A slot holds what a
// copy took from its group: the group's fields of `values` (the other
// fields are not used) and, for each editable list that starts with the
// "Auto" entry, the item index it showed (-1 for a typed text), by control
// name. The record itself keeps only an editable list's text, so a paste
// needs nothing but the text.
struct CopiedSettings
{
    EncodingSettings values;
    QHash<QString, int> itemIndexes;

    int itemIndex(const QString &control) const { return itemIndexes.value(control, -1); }
};

struct TCopyParams_AVI : CopiedSettings
{
};
struct TCopyParams_MPG : CopiedSettings
{
};
struct TCopyParams_Audio : CopiedSettings
{
};
struct TCopyParams_Advanced : CopiedSettings
{
};

// The four slots: empty at start, filled by a copy; a paste command is
// enabled exactly when its slot holds a value.
struct SettingsClipboard
{
    std::optional<TCopyParams_AVI> CopyParams_AVI;
    std::optional<TCopyParams_MPG> CopyParams_MPG;
    std::optional<TCopyParams_Audio> CopyParams_Audio;
    std::optional<TCopyParams_Advanced> CopyParams_Advanced;
};

TCopyParams_AVI CopyVideoSettings_Avi(const EncodingSettings &s, const TAppStrings &strings);
TCopyParams_MPG CopyVideoSettings_Mpg(const EncodingSettings &s, const TAppStrings &strings);
TCopyParams_Audio CopyAudioSettings(const EncodingSettings &s, const TAppStrings &strings);
TCopyParams_Advanced CopyAdvancedSettings(const EncodingSettings &s);

// Threads and bitrates must be integers, FPS texts number-like, the aspect
// a valid aspect; a text that fails becomes Main.Auto. The video pastes
// activate their page.
void PasteVideoSettings_Avi(
    EncodingSettings &s, const TCopyParams_AVI &p, const TAppStrings &strings);
void PasteVideoSettings_Mpg(
    EncodingSettings &s, const TCopyParams_MPG &p, const TAppStrings &strings);
void PasteAudioSettings(
    EncodingSettings &s, const TCopyParams_Audio &p, const TAppStrings &strings);
// audioTrackCount is the number of entries of the current audio-track list:
// a copied track outside it becomes entry 0.
void PasteAdvancedSettings(EncodingSettings &s, const TCopyParams_Advanced &p, int audioTrackCount);

// The video default commands also activate their page; the audio and
// advanced ones are SetDefaultAudioSettings and SetDefaultAdvancedSettings.
void DefaultVideoSettings_Avi(
    EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec);
void DefaultVideoSettings_Mpg(EncodingSettings &s, const TAppStrings &strings);

// The FPS check of a paste: after an optional leading "+" and upper-casing,
// at most one "-" and only first, at most one "E", at most one "." and one
// ",", not both, nothing but digits and those. An empty text passes.
bool IsNumberLikeText(const QString &text);

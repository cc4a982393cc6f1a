#pragma once

#include "encoding/EncodingSettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

struct TAppStrings;

// One entry of the profile list. Colours are 24-bit values stored as
// 0x00BBGGRR, like the colours of TAppParams.
struct TProfileInfo
{
    QString ShortFileName; // file name without folder
    QString DisplayName; // colour markers cut; "\n" and "\t" still escaped
    double SortIndex = -1;
    QString ProfileType; // kept for the record; nothing fills it
    uint32_t BgColor = 0xFFFFFF;
    uint32_t FontColor = 0xFFFFFF;
};

// Writes every encoder setting into presetFile, section by section (MAIN,
// AVI, MPG, AUDIO, ADVANCED), keeping every other key and line of an
// existing file. The file is replaced atomically: a failed save leaves the
// old file whole. errorText (when given) says why it failed.
bool SaveProfile(const QString &presetFile, const EncodingSettings &s, const TAppStrings &strings,
    QString *errorText = nullptr);

// Applies the keys of presetFile in the order MAIN, AVI, AUDIO, MPG,
// ADVANCED, each normalised and corrected as described at ApplyProfileKey.
// A missing key is applied from the current value (so the corrections still
// run), except VideoCodec and AudioCodec, whose missing value reads "XVID"
// and "AUTO", and AdditionalParams, which then stays. A missing file changes
// nothing and gives false. No AppName or AppVer check.
bool LoadProfile(const QString &presetFile, EncodingSettings &s, const TAppStrings &strings,
    int defaultVideoCodec);

// Applies one profile key exactly as loading it would (value trimmed and
// cut to the INI value limit first). defaultVideoCodec is the AVI codec
// entry of the DefaultVideoCodec option, the fallback for an unknown video
// codec. Section and key match without regard to case. Returns false for a
// key that profiles do not have; the list-only MAIN keys (AppName, AppVer,
// DisplayName, SortIndex, BgColor, FontColor) are known and change nothing.
// A value that is not an integer leaves an integer or check-box setting as
// it was. Indexes of the fixed lists outside them become -1 (no selection);
// the resolution index is only kept at -1 or above, since its list comes
// from a data file (NormalizeListIndexes checks it against the list). Spin
// values are held to their controls' ranges (size 2..30000, crop 0..5000),
// the volume to 1..300.
bool ApplyProfileKey(EncodingSettings &s, const QString &section, const QString &key,
    const QString &value, const TAppStrings &strings, int defaultVideoCodec);

// Codec names as profiles store them, to an item index; -1 for an unknown
// name. "H.264", "h-264" and "x264" all name H.264; the upper-cased display
// text of the catalogue's copy entry names COPY.
int AviVideoCodecFromProfileName(const QString &name, const TAppStrings &strings);
int AudioCodecFromProfileName(const QString &name, const TAppStrings &strings);

// "#RRGGBB", "#RGB", "r,g,b" or "r g b" (optionally "rgb(...)"), or a
// hexadecimal 0xBBGGRR value with an optional "$" or "0x" prefix (a text of
// digits only is read as such a value). False, with color untouched, for
// anything else.
bool ParseColorText(const QString &text, uint32_t &color);

// The shown name of a profile: DisplayName cut at the first "[clb=" or
// "[clf=" (any case) and trimmed; when nothing is left, the file name
// without folder and extension.
QString ProfileDisplayName(const QString &displayNameKey, const QString &fileName);
// "\n" becomes a line break and "\t" a tab.
QString ExpandDisplayEscapes(const QString &displayName);

// Appends the list entry of fName to profileList; false (nothing appended)
// when the file is missing or its MAIN keys AppName and AppVer are not
// "Quillon" and "1.10" (without regard to case).
bool AP_AddProfile(const QString &fName, QList<TProfileInfo> &profileList);

// The profiles in profilesDir ("*.ini", any case, no subfolders), the
// last-session profile left out, sorted by SortIndex; equal indexes keep
// the order of the file names (compared without case).
QList<TProfileInfo> GetProfiles(const QString &profilesDir, const QString &lastProfileFile);
// The entries of cbProfileNew: the two fixed ones, then one per profile.
QStringList ProfileListItems(const QList<TProfileInfo> &profileList, const TAppStrings &strings);

// The colours a profile entry of cbProfileNew is drawn in: its own, except
// that white on white (a profile that names no colours) is drawn like the
// two fixed entries, black on light grey (240, 240, 240), and that equal
// background and text colours become light grey text (230, 230, 230) on
// dark grey (51, 51, 51).
struct ProfileEntryColors
{
    bool Plain = false; // drawn like the fixed entries
    uint32_t BgColor = 0;
    uint32_t FontColor = 0;
};
ProfileEntryColors ProfileEntryColorsOf(const TProfileInfo &profile);

// The file an entry of cbProfileNew loads: entry 0 the last-session
// profile, entry 1 none (the defaults apply), entry k >= 2 profile k - 2 of
// the list (the first one when k - 2 is past its end; none when the list is
// empty).
QString ProfileFileForEntry(int entry, const QList<TProfileInfo> &profileList,
    const QString &profilesDir, const QString &lastProfileFile);
// The entry to select after a save: the profile whose ShortFileName equals
// the saved file's name (without regard to case) plus 2, or 0.
int ProfileEntryAfterSave(const QList<TProfileInfo> &profileList, const QString &savedFile);
// Whether a saved file lies directly in the profiles folder, so the list
// needs rebuilding.
bool IsInProfilesDir(const QString &file, const QString &profilesDir);

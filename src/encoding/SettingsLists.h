#pragma once

#include "encoding/EncodingSettings.h"
#include "settings/SettingsFile.h"

#include <QString>
#include <QStringList>
#include <array>

struct TAppStrings;
struct TVideoFileInfo;

// Item indexes of the two codec lists: the index is what the builders and
// the profile files use.
namespace AviCodec {
enum : int {
    Xvid = 0,
    DivX3 = 1,
    H264 = 2,
    FFMpeg4 = 3,
    MsMpeg4V2 = 4,
    Wmv1 = 5,
    Wmv2 = 6,
    MotionJpeg = 7,
    HuffYUV = 8,
    Copy = 9,
    Count = 10
};
} // namespace AviCodec

namespace AudioCodec {
enum : int {
    Auto = 0,
    Mp3 = 1,
    Mp2 = 2,
    Ac3 = 3,
    Aac = 4,
    Wma1 = 5,
    Wma2 = 6,
    Pcm = 7,
    Copy = 8,
    Count = 9
};
} // namespace AudioCodec

// One codec entry. DisplayText is the English item text; entries whose text
// comes from the catalogue (AVI 8 and 9, audio 0 and 8) are substituted by
// the *Items functions below.
struct CodecEntry
{
    const char *DisplayText;
    const char *ProfileName; // the name profiles store
    const char *Encoder; // FFmpeg encoder; "auto" for the per-file audio choice
};

inline constexpr std::array<CodecEntry, AviCodec::Count> AviVideoCodecTable{{
    {"Xvid", "Xvid", "libxvid"},
    {"DivX 3 Low-Motion", "DX3", "msmpeg4"},
    {"H.264 / MPEG-4 AVC", "H.264", "libx264"},
    {"MPEG4 - FFmpeg ISO MPEG-4", "FFMPEG4", "mpeg4"},
    {"MS MPEG-4 version 2", "MSMPEG4V2", "msmpeg4v2"},
    {"WMV version 1 (WMP 7)", "WMV1", "wmv1"},
    {"WMV version 2 (WMP 8)", "WMV2", "wmv2"},
    {"Motion JPEG", "Motion JPEG", "mjpeg"},
    {"HuffYUV (lossless)", "HuffYUV", "huffyuv"},
    {"Copy original video stream", "COPY", "copy"},
}};

inline constexpr std::array<CodecEntry, AudioCodec::Count> AudioCodecTable{{
    {"Auto", "AUTO", "auto"},
    {"MP3 - MPEG-1 Layer 3", "MP3", "libmp3lame"},
    {"MP2 - MPEG-1 Layer 2", "MP2", "mp2"},
    {"AC-3 - ATSC A/52A", "AC3", "ac3"},
    {"AAC - Advanced Audio Coding", "AAC", "libfdk_aac"},
    {"WMA v1 - Windows Media Audio 1", "WMA1", "wmav1"},
    {"WMA v2 - Windows Media Audio 2", "WMA2", "wmav2"},
    {"PCM 16-bit (Little endian)", "PCM", "pcm_s16le"},
    {"Copy original audio stream", "COPY", "copy"},
}};

// Entries of cbMpgVideo, cbMpegVersion, cbAudioChannels, cbInterlacing,
// cbResolution's fixed head, cbConvertColors, cbOutputExists and
// cbAfterConversion; Count is the length of a list with built-in items.
namespace MpgVideo {
enum : int { PalDvd = 0, NtscDvd = 1, Custom = 2, Count = 3 };
}
namespace MpegVersion {
enum : int { Mpeg1 = 0, Mpeg2 = 1, Count = 2 };
}
namespace AudioChannels {
enum : int { Auto = 0, Mono = 1, Stereo = 2, Six = 3, Count = 4 };
}
namespace Interlacing {
enum : int { Auto = 0, Deinterlace = 1, KeepOriginal = 2, Count = 3 };
}
namespace Resolution {
enum : int { Auto = 0, Custom = 1, FirstPreset = 2 };
}
namespace ConvertColors {
enum : int { Grayscale = 0, Sepia = 1, Count = 2 };
}
namespace OutputExists {
enum : int { Rename = 0, Overwrite = 1, Skip = 2, Count = 3 };
}
namespace AfterConversion {
enum : int { DoNothing = 0, CloseApplication = 1, CloseWindows = 2, Count = 3 };
}
// cbSimultaneousConversions: Auto, then the counts 1 to the largest.
namespace SimultaneousConversions {
enum : int { Auto = 0, Count = MaxSimultaneousConversions + 1 };
}

// The items of every list control, in the current language.
QStringList AviVideoCodecItems(const TAppStrings &strings);
QStringList AviVideoThreadsItems(const TAppStrings &strings);
QStringList AviVideoBitrateItems(const TAppStrings &strings);
QStringList VideoFpsItems(const TAppStrings &strings); // both FPS fields
QStringList AviVideoAspectItems(const TAppStrings &strings);
QStringList MpgVideoItems(const TAppStrings &strings);
QStringList MpegVersionItems();
QStringList MpgVideoBitrateItems(const TAppStrings &strings);
QStringList AudioCodecItems(const TAppStrings &strings);
QStringList AudioBitrateItems(const TAppStrings &strings);
QStringList AudioSamplingItems(const TAppStrings &strings);
QStringList AudioChannelsItems(const TAppStrings &strings);
QStringList InterlacingItems(const TAppStrings &strings);
QStringList RotateItems();
QStringList ConvertColorsItems(const TAppStrings &strings);
QStringList OutputExistsItems(const TAppStrings &strings);
QStringList AfterConversionItems(const TAppStrings &strings);
QStringList SimultaneousConversionsItems(const TAppStrings &strings);

// The profile name and FFmpeg encoder of an entry; empty outside the list.
QString AviVideoCodecProfileName(int index);
QString AviVideoCodecEncoder(int index);
QString AudioCodecProfileName(int index);
QString AudioCodecEncoder(int index);

// Index of the item equal to text, -1 when none: the item index of an
// editable list, whose record field holds only the text.
int EditableItemIndex(const QStringList &items, const QString &text);

// Resolution presets. Lines keep their leading blanks and lose trailing
// ones; empty lines and lines starting with "//" are skipped.
QStringList ParseResolutionPresets(const QString &text);
QStringList BuiltInResolutionPresets();
// "Auto", "Custom" and the presets of the data file, or the built-in ones
// when the file does not exist; a file that exists but cannot be read gives
// the two fixed entries only.
QStringList ResolutionItems(const TAppStrings &strings, const QString &resolutionTxt);

// How cbResolution marks an entry: entries 0 and 1 are drawn in bold, and
// each entry is tinted by its kind: entry 1 ("Custom"), a percentage of the
// source ("%"), a 16:9 size ("16:9" or "16/9"), a 4:3 size ("4:3" or "4/3",
// but not "64"), or none.
enum class ResolutionEntryKind { Plain, Custom, Percentage, Wide, Standard };
ResolutionEntryKind ResolutionEntryKindOf(int index, const QString &text);
bool IsBoldResolutionEntry(int index);

// Video tags: per trimmed line containing a blank, the text before the
// first blank unless it is empty or starts with "//". Not sorted, duplicates
// kept.
QStringList ParseVideoTags(const QString &text);
QStringList BuiltInVideoTags();
// The data file's tags, the built-in ones when it does not exist, none when
// it exists but cannot be read.
QStringList VideoTagItems(const QString &fourccTagsFile);

// The audio-track list for an analysed file: entry 0 (automatic, first
// track), then one entry per described audio stream. A file with more than
// 48 audio streams offers the 48 that the analysis describes: a later track
// could not be mapped to a stream index.
QStringList AudioTrackItems(const TVideoFileInfo &info, const TAppStrings &strings);
QString AudioTrackEntryText(int trackNo, const TVideoFileInfo &info, const TAppStrings &strings);

// The lists built at start from the data files; the audio-track list holds
// only its entry 0 until a file is selected.
EncodingLists BuildEncodingLists(
    const TAppStrings &strings, const QString &resolutionTxt, const QString &fourccTagsFile);

// Rebuilds lists.cbAudioTrackNo for a newly selected (already analysed) file
// and keeps s.cbAudioTrackNo when it is still inside the list, else entry 0.
void UpdateCbAudioTrackNo(EncodingSettings &s, EncodingLists &lists, const TVideoFileInfo &info,
    const TAppStrings &strings);

// An item index that the record holds but its list does not (a profile may
// carry any number) becomes -1, no selection, as a list control shows it.
// The audio-track index is left alone: it applies by number to every
// converted file, whatever the selected file offers.
void NormalizeListIndexes(EncodingSettings &s, const EncodingLists &lists);

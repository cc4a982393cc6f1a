#pragma once

#include "encoding/EncodingSettings.h"

#include <QString>
#include <optional>

struct TAppStrings;

// The private copy slots of the four settings groups. Index fields are item
// indexes (-1 for none); for an editable list the record holds only the
// text, so its index is that of the item equal to the text.

struct TCopyParams_AVI
{
    int cbAviVideoThreads_Index = -1;
    QString cbAviVideoThreads_Text;
    int cbAviVideoCodec_Index = -1;
    int cbAViVideoBitrate_Index = -1;
    QString cbAViVideoBitrate_Text;
    int cbAviVideoFPS_Index = -1;
    QString cbAviVideoFPS_Text;
    int cbAviVideoAspect_Index = -1;
    QString cbAviVideoAspect_Text;
    bool chAviVideo2Pass_Checked = false;
    bool chAviVideoDontCopy_Checked = false;
};

struct TCopyParams_MPG
{
    int cbMpgVideo_Index = -1;
    int cbMpgVideoBitrate_Index = -1;
    QString cbMpgVideoBitrate_Text;
    int cbMpgVideoFPS_Index = -1;
    QString cbMpgVideoFPS_Text;
    int cbMpegVersion_Index = -1;
    bool chMpgVideo2Pass_Checked = false;
    bool chMpgVideoDontCopy_Checked = false;
};

struct TCopyParams_Audio
{
    int cbAudioCodec_Index = -1;
    int cbAudioBitrate_Index = -1;
    QString cbAudioBitrate_Text;
    int cbAudioSampling_Index = -1;
    QString cbAudioSampling_Text;
    int cbAudioChannels_Index = -1;
    int tbAudioVolume_Position = 100;
    bool chAudioDontCopy_Checked = false;
};

struct TCopyParams_Advanced
{
    QString FFmpegParams;
    int cbAudioTrackNo_Index = 0;
    int cbInterlacing_Index = 0;
    int cbResolution_Index = 0;
    int spedResWidth_Value = 0;
    int spedResHeight_Value = 0;
    int spedCropTop_Value = 0;
    int spedCropBottom_Value = 0;
    int spedCropLeft_Value = 0;
    int spedCropRight_Value = 0;
    bool chVideoFourcc_Checked = false;
    QString cbVideoTag_Text;
    bool chBrightness_Checked = false;
    int tbBrightness_Position = 0;
    bool chSaturation_Checked = false;
    int tbSaturation_Position = 10;
    bool chFlipHorizontal_Checked = false;
    bool chFlipVertical_Checked = false;
    bool chNegative_Checked = false;
    bool chRotate_Checked = false;
    QString cbRotate_Text;
    bool chConvertColors_Checked = false;
    int cbConvertColors_Index = 0;
};

// The four slots: empty at start, filled by a copy; a paste command is
// enabled exactly when its slot holds a value.
struct TSettingsClipboard
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

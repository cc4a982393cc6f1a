#include "encoding/SettingsClipboard.h"

#include "app/TextHelpers.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

namespace {

// Blanks around a typed number do not make it invalid: the command builders
// read the trimmed text, so the paste keeps what they would accept.
QString integerOrAuto(const QString &text, const TAppStrings &strings)
{
    return IsValidInt(text.trimmed()) ? text : strings.Main.Auto;
}

QString numberLikeOrAuto(const QString &text, const TAppStrings &strings)
{
    return IsNumberLikeText(text.trimmed()) ? text : strings.Main.Auto;
}

} // namespace

bool IsNumberLikeText(const QString &text)
{
    QString t = text;
    if (t.startsWith(u'+'))
        t.remove(0, 1);
    t = t.toUpper();
    if (t.lastIndexOf(u'-') > 0 || t.count(u'-') > 1 || t.count(u'E') > 1 || t.count(u'.') > 1
        || t.count(u',') > 1 || (t.contains(u'.') && t.contains(u',')))
        return false;
    for (QChar c : t)
        if (!c.isDigit() && c != u'E' && c != u',' && c != u'-' && c != u'.')
            return false;
    return true;
}

TCopyParams_AVI CopyVideoSettings_Avi(const EncodingSettings &s, const TAppStrings &strings)
{
    TCopyParams_AVI p;
    p.cbAviVideoThreads_Index
        = EditableItemIndex(AviVideoThreadsItems(strings), s.cbAviVideoThreads);
    p.cbAviVideoThreads_Text = s.cbAviVideoThreads;
    p.cbAviVideoCodec_Index = s.cbAviVideoCodec;
    p.cbAViVideoBitrate_Index
        = EditableItemIndex(AviVideoBitrateItems(strings), s.cbAviVideoBitrate);
    p.cbAViVideoBitrate_Text = s.cbAviVideoBitrate;
    p.cbAviVideoFPS_Index = EditableItemIndex(VideoFpsItems(strings), s.cbAviVideoFPS);
    p.cbAviVideoFPS_Text = s.cbAviVideoFPS;
    p.cbAviVideoAspect_Index = EditableItemIndex(AviVideoAspectItems(strings), s.cbAviVideoAspect);
    p.cbAviVideoAspect_Text = s.cbAviVideoAspect;
    p.chAviVideo2Pass_Checked = s.chAviVideo2Pass;
    p.chAviVideoDontCopy_Checked = s.chAviVideoDontCopy;
    return p;
}

TCopyParams_MPG CopyVideoSettings_Mpg(const EncodingSettings &s, const TAppStrings &strings)
{
    TCopyParams_MPG p;
    p.cbMpgVideo_Index = s.cbMpgVideo;
    p.cbMpgVideoBitrate_Index
        = EditableItemIndex(MpgVideoBitrateItems(strings), s.cbMpgVideoBitrate);
    p.cbMpgVideoBitrate_Text = s.cbMpgVideoBitrate;
    p.cbMpgVideoFPS_Index = EditableItemIndex(VideoFpsItems(strings), s.cbMpgVideoFPS);
    p.cbMpgVideoFPS_Text = s.cbMpgVideoFPS;
    p.cbMpegVersion_Index = s.cbMpegVersion;
    p.chMpgVideo2Pass_Checked = s.chMpgVideo2Pass;
    p.chMpgVideoDontCopy_Checked = s.chMpgVideoDontCopy;
    return p;
}

TCopyParams_Audio CopyAudioSettings(const EncodingSettings &s, const TAppStrings &strings)
{
    TCopyParams_Audio p;
    p.cbAudioCodec_Index = s.cbAudioCodec;
    p.cbAudioBitrate_Index = EditableItemIndex(AudioBitrateItems(strings), s.cbAudioBitrate);
    p.cbAudioBitrate_Text = s.cbAudioBitrate;
    p.cbAudioSampling_Index = EditableItemIndex(AudioSamplingItems(strings), s.cbAudioSampling);
    p.cbAudioSampling_Text = s.cbAudioSampling;
    p.cbAudioChannels_Index = s.cbAudioChannels;
    p.tbAudioVolume_Position = s.tbAudioVolume;
    p.chAudioDontCopy_Checked = s.chAudioDontCopy;
    return p;
}

TCopyParams_Advanced CopyAdvancedSettings(const EncodingSettings &s)
{
    TCopyParams_Advanced p;
    p.FFmpegParams = s.meParams;
    p.cbAudioTrackNo_Index = s.cbAudioTrackNo;
    p.cbInterlacing_Index = s.cbInterlacing;
    p.cbResolution_Index = s.cbResolution;
    p.spedResWidth_Value = s.spedResWidth;
    p.spedResHeight_Value = s.spedResHeight;
    p.spedCropTop_Value = s.spedCropTop;
    p.spedCropBottom_Value = s.spedCropBottom;
    p.spedCropLeft_Value = s.spedCropLeft;
    p.spedCropRight_Value = s.spedCropRight;
    p.chVideoFourcc_Checked = s.chVideoFourcc;
    p.cbVideoTag_Text = s.cbVideoTag;
    p.chBrightness_Checked = s.chBrightness;
    p.tbBrightness_Position = s.tbBrightness;
    p.chSaturation_Checked = s.chSaturation;
    p.tbSaturation_Position = s.tbSaturation;
    p.chFlipHorizontal_Checked = s.chFlipHorizontal;
    p.chFlipVertical_Checked = s.chFlipVertical;
    p.chNegative_Checked = s.chNegative;
    p.chRotate_Checked = s.chRotate;
    p.cbRotate_Text = s.cbRotate;
    p.chConvertColors_Checked = s.chConvertColors;
    p.cbConvertColors_Index = s.cbConvertColors;
    return p;
}

// The record keeps only the text of an editable list, so the copied item
// index of those lists needs no separate step: it follows from the text.

void PasteVideoSettings_Avi(
    EncodingSettings &s, const TCopyParams_AVI &p, const TAppStrings &strings)
{
    s.cbAviVideoThreads = integerOrAuto(p.cbAviVideoThreads_Text, strings);
    s.cbAviVideoBitrate = integerOrAuto(p.cbAViVideoBitrate_Text, strings);
    s.cbAviVideoFPS = numberLikeOrAuto(p.cbAviVideoFPS_Text, strings);
    s.cbAviVideoAspect
        = ParseAspectText(p.cbAviVideoAspect_Text) ? p.cbAviVideoAspect_Text : strings.Main.Auto;
    s.cbAviVideoCodec = p.cbAviVideoCodec_Index;
    s.chAviVideo2Pass = p.chAviVideo2Pass_Checked;
    s.chAviVideoDontCopy = p.chAviVideoDontCopy_Checked;
    s.pcVideoFormat = EncodingSettings::tsAvi;
}

void PasteVideoSettings_Mpg(
    EncodingSettings &s, const TCopyParams_MPG &p, const TAppStrings &strings)
{
    s.cbMpgVideo = p.cbMpgVideo_Index;
    s.cbMpegVersion = p.cbMpegVersion_Index;
    s.cbMpgVideoBitrate = integerOrAuto(p.cbMpgVideoBitrate_Text, strings);
    s.cbMpgVideoFPS = numberLikeOrAuto(p.cbMpgVideoFPS_Text, strings);
    s.chMpgVideo2Pass = p.chMpgVideo2Pass_Checked;
    s.chMpgVideoDontCopy = p.chMpgVideoDontCopy_Checked;
    s.pcVideoFormat = EncodingSettings::tsMpg;
}

void PasteAudioSettings(EncodingSettings &s, const TCopyParams_Audio &p, const TAppStrings &strings)
{
    s.cbAudioCodec = p.cbAudioCodec_Index;
    s.cbAudioBitrate = integerOrAuto(p.cbAudioBitrate_Text, strings);
    s.cbAudioSampling = integerOrAuto(p.cbAudioSampling_Text, strings);
    s.cbAudioChannels = p.cbAudioChannels_Index;
    s.tbAudioVolume = p.tbAudioVolume_Position;
    s.chAudioDontCopy = p.chAudioDontCopy_Checked;
}

void PasteAdvancedSettings(EncodingSettings &s, const TCopyParams_Advanced &p, int audioTrackCount)
{
    s.meParams = p.FFmpegParams;
    // The track list describes the file selected now, not the one of the copy.
    s.cbAudioTrackNo = p.cbAudioTrackNo_Index >= 0 && p.cbAudioTrackNo_Index < audioTrackCount
        ? p.cbAudioTrackNo_Index
        : 0;
    s.cbInterlacing = p.cbInterlacing_Index;
    s.cbResolution = p.cbResolution_Index;
    s.spedResWidth = p.spedResWidth_Value;
    s.spedResHeight = p.spedResHeight_Value;
    s.spedCropTop = p.spedCropTop_Value;
    s.spedCropBottom = p.spedCropBottom_Value;
    s.spedCropLeft = p.spedCropLeft_Value;
    s.spedCropRight = p.spedCropRight_Value;
    s.chVideoFourcc = p.chVideoFourcc_Checked;
    s.cbVideoTag = p.cbVideoTag_Text;
    s.chBrightness = p.chBrightness_Checked;
    s.tbBrightness = p.tbBrightness_Position;
    s.chSaturation = p.chSaturation_Checked;
    s.tbSaturation = p.tbSaturation_Position;
    s.chFlipHorizontal = p.chFlipHorizontal_Checked;
    s.chFlipVertical = p.chFlipVertical_Checked;
    s.chNegative = p.chNegative_Checked;
    s.chRotate = p.chRotate_Checked;
    s.cbRotate = p.cbRotate_Text;
    s.chConvertColors = p.chConvertColors_Checked;
    s.cbConvertColors = p.cbConvertColors_Index;
}

void DefaultVideoSettings_Avi(
    EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec)
{
    SetDefaultVideoSettings_Avi(s, strings, defaultVideoCodec);
    s.pcVideoFormat = EncodingSettings::tsAvi;
}

void DefaultVideoSettings_Mpg(EncodingSettings &s, const TAppStrings &strings)
{
    SetDefaultVideoSettings_Mpg(s, strings);
    s.pcVideoFormat = EncodingSettings::tsMpg;
}

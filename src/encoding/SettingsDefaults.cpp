#include "encoding/SettingsDefaults.h"

#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

int DefaultVideoCodecEntry(const QString &optionText)
{
    return optionText.trimmed().toUpper() == u"H.264" ? AviCodec::H264 : AviCodec::Xvid;
}

QString DefaultVideoCodecText(int entry)
{
    return entry == AviCodec::H264 ? QStringLiteral("H.264") : QStringLiteral("Xvid");
}

void SetDefaultVideoSettings_Avi(
    EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec)
{
    s.cbAviVideoThreads = strings.Main.Auto;
    s.cbAviVideoBitrate = strings.Main.Auto;
    s.cbAviVideoFPS = strings.Main.Auto;
    s.cbAviVideoAspect = strings.Main.Auto;
    s.cbAviVideoCodec = defaultVideoCodec >= 0 && defaultVideoCodec < AviCodec::Count
        ? defaultVideoCodec
        : AviCodec::Xvid;
    s.chAviVideo2Pass = false;
    s.chAviVideoDontCopy = false;
}

void SetDefaultVideoSettings_Mpg(EncodingSettings &s, const TAppStrings &strings)
{
    s.cbMpgVideo = MpgVideo::Custom;
    s.cbMpgVideoBitrate = strings.Main.Auto;
    s.cbMpgVideoFPS = strings.Main.Auto;
    s.cbMpegVersion = 0;
    s.chMpgVideo2Pass = false;
    s.chMpgVideoDontCopy = false;
}

void SetDefaultAudioSettings(EncodingSettings &s, const TAppStrings &strings)
{
    s.cbAudioCodec = AudioCodec::Auto;
    s.cbAudioBitrate = strings.Main.Auto;
    s.cbAudioSampling = strings.Main.Auto;
    s.cbAudioChannels = 0;
    s.tbAudioVolume = 100;
    s.chAudioDontCopy = false;
}

void SetDefaultAdvancedSettings(EncodingSettings &s)
{
    s.cbAudioTrackNo = 0;
    s.cbInterlacing = Interlacing::Auto;
    s.meParams.clear();
    s.cbResolution = Resolution::Auto;
    s.spedResWidth = 854;
    s.spedResHeight = 480;
    s.spedCropTop = s.spedCropBottom = s.spedCropLeft = s.spedCropRight = 0;
    s.chVideoFourcc = false;
    s.cbVideoTag = QStringLiteral("XVID");
    s.chConvertColors = false;
    s.cbConvertColors = ConvertColors::Grayscale;
    s.chBrightness = false;
    s.tbBrightness = 0;
    s.chSaturation = false;
    s.tbSaturation = 10;
    s.chFlipHorizontal = s.chFlipVertical = false;
    s.chNegative = false;
    s.chRotate = false;
    s.cbRotate = QStringLiteral("180");
}

void SetDefaultParams(EncodingSettings &s, const TAppStrings &strings, int defaultVideoCodec)
{
    SetDefaultVideoSettings_Avi(s, strings, defaultVideoCodec);
    SetDefaultVideoSettings_Mpg(s, strings);
    SetDefaultAudioSettings(s, strings);
    SetDefaultAdvancedSettings(s);
    s.pcVideoFormat = EncodingSettings::tsAvi;
}

EncodingSettings DefaultEncodingSettings(const TAppStrings &strings, int defaultVideoCodec)
{
    EncodingSettings s;
    SetDefaultParams(s, strings, defaultVideoCodec);
    return s;
}

#include "encoding/Profiles.h"

#include "app/AppInfo.h"
#include "app/TextHelpers.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Every key of a profile, in the order SaveProfile writes them.
enum class Key {
    AppName,
    AppVer,
    OutputFormat,
    DisplayName,
    SortIndex,
    BgColor,
    FontColor,
    AviVideoCodec,
    AviVideoBitrate,
    AviVideoFPS,
    AviVideoAspect,
    AviVideo2Pass,
    AviDoNotCopyVideo,
    AviEncoderThreads,
    MpgVideoFormat,
    MpgMPEGVersion,
    MpgVideoBitrate,
    MpgVideoFPS,
    MpgVideo2Pass,
    MpgDoNotCopyVideo,
    AudioCodec,
    AudioBitrate,
    AudioSampling,
    AudioChannels,
    DoNotCopyAudio,
    Volume,
    Resolution,
    ResWidth,
    ResHeight,
    ForceVideoTag,
    VideoTag,
    CropTop,
    CropBottom,
    CropLeft,
    CropRight,
    AdditionalParams,
    Interlacing,
    ConvertColors,
    ConvertColorsValue,
    Brightness,
    BrightnessValue,
    Saturation,
    SaturationValue,
    FlipHorizontal,
    FlipVertical,
    Negative,
    Rotate,
    RotateValue,
};

struct KeyInfo
{
    const char *section;
    const char *name;
    Key key;
    bool written; // the list-only MAIN keys are read, never written
};

constexpr KeyInfo KeyTable[] = {
    {"MAIN", "AppName", Key::AppName, true},
    {"MAIN", "AppVer", Key::AppVer, true},
    {"MAIN", "OutputFormat", Key::OutputFormat, true},
    {"MAIN", "DisplayName", Key::DisplayName, false},
    {"MAIN", "SortIndex", Key::SortIndex, false},
    {"MAIN", "BgColor", Key::BgColor, false},
    {"MAIN", "FontColor", Key::FontColor, false},
    {"AVI", "VideoCodec", Key::AviVideoCodec, true},
    {"AVI", "VideoBitrate", Key::AviVideoBitrate, true},
    {"AVI", "VideoFPS", Key::AviVideoFPS, true},
    {"AVI", "VideoAspect", Key::AviVideoAspect, true},
    {"AVI", "Video2Pass", Key::AviVideo2Pass, true},
    {"AVI", "DoNotCopyVideo", Key::AviDoNotCopyVideo, true},
    {"AVI", "EncoderThreads", Key::AviEncoderThreads, true},
    {"MPG", "VideoFormat", Key::MpgVideoFormat, true},
    {"MPG", "MPEGVersion", Key::MpgMPEGVersion, true},
    {"MPG", "VideoBitrate", Key::MpgVideoBitrate, true},
    {"MPG", "VideoFPS", Key::MpgVideoFPS, true},
    {"MPG", "Video2Pass", Key::MpgVideo2Pass, true},
    {"MPG", "DoNotCopyVideo", Key::MpgDoNotCopyVideo, true},
    {"AUDIO", "AudioCodec", Key::AudioCodec, true},
    {"AUDIO", "AudioBitrate", Key::AudioBitrate, true},
    {"AUDIO", "AudioSampling", Key::AudioSampling, true},
    {"AUDIO", "AudioChannels", Key::AudioChannels, true},
    {"AUDIO", "DoNotCopyAudio", Key::DoNotCopyAudio, true},
    {"AUDIO", "Volume", Key::Volume, true},
    {"ADVANCED", "Resolution", Key::Resolution, true},
    {"ADVANCED", "ResWidth", Key::ResWidth, true},
    {"ADVANCED", "ResHeight", Key::ResHeight, true},
    {"ADVANCED", "ForceVideoTag", Key::ForceVideoTag, true},
    {"ADVANCED", "VideoTag", Key::VideoTag, true},
    {"ADVANCED", "CropTop", Key::CropTop, true},
    {"ADVANCED", "CropBottom", Key::CropBottom, true},
    {"ADVANCED", "CropLeft", Key::CropLeft, true},
    {"ADVANCED", "CropRight", Key::CropRight, true},
    {"ADVANCED", "AdditionalParams", Key::AdditionalParams, true},
    {"ADVANCED", "Interlacing", Key::Interlacing, true},
    {"ADVANCED", "ConvertColors", Key::ConvertColors, true},
    {"ADVANCED", "ConvertColorsValue", Key::ConvertColorsValue, true},
    {"ADVANCED", "Brightness", Key::Brightness, true},
    {"ADVANCED", "BrightnessValue", Key::BrightnessValue, true},
    {"ADVANCED", "Saturation", Key::Saturation, true},
    {"ADVANCED", "SaturationValue", Key::SaturationValue, true},
    {"ADVANCED", "FlipHorizontal", Key::FlipHorizontal, true},
    {"ADVANCED", "FlipVertical", Key::FlipVertical, true},
    {"ADVANCED", "Negative", Key::Negative, true},
    {"ADVANCED", "Rotate", Key::Rotate, true},
    {"ADVANCED", "RotateValue", Key::RotateValue, true},
};

constexpr const char *LoadOrder[] = {"MAIN", "AVI", "AUDIO", "MPG", "ADVANCED"};

// The ranges of the controls themselves: a value outside them cannot be
// shown, so it never enters the record.
constexpr int ResSizeMin = 2;
constexpr int ResSizeMax = 30000;
constexpr int CropMax = 5000;
constexpr int VolumeMin = 1;
constexpr int VolumeMax = 300;

const KeyInfo *findKey(const QString &section, const QString &key)
{
    for (const KeyInfo &info : KeyTable)
        if (section.compare(QLatin1String(info.section), Qt::CaseInsensitive) == 0
            && key.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return &info;
    return nullptr;
}

QString boolText(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

QString integerTextOrEmpty(const QString &text)
{
    const QString trimmed = text.trimmed();
    return IsValidInt(trimmed) ? trimmed : QString();
}

// The memo's lines joined by single spaces, as the additional parameters
// are passed on.
QString joinedParams(const QString &meParams)
{
    static const QRegularExpression lineBreak(u"\r\n|\n|\r"_s);
    QString joined;
    for (const QString &line : meParams.split(lineBreak))
        joined += u' ' + line;
    return joined.trimmed();
}

int rotationAngle(const QString &text)
{
    const QString trimmed = text.trimmed();
    return IsValidInt(trimmed) ? trimmed.toInt() : 180;
}

QString savedValue(const EncodingSettings &s, Key key, const TAppStrings &strings)
{
    const QString &autoWord = strings.Main.Auto;
    switch (key) {
    case Key::AppName:
        return QString::fromLatin1(AppInfo::ProgramName);
    case Key::AppVer:
        return QString::fromLatin1(AppInfo::ProgramVersion);
    case Key::OutputFormat:
        return s.IsMpg() ? u"MPG"_s : u"AVI"_s;
    case Key::DisplayName:
    case Key::SortIndex:
    case Key::BgColor:
    case Key::FontColor:
        return {};
    case Key::AviVideoCodec: {
        const QString name = AviVideoCodecProfileName(s.cbAviVideoCodec);
        return name.isEmpty() ? u"XVID"_s : name;
    }
    case Key::AviVideoBitrate:
        return integerTextOrEmpty(s.cbAviVideoBitrate);
    case Key::AviVideoFPS:
        return s.cbAviVideoFPS == autoWord ? QString() : s.cbAviVideoFPS;
    case Key::AviVideoAspect: {
        const QString aspect = s.cbAviVideoAspect.trimmed();
        return aspect == autoWord ? QString() : aspect;
    }
    case Key::AviVideo2Pass:
        return boolText(s.chAviVideo2Pass);
    case Key::AviDoNotCopyVideo:
        return boolText(s.chAviVideoDontCopy);
    case Key::AviEncoderThreads:
        return integerTextOrEmpty(s.cbAviVideoThreads);
    case Key::MpgVideoFormat:
        return QString::number(s.cbMpgVideo);
    case Key::MpgMPEGVersion:
        return QString::number(s.cbMpegVersion);
    case Key::MpgVideoBitrate:
        return integerTextOrEmpty(s.cbMpgVideoBitrate);
    case Key::MpgVideoFPS:
        return s.cbMpgVideoFPS == autoWord ? QString() : s.cbMpgVideoFPS;
    case Key::MpgVideo2Pass:
        return boolText(s.chMpgVideo2Pass);
    case Key::MpgDoNotCopyVideo:
        return boolText(s.chMpgVideoDontCopy);
    case Key::AudioCodec: {
        const QString name = AudioCodecProfileName(s.cbAudioCodec);
        return name.isEmpty() ? u"MP3"_s : name;
    }
    case Key::AudioBitrate:
        return integerTextOrEmpty(s.cbAudioBitrate);
    case Key::AudioSampling:
        return integerTextOrEmpty(s.cbAudioSampling);
    case Key::AudioChannels:
        return QString::number(s.cbAudioChannels);
    case Key::DoNotCopyAudio:
        return boolText(s.chAudioDontCopy);
    case Key::Volume:
        return QString::number(s.tbAudioVolume);
    case Key::Resolution:
        return QString::number(s.cbResolution);
    case Key::ResWidth:
        return QString::number(s.spedResWidth);
    case Key::ResHeight:
        return QString::number(s.spedResHeight);
    case Key::ForceVideoTag:
        return boolText(s.chVideoFourcc);
    case Key::VideoTag:
        return s.cbVideoTag;
    case Key::CropTop:
        return QString::number(s.spedCropTop);
    case Key::CropBottom:
        return QString::number(s.spedCropBottom);
    case Key::CropLeft:
        return QString::number(s.spedCropLeft);
    case Key::CropRight:
        return QString::number(s.spedCropRight);
    case Key::AdditionalParams:
        return joinedParams(s.meParams).replace(u'"', u"&quot;"_s);
    case Key::Interlacing:
        return QString::number(s.cbInterlacing);
    case Key::ConvertColors:
        return boolText(s.chConvertColors);
    case Key::ConvertColorsValue:
        return QString::number(s.cbConvertColors);
    case Key::Brightness:
        return boolText(s.chBrightness);
    case Key::BrightnessValue:
        return QString::number(s.tbBrightness);
    case Key::Saturation:
        return boolText(s.chSaturation);
    case Key::SaturationValue:
        return QString::number(s.tbSaturation);
    case Key::FlipHorizontal:
        return boolText(s.chFlipHorizontal);
    case Key::FlipVertical:
        return boolText(s.chFlipVertical);
    case Key::Negative:
        return boolText(s.chNegative);
    case Key::Rotate:
        return boolText(s.chRotate);
    case Key::RotateValue:
        return QString::number(rotationAngle(s.cbRotate));
    }
    return {};
}

// What loading reads for a key the file lacks: the current value, except
// for the two codecs (fixed defaults) and the keys that change nothing.
std::optional<QString> missingValue(const EncodingSettings &s, Key key, const TAppStrings &strings)
{
    switch (key) {
    case Key::AviVideoCodec:
        return u"XVID"_s;
    case Key::AudioCodec:
        return u"AUTO"_s;
    case Key::AdditionalParams:
    case Key::AppName:
    case Key::AppVer:
    case Key::DisplayName:
    case Key::SortIndex:
    case Key::BgColor:
    case Key::FontColor:
        return std::nullopt;
    default:
        return savedValue(s, key, strings);
    }
}

// An integer value, or the current one when the text is not an integer.
int integerOr(const QString &value, int current)
{
    int parsed = current;
    return IniFile::parseInteger(value, &parsed) ? parsed : current;
}

bool boolOr(const QString &value, bool current)
{
    return integerOr(value, current ? 1 : 0) != 0;
}

QString integerOrAuto(const QString &value, const TAppStrings &strings)
{
    return IsValidInt(value) ? value : strings.Main.Auto;
}

int listIndex(const QString &value, int current, int count)
{
    const int index = integerOr(value, current);
    return index >= 0 && index < count ? index : -1;
}

int inRangeOr(int value, int lo, int hi, int fallback)
{
    return value >= lo && value <= hi ? value : fallback;
}

int codecIndex(const QString &value, int count, int fallback,
    int (*byName)(const QString &, const TAppStrings &), const TAppStrings &strings)
{
    int index = -1;
    if (IsValidInt(value))
        index = value.toInt();
    else
        index = byName(value, strings);
    return index >= 0 && index < count ? index : fallback;
}

void applyValue(EncodingSettings &s, Key key, const QString &value, const TAppStrings &strings,
    int defaultVideoCodec)
{
    const QString &autoWord = strings.Main.Auto;
    switch (key) {
    case Key::AppName:
    case Key::AppVer:
    case Key::DisplayName:
    case Key::SortIndex:
    case Key::BgColor:
    case Key::FontColor:
        return;
    case Key::OutputFormat:
        s.pcVideoFormat
            = value.toUpper() == u"MPG" ? EncodingSettings::tsMpg : EncodingSettings::tsAvi;
        return;
    case Key::AviVideoCodec: {
        const int fallback = defaultVideoCodec >= 0 && defaultVideoCodec < AviCodec::Count
            ? defaultVideoCodec
            : AviCodec::Xvid;
        s.cbAviVideoCodec
            = codecIndex(value, AviCodec::Count, fallback, AviVideoCodecFromProfileName, strings);
        return;
    }
    case Key::AviVideoBitrate:
        s.cbAviVideoBitrate = integerOrAuto(value, strings);
        return;
    case Key::AviVideoFPS:
        s.cbAviVideoFPS = value.isEmpty() ? autoWord : value;
        return;
    case Key::AviVideoAspect:
        s.cbAviVideoAspect = value.isEmpty() || !ParseAspectText(value) ? autoWord : value;
        return;
    case Key::AviVideo2Pass:
        s.chAviVideo2Pass = boolOr(value, s.chAviVideo2Pass);
        return;
    case Key::AviDoNotCopyVideo:
        s.chAviVideoDontCopy = boolOr(value, s.chAviVideoDontCopy);
        return;
    case Key::AviEncoderThreads:
        s.cbAviVideoThreads = integerOrAuto(value, strings);
        return;
    case Key::MpgVideoFormat:
        s.cbMpgVideo = listIndex(value, s.cbMpgVideo, 3);
        return;
    case Key::MpgMPEGVersion:
        s.cbMpegVersion = listIndex(value, s.cbMpegVersion, 2);
        return;
    case Key::MpgVideoBitrate:
        s.cbMpgVideoBitrate = integerOrAuto(value, strings);
        return;
    case Key::MpgVideoFPS:
        s.cbMpgVideoFPS = value.isEmpty() ? autoWord : value;
        return;
    case Key::MpgVideo2Pass:
        s.chMpgVideo2Pass = boolOr(value, s.chMpgVideo2Pass);
        return;
    case Key::MpgDoNotCopyVideo:
        s.chMpgVideoDontCopy = boolOr(value, s.chMpgVideoDontCopy);
        return;
    case Key::AudioCodec:
        s.cbAudioCodec = codecIndex(
            value, AudioCodec::Count, AudioCodec::Auto, AudioCodecFromProfileName, strings);
        return;
    case Key::AudioBitrate:
        s.cbAudioBitrate = integerOrAuto(value, strings);
        return;
    case Key::AudioSampling:
        s.cbAudioSampling = integerOrAuto(value, strings);
        return;
    case Key::AudioChannels:
        s.cbAudioChannels = listIndex(value, s.cbAudioChannels, 4);
        return;
    case Key::DoNotCopyAudio:
        s.chAudioDontCopy = boolOr(value, s.chAudioDontCopy);
        return;
    case Key::Volume:
        // Clamped to 0..300, then to the track bar's own lower end.
        s.tbAudioVolume = std::clamp(integerOr(value, s.tbAudioVolume), VolumeMin, VolumeMax);
        return;
    case Key::Resolution:
        // The list's length depends on the data file: see NormalizeListIndexes.
        s.cbResolution = std::max(integerOr(value, s.cbResolution), -1);
        return;
    case Key::ResWidth:
        s.spedResWidth = std::clamp(integerOr(value, s.spedResWidth), ResSizeMin, ResSizeMax);
        return;
    case Key::ResHeight:
        s.spedResHeight = std::clamp(integerOr(value, s.spedResHeight), ResSizeMin, ResSizeMax);
        return;
    case Key::ForceVideoTag:
        s.chVideoFourcc = boolOr(value, s.chVideoFourcc);
        return;
    case Key::VideoTag:
        s.cbVideoTag = value;
        return;
    case Key::CropTop:
        s.spedCropTop = std::clamp(integerOr(value, s.spedCropTop), 0, CropMax);
        return;
    case Key::CropBottom:
        s.spedCropBottom = std::clamp(integerOr(value, s.spedCropBottom), 0, CropMax);
        return;
    case Key::CropLeft:
        s.spedCropLeft = std::clamp(integerOr(value, s.spedCropLeft), 0, CropMax);
        return;
    case Key::CropRight:
        s.spedCropRight = std::clamp(integerOr(value, s.spedCropRight), 0, CropMax);
        return;
    case Key::AdditionalParams:
        s.meParams = QString(value).replace(u"&quot;"_s, u"\""_s);
        return;
    case Key::Interlacing:
        s.cbInterlacing = inRangeOr(integerOr(value, s.cbInterlacing), 0, 2, 0);
        return;
    case Key::ConvertColors:
        s.chConvertColors = boolOr(value, s.chConvertColors);
        return;
    case Key::ConvertColorsValue:
        s.cbConvertColors = inRangeOr(integerOr(value, s.cbConvertColors), 0, 1, 0);
        return;
    case Key::Brightness:
        s.chBrightness = boolOr(value, s.chBrightness);
        return;
    case Key::BrightnessValue:
        s.tbBrightness = inRangeOr(integerOr(value, s.tbBrightness), -20, 20, 0);
        return;
    case Key::Saturation:
        s.chSaturation = boolOr(value, s.chSaturation);
        return;
    case Key::SaturationValue:
        s.tbSaturation = inRangeOr(integerOr(value, s.tbSaturation), 1, 30, 10);
        return;
    case Key::FlipHorizontal:
        s.chFlipHorizontal = boolOr(value, s.chFlipHorizontal);
        return;
    case Key::FlipVertical:
        s.chFlipVertical = boolOr(value, s.chFlipVertical);
        return;
    case Key::Negative:
        s.chNegative = boolOr(value, s.chNegative);
        return;
    case Key::Rotate:
        s.chRotate = boolOr(value, s.chRotate);
        return;
    case Key::RotateValue:
        s.cbRotate = QString::number(integerOr(value, rotationAngle(s.cbRotate)));
        return;
    }
}

int codecFromName(const QString &name, const QString &copyText,
    std::initializer_list<std::pair<const char *, int>> names)
{
    QString key = name.toUpper();
    if (key == copyText.toUpper())
        key = u"COPY"_s;
    key.remove(u' ').remove(u'.').remove(u'-');
    for (const auto &[text, index] : names)
        if (key == QLatin1String(text))
            return index;
    return -1;
}

bool isHex(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return false;
    return true;
}

uint32_t rgbToStored(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

bool parseDecimalTriple(QString text, uint32_t &color)
{
    text = text.trimmed();
    if (text.startsWith(u'(') && text.endsWith(u')'))
        text = text.mid(1, text.size() - 2);
    static const QRegularExpression separators(u"[,\\s]+"_s);
    const QStringList parts = text.trimmed().split(separators, Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return false;
    uint32_t c[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const uint v = parts[i].toUInt(&ok, 10);
        if (!ok || v > 255)
            return false;
        c[i] = v;
    }
    color = rgbToStored(c[0], c[1], c[2]);
    return true;
}

} // namespace

int AviVideoCodecFromProfileName(const QString &name, const TAppStrings &strings)
{
    return codecFromName(name, strings.Main.cbAviVideoCodec_Copy,
        {{"XVID", 0}, {"DIVX3", 1}, {"DX3", 1}, {"MSMPEG4", 1}, {"H264", 2}, {"X264", 2},
            {"FFMPEG4", 3}, {"MPEG4", 3}, {"MSMPEG4V2", 4}, {"MP42", 4}, {"WMV1", 5}, {"WMVV1", 5},
            {"WMV2", 6}, {"WMVV2", 6}, {"WMV", 6}, {"MOTIONJPEG", 7}, {"MJPEG", 7}, {"JPG", 7},
            {"JPEG", 7}, {"HUFFYUV", 8}, {"COPY", 9}});
}

int AudioCodecFromProfileName(const QString &name, const TAppStrings &strings)
{
    return codecFromName(name, strings.Main.cbAudioCodec_Copy,
        {{"AUTO", 0}, {"MP3", 1}, {"MP2", 2}, {"AC3", 3}, {"AAC", 4}, {"WMA1", 5}, {"WMAV1", 5},
            {"WMA2", 6}, {"WMAV2", 6}, {"WMA", 6}, {"PCM", 7}, {"WAV", 7}, {"COPY", 8}});
}

bool ApplyProfileKey(EncodingSettings &s, const QString &section, const QString &key,
    const QString &value, const TAppStrings &strings, int defaultVideoCodec)
{
    const KeyInfo *info = findKey(section.trimmed(), key.trimmed());
    if (!info)
        return false;
    applyValue(
        s, info->key, value.trimmed().left(IniFile::MaxValueLength), strings, defaultVideoCodec);
    return true;
}

bool SaveProfile(const QString &presetFile, const EncodingSettings &s, const TAppStrings &strings,
    QString *errorText)
{
    IniFile ini(presetFile);
    // A missing file starts empty; one that exists but cannot be read must
    // not be replaced by our keys alone.
    if (!ini.load() && QFileInfo::exists(presetFile)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read %1").arg(presetFile);
        return false;
    }
    for (const KeyInfo &info : KeyTable)
        if (info.written)
            ini.writeString(QLatin1String(info.section), QLatin1String(info.name),
                savedValue(s, info.key, strings));
    return ini.save(errorText);
}

bool LoadProfile(const QString &presetFile, EncodingSettings &s, const TAppStrings &strings,
    int defaultVideoCodec)
{
    // A file that exists but cannot be read is treated like a missing one:
    // reading every key's default from it would silently reset the codecs.
    IniFile ini(presetFile);
    if (!QFileInfo(presetFile).isFile() || !ini.load())
        return false;
    for (const char *section : LoadOrder) {
        for (const KeyInfo &info : KeyTable) {
            if (qstrcmp(info.section, section) != 0)
                continue;
            const QString sectionName = QLatin1String(info.section);
            const QString keyName = QLatin1String(info.name);
            const std::optional<QString> value = ini.hasKey(sectionName, keyName)
                ? std::optional<QString>(ini.readString(sectionName, keyName))
                : missingValue(s, info.key, strings);
            if (value)
                applyValue(s, info.key, value->trimmed(), strings, defaultVideoCodec);
        }
    }
    return true;
}

bool ParseColorText(const QString &text, uint32_t &color)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.startsWith(u'#')) {
        const QString hex = t.mid(1);
        if (!isHex(hex))
            return false;
        const uint v = hex.toUInt(nullptr, 16);
        if (hex.size() == 6) {
            color = rgbToStored((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
            return true;
        }
        if (hex.size() == 3) {
            const uint r = (v >> 8) & 0xF, g = (v >> 4) & 0xF, b = v & 0xF;
            color = rgbToStored(r * 17, g * 17, b * 17);
            return true;
        }
        return false;
    }
    if (t.startsWith(u"rgb", Qt::CaseInsensitive))
        return parseDecimalTriple(t.mid(3), color);
    if (t.startsWith(u'(') || t.contains(u',') || t.contains(u' ') || t.contains(u'\t'))
        return parseDecimalTriple(t, color);
    QString hex = t;
    if (hex.startsWith(u'$'))
        hex.remove(0, 1);
    else if (hex.startsWith(u"0x", Qt::CaseInsensitive))
        hex.remove(0, 2);
    if (!isHex(hex) || hex.size() > 8)
        return false;
    const uint v = hex.toUInt(nullptr, 16);
    if (v > 0xFFFFFF)
        return false;
    color = v;
    return true;
}

QString ProfileDisplayName(const QString &displayNameKey, const QString &fileName)
{
    QString name = displayNameKey;
    qsizetype cut = -1;
    for (const QString &marker : {u"[clb="_s, u"[clf="_s}) {
        const qsizetype at = name.indexOf(marker, 0, Qt::CaseInsensitive);
        if (at >= 0 && (cut < 0 || at < cut))
            cut = at;
    }
    if (cut >= 0)
        name.truncate(cut);
    name = name.trimmed();
    return name.isEmpty() ? QFileInfo(fileName).completeBaseName() : name;
}

QString ExpandDisplayEscapes(const QString &displayName)
{
    QString result;
    result.reserve(displayName.size());
    for (qsizetype i = 0; i < displayName.size(); ++i) {
        const QChar c = displayName.at(i);
        if (c == u'\\' && i + 1 < displayName.size()) {
            const QChar next = displayName.at(i + 1);
            if (next == u'n' || next == u't') {
                result += next == u'n' ? u'\n' : u'\t';
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

bool AP_AddProfile(const QString &fName, QList<TProfileInfo> &profileList)
{
    IniFile ini(fName);
    if (!QFileInfo(fName).isFile() || !ini.load())
        return false;
    const QString main = u"MAIN"_s;
    if (ini.readString(main, u"AppVer"_s)
                .compare(QLatin1String(AppInfo::ProgramVersion), Qt::CaseInsensitive)
            != 0
        || ini.readString(main, u"AppName"_s)
                .compare(QLatin1String(AppInfo::ProgramName), Qt::CaseInsensitive)
            != 0)
        return false;

    TProfileInfo info;
    info.ShortFileName = QFileInfo(fName).fileName();
    info.DisplayName = ProfileDisplayName(ini.readString(main, u"DisplayName"_s), fName);
    const QString sortText = ini.readString(main, u"SortIndex"_s);
    const double sortIndex = ParseFloatLenient(sortText, -1);
    info.SortIndex = std::isfinite(sortIndex) ? sortIndex : -1;
    if (!ParseColorText(ini.readString(main, u"BgColor"_s), info.BgColor))
        info.BgColor = 0xFFFFFF;
    if (!ParseColorText(ini.readString(main, u"FontColor"_s), info.FontColor))
        info.FontColor = 0xFFFFFF;
    profileList.append(info);
    return true;
}

QList<TProfileInfo> GetProfiles(const QString &profilesDir, const QString &lastProfileFile)
{
    QList<TProfileInfo> profiles;
    if (profilesDir.isEmpty())
        return profiles;
    QFileInfoList files = QDir(profilesDir).entryInfoList({u"*.ini"_s}, QDir::Files | QDir::Hidden);
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.filePath().compare(b.filePath(), Qt::CaseInsensitive) < 0;
    });
    const QString last
        = lastProfileFile.isEmpty() ? QString() : QFileInfo(lastProfileFile).absoluteFilePath();
    for (const QFileInfo &file : files)
        if (file.absoluteFilePath() != last)
            AP_AddProfile(file.absoluteFilePath(), profiles);
    std::stable_sort(profiles.begin(), profiles.end(),
        [](const TProfileInfo &a, const TProfileInfo &b) { return a.SortIndex < b.SortIndex; });
    return profiles;
}

QStringList ProfileListItems(const QList<TProfileInfo> &profileList, const TAppStrings &strings)
{
    QStringList items{
        strings.Main.cbProfile_TheLastSessionSettings, strings.Main.cbProfile_DefaultSettings};
    for (const TProfileInfo &info : profileList)
        items << ExpandDisplayEscapes(info.DisplayName);
    return items;
}

QString ProfileFileForEntry(int entry, const QList<TProfileInfo> &profileList,
    const QString &profilesDir, const QString &lastProfileFile)
{
    if (entry == 0)
        return lastProfileFile;
    if (entry < 2 || profileList.isEmpty())
        return {};
    const qsizetype index = entry - 2 < profileList.size() ? entry - 2 : 0;
    return QDir(profilesDir).filePath(profileList.at(index).ShortFileName);
}

int ProfileEntryAfterSave(const QList<TProfileInfo> &profileList, const QString &savedFile)
{
    const QString name = QFileInfo(savedFile).fileName();
    for (qsizetype i = 0; i < profileList.size(); ++i)
        if (profileList.at(i).ShortFileName.compare(name, Qt::CaseInsensitive) == 0)
            return int(i) + 2;
    return 0;
}

bool IsInProfilesDir(const QString &file, const QString &profilesDir)
{
    // Through the real paths, so a folder reached by a symbolic link counts.
    const auto realDir = [](const QString &dir) {
        const QString canonical = QFileInfo(dir).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : canonical;
    };
    return !file.isEmpty() && !profilesDir.isEmpty()
        && realDir(QFileInfo(file).absolutePath()) == realDir(profilesDir);
}

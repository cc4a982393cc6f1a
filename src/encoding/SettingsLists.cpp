#include "encoding/SettingsLists.h"

#include "analysis/VideoFileInfo.h"
#include "app/IniFile.h"
#include "app/SmallFile.h"
#include "encoding/SettingsTable.h"
#include "i18n/AppStrings.h"

#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QStringList withAuto(const TAppStrings &strings, QStringList items)
{
    items.prepend(strings.Main.Auto);
    return items;
}

QStringList numbers(int from, int to, int step)
{
    QStringList items;
    for (int v = from; v <= to; v += step)
        items << QString::number(v);
    return items;
}

// The 54 AVI bitrates, ascending.
QStringList aviBitrates()
{
    return numbers(50, 500, 50) + numbers(600, 1500, 100) + numbers(1750, 5000, 250)
        + numbers(5500, 10000, 500) + numbers(11000, 20000, 1000);
}

template <size_t N>
QString tableText(const std::array<CodecEntry, N> &table, int index, const char *CodecEntry::*field)
{
    if (index < 0 || index >= int(N))
        return {};
    return QString::fromLatin1(table[size_t(index)].*field);
}

// Data files are read whole; the byte-order mark decides UTF-8 or UTF-16,
// UTF-8 without one. Returns false when the file exists but cannot be read.
bool readDataFile(const QString &path, QString &text)
{
    const std::optional<QByteArray> bytes = ReadSmallFile(path);
    if (!bytes)
        return false;
    text = IniFile::decodeText(*bytes);
    return true;
}

QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

int clampIndex(int index, int count)
{
    return index >= 0 && index < count ? index : -1;
}

} // namespace

QStringList AviVideoCodecItems(const TAppStrings &strings)
{
    QStringList items;
    for (const CodecEntry &entry : AviVideoCodecTable)
        items << QString::fromLatin1(entry.DisplayText);
    items[AviCodec::HuffYUV] = strings.Main.cbAviVideoCodec_HuffYUV;
    items[AviCodec::Copy] = strings.Main.cbAviVideoCodec_Copy;
    return items;
}

QStringList AviVideoThreadsItems(const TAppStrings &strings)
{
    return withAuto(strings, numbers(1, 24, 1));
}

QStringList AviVideoBitrateItems(const TAppStrings &strings)
{
    return withAuto(strings, aviBitrates());
}

QStringList VideoFpsItems(const TAppStrings &strings)
{
    return withAuto(strings,
        {u"5"_s, u"8"_s, u"10"_s, u"12"_s, u"14.985"_s, u"15"_s, u"20"_s, u"23.976"_s, u"24"_s,
            u"25"_s, u"29.97"_s, u"30"_s, u"50"_s, u"59.94"_s, u"60"_s});
}

QStringList AviVideoAspectItems(const TAppStrings &strings)
{
    return withAuto(strings,
        {u"1:1"_s, u"5:4"_s, u"4:3"_s, u"1.43"_s, u"3:2"_s, u"16:10"_s, u"16:9"_s, u"1.85"_s,
            u"2:1"_s, u"12:5"_s});
}

QStringList MpgVideoItems(const TAppStrings &strings)
{
    return {u"PAL - DVD"_s, u"NTSC - DVD"_s, strings.Main.Custom};
}

QStringList MpegVersionItems()
{
    return {u"MPEG-1"_s, u"MPEG-2"_s};
}

QStringList MpgVideoBitrateItems(const TAppStrings &strings)
{
    return withAuto(strings, aviBitrates() + numbers(20500, 27000, 500));
}

QStringList AudioCodecItems(const TAppStrings &strings)
{
    QStringList items;
    for (const CodecEntry &entry : AudioCodecTable)
        items << QString::fromLatin1(entry.DisplayText);
    items[AudioCodec::Auto] = strings.Main.Auto;
    items[AudioCodec::Copy] = strings.Main.cbAudioCodec_Copy;
    return items;
}

QStringList AudioBitrateItems(const TAppStrings &strings)
{
    return withAuto(strings,
        {u"8"_s, u"16"_s, u"24"_s, u"32"_s, u"40"_s, u"48"_s, u"56"_s, u"64"_s, u"80"_s, u"96"_s,
            u"112"_s, u"128"_s, u"160"_s, u"192"_s, u"224"_s, u"256"_s, u"320"_s, u"384"_s,
            u"448"_s, u"512"_s, u"576"_s, u"640"_s});
}

QStringList AudioSamplingItems(const TAppStrings &strings)
{
    return withAuto(
        strings, {u"16000"_s, u"22050"_s, u"24000"_s, u"32000"_s, u"44100"_s, u"48000"_s});
}

QStringList AudioChannelsItems(const TAppStrings &strings)
{
    return withAuto(strings, {u"1 - Mono"_s, u"2 - Stereo"_s, u"6"_s});
}

QStringList InterlacingItems(const TAppStrings &strings)
{
    return {strings.Main.Auto, strings.Main.cbInterlacing_Deinterlace,
        strings.Main.cbInterlacing_KeepOriginal};
}

QStringList RotateItems()
{
    return numbers(15, 345, 15);
}

QStringList ConvertColorsItems(const TAppStrings &strings)
{
    return {strings.Main.ColorConversion_Grayscale, strings.Main.ColorConversion_Sepia};
}

QStringList OutputExistsItems(const TAppStrings &strings)
{
    return {strings.Main.cbOutputExists_Rename, strings.Main.cbOutputExists_Overwrite,
        strings.Main.cbOutputExists_Skip};
}

QStringList AfterConversionItems(const TAppStrings &strings)
{
    return {strings.Main.cbAfterConversion_DoNothing,
        strings.Main.cbAfterConversion_CloseApplication,
        strings.Main.cbAfterConversion_CloseWindows};
}

QStringList SimultaneousConversionsItems(const TAppStrings &strings)
{
    QStringList items{strings.Main.Auto};
    for (int count = 1; count <= MaxSimultaneousConversions; ++count)
        items << QString::number(count);
    return items;
}

QString AviVideoCodecProfileName(int index)
{
    return tableText(AviVideoCodecTable, index, &CodecEntry::ProfileName);
}

QString AviVideoCodecEncoder(int index)
{
    return tableText(AviVideoCodecTable, index, &CodecEntry::Encoder);
}

QString AudioCodecProfileName(int index)
{
    return tableText(AudioCodecTable, index, &CodecEntry::ProfileName);
}

QString AudioCodecEncoder(int index)
{
    return tableText(AudioCodecTable, index, &CodecEntry::Encoder);
}

int EditableItemIndex(const QStringList &items, const QString &text)
{
    return int(items.indexOf(text));
}

QStringList ParseResolutionPresets(const QString &text)
{
    QStringList presets;
    for (QString line : splitLines(text)) {
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1).isSpace())
            --end;
        line.truncate(end);
        if (line.isEmpty() || line.startsWith(u"//"))
            continue;
        presets << line;
    }
    return presets;
}

QStringList BuiltInResolutionPresets()
{
    return {u"128 x 196 - SQCIF"_s, u"176 x 144 - QCIF"_s, u"352 x 288 - CIF"_s,
        u"704 x 576 - 4CIF"_s, u"160 x 120 - QQVGA"_s, u"320 x 240 - QVGA"_s, u"640 x 480 - VGA"_s,
        u"800 x 600 - SVGA"_s, u"1024 x 768 - XGA"_s, u"1600 x 1200 - UXGA"_s, u"320 x 200 - CGA"_s,
        u"640 x 350 - EGA"_s, u"852 x 480 - HD480"_s, u"1280 x 720 - HD720"_s,
        u"1920 x 1080 - HD1080"_s};
}

QStringList ResolutionItems(const TAppStrings &strings, const QString &resolutionTxt)
{
    QStringList items{strings.Main.Auto, strings.Main.Custom};
    if (!QFile::exists(resolutionTxt))
        return items + BuiltInResolutionPresets();
    QString text;
    if (readDataFile(resolutionTxt, text))
        items += ParseResolutionPresets(text);
    return items;
}

ResolutionEntryKind ResolutionEntryKindOf(int index, const QString &text)
{
    if (index == Resolution::Custom)
        return ResolutionEntryKind::Custom;
    if (text.contains(u'%'))
        return ResolutionEntryKind::Percentage;
    if (text.contains(QLatin1String("16:9")) || text.contains(QLatin1String("16/9")))
        return ResolutionEntryKind::Wide;
    if ((text.contains(QLatin1String("4:3")) || text.contains(QLatin1String("4/3")))
        && !text.contains(QLatin1String("64")))
        return ResolutionEntryKind::Standard;
    return ResolutionEntryKind::Plain;
}

bool IsBoldResolutionEntry(int index)
{
    return index == Resolution::Auto || index == Resolution::Custom;
}

QStringList ParseVideoTags(const QString &text)
{
    QStringList tags;
    for (const QString &raw : splitLines(text)) {
        const QString line = raw.trimmed();
        const qsizetype space = line.indexOf(u' ');
        if (space < 0)
            continue;
        const QString tag = line.left(space).trimmed();
        if (!tag.isEmpty() && !tag.startsWith(u"//"))
            tags << tag;
    }
    return tags;
}

QStringList BuiltInVideoTags()
{
    return {u"DIV3"_s, u"DIV4"_s, u"DIV5"_s, u"DIVX"_s, u"DX50"_s, u"DivX"_s, u"FMP4"_s, u"M4S2"_s,
        u"MPG4"_s, u"X264"_s, u"XVID"_s};
}

QStringList VideoTagItems(const QString &fourccTagsFile)
{
    if (!QFile::exists(fourccTagsFile))
        return BuiltInVideoTags();
    QString text;
    return readDataFile(fourccTagsFile, text) ? ParseVideoTags(text) : QStringList();
}

QString AudioTrackEntryText(int trackNo, const TVideoFileInfo &info, const TAppStrings &strings)
{
    if (trackNo < 1 || trackNo > MaxAudioStreams)
        return {};
    const TAudioStreamInfo &a = info.AudioStreams[size_t(trackNo - 1)];
    const QString codec = a.Codec.contains(u"(MP3)") ? u"MP3"_s : a.Codec;
    const QString language
        = a.Language.trimmed().isEmpty() ? strings.Main.AudioLanguageUndefined : a.Language;
    QString text = QString::number(trackNo) + u": "_s + codec;
    // An unknown bitrate (0) is left out rather than shown as "0 kbit/s".
    if (a.Bitrate != 0)
        text += u" - "_s + QString::number(a.Bitrate) + u" kbit/s"_s;
    text += u" - "_s + strings.Main.AudioChannels + u' ' + QString::number(a.Channels) + u" - "_s
        + strings.Main.AudioLanguage + u' ' + language;
    return text;
}

QStringList AudioTrackItems(const TVideoFileInfo &info, const TAppStrings &strings)
{
    QStringList items{strings.Main.Auto + u' ' + strings.Main.FirstAudioTrack};
    const int described = std::min<int>(info.NumberOfAudioStreams, MaxAudioStreams);
    for (int k = 1; k <= described; ++k)
        items << AudioTrackEntryText(k, info, strings);
    return items;
}

EncodingLists BuildEncodingLists(
    const TAppStrings &strings, const QString &resolutionTxt, const QString &fourccTagsFile)
{
    EncodingLists lists;
    lists.cbResolution = ResolutionItems(strings, resolutionTxt);
    lists.cbVideoTag = VideoTagItems(fourccTagsFile);
    lists.cbAudioTrackNo = QStringList{strings.Main.Auto + u' ' + strings.Main.FirstAudioTrack};
    return lists;
}

void UpdateCbAudioTrackNo(EncodingSettings &s, EncodingLists &lists, const TVideoFileInfo &info,
    const TAppStrings &strings)
{
    lists.cbAudioTrackNo = AudioTrackItems(info, strings);
    if (s.cbAudioTrackNo < 0 || s.cbAudioTrackNo >= lists.cbAudioTrackNo.size())
        s.cbAudioTrackNo = 0;
}

void NormalizeListIndexes(EncodingSettings &s, const EncodingLists &lists)
{
    for (const SettingDescriptor &d : SettingsTable()) {
        if (d.kind != SettingKind::List)
            continue;
        if (d.source == ListSource::BuiltIn)
            d.setInt(s, clampIndex(d.intValue(s), d.range.max + 1));
        else if (d.source == ListSource::DataFile)
            d.setInt(s, clampIndex(d.intValue(s), int((lists.*d.fileItems).size())));
    }
}

#include "analysis/VideoFileInfo.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTexts.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(Lists, FixedListsHaveTheirItems)
{
    TAppStrings strings;
    strings.Main.Auto = u"Automatisch"_s;
    struct Case
    {
        const char *name;
        QStringList items;
        qsizetype count;
        QString first, second, last;
    };
    const Case cases[] = {
        {"threads", AviVideoThreadsItems(strings), 25, u"Automatisch"_s, u"1"_s, u"24"_s},
        {"AVI bitrate", AviVideoBitrateItems(strings), 55, u"Automatisch"_s, u"50"_s, u"20000"_s},
        {"MPG bitrate", MpgVideoBitrateItems(strings), 69, u"Automatisch"_s, u"50"_s, u"27000"_s},
        {"FPS", VideoFpsItems(strings), 16, u"Automatisch"_s, u"5"_s, u"60"_s},
        {"aspect", AviVideoAspectItems(strings), 11, u"Automatisch"_s, u"1:1"_s, u"12:5"_s},
        {"audio bitrate", AudioBitrateItems(strings), 23, u"Automatisch"_s, u"8"_s, u"640"_s},
        {"sampling", AudioSamplingItems(strings), 7, u"Automatisch"_s, u"16000"_s, u"48000"_s},
        {"channels", AudioChannelsItems(strings), 4, u"Automatisch"_s, u"1 - Mono"_s, u"6"_s},
        {"rotation", RotateItems(), 23, u"15"_s, u"30"_s, u"345"_s},
        {"MPG video", MpgVideoItems(strings), 3, u"PAL - DVD"_s, u"NTSC - DVD"_s, u"Custom"_s},
        {"interlacing", InterlacingItems(strings), 3, u"Automatisch"_s, u"Deinterlace"_s,
            u"Keep original"_s},
        {"AVI codecs", AviVideoCodecItems(strings), 10, u"Xvid"_s, u"DivX 3 Low-Motion"_s,
            u"Copy original video stream"_s},
        {"audio codecs", AudioCodecItems(strings), 9, u"Automatisch"_s, u"MP3 - MPEG-1 Layer 3"_s,
            u"Copy original audio stream"_s},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(c.items.size(), c.count) << c.name;
        EXPECT_EQ(c.items.first(), c.first) << c.name;
        EXPECT_EQ(c.items.at(1), c.second) << c.name;
        EXPECT_EQ(c.items.last(), c.last) << c.name;
    }
    // The bitrate steps change at 500, 1500, 5000 and 10000.
    const QStringList avi = AviVideoBitrateItems(strings);
    for (const char *step : {"500", "600", "1500", "1750", "5000", "5500", "10000", "11000"})
        EXPECT_TRUE(avi.contains(QString::fromLatin1(step))) << step;
    EXPECT_FALSE(avi.contains(u"550"_s));
    EXPECT_EQ(MpgVideoBitrateItems(strings).mid(0, 55), avi);
}

TEST(Lists, CatalogueEntriesOfTheCodecLists)
{
    TAppStrings strings;
    strings.Main.cbAviVideoCodec_HuffYUV = u"HuffYUV (verlustfrei)"_s;
    strings.Main.cbAviVideoCodec_Copy = u"Video kopieren"_s;
    strings.Main.cbAudioCodec_Copy = u"Audio kopieren"_s;
    const QStringList video = AviVideoCodecItems(strings);
    EXPECT_EQ(video.at(AviCodec::H264), u"H.264 / MPEG-4 AVC"_s);
    EXPECT_EQ(video.at(AviCodec::HuffYUV), u"HuffYUV (verlustfrei)"_s);
    EXPECT_EQ(video.at(AviCodec::Copy), u"Video kopieren"_s);
    EXPECT_EQ(AudioCodecItems(strings).at(AudioCodec::Copy), u"Audio kopieren"_s);

    EXPECT_EQ(AviVideoCodecEncoder(AviCodec::Wmv1), u"wmv1"_s);
    EXPECT_EQ(AviVideoCodecProfileName(AviCodec::MotionJpeg), u"Motion JPEG"_s);
    EXPECT_EQ(AudioCodecEncoder(AudioCodec::Aac), u"libfdk_aac"_s);
    EXPECT_EQ(AudioCodecProfileName(AudioCodec::Wma2), u"WMA2"_s);
    for (int outside : {-1, 10, 100})
        EXPECT_TRUE(AviVideoCodecEncoder(outside).isEmpty()) << outside;
    for (int outside : {-1, 9, 100})
        EXPECT_TRUE(AudioCodecProfileName(outside).isEmpty()) << outside;
}

TEST(Lists, ResolutionPresetsFromText)
{
    const QString text = u"// comment\r\n640 x 480 - VGA   \r\n\r\n  50%\t\n   \n//x\n"
                         u"1280 x 720 - HD720 16:9"_s;
    EXPECT_EQ(ParseResolutionPresets(text),
        (QStringList{u"640 x 480 - VGA"_s, u"  50%"_s, u"1280 x 720 - HD720 16:9"_s}));
}

TEST(Lists, ResolutionItemsFromFileOrBuiltIn)
{
    TAppStrings strings;
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"resolutions.txt"_s);
    const QStringList builtIn = ResolutionItems(strings, missing);
    ASSERT_EQ(builtIn.size(), 17);
    EXPECT_EQ(builtIn.at(0), u"Auto"_s);
    EXPECT_EQ(builtIn.at(1), u"Custom"_s);
    EXPECT_EQ(builtIn.at(2), u"128 x 196 - SQCIF"_s);
    EXPECT_EQ(builtIn.last(), u"1920 x 1080 - HD1080"_s);

    ASSERT_TRUE(TestSupport::WriteFile(missing,
        "\xEF\xBB\xBF"
        "720 x 576 - PAL DVD\n25%\n"));
    EXPECT_EQ(ResolutionItems(strings, missing),
        (QStringList{u"Auto"_s, u"Custom"_s, u"720 x 576 - PAL DVD"_s, u"25%"_s}));

    // A folder in the file's place cannot be read: only the fixed entries.
    const QString unreadable = dir.filePath(u"folder.txt"_s);
    ASSERT_TRUE(QDir().mkpath(unreadable));
    EXPECT_EQ(ResolutionItems(strings, unreadable), (QStringList{u"Auto"_s, u"Custom"_s}));
}

TEST(Lists, ResolutionEntryKindsAndBoldEntries)
{
    using K = ResolutionEntryKind;
    const struct
    {
        int index;
        const char16_t *text;
        K kind;
    } cases[] = {
        {0, u"Auto", K::Plain},
        {1, u"Custom", K::Custom},
        {1, u"50%", K::Custom},
        {2, u"50%", K::Percentage},
        {2, u"1280 x 720 - HD 16:9", K::Wide},
        {2, u"1024 x 576 16/9", K::Wide},
        {2, u"800 x 600 - SVGA 4:3", K::Standard},
        {2, u"320 x 240 4/3", K::Standard},
        {2, u"640 x 480 - VGA 4:3", K::Plain}, // any "64" keeps the entry untinted
        {2, u"50% 16:9", K::Percentage},
        {2, u"352 x 288 - CIF", K::Plain},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ResolutionEntryKindOf(c.index, QString::fromUtf16(c.text)), c.kind)
            << c.index << " " << QString::fromUtf16(c.text).toStdString();
    EXPECT_TRUE(IsBoldResolutionEntry(0));
    EXPECT_TRUE(IsBoldResolutionEntry(1));
    EXPECT_FALSE(IsBoldResolutionEntry(2));
}

TEST(Lists, VideoTagsFromText)
{
    struct Case
    {
        QString text;
        QStringList tags;
    };
    const Case cases[] = {
        {u"XVID"_s, {}},
        {u"XVID   Xvid codec"_s, {u"XVID"_s}},
        {u"  DIVX DivX 4 and later  "_s, {u"DIVX"_s}},
        {u"// comment line"_s, {}},
        {u"//XVID commented out"_s, {}},
        {u"XVID\tTab"_s, {}},
        {u"XVID a\nXVID b\nDX50 c"_s, {u"XVID"_s, u"XVID"_s, u"DX50"_s}},
        {u"h264 lower\r\nFMP4 FFmpeg\r\n"_s, {u"h264"_s, u"FMP4"_s}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseVideoTags(c.text), c.tags) << c.text.toStdString();
}

TEST(Lists, VideoTagItemsFromFileOrBuiltIn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"fourcc_video_tags.txt"_s);
    const QStringList builtIn = VideoTagItems(path);
    ASSERT_EQ(builtIn.size(), 11);
    EXPECT_EQ(builtIn.first(), u"DIV3"_s);
    EXPECT_EQ(builtIn.last(), u"XVID"_s);

    // UTF-16 with its byte-order mark.
    const QString text = u"MJPG Motion JPEG\nWMV2 Windows Media 8\n"_s;
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    ASSERT_TRUE(TestSupport::WriteFile(path, bytes));
    EXPECT_EQ(VideoTagItems(path), (QStringList{u"MJPG"_s, u"WMV2"_s}));

    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"dir.txt"_s)));
    EXPECT_TRUE(VideoTagItems(dir.filePath(u"dir.txt"_s)).isEmpty());
}

// The files shipped in data/ are read by the same rules; every preset must
// be a size or a percentage, every tag at most four characters.
TEST(Lists, ShippedDataFilesAreWellFormed)
{
    const QString dataDir = QStringLiteral(QLN_SOURCE_DIR) + u"/data/"_s;
    const QStringList items = ResolutionItems(TAppStrings(), dataDir + u"resolutions.txt"_s);
    ASSERT_GT(items.size(), 10);
    const QRegularExpression preset(u"^(\\d+ x \\d+( - \\S.*)?|\\d+%.*)$"_s);
    for (const QString &item : items.mid(2))
        EXPECT_TRUE(preset.match(item).hasMatch()) << item.toStdString();

    const QStringList tags = VideoTagItems(dataDir + u"fourcc_video_tags.txt"_s);
    ASSERT_GT(tags.size(), 10);
    EXPECT_TRUE(tags.contains(u"XVID"_s));
    for (const QString &tag : tags)
        EXPECT_LE(tag.size(), 4) << tag.toStdString();
}

TVideoFileInfo fileWithAudio(int count)
{
    TVideoFileInfo info;
    info.NumberOfAudioStreams = uint8_t(count);
    for (int k = 0; k < std::min(count, MaxAudioStreams); ++k) {
        TAudioStreamInfo &a = info.AudioStreams[size_t(k)];
        a.Exists = true;
        a.Codec = u"AAC"_s;
        a.Bitrate = 128;
        a.Channels = 2;
        a.Language = u"en"_s;
    }
    return info;
}

TEST(Lists, AudioTrackEntries)
{
    TAppStrings strings;
    TVideoFileInfo info = fileWithAudio(3);
    info.AudioStreams[0].Codec = u"AC-3"_s;
    info.AudioStreams[0].Bitrate = 448;
    info.AudioStreams[0].Channels = 6;
    info.AudioStreams[1].Bitrate = 0;
    info.AudioStreams[1].Language.clear();
    info.AudioStreams[2].Codec = u"MPEG Audio (MP3)"_s;
    info.AudioStreams[2].Language = u"  "_s;
    EXPECT_EQ(AudioTrackItems(info, strings),
        (QStringList{u"Auto (first audio track)"_s,
            u"1: AC-3 - 448 kbit/s - Channels: 6 - Language: en"_s,
            u"2: AAC - Channels: 2 - Language: (undefined)"_s,
            u"3: MP3 - 128 kbit/s - Channels: 2 - Language: (undefined)"_s}));

    // A bitrate that merely ends in 0 is not the unknown one.
    info.AudioStreams[1].Bitrate = 320;
    EXPECT_EQ(AudioTrackEntryText(2, info, strings),
        u"2: AAC - 320 kbit/s - Channels: 2 - Language: (undefined)"_s);
    EXPECT_TRUE(AudioTrackEntryText(49, info, strings).isEmpty());
}

TEST(Lists, AudioTrackListSizesAndReselection)
{
    TAppStrings strings;
    struct Case
    {
        int streams;
        int selectedBefore;
        qsizetype entries;
        int selectedAfter;
    };
    const Case cases[] = {
        {0, 0, 1, 0},
        {0, 2, 1, 0},
        {3, 3, 4, 3},
        {1, 3, 2, 0},
        {48, 48, 49, 48},
        {60, 48, 49, 48},
        {255, 2, 49, 2},
        {2, -1, 3, 0},
    };
    for (const Case &c : cases) {
        EncodingSettings s;
        s.cbAudioTrackNo = c.selectedBefore;
        EncodingLists lists;
        UpdateCbAudioTrackNo(s, lists, fileWithAudio(c.streams), strings);
        EXPECT_EQ(lists.cbAudioTrackNo.size(), c.entries) << c.streams;
        EXPECT_EQ(s.cbAudioTrackNo, c.selectedAfter) << c.streams << " " << c.selectedBefore;
    }
}

TEST(Lists, EditableItemIndexAndNormalisation)
{
    const QStringList fps = VideoFpsItems(TAppStrings());
    EXPECT_EQ(EditableItemIndex(fps, u"Auto"_s), 0);
    EXPECT_EQ(EditableItemIndex(fps, u"29.97"_s), 11);
    EXPECT_EQ(EditableItemIndex(fps, u"29,97"_s), -1);

    EncodingLists lists = BuildEncodingLists(TAppStrings(), {}, {});
    EncodingSettings s;
    s.cbAviVideoCodec = 10;
    s.cbMpgVideo = 2;
    s.cbMpegVersion = 2;
    s.cbAudioChannels = -7;
    s.cbResolution = 16;
    s.cbAudioTrackNo = 5;
    NormalizeListIndexes(s, lists);
    EXPECT_EQ(s.cbAviVideoCodec, -1);
    EXPECT_EQ(s.cbMpgVideo, 2);
    EXPECT_EQ(s.cbMpegVersion, -1);
    EXPECT_EQ(s.cbAudioChannels, -1);
    EXPECT_EQ(s.cbResolution, 16);
    EXPECT_EQ(s.cbAudioTrackNo, 5);
    s.cbResolution = 17;
    NormalizeListIndexes(s, lists);
    EXPECT_EQ(s.cbResolution, -1);
}

} // namespace

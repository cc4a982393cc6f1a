#include "filelist/FileListRow.h"
#include "analysis/VideoFileInfo.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(FileListRow, PathCellsAndAccessors)
{
    const std::vector<FileListRow> rows{newFileListRow(7, u"/v/ä b.mkv"_s, 1234, u"Ready"_s),
        newFileListRow(8, u"/a.mkv"_s, -1, u"Ready"_s)};
    EXPECT_EQ(GetNgDirectory(rows, 0), u"/v"_s);
    EXPECT_EQ(GetNgShortFileName(rows, 0), u"ä b.mkv"_s);
    EXPECT_EQ(rows[0].size, 1234);
    EXPECT_EQ(rows[1].size, 0); // a size that could not be read
    // A file in the root: the folder keeps its "/", the full name gets no second one.
    EXPECT_EQ(GetNgDirectory(rows, 1), u"/"_s);
    EXPECT_EQ(GetNgFullFileName(rows, 1), u"/a.mkv"_s);
    for (int invalid : {-1, 2}) {
        EXPECT_FALSE(IsValidRowIndex(rows, invalid));
        EXPECT_TRUE(GetNgFullFileName(rows, invalid).isEmpty()
            && GetNgDirectory(rows, invalid).isEmpty()
            && GetNgShortFileName(rows, invalid).isEmpty());
    }
    EXPECT_EQ(rowIndexOfId(rows, 8), 1);
    EXPECT_EQ(rowIndexOfId(rows, 9), -1);
}

TEST(FileListRow, VideoCells)
{
    const struct
    {
        const char16_t *codec;
        int bitrate, width, height;
        const char16_t *summary;
    } cases[] = {
        {u"h264", 2000, 1920, 1080, u"h264, 2 000 kbit/s, 1 920 x 1 080"},
        {u"h264", 0, 1920, 0, u"h264"}, {u"", 0, 1920, 1080, u"1 920 x 1 080"}, // no leading ", "
    };
    TVideoFileInfo info;
    info.NumberOfVideoStreams = 1;
    TVideoStreamInfo &v = info.VideoStreams[0];
    for (const auto &c : cases) {
        v.Codec = QString::fromUtf16(c.codec);
        v.Bitrate = c.bitrate;
        v.Width = uint16_t(c.width);
        v.Height = uint16_t(c.height);
        EXPECT_EQ(analysisCellsOf(info, TAppStrings()).video, QString::fromUtf16(c.summary));
    }

    TAppStrings strings;
    strings.FileInfo.ScanType_Interlaced = u"Zeilensprung"_s;
    strings.FileInfo.ScanType_Progressive = u"Vollbild"_s;
    const std::pair<QString, QString> scanTypes[] = {{u" Interlaced "_s, u"Zeilensprung"_s},
        {u"PROGRESSIVE"_s, u"Vollbild"_s}, {u"MBAFF"_s, u"mbaff"_s}};
    for (const auto &[scanType, shown] : scanTypes) {
        v.ScanType = scanType;
        EXPECT_EQ(analysisCellsOf(info, strings).videoScanType, shown);
    }
}

TEST(FileListRow, AudioCells)
{
    const struct
    {
        const char16_t *codec, *profile;
        int bitrate;
        const char16_t *mode;
        int channels;
        const char16_t *name, *summary;
    } cases[] = {
        {u"AC-3", u"", 448, u"CBR", 6, u"AC-3", u"AC-3, 448 kbit/s CBR, Channels: 6"},
        {u"", u"", 448, u"CBR", 0, u"", u"448 kbit/s CBR"},
        {u"AAC", u"LC", 0, u"VBR", 2, u"AAC", u"AAC, Channels: 2"},
        {u"MPEG Audio - Version 1", u"Layer 3", 0, u"", 0, u"MP3", u"MP3"},
        {u"MPEG Audio - Version 1", u"Layer 2", 0, u"", 0, u"MPEG Audio - Version 1",
            u"MPEG Audio - Version 1"},
        {u"MPEG Audio - Version 2 (MP3)", u"", 0, u"", 0, u"MP3", u"MP3"},
        {u"WMA (Windows Media Audio) ", u"", 0, u"", 0, u"WMA", u"WMA"},
    };
    TVideoFileInfo info;
    info.NumberOfAudioStreams = 2;
    TAudioStreamInfo &a = info.AudioStreams[0];
    for (const auto &c : cases) {
        a.Codec = QString::fromUtf16(c.codec);
        a.Profile = QString::fromUtf16(c.profile);
        a.Bitrate = c.bitrate;
        a.BitrateMode = QString::fromUtf16(c.mode);
        a.Channels = uint8_t(c.channels);
        const FileAnalysisCells cells = analysisCellsOf(info, TAppStrings());
        EXPECT_EQ(cells.audioCodec, QString::fromUtf16(c.name));
        EXPECT_EQ(cells.audio, QString::fromUtf16(c.summary));
    }
    // Streams the file does not have leave their cells empty.
    info.NumberOfAudioStreams = 0;
    EXPECT_TRUE(analysisCellsOf(info, TAppStrings()).audio.isEmpty());
}

} // namespace

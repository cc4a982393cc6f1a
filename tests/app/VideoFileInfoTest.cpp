#include "app/VideoFileInfo.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(VideoFileInfo, ClearResetsEveryEntry)
{
    TVideoFileInfo info;
    SetFileName(info, u"/v/a.mkv"_s);
    info.FileSize = 123;
    info.Duration = 5.5;
    info.DurationStr = u"00:00:05.50"_s;
    info.NumberOfAudioStreams = 60;
    info.NumberOfVideoStreams = 2;
    info.NumberOfDataStreams = 300;
    info.MediaInfoFull = u"General"_s;
    info.StreamsStr[63] = {true, u"Stream #0:63"_s};
    info.VideoStreams[9].Exists = true;
    info.VideoStreams[9].FPS = 25;
    info.VideoStreams[9].Codec = u"h264"_s;
    for (TAudioStreamInfo &a : info.AudioStreams) {
        a.Exists = true;
        a.StreamIndex = 7;
        a.Language = u"English"_s;
        a.DurationMs = -1;
    }

    ClearVideoFileInfo(info);
    EXPECT_TRUE(info.FileName.isEmpty());
    EXPECT_EQ(info.FileSize, 0);
    EXPECT_EQ(info.Duration, 0.0);
    EXPECT_TRUE(info.DurationStr.isEmpty() && info.MediaInfoFull.isEmpty());
    EXPECT_EQ(info.NumberOfAudioStreams + info.NumberOfVideoStreams + info.NumberOfDataStreams, 0);
    EXPECT_FALSE(info.StreamsStr[63].StreamExists);
    EXPECT_TRUE(info.StreamsStr[63].Str1.isEmpty());
    EXPECT_FALSE(info.VideoStreams[9].Exists);
    EXPECT_EQ(info.VideoStreams[9].FPS, 0.0);
    EXPECT_TRUE(info.VideoStreams[9].Codec.isEmpty());
    ASSERT_EQ(info.AudioStreams.size(), 48u);
    for (const TAudioStreamInfo &a : info.AudioStreams) {
        EXPECT_FALSE(a.Exists);
        EXPECT_EQ(a.StreamIndex, 0);
        EXPECT_EQ(a.DurationMs, 0);
        EXPECT_TRUE(a.Language.isEmpty());
    }
}

TEST(VideoFileInfo, FileNameKeepsAtMost511Characters)
{
    TVideoFileInfo info;
    const QString longPath = u'/' + QString(599, u'x');
    SetFileName(info, longPath);
    EXPECT_EQ(info.FileName, longPath.left(511));

    const QString exact(511, u'y');
    SetFileName(info, exact);
    EXPECT_EQ(info.FileName, exact);

    // A character outside the basic plane straddling the limit is dropped whole.
    const QString emoji = QString::fromUcs4(U"\U0001F3AC");
    SetFileName(info, QString(510, u'z') + emoji + u"tail"_s);
    EXPECT_EQ(info.FileName, QString(510, u'z'));
    SetFileName(info, QString(509, u'z') + emoji + u"tail"_s);
    EXPECT_EQ(info.FileName, QString(509, u'z') + emoji);
}

TEST(VideoFileInfo, GridInfoClears)
{
    TGridInfo grid{5, 4, 1, 3, 2, 1};
    ClearGridInfo(grid);
    EXPECT_EQ(grid.RowCount + grid.CheckedCount + grid.UncheckedCount + grid.SelectedCount
            + grid.SelectedCheckedCount + grid.SelectedUncheckedCount,
        0);
}

} // namespace

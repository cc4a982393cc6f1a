#include "analysis/VideoFileInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(VideoFileInfo, ClearResetsEveryEntry)
{
    TVideoFileInfo info;
    SetFileName(info, QStringLiteral("/v/a.mkv"));
    info.FileSize = 123;
    info.Duration = 5.5;
    info.NumberOfAudioStreams = 60;
    info.NumberOfDataStreams = 300;
    info.MediaInfoFull = QStringLiteral("General");
    info.StreamsStr[63] = {true, QStringLiteral("Stream #0:63")};
    info.VideoStreams[9].Exists = true;
    info.VideoStreams[9].Codec = QStringLiteral("h264");
    for (TAudioStreamInfo &a : info.AudioStreams) {
        a.Exists = true;
        a.Codec = QStringLiteral("aac");
        a.StreamIndex = 7;
    }

    ClearVideoFileInfo(info);
    EXPECT_TRUE(info.FileName.isEmpty() && info.MediaInfoFull.isEmpty());
    EXPECT_EQ(info.FileSize, 0);
    EXPECT_EQ(info.Duration, 0.0);
    EXPECT_EQ(info.NumberOfAudioStreams + info.NumberOfDataStreams, 0);
    EXPECT_FALSE(info.StreamsStr[63].StreamExists);
    EXPECT_TRUE(info.StreamsStr[63].Str1.isEmpty());
    EXPECT_FALSE(info.VideoStreams[9].Exists);
    EXPECT_TRUE(info.VideoStreams[9].Codec.isEmpty());
    for (const TAudioStreamInfo &a : info.AudioStreams) {
        EXPECT_FALSE(a.Exists);
        EXPECT_EQ(a.StreamIndex, 0);
        EXPECT_TRUE(a.Codec.isEmpty());
    }
}

TEST(VideoFileInfo, FileNameKeepsAtMost511Characters)
{
    TVideoFileInfo info;
    const QString longPath = u'/' + QString(599, u'x');
    SetFileName(info, longPath);
    EXPECT_EQ(info.FileName, longPath.left(511));
    SetFileName(info, longPath.left(511));
    EXPECT_EQ(info.FileName, longPath.left(511));

    // A character outside the basic plane straddling the limit is dropped whole.
    const QString clapper = QString::fromUcs4(U"\U0001F3AC");
    SetFileName(info, QString(510, u'z') + clapper + "tail");
    EXPECT_EQ(info.FileName, QString(510, u'z'));
    SetFileName(info, QString(509, u'z') + clapper + "tail");
    EXPECT_EQ(info.FileName, QString(509, u'z') + clapper);
}

} // namespace

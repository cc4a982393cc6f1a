#include "conversion/ProbeBatch.h"
#include "process/CommandLine.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QStringList Banner = {
    QStringLiteral("ffmpeg version 5.1 Copyright (c) 2000-2022 the FFmpeg developers"),
    QStringLiteral("  built with gcc 12"),
};

QStringList description(int index, const QString &file, const QString &codec)
{
    const QString n = QString::number(index);
    return {QStringLiteral("Input #%1, matroska,webm, from '%2':").arg(n, file),
        QStringLiteral("  Metadata:"), QStringLiteral("    title           : Input #9, x"),
        QStringLiteral("  Duration: 00:00:01.00, start: 0.000000, bitrate: 100 kb/s"),
        QStringLiteral("  Chapter #%1:0: start 0.000000, end 1.000000").arg(n),
        QStringLiteral("  Stream #%1:0: Video: %2, yuv420p, 160x120, 25 fps").arg(n, codec),
        QStringLiteral("  Stream #%1:1(eng): Audio: aac, 48000 Hz, stereo").arg(n)};
}

TEST(ProbeBatch, GivesEachFileTheLinesOfAProbeOfItsOwn)
{
    const QStringList files
        = {QStringLiteral("/v/a.mkv"), QStringLiteral("/v/it's b.mkv"), QStringLiteral("/v/c.mkv")};
    const QString warning = QStringLiteral("[matroska,webm @ 0x55] Unknown entry 0x1234");
    QStringList output = Banner;
    output << description(0, files[0], QStringLiteral("h264"));
    output << warning;
    output << description(1, files[1], QStringLiteral("mpeg4"));
    output << description(2, files[2], QStringLiteral("vp9"));
    output << QStringLiteral("At least one output file must be specified");

    const std::vector<std::optional<QStringList>> split = SplitProbeBatchOutput(output, files);

    ASSERT_EQ(split.size(), 3u);
    ASSERT_TRUE(split[0] && split[1] && split[2]);
    EXPECT_EQ(*split[0], Banner + description(0, files[0], QStringLiteral("h264")));
    // What FFmpeg printed while opening a file belongs to that file.
    EXPECT_EQ(*split[1],
        Banner + QStringList{warning} + description(0, files[1], QStringLiteral("mpeg4")));
    EXPECT_EQ(*split[2], Banner + description(0, files[2], QStringLiteral("vp9")));
}

TEST(ProbeBatch, GivesNothingForTheFileFFmpegStoppedAtAndTheOnesAfter)
{
    const QStringList files
        = {QStringLiteral("/v/a.mkv"), QStringLiteral("/v/bad.mkv"), QStringLiteral("/v/c.mkv")};
    struct Case
    {
        const char *name;
        QStringList tail; // after the first file's description
    };
    const Case cases[] = {
        {"cannot open",
            {QStringLiteral("[matroska,webm @ 0x55] EBML header parsing failed"),
                QStringLiteral("/v/bad.mkv: Invalid data found when processing input")}},
        {"another name", description(1, QStringLiteral("/v/other.mkv"), QStringLiteral("h264"))},
        {"nothing more", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList output
            = Banner + description(0, files[0], QStringLiteral("h264")) + c.tail;
        const std::vector<std::optional<QStringList>> split = SplitProbeBatchOutput(output, files);
        ASSERT_EQ(split.size(), 3u);
        EXPECT_TRUE(split[0]);
        EXPECT_FALSE(split[1]);
        EXPECT_FALSE(split[2]);
    }
}

TEST(ProbeBatch, CommandNamesEachFileAsOneArgument)
{
    const CommandLine command = ProbeBatchCommandLine(QStringLiteral("/usr/bin/ffmpeg"),
        {QStringLiteral("/v/a b.mkv"), QStringLiteral("/v/-x \"q\".mkv")});
    EXPECT_EQ(command.arguments(),
        (QStringList{QStringLiteral("-i"), QStringLiteral("/v/a b.mkv"), QStringLiteral("-i"),
            QStringLiteral("/v/-x \"q\".mkv")}));
}

} // namespace

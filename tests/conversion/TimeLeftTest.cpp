#include "conversion/TimeLeft.h"

#include <gtest/gtest.h>

namespace {

// A 100-second file of 2,500 frames, a quarter done at twice real time.
TimeLeftInputs quarterDone()
{
    TimeLeftInputs in;
    in.FramesDone = 625;
    in.TotalFrames = 2500;
    in.FileDurationMs = 100000;
    in.Speed = 2.0;
    in.PassRunningMs = 12500;
    return in;
}

} // namespace

TEST(TimeLeft, FromFramesDoneSpeedAndTheRowsToCome)
{
    struct Case
    {
        const char *name;
        void (*change)(TimeLeftInputs &);
        TimeLeft expected;
    };
    const Case cases[] = {
        {"one file", [](TimeLeftInputs &) {}, {37500, 37500}},
        {"two files known",
            [](TimeLeftInputs &in) {
                in.NextFilesKnownMs = 60000 + 20000;
                in.NextFilesKnown = 2;
            },
            {37500, 77500}},
        // An unknown file counts as the average of the known ones (the
        // current one included): (100 + 20) / 2 = 60 s.
        {"one unknown",
            [](TimeLeftInputs &in) {
                in.NextFilesKnownMs = 20000;
                in.NextFilesKnown = 1;
                in.NextFilesUnknown = 1;
            },
            {37500, 77500}},
        // Pass 1 of 2: the second pass of this file and both passes of the
        // next are still to come.
        {"two-pass",
            [](TimeLeftInputs &in) {
                in.PassNo = 1;
                in.PassCount = 2;
                in.NextFilesKnownMs = 20000;
                in.NextFilesKnown = 1;
            },
            {87500, 107500}},
        // FFmpeg's clock ran on while it was stopped for 2.5 s of its 12.5:
        // it reports 2x, it really runs at 2.5x.
        {"after a pause", [](TimeLeftInputs &in) { in.PassPausedMs = 2500; }, {30000, 30000}},
        {"no total frames", [](TimeLeftInputs &in) { in.TotalFrames = 0; }, {-1, -1}},
        {"no speed", [](TimeLeftInputs &in) { in.Speed = 0; }, {-1, -1}},
        // Frames counted, yet the length unknown: no figure beats a wrong one.
        {"no duration", [](TimeLeftInputs &in) { in.FileDurationMs = 0; }, {-1, -1}},
        {"frames beyond the total", [](TimeLeftInputs &in) { in.FramesDone = 3000; }, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TimeLeftInputs in = quarterDone();
        c.change(in);
        const TimeLeft left = EstimateTimeLeft(in);
        EXPECT_EQ(left.FileMs, c.expected.FileMs);
        EXPECT_EQ(left.BatchMs, c.expected.BatchMs);
    }
}

TEST(TimeLeft, SpeedSpansAndTitle)
{
    EXPECT_DOUBLE_EQ(ParseFFmpegSpeed(QStringLiteral("2.05x")), 2.05);
    EXPECT_DOUBLE_EQ(ParseFFmpegSpeed(QStringLiteral(" 25x")), 25.0);
    EXPECT_DOUBLE_EQ(ParseFFmpegSpeed(QStringLiteral("7.48e-06x")), 7.48e-06);
    EXPECT_EQ(ParseFFmpegSpeed(QStringLiteral("N/A")), 0.0);
    EXPECT_EQ(ParseFFmpegSpeed(QStringLiteral("   0x")), 0.0);

    EXPECT_EQ(FormatTimeSpan(0), QStringLiteral("0:00"));
    EXPECT_EQ(FormatTimeSpan(42999), QStringLiteral("0:42"));
    EXPECT_EQ(FormatTimeSpan(725000), QStringLiteral("12:05"));
    EXPECT_EQ(FormatTimeSpan(3723000), QStringLiteral("1:02:03"));
    EXPECT_EQ(FormatTimeSpan(-1), QStringLiteral("--:--"));

    const QString left = QStringLiteral("%s left");
    EXPECT_EQ(TitleWithTimeLeft(QStringLiteral("(1/3) 25 % - Quillon"), 190000, left),
        QStringLiteral("(1/3) 25 %, 3:10 left - Quillon"));
    EXPECT_EQ(TitleWithTimeLeft(QStringLiteral("(1/3) 25 % - Quillon"), -1, left),
        QStringLiteral("(1/3) 25 % - Quillon"));
}

#include "conversion/JobCount.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

namespace {

EncodingSettings settingsFor(int codec)
{
    EncodingSettings s = DefaultEncodingSettings(TAppStrings(), AviCodec::Xvid);
    s.cbAviVideoCodec = codec;
    return s;
}

TEST(JobCount, AutoGivesEachConversionTheProcessorsItKeepsBusy)
{
    struct Case
    {
        const char *name;
        EncodingSettings settings;
        int processors;
        int jobs;
    };
    EncodingSettings h264Typed = settingsFor(AviCodec::H264);
    h264Typed.cbAviVideoThreads = QStringLiteral("1");
    EncodingSettings copyOnly = settingsFor(AviCodec::Copy);
    copyOnly.cbAudioCodec = AudioCodec::Copy;
    EncodingSettings audioOnly = settingsFor(AviCodec::H264);
    audioOnly.chAviVideoDontCopy = true;
    EncodingSettings mpg = settingsFor(AviCodec::H264);
    mpg.pcVideoFormat = EncodingSettings::tsMpg;
    const Case cases[] = {
        {"Xvid, one processor each", settingsFor(AviCodec::Xvid), 8, 8},
        {"H.264 with half the processors each", settingsFor(AviCodec::H264), 8, 2},
        {"H.264 with one typed thread", h264Typed, 8, 8},
        {"two processors, H.264 gets one", settingsFor(AviCodec::H264), 2, 2},
        {"copying only waits on the disk", copyOnly, 8, 1},
        {"audio only encodes on one processor", audioOnly, 4, 4},
        {"MPEG ignores the H.264 threads", mpg, 4, 4},
        {"never more than the maximum", settingsFor(AviCodec::Xvid), 64, MaxJobs},
        {"an unknown processor count", settingsFor(AviCodec::Xvid), 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AutoJobCount(c.settings, c.processors), c.jobs);
        EXPECT_EQ(ResolveJobCount(AutoJobs, c.settings, c.processors), c.jobs);
    }
    // A number chosen is kept, within 1 to the maximum.
    EXPECT_EQ(ResolveJobCount(3, copyOnly, 8), 3);
    EXPECT_EQ(ResolveJobCount(99, copyOnly, 8), MaxJobs);
    EXPECT_EQ(ResolveJobCount(-2, copyOnly, 8), 1);
}

TEST(JobCount, ParsesAutoOrACountInRange)
{
    EXPECT_EQ(ParseJobCount(QStringLiteral("auto")), AutoJobs);
    EXPECT_EQ(ParseJobCount(QStringLiteral(" AUTO ")), AutoJobs);
    EXPECT_EQ(ParseJobCount(QStringLiteral("1")), 1);
    EXPECT_EQ(ParseJobCount(QStringLiteral("16")), 16);
    for (const char *bad : {"0", "17", "-1", "2.5", "two", ""})
        EXPECT_FALSE(ParseJobCount(QLatin1String(bad)).has_value()) << bad;
}

} // namespace

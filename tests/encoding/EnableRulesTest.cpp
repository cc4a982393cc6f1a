#include "encoding/EnableRules.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

#include <QSet>
#include <functional>
#include <random>
#include <vector>

namespace {

using Field = bool EnableState::*;

struct Expect
{
    const char *name;
    Field field;
    bool value;
};

#define EXPECT_FIELD(f, v)                                                                         \
    Expect                                                                                         \
    {                                                                                              \
#f, &EnableState::f, v                                                                     \
    }

struct RuleCase
{
    const char *title;
    std::function<void(EncodingSettings &)> setUp;
    std::vector<Expect> expected;
};

EncodingSettings defaults()
{
    return DefaultEncodingSettings(TAppStrings(), AviCodec::Xvid);
}

TEST(EnableRules, CasesFromDefaults)
{
    const std::vector<RuleCase> cases = {
        {"defaults: everything of the AVI page and the audio is on", [](EncodingSettings &) {},
            {EXPECT_FIELD(AudioOn, true), EXPECT_FIELD(TagOn, true),
                EXPECT_FIELD(VideoFiltersOn, true), EXPECT_FIELD(cbAviVideoBitrate, true),
                EXPECT_FIELD(cbAviVideoThreadsVisible, false), EXPECT_FIELD(cbVideoTag, false),
                EXPECT_FIELD(spedResWidth, false), EXPECT_FIELD(cbInterlacing, true),
                EXPECT_FIELD(edOutDir, false)}},
        {"PAL DVD: audio, tag, size and crop off, picture filters on",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.cbMpgVideo = MpgVideo::PalDvd;
            },
            {EXPECT_FIELD(AudioOn, false), EXPECT_FIELD(chAudioDontCopy, false),
                EXPECT_FIELD(cbAudioCodec, false), EXPECT_FIELD(cbAudioBitrate, false),
                EXPECT_FIELD(cbAudioSampling, false), EXPECT_FIELD(cbAudioChannels, false),
                EXPECT_FIELD(tbAudioVolume, false), EXPECT_FIELD(lblAudioCodec, false),
                EXPECT_FIELD(cbAudioTrackNo, false), EXPECT_FIELD(chVideoFourcc, false),
                EXPECT_FIELD(cbResolution, false), EXPECT_FIELD(spedCropTop, false),
                EXPECT_FIELD(spedCropRight, false), EXPECT_FIELD(chFlipHorizontal, true),
                EXPECT_FIELD(chFlipVertical, true), EXPECT_FIELD(chRotate, true),
                EXPECT_FIELD(chNegative, true), EXPECT_FIELD(chConvertColors, true),
                EXPECT_FIELD(chBrightness, true), EXPECT_FIELD(chSaturation, true),
                EXPECT_FIELD(cbInterlacing, true), EXPECT_FIELD(cbMpgVideoBitrate, false),
                EXPECT_FIELD(cbMpegVersion, false), EXPECT_FIELD(cbMpgVideo, true)}},
        {"MPG custom: bitrate, FPS and version on",
            [](EncodingSettings &s) { s.pcVideoFormat = EncodingSettings::tsMpg; },
            {EXPECT_FIELD(cbMpgVideoBitrate, true), EXPECT_FIELD(lblMpgVideoKbps, true),
                EXPECT_FIELD(cbMpgVideoFPS, true), EXPECT_FIELD(cbMpegVersion, true),
                EXPECT_FIELD(AudioOn, true), EXPECT_FIELD(TagOn, true),
                EXPECT_FIELD(cbResolution, true)}},
        {"MPG video dropped: the whole page off but its check box",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.chMpgVideoDontCopy = true;
            },
            {EXPECT_FIELD(chMpgVideoDontCopy, true), EXPECT_FIELD(cbMpgVideo, false),
                EXPECT_FIELD(lblMpgInfo, false), EXPECT_FIELD(chMpgVideo2Pass, false),
                EXPECT_FIELD(cbMpgVideoBitrate, false), EXPECT_FIELD(TagOn, false),
                EXPECT_FIELD(VideoFiltersOn, false), EXPECT_FIELD(cbInterlacing, false),
                EXPECT_FIELD(AudioOn, true)}},
        {"MPG with no preset selected counts as a preset for the audio",
            [](EncodingSettings &s) {
                s.pcVideoFormat = EncodingSettings::tsMpg;
                s.cbMpgVideo = -1;
            },
            {EXPECT_FIELD(AudioOn, false), EXPECT_FIELD(chAudioDontCopy, false)}},
        {"a DVD preset on the inactive MPG page changes nothing",
            [](EncodingSettings &s) { s.cbMpgVideo = MpgVideo::NtscDvd; },
            {EXPECT_FIELD(AudioOn, true), EXPECT_FIELD(cbResolution, true)}},
        {"H.264 shows the threads control",
            [](EncodingSettings &s) { s.cbAviVideoCodec = AviCodec::H264; },
            {EXPECT_FIELD(cbAviVideoThreadsVisible, true),
                EXPECT_FIELD(lblAviVideoThreadsVisible, true),
                EXPECT_FIELD(cbAviVideoThreads, true)}},
        {"H.264 with the video dropped: threads shown but disabled",
            [](EncodingSettings &s) {
                s.cbAviVideoCodec = AviCodec::H264;
                s.chAviVideoDontCopy = true;
            },
            {EXPECT_FIELD(cbAviVideoThreadsVisible, true), EXPECT_FIELD(cbAviVideoThreads, false)}},
        {"HuffYUV: no bitrate, FPS and aspect stay",
            [](EncodingSettings &s) { s.cbAviVideoCodec = AviCodec::HuffYUV; },
            {EXPECT_FIELD(cbAviVideoBitrate, false), EXPECT_FIELD(lblAviVideoKbps, false),
                EXPECT_FIELD(cbAviVideoFPS, true), EXPECT_FIELD(cbAviVideoAspect, true),
                EXPECT_FIELD(VideoFiltersOn, true)}},
        {"COPY: no bitrate, FPS, aspect, filters, size or deinterlacing; tag stays",
            [](EncodingSettings &s) { s.cbAviVideoCodec = AviCodec::Copy; },
            {EXPECT_FIELD(cbAviVideoBitrate, false), EXPECT_FIELD(cbAviVideoFPS, false),
                EXPECT_FIELD(lblAviVideoFPS, false), EXPECT_FIELD(cbAviVideoAspect, false),
                EXPECT_FIELD(lblAviVideoAspect, false), EXPECT_FIELD(VideoFiltersOn, false),
                EXPECT_FIELD(cbResolution, false), EXPECT_FIELD(spedCropTop, false),
                EXPECT_FIELD(chRotate, false), EXPECT_FIELD(cbInterlacing, false),
                EXPECT_FIELD(TagOn, true), EXPECT_FIELD(chVideoFourcc, true),
                EXPECT_FIELD(chAviVideo2Pass, true)}},
        {"AVI video dropped: AVI controls, tag and filters off; audio on",
            [](EncodingSettings &s) { s.chAviVideoDontCopy = true; },
            {EXPECT_FIELD(chAviVideoDontCopy, true), EXPECT_FIELD(cbAviVideoCodec, false),
                EXPECT_FIELD(lblAviVideoCodec, false), EXPECT_FIELD(cbAviVideoBitrate, false),
                EXPECT_FIELD(cbAviVideoFPS, false), EXPECT_FIELD(chAviVideo2Pass, false),
                EXPECT_FIELD(cbAviVideoAspect, false), EXPECT_FIELD(TagOn, false),
                EXPECT_FIELD(VideoFiltersOn, false), EXPECT_FIELD(AudioOn, true),
                EXPECT_FIELD(cbAudioTrackNo, true)}},
        {"audio dropped: the audio group off, deinterlacing stays",
            [](EncodingSettings &s) { s.chAudioDontCopy = true; },
            {EXPECT_FIELD(AudioOn, false), EXPECT_FIELD(chAudioDontCopy, true),
                EXPECT_FIELD(cbAudioCodec, false), EXPECT_FIELD(lblAudioVolume, false),
                EXPECT_FIELD(cbAudioTrackNo, false), EXPECT_FIELD(cbInterlacing, true)}},
        {"PCM: no audio bitrate, sampling and channels stay",
            [](EncodingSettings &s) { s.cbAudioCodec = AudioCodec::Pcm; },
            {EXPECT_FIELD(cbAudioBitrate, false), EXPECT_FIELD(lblAudioBitrate, true),
                EXPECT_FIELD(cbAudioSampling, true), EXPECT_FIELD(cbAudioChannels, true)}},
        {"audio COPY: no bitrate, sampling or channels",
            [](EncodingSettings &s) { s.cbAudioCodec = AudioCodec::Copy; },
            {EXPECT_FIELD(cbAudioBitrate, false), EXPECT_FIELD(cbAudioSampling, false),
                EXPECT_FIELD(cbAudioChannels, false), EXPECT_FIELD(tbAudioVolume, true)}},
        {"checked boxes enable their companions",
            [](EncodingSettings &s) {
                s.chVideoFourcc = s.chConvertColors = s.chBrightness = s.chSaturation = true;
                s.chRotate = true;
                s.cbResolution = Resolution::Custom;
            },
            {EXPECT_FIELD(cbVideoTag, true), EXPECT_FIELD(cbConvertColors, true),
                EXPECT_FIELD(tbBrightness, true), EXPECT_FIELD(lblBrightnessValue, true),
                EXPECT_FIELD(tbSaturation, true), EXPECT_FIELD(lblSaturationValue, true),
                EXPECT_FIELD(cbRotate, true), EXPECT_FIELD(spedResWidth, true),
                EXPECT_FIELD(spedResHeight, true), EXPECT_FIELD(lblResX, true)}},
        {"checked companions follow their disabled boxes",
            [](EncodingSettings &s) {
                s.chVideoFourcc = s.chBrightness = s.chRotate = true;
                s.cbResolution = Resolution::Custom;
                s.chAviVideoDontCopy = true;
            },
            {EXPECT_FIELD(cbVideoTag, false), EXPECT_FIELD(tbBrightness, false),
                EXPECT_FIELD(cbRotate, false), EXPECT_FIELD(spedResWidth, false)}},
        {"a resolution preset keeps the custom size off",
            [](EncodingSettings &s) { s.cbResolution = Resolution::FirstPreset; },
            {EXPECT_FIELD(cbResolution, true), EXPECT_FIELD(spedResWidth, false)}},
        {"output folder chosen", [](EncodingSettings &s) { s.rbOutDir = true; },
            {EXPECT_FIELD(edOutDir, true), EXPECT_FIELD(actBrowseOutDir, true),
                EXPECT_FIELD(actExploreOutDir, true)}},
    };
    for (const RuleCase &c : cases) {
        EncodingSettings s = defaults();
        c.setUp(s);
        const EnableState e = EvaluateEnableRules(s);
        for (const Expect &x : c.expected)
            EXPECT_EQ(e.*x.field, x.value) << c.title << ": " << x.name;
    }
}

// Random records, garbage indexes included: the evaluation must hold its own
// implications whatever it is given.
TEST(EnableRules, GeneratedRecordsKeepTheImplications)
{
    std::mt19937 rng(20240611);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto flip = [&rng]() { return std::bernoulli_distribution(0.5)(rng); };
    for (int i = 0; i < 20000; ++i) {
        EncodingSettings s;
        s.pcVideoFormat = pick(-1, 2);
        s.cbAviVideoCodec = pick(-3, 12);
        s.cbMpgVideo = pick(-2, 4);
        s.cbAudioCodec = pick(-2, 10);
        s.cbResolution = pick(-2, 20);
        s.chAviVideoDontCopy = flip();
        s.chMpgVideoDontCopy = flip();
        s.chAudioDontCopy = flip();
        s.chVideoFourcc = flip();
        s.chBrightness = flip();
        s.chSaturation = flip();
        s.chRotate = flip();
        s.chConvertColors = flip();
        s.rbOutDir = flip();
        const EnableState e = EvaluateEnableRules(s);
        SCOPED_TRACE(i);
        ASSERT_TRUE(!e.cbVideoTag || (e.chVideoFourcc && s.chVideoFourcc));
        ASSERT_TRUE(!e.tbBrightness || (e.chBrightness && s.chBrightness));
        ASSERT_TRUE(!e.tbSaturation || (e.chSaturation && s.chSaturation));
        ASSERT_TRUE(!e.cbRotate || (e.chRotate && s.chRotate));
        ASSERT_TRUE(!e.cbConvertColors || (e.chConvertColors && s.chConvertColors));
        ASSERT_TRUE(!e.spedResWidth || e.cbResolution);
        ASSERT_TRUE(!e.cbResolution || e.VideoFiltersOn);
        ASSERT_TRUE(!e.cbAudioBitrate || e.AudioOn);
        ASSERT_TRUE(!e.cbAudioTrackNo || e.AudioOn);
        ASSERT_TRUE(!e.cbInterlacing || e.VideoFiltersOn);
        ASSERT_TRUE(!e.AudioOn || !s.chAudioDontCopy);
        ASSERT_TRUE(e.chAviVideoDontCopy && e.chMpgVideoDontCopy);
        ASSERT_EQ(e.cbAviVideoThreadsVisible, s.cbAviVideoCodec == AviCodec::H264);
        ASSERT_EQ(e.IsMpg, s.pcVideoFormat == EncodingSettings::tsMpg);
    }
}

} // namespace

// A window applies the state through the table alone: a flag missing from it
// would leave its control as it was.
TEST(EnableRules, TableNamesEveryControlFlagOnce)
{
    EnableState touched;
    QSet<QString> names;
    int flags = 0;
    for (const EnableFlag &f : EnableFlags()) {
        const QString name = QString::fromLatin1(f.control);
        EXPECT_FALSE(names.contains(name)) << f.control;
        names.insert(name);
        for (bool EnableState::*m : {f.enabled, f.visible}) {
            if (!m)
                continue;
            EXPECT_FALSE(touched.*m) << f.control;
            touched.*m = true;
            ++flags;
        }
    }
    const int derived = 4; // IsMpg, AudioOn, TagOn, VideoFiltersOn
    EXPECT_EQ(size_t(flags + derived), sizeof(EnableState) / sizeof(bool));
    EXPECT_FALSE(touched.IsMpg || touched.AudioOn || touched.TagOn || touched.VideoFiltersOn);
}

#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "encoding/SettingsTexts.h"
#include "i18n/AppStrings.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(SettingsTexts, VolumeAndTrackBarLabels)
{
    // A decimal comma locale must not leak into the texts.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::pair<int, const char *> volumes[]
        = {{100, "1.00"}, {5, "0.05"}, {300, "3.00"}, {150, "1.50"}, {1, "0.01"}, {0, "0.00"}};
    for (const auto &[position, text] : volumes)
        EXPECT_EQ(FormatVolumeFactor(position), QString::fromLatin1(text)) << position;
    EXPECT_EQ(AudioVolumeLabel(100), u"1.00x"_s);

    const std::pair<int, const char *> values[] = {{0, "0"}, {10, "1"}, {5, "0.5"}, {-12, "-1.2"},
        {15, "1.5"}, {-20, "-2"}, {30, "3"}, {-5, "-0.5"}};
    for (const auto &[position, text] : values)
        EXPECT_EQ(TrackBarValueText(position), QString::fromLatin1(text)) << position;
    QLocale::setDefault(before);
}

TEST(SettingsTexts, AutoWordAndMpgInfo)
{
    TAppStrings strings;
    for (const char *text : {"Auto", "auto", " AUTO ", "\tAuto\n"})
        EXPECT_TRUE(IsAutoText(QString::fromLatin1(text), strings)) << text;
    for (const char *text : {"", "Autox", "A uto", "1500"})
        EXPECT_FALSE(IsAutoText(QString::fromLatin1(text), strings)) << text;
    strings.Main.Auto = u"Automatisch"_s;
    EXPECT_TRUE(IsAutoText(u"AUTOMATISCH"_s, strings));
    EXPECT_FALSE(IsAutoText(u"Auto"_s, strings));

    strings.Main.MpgUserSettings = u"Benutzer"_s;
    EXPECT_EQ(MpgInfoText(0, strings), u"MPEG-2 / 720 x 576 / 25 fps / AC3"_s);
    EXPECT_EQ(MpgInfoText(1, strings), u"MPEG-2 / 720 x 480 / 29.970 fps / AC3"_s);
    EXPECT_EQ(MpgInfoText(2, strings), u"Benutzer"_s);
    EXPECT_TRUE(MpgInfoText(-1, strings).isEmpty());
}

TEST(SettingsDefaults, GroupDefaults)
{
    TAppStrings strings;
    strings.Main.Auto = u"Automatisch"_s;
    EncodingSettings s;
    s.pcVideoFormat = EncodingSettings::tsMpg;
    s.cbAviVideoBitrate = u"1500"_s;
    s.chAviVideo2Pass = s.chMpgVideoDontCopy = s.chAudioDontCopy = s.chNegative = true;
    s.cbMpgVideo = 0;
    s.tbAudioVolume = 7;
    s.meParams = u"-x 1"_s;
    s.tbSaturation = 3;
    s.rbOutDir = true;
    s.edOutDir = u"/out"_s;
    s.cbOutputExists = 2;
    SetDefaultParams(s, strings, AviCodec::H264);

    EXPECT_EQ(s.pcVideoFormat, EncodingSettings::tsAvi);
    EXPECT_EQ(s.cbAviVideoCodec, AviCodec::H264);
    for (const QString *text :
        {&s.cbAviVideoThreads, &s.cbAviVideoBitrate, &s.cbAviVideoFPS, &s.cbAviVideoAspect,
            &s.cbMpgVideoBitrate, &s.cbMpgVideoFPS, &s.cbAudioBitrate, &s.cbAudioSampling})
        EXPECT_EQ(*text, u"Automatisch"_s);
    EXPECT_FALSE(s.chAviVideo2Pass || s.chMpgVideoDontCopy || s.chAudioDontCopy || s.chNegative);
    EXPECT_EQ(s.cbMpgVideo, MpgVideo::Custom);
    EXPECT_EQ(s.tbAudioVolume, 100);
    EXPECT_TRUE(s.meParams.isEmpty());
    EXPECT_EQ(s.tbSaturation, 10);
    EXPECT_EQ(s.cbVideoTag, u"XVID"_s);
    EXPECT_EQ(s.cbRotate, u"180"_s);
    EXPECT_EQ(s.spedResWidth, 854);
    EXPECT_EQ(s.spedResHeight, 480);
    // The output options are not encoder settings.
    EXPECT_TRUE(s.rbOutDir);
    EXPECT_EQ(s.edOutDir, u"/out"_s);
    EXPECT_EQ(s.cbOutputExists, 2);

    SetDefaultVideoSettings_Avi(s, strings, 42);
    EXPECT_EQ(s.cbAviVideoCodec, AviCodec::Xvid);
}

TEST(SettingsDefaults, DefaultVideoCodecOption)
{
    const std::pair<const char *, int> cases[]
        = {{"H.264", 2}, {" h.264 ", 2}, {"Xvid", 0}, {"H264", 0}, {"", 0}, {"x264", 0}};
    for (const auto &[text, entry] : cases)
        EXPECT_EQ(DefaultVideoCodecEntry(QString::fromLatin1(text)), entry) << text;
    EXPECT_EQ(DefaultVideoCodecText(2), u"H.264"_s);
    EXPECT_EQ(DefaultVideoCodecText(0), u"Xvid"_s);
    EXPECT_EQ(DefaultVideoCodecEntry(DefaultVideoCodecText(AviCodec::H264)), AviCodec::H264);
}

} // namespace

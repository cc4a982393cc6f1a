#include "encoding/SettingsLanguage.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TAppStrings german()
{
    TAppStrings strings;
    strings.Main.Auto = u"Automatisch"_s;
    strings.Main.Custom = u"Benutzerdefiniert"_s;
    strings.Main.FirstAudioTrack = u"(erste Tonspur)"_s;
    return strings;
}

TEST(SettingsLanguage, TypedNumbersStayWordsBecomeTheNewAuto)
{
    const TAppStrings english;
    const TAppStrings de = german();
    struct Case
    {
        QString EncodingSettings::*field;
        const char *name;
        QString before;
        QString after;
    };
    const Case cases[] = {
        {&EncodingSettings::cbAviVideoBitrate, "AVI bitrate", u"1500"_s, u"1500"_s},
        {&EncodingSettings::cbAviVideoBitrate, "AVI bitrate", u"Auto"_s, u"Automatisch"_s},
        {&EncodingSettings::cbAviVideoBitrate, "AVI bitrate", u"1500k"_s, u"Automatisch"_s},
        {&EncodingSettings::cbAviVideoBitrate, "AVI bitrate", u" 900 "_s, u" 900 "_s},
        {&EncodingSettings::cbMpgVideoBitrate, "MPG bitrate", u"auto"_s, u"Automatisch"_s},
        {&EncodingSettings::cbMpgVideoBitrate, "MPG bitrate", u"27000"_s, u"27000"_s},
        {&EncodingSettings::cbAviVideoThreads, "threads", u"8"_s, u"8"_s},
        {&EncodingSettings::cbAviVideoThreads, "threads", u""_s, u"Automatisch"_s},
        {&EncodingSettings::cbAudioBitrate, "audio bitrate", u"12.5"_s, u"Automatisch"_s},
        {&EncodingSettings::cbAudioSampling, "sampling", u"44100"_s, u"44100"_s},
        {&EncodingSettings::cbAviVideoFPS, "AVI FPS", u"29.97"_s, u"29.97"_s},
        {&EncodingSettings::cbAviVideoFPS, "AVI FPS", u"23,976"_s, u"23,976"_s},
        {&EncodingSettings::cbAviVideoFPS, "AVI FPS", u"1.2.3"_s, u"Automatisch"_s},
        {&EncodingSettings::cbMpgVideoFPS, "MPG FPS", u"29.97"_s, u"29.97"_s},
        {&EncodingSettings::cbMpgVideoFPS, "MPG FPS", u"Auto"_s, u"Automatisch"_s},
        {&EncodingSettings::cbAviVideoAspect, "aspect", u"Auto"_s, u"Automatisch"_s},
        {&EncodingSettings::cbAviVideoAspect, "aspect", u"auto"_s, u"auto"_s},
        {&EncodingSettings::cbAviVideoAspect, "aspect", u"16:9"_s, u"16:9"_s},
        {&EncodingSettings::cbAviVideoAspect, "aspect", u"wide"_s, u"wide"_s},
    };
    for (const Case &c : cases) {
        EncodingSettings s = DefaultEncodingSettings(english, AviCodec::Xvid);
        s.*c.field = c.before;
        EncodingLists lists = BuildEncodingLists(english, {}, {});
        ApplyLanguageChange(s, lists, english, de);
        EXPECT_EQ(s.*c.field, c.after) << c.name << " " << c.before.toStdString();
    }
}

TEST(SettingsLanguage, IndexesStayAndTranslatedEntriesChange)
{
    const TAppStrings english;
    EncodingSettings s = DefaultEncodingSettings(english, AviCodec::Xvid);
    s.cbAfterConversion = 1;
    s.cbResolution = 1;
    s.cbAudioTrackNo = 2;
    s.cbRotate = u"Auto"_s; // not a list with a translated entry
    EncodingLists lists = BuildEncodingLists(english, {}, {});
    lists.cbAudioTrackNo << u"1: AAC"_s << u"2: AC-3"_s;
    const EncodingSettings before = s;
    ApplyLanguageChange(s, lists, english, german());

    EXPECT_EQ(s.cbAfterConversion, before.cbAfterConversion);
    EXPECT_EQ(s.cbResolution, before.cbResolution);
    EXPECT_EQ(s.cbAudioTrackNo, before.cbAudioTrackNo);
    EXPECT_EQ(s.cbRotate, u"Auto"_s);
    EXPECT_EQ(lists.cbResolution.at(0), u"Automatisch"_s);
    EXPECT_EQ(lists.cbResolution.at(1), u"Benutzerdefiniert"_s);
    EXPECT_EQ(lists.cbResolution.at(2), u"128 x 196 - SQCIF"_s);
    EXPECT_EQ(lists.cbAudioTrackNo,
        (QStringList{u"Automatisch (erste Tonspur)"_s, u"1: AAC"_s, u"2: AC-3"_s}));

    // Empty lists are left alone.
    EncodingLists empty;
    ApplyLanguageChange(s, empty, german(), english);
    EXPECT_TRUE(empty.cbResolution.isEmpty() && empty.cbAudioTrackNo.isEmpty());
    EXPECT_EQ(s.cbAviVideoBitrate, u"Auto"_s);
}

} // namespace

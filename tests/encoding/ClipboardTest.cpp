#include "encoding/SettingsClipboard.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

EncodingSettings defaults()
{
    return DefaultEncodingSettings(TAppStrings(), AviCodec::Xvid);
}

TEST(Clipboard, NumberLikeTexts)
{
    for (const char *text :
        {"", "25", "+25", "29.97", "29,97", "-5", "1E5", "1e5", "+-1", "E", ".", "1.", ",5"})
        EXPECT_TRUE(IsNumberLikeText(QString::fromLatin1(text))) << text;
    for (const char *text : {"abc", "1.2.3", "1,2,3", "1.2,3", "5-", "--5", "1E5E", "1E-5", "++5",
             " 25", "25 fps", "1/2"})
        EXPECT_FALSE(IsNumberLikeText(QString::fromLatin1(text))) << text;
}

TEST(Clipboard, AviCopyPasteRestoresTypedValuesAndPage)
{
    const TAppStrings strings;
    EncodingSettings s = defaults();
    s.cbAviVideoBitrate = u"1234"_s;
    s.cbAviVideoFPS = u"25"_s;
    s.cbAviVideoThreads = u" 3 "_s;
    s.cbAviVideoAspect = u"16:9"_s;
    s.cbAviVideoCodec = AviCodec::Wmv2;
    s.chAviVideo2Pass = true;
    const TCopyParams_AVI slot = CopyVideoSettings_Avi(s, strings);
    EXPECT_EQ(slot.itemIndex(u"cbAviVideoBitrate"_s), -1);
    EXPECT_EQ(slot.itemIndex(u"cbAviVideoFPS"_s), 10);
    EXPECT_EQ(slot.itemIndex(u"cbAviVideoAspect"_s), 7);

    EncodingSettings changed = defaults();
    changed.pcVideoFormat = EncodingSettings::tsMpg;
    changed.cbMpgVideoBitrate = u"999"_s;
    PasteVideoSettings_Avi(changed, slot, strings);
    EXPECT_EQ(changed.cbAviVideoBitrate, u"1234"_s);
    EXPECT_EQ(changed.cbAviVideoThreads, u" 3 "_s);
    EXPECT_EQ(changed.cbAviVideoFPS, u"25"_s);
    EXPECT_EQ(changed.cbAviVideoAspect, u"16:9"_s);
    EXPECT_EQ(changed.cbAviVideoCodec, AviCodec::Wmv2);
    EXPECT_TRUE(changed.chAviVideo2Pass);
    EXPECT_FALSE(changed.IsMpg());
    EXPECT_EQ(changed.cbMpgVideoBitrate, u"999"_s); // other groups untouched
}

TEST(Clipboard, PasteChecksEachText)
{
    TAppStrings strings;
    strings.Main.Auto = u"Automatisch"_s;
    TCopyParams_AVI avi;
    avi.values.cbAviVideoThreads = u"many"_s;
    avi.values.cbAviVideoBitrate = u"12a"_s;
    avi.values.cbAviVideoFPS = u"fast"_s;
    avi.values.cbAviVideoAspect = u"16:"_s;
    avi.values.cbAviVideoCodec = -1;
    EncodingSettings s = defaults();
    PasteVideoSettings_Avi(s, avi, strings);
    EXPECT_EQ(s.cbAviVideoThreads, u"Automatisch"_s);
    EXPECT_EQ(s.cbAviVideoBitrate, u"Automatisch"_s);
    EXPECT_EQ(s.cbAviVideoFPS, u"Automatisch"_s);
    EXPECT_EQ(s.cbAviVideoAspect, u"Automatisch"_s);
    EXPECT_EQ(s.cbAviVideoCodec, -1);

    avi.values.cbAviVideoFPS = u"23,976"_s;
    avi.values.cbAviVideoAspect = u"2,35"_s;
    PasteVideoSettings_Avi(s, avi, strings);
    EXPECT_EQ(s.cbAviVideoFPS, u"23,976"_s);
    EXPECT_EQ(s.cbAviVideoAspect, u"2,35"_s);

    TCopyParams_Audio audio;
    audio.values.cbAudioBitrate = u"192"_s;
    audio.values.cbAudioSampling = u"44.1k"_s;
    audio.values.tbAudioVolume = 250;
    PasteAudioSettings(s, audio, strings);
    EXPECT_EQ(s.cbAudioBitrate, u"192"_s);
    EXPECT_EQ(s.cbAudioSampling, u"Automatisch"_s);
    EXPECT_EQ(s.tbAudioVolume, 250);
}

TEST(Clipboard, MpgCopyPaste)
{
    const TAppStrings strings;
    EncodingSettings s = defaults();
    s.cbMpgVideo = MpgVideo::NtscDvd;
    s.cbMpegVersion = 1;
    s.cbMpgVideoBitrate = u"6000"_s;
    s.cbMpgVideoFPS = u"bad fps"_s;
    s.chMpgVideoDontCopy = true;
    const TCopyParams_MPG slot = CopyVideoSettings_Mpg(s, strings);
    ASSERT_GT(slot.itemIndex(u"cbMpgVideoBitrate"_s), 0);
    EXPECT_EQ(MpgVideoBitrateItems(strings).at(slot.itemIndex(u"cbMpgVideoBitrate"_s)), u"6000"_s);
    EXPECT_EQ(slot.itemIndex(u"cbMpgVideoFPS"_s), -1);

    EncodingSettings other = defaults();
    other.cbMpgVideoBitrate = u"1"_s;
    PasteVideoSettings_Mpg(other, slot, strings);
    EXPECT_TRUE(other.IsMpg());
    EXPECT_EQ(other.cbMpgVideo, MpgVideo::NtscDvd);
    EXPECT_EQ(other.cbMpegVersion, 1);
    EXPECT_EQ(other.cbMpgVideoBitrate, u"6000"_s);
    EXPECT_EQ(other.cbMpgVideoFPS, u"Auto"_s);
    EXPECT_TRUE(other.chMpgVideoDontCopy);
}

TEST(Clipboard, AdvancedPasteKeepsTrackOnlyInsideTheCurrentList)
{
    EncodingSettings s = defaults();
    s.cbAudioTrackNo = 3;
    s.meParams = u"-a 1\n-b 2"_s;
    s.chRotate = true;
    s.cbRotate = u"45"_s;
    s.tbSaturation = 22;
    s.spedCropLeft = 16;
    const TCopyParams_Advanced slot = CopyAdvancedSettings(s);

    const std::pair<int, int> cases[] = {{4, 3}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};
    for (const auto &[listEntries, expectedTrack] : cases) {
        EncodingSettings target = defaults();
        PasteAdvancedSettings(target, slot, listEntries);
        EXPECT_EQ(target.cbAudioTrackNo, expectedTrack) << listEntries;
        target.cbAudioTrackNo = s.cbAudioTrackNo;
        EXPECT_TRUE(target == s) << listEntries;
    }
}

TEST(Clipboard, SlotsAndVideoDefaults)
{
    SettingsClipboard clipboard;
    EXPECT_FALSE(clipboard.CopyParams_AVI || clipboard.CopyParams_MPG || clipboard.CopyParams_Audio
        || clipboard.CopyParams_Advanced);
    const TAppStrings strings;
    EncodingSettings s = defaults();
    clipboard.CopyParams_Audio = CopyAudioSettings(s, strings);
    EXPECT_TRUE(clipboard.CopyParams_Audio.has_value());

    s.cbAviVideoBitrate = u"1500"_s;
    DefaultVideoSettings_Mpg(s, strings);
    EXPECT_TRUE(s.IsMpg());
    EXPECT_EQ(s.cbAviVideoBitrate, u"1500"_s);
    DefaultVideoSettings_Avi(s, strings, AviCodec::H264);
    EXPECT_FALSE(s.IsMpg());
    EXPECT_EQ(s.cbAviVideoBitrate, u"Auto"_s);
    EXPECT_EQ(s.cbAviVideoCodec, AviCodec::H264);
}

} // namespace

#include "encoding/Profiles.h"
#include "app/IniFile.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace Qt::StringLiterals;
using TestSupport::ReadFile;
using TestSupport::WriteFile;

namespace {

EncodingSettings defaults(int defaultVideoCodec = AviCodec::Xvid)
{
    return DefaultEncodingSettings(TAppStrings(), defaultVideoCodec);
}

// A record with a value off its default in every field profiles carry.
EncodingSettings everythingChanged()
{
    EncodingSettings s = defaults();
    s.pcVideoFormat = EncodingSettings::tsMpg;
    s.cbAviVideoCodec = AviCodec::H264;
    s.cbAviVideoThreads = u"6"_s;
    s.cbAviVideoBitrate = u"2500"_s;
    s.cbAviVideoFPS = u"29,97"_s;
    s.cbAviVideoAspect = u"16:9"_s;
    s.chAviVideo2Pass = s.chAviVideoDontCopy = true;
    s.cbMpgVideo = MpgVideo::NtscDvd;
    s.cbMpegVersion = 1;
    s.cbMpgVideoBitrate = u"8000"_s;
    s.cbMpgVideoFPS = u"25"_s;
    s.chMpgVideo2Pass = s.chMpgVideoDontCopy = true;
    s.cbAudioCodec = AudioCodec::Wma2;
    s.cbAudioBitrate = u"192"_s;
    s.cbAudioSampling = u"44100"_s;
    s.cbAudioChannels = 3;
    s.tbAudioVolume = 250;
    s.chAudioDontCopy = true;
    s.cbResolution = 7;
    s.spedResWidth = 1278;
    s.spedResHeight = 722;
    s.chVideoFourcc = true;
    s.cbVideoTag = u"DX50"_s;
    s.spedCropTop = 8;
    s.spedCropBottom = 16;
    s.spedCropLeft = 24;
    s.spedCropRight = 32;
    s.meParams = u"-metadata title=\"A = B\" -map_metadata -1"_s;
    s.cbInterlacing = Interlacing::KeepOriginal;
    s.chConvertColors = true;
    s.cbConvertColors = ConvertColors::Sepia;
    s.chBrightness = true;
    s.tbBrightness = -12;
    s.chSaturation = true;
    s.tbSaturation = 25;
    s.chFlipHorizontal = s.chFlipVertical = s.chNegative = s.chRotate = true;
    s.cbRotate = u"90"_s;
    return s;
}

TEST(Profiles, SaveWritesEveryKeyInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"p.ini"_s);
    ASSERT_TRUE(SaveProfile(path, defaults(), TAppStrings()));
    EXPECT_EQ(ReadFile(path),
        QByteArray("[MAIN]\nAppName=Quillon\nAppVer=1.10\nOutputFormat=AVI\n"
                   "[AVI]\nVideoCodec=Xvid\nVideoBitrate=\nVideoFPS=\nVideoAspect=\n"
                   "Video2Pass=0\nDoNotCopyVideo=0\nEncoderThreads=\n"
                   "[MPG]\nVideoFormat=2\nMPEGVersion=0\nVideoBitrate=\nVideoFPS=\n"
                   "Video2Pass=0\nDoNotCopyVideo=0\n"
                   "[AUDIO]\nAudioCodec=AUTO\nAudioBitrate=\nAudioSampling=\n"
                   "AudioChannels=0\nDoNotCopyAudio=0\nVolume=100\n"
                   "[ADVANCED]\nResolution=0\nResWidth=854\nResHeight=480\n"
                   "ForceVideoTag=0\nVideoTag=XVID\nCropTop=0\nCropBottom=0\nCropLeft=0\n"
                   "CropRight=0\nAdditionalParams=\nInterlacing=0\nConvertColors=0\n"
                   "ConvertColorsValue=0\nBrightness=0\nBrightnessValue=0\nSaturation=0\n"
                   "SaturationValue=10\nFlipHorizontal=0\nFlipVertical=0\nNegative=0\n"
                   "Rotate=0\nRotateValue=180\n"));
}

TEST(Profiles, SavedValuesOfTypedTexts)
{
    struct Case
    {
        const char *title;
        std::function<void(EncodingSettings &)> setUp;
        const char *section;
        const char *key;
        QString written;
    };
    const Case cases[] = {
        {"typed bitrate", [](EncodingSettings &s) { s.cbAviVideoBitrate = u" 1500 "_s; }, "AVI",
            "VideoBitrate", u"1500"_s},
        {"word bitrate", [](EncodingSettings &s) { s.cbAviVideoBitrate = u"fast"_s; }, "AVI",
            "VideoBitrate", u""_s},
        {"FPS in other case is kept", [](EncodingSettings &s) { s.cbAviVideoFPS = u"auto"_s; },
            "AVI", "VideoFPS", u"auto"_s},
        {"aspect trimmed", [](EncodingSettings &s) { s.cbAviVideoAspect = u" 4:3 "_s; }, "AVI",
            "VideoAspect", u"4:3"_s},
        {"no codec selected", [](EncodingSettings &s) { s.cbAviVideoCodec = -1; }, "AVI",
            "VideoCodec", u"XVID"_s},
        {"no audio codec selected", [](EncodingSettings &s) { s.cbAudioCodec = 42; }, "AUDIO",
            "AudioCodec", u"MP3"_s},
        {"MPG page", [](EncodingSettings &s) { s.pcVideoFormat = EncodingSettings::tsMpg; }, "MAIN",
            "OutputFormat", u"MPG"_s},
        {"rotation word", [](EncodingSettings &s) { s.cbRotate = u"left"_s; }, "ADVANCED",
            "RotateValue", u"180"_s},
        {"rotation typed", [](EncodingSettings &s) { s.cbRotate = u" 45 "_s; }, "ADVANCED",
            "RotateValue", u"45"_s},
        {"parameter lines joined, quotes escaped",
            [](EncodingSettings &s) { s.meParams = u"  -a \"x\"\r\n\r\n-b 2\n"_s; }, "ADVANCED",
            "AdditionalParams", u"-a &quot;x&quot;  -b 2"_s},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        EncodingSettings s = defaults();
        c.setUp(s);
        const QString path = dir.filePath(u"case.ini"_s);
        ASSERT_TRUE(SaveProfile(path, s, TAppStrings())) << c.title;
        IniFile ini(path);
        ini.load();
        EXPECT_EQ(ini.readString(QLatin1String(c.section), QLatin1String(c.key)), c.written)
            << c.title;
    }
}

TEST(Profiles, SaveThenLoadGivesTheSameRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"round.ini"_s);
    for (const EncodingSettings &original :
        {defaults(), defaults(AviCodec::H264), everythingChanged()}) {
        ASSERT_TRUE(SaveProfile(path, original, TAppStrings()));
        EncodingSettings loaded = defaults();
        ASSERT_TRUE(LoadProfile(path, loaded, TAppStrings(), AviCodec::Xvid));
        EXPECT_TRUE(loaded == original) << ReadFile(path).toStdString();
    }
}

TEST(Profiles, SaveKeepsKeysItNeverWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"hand.ini"_s);
    ASSERT_TRUE(WriteFile(path,
        "; my profile\r\n[main]\r\nDisplayName=Fast [clb=#112233]\r\n"
        "SortIndex=2.5\r\nAppName=Old\r\n\r\n[Extra]\r\nNote=keep me\r\n"
        "[AVI]\r\nVideoBitrate=999\r\nCustom=1\r\n"));
    EncodingSettings s = defaults();
    s.cbAviVideoBitrate = u"1200"_s;
    ASSERT_TRUE(SaveProfile(path, s, TAppStrings()));
    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(u"MAIN"_s, u"DisplayName"_s), u"Fast [clb=#112233]"_s);
    EXPECT_EQ(ini.readString(u"MAIN"_s, u"SortIndex"_s), u"2.5"_s);
    EXPECT_EQ(ini.readString(u"MAIN"_s, u"AppName"_s), u"Quillon"_s);
    EXPECT_EQ(ini.readString(u"Extra"_s, u"Note"_s), u"keep me"_s);
    EXPECT_EQ(ini.readString(u"AVI"_s, u"Custom"_s), u"1"_s);
    EXPECT_EQ(ini.readString(u"AVI"_s, u"VideoBitrate"_s), u"1200"_s);
    EXPECT_TRUE(ReadFile(path).startsWith("; my profile\n[main]\n"));
    EXPECT_EQ(ini.sections().size(), 6);
}

TEST(Profiles, SaveFailureLeavesNoHalfFile)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(SaveProfile(dir.filePath(u"missing/p.ini"_s), defaults(), TAppStrings(), &error));
    EXPECT_FALSE(error.isEmpty());
    // A folder in the file's place cannot be read, so it is not replaced.
    const QString folder = dir.filePath(u"folder.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(SaveProfile(folder, defaults(), TAppStrings()));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

struct KeyCase
{
    const char *section;
    const char *key;
    const char *value;
    std::function<bool(const EncodingSettings &)> check;
};

std::vector<KeyCase> keyCases()
{
    using S = const EncodingSettings &;
    return {
        {"AVI", "VideoCodec", "h264", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "H.264", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "h-264", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "x264", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "7", [](S s) { return s.cbAviVideoCodec == AviCodec::MotionJpeg; }},
        {"AVI", "VideoCodec", "12", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "-1", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "RealVideo", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "", [](S s) { return s.cbAviVideoCodec == AviCodec::H264; }},
        {"AVI", "VideoCodec", "Divx 3", [](S s) { return s.cbAviVideoCodec == AviCodec::DivX3; }},
        {"AVI", "VideoCodec", "mpeg-4", [](S s) { return s.cbAviVideoCodec == AviCodec::FFMpeg4; }},
        {"AVI", "VideoCodec", "MP42", [](S s) { return s.cbAviVideoCodec == AviCodec::MsMpeg4V2; }},
        {"AVI", "VideoCodec", "WMV v1", [](S s) { return s.cbAviVideoCodec == AviCodec::Wmv1; }},
        {"AVI", "VideoCodec", "wmv", [](S s) { return s.cbAviVideoCodec == AviCodec::Wmv2; }},
        {"AVI", "VideoCodec", "jpg", [](S s) { return s.cbAviVideoCodec == AviCodec::MotionJpeg; }},
        {"AVI", "VideoCodec", "Huff-YUV",
            [](S s) { return s.cbAviVideoCodec == AviCodec::HuffYUV; }},
        {"AVI", "VideoCodec", "copy original video stream",
            [](S s) { return s.cbAviVideoCodec == AviCodec::Copy; }},
        {"avi", "videocodec", "COPY", [](S s) { return s.cbAviVideoCodec == AviCodec::Copy; }},
        {"AUDIO", "AudioCodec", "wav", [](S s) { return s.cbAudioCodec == AudioCodec::Pcm; }},
        {"AUDIO", "AudioCodec", "WMA", [](S s) { return s.cbAudioCodec == AudioCodec::Wma2; }},
        {"AUDIO", "AudioCodec", "wmav1", [](S s) { return s.cbAudioCodec == AudioCodec::Wma1; }},
        {"AUDIO", "AudioCodec", "AC-3", [](S s) { return s.cbAudioCodec == AudioCodec::Ac3; }},
        {"AUDIO", "AudioCodec", "4", [](S s) { return s.cbAudioCodec == AudioCodec::Aac; }},
        {"AUDIO", "AudioCodec", "9", [](S s) { return s.cbAudioCodec == AudioCodec::Auto; }},
        {"AUDIO", "AudioCodec", "Opus", [](S s) { return s.cbAudioCodec == AudioCodec::Auto; }},
        {"AUDIO", "AudioCodec", "Copy original audio stream",
            [](S s) { return s.cbAudioCodec == AudioCodec::Copy; }},
        {"AUDIO", "Volume", "500", [](S s) { return s.tbAudioVolume == 300; }},
        {"AUDIO", "Volume", "0", [](S s) { return s.tbAudioVolume == 1; }},
        {"AUDIO", "Volume", "-7", [](S s) { return s.tbAudioVolume == 1; }},
        {"AUDIO", "Volume", "loud", [](S s) { return s.tbAudioVolume == 100; }},
        {"AUDIO", "Volume", "150", [](S s) { return s.tbAudioVolume == 150; }},
        {"AUDIO", "AudioChannels", "4", [](S s) { return s.cbAudioChannels == -1; }},
        {"AUDIO", "AudioChannels", "3", [](S s) { return s.cbAudioChannels == 3; }},
        {"AUDIO", "AudioBitrate", "abc", [](S s) { return s.cbAudioBitrate == u"Auto"; }},
        {"AUDIO", "AudioSampling", "44100", [](S s) { return s.cbAudioSampling == u"44100"; }},
        {"AUDIO", "DoNotCopyAudio", "5", [](S s) { return s.chAudioDontCopy; }},
        {"AUDIO", "DoNotCopyAudio", "yes", [](S s) { return !s.chAudioDontCopy; }},
        {"ADVANCED", "SaturationValue", "0", [](S s) { return s.tbSaturation == 10; }},
        {"ADVANCED", "SaturationValue", "31", [](S s) { return s.tbSaturation == 10; }},
        {"ADVANCED", "SaturationValue", "30", [](S s) { return s.tbSaturation == 30; }},
        {"ADVANCED", "BrightnessValue", "21", [](S s) { return s.tbBrightness == 0; }},
        {"ADVANCED", "BrightnessValue", "-20", [](S s) { return s.tbBrightness == -20; }},
        {"ADVANCED", "Interlacing", "-1", [](S s) { return s.cbInterlacing == 0; }},
        {"ADVANCED", "Interlacing", "3", [](S s) { return s.cbInterlacing == 0; }},
        {"ADVANCED", "Interlacing", "2", [](S s) { return s.cbInterlacing == 2; }},
        {"ADVANCED", "ConvertColorsValue", "2", [](S s) { return s.cbConvertColors == 0; }},
        {"ADVANCED", "ConvertColorsValue", "1", [](S s) { return s.cbConvertColors == 1; }},
        {"ADVANCED", "RotateValue", "90", [](S s) { return s.cbRotate == u"90"; }},
        {"ADVANCED", "RotateValue", "-45", [](S s) { return s.cbRotate == u"-45"; }},
        {"ADVANCED", "RotateValue", "abc", [](S s) { return s.cbRotate == u"180"; }},
        {"ADVANCED", "ResWidth", "0", [](S s) { return s.spedResWidth == 2; }},
        {"ADVANCED", "ResHeight", "40000", [](S s) { return s.spedResHeight == 30000; }},
        {"ADVANCED", "CropTop", "6000", [](S s) { return s.spedCropTop == 5000; }},
        {"ADVANCED", "CropBottom", "6000", [](S s) { return s.spedCropBottom == 5000; }},
        {"ADVANCED", "CropRight", "5001", [](S s) { return s.spedCropRight == 5000; }},
        {"ADVANCED", "CropLeft", "-8", [](S s) { return s.spedCropLeft == 0; }},
        {"ADVANCED", "Resolution", "-5", [](S s) { return s.cbResolution == -1; }},
        {"ADVANCED", "Resolution", "40", [](S s) { return s.cbResolution == 40; }},
        {"ADVANCED", "VideoTag", "div3", [](S s) { return s.cbVideoTag == u"div3"; }},
        {"ADVANCED", "AdditionalParams", "-metadata title=&quot;A B&quot;",
            [](S s) { return s.meParams == u"-metadata title=\"A B\""; }},
        {"AVI", "VideoBitrate", "abc", [](S s) { return s.cbAviVideoBitrate == u"Auto"; }},
        {"AVI", "VideoBitrate", "", [](S s) { return s.cbAviVideoBitrate == u"Auto"; }},
        {"AVI", "VideoBitrate", "1500", [](S s) { return s.cbAviVideoBitrate == u"1500"; }},
        {"AVI", "VideoFPS", "", [](S s) { return s.cbAviVideoFPS == u"Auto"; }},
        {"AVI", "VideoFPS", "29,97", [](S s) { return s.cbAviVideoFPS == u"29,97"; }},
        {"AVI", "VideoFPS", "fast", [](S s) { return s.cbAviVideoFPS == u"fast"; }},
        {"AVI", "VideoAspect", "2,35", [](S s) { return s.cbAviVideoAspect == u"2,35"; }},
        {"AVI", "VideoAspect", "16/9", [](S s) { return s.cbAviVideoAspect == u"16/9"; }},
        {"AVI", "VideoAspect", "1.85", [](S s) { return s.cbAviVideoAspect == u"1.85"; }},
        {"AVI", "VideoAspect", "16:", [](S s) { return s.cbAviVideoAspect == u"Auto"; }},
        {"AVI", "VideoAspect", "1:2:3", [](S s) { return s.cbAviVideoAspect == u"Auto"; }},
        {"AVI", "VideoAspect", "wide", [](S s) { return s.cbAviVideoAspect == u"Auto"; }},
        {"AVI", "EncoderThreads", "x", [](S s) { return s.cbAviVideoThreads == u"Auto"; }},
        {"AVI", "EncoderThreads", "4", [](S s) { return s.cbAviVideoThreads == u"4"; }},
        {"AVI", "Video2Pass", "1", [](S s) { return s.chAviVideo2Pass; }},
        {"MPG", "VideoFormat", "7", [](S s) { return s.cbMpgVideo == -1; }},
        {"MPG", "VideoFormat", "0", [](S s) { return s.cbMpgVideo == 0; }},
        {"MPG", "VideoFormat", "junk", [](S s) { return s.cbMpgVideo == 2; }},
        {"MPG", "MPEGVersion", "1", [](S s) { return s.cbMpegVersion == 1; }},
        {"MPG", "VideoFPS", "25", [](S s) { return s.cbMpgVideoFPS == u"25"; }},
        {"MAIN", "OutputFormat", "mpg", [](S s) { return s.IsMpg(); }},
        {"MAIN", "OutputFormat", "MPEG", [](S s) { return !s.IsMpg(); }},
        {"MAIN", "DisplayName", "x", [](S s) { return s == defaults(); }},
    };
}

// Every correction, once through ApplyProfileKey and once through a file.
TEST(Profiles, LoadCorrectionsPerKey)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"key.ini"_s);
    const TAppStrings strings;
    for (const KeyCase &c : keyCases()) {
        const std::string title = std::string(c.section) + "." + c.key + "=" + c.value;
        EncodingSettings direct = defaults();
        ASSERT_TRUE(ApplyProfileKey(direct, QLatin1String(c.section), QLatin1String(c.key),
            QString::fromUtf8(c.value), strings, AviCodec::H264))
            << title;
        EXPECT_TRUE(c.check(direct)) << "applied: " << title;

        // The file holds the codecs too, so their fixed defaults stay out.
        ASSERT_TRUE(SaveProfile(path, defaults(), strings));
        IniFile ini(path);
        ini.load();
        ini.writeString(QLatin1String(c.section), QLatin1String(c.key), QString::fromUtf8(c.value));
        ASSERT_TRUE(ini.save());
        EncodingSettings loaded = defaults();
        ASSERT_TRUE(LoadProfile(path, loaded, strings, AviCodec::H264));
        EXPECT_TRUE(c.check(loaded)) << "loaded: " << title;
        EXPECT_TRUE(loaded == direct) << title;
    }
}

TEST(Profiles, ApplyProfileKeyTrimsCutsAndRejectsUnknownKeys)
{
    EncodingSettings s = defaults();
    const TAppStrings strings;
    EXPECT_FALSE(ApplyProfileKey(s, u"AVI"_s, u"Bitrate"_s, u"1"_s, strings, 0));
    EXPECT_FALSE(ApplyProfileKey(s, u"VIDEO"_s, u"VideoCodec"_s, u"1"_s, strings, 0));
    EXPECT_TRUE(s == defaults());
    EXPECT_TRUE(ApplyProfileKey(s, u" Audio "_s, u" volume "_s, u" 250 "_s, strings, 0));
    EXPECT_EQ(s.tbAudioVolume, 250);
    EXPECT_TRUE(ApplyProfileKey(
        s, u"ADVANCED"_s, u"AdditionalParams"_s, QString(5 * 1024 * 1024, u'x'), strings, 0));
    EXPECT_EQ(s.meParams.size(), IniFile::MaxValueLength);
}

TEST(Profiles, MissingKeysAndFiles)
{
    QTemporaryDir dir;
    const TAppStrings strings;
    EncodingSettings s = defaults();
    s.cbAviVideoCodec = AviCodec::Wmv2;
    s.cbAudioCodec = AudioCodec::Mp2;
    s.cbAviVideoBitrate = u"1500"_s;
    s.cbMpgVideoBitrate = u"fast"_s;
    s.meParams = u"-a 1\n-b 2"_s;
    s.tbAudioVolume = 77;

    const EncodingSettings before = s;
    EXPECT_FALSE(LoadProfile(dir.filePath(u"none.ini"_s), s, strings, AviCodec::H264));
    EXPECT_TRUE(s == before);

    // An empty file: the codecs take their fixed defaults, every other key
    // its current value, corrected.
    const QString empty = dir.filePath(u"empty.ini"_s);
    ASSERT_TRUE(WriteFile(empty, {}));
    ASSERT_TRUE(LoadProfile(empty, s, strings, AviCodec::H264));
    EXPECT_EQ(s.cbAviVideoCodec, AviCodec::Xvid);
    EXPECT_EQ(s.cbAudioCodec, AudioCodec::Auto);
    EXPECT_EQ(s.cbAviVideoBitrate, u"1500"_s);
    EXPECT_EQ(s.cbMpgVideoBitrate, u"Auto"_s);
    EXPECT_EQ(s.meParams, u"-a 1\n-b 2"_s);
    EXPECT_EQ(s.tbAudioVolume, 77);
}

TEST(Profiles, MalformedFilesLoadWithFallbacks)
{
    QTemporaryDir dir;
    const TAppStrings strings;
    const QString path = dir.filePath(u"bad.ini"_s);

    QByteArray huge = "[ADVANCED]\nAdditionalParams=";
    huge += QByteArray(5 * 1024 * 1024, 'y');
    huge += "\nVolume=3\n[AUDIO]\nVolume=99999999999999999999\n";
    ASSERT_TRUE(WriteFile(path, huge));
    EncodingSettings s = defaults();
    ASSERT_TRUE(LoadProfile(path, s, strings, AviCodec::Xvid));
    EXPECT_EQ(s.meParams.size(), IniFile::MaxValueLength);
    EXPECT_EQ(s.tbAudioVolume, 100);

    ASSERT_TRUE(WriteFile(path,
        "[AVI]\nVideoCodec\nVideoBitrate==12\n=5\n[MPG\nVideoFormat=1\n"
        "[ADVANCED]]\nCropTop=0x10\nSaturationValue=1.5\n"));
    s = defaults();
    ASSERT_TRUE(LoadProfile(path, s, strings, AviCodec::Xvid));
    EXPECT_EQ(s.cbAviVideoCodec, AviCodec::Xvid);
    EXPECT_EQ(s.cbAviVideoBitrate, u"Auto"_s);
    EXPECT_EQ(s.cbMpgVideo, MpgVideo::Custom);

    // Binary junk: any bytes, NULs and broken UTF-8 included.
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        QByteArray junk;
        const int size = std::uniform_int_distribution<int>(0, 4000)(rng);
        for (int i = 0; i < size; ++i)
            junk += char(std::uniform_int_distribution<int>(0, 255)(rng));
        if (round % 2)
            junk.prepend("[AUDIO]\nVolume=");
        ASSERT_TRUE(WriteFile(path, junk));
        s = defaults();
        ASSERT_TRUE(LoadProfile(path, s, strings, AviCodec::Xvid));
        EXPECT_GE(s.tbAudioVolume, 1);
        EXPECT_LE(s.tbAudioVolume, 300);
        EXPECT_GE(s.tbSaturation, 1);
        EXPECT_LE(s.tbSaturation, 30);
        EXPECT_GE(s.cbInterlacing, 0);
        EXPECT_LE(s.cbInterlacing, 2);
    }
}

TEST(Profiles, CodecNamesWithTranslatedCopyEntries)
{
    TAppStrings strings;
    strings.Main.cbAviVideoCodec_Copy = u"Videostrom kopieren"_s;
    strings.Main.cbAudioCodec_Copy = u"Audiostrom kopieren"_s;
    EXPECT_EQ(AviVideoCodecFromProfileName(u"videostrom KOPIEREN"_s, strings), AviCodec::Copy);
    EXPECT_EQ(AviVideoCodecFromProfileName(u"Copy original video stream"_s, strings), -1);
    EXPECT_EQ(AudioCodecFromProfileName(u"Audiostrom kopieren"_s, strings), AudioCodec::Copy);
    EXPECT_EQ(AudioCodecFromProfileName(u"copy"_s, strings), AudioCodec::Copy);
}

TEST(Profiles, ColorTexts)
{
    // Stored as 0x00BBGGRR.
    const std::pair<const char *, uint32_t> valid[] = {{"#FF0000", 0x0000FF}, {"#00ff00", 0x00FF00},
        {"#0000FF", 0xFF0000}, {"#abc", 0xCCBBAA}, {"255,0,0", 0x0000FF}, {"0 128 255", 0xFF8000},
        {"rgb(1, 2, 3)", 0x030201}, {"RGB(1,2,3)", 0x030201}, {"(10,20,30)", 0x1E140A},
        {"$0000FF", 0x0000FF}, {"0xFF0000", 0xFF0000}, {"FF8800", 0xFF8800}, {"255", 0x000255},
        {" #FFFFFF ", 0xFFFFFF}, {"0", 0}};
    for (const auto &[text, expected] : valid) {
        uint32_t color = 0x123456;
        EXPECT_TRUE(ParseColorText(QString::fromLatin1(text), color)) << text;
        EXPECT_EQ(color, expected) << text;
    }
    for (const char *text : {"", "#FFFF", "#GGGGGG", "256,0,0", "1,2", "1,2,3,4", "red", "$1000000",
             "0x", "rgb(a,b,c)", "-1,0,0"}) {
        uint32_t color = 0x123456;
        EXPECT_FALSE(ParseColorText(QString::fromLatin1(text), color)) << text;
        EXPECT_EQ(color, 0x123456u) << text;
    }
}

TEST(Profiles, EntryColorsAreCorrectedWhenUnreadable)
{
    const struct
    {
        uint32_t bg, font;
        ProfileEntryColors expected;
    } cases[] = {
        {0xFFFFFF, 0xFFFFFF, {true, 0xF0F0F0, 0x000000}}, // no colours named
        {0x123456, 0x123456, {false, 0x333333, 0xE6E6E6}},
        {0x000000, 0x000000, {false, 0x333333, 0xE6E6E6}},
        {0x0000FF, 0xFFFFFF, {false, 0x0000FF, 0xFFFFFF}},
        {0xFFFFFF, 0x000000, {false, 0xFFFFFF, 0x000000}},
    };
    for (const auto &c : cases) {
        TProfileInfo info;
        info.BgColor = c.bg;
        info.FontColor = c.font;
        const ProfileEntryColors colors = ProfileEntryColorsOf(info);
        EXPECT_EQ(colors.Plain, c.expected.Plain) << std::hex << c.bg << " on " << c.font;
        EXPECT_EQ(colors.BgColor, c.expected.BgColor) << std::hex << c.bg;
        EXPECT_EQ(colors.FontColor, c.expected.FontColor) << std::hex << c.font;
    }
}

TEST(Profiles, DisplayNames)
{
    const std::pair<const char *, const char *> names[] = {
        {"", "fast.x264"},
        {"My profile", "My profile"},
        {"Fast [clb=#FF0000]", "Fast"},
        {"Fast[CLF=$00FF00] and more", "Fast"},
        {"A [clf=1,2,3][clb=#fff]", "A"},
        {"[clb=#FF0000]", "fast.x264"},
        {"  padded  ", "padded"},
    };
    for (const auto &[key, shown] : names)
        EXPECT_EQ(ProfileDisplayName(QString::fromUtf8(key), u"/p/fast.x264.ini"_s),
            QString::fromUtf8(shown))
            << key;
    EXPECT_EQ(ExpandDisplayEscapes(u"Line 1\\nLine 2\\tTab\\x\\"_s), u"Line 1\nLine 2\tTab\\x\\"_s);
}

void writeProfile(const QString &path, const QByteArray &mainKeys)
{
    ASSERT_TRUE(WriteFile(path, "[MAIN]\nAppName=Quillon\nAppVer=1.10\n" + mainKeys));
}

TEST(Profiles, ProfileListIsSortedAndFiltered)
{
    QTemporaryDir dir;
    const QString profiles = dir.path();
    writeProfile(profiles + u"/a.ini"_s, "SortIndex=2\nDisplayName=Alpha\\nHD\n");
    writeProfile(profiles + u"/b.ini"_s, "SortIndex=1\nBgColor=#000000\nFontColor=junk\n");
    writeProfile(profiles + u"/c.ini"_s, "");
    writeProfile(profiles + u"/D.INI"_s, "SortIndex=1.5\n");
    writeProfile(profiles + u"/e.ini"_s, "SortIndex=1,5\n");
    writeProfile(profiles + u"/__Last.ini"_s, "");
    writeProfile(profiles + u"/notes.txt"_s, "");
    ASSERT_TRUE(WriteFile(profiles + u"/other.ini"_s, "[MAIN]\nAppName=Other\nAppVer=1.10\n"));
    ASSERT_TRUE(WriteFile(profiles + u"/old.ini"_s, "[MAIN]\nAppName=quillon\nAppVer=1.0\n"));
    ASSERT_TRUE(QDir(profiles).mkpath(u"sub"_s));
    writeProfile(profiles + u"/sub/f.ini"_s, "");

    const QList<TProfileInfo> list = GetProfiles(profiles, profiles + u"/__Last.ini"_s);
    QStringList order;
    for (const TProfileInfo &p : list)
        order << p.ShortFileName;
    EXPECT_EQ(order.join(u','), u"c.ini,b.ini,D.INI,e.ini,a.ini"_s);
    EXPECT_EQ(list.at(0).SortIndex, -1);
    EXPECT_EQ(list.at(0).DisplayName, u"c"_s);
    EXPECT_EQ(list.at(1).BgColor, 0u);
    EXPECT_EQ(list.at(1).FontColor, 0xFFFFFFu);

    const QStringList items = ProfileListItems(list, TAppStrings());
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items.at(0), u"The last session settings"_s);
    EXPECT_EQ(items.at(1), u"Encoder default settings"_s);
    EXPECT_EQ(items.at(6), u"Alpha\nHD"_s);

    EXPECT_EQ(ProfileFileForEntry(0, list, profiles, u"/x/__Last.ini"_s), u"/x/__Last.ini"_s);
    EXPECT_TRUE(ProfileFileForEntry(1, list, profiles, {}).isEmpty());
    EXPECT_EQ(ProfileFileForEntry(3, list, profiles, {}), profiles + u"/b.ini"_s);
    EXPECT_EQ(ProfileFileForEntry(99, list, profiles, {}), profiles + u"/c.ini"_s);
    EXPECT_TRUE(ProfileFileForEntry(2, {}, profiles, {}).isEmpty());

    EXPECT_EQ(ProfileEntryAfterSave(list, u"/anywhere/d.ini"_s), 4);
    EXPECT_EQ(ProfileEntryAfterSave(list, u"/anywhere/zzz.ini"_s), 0);
}

TEST(Profiles, AddProfileChecksTheProgram)
{
    QTemporaryDir dir;
    QList<TProfileInfo> list;
    EXPECT_FALSE(AP_AddProfile(dir.filePath(u"missing.ini"_s), list));
    const QString path = dir.filePath(u"mine.ini"_s);
    ASSERT_TRUE(WriteFile(path, "[main]\nappname= QUILLON \nappver=1.10\n"));
    EXPECT_TRUE(AP_AddProfile(path, list));
    ASSERT_TRUE(WriteFile(path, "[MAIN]\nAppName=Quillon\n"));
    EXPECT_FALSE(AP_AddProfile(path, list));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.at(0).ShortFileName, u"mine.ini"_s);
    EXPECT_EQ(list.at(0).DisplayName, u"mine"_s);
}

TEST(Profiles, SavedFileInProfilesFolder)
{
    QTemporaryDir dir;
    const QString profiles = dir.filePath(u"profiles"_s);
    ASSERT_TRUE(QDir().mkpath(profiles));
    ASSERT_TRUE(QFile::link(profiles, dir.filePath(u"link"_s)));
    EXPECT_TRUE(IsInProfilesDir(profiles + u"/x.ini"_s, profiles));
    EXPECT_TRUE(IsInProfilesDir(profiles + u"/x.ini"_s, profiles + u"/"_s));
    EXPECT_TRUE(IsInProfilesDir(dir.filePath(u"link/x.ini"_s), profiles));
    EXPECT_FALSE(IsInProfilesDir(dir.filePath(u"x.ini"_s), profiles));
    EXPECT_FALSE(IsInProfilesDir(profiles + u"/sub/x.ini"_s, profiles));
}

} // namespace

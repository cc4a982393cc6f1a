#include "app/AppParams.h"
#include "app/AppInfo.h"
#include "app/ProgramDir.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ProgramDirPaths, Normalisation)
{
    const struct
    {
        QString in, normalised, parent;
    } cases[] = {
        {u"/opt/q"_s, u"/opt/q"_s, u"/opt"_s},
        {u"/opt/q/"_s, u"/opt/q"_s, u"/opt"_s},
        {u"/opt/q/."_s, u"/opt/q"_s, u"/opt"_s},
        // A folder whose own name ends in a dot is a different folder on Linux.
        {u"/opt/v1."_s, u"/opt/v1."_s, u"/opt"_s},
        {u"/q"_s, u"/q"_s, u""_s},
        {u"/"_s, u""_s, u""_s},
        {u"q"_s, u"q"_s, u"q"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(NormalizeDirPath(c.in), c.normalised) << c.in.toStdString();
        EXPECT_EQ(ParentDirPath(c.in), c.parent) << c.in.toStdString();
    }
    EXPECT_EQ(JoinPath(ParentDirPath(u"/q"_s), u"_common"_s), u"/_common"_s);
    SetProgramDir(u"/opt/q/."_s);
    EXPECT_EQ(ProgramDir(), u"/opt/q"_s);
}

TEST(AppParamsDefaults, PortableLayoutColoursAndFlags)
{
    const TAppParams p = DefaultAppParams(u"/opt/q/"_s);
    EXPECT_EQ(p.ffmpeg, u"/opt/q/tools/FFmpeg/ffmpeg"_s);
    EXPECT_EQ(p.MediaInfoDll, u"/opt/q/tools/MediaInfo/libmediainfo.so.0"_s);
    EXPECT_EQ(p.IniName, u"/opt/q/quillon.ini"_s);
    EXPECT_EQ(p.FourccTagsFile, u"/opt/q/data/fourcc_video_tags.txt"_s);
    EXPECT_EQ(p.AudioBitratesTxt, u"/opt/q/data/audio_bitrates.txt"_s);
    EXPECT_EQ(p.ResolutionTxt, u"/opt/q/data/resolutions.txt"_s);
    EXPECT_EQ(p.LastProfileFile, u"/opt/q/profiles/__Last.ini"_s);
    EXPECT_EQ(p.LangDir, u"/opt/q/lang"_s);
    EXPECT_TRUE(p.LogDir.isEmpty());
    EXPECT_TRUE(p.LanguageIni.isEmpty());
    // Lowest byte red: 31/108/224 and 226/53/29.
    EXPECT_EQ(p.ColorOK & 0xFF, 31u);
    EXPECT_EQ(p.ColorOK >> 16, 224u);
    EXPECT_EQ(p.ColorError, 0x001D35E2u);
    EXPECT_TRUE(p.DragAcceptDirectories && p.OpenFileAfterIconClick && p.ScrollProgressToBottom);
    EXPECT_FALSE(p.KeepFileDates || p.EscExit);
    EXPECT_EQ(p.FileAnalysis, faFull);
    EXPECT_EQ(MinAutoAudioBitrate(), 96);
}

TEST(AppParamsDefaults, WebSiteAndMonospaceFont)
{
    TAppParams p;
    EXPECT_EQ(WebSiteUrl(p), QLatin1String(AppInfo::DefaultWebSite));
    p.WebSite = u"  "_s;
    EXPECT_EQ(WebSiteUrl(p), QLatin1String(AppInfo::DefaultWebSite));
    p.WebSite = u"https://mirror.example/q"_s;
    EXPECT_EQ(WebSiteUrl(p), u"https://mirror.example/q"_s);

    EXPECT_EQ(ChooseMonospaceFont({u"consolas"_s, u"Roboto Mono"_s}).Name, u"Roboto Mono"_s);
    EXPECT_EQ(ChooseMonospaceFont({u"Consolas"_s}).Size, 10);
    EXPECT_EQ(ChooseMonospaceFont({u"Courier New"_s}).Size, 9);
    EXPECT_TRUE(ChooseMonospaceFont({u"DejaVu Sans Mono"_s}).Name.isEmpty());
}

} // namespace

#include "app/AppParams.h"
#include "app/ProgramDir.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ProgramDirPaths, Normalisation)
{
    // clang-format off
    const struct { const char *in, *normalised, *parent; } cases[] = {
        {"/opt/q", "/opt/q", "/opt"}, {"/opt/q/", "/opt/q", "/opt"}, {"/opt/q/.", "/opt/q", "/opt"},
        // A folder whose own name ends in a dot is a different folder on Linux.
        {"/opt/v1.", "/opt/v1.", "/opt"}, {"/q", "/q", ""}, {"/", "", ""}, {"q", "q", "q"},
    };
    // clang-format on
    for (const auto &c : cases) {
        EXPECT_EQ(NormalizeDirPath(QLatin1String(c.in)), QLatin1String(c.normalised)) << c.in;
        EXPECT_EQ(ParentDirPath(QLatin1String(c.in)), QLatin1String(c.parent)) << c.in;
    }
    EXPECT_EQ(JoinPath(ParentDirPath("/q"), "_common"), "/_common");
    SetProgramDir("/opt/q/.");
    EXPECT_EQ(ProgramDir(), "/opt/q");
}

TEST(AppParamsDefaults, PortableLayoutColoursAndFlags)
{
    QTemporaryDir tmp;
    const QString q = QDir(tmp.path()).canonicalPath();
    ASSERT_TRUE(QDir().mkpath(q + "/data"));
    const TAppParams p = DefaultAppParams(q + "/");
    EXPECT_EQ(p.ffmpeg, q + "/tools/FFmpeg/ffmpeg");
    EXPECT_EQ(p.MediaInfoDll, q + "/tools/MediaInfo/libmediainfo.so.0");
    EXPECT_EQ(p.IniName, q + "/quillon.ini");
    EXPECT_EQ(p.FourccTagsFile, q + "/data/fourcc_video_tags.txt");
    EXPECT_EQ(p.LastProfileFile, q + "/profiles/__Last.ini");
    EXPECT_TRUE(p.LogDir.isEmpty() && p.LanguageIni.isEmpty());
    // Lowest byte red: 31/108/224 and 226/53/29.
    EXPECT_EQ(p.ColorOK & 0xFF, 31u);
    EXPECT_EQ(p.ColorOK >> 16, 224u);
    EXPECT_EQ(p.ColorError & 0xFF, 226u);
    EXPECT_TRUE(p.DragAcceptDirectories && p.OpenFileAfterIconClick && p.ScrollProgressToBottom);
    EXPECT_FALSE(p.KeepFileDates || p.EscExit);
    EXPECT_EQ(p.FileAnalysis, faFull);
}

TEST(AppParamsDefaults, InstalledHasNoToolsFolder)
{
    QTemporaryDir tmp;
    const QString bin = QDir(tmp.path()).canonicalPath() + "/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    const TAppParams p = DefaultAppParams(bin);
    // Not "/FFmpeg/ffmpeg" at the root: the tools come from the keys and the system.
    EXPECT_EQ(p.ToolsDir, QString());
    EXPECT_EQ(p.ffmpeg, QString());
    EXPECT_EQ(p.MediaInfoDll, QString());
    EXPECT_EQ(
        p.ResolutionTxt, QDir(tmp.path()).canonicalPath() + "/share/quillon/data/resolutions.txt");
    EXPECT_FALSE(p.IniName.startsWith(bin));
}

TEST(AppParamsDefaults, MonospaceFontIsTheFirstInstalledCandidate)
{
    EXPECT_EQ(ChooseMonospaceFont({"consolas", "Roboto Mono"}).Name, "Roboto Mono");
    EXPECT_EQ(ChooseMonospaceFont({"Consolas"}).Size, 10);
    EXPECT_TRUE(ChooseMonospaceFont({"DejaVu Sans Mono"}).Name.isEmpty());
}

} // namespace

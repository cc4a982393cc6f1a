#include "settings/ToolKeys.h"
#include "app/AppInfo.h"
#include "app/ProgramDir.h"
#include "settings/IniFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::WriteFile;

namespace {

// A program at <tmp>/Q with its own tools, run from <tmp>/cwd, with no
// system installation to fall back on.
class ToolKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_root = QDir(m_tmp.path()).canonicalPath();
        m_program = m_root + u"/Q"_s;
        ASSERT_TRUE(WriteFile(m_program + u"/tools/FFmpeg/ffmpeg"_s, "x"));
        ASSERT_TRUE(WriteFile(m_program + u"/tools/MediaInfo/libmediainfo.so.0"_s, "x"));
        ASSERT_TRUE(QDir().mkpath(m_root + u"/cwd"_s));
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_root + u"/cwd"_s));
        m_lookup = {m_program, QStringList{}, QStringList{}};
        m_params = DefaultAppParams(m_program);
        ResolveFFmpegPath(m_params, m_lookup);
        ResolveMediaInfoPath(m_params, m_lookup);
    }
    void TearDown() override { QDir::setCurrent(m_previousDir); }

    void apply(const char *mainKeys)
    {
        IniFile ini;
        ini.loadFromBytes(QByteArray("[MAIN]\n") + mainKeys);
        ApplyToolKeys(m_params, ini, m_lookup);
    }

    QTemporaryDir m_tmp;
    QString m_root;
    QString m_program;
    QString m_previousDir;
    TToolLookup m_lookup;
    TAppParams m_params;
};

TEST_F(ToolKeys, MissingKeysKeepTheResolvedTools)
{
    const TAppParams before = m_params;
    m_params.EscExit = true;
    apply("Left=3\n");
    EXPECT_FALSE(m_params.EscExit); // the key's default, not the current value
    EXPECT_EQ(m_params.ffmpeg, before.ffmpeg);
    EXPECT_EQ(m_params.MediaInfoDll, before.MediaInfoDll);
    EXPECT_EQ(m_params.ToolsDir, before.ToolsDir);
    EXPECT_EQ(WebSiteUrl(m_params), QLatin1String(AppInfo::DefaultWebSite));
}

TEST_F(ToolKeys, EscExitIsReadAsAnInteger)
{
    const struct
    {
        const char *keys;
        bool expected;
    } cases[] = {{"EscExit=1\n", true}, {"escexit=-1\n", true}, {"EscExit=0\n", false},
        {"EscExit=yes\n", false}, {"EscExit=0x10\n", true}};
    for (const auto &c : cases) {
        apply(c.keys);
        EXPECT_EQ(m_params.EscExit, c.expected) << c.keys;
    }
}

TEST_F(ToolKeys, MediaInfoDllIsExpandedOrLookedUpAgain)
{
    ASSERT_TRUE(WriteFile(m_root + u"/cwd/lib/mi.so"_s, "x"));
    apply("MediaInfoDll=lib/../lib/mi.so\n");
    EXPECT_EQ(m_params.MediaInfoDll, m_root + u"/cwd/lib/mi.so"_s);

    apply("MediaInfoDll=/nowhere/mi.so\n");
    EXPECT_EQ(m_params.MediaInfoDll, m_program + u"/tools/MediaInfo/libmediainfo.so.0"_s);

    QFile::remove(m_program + u"/tools/MediaInfo/libmediainfo.so.0"_s);
    apply("MediaInfoDll=\n");
    EXPECT_TRUE(m_params.MediaInfoDll.isEmpty());
}

TEST_F(ToolKeys, ToolsDirIsTakenOnlyWhenTheFolderExists)
{
    ASSERT_TRUE(QDir().mkpath(m_root + u"/cwd/mytools"_s));
    apply("ToolsDir=mytools/.\n");
    EXPECT_EQ(m_params.ToolsDir, m_root + u"/cwd/mytools"_s);
    apply("ToolsDir=/no/such/folder\n");
    EXPECT_EQ(m_params.ToolsDir, m_root + u"/cwd/mytools"_s);
    apply("ToolsDir=\n");
    EXPECT_EQ(m_params.ToolsDir, m_root + u"/cwd/mytools"_s);
}

TEST_F(ToolKeys, FFmpegKeyFallsBackToThePlainNameThenTheLookup)
{
    ASSERT_TRUE(WriteFile(m_root + u"/cwd/enc/ff"_s, "x"));
    apply("ffmpeg=enc/ff\n");
    EXPECT_EQ(m_params.ffmpeg, m_root + u"/cwd/enc/ff"_s);

    // No such file and no "ffmpeg" in the current folder: the lookup runs,
    // in the tools folder a ToolsDir key (applied first) has just set.
    ASSERT_TRUE(WriteFile(m_root + u"/other/FFmpeg/ffmpeg"_s, "x"));
    apply(QStringLiteral("ToolsDir=%1\nffmpeg=missing\n")
              .arg(m_root + u"/other"_s)
              .toUtf8()
              .constData());
    EXPECT_EQ(m_params.ffmpeg, m_root + u"/other/FFmpeg/ffmpeg"_s);

    ASSERT_TRUE(WriteFile(m_root + u"/cwd/ffmpeg"_s, "x"));
    apply("ffmpeg=missing\n");
    EXPECT_EQ(m_params.ffmpeg, m_root + u"/cwd/ffmpeg"_s);

    QFile::remove(m_root + u"/cwd/ffmpeg"_s);
    QFile::remove(m_root + u"/other/FFmpeg/ffmpeg"_s);
    apply("ffmpeg=missing\n");
    EXPECT_TRUE(m_params.ffmpeg.isEmpty());
}

TEST_F(ToolKeys, WebSiteOverridesTheBuiltInAddress)
{
    apply("WebSite=https://mirror.example/quillon\n");
    EXPECT_EQ(WebSiteUrl(m_params), u"https://mirror.example/quillon"_s);
}

} // namespace

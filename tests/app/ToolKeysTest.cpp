#include "app/ToolKeys.h"
#include "app/AppInfo.h"
#include "app/IniFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::WriteFile;

namespace {

// A portable program at <tmp>/Q with its own tools, run from <tmp>/cwd, with no
// system installation to fall back on.
class ToolKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_root = QDir(m_tmp.path()).canonicalPath();
        ASSERT_TRUE(WriteFile(path("Q/tools/FFmpeg/ffmpeg"), "x"));
        ASSERT_TRUE(WriteFile(path("Q/tools/MediaInfo/libmediainfo.so.0"), "x"));
        ASSERT_TRUE(QDir().mkpath(path("cwd")));
        ASSERT_TRUE(QDir().mkpath(path("Q/data"))); // portable
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(path("cwd")));
        m_lookup = {path("Q"), QStringList{}, QStringList{}};
        m_params = DefaultAppParams(path("Q"));
        ResolveFFmpegPath(m_params, m_lookup);
        ResolveMediaInfoPath(m_params, m_lookup);
    }
    void TearDown() override { QDir::setCurrent(m_previousDir); }

    QString path(const char *rel) const { return m_root + u'/' + QLatin1String(rel); }
    void apply(const QString &mainKeys)
    {
        IniFile ini;
        ini.loadFromBytes("[MAIN]\n" + mainKeys.toUtf8());
        ApplyToolKeys(m_params, ini, m_lookup);
    }

    QTemporaryDir m_tmp;
    QString m_root;
    QString m_previousDir;
    ToolLookup m_lookup;
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
    EXPECT_EQ(WebSiteUrl(m_params), BuiltInWebSite());

    apply("EscExit=0x10\nWebSite=https://mirror.example/q\n");
    EXPECT_TRUE(m_params.EscExit);
    EXPECT_EQ(WebSiteUrl(m_params), "https://mirror.example/q");
    apply("EscExit=yes\n");
    EXPECT_FALSE(m_params.EscExit);
}

TEST_F(ToolKeys, MediaInfoDllIsExpandedOrLookedUpAgain)
{
    ASSERT_TRUE(WriteFile(path("cwd/lib/mi.so"), "x"));
    apply("MediaInfoDll=lib/../lib/mi.so\n");
    EXPECT_EQ(m_params.MediaInfoDll, path("cwd/lib/mi.so"));

    apply("MediaInfoDll=/nowhere/mi.so\n");
    EXPECT_EQ(m_params.MediaInfoDll, path("Q/tools/MediaInfo/libmediainfo.so.0"));

    QFile::remove(path("Q/tools/MediaInfo/libmediainfo.so.0"));
    apply("MediaInfoDll=\n");
    EXPECT_TRUE(m_params.MediaInfoDll.isEmpty());
}

TEST_F(ToolKeys, ToolsDirIsTakenOnlyWhenTheFolderExists)
{
    ASSERT_TRUE(QDir().mkpath(path("cwd/mytools")));
    for (const char *keys : {"ToolsDir=mytools/.\n", "ToolsDir=/no/such/folder\n", "ToolsDir=\n"}) {
        apply(QLatin1String(keys));
        EXPECT_EQ(m_params.ToolsDir, path("cwd/mytools")) << keys;
    }
}

TEST_F(ToolKeys, FFmpegKeyNamingNoFileRunsTheLookup)
{
    ASSERT_TRUE(WriteFile(path("cwd/enc/ff"), "x"));
    apply("ffmpeg=enc/ff\n");
    EXPECT_EQ(m_params.ffmpeg, path("cwd/enc/ff"));

    // No such file: the lookup runs, in the tools folder a ToolsDir key
    // (applied first) has just set. An "ffmpeg" lying in the current folder
    // is never picked up on the way.
    ASSERT_TRUE(WriteFile(path("other/FFmpeg/ffmpeg"), "x"));
    ASSERT_TRUE(WriteFile(path("cwd/ffmpeg"), "x"));
    apply("ToolsDir=" + path("other") + "\nffmpeg=missing\n");
    EXPECT_EQ(m_params.ffmpeg, path("other/FFmpeg/ffmpeg"));

    QFile::remove(path("other/FFmpeg/ffmpeg"));
    apply("ffmpeg=missing\n");
    EXPECT_TRUE(m_params.ffmpeg.isEmpty());
}

} // namespace

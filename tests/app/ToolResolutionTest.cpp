#include "app/ToolResolution.h"
#include "app/ProgramDir.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::WriteFile;

namespace {

// A program folder <tmp>/Apps/Q with nothing beside it and no system
// installation; tests add the shared folders they need under <tmp>/Apps.
class ToolResolution : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_tmpPath = QDir(m_tmp.path()).canonicalPath();
        ASSERT_TRUE(QDir().mkpath(apps("Q/data"))); // portable
        m_params = DefaultAppParams(apps("Q"));
        m_lookup = {apps("Q"), QStringList{}, QStringList{}};
    }

    QString tmp(const char *rel) const { return m_tmpPath + u'/' + QLatin1String(rel); }
    QString apps(const char *rel) const { return tmp("Apps/") + QLatin1String(rel); }

    static void writeVer(const QString &dir, const char *tool, const char *bits, const char *ver,
        const char *fileName = "ffmpeg.ver")
    {
        const QString text = QStringLiteral("; description\n[MAIN]\ntool = %1\nbits=%2\nver=%3\n")
                                 .arg(QLatin1String(tool), QLatin1String(bits), QLatin1String(ver));
        ASSERT_TRUE(WriteFile(dir + u'/' + QLatin1String(fileName), text.toUtf8()));
    }
    // A matching FFmpeg description in dir, with or without the program.
    static void ffmpegCopy(const QString &dir, bool withProgram = true)
    {
        writeVer(dir, "FFmpeg", "64", "N-100681-g0bee216ad4");
        if (withProgram) {
            ASSERT_TRUE(WriteFile(dir + QStringLiteral("/ffmpeg"), "x"));
        }
    }
    QString resolveFFmpeg() { return ResolveFFmpegPath(m_params, m_lookup); }

    QTemporaryDir m_tmp;
    QString m_tmpPath;
    TAppParams m_params;
    ToolLookup m_lookup;
};

TEST_F(ToolResolution, CurrentValueThenToolsFolderElseEmpty)
{
    m_params.ffmpeg = apps("Q"); // a folder is not a program
    EXPECT_EQ(resolveFFmpeg(), QString());
    EXPECT_TRUE(m_params.ffmpeg.isEmpty());
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup), QString());

    ASSERT_TRUE(WriteFile(apps("Q/tools/FFmpeg/ffmpeg"), "x"));
    ASSERT_TRUE(WriteFile(apps("Q/tools/MediaInfo/libmediainfo.so.0"), "x"));
    EXPECT_EQ(resolveFFmpeg(), apps("Q/tools/FFmpeg/ffmpeg"));
    EXPECT_EQ(m_params.ffmpeg, apps("Q/tools/FFmpeg/ffmpeg"));
    EXPECT_EQ(
        ResolveMediaInfoPath(m_params, m_lookup), apps("Q/tools/MediaInfo/libmediainfo.so.0"));

    // A relative value is taken against the current folder.
    ASSERT_TRUE(WriteFile(tmp("mine/ffmpeg"), "x"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_tmpPath));
    m_params.ffmpeg = QStringLiteral("mine/./ffmpeg");
    const QString resolved = resolveFFmpeg();
    QDir::setCurrent(previous);
    EXPECT_EQ(resolved, tmp("mine/ffmpeg"));
}

TEST_F(ToolResolution, SharedCopyMatchesWithoutRegardToCase)
{
    writeVer(apps("_common/ffmpeg/64"), "ffmpeg", "64", "n-100681-G0BEE216AD4", "FFMPEG.VER");
    ASSERT_TRUE(WriteFile(apps("_common/ffmpeg/64/ffmpeg"), "x"));
    EXPECT_EQ(resolveFFmpeg(), apps("_common/ffmpeg/64/ffmpeg"));

    writeVer(apps("_common/mi"), "MediaInfo", "64", "20.09.0.0", "mediainfo.ver");
    ASSERT_TRUE(WriteFile(apps("_common/mi/libmediainfo.so.0"), "x"));
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup), apps("_common/mi/libmediainfo.so.0"));
}

TEST_F(ToolResolution, SharedCopyIsSearchedForThePortableLayoutOnly)
{
    ffmpegCopy(apps("_common/ffmpeg"));
    const QString previous = ProgramDir();
    SetProgramDir(apps("Q"));
    EXPECT_EQ(DefaultToolLookup().ProgramDir, apps("Q"));
    EXPECT_EQ(ResolveFFmpegPath(m_params), apps("_common/ffmpeg/ffmpeg"));

    // Installed (nothing of ours beside the program): in /usr/bin the search
    // would walk all of /usr.
    ASSERT_TRUE(QDir(apps("Q/data")).removeRecursively());
    EXPECT_EQ(DefaultToolLookup().ProgramDir, QString());
    m_params.ffmpeg.clear();
    EXPECT_NE(ResolveFFmpegPath(m_params), apps("_common/ffmpeg/ffmpeg"));
    SetProgramDir(previous);
}

TEST_F(ToolResolution, DescriptionsThatDoNotMatchAreSkipped)
{
    writeVer(apps("_common/a"), "FFmpeg", "64", "N-99999-gdeadbeef");
    writeVer(apps("_common/b"), "FFmpeg", "32", "N-100681-g0bee216ad4");
    writeVer(apps("_common/c"), "MediaInfo", "64", "N-100681-g0bee216ad4");
    ASSERT_TRUE(WriteFile(apps("_common/d/ffmpeg.ver"),
        "[X]\ntool=FFmpeg\nbits=64\n"
        "ver=N-100681-g0bee216ad4\n"));
    for (const char *d :
        {"_common/a/ffmpeg", "_common/b/ffmpeg", "_common/c/ffmpeg", "_common/d/ffmpeg"})
        ASSERT_TRUE(WriteFile(apps(d), "x"));
    ffmpegCopy(apps("_common/e"));
    EXPECT_EQ(SearchToolRoot(apps("_common"), FFmpegToolDescriptor()), apps("_common/e/ffmpeg"));
}

TEST_F(ToolResolution, FirstMatchWithoutProgramEndsTheRootButNotTheSearch)
{
    ffmpegCopy(apps("_common/a"), false);
    ffmpegCopy(apps("_common/b")); // later in the same root: never looked at
    EXPECT_EQ(resolveFFmpeg(), QString());

    // The parent is searched after _common. It holds _common again, and
    // "_common/a" sorts before "shared", so that copy is never reached...
    ffmpegCopy(apps("shared"));
    EXPECT_EQ(resolveFFmpeg(), QString());
    // ...but one in the parent folder itself comes first.
    ffmpegCopy(apps(""));
    EXPECT_EQ(resolveFFmpeg(), apps("ffmpeg"));
}

TEST_F(ToolResolution, FoldersAreSortedAndLimitedToThreeLevels)
{
    ffmpegCopy(apps("_common/1/2/3/4"));
    EXPECT_EQ(resolveFFmpeg(), QString());
    ffmpegCopy(apps("_common/b"));
    ffmpegCopy(apps("_common/a/x/y")); // deeper, but sorted first
    EXPECT_EQ(resolveFFmpeg(), apps("_common/a/x/y/ffmpeg"));

    ASSERT_TRUE(QDir().mkpath(tmp("r/B")));
    ASSERT_TRUE(QDir().mkpath(tmp("r/.hidden")));
    const QString r = tmp("r");
    EXPECT_EQ(CollectSearchDirs(r + u'/', 1), (QStringList{r, r + "/.hidden", r + "/B"}));
    EXPECT_TRUE(CollectSearchDirs(tmp("missing")).isEmpty());
}

TEST_F(ToolResolution, LinkedFoldersAreFollowedOnce)
{
    ffmpegCopy(tmp("elsewhere/bin"));
    ASSERT_TRUE(QDir().mkpath(apps("_common/sub")));
    ASSERT_TRUE(QFile::link(tmp("elsewhere"), apps("_common/sub/linked")));
    ASSERT_TRUE(QFile::link(apps("_common"), apps("_common/sub/loop")));
    EXPECT_EQ(CollectSearchDirs(apps("_common")).size(), 4); // root, sub, linked, linked/bin
    EXPECT_EQ(resolveFFmpeg(), apps("_common/sub/linked/bin/ffmpeg"));

    m_lookup.ProgramDir.clear(); // unknown program folder: no shared search
    m_params.ffmpeg.clear();
    EXPECT_EQ(resolveFFmpeg(), QString());
}

TEST_F(ToolResolution, SystemFFmpegComesFromAbsolutePathFoldersOnly)
{
    ASSERT_TRUE(WriteFile(tmp("plain/ffmpeg"), "x")); // not executable
    ASSERT_TRUE(WriteFile(tmp("bin/ffmpeg"), "x"));
    QFile::setPermissions(tmp("bin/ffmpeg"), QFile::ReadOwner | QFile::ExeOwner);
    m_lookup.ExecutableDirs
        = QStringList{QStringLiteral("bin"), QString(), tmp("plain"), tmp("bin/")};
    EXPECT_EQ(resolveFFmpeg(), tmp("bin/ffmpeg"));

    ffmpegCopy(apps("_common")); // a described copy wins over the system one
    m_params.ffmpeg.clear();
    EXPECT_EQ(resolveFFmpeg(), apps("_common/ffmpeg"));
}

TEST_F(ToolResolution, SystemMediaInfoIsStoredAsItsRealFile)
{
    ASSERT_TRUE(WriteFile(tmp("lib32/libmediainfo.so.0"), QByteArray("\177ELF\1\1\1", 7)));
    ASSERT_TRUE(WriteFile(tmp("lib/libmediainfo.so.0.0.0"), QByteArray("\177ELF\2\1\1", 7)));
    ASSERT_TRUE(QFile::link(QStringLiteral("libmediainfo.so.0.0.0"), tmp("lib/libmediainfo.so.0")));
    m_lookup.LibraryDirs = QStringList{tmp("lib32"), tmp("lib")};
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup), tmp("lib/libmediainfo.so.0.0.0"));
}

TEST_F(ToolResolution, LoaderFoldersComeFromTheEnvironmentThenTheConfiguration)
{
    ASSERT_TRUE(WriteFile(tmp("etc/ld.so.conf"),
        "# comment\ninclude ld.so.conf.d/*.conf\n"
        "/opt/one /opt/two # trailing\n"));
    ASSERT_TRUE(WriteFile(tmp("etc/ld.so.conf.d/b.conf"), "/usr/lib/b\n"));
    ASSERT_TRUE(WriteFile(tmp("etc/ld.so.conf.d/a.conf"), "/usr/lib/a/\n"));
    ASSERT_TRUE(WriteFile(tmp("etc/ld.so.conf.d/skip.txt"), "/never\n"));
    ASSERT_TRUE(WriteFile(tmp("etc/loop.conf"), "include loop.conf\n/x\n"));

    EXPECT_EQ(ReadLdSoConf(tmp("etc/ld.so.conf")),
        (QStringList{"/usr/lib/a", "/usr/lib/b", "/opt/one", "/opt/two"}));
    EXPECT_EQ(ReadLdSoConf(tmp("etc/loop.conf")), QStringList{"/x"});
    const QStringList dirs
        = LibrarySearchDirs("/env/one::relative;/env/two", tmp("etc/ld.so.conf"));
    EXPECT_EQ(dirs.mid(0, 3), (QStringList{"/env/one", "/env/two", "/usr/lib/a"}));
    EXPECT_TRUE(dirs.contains("/usr/lib"));
    EXPECT_FALSE(dirs.contains("relative"));
}

} // namespace

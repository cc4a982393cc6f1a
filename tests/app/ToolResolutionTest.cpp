#include "app/ToolResolution.h"
#include "app/ProgramDir.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::WriteFile;

namespace {

const QByteArray Elf64 = QByteArray("\x7f"
                                    "ELF\x02\x01\x01",
    7);
const QByteArray Elf32 = QByteArray("\x7f"
                                    "ELF\x01\x01\x01",
    7);

// A program folder <tmp>/Apps/Q with nothing beside it; tests add the
// shared folders they need under <tmp>/Apps.
class ToolResolution : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_apps = m_tmp.path() + u"/Apps"_s;
        m_program = m_apps + u"/Q"_s;
        ASSERT_TRUE(QDir().mkpath(m_program));
        m_params = DefaultAppParams(m_program);
        m_lookup = {m_program, QStringList{}, QStringList{}};
    }

    QString apps(const QString &rel) const { return m_apps + u'/' + rel; }

    static void writeVer(
        const QString &path, const QString &tool, const QString &bits, const QString &ver)
    {
        ASSERT_TRUE(WriteFile(path,
            QStringLiteral("; tool description\n[MAIN]\ntool = %1\n"
                           "bits=%2\nver=%3\n")
                .arg(tool, bits, ver)
                .toUtf8()));
    }
    // A matching FFmpeg description in dir, with or without the program.
    void ffmpegCopy(const QString &dir, bool withProgram = true) const
    {
        writeVer(dir + u"/ffmpeg.ver"_s, u"FFmpeg"_s, u"64"_s, u"N-100681-g0bee216ad4"_s);
        if (withProgram) {
            ASSERT_TRUE(WriteFile(dir + u"/ffmpeg"_s, "#!/bin/sh\n"));
        }
    }

    QTemporaryDir m_tmp;
    QString m_apps;
    QString m_program;
    TAppParams m_params;
    TToolLookup m_lookup;
};

TEST_F(ToolResolution, BundledToolsAreFoundBesideTheProgram)
{
    ASSERT_TRUE(WriteFile(m_program + u"/tools/FFmpeg/ffmpeg"_s, "x"));
    ASSERT_TRUE(WriteFile(m_program + u"/tools/MediaInfo/libmediainfo.so.0"_s, "x"));
    m_params.ffmpeg = m_program + u"/elsewhere/ffmpeg"_s; // stale value
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), m_program + u"/tools/FFmpeg/ffmpeg"_s);
    EXPECT_EQ(m_params.ffmpeg, m_program + u"/tools/FFmpeg/ffmpeg"_s);
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup),
        m_program + u"/tools/MediaInfo/libmediainfo.so.0"_s);
}

TEST_F(ToolResolution, ExistingValueIsMadeAbsoluteAgainstTheCurrentFolder)
{
    ASSERT_TRUE(WriteFile(m_tmp.path() + u"/mine/ffmpeg"_s, "x"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_tmp.path()));
    m_params.ffmpeg = u"mine/./ffmpeg"_s;
    const QString resolved = ResolveFFmpegPath(m_params, m_lookup);
    QDir::setCurrent(previous);
    EXPECT_EQ(resolved, QDir(m_tmp.path()).canonicalPath() + u"/mine/ffmpeg"_s);
}

TEST_F(ToolResolution, NothingUsableGivesAnEmptyPath)
{
    m_params.ffmpeg = m_program; // a folder is not a program
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), QString());
    EXPECT_TRUE(m_params.ffmpeg.isEmpty());
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup), QString());
    EXPECT_TRUE(m_params.MediaInfoDll.isEmpty());
}

TEST_F(ToolResolution, SharedCopyMatchesWithoutRegardToCase)
{
    const QString dir = apps(u"_common/ffmpeg/64"_s);
    writeVer(dir + u"/FFMPEG.VER"_s, u"ffmpeg"_s, u"64"_s, u"n-100681-G0BEE216AD4"_s);
    ASSERT_TRUE(WriteFile(dir + u"/ffmpeg"_s, "x"));
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), dir + u"/ffmpeg"_s);
}

TEST_F(ToolResolution, SharedMediaInfoCopy)
{
    const QString dir = apps(u"_common/MediaInfo"_s);
    writeVer(dir + u"/mediainfo.ver"_s, u"MediaInfo"_s, u"64"_s, u"20.09.0.0"_s);
    ASSERT_TRUE(WriteFile(dir + u"/libmediainfo.so.0"_s, "x"));
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup), dir + u"/libmediainfo.so.0"_s);
}

TEST_F(ToolResolution, DescriptionsThatDoNotMatchAreSkipped)
{
    writeVer(apps(u"_common/a/ffmpeg.ver"_s), u"FFmpeg"_s, u"64"_s, u"N-99999-gdeadbeef"_s);
    writeVer(apps(u"_common/b/ffmpeg.ver"_s), u"FFmpeg"_s, u"32"_s, u"N-100681-g0bee216ad4"_s);
    writeVer(apps(u"_common/c/ffmpeg.ver"_s), u"MediaInfo"_s, u"64"_s, u"N-100681-g0bee216ad4"_s);
    ASSERT_TRUE(WriteFile(apps(u"_common/d/ffmpeg.ver"_s),
        "[OTHER]\ntool=FFmpeg\nbits=64\nver=N-100681-g0bee216ad4\n"));
    for (const char *d : {"a", "b", "c", "d"})
        ASSERT_TRUE(WriteFile(apps(u"_common/"_s + QLatin1String(d) + u"/ffmpeg"_s), "x"));
    ffmpegCopy(apps(u"_common/e"_s));
    EXPECT_EQ(SearchToolRoot(apps(u"_common"_s), FFmpegToolSpec()), apps(u"_common/e/ffmpeg"_s));
}

TEST_F(ToolResolution, FirstMatchWithoutProgramEndsTheRootButNotTheSearch)
{
    ffmpegCopy(apps(u"_common/a"_s), false);
    ffmpegCopy(apps(u"_common/b"_s)); // later in the same root: never looked at
    EXPECT_EQ(SearchToolRoot(apps(u"_common"_s), FFmpegToolSpec()), QString());
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), QString());

    // The parent is searched after _common. It holds _common again, and
    // "_common/a" sorts before "shared", so that copy is never reached...
    ffmpegCopy(apps(u"shared"_s));
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), QString());
    // ...but one in the parent folder itself comes first.
    ffmpegCopy(m_apps);
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), apps(u"ffmpeg"_s));
}

TEST_F(ToolResolution, SearchGoesThreeLevelsDown)
{
    ffmpegCopy(apps(u"_common/1/2/3/4"_s));
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), QString());
    ffmpegCopy(apps(u"_common/1/2/3"_s));
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), apps(u"_common/1/2/3/ffmpeg"_s));
}

TEST_F(ToolResolution, FoldersAreSearchedInSortedOrderNotByDepth)
{
    ffmpegCopy(apps(u"_common/b"_s));
    ffmpegCopy(apps(u"_common/a/x/y"_s));
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), apps(u"_common/a/x/y/ffmpeg"_s));
}

TEST_F(ToolResolution, CollectedFoldersAreSortedAndLimited)
{
    for (const char *d : {"r/B", "r/a/c", "r/a/c/d/e", "r/.hidden"})
        ASSERT_TRUE(QDir().mkpath(apps(QLatin1String(d))));
    const QString r = apps(u"r"_s);
    EXPECT_EQ(CollectSearchDirs(r + u'/'),
        (QStringList{
            r, r + u"/.hidden"_s, r + u"/a"_s, r + u"/a/c"_s, r + u"/a/c/d"_s, r + u"/B"_s}));
    EXPECT_EQ(
        CollectSearchDirs(r, 1), (QStringList{r, r + u"/.hidden"_s, r + u"/a"_s, r + u"/B"_s}));
    EXPECT_TRUE(CollectSearchDirs(apps(u"missing"_s)).isEmpty());
}

TEST_F(ToolResolution, LinkedFoldersAreFollowedOnce)
{
    ffmpegCopy(m_tmp.path() + u"/elsewhere/bin"_s);
    ASSERT_TRUE(QDir().mkpath(apps(u"_common/sub"_s)));
    ASSERT_TRUE(QFile::link(m_tmp.path() + u"/elsewhere"_s, apps(u"_common/sub/linked"_s)));
    ASSERT_TRUE(QFile::link(apps(u"_common"_s), apps(u"_common/sub/loop"_s)));
    const QStringList dirs = CollectSearchDirs(apps(u"_common"_s));
    EXPECT_EQ(dirs.size(), 4) << dirs.join(u'\n').toStdString(); // root, sub, linked, linked/bin
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), apps(u"_common/sub/linked/bin/ffmpeg"_s));
}

TEST_F(ToolResolution, UnknownProgramFolderSkipsTheSharedSearch)
{
    ffmpegCopy(apps(u"_common"_s));
    m_lookup.ProgramDir.clear();
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), QString());
}

TEST_F(ToolResolution, SystemFFmpegComesFromThePathFolders)
{
    const QString plain = m_tmp.path() + u"/plain"_s;
    const QString bin = m_tmp.path() + u"/bin"_s;
    ASSERT_TRUE(WriteFile(plain + u"/ffmpeg"_s, "x")); // not executable
    ASSERT_TRUE(WriteFile(bin + u"/ffmpeg"_s, "x"));
    QFile::setPermissions(bin + u"/ffmpeg"_s, QFile::ReadOwner | QFile::ExeOwner);
    m_lookup.ExecutableDirs = QStringList{u"bin"_s, u""_s, plain, bin + u'/'};
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), bin + u"/ffmpeg"_s);

    // A described copy still wins over the system one.
    ffmpegCopy(apps(u"_common"_s));
    EXPECT_EQ(FindExecutableInDirs(u"ffmpeg"_s, {plain}), QString());
    m_params.ffmpeg.clear();
    EXPECT_EQ(ResolveFFmpegPath(m_params, m_lookup), apps(u"_common/ffmpeg"_s));
}

TEST_F(ToolResolution, SystemMediaInfoIsStoredAsItsRealFile)
{
    const QString lib32 = m_tmp.path() + u"/lib32"_s;
    const QString lib = m_tmp.path() + u"/lib"_s;
    ASSERT_TRUE(WriteFile(lib32 + u"/libmediainfo.so.0"_s, Elf32));
    ASSERT_TRUE(WriteFile(lib + u"/libmediainfo.so.0.0.0"_s, Elf64));
    ASSERT_TRUE(QFile::link(u"libmediainfo.so.0.0.0"_s, lib + u"/libmediainfo.so.0"_s));
    m_lookup.LibraryDirs = QStringList{lib32, lib};
    EXPECT_EQ(ResolveMediaInfoPath(m_params, m_lookup),
        QDir(lib).canonicalPath() + u"/libmediainfo.so.0.0.0"_s);
}

TEST_F(ToolResolution, LoaderFoldersComeFromTheEnvironmentThenTheConfiguration)
{
    const QString etc = m_tmp.path() + u"/etc"_s;
    ASSERT_TRUE(WriteFile(etc + u"/ld.so.conf"_s,
        "# comment\ninclude ld.so.conf.d/*.conf\n"
        "/opt/one /opt/two # trailing\n"));
    ASSERT_TRUE(WriteFile(etc + u"/ld.so.conf.d/b.conf"_s, "/usr/lib/b\n"));
    ASSERT_TRUE(WriteFile(etc + u"/ld.so.conf.d/a.conf"_s, "/usr/lib/a/\n"));
    ASSERT_TRUE(WriteFile(etc + u"/ld.so.conf.d/skip.txt"_s, "/never\n"));

    EXPECT_EQ(ReadLdSoConf(etc + u"/ld.so.conf"_s),
        (QStringList{u"/usr/lib/a"_s, u"/usr/lib/b"_s, u"/opt/one"_s, u"/opt/two"_s}));
    const QStringList dirs
        = LibrarySearchDirs(u"/env/one::relative;/env/two"_s, etc + u"/ld.so.conf"_s);
    ASSERT_GE(dirs.size(), 6);
    EXPECT_EQ(dirs.mid(0, 3), (QStringList{u"/env/one"_s, u"/env/two"_s, u"/usr/lib/a"_s}));
    EXPECT_TRUE(dirs.contains(u"/usr/lib"_s));
    EXPECT_FALSE(dirs.contains(u"relative"_s));
}

TEST_F(ToolResolution, IncludeLoopsInTheLoaderConfigurationEnd)
{
    const QString conf = m_tmp.path() + u"/loop.conf"_s;
    ASSERT_TRUE(WriteFile(conf, "include loop.conf\n/x\n"));
    EXPECT_EQ(ReadLdSoConf(conf), QStringList{u"/x"_s});
}

} // namespace

#include "app/FileLocations.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment environment(const QString &home, const QString &xdgCache)
{
    QProcessEnvironment env;
    if (!home.isNull())
        env.insert(QStringLiteral("HOME"), home);
    if (!xdgCache.isNull())
        env.insert(QStringLiteral("XDG_CACHE_HOME"), xdgCache);
    return env;
}

} // namespace

TEST(FileLocations, PortableLayoutLivesBesideTheProgram)
{
    for (const QString &dir :
        {QStringLiteral("/opt/q"), QStringLiteral("/opt/q/"), QStringLiteral("/opt/q/.")}) {
        const FileLocations l = LocateFiles(dir, environment(QStringLiteral("/home/u"), {}));
        EXPECT_EQ(l.programDir, QStringLiteral("/opt/q")) << dir.toStdString();
        EXPECT_EQ(l.settingsFile, QStringLiteral("/opt/q/quillon.ini"));
        EXPECT_EQ(l.profilesDir, QStringLiteral("/opt/q/profiles"));
        EXPECT_EQ(l.langDir, QStringLiteral("/opt/q/lang"));
        EXPECT_EQ(l.dataDir, QStringLiteral("/opt/q/data"));
        EXPECT_EQ(l.reportsDir, QStringLiteral("/opt/q/data"));
        EXPECT_EQ(l.toolsDir, QStringLiteral("/opt/q/tools"));
        EXPECT_EQ(l.cacheDir, QStringLiteral("/home/u/.cache/quillon"));
        EXPECT_EQ(l.userDataDir, QStringLiteral("/home/u/.local/share/quillon"));
    }
}

TEST(FileLocations, UserFoldersFollowTheBaseDirectoryRules)
{
    struct Case
    {
        QString home, xdg, expectedCache, expectedData;
    };
    const Case cases[] = {
        {QStringLiteral("/home/u"), QStringLiteral("/var/u/"), QStringLiteral("/var/u/quillon"),
            QStringLiteral("/var/u/quillon")},
        // A relative value is invalid and ignored.
        {QStringLiteral("/home/u"), QStringLiteral("cache"),
            QStringLiteral("/home/u/.cache/quillon"),
            QStringLiteral("/home/u/.local/share/quillon")},
        {QStringLiteral("/home/u"), QStringLiteral(""), QStringLiteral("/home/u/.cache/quillon"),
            QStringLiteral("/home/u/.local/share/quillon")},
        {QString(), QString(), QString(), QString()},
    };
    for (const Case &c : cases) {
        QProcessEnvironment env = environment(c.home, c.xdg);
        EXPECT_EQ(UserCacheDir(env), c.expectedCache) << c.xdg.toStdString();
        env.remove(QStringLiteral("XDG_CACHE_HOME"));
        if (!c.xdg.isNull())
            env.insert(QStringLiteral("XDG_DATA_HOME"), c.xdg);
        EXPECT_EQ(UserDataDir(env), c.expectedData) << c.xdg.toStdString();
    }
}

TEST(FileLocations, ReportsAreSavedBesideTheProgramOrElseAtHome)
{
    QTemporaryDir dir;
    FileLocations l = LocateFiles(dir.path(), environment(QStringLiteral("/home/u"), {}));
    ASSERT_TRUE(QDir().mkpath(l.reportsDir));
    EXPECT_EQ(ReportSaveFolder(l, environment(QStringLiteral("/home/u"), {})), l.reportsDir);
    l = LocateFiles(dir.filePath(QStringLiteral("gone")), {});
    EXPECT_EQ(ReportSaveFolder(l, environment(QStringLiteral("/home/u/"), {})),
        QStringLiteral("/home/u"));
    EXPECT_EQ(ReportSaveFolder(l, environment({}, {})), QString());
}

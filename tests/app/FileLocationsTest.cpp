#include "app/FileLocations.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::WriteFile;

namespace {

QProcessEnvironment environment(const QList<std::pair<QString, QString>> &variables)
{
    QProcessEnvironment env;
    for (const auto &[name, value] : variables)
        env.insert(name, value);
    return env;
}

const QProcessEnvironment HomeOnly = environment({{"HOME", "/home/u"}});

// A program folder <tmp>/usr/bin, and what may lie beside it.
class FileLocationsLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_root = QDir(m_tmp.path()).canonicalPath();
        ASSERT_TRUE(QDir().mkpath(bin()));
    }
    QString bin() const { return m_root + "/usr/bin"; }

    QTemporaryDir m_tmp;
    QString m_root;
};

TEST_F(FileLocationsLayout, PortableWhenDataOrSettingsLieBesideTheProgram)
{
    // A bare folder is installed, writable or not.
    EXPECT_EQ(LocateFiles(bin(), HomeOnly).layout, FileLayout::Installed);
    // A file named data is not the data folder.
    ASSERT_TRUE(WriteFile(bin() + "/data", "x"));
    EXPECT_EQ(LocateFiles(bin(), HomeOnly).layout, FileLayout::Installed);
    ASSERT_TRUE(WriteFile(bin() + "/quillon.ini", ""));
    EXPECT_EQ(LocateFiles(bin(), HomeOnly).layout, FileLayout::Portable);
    ASSERT_TRUE(QFile::remove(bin() + "/quillon.ini") && QFile::remove(bin() + "/data"));
    ASSERT_TRUE(QDir().mkpath(bin() + "/data"));

    for (const QString &dir : {bin(), bin() + "/", bin() + "/."}) {
        const FileLocations l = LocateFiles(dir, HomeOnly);
        EXPECT_EQ(l.layout, FileLayout::Portable) << dir.toStdString();
        EXPECT_EQ(l.programDir, bin());
        EXPECT_EQ(l.settingsFile, bin() + "/quillon.ini");
        EXPECT_EQ(l.configDir, bin());
        EXPECT_EQ(l.profilesDir, bin() + "/profiles");
        EXPECT_EQ(l.langDir, bin() + "/lang");
        EXPECT_EQ(l.dataDir, bin() + "/data");
        EXPECT_EQ(l.reportsDir, bin() + "/data");
        EXPECT_EQ(l.toolsDir, bin() + "/tools");
        EXPECT_EQ(l.cacheDir, "/home/u/.cache/quillon");
        EXPECT_EQ(l.defaultDocumentsDir, bin());
        EXPECT_EQ(l.workDir, bin());
    }
}

TEST_F(FileLocationsLayout, InstalledSharesDataBesideTheBinaryFolderAndKeepsUserFilesInXdgFolders)
{
    const QString share = m_root + "/usr/share/quillon";
    const auto check = [&](const QProcessEnvironment &env, const QString &config,
                           const QString &data, const QString &cache, const QString &home) {
        const FileLocations l = LocateFiles(bin(), env);
        EXPECT_EQ(l.layout, FileLayout::Installed);
        EXPECT_EQ(l.programDir, bin());
        EXPECT_EQ(l.langDir, share + "/lang");
        EXPECT_EQ(l.dataDir, share + "/data");
        EXPECT_EQ(l.configDir, config);
        EXPECT_EQ(l.settingsFile, config.isEmpty() ? QString() : config + "/quillon.ini");
        EXPECT_EQ(l.profilesDir, data.isEmpty() ? QString() : data + "/profiles");
        EXPECT_EQ(l.reportsDir, data);
        EXPECT_EQ(l.toolsDir, QString());
        EXPECT_EQ(l.cacheDir, cache);
        EXPECT_EQ(l.defaultDocumentsDir, home);
        EXPECT_EQ(l.workDir, cache);
    };
    {
        SCOPED_TRACE("base-directory defaults");
        check(HomeOnly, "/home/u/.config/quillon", "/home/u/.local/share/quillon",
            "/home/u/.cache/quillon", "/home/u");
    }
    {
        SCOPED_TRACE("XDG variables honoured");
        check(environment({{"HOME", "/home/u/"}, {"XDG_CONFIG_HOME", "/cfg/"},
                  {"XDG_DATA_HOME", "/d"}, {"XDG_CACHE_HOME", "/c/./x"}}),
            "/cfg/quillon", "/d/quillon", "/c/x/quillon", "/home/u");
    }
    {
        SCOPED_TRACE("relative or empty XDG variables ignored");
        check(environment({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"},
                  {"XDG_DATA_HOME", "./d"}, {"XDG_CACHE_HOME", ""}}),
            "/home/u/.config/quillon", "/home/u/.local/share/quillon", "/home/u/.cache/quillon",
            "/home/u");
    }
    {
        SCOPED_TRACE("HOME=/: the root is a home like any other");
        check(environment({{"HOME", "/"}}), "/.config/quillon", "/.local/share/quillon",
            "/.cache/quillon", "/");
    }
    {
        SCOPED_TRACE("no usable HOME: no user files");
        check(environment({{"HOME", "home"}}), {}, {}, {}, {});
    }
}

TEST_F(FileLocationsLayout, ReportsAreSavedInTheDocumentsFolderOrElseAtHome)
{
    ASSERT_TRUE(QDir().mkpath(bin() + "/data"));
    const FileLocations portable = LocateFiles(bin(), HomeOnly);
    EXPECT_EQ(ReportSaveFolder(portable, HomeOnly), bin()); // not data/
    FileLocations unwritable = portable;
    unwritable.defaultDocumentsDir = bin() + "/gone";
    EXPECT_EQ(ReportSaveFolder(unwritable, environment({{"HOME", "/home/u/"}})), "/home/u");
    EXPECT_EQ(ReportSaveFolder(unwritable, environment({})), QString());

    // Installed, the user's data folder is no place to look for a saved log.
    ASSERT_TRUE(QFile::remove(bin() + "/data") || QDir(bin() + "/data").removeRecursively());
    const FileLocations installed = LocateFiles(bin(), HomeOnly);
    ASSERT_EQ(installed.layout, FileLayout::Installed);
    EXPECT_EQ(ReportSaveFolder(installed, HomeOnly), "/home/u");
}

} // namespace

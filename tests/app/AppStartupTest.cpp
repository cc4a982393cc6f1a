#include "app/AppStartup.h"
#include "app/ProgramDir.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::WriteFile;

namespace {

TEST(CheckIniFile, LeftKeyDecidesLanguageDetection)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir().mkpath(tmp.path() + "/data")); // portable: the file beside the program
    const TAppParams p = DefaultAppParams(tmp.path());
    EXPECT_TRUE(CheckIniFile(p)); // no settings file
    // clang-format off
    const struct { const char *text; bool expected; } cases[] = {
        {"[MAIN]\nLeft=0\n", false}, {"[main]\nleft=120\n", true}, {"[MAIN]\nLeft=-3\n", true},
        {"[MAIN]\nLeft=abc\n", true}, {"[MAIN]\nTop=0\n", true}, {"[PROGRESS]\nLeft=0\n", true},
        {"[MAIN]\nLeft = 0x0\n", false},
    };
    // clang-format on
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteFile(p.IniName, c.text));
        EXPECT_EQ(CheckIniFile(p), c.expected) << c.text;
    }
}

TEST(TempWorkDirName, StampFormat)
{
    EXPECT_EQ(TempWorkDirName("/var/tmp/", QDateTime(QDate(2024, 3, 7), QTime(9, 5, 1, 42))),
        "/var/tmp/Orvane_Quillon_2024-03-07@09_05_01.042");
    EXPECT_EQ(TempWorkDirName("/tmp/.", QDateTime(QDate(2031, 12, 31), QTime(23, 59, 59, 999))),
        "/tmp/Orvane_Quillon_2031-12-31@23_59_59.999");

    const QString now = TempWorkDirName();
    static const QRegularExpression shape(
        QStringLiteral("^(.*)/Orvane_Quillon_\\d{4}-\\d\\d-\\d\\d@\\d\\d_\\d\\d_\\d\\d\\.\\d{3}$"));
    const auto match = shape.match(now);
    ASSERT_TRUE(match.hasMatch()) << now.toStdString();
    EXPECT_EQ(match.captured(1), NormalizeDirPath(QDir::tempPath()));
}

TEST(EnsureProfilesDir, CreatesTheFolderWithItsParents)
{
    // Installed: $XDG_DATA_HOME/quillon/profiles on an account that has
    // never run Quillon.
    QTemporaryDir tmp;
    TAppParams p;
    p.ProfilesDir = tmp.path() + "/share/quillon/profiles";
    EXPECT_TRUE(EnsureProfilesDir(p));
    EXPECT_TRUE(QFileInfo(p.ProfilesDir).isDir());
    p.ProfilesDir.clear(); // no home folder known: nothing is created anywhere
    EXPECT_FALSE(EnsureProfilesDir(p));
}

TEST(InitAppParams, ResolvesToolsThenAppliesTheToolKeys)
{
    QTemporaryDir tmp;
    const QString program = tmp.path() + "/Q";
    ASSERT_TRUE(WriteFile(program + "/tools/FFmpeg/ffmpeg", "x"));
    ASSERT_TRUE(QDir().mkpath(program + "/data"));
    const ToolLookup lookup{program, QStringList{}, QStringList{}};

    TAppParams p = InitAppParams(program, lookup);
    EXPECT_EQ(p.ffmpeg, program + "/tools/FFmpeg/ffmpeg");
    EXPECT_TRUE(p.MediaInfoDll.isEmpty());
    EXPECT_FALSE(p.EscExit);

    // The ToolsDir key moves the tools folder before the ffmpeg key is read.
    const QString other = tmp.path() + "/other";
    ASSERT_TRUE(WriteFile(other + "/FFmpeg/ffmpeg", "x"));
    const QString ini = QStringLiteral("[MAIN]\nEscExit=1\nToolsDir=%1\nffmpeg=%2\n")
                            .arg(other, tmp.path() + "/gone/ffmpeg");
    ASSERT_TRUE(WriteFile(program + "/quillon.ini", ini.toUtf8()));
    p = InitAppParams(program, lookup);
    EXPECT_TRUE(p.EscExit);
    EXPECT_EQ(p.ToolsDir, other);
    EXPECT_EQ(p.ffmpeg, other + "/FFmpeg/ffmpeg");
}

} // namespace

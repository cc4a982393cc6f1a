#include "app/AppStartup.h"
#include "app/ProgramDir.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::WriteFile;

namespace {

TEST(CheckIniFile, LeftKeyDecidesLanguageDetection)
{
    QTemporaryDir tmp;
    TAppParams p = DefaultAppParams(tmp.path());
    EXPECT_TRUE(CheckIniFile(p)); // no settings file
    const struct
    {
        const char *text;
        bool expected;
    } cases[] = {
        {"[MAIN]\nLeft=0\n", false},
        {"[main]\nleft=120\n", true},
        {"[MAIN]\nLeft=-3\n", true},
        {"[MAIN]\nLeft=abc\n", true},
        {"[MAIN]\nTop=0\n", true},
        {"[PROGRESS]\nLeft=0\n", true},
        {"[MAIN]\nLeft = 0x0\n", false},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteFile(p.IniName, c.text));
        EXPECT_EQ(CheckIniFile(p), c.expected) << c.text;
    }
}

TEST(TempWorkDirName, StampFormat)
{
    const QDateTime at(QDate(2024, 3, 7), QTime(9, 5, 1, 42));
    EXPECT_EQ(
        TempWorkDirName(u"/var/tmp/"_s, at), u"/var/tmp/Orvane_Quillon_2024-03-07@09_05_01.042"_s);
    EXPECT_EQ(TempWorkDirName(u"/tmp/."_s, QDateTime(QDate(2031, 12, 31), QTime(23, 59, 59, 999))),
        u"/tmp/Orvane_Quillon_2031-12-31@23_59_59.999"_s);

    const QString now = TempWorkDirName();
    static const QRegularExpression shape(
        u"^(.*)/Orvane_Quillon_\\d{4}-\\d\\d-\\d\\d@\\d\\d_\\d\\d_\\d\\d\\.\\d{3}$"_s);
    const auto match = shape.match(now);
    ASSERT_TRUE(match.hasMatch()) << now.toStdString();
    EXPECT_EQ(match.captured(1), NormalizeDirPath(QDir::tempPath()));
}

TEST(InitialFolder, UpdatedValueIsRead)
{
    UpdateInitialFolders(u"/home/u/videos"_s);
    EXPECT_EQ(InitialFolder(), u"/home/u/videos"_s);
}

TEST(InitAppParams, ResolvesToolsThenAppliesTheToolKeys)
{
    QTemporaryDir tmp;
    const QString program = tmp.path() + u"/Q"_s;
    ASSERT_TRUE(WriteFile(program + u"/tools/FFmpeg/ffmpeg"_s, "x"));
    const TToolLookup lookup{program, QStringList{}, QStringList{}};

    TAppParams p = InitAppParams(program, lookup);
    EXPECT_EQ(p.ffmpeg, program + u"/tools/FFmpeg/ffmpeg"_s);
    EXPECT_TRUE(p.MediaInfoDll.isEmpty());
    EXPECT_FALSE(p.EscExit);

    // The ToolsDir key moves the tools folder; the MediaInfoDll key was read
    // before it, so only FFmpeg (read after it) is looked up there.
    const QString other = tmp.path() + u"/other"_s;
    ASSERT_TRUE(WriteFile(other + u"/FFmpeg/ffmpeg"_s, "x"));
    ASSERT_TRUE(WriteFile(program + u"/quillon.ini"_s,
        QStringLiteral("[MAIN]\nEscExit=1\nToolsDir=%1\nffmpeg=%2\n")
            .arg(other, tmp.path() + u"/gone/ffmpeg"_s)
            .toUtf8()));
    p = InitAppParams(program, lookup);
    EXPECT_TRUE(p.EscExit);
    EXPECT_EQ(p.ToolsDir, other);
    EXPECT_EQ(p.ffmpeg, other + u"/FFmpeg/ffmpeg"_s);
}

} // namespace

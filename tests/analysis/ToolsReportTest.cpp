#include "analysis/ToolsReport.h"

#include "analysis/Crc32.h"
#include "analysis/MediaInfoTestSupport.h"
#include "app/TextHelpers.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Separator(83, u'-');

TEST(ToolsReport, LayoutWithOneToolMissing)
{
    ToolFacts ffmpeg;
    ffmpeg.Path = u"/opt/tools/ffmpeg"_s;
    ffmpeg.Size = 1234567;
    ffmpeg.Crc32 = 0x00ab12cd;
    ffmpeg.BinaryType = BinaryTypeInfo{64, u"Executable / ELF64 / AMD64 (x86-64)"_s};
    ffmpeg.Version = ToolVersionInfo{u"5.1"_s, u"5.1.9"_s, u"ffmpeg version 5.1"_s};

    const QString expected = u"FFmpeg\r\n"
                             "        File name: /opt/tools/ffmpeg\r\n"
                             "        File size: 1 234 567 bytes (1.18 MB)\r\n"
                             "       File CRC32: $00AB12CD\r\n"
                             "      Binary type: 64-bit Executable / ELF64 / AMD64 (x86-64)\r\n"
                             "  Product version: 5.1\r\n"
                             "     File version: 5.1.9\r\n"
                             " File description: ffmpeg version 5.1\r\n"_s
        + Separator + u"\r\nMediaInfo\r\n\r\n"_s + Separator;
    EXPECT_EQ(FormatToolsReport(ffmpeg, std::nullopt), expected);

    // Without binary type and version: three lines; a wider label column.
    ToolFacts plain;
    plain.Path = u"/x"_s;
    plain.Size = 512;
    EXPECT_EQ(FormatToolBlock(plain, 12),
        u"  File name: /x\r\n  File size: 512 bytes (512 bytes)\r\n File CRC32: $00000000"_s);
    EXPECT_EQ(FormatToolsReport(std::nullopt, std::nullopt),
        u"FFmpeg\r\n\r\n"_s + Separator + u"\r\nMediaInfo\r\n\r\n"_s + Separator);
}

TEST(ToolsReport, VersionStatements)
{
    const auto ffmpeg = ParseFFmpegVersionOutput({QString(),
        u"ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg developers"_s,
        u"built with gcc 12"_s});
    ASSERT_TRUE(ffmpeg.has_value());
    EXPECT_EQ(ffmpeg->ProductVersion, u"5.1.9-0+deb12u1"_s);
    EXPECT_EQ(ffmpeg->FileVersion, u"5.1.9-0+deb12u1"_s);
    EXPECT_EQ(ffmpeg->FileDescription,
        u"ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg developers"_s);
    EXPECT_FALSE(ParseFFmpegVersionOutput({u"usage: something else"_s}).has_value());
    EXPECT_FALSE(ParseFFmpegVersionOutput({u"ffmpeg version "_s}).has_value());
    EXPECT_FALSE(ParseFFmpegVersionOutput({}).has_value());

    const auto mediaInfo = ParseMediaInfoVersion(u"MediaInfoLib - v23.04"_s);
    ASSERT_TRUE(mediaInfo.has_value());
    EXPECT_EQ(mediaInfo->ProductVersion, u"23.04"_s);
    EXPECT_EQ(mediaInfo->FileDescription, u"MediaInfoLib - v23.04"_s);
    EXPECT_EQ(ParseMediaInfoVersion(u"24.1"_s)->ProductVersion, u"24.1"_s);
    EXPECT_FALSE(ParseMediaInfoVersion(u"  "_s).has_value());
}

TEST(ToolsReport, RealFFmpegAndMissingMediaInfo)
{
    const QString &ffmpeg = TestSupport::SystemFFmpeg();
    if (ffmpeg.isEmpty())
        QLN_SKIP_MISSING() << "needs ffmpeg";
    QTemporaryDir dir;
    QString report;
    ASSERT_TRUE(BuildToolsReport(ffmpeg, dir.filePath(u"libmediainfo.so.0"_s), report));

    const QStringList lines = report.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 12) << report.toStdString();
    EXPECT_EQ(lines.at(0), u"FFmpeg"_s);
    EXPECT_EQ(lines.at(1), u"        File name: "_s + ffmpeg);
    EXPECT_EQ(lines.at(2),
        u"        File size: %1 bytes ("_s.arg(FormatThousands(QFileInfo(ffmpeg).size()))
            + FormatSize(QFileInfo(ffmpeg).size()) + u')');
    EXPECT_EQ(lines.at(3), u"       File CRC32: $"_s + Crc32Hex(*Crc32OfFile(ffmpeg)));
    EXPECT_TRUE(lines.at(4).startsWith(u"      Binary type: 64-bit Executable / ELF64 / "_s))
        << lines.at(4).toStdString();
    EXPECT_TRUE(QRegularExpression(u"^  Product version: \\S*\\d"_s).match(lines.at(5)).hasMatch())
        << lines.at(5).toStdString();
    EXPECT_TRUE(lines.at(7).startsWith(u" File description: ffmpeg version "_s));
    EXPECT_EQ(lines.at(8), Separator);
    EXPECT_EQ(lines.mid(9), (QStringList{u"MediaInfo"_s, QString(), Separator}));
}

TEST(ToolsReport, FilesThatAreNoToolGetTheirFileLinesOnly)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(text, "plain text, not a program"));
    std::optional<ToolFacts> facts;
    ASSERT_TRUE(GatherToolFacts(text, ToolKind::FFmpeg, facts));
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->Size, 25);
    EXPECT_FALSE(facts->BinaryType.has_value());
    EXPECT_FALSE(facts->Version.has_value());

    ASSERT_TRUE(GatherToolFacts(dir.path(), ToolKind::FFmpeg, facts));
    EXPECT_FALSE(facts.has_value()); // a folder is no tool
    ASSERT_TRUE(GatherToolFacts(QString(), ToolKind::MediaInfo, facts));
    EXPECT_FALSE(facts.has_value());
}

TEST(ToolsReport, HangingFFmpegHasNoVersionAfterTheTimeOut)
{
    QTemporaryDir dir;
    const QString hanging = dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(
        TestSupport::WriteFile(hanging, "#!/bin/sh\necho 'ffmpeg version 9'\nexec sleep 30\n"));
    QFile(hanging).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FFmpegVersionInfo(hanging, std::chrono::milliseconds(300)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(ToolsReport, UnreadableToolIsAnError)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    QTemporaryDir dir;
    const QString locked = dir.filePath(u"ffmpeg"_s);
    ASSERT_TRUE(TestSupport::WriteFile(locked, "x"));
    QFile(locked).setPermissions(QFileDevice::Permissions());
    QString report = u"unchanged"_s;
    QString error;
    EXPECT_FALSE(BuildToolsReport(locked, QString(), report, &error));
    EXPECT_EQ(report, u"unchanged"_s);
    EXPECT_TRUE(error.contains(locked)) << error.toStdString();
}

TEST(ToolsReport, RealMediaInfoLibraryTellsItsVersion)
{
    const QString &library = TestSupport::SystemMediaInfo();
    if (library.isEmpty())
        QLN_SKIP_MISSING() << "needs libmediainfo.so.0";
    MediaInfoTest::RunInFreshProcess([&] {
        std::optional<ToolFacts> facts;
        ASSERT_TRUE(GatherToolFacts(library, ToolKind::MediaInfo, facts));
        ASSERT_TRUE(facts.has_value());
        ASSERT_TRUE(facts->BinaryType.has_value());
        EXPECT_TRUE(facts->BinaryType->text().startsWith(u"64-bit Library / ELF64"_s));
        ASSERT_TRUE(facts->Version.has_value());
        EXPECT_TRUE(
            QRegularExpression(u"^\\d+\\.\\d+"_s).match(facts->Version->ProductVersion).hasMatch())
            << facts->Version->ProductVersion.toStdString();
        EXPECT_TRUE(facts->Version->FileDescription.startsWith(u"MediaInfoLib"_s));
    });
}

} // namespace

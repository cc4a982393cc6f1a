#include "analysis/MediaInfoLibrary.h"

#include "analysis/MediaInfoTestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace MediaInfoTest;

namespace {

QString InformOf(const QString &mediaFile)
{
    MediaInfoHandle handle;
    return handle.open(mediaFile) ? handle.inform() : QStringLiteral("(not opened)");
}

} // namespace

TEST(MediaInfoLibrary, KeepsTheFirstModuleForTheProcess)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        const QString media = WriteFakeMedia(dir.filePath(QStringLiteral("m.txt")), {});
        EXPECT_TRUE(LoadMediaInfoLibrary(FakeLibrary()));
        EXPECT_TRUE(LoadMediaInfoLibrary(FakeLibrary(QStringLiteral("fake_mediainfo_b"))));
        EXPECT_TRUE(LoadMediaInfoLibrary(dir.filePath(QStringLiteral("missing.so"))));
        EXPECT_TRUE(InformOf(media).startsWith(QStringLiteral("Fake MediaInfo A\n")))
            << InformOf(media).toStdString();
        EXPECT_EQ(FakeCounter("FakeMediaInfo_LiveHandles", QStringLiteral("fake_mediainfo_b")), -1);
    });
}

TEST(MediaInfoLibrary, RetriesAfterAFailedLoad)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        const QString notALibrary = dir.filePath(QStringLiteral("not-a-library.so"));
        TestSupport::WriteFile(notALibrary, "plain text");
        EXPECT_FALSE(LoadMediaInfoLibrary(QString()));
        EXPECT_FALSE(LoadMediaInfoLibrary(dir.filePath(QStringLiteral("missing.so"))));
        EXPECT_FALSE(LoadMediaInfoLibrary(notALibrary));
        // Loads, but an analysis cannot run without MediaInfo_Get.
        EXPECT_FALSE(LoadMediaInfoLibrary(FakeLibrary(QStringLiteral("fake_mediainfo_noget"))));
        EXPECT_EQ(MediaInfoEntryPoints().New, nullptr);
        EXPECT_FALSE(MediaInfoHandle().isValid());

        EXPECT_TRUE(LoadMediaInfoLibrary(FakeLibrary()));
        const MediaInfoFunctions api = MediaInfoEntryPoints();
        EXPECT_TRUE(api.HasRequired());
        EXPECT_NE(api.Delete, nullptr);
        EXPECT_NE(api.Inform, nullptr);
        EXPECT_NE(api.Option, nullptr);
    });
}

TEST(MediaInfoLibrary, HandleCopiesEveryAnswerAndReleasesWhatItOpened)
{
    RunInFreshProcess([] {
        QTemporaryDir dir;
        // The path reaches the library as wide characters, beyond Latin-1 too.
        const QString media = WriteFakeMedia(dir.filePath(QStringLiteral("Größe 日本 😀.txt")),
            {QStringLiteral("1;0;Format=AVC"), QStringLiteral("2;1;Language/String=Français"),
                QStringLiteral("2;1;Title=音楽 😀")});
        ASSERT_TRUE(LoadMediaInfoLibrary(FakeLibrary()));
        {
            MediaInfoHandle handle;
            ASSERT_TRUE(handle.isValid());
            EXPECT_EQ(FakeCounter("FakeMediaInfo_LiveHandles"), 1);
            ASSERT_TRUE(handle.open(media));
            // Read one after another: the library reuses its answer buffer.
            const QString format
                = handle.get(MediaInfoStreamKind::Video, 0, QStringLiteral("Format"));
            const QString language
                = handle.get(MediaInfoStreamKind::Audio, 1, QStringLiteral("Language/String"));
            const QString title
                = handle.get(MediaInfoStreamKind::Audio, 1, QStringLiteral("Title"));
            const QString missing
                = handle.get(MediaInfoStreamKind::Audio, 0, QStringLiteral("Title"));
            EXPECT_EQ(format, QStringLiteral("AVC"));
            EXPECT_EQ(language, QStringLiteral("Français"));
            EXPECT_EQ(title, QStringLiteral("音楽 😀"));
            EXPECT_TRUE(missing.isEmpty());
            EXPECT_TRUE(
                handle.get(MediaInfoStreamKind::Video, -1, QStringLiteral("Format")).isEmpty());
            EXPECT_EQ(FakeCounter("FakeMediaInfo_OpenFiles"), 1);
        }
        EXPECT_EQ(FakeCounter("FakeMediaInfo_OpenFiles"), 0);
        EXPECT_EQ(FakeCounter("FakeMediaInfo_LiveHandles"), 0);

        MediaInfoOption(QStringLiteral("Complete"), QStringLiteral("1"));
        EXPECT_EQ(InformOf(media), QStringLiteral("Fake MediaInfo A\nComplete: 1\n"));
        EXPECT_EQ(MediaInfoOption(QStringLiteral("Info_Version"), QString()),
            QStringLiteral("MediaInfoLib - v0.0 fake A"));
        EXPECT_EQ(
            InformOf(dir.filePath(QStringLiteral("absent.txt"))), QStringLiteral("(not opened)"));
        EXPECT_EQ(FakeCounter("FakeMediaInfo_LiveHandles"), 0);
    });
}

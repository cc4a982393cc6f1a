// The windows with the real FFmpeg (and the MediaInfo library, where
// installed) on a small clip made by the test.
#include "UiTestSupport.h"
#include "analysis/FFmpegProbe.h"
#include "encoding/SettingsDefaults.h"
#include "encoding/SettingsLists.h"
#include "support/TestSupport.h"
#include "ui/conversion/ConversionController.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"

#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class RealFFmpegWindows : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_ffmpeg = new QString(TestSupport::SystemFFmpeg());
        s_mediaInfo = new QString(TestSupport::SystemMediaInfo());
        s_dir = new QTemporaryDir;
        // One video and two audio streams, the second at another rate.
        s_clip = new QString(s_dir->filePath(QStringLiteral("clip one.mkv")));
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start(*s_ffmpeg,
            QStringLiteral("-hide_banner -loglevel error -f lavfi -i "
                           "testsrc=size=160x120:rate=25:duration=1 -f lavfi -i "
                           "sine=sample_rate=48000:duration=1 -f lavfi -i "
                           "sine=sample_rate=44100:duration=1 -map 0 -map 1 -map 2 -c:v libx264 "
                           "-preset ultrafast -c:a aac")
                    .split(u' ')
                << *s_clip);
        if (s_ffmpeg->isEmpty() || !ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
            s_clip->clear();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        delete s_clip;
        delete s_ffmpeg;
        delete s_mediaInfo;
    }
    void SetUp() override
    {
        if (s_clip->isEmpty())
            QLN_SKIP_MISSING() << "FFmpeg is not installed or cannot make the test clip";
    }

    static QLabel *label(const QWidget &window, const char *name)
    {
        return window.findChild<QLabel *>(QLatin1String(name));
    }

    static inline QString *s_ffmpeg = nullptr;
    static inline QString *s_mediaInfo = nullptr;
    static inline QString *s_clip = nullptr;
    static inline QTemporaryDir *s_dir = nullptr;
};

TEST_F(RealFFmpegWindows, FileInfoShowsTheFileAndCopiesWhatQuillonCliInfoPrints)
{
    TFormFileInfo window;
    window.setWebSite(WebSiteUrl(TAppParams()));
    QSignalSpy idle(&window, &TFormFileInfo::idle);
    EXPECT_TRUE(window.toggleShown());
    window.setFile(*s_clip, *s_ffmpeg, *s_mediaInfo);
    ASSERT_TRUE(idle.wait(30000));

    EXPECT_TRUE(window.windowTitle().startsWith(
        QStringLiteral("Video file properties   ::   clip one.mkv   ::   ")));
    EXPECT_EQ(label(window, "lblResolution")->text(), QStringLiteral("160 x 120"));
    EXPECT_EQ(label(window, "lblNumberOfAudioStreams")->text(), QStringLiteral("2"));
    EXPECT_EQ(label(window, "lblSamplingRate")->text(), QStringLiteral("48 000 Hz"));
    auto *video = window.findChild<QComboBox *>(QStringLiteral("cbVideoStreamNo"));
    auto *audio = window.findChild<QComboBox *>(QStringLiteral("cbAudioStreamNo"));
    EXPECT_EQ(video->count(), 1);
    EXPECT_FALSE(video->isEnabled());
    ASSERT_EQ(audio->count(), 2);
    EXPECT_TRUE(audio->isEnabled());
    audio->setCurrentIndex(1);
    EXPECT_EQ(label(window, "lblSamplingRate")->text(), QStringLiteral("44 100 Hz"));
    EXPECT_EQ(label(window, "lblResolution")->text(), QStringLiteral("160 x 120"));
    auto *grid = window.findChild<QTableWidget *>(QStringLiteral("ng"));
    ASSERT_EQ(grid->rowCount(), 3);

    // It fits a 768-pixel laptop screen; what does not fit scrolls, never
    // sideways, and every fact stays reachable.
    EXPECT_LE(window.frameGeometry().height(), 740);
    EXPECT_LE(window.minimumHeight(), 700);
    window.resize(window.width(), window.minimumHeight());
    QApplication::processEvents();
    auto *scroll = window.findChild<QScrollArea *>(QStringLiteral("scroll"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    // The window never gets narrower than its facts.
    EXPECT_GT(window.minimumSizeHint().width(), scroll->widget()->minimumSizeHint().width());
    EXPECT_LE(scroll->widget()->minimumSizeHint().width(), scroll->viewport()->width());
    scroll->ensureWidgetVisible(grid);
    EXPECT_FALSE(grid->visibleRegion().isEmpty());
    EXPECT_TRUE(grid->item(0, 1)->text().startsWith(QStringLiteral("Video: h264")));

    // The links open the file and its folder with the desktop's programs.
    UiTest::UrlRecorder opened;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    Q_EMIT label(window, "lblFileName")->linkActivated(QStringLiteral("#"));
    Q_EMIT label(window, "lblDirectory")->linkActivated(QStringLiteral("#"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(opened.urls,
        (QList<QUrl>{QUrl::fromLocalFile(*s_clip), QUrl::fromLocalFile(s_dir->path())}));

    QSignalSpy copied(&window, &TFormFileInfo::reportCopied);
    window.copyReport();
    ASSERT_TRUE(copied.wait(30000));
    QStringList args{QStringLiteral("--ffmpeg"), *s_ffmpeg};
    if (!s_mediaInfo->isEmpty())
        args << QStringLiteral("--mediainfo") << *s_mediaInfo;
    const TestSupport::CliRun cli = TestSupport::RunCli(args << QStringLiteral("info") << *s_clip);
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    EXPECT_EQ(QApplication::clipboard()->text(), cli.out);

    // Names are shown as they are, never as markup.
    const QString hostileDir = s_dir->filePath(QStringLiteral("<i>dir<i>"));
    const QString hostile = hostileDir + QStringLiteral("/<b>clip<b> <img src=x>.mkv");
    ASSERT_TRUE(QDir().mkpath(hostileDir));
    ASSERT_TRUE(QFile::copy(*s_clip, hostile));
    window.setFile(hostile, *s_ffmpeg, *s_mediaInfo);
    ASSERT_TRUE(idle.wait(30000));
    EXPECT_EQ(UiTest::ShownText(label(window, "lblFileName")->toolTip()), hostile);
    EXPECT_EQ(UiTest::ShownText(label(window, "lblDirectory")->toolTip()), hostileDir);

    // Without FFmpeg the window is emptied and the main window is told.
    QSignalSpy missing(&window, &TFormFileInfo::ffmpegMissing);
    window.setFile(*s_clip, QStringLiteral("/nonexistent/ffmpeg"), {});
    EXPECT_EQ(missing.count(), 1);
    EXPECT_TRUE(label(window, "lblResolution")->text().isEmpty());
    EXPECT_EQ(grid->rowCount(), 0);
}

TEST_F(RealFFmpegWindows, ConvertsAClipFromTheWindow)
{
    QTemporaryDir out;
    const QString input = out.filePath(QStringLiteral("in.mkv"));
    ASSERT_TRUE(QFile::copy(*s_clip, input));
    TFormProgress progress;
    TFormErrors errors;
    ConversionController controller(nullptr, &progress, &errors);
    controller.setDesktopServices(nullptr, nullptr);
    ConversionSetup s;
    s.settings = DefaultEncodingSettings(s.strings, AviCodec::Xvid);
    s.settings.cbAudioCodec = AudioCodec::Mp3;
    s.lists = BuildEncodingLists(s.strings, QStringLiteral("/nonexistent/resolutions.txt"),
        QStringLiteral("/nonexistent/fourcc_video_tags.txt"));
    s.params.ffmpeg = *s_ffmpeg;
    s.params.MediaInfoDll = *s_mediaInfo;
    ConversionRow row;
    row.FullFileName = input;

    QSignalSpy finished(&controller, &ConversionController::runFinished);
    ASSERT_TRUE(controller.convert(s, {row}));
    ASSERT_TRUE(finished.wait(60000));

    const ConversionResult &result = controller.lastResult();
    EXPECT_TRUE(result.rows[0].Status.startsWith(QStringLiteral("Done")))
        << result.rows[0].Status.toStdString();
    EXPECT_EQ(progress.progressValue(), 100);
    EXPECT_TRUE(progress.outputText().contains(QStringLiteral("muxing overhead")));
    TVideoFileInfo info;
    ProbeWithFFmpeg(out.filePath(QStringLiteral("in.avi")), *s_ffmpeg, {}, info);
    EXPECT_EQ(info.NumberOfVideoStreams, 1);
    EXPECT_EQ(info.VideoStreams[0].Codec.left(5), QStringLiteral("mpeg4"));
    EXPECT_TRUE(errors.log().isEmpty());
}

} // namespace

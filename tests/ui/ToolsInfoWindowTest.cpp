#include "ui/tools/ToolsInfoWindow.h"
#include "app/AppStartup.h"
#include "app/ProgramDir.h"
#include "i18n/AppStrings.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(ToolsInfoWindow, ShowsTheReportOfTheCliAndBuildsItAnewEachTime)
{
    SetProgramDir(TestSupport::BinDir());
    const TestSupport::CliRun cli = TestSupport::RunCli({"tools"});
    ASSERT_TRUE(cli.out.endsWith("\r\n"));
    const QString expected = cli.out.chopped(2);

    TAppParams params = InitAppParams(TestSupport::BinDir());
    TFormToolsInfo window(params, TAppStrings());
    QSignalSpy shown(&window, &TFormToolsInfo::reportShown);
    auto *view = window.findChild<QPlainTextEdit *>("me");
    ASSERT_NE(view, nullptr);
    window.show();
    EXPECT_EQ(view->toPlainText(), "Please wait...");
    ASSERT_TRUE(shown.wait(60000));
    EXPECT_EQ(window.report(), expected);
    EXPECT_EQ(view->toPlainText(), QString(expected).replace("\r\n", "\n"));
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(window.windowTitle(), "Tools info");

    QTest::mouseClick(window.findChild<QPushButton *>("btnCopy"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    // Shown again with another FFmpeg, the window reports that one.
    window.hide();
    params.ffmpeg = TestSupport::ToolPath("argv_recorder");
    window.show();
    ASSERT_TRUE(shown.wait(60000));
    EXPECT_TRUE(window.report().contains("File name: " + params.ffmpeg + "\r\n"))
        << window.report().toStdString();
}

// Shown again while FFmpeg hangs over the report: the new report stops the
// old one's FFmpeg, and comes without waiting for its time-out.
TEST(ToolsInfoWindow, ANewReportStopsTheOneWhoseFFmpegHangs)
{
    QTemporaryDir dir;
    const QString script = dir.filePath("script.txt");
    ASSERT_TRUE(TestSupport::WriteFile(script, "[first]\nq:ignore\nsleep:60000\n"));
    qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(script));
    SetProgramDir(TestSupport::BinDir());
    TAppParams params = InitAppParams(TestSupport::BinDir());
    params.ffmpeg = TestSupport::ToolPath("fake_ffmpeg");
    TFormToolsInfo window(params, TAppStrings());
    QSignalSpy shown(&window, &TFormToolsInfo::reportShown);
    window.show();
    QTest::qWait(300);
    window.hide();
    params.ffmpeg = TestSupport::ToolPath("argv_recorder");
    QElapsedTimer clock;
    clock.start();
    window.show();
    const bool arrived = shown.wait(20000);
    qunsetenv("QLN_FAKE_FFMPEG_SCRIPT");
    ASSERT_TRUE(arrived);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(shown.count(), 1); // the stopped report is never shown
    EXPECT_TRUE(window.report().contains("File name: " + params.ffmpeg + "\r\n"));
}

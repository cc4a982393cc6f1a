#include "ui/info/FileInfoWindow.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// An FFmpeg that hangs, in the analysis of the next file and in the report
// of the shown one, does not hold the window's close: both are stopped.
TEST(FileInfoWindow, ClosingStopsTheAnalysisAndTheReportOfAHungFFmpeg)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.mkv"));
    const QString script = dir.filePath(QStringLiteral("script.txt"));
    ASSERT_TRUE(TestSupport::WriteFile(file, "not decoded: the fake FFmpeg describes it"));
    ASSERT_TRUE(TestSupport::WriteFile(script, "[first]\nq:ignore\nsleep:60000\n"));
    const QString ffmpeg = TestSupport::ToolPath(QStringLiteral("fake_ffmpeg"));

    auto window = std::make_unique<TFormFileInfo>();
    QSignalSpy idle(window.get(), &TFormFileInfo::idle);
    window->setFile(file, ffmpeg, {});
    ASSERT_TRUE(idle.wait(10000));
    ASSERT_FALSE(window->fileName().isEmpty());

    qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(script));
    window->setFile(file, ffmpeg, {});
    window->copyReport();
    QTest::qWait(300);
    const bool busy = window->isBusy();
    QElapsedTimer closing;
    closing.start();
    window.reset();
    const qint64 closeMs = closing.elapsed();
    qunsetenv("QLN_FAKE_FFMPEG_SCRIPT");
    EXPECT_TRUE(busy);
    EXPECT_LT(closeMs, 5000);
}

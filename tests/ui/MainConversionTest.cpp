#include "MainWindowFixture.h"

#include "app/InterruptWatcher.h"
#include "support/TestSupport.h"
#include "ui/conversion/ConversionController.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <csignal>

namespace {

class MainConversion : public MainWindowFixture
{
protected:
    void TearDown() override
    {
        qunsetenv("QLN_FAKE_FFMPEG_SCRIPT");
        MainWindowFixture::TearDown();
    }
};

} // namespace

// Convert from the window: everything is disabled during the run, each row
// gets its status, and the window comes back after it; then the failed row
// alone can be checked for another try.
TEST_F(MainConversion, ConvertsTheCheckedRowsAndComesBack)
{
    write(QStringLiteral("fake.txt"),
        "[run match=bad]\nout:Conversion failed!\\r\\n\nexit:1\n[run]\nout:frame=1\\r\\n\n");
    qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(path(QStringLiteral("fake.txt"))));
    writeSettings(
        "ffmpeg=" + QFile::encodeName(TestSupport::ToolPath(QStringLiteral("fake_ffmpeg"))));
    TFormMain &window = open();
    const QString good = mediaFile(QStringLiteral("good.mkv"));
    const QString bad = mediaFile(QStringLiteral("bad.mkv"));
    addFiles({good, bad});

    QSignalSpy started(window.conversion(), &ConversionController::runStarted);
    QSignalSpy finished(window.conversion(), &ConversionController::runFinished);
    bool disabledDuringRun = false;
    QObject::connect(window.conversion(), &ConversionController::runStarted, &window, [&] {
        disabledDuringRun = !window.menuBar()->isEnabled()
            && !act(MainCommand::actAddFiles)->isEnabled() && !window.fileList()->isEnabled();
    });
    act(MainCommand::actConvert)->trigger();
    ASSERT_TRUE(finished.wait(20000) || !finished.isEmpty());
    EXPECT_EQ(started.size(), 1);
    EXPECT_TRUE(disabledDuringRun);

    const std::vector<FileListRow> &rows = window.fileList()->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].status.startsWith(QStringLiteral("Done"))) << rows[0].status.toStdString();
    EXPECT_TRUE(rows[1].status.startsWith(QStringLiteral("Error (1)")))
        << rows[1].status.toStdString();
    EXPECT_TRUE(window.menuBar()->isEnabled() && act(MainCommand::actAddFiles)->isEnabled());

    ASSERT_TRUE(act(MainCommand::actCheckFailed)->isEnabled());
    act(MainCommand::actCheckFailed)->trigger();
    EXPECT_FALSE(window.fileList()->rows()[0].active);
    EXPECT_TRUE(window.fileList()->rows()[1].active);
    // Another list than the one the run saw: no retry.
    window.fileList()->removeChecked();
    EXPECT_FALSE(act(MainCommand::actCheckFailed)->isEnabled());
}

// A logout or kill during a run: the run ends without a question, FFmpeg
// (here one that ignores "q") is stopped, its unfinished output removed, and
// the window closes as usual, saving the settings.
TEST_F(MainConversion, AStopSignalEndsTheRunAndClosesTheWindow)
{
    write(QStringLiteral("fake.txt"), "[run]\noutput:4000\nq:ignore\nsleep:30000\n");
    qputenv("QLN_FAKE_FFMPEG_SCRIPT", QFile::encodeName(path(QStringLiteral("fake.txt"))));
    writeSettings(
        "ffmpeg=" + QFile::encodeName(TestSupport::ToolPath(QStringLiteral("fake_ffmpeg"))));
    TFormMain &window = open();
    addFiles({mediaFile(QStringLiteral("a.mkv")), mediaFile(QStringLiteral("b.mkv"))});
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("quillon.ini"))));
    QSignalSpy closed(&window, &TFormMain::closed);
    act(MainCommand::actConvert)->trigger();
    const QString output = path(QStringLiteral("media/a.avi"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(output); }, 10000));

    InterruptWatcher stopSignals([&window] {
        QMetaObject::invokeMethod(&window, &TFormMain::closeForSignal, Qt::QueuedConnection);
    });
    bool asked = false;
    UiTest::OnModal<QMessageBox> refuse([&](QMessageBox *box) {
        asked = true;
        box->button(QMessageBox::No)->click();
    });
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_TRUE(closed.wait(15000));
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_FALSE(asked);
    EXPECT_EQ(stopSignals.exitStatus(), 128 + SIGTERM);
    EXPECT_FALSE(QFile::exists(output));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("media/b.avi"))));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("quillon.ini"))));
}

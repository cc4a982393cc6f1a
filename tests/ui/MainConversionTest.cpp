#include "MainWindowFixture.h"

#include "support/TestSupport.h"
#include "ui/conversion/ConversionController.h"

#include <QMenuBar>

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

// The conversion from the windows: the controller running the driver on its
// thread, the progress and error-log windows, with the fake FFmpeg.
#include "FakeDesktopBus.h"
#include "UiTestSupport.h"
#include "conversion/DriverTestSupport.h"
#include "ui/conversion/ConversionController.h"
#include "ui/conversion/DesktopServices.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/MarkupLabel.h"
#include "ui/conversion/PowerOffDialog.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/info/FileInfoWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <gmock/gmock.h>
#include <unistd.h>

using namespace DriverTest;
using ::testing::HasSubstr;
using UiTest::OnModal;

namespace {

// The children of this process that are the fake FFmpeg, with their state
// letter from /proc ("S" sleeping, "T" stopped...).
QStringList fakeFFmpegStates()
{
    QStringList states;
    QDirIterator procs(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (procs.hasNext()) {
        QFile stat(procs.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(stat.readAll());
        const qsizetype close = text.lastIndexOf(u')');
        const QStringList fields = text.mid(close + 2).split(u' ');
        if (fields.size() > 2 && text.contains(QLatin1String("(fake_ffmpeg)"))
            && fields[1].toLongLong() == ::getpid())
            states << fields[0];
    }
    return states;
}

// The texts of the progress window's labels, and its elapsed time in whole
// seconds: the one label that shows a bare "m:ss" (-1: none).
QStringList labelTexts(const TFormProgress &progress)
{
    QStringList texts;
    for (const QLabel *label : progress.findChildren<QLabel *>())
        texts << label->text();
    return texts;
}
int shownElapsedSeconds(const TFormProgress &progress)
{
    static const QRegularExpression span(QStringLiteral("^(\\d+):(\\d\\d)$"));
    for (const QString &text : labelTexts(progress))
        if (const QRegularExpressionMatch m = span.match(text); m.hasMatch())
            return m.captured(1).toInt() * 60 + m.captured(2).toInt();
    return -1;
}

class ConversionWindows : public DriverFixture
{
protected:
    void SetUp() override
    {
        DriverFixture::SetUp();
        controller.setPowerControl(&power);
        controller.setDesktopServices(nullptr, nullptr);
    }

    // These runs convert one file at a time, as they follow each file in
    // turn (RunningFilesWindowTest shows several at once).
    ConversionSetup setup()
    {
        ConversionSetup s = DriverFixture::setup();
        s.settings.cbSimultaneousConversions = 1;
        return s;
    }

    // Starts a run of the files and waits for its end.
    ConversionResult convert(
        const ConversionSetup &s, const QStringList &files, int timeoutMs = 30000)
    {
        QSignalSpy finished(&controller, &ConversionController::runFinished);
        EXPECT_TRUE(controller.convert(s, rowsOf(files)));
        EXPECT_TRUE(finished.count() > 0 || finished.wait(timeoutMs));
        return controller.lastResult();
    }

    // The row statuses as the main window was told them.
    void recordStatuses()
    {
        QObject::connect(&controller, &ConversionController::rowStatusChanged, &progress,
            [this](int row, const QString &status) {
                statuses << QStringLiteral("%1:%2").arg(row).arg(status);
            });
    }

    TFormProgress progress;
    TFormErrors errors;
    ConversionController controller{nullptr, &progress, &errors};
    QStringList statuses;
};

TEST_F(ConversionWindows, ConvertsTwoRowsShowingEachFileAndItsProgress)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:20,10\nout:\\nvideo:1kB audio:1kB "
                               "global headers:0kB muxing overhead: 1.5%\\r\\n\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b.mkv"));
    recordStatuses();
    QSignalSpy started(&controller, &ConversionController::runStarted);
    QSignalSpy titles(&controller, &ConversionController::titleChanged);
    progress.applySettings([] {
        ProgressSettings s;
        s.CloseAfterConversion = false;
        return s;
    }());
    bool shownDuringRun = false;
    QObject::connect(&controller, &ConversionController::rowStatusChanged, &progress,
        [&] { shownDuringRun = shownDuringRun || progress.isVisible(); });

    const ConversionResult result = convert(setup(), {a, b});

    ASSERT_EQ(started.count(), 1);
    EXPECT_FALSE(started[0][0].toBool()); // not batch-only
    EXPECT_TRUE(shownDuringRun);
    EXPECT_FALSE(controller.isRunning());
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_THAT(statuses.join(u'|').toStdString(),
        ::testing::MatchesRegex("0:Converting\\|0:Done \\(took 0:0.\\)\\|1:Converting\\|"
                                "1:Done \\(took 0:0.\\)"));
    EXPECT_EQ(result.rows[1].Status, statuses.last().mid(2));
    // The second file as the window shows it at the end.
    EXPECT_EQ(progress.inputFileText(), b);
    EXPECT_EQ(
        progress.outputFileText(), QStringLiteral(" %1/  b.avi").arg(QFileInfo(b).absolutePath()));
    EXPECT_THAT(progress.statusText().toStdString(), HasSubstr("Done"));
    EXPECT_EQ(progress.progressValue(), 100);
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Conversion"));
    EXPECT_EQ(progress.abortCaption(), QStringLiteral("C&lose"));
    EXPECT_TRUE(progress.isVisible());
    // The title showed the progress on the way, the program's title at the end.
    ASSERT_GE(titles.count(), 2);
    EXPECT_THAT(titles[titles.count() - 2][0].toString().toStdString(), HasSubstr("(2/2)"));
    EXPECT_EQ(titles.last()[0].toString(), QStringLiteral("Quillon 1.10  [64-bit]"));
    EXPECT_THAT(progress.outputText().toStdString(),
        ::testing::EndsWith(
            "speed=2.00x\nvideo:1kB audio:1kB global headers:0kB muxing overhead: 1.5%"));
}

TEST_F(ConversionWindows, MarkupShowsOnlyTheDescribedTagsAndFileNamesLiterally)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:2,0\n"));
    // A name in the described tag form: shown as it is, never obeyed.
    const QString tagged = makeInput(QStringLiteral("<font color=\"#FF0000\">x<b>.mkv"));
    convert(setup(), {tagged});

    EXPECT_EQ(progress.outputFileText(),
        QStringLiteral(" %1/  <font color=\"#FF0000\">x<b>.avi").arg(m_dir.path()));
    const auto *output = progress.findChildren<MarkupLabel *>().at(0);
    const auto *status = progress.findChildren<MarkupLabel *>().at(1);
    EXPECT_THAT(output->text().toStdString(),
        HasSubstr("&lt;font color=&quot;#FF0000&quot;&gt;x&lt;b&gt;.avi"));
    EXPECT_THAT(output->text().toStdString(), ::testing::Not(HasSubstr("#ff0000")));
    EXPECT_THAT(output->text().toStdString(), HasSubstr("<span style=\"background-color:#696969;"));
    EXPECT_THAT(status->text().toStdString(), ::testing::StartsWith("<b>Done"));
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(31, 108, 224)); // ColorOK

    // An output folder that cannot be made is named literally in the box.
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("file")), "not a folder"));
    ConversionSetup s = setup();
    s.settings.rbOutDir = true;
    s.settings.edOutDir = path(QStringLiteral("file/<b>out<b> <img src=x>"));
    QString shown;
    OnModal<QMessageBox> answer([&](QMessageBox *box) {
        shown = UiTest::ShownText(box->text(), box->textFormat());
        box->accept();
    });
    convert(s, {tagged});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 5000));
    EXPECT_THAT(shown.toStdString(), HasSubstr('"' + s.settings.edOutDir.toStdString() + '"'));
}

TEST_F(ConversionWindows, AbortRespondsAtOnceWithAnFFmpegThatHonoursQOrKeepsSilent)
{
    for (const bool honoursQ : {true, false}) {
        SCOPED_TRACE(honoursQ);
        writeScript(honoursQ ? QStringLiteral("[run]\noutput:4000\nprogress:600,25\n")
                             : QStringLiteral("[run]\noutput:4000\nq:ignore\nsleep:30000\n"));
        QFile::remove(m_log);
        const QString a = makeInput(QStringLiteral("a.mkv"));
        const QString b = makeInput(QStringLiteral("b.mkv"));
        QFile::remove(path(QStringLiteral("a.avi")));
        ConversionSetup s = setup();
        s.abortGraceMs = 500;
        QSignalSpy finished(&controller, &ConversionController::runFinished);
        ASSERT_TRUE(controller.convert(s, rowsOf({a, b})));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !conversions().empty(); }, 10000));
        QTest::qWait(200);
        QString question;
        OnModal<QMessageBox> answer([&](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });

        QElapsedTimer clicked;
        clicked.start();
        progress.findChildren<QPushButton *>().last()->click(); // Abort
        EXPECT_LT(clicked.elapsed(), 200);
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 10000));

        const ConversionResult &result = controller.lastResult();
        EXPECT_EQ(result.rows[0].Status.left(7), QStringLiteral("Aborted"));
        EXPECT_EQ(result.rows[1].Outcome, RowOutcome::NotReached);
        if (honoursQ) {
            EXPECT_THAT(question.toStdString(), HasSubstr("The conversion has been aborted."));
        } else {
            // Stopped by force: a failure, logged, whose output is deleted at
            // once; the log is not put in front of the user.
            EXPECT_TRUE(question.isEmpty());
            EXPECT_THAT(errors.viewText().toStdString(), HasSubstr("ExitCode: 1"));
            EXPECT_FALSE(errors.isVisible());
        }
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.avi"))));
        EXPECT_TRUE(fakeFFmpegStates().isEmpty());
        EXPECT_EQ(controller.checksForRetry(), (std::vector<bool>{true, false}));
    }
}

TEST_F(ConversionWindows, AChattyFFmpegNeverStallsTheWindowAndItsOutputArrivesWhole)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nlines:50000,1000\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    int ticks = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (sinceTick.isValid())
            longestGap = std::max(longestGap, sinceTick.elapsed());
        sinceTick.start();
        ++ticks;
    });
    probe.start();

    convert(setup(), {a});
    probe.stop();

    // Not a timing benchmark (bench/ measures that): the loop kept running.
    EXPECT_GT(ticks, 50);
    EXPECT_LT(longestGap, 1000);
    const QStringList lines = progress.outputText().split(u'\n');
    const auto first = lines.indexOf(QStringLiteral("chatty line 1"));
    ASSERT_GE(first, 0);
    EXPECT_EQ(lines.at(first + 49999), QStringLiteral("chatty line 50000"));
    EXPECT_EQ(lines.count(QStringLiteral("chatty line 25000")), 1);
}

TEST_F(ConversionWindows, PauseStopsFFmpegUntilResumeAndTheFileStillCompletes)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:60,25\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    recordStatuses();
    QSignalSpy finished(&controller, &ConversionController::runFinished);
    ASSERT_TRUE(controller.convert(setup(), rowsOf({a})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.progressValue() > 0; }, 10000));
    QPushButton *pause = progress.findChildren<QPushButton *>().first();
    EXPECT_EQ(pause->text(), QStringLiteral("&Pause"));

    pause->click();
    EXPECT_EQ(pause->text(), QStringLiteral("&Resume"));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return fakeFFmpegStates() == QStringList{QStringLiteral("T")}; }, 5000));
    QTest::qWait(300);
    const int frozen = progress.progressValue();
    const int elapsedAtPause = shownElapsedSeconds(progress);
    ASSERT_GE(elapsedAtPause, 0);
    QTest::qWait(2200);
    EXPECT_EQ(progress.progressValue(), frozen);
    // The clock stands still, and says why where the time left stood.
    EXPECT_EQ(shownElapsedSeconds(progress), elapsedAtPause);
    EXPECT_TRUE(labelTexts(progress).contains(QStringLiteral("Paused")));
    EXPECT_EQ(fakeFFmpegStates(), QStringList{QStringLiteral("T")});
    EXPECT_TRUE(controller.isRunning());

    pause->click();
    EXPECT_EQ(pause->text(), QStringLiteral("&Pause"));
    // Resumed, it goes on from where it stood: the 2.5 s of pause are left out.
    QTest::qWait(250);
    EXPECT_LE(shownElapsedSeconds(progress), elapsedAtPause + 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 10000));
    EXPECT_EQ(controller.lastResult().rows[0].Outcome, RowOutcome::Done);
    // 1.5 s of work, 2.5 s of pause: the time taken leaves the pause out.
    EXPECT_EQ(statuses.last(), QStringLiteral("0:Done (took 0:01)"));
}

TEST_F(ConversionWindows, TheErrorLogWindowAfterAFailedFileSavedAsHtmlAndLog)
{
    writeScript(QStringLiteral("[run]\nout:Unknown encoder 'libxvid'\\r\\n\nexit:1\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    errors.setSaveFolder(m_dir.path());

    const ConversionResult result = convert(setup(), {a});

    EXPECT_EQ(result.rows[0].Status, QStringLiteral("Error (1) (took 0:00)"));
    // The bar stays where the file stopped, in the status's error colour.
    const auto *bar = progress.findChild<QProgressBar *>();
    EXPECT_LT(bar->value(), 100);
    EXPECT_EQ(bar->palette().color(QPalette::Highlight),
        progress.findChildren<MarkupLabel *>().at(1)->palette().color(QPalette::WindowText));
    EXPECT_TRUE(errors.isVisible());
    EXPECT_EQ(errors.windowTitle(), QStringLiteral("Errors (1)"));
    const QString text = errors.viewText();
    EXPECT_THAT(text.toStdString(), HasSubstr("Error # 1"));
    EXPECT_THAT(text.toStdString(), HasSubstr("ExitCode: 1"));
    EXPECT_THAT(text.toStdString(),
        ::testing::EndsWith(TAppStrings().Errors.Hint_EncoderMissing.toStdString()));
    EXPECT_TRUE(controller.hasRowsToRetry());

    // Saved through the dialog: the HTML choice, a typed name with another
    // extension. The file under the changed name exists: the user is asked.
    ASSERT_TRUE(TestSupport::WriteFile(path(QStringLiteral("report.html")), "older report"));
    OnModal<QFileDialog> html([&](QFileDialog *dialog) {
        dialog->selectNameFilter(QStringLiteral("HTML file (*.html)"));
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
            ->setText(path(QStringLiteral("report.txt")));
        static_cast<QDialog *>(dialog)->accept();
    });
    OnModal<QMessageBox> replace([](QMessageBox *box) { box->button(QMessageBox::Yes)->click(); });
    ASSERT_TRUE(errors.saveLog());
    EXPECT_EQ(replace.seen(), 1);
    const QByteArray page = TestSupport::ReadFile(path(QStringLiteral("report.html")));
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(page.contains("<span class=\"e\">Unknown</span>"));

    ASSERT_TRUE(errors.saveLogAs(path(QStringLiteral("report.txt")), ErrorLogFormat::Log));
    EXPECT_EQ(
        QString::fromUtf8(TestSupport::ReadFile(path(QStringLiteral("report.log")))), text + u'\n');
}

TEST_F(ConversionWindows, TheBatchDialogWritesAShellScriptThatShRuns)
{
    const QString a = makeInput(QStringLiteral("a b.mkv"));
    const QString c = makeInput(QStringLiteral("it's $c.mkv"));
    QSignalSpy finished(&controller, &ConversionController::runFinished);
    OnModal<QFileDialog> save([&](QFileDialog *dialog) {
        EXPECT_EQ(dialog->directory().absolutePath(), m_dir.path());
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Shell scripts (*.sh)"));
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("convert"));
        static_cast<QDialog *>(dialog)->accept();
    });

    const QString script = controller.saveBatchScript(setup(), rowsOf({a, c}), m_dir.path());

    EXPECT_EQ(script, path(QStringLiteral("convert.sh")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 10000));
    EXPECT_TRUE(controller.lastResult().ScriptSaved);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(conversions().empty());
    // F8 afterwards: what was written and where, not a converted file.
    EXPECT_EQ(progress.statusText(), QStringLiteral("Batch script written: \"%1\"").arg(script));
    EXPECT_LT(progress.findChild<QProgressBar *>()->value(), 100);
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.setStandardInputFile(QProcess::nullDevice());
    shell.start(QStringLiteral("sh"), {script});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAll().toStdString();
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("a b.avi"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("it's $c.avi"))));
}

TEST_F(ConversionWindows, PowerOffOnlyAfterTheCountdownThatTheUserCanCancel)
{
    const QString a = makeInput(QStringLiteral("a.mkv"));
    QSignalSpy closing(&controller, &ConversionController::closeApplicationRequested);
    ConversionSetup s = setup();
    s.settings.cbAfterConversion = AfterConversion::CloseWindows;
    s.settings.cbOutputExists = OutputExists::Overwrite;
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        int secondsShown = 0;
        OnModal<PowerOffDialog> countdown([&](PowerOffDialog *dialog) {
            secondsShown = dialog->secondsLeft();
            dialog
                ->findChild<QPushButton *>(
                    cancel ? QStringLiteral("btnCancel") : QStringLiteral("btnPowerOffNow"))
                ->click();
        });
        convert(s, {a});
        EXPECT_EQ(countdown.seen(), 1);
        EXPECT_EQ(secondsShown, 60);
        EXPECT_EQ(power.calls, cancel ? 0 : 1);
        EXPECT_EQ(closing.count(), cancel ? 0 : 1);
    }

    // Left alone, the countdown runs out by itself.
    PowerOffDialog dialog(TAppStrings(), 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_GE(timer.elapsed(), 900);
    // It ends as its last second runs out, without a second showing "0".
    EXPECT_EQ(dialog.secondsLeft(), 0);
    EXPECT_EQ(dialog.findChild<QProgressBar *>()->value(), 1);
}

TEST_F(ConversionWindows, ClosingDuringARunAsksAbortsAndLeavesNoFFmpegBehind)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:600,25\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    QSignalSpy finished(&controller, &ConversionController::runFinished);
    ASSERT_TRUE(controller.convert(setup(), rowsOf({a})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.progressValue() > 0; }, 10000));
    QStringList questions;
    bool keepRunning = true;
    OnModal<QMessageBox> answer([&](QMessageBox *box) {
        questions << box->text();
        const bool close = box->text().contains(QLatin1String("abort it and close"));
        box->button(close && !keepRunning ? QMessageBox::Yes : QMessageBox::No)->click();
    });

    EXPECT_FALSE(controller.confirmClose());
    EXPECT_TRUE(controller.isRunning());
    keepRunning = false;
    EXPECT_TRUE(controller.confirmClose());

    EXPECT_FALSE(controller.isRunning());
    EXPECT_TRUE(fakeFFmpegStates().isEmpty());
    ASSERT_EQ(questions.size(), 3);
    EXPECT_THAT(questions[1].toStdString(), HasSubstr("abort it and close"));
    EXPECT_THAT(questions[2].toStdString(), HasSubstr("partially converted file"));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("a.avi")))); // answered No
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(ConversionWindows, HiddenOutputShowsPleaseWaitUntilTheEnd)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nout:Input #0\\n\nprogress:40,25\n"
                               "out:\\nvideo:1kB muxing overhead: 1%\\n\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    progress.findChildren<QCheckBox *>().first()->setChecked(true);
    QSignalSpy finished(&controller, &ConversionController::runFinished);
    ASSERT_TRUE(controller.convert(setup(), rowsOf({a})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.progressValue() > 0; }, 10000));
    EXPECT_EQ(progress.outputText(), QStringLiteral("Please wait..."));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_THAT(progress.outputText().toStdString(), ::testing::StartsWith("Input #0\nframe="));
    EXPECT_THAT(progress.outputText().toStdString(), ::testing::EndsWith("muxing overhead: 1%"));
}

TEST_F(ConversionWindows, F8AndTheCloseBoxOfTheProgressWindow)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:600,25\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    QSignalSpy finished(&controller, &ConversionController::runFinished);
    OnModal<QMessageBox> keep([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
    ASSERT_TRUE(controller.convert(setup(), rowsOf({a})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.progressValue() > 0; }, 10000));

    progress.toggleShown(); // F8
    EXPECT_TRUE(progress.isVisible()); // no effect during a run
    progress.close(); // the close box: Abort, and the window goes
    EXPECT_FALSE(progress.isVisible());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(controller.lastResult().rows[0].Outcome, RowOutcome::Aborted);

    progress.toggleShown();
    EXPECT_TRUE(progress.isVisible());
    progress.toggleShown();
    EXPECT_FALSE(progress.isVisible());
}

TEST_F(ConversionWindows, TheProgressWindowStartsOnAbortAndEscIsAbortOrClose)
{
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:600,25\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    QSignalSpy finished(&controller, &ConversionController::runFinished);
    QSignalSpy abortAsked(&progress, &TFormProgress::abortClicked);
    OnModal<QMessageBox> keep([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
    ProgressSettings stays;
    stays.CloseAfterConversion = false;
    progress.applySettings(stays);
    ASSERT_TRUE(controller.convert(setup(), rowsOf({a})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.progressValue() > 0; }, 10000));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&progress));

    // The keys start on Abort, and its focus frame shows without a Tab.
    auto *abort = qobject_cast<QPushButton *>(QApplication::focusWidget());
    ASSERT_TRUE(abort);
    EXPECT_EQ(abort->text(), progress.abortCaption());
    QStyleOptionButton option;
    option.initFrom(abort);
    EXPECT_TRUE(option.state & QStyle::State_HasFocus);
    EXPECT_TRUE(option.state & QStyle::State_KeyboardFocusChange);

    // Enter presses the focused button, here Pause.
    QSignalSpy pauseAsked(&progress, &TFormProgress::pauseClicked);
    auto *pause = progress.findChildren<QPushButton *>().first();
    ASSERT_NE(pause, abort);
    pause->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pause, Qt::Key_Return);
    EXPECT_EQ(pauseAsked.count(), 1);

    // Esc during the run is the Abort button; the window stays.
    QTest::keyClick(pause, Qt::Key_Escape);
    EXPECT_EQ(abortAsked.count(), 1);
    EXPECT_TRUE(progress.isVisible());
    ASSERT_TRUE(finished.count() == 1 || finished.wait(10000));
    EXPECT_EQ(controller.lastResult().rows[0].Outcome, RowOutcome::Aborted);

    // Between runs Esc closes the window, and Enter presses the focused
    // button.
    ASSERT_TRUE(progress.isVisible());
    progress.activateWindow(); // back from the question
    ASSERT_TRUE(QTest::qWaitForWindowActive(&progress));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(progress.isVisible());
    progress.toggleShown();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&progress));
    EXPECT_EQ(QApplication::focusWidget(), abort);
    QTest::keyClick(abort, Qt::Key_Return);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(abortAsked.count(), 1);
}

TEST_F(ConversionWindows, TheReadOnlyLogShowsACaretTheKeysMove)
{
    errors.addEntry({QStringLiteral("first line"), QStringLiteral("second line")});
    errors.showOverOwner();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&errors));
    auto *me = errors.findChild<QPlainTextEdit *>(QStringLiteral("me"));
    me->setFocus(Qt::TabFocusReason);
    QTest::keyClick(me, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(me->textCursor().position(), 0);
    QTest::keyClick(me, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_TRUE(me->textCursor().hasSelection());
    // Read-only all the same.
    QTest::keyClicks(me, QStringLiteral("x"));
    EXPECT_FALSE(errors.viewText().contains(u'x'));
}

TEST_F(ConversionWindows, TheRunKeepsTheSystemAwakeAndEndsWithOneNotification)
{
    UiTest::FakeDesktopBus bus;
    if (!bus.isRunning())
        GTEST_SKIP() << "no dbus-daemon";
    IdleInhibitor inhibitor(bus.clientConnection());
    DesktopNotifier notifier(bus.clientConnection());
    controller.setDesktopServices(&inhibitor, &notifier);
    writeScript(QStringLiteral("[run]\noutput:4000\nprogress:20,25\n"));
    const QString a = makeInput(QStringLiteral("a.mkv"));
    const QString b = makeInput(QStringLiteral("b.mkv"));
    makeInput(QStringLiteral("b.avi")); // b is converted under a new name
    QSignalSpy finished(&controller, &ConversionController::runFinished);

    ASSERT_TRUE(controller.convert(setup(), rowsOf({a, b})));
    ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.isHeld(); }, 5000));
    ASSERT_EQ(bus.inhibitions.size(), 1u);
    EXPECT_EQ(bus.inhibitions[0].request.at(0), QStringLiteral("idle"));
    EXPECT_EQ(bus.inhibitions[0].request.at(3), QStringLiteral("block"));
    EXPECT_TRUE(bus.stillHeld(bus.inhibitions[0]));
    ASSERT_TRUE(finished.wait(10000));

    EXPECT_FALSE(inhibitor.isHeld());
    EXPECT_FALSE(bus.stillHeld(bus.inhibitions[0]));
    EXPECT_EQ(controller.lastResult().rows[1].Outcome, RowOutcome::Renamed);
    // No main window is active here: the batch ends with one notification.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bus.notifications.empty(); }, 5000));
    QTest::qWait(200);
    ASSERT_EQ(bus.notifications.size(), 1u);
    EXPECT_EQ(bus.notifications[0].appName, QStringLiteral("Quillon"));
    EXPECT_EQ(bus.notifications[0].summary, QStringLiteral("Conversion finished"));
    EXPECT_EQ(bus.notifications[0].body, QStringLiteral("Files converted: 2, failed: 0"));
}

TEST_F(ConversionWindows, SetLangReachesTheProgressAndErrorLogWindows)
{
    TAppStrings strings;
    strings.Progress.Caption = QStringLiteral("Umwandlung");
    strings.Progress.chHideEncoderOutput = QStringLiteral("Ausgabe verbergen");
    strings.Main.Close = QStringLiteral("Schliessen");
    strings.Errors.Caption = QStringLiteral("Fehler");
    strings.Errors.actSaveLog = QStringLiteral("Speichern...");
    strings.FileInfo.Caption = QStringLiteral("Dateieigenschaften");
    strings.FileInfo.lblDuration = QStringLiteral("Dauer:");
    TFormFileInfo info;
    progress.SetLang(strings);
    errors.SetLang(strings);
    info.SetLang(strings);

    EXPECT_EQ(progress.windowTitle(), QStringLiteral("Umwandlung"));
    EXPECT_EQ(progress.abortCaption(), QStringLiteral("Schliessen"));
    EXPECT_EQ(
        progress.findChildren<QCheckBox *>().first()->text(), QStringLiteral("Ausgabe verbergen"));
    EXPECT_EQ(errors.windowTitle(), QStringLiteral("Fehler"));
    EXPECT_EQ(errors.findChildren<QPushButton *>().at(1)->text(), QStringLiteral("Speichern..."));
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Dateieigenschaften"));
    const QList<QLabel *> labels = info.findChildren<QLabel *>();
    EXPECT_TRUE(std::any_of(labels.cbegin(), labels.cend(),
        [](const QLabel *label) { return label->text() == QStringLiteral("Dauer:"); }));
}

} // namespace

#include "ui/conversion/ConversionController.h"

#include "app/AppInfo.h"
#include "conversion/JobCount.h"
#include "conversion/ProgressFeed.h"
#include "conversion/TimeLeft.h"
#include "ui/common/DialogParent.h"
#include "ui/conversion/BatchScriptDialog.h"
#include "ui/conversion/DesktopServices.h"
#include "ui/conversion/ErrorLogWindow.h"
#include "ui/conversion/PowerOffDialog.h"
#include "ui/conversion/ProgressWindow.h"
#include "ui/conversion/ProgressWindowLink.h"
#include "ui/conversion/WindowFrontEnd.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

// The window reads the progress this often: enough for a smooth bar, few
// enough repaints for a chatty FFmpeg.
constexpr int TickMs = 100;

// The settings' list and the run's count go to the same largest number.
static_assert(MaxJobs == MaxSimultaneousConversions);

} // namespace

// One run: its feed, front end and driver.
struct ConversionController::Run
{
    explicit Run(TFormProgress *progress)
        : frontEnd(feed)
        , driver(frontEnd)
        , link(frontEnd, progress)
    { }

    ProgressFeed feed;
    WindowFrontEnd frontEnd;
    ConversionDriver driver;
    ProgressWindowLink link;
    bool batchOnly = false;
    bool closeRequested = false;
    bool abortTaken = false;
    // The run's end has reached the windows: the titles are final.
    bool ended = false;
    ConversionResult result;
};

ConversionController::ConversionController(
    QWidget *mainWindow, TFormProgress *progress, TFormErrors *errors, QObject *parent)
    : QObject(parent)
    , m_mainWindow(mainWindow)
    , m_progress(progress)
    , m_errors(errors)
    , m_ownPower(std::make_unique<Login1PowerControl>())
    , m_power(m_ownPower.get())
    , m_ownInhibitor(std::make_unique<IdleInhibitor>())
    , m_ownNotifier(std::make_unique<DesktopNotifier>())
    , m_inhibitor(m_ownInhibitor.get())
    , m_notifier(m_ownNotifier.get())
{
    m_tick = new QTimer(this);
    m_tick->setInterval(TickMs);
    connect(m_tick, &QTimer::timeout, this, &ConversionController::onTick);
    if (m_progress) {
        connect(m_progress, &TFormProgress::abortClicked, this, &ConversionController::abort);
        connect(m_progress, &TFormProgress::pauseClicked, this, &ConversionController::pause);
        connect(m_progress, &TFormProgress::resumeClicked, this, &ConversionController::resume);
        connect(m_progress, &TFormProgress::hideEncoderOutputChanged, this, [this](bool hide) {
            if (m_run)
                m_run->driver.setHideEncoderOutput(hide);
        });
    }
}

ConversionController::~ConversionController()
{
    if (!m_run)
        return;
    m_run->driver.RequestAbort();
    m_run->frontEnd.cancelQuestions();
    m_runJob.stopAndWait();
    if (m_inhibitor)
        m_inhibitor->release();
}

void ConversionController::SetLang(const TAppStrings &strings)
{
    m_strings = strings;
}

void ConversionController::setPowerControl(IPowerControl *power)
{
    m_power = power;
}

void ConversionController::setDesktopServices(IdleInhibitor *inhibitor, DesktopNotifier *notifier)
{
    m_inhibitor = inhibitor;
    m_notifier = notifier;
}

bool ConversionController::convert(ConversionSetup setup, std::vector<ConversionRow> rows)
{
    setup.BatchOnly = false;
    setup.BatchFileName.clear();
    return start(std::move(setup), std::move(rows));
}

QString ConversionController::saveBatchScript(
    const ConversionSetup &setup, std::vector<ConversionRow> rows, const QString &lastDir)
{
    if (isRunning())
        return {};
    QString fileName = AskBatchScriptFileName(dialogParent(), setup.strings, lastDir);
    if (fileName.isEmpty() || !startBatchScript(setup, std::move(rows), fileName))
        return {};
    return fileName;
}

bool ConversionController::startBatchScript(
    ConversionSetup setup, std::vector<ConversionRow> rows, const QString &fileName)
{
    setup.BatchOnly = true;
    setup.BatchFileName = fileName;
    return start(std::move(setup), std::move(rows));
}

bool ConversionController::isRunning() const
{
    return m_run != nullptr;
}

bool ConversionController::start(ConversionSetup setup, std::vector<ConversionRow> rows)
{
    if (m_run)
        return false;
    setup.ShowFileTimes = true;
    setup.jobs = setup.settings.cbSimultaneousConversions;
    setup.power = m_power;
    if (m_progress)
        setup.HideEncoderOutput = m_progress->hideEncoderOutput();

    m_strings = setup.strings;
    m_run = std::make_unique<Run>(m_progress);
    m_run->batchOnly = setup.BatchOnly;
    m_paused = false;
    m_fileLeftMs = m_batchLeftMs = -1;
    m_title.clear();
    connectRun(*m_run);
    m_tick->start();
    // DisableAll at once: no second command may slip in before the run's
    // first word arrives.
    if (m_errors)
        m_errors->ClearErrorLog();
    if (!m_run->batchOnly && m_inhibitor)
        m_inhibitor->acquire(m_strings.Progress.Caption);
    Q_EMIT runStarted(m_run->batchOnly);
    Run *run = m_run.get();
    // Abort and pause go to the driver itself (RequestAbort, pause): the
    // job's own stop flag stays unused.
    m_runJob.run(
        BackgroundJobs::EveryJob,
        [run, setup = std::move(setup), rows = std::move(rows)](BackgroundJob &) mutable {
            try {
                run->result = run->driver.run(setup, std::move(rows));
            } catch (const std::exception &error) {
                run->result.End = ConversionEnd::RunnerFailed;
                Q_EMIT run->frontEnd.failed(QString::fromLocal8Bit(error.what()));
            } catch (...) {
                run->result.End = ConversionEnd::RunnerFailed;
            }
            run->frontEnd.markDone();
        },
        [this] { onWorkerDone(); });
    return true;
}

void ConversionController::connectRun(Run &run)
{
    WindowFrontEnd *fe = &run.frontEnd;
    const auto queued = Qt::QueuedConnection;
    // The progress window hears of the files by the link; the times follow
    // what it takes.
    connect(&run.link, &ProgressWindowLink::progressTaken, this, &ConversionController::onProgress);
    connect(
        fe, &WindowFrontEnd::fileBegan, this,
        [this] {
            // With several files at once the time left is the chosen file's.
            if (!m_progress || m_progress->chosenFileNo() == 0)
                m_fileLeftMs = -1;
        },
        queued);
    connect(fe, &WindowFrontEnd::rowStatus, this, &ConversionController::rowStatusChanged, queued);
    connect(
        fe, &WindowFrontEnd::errorEntry, this,
        [this](const QStringList &lines, int) {
            if (m_errors)
                m_errors->addEntry(lines);
        },
        queued);
    connect(fe, &WindowFrontEnd::runEnded, this, &ConversionController::onRunEnded, queued);
    connect(
        fe, &WindowFrontEnd::warned, this,
        [this](const QString &text) { showMessage(QMessageBox::Warning, text); }, queued);
    connect(
        fe, &WindowFrontEnd::failed, this,
        [this](const QString &text) { showMessage(QMessageBox::Critical, text); }, queued);
    connect(
        fe, &WindowFrontEnd::errorLogReady, this, &ConversionController::onErrorLogReady, queued);
    connect(
        fe, &WindowFrontEnd::closeRequested, this,
        [this] {
            // Told once the run is over, so that closing finds no run active.
            if (m_run)
                m_run->closeRequested = true;
        },
        queued);
    connect(
        fe, &WindowFrontEnd::questionAsked, this, &ConversionController::onQuestionAsked, queued);
}

void ConversionController::onRunEnded(const ConversionRunEnd &end)
{
    // The link has shown the end in the progress window already.
    if (m_run)
        m_run->ended = true;
    if (m_progress && m_progress->closeAfterConversion())
        m_progress->hide();
    m_title = end.ApplicationTitle;
    Q_EMIT titleChanged(end.ApplicationTitle);
    if (m_inhibitor)
        m_inhibitor->release();
}

void ConversionController::onErrorLogReady(const QString &caption, bool show)
{
    if (!m_errors)
        return;
    m_errors->setCaptionText(caption);
    if (show)
        m_errors->showOverOwner();
}

void ConversionController::abort()
{
    if (!m_run || m_run->abortTaken)
        return;
    if (m_paused) {
        m_paused = false;
        Q_EMIT pausedChanged(false);
    }
    // Also between two files: the walk stops before the next one.
    m_run->driver.RequestAbort();
    m_run->abortTaken = true;
    if (m_progress) {
        m_progress->setPaused(false);
        m_progress->abortTaken();
    }
}

void ConversionController::pause()
{
    if (!m_run || m_paused || m_run->batchOnly || !m_run->driver.pause())
        return;
    m_paused = true;
    if (m_progress)
        m_progress->setPaused(true);
    Q_EMIT pausedChanged(true);
}

void ConversionController::resume()
{
    if (!m_run || !m_paused)
        return;
    m_run->driver.resume();
    m_paused = false;
    if (m_progress)
        m_progress->setPaused(false);
    Q_EMIT pausedChanged(false);
}

bool ConversionController::confirmClose()
{
    if (!m_run)
        return true;
    // A question of the run is on screen and waits for its answer: the
    // run cannot end before it has one.
    if (m_answering)
        return false;
    const QMessageBox::StandardButton answer = QMessageBox::question(dialogParent(),
        QLatin1String(AppInfo::ProgramName), FormatAppString(m_strings.Main.CloseDuringConversion),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes || !m_run)
        return !m_run;
    abort();
    // Waits without running the event loop: nothing else may start now.
    // The run's last questions are still put to the user.
    while (const std::optional<PendingQuestion> question = m_run->frontEnd.waitForQuestionOrDone())
        answerQuestion(*question);
    finishRun();
    return true;
}

bool ConversionController::abortForExit()
{
    if (!m_run)
        return true;
    abort();
    m_run->frontEnd.cancelQuestions();
    if (m_answering) {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
        return false;
    }
    while (m_run->frontEnd.waitForQuestionOrDone()) { }
    finishRun();
    return true;
}

std::vector<bool> ConversionController::checksForRetry() const
{
    return ChecksForRetry(m_lastResult.rows);
}

bool ConversionController::hasRowsToRetry() const
{
    return HasRowsToRetry(m_lastResult.rows);
}

void ConversionController::onTick()
{
    drainFeed();
    updateTimes();
}

void ConversionController::drainFeed()
{
    if (m_run)
        m_run->link.drain();
}

void ConversionController::onProgress(
    const QString &applicationTitle, int64_t fileLeftMs, int64_t batchLeftMs)
{
    m_fileLeftMs = fileLeftMs;
    m_batchLeftMs = batchLeftMs;
    if (!m_run || m_run->ended)
        return;
    const QString title
        = TitleWithTimeLeft(applicationTitle, batchLeftMs, m_strings.Progress.TitleTimeLeft);
    if (!title.isEmpty() && title != m_title) {
        m_title = title;
        Q_EMIT titleChanged(title);
    }
}

void ConversionController::updateTimes()
{
    if (m_progress && m_run && !m_run->batchOnly)
        m_progress->setTimes(elapsedMs(), m_fileLeftMs, m_batchLeftMs);
}

int64_t ConversionController::elapsedMs() const
{
    return m_run ? m_run->driver.elapsedMs() : -1;
}

void ConversionController::onQuestionAsked()
{
    if (!m_run)
        return;
    if (const std::optional<PendingQuestion> question = m_run->frontEnd.takeQuestion())
        answerQuestion(*question);
}

void ConversionController::answerQuestion(const PendingQuestion &question)
{
    m_answering = true;
    bool yes = false;
    if (question.kind == PendingQuestion::PowerOff) {
        PowerOffDialog dialog(m_strings, PowerOffCountdownSeconds, dialogParent());
        yes = dialog.exec() == QDialog::Accepted;
    } else {
        QMessageBox box(QMessageBox::Question, QLatin1String(AppInfo::ProgramName), question.text,
            QMessageBox::Yes | QMessageBox::No, dialogParent());
        box.setTextFormat(Qt::PlainText);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setObjectName(QStringLiteral("conversionQuestion"));
        // Nothing else may start or close while the run waits.
        box.setWindowModality(Qt::ApplicationModal);
        yes = box.exec() == QMessageBox::Yes;
    }
    m_answering = false;
    if (m_run)
        m_run->frontEnd.answer(yes);
}

void ConversionController::onWorkerDone()
{
    finishRun();
}

void ConversionController::finishRun()
{
    if (!m_run)
        return;
    // The worker has marked the run done; it ends in a moment.
    m_runJob.waitForDone();
    drainFeed();
    m_tick->stop();
    updateTimes();
    if (m_inhibitor)
        m_inhibitor->release();
    std::unique_ptr<Run> run = std::move(m_run);
    if (m_paused) {
        m_paused = false;
        Q_EMIT pausedChanged(false);
    }
    m_lastResult = run->result;
    const ConversionResult &result = m_lastResult;

    // One notification per batch, for a user who is looking elsewhere.
    if (!run->batchOnly && m_notifier && result.End == ConversionEnd::Walked
        && !(m_mainWindow && m_mainWindow->isActiveWindow())) {
        const OutcomeCounts counts = CountOutcomes(result.rows);
        if (counts.converted() + counts.failed > 0)
            m_notifier->notify(m_strings.Main.NotifyFinished,
                FormatAppString(m_strings.Main.NotifyFinishedText,
                    QString::number(counts.converted()), QString::number(counts.failed)));
    }
    Q_EMIT runFinished(result);
    if (run->closeRequested)
        Q_EMIT closeApplicationRequested();
}

void ConversionController::showMessage(int icon, const QString &text)
{
    // Not modal to the run: the box waits for the user, the run does not.
    auto *box = new QMessageBox(QMessageBox::Icon(icon), QLatin1String(AppInfo::ProgramName), text,
        QMessageBox::Ok, dialogParent());
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->open();
}

QWidget *ConversionController::dialogParent() const
{
    // The progress window stays on top: a box under it would be hidden.
    return DialogParent(m_progress && m_progress->isVisible() ? m_progress : m_mainWindow);
}

#pragma once

#include "conversion/ConversionDriver.h"
#include "conversion/ConversionFrontEnd.h"
#include "i18n/AppStrings.h"
#include "ui/common/BackgroundJobs.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class DesktopNotifier;
class IdleInhibitor;
class IPowerControl;
class QTimer;
class QWidget;
class TFormErrors;
class TFormProgress;
struct PendingQuestion;

// Runs the conversion driver for the main window: on a worker thread, with
// the progress and error-log windows as its front end, so that the windows
// never freeze and Abort works at once. Every call of the run reaches the
// window's thread by queued signals; the progress comes through the
// coalescing feed, read about ten times a second. The questions of a run
// (the delete question, the power-off countdown) wait for the user.
//
// The main window binds its commands to it: Convert (Ctrl+E) to convert(),
// "Save batch script..." to saveBatchScript(), and its close event to
// confirmClose(); it disables itself on runStarted() and enables itself on
// runFinished().
class ConversionController : public QObject
{
    Q_OBJECT
public:
    // The windows stay the main window's; the controller drives them while
    // it lives. mainWindow owns the message boxes and tells whether a
    // notification is due.
    ConversionController(QWidget *mainWindow, TFormProgress *progress, TFormErrors *errors,
        QObject *parent = nullptr);
    // A run still active is aborted and waited for; its questions are
    // answered No.
    ~ConversionController() override;

    // The texts of the controller's own messages (SetLang); a run takes its
    // texts from its setup.
    void SetLang(const TAppStrings &strings);
    // What "Power off the computer" switches off with (by default the login
    // manager); tests give a recorder. Not owned.
    void setPowerControl(IPowerControl *power);
    // The session services (by default on the system and session buses);
    // tests give ones on a private bus, or none. Not owned.
    void setDesktopServices(IdleInhibitor *inhibitor, DesktopNotifier *notifier);

    // Convert checked files: the checked rows of rows, with the settings of
    // setup (a copy taken now). False when a run is active already.
    bool convert(ConversionSetup setup, std::vector<ConversionRow> rows);
    // "Save batch script...": the save dialog in lastDir, then the batch-only
    // walk into the chosen file. The chosen file (its folder is the new
    // last folder), empty when cancelled or a run is active.
    QString saveBatchScript(
        const ConversionSetup &setup, std::vector<ConversionRow> rows, const QString &lastDir);
    // The batch-only walk into fileName, without the dialog.
    bool startBatchScript(
        ConversionSetup setup, std::vector<ConversionRow> rows, const QString &fileName);

    bool isRunning() const;
    bool isPaused() const { return m_paused; }
    void abort();
    void pause();
    void resume();

    // The main window is being closed: true when it may close. During a run
    // the user is asked first; on Yes the run is aborted as by Abort and
    // cleaned up (its delete question still asked) before this returns, so
    // no FFmpeg is left behind; on No the window stays.
    bool confirmClose();
    // A stop signal (logout, kill, a closed terminal): the run is aborted
    // without a question, every question of the run is answered No, and the
    // unfinished output removed before this returns true. False while a
    // question of the run is on screen: its box is closed, and the caller
    // tries again once the box's own loop has returned.
    bool abortForExit();

    // The last run's outcome, its rows included.
    const ConversionResult &lastResult() const { return m_lastResult; }
    // "Check the failed files": the check of each row of the last run, true
    // for exactly the failed and aborted ones.
    std::vector<bool> checksForRetry() const;
    bool hasRowsToRetry() const;

Q_SIGNALS:
    // DisableAll.
    void runStarted(bool batchOnly);
    void rowStatusChanged(int row, const QString &status);
    // The application's and main window's title: the progress with the time
    // left during a run, the program's title at its end.
    void titleChanged(const QString &title);
    // EnableAll; the rows with their statuses and outcomes.
    void runFinished(const ConversionResult &result);
    // The after-conversion action "Close application" (after the run).
    void closeApplicationRequested();
    void pausedChanged(bool paused);

private:
    struct Run;

    bool start(ConversionSetup setup, std::vector<ConversionRow> rows);
    void connectRun(Run &run);
    void onTick();
    void drainFeed();
    void onProgress(const QString &applicationTitle, int64_t fileLeftMs, int64_t batchLeftMs);
    void updateTimes();
    void onQuestionAsked();
    void onRunEnded(const ConversionRunEnd &end);
    void onErrorLogReady(const QString &caption, bool show);
    void answerQuestion(const PendingQuestion &question);
    void onWorkerDone();
    void finishRun();
    void showMessage(int icon, const QString &text);
    QWidget *dialogParent() const;
    int64_t elapsedMs() const;

    QPointer<QWidget> m_mainWindow;
    QPointer<TFormProgress> m_progress;
    QPointer<TFormErrors> m_errors;
    TAppStrings m_strings;
    std::unique_ptr<IPowerControl> m_ownPower;
    IPowerControl *m_power = nullptr;
    std::unique_ptr<IdleInhibitor> m_ownInhibitor;
    std::unique_ptr<DesktopNotifier> m_ownNotifier;
    IdleInhibitor *m_inhibitor = nullptr;
    DesktopNotifier *m_notifier = nullptr;

    std::unique_ptr<Run> m_run;
    QTimer *m_tick = nullptr;
    ConversionResult m_lastResult;
    bool m_paused = false;
    bool m_answering = false;
    int64_t m_fileLeftMs = -1;
    int64_t m_batchLeftMs = -1;
    QString m_title;
    // The run's thread: one run at a time.
    BackgroundJobs m_runJob{1};
};

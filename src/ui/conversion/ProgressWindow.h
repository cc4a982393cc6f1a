#pragma once

#include "app/AppParams.h"
#include "i18n/AppStrings.h"
#include "settings/SettingsFile.h"

#include <QWidget>

class MarkupLabel;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class RunningFilesView;
struct RunningFilesTake;
struct ConversionFileEnd;
struct ConversionFileView;
struct ConversionRunEnd;
struct ConversionWalkStart;
struct ProgressSnapshot;

// The progress window: the file being converted and where it goes, the
// progress bar, the status line, FFmpeg's cleaned-up output, the times, and
// the Abort and Pause commands. It shows what the conversion controller
// gives it and tells the controller what the user asks for; it never reads
// the run itself.
//
// A run of several files at once adds the list of running files; the bar
// and the captions then tell the batch, and the output view, status line
// and file names follow the chosen file: the one clicked in the list, by
// default the oldest running one.
class TFormProgress : public QWidget
{
    Q_OBJECT
public:
    explicit TFormProgress(QWidget *owner = nullptr);
    ~TFormProgress() override;

    // SetLang.
    void SetLang(const TAppStrings &strings);
    // The PROGRESS settings (LoadSettings) and what is written back at exit.
    void applySettings(const ProgressSettings &settings);
    ProgressSettings settings() const;
    // TAppParams.MonospaceFont for the output view; an empty name takes the
    // system's fixed font.
    void setMonospaceFont(const TFontParams &font);
    // Status colours (TAppParams.ColorOK, ColorError; 0x00BBGGRR).
    void setStatusColors(uint32_t colorOK, uint32_t colorError);

    // Shown centred over its owner (the main window's "Show progress window").
    void showOverOwner();
    // F8, from any window of the program: shows the window, or closes it
    // when no run is on (during a run it stays).
    void toggleShown();

    bool hideEncoderOutput() const;
    bool closeAfterConversion() const;
    bool autoScroll() const;

    // What the controller tells: the run and its files.
    void runStarted(const ConversionWalkStart &start);
    void fileStarted(const ConversionFileView &file);
    void fileSkipped(const ConversionFileView &file);
    void fileFinished(const ConversionFileEnd &end);
    void applySnapshot(const ProgressSnapshot &snapshot);
    void runFinished(const ConversionRunEnd &end);
    // Elapsed time of the run without its pauses, and the time left of the
    // file and of the run (-1: unknown).
    void setTimes(int64_t elapsedMs, int64_t fileLeftMs, int64_t batchLeftMs);
    void setPaused(bool paused);
    // The abort was taken: the command has no further effect.
    void abortTaken();

    bool isRunning() const { return m_running; }

    // Several files at once: the running files' and the batch's progress,
    // with the chosen file's view.
    void applyRunningFiles(const RunningFilesTake &take);
    // The file the view follows (0: none) and whether its whole view is
    // still to come (it was just chosen).
    int chosenFileNo() const { return m_chosenFileNo; }
    bool wantsWholeView() const { return m_wantsWholeView; }
    int64_t chosenFileTimeLeftMs() const { return m_fileLeftMs; }
    RunningFilesView *runningFilesView() const { return m_tvRunningFiles; }
    QString filesDoneText() const;

    // The controls as a user finds them (tests and accessibility).
    QString outputText() const;
    QString statusText() const;
    QString outputFileText() const;
    QString inputFileText() const;
    int progressValue() const;
    QString abortCaption() const;

Q_SIGNALS:
    void abortClicked();
    void pauseClicked();
    void resumeClicked();
    void hideEncoderOutputChanged(bool hide);
    // Another file's view is to be shown (its whole view, at once).
    void chosenFileChanged(int fileNo);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void layOutControls();
    void onAbort();
    void updateCaption();
    void setAbortCaption(const QString &caption);
    void setPauseCaption(bool paused);
    void showViewLines();
    void applyView(const ProgressSnapshot &snapshot);
    // ProgressWindowRunning.cpp: the running files.
    void createRunningFiles();
    void startRunningFiles(const ConversionWalkStart &start);
    void runningFileStarted(const ConversionFileView &file);
    void runningFileEnded(int fileNo);
    void runningFileFinished(const ConversionFileEnd &end);
    void chooseFile(int fileNo);
    void endRunningFiles();
    void showFilesDone();
    // Brings the view up to m_lines, at most maxLines new lines now and the
    // rest in later turns of the event loop.
    void syncView(qsizetype maxLines);
    void scrollToEnd();

    TAppStrings m_strings;
    QLabel *m_lblEncoderOutput = nullptr;
    QCheckBox *m_chHideEncoderOutput = nullptr;
    QCheckBox *m_chCloseAfterConversion = nullptr;
    QPlainTextEdit *m_me = nullptr;
    QLabel *m_lblProgress = nullptr;
    QProgressBar *m_pbFile = nullptr;
    QLabel *m_lblInputFileDesc = nullptr;
    QLabel *m_lblInputFile = nullptr;
    QLabel *m_lblOutputFileDesc = nullptr;
    MarkupLabel *m_lblOutputFile = nullptr;
    QLabel *m_lblStatusDesc = nullptr;
    MarkupLabel *m_lblStatus = nullptr;
    QLabel *m_lblElapsedDesc = nullptr;
    QLabel *m_lblElapsed = nullptr;
    QLabel *m_lblTimeLeftDesc = nullptr;
    QLabel *m_lblTimeLeft = nullptr;
    QPushButton *m_btnPause = nullptr;
    QPushButton *m_btnAbort = nullptr;
    QLabel *m_lblRunningFiles = nullptr;
    RunningFilesView *m_tvRunningFiles = nullptr;
    QLabel *m_lblFilesDone = nullptr;

    // Files converted at once in this run; above 1 the list shows.
    int m_jobs = 1;
    int m_fileCount = 0;
    int m_filesDone = 0;
    int m_chosenFileNo = 0;
    bool m_wantsWholeView = false;
    int m_lastBatchBar = -1;

    bool m_running = false;
    bool m_paused = false;
    bool m_scrollToBottom = true; // TAppParams.ScrollProgressToBottom
    QString m_windowCaption; // "Progress: 25%" during a run
    uint32_t m_colorOK = DefaultColorOK;
    uint32_t m_colorError = DefaultColorError;
    int64_t m_elapsedMs = -1;
    int64_t m_fileLeftMs = -1;
    int64_t m_batchLeftMs = -1;
    // The output view's lines (kept while it shows "Please wait...") and
    // whether the view shows them.
    QStringList m_lines;
    bool m_viewShowsLines = true;
    // The view holds m_docCount lines, of which the first m_docLines are
    // those of m_lines.
    qsizetype m_docLines = 0;
    qsizetype m_docCount = 0;
    bool m_syncPending = false;
    // The values of the latest snapshot applied: only what changed since is
    // applied, so an event of the run (a new file) is not overwritten by a
    // snapshot value from before it.
    int m_lastBar = -1;
    QString m_lastStatusMarkup;
    QString m_lastCaption;
    int m_left = 0;
    int m_top = 0;
};

#pragma once

#include "conversion/ConversionFrontEnd.h"
#include "ui/conversion/RunningFilesFeed.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

class ProgressFeed;

// A question the run waits on until the user answers it.
struct PendingQuestion
{
    enum Kind { YesNo, PowerOff };
    Kind kind = YesNo;
    QString text;
};

// The conversion's front end on the worker thread: it keeps the progress in
// the coalescing feed (the window takes it at its own pace) and passes
// every other call to the window's thread by queued signals. The questions
// block the run until the window answers them. A run of several files at
// once keeps its progress in the running files' feed instead.
class WindowFrontEnd : public QObject, public IConversionFrontEnd
{
    Q_OBJECT
public:
    explicit WindowFrontEnd(ProgressFeed &feed);

    // IConversionFrontEnd, on the worker thread.
    void warning(const QString &text) override;
    void walkStarted(const ConversionWalkStart &start) override;
    void fileStarted(const ConversionFileView &file) override;
    void fileSkipped(const ConversionFileView &file) override;
    void rowStatusChanged(int row, const QString &status) override;
    void progress(const EncoderProgressUpdate &update) override;
    void outputShown(const QString &text) override;
    void errorLogged(const QStringList &lines, int errorCount) override;
    void fileFinished(const ConversionFileEnd &end) override;
    void runFinished(const ConversionRunEnd &end) override;
    bool askYesNo(const QString &question) override;
    void showError(const QString &text) override;
    void showErrorLog(const QString &caption, bool show) override;
    bool confirmPowerOff() override;
    void closeApplication() override;

    ProgressFeed &feed() { return m_feed; }
    RunningFilesFeed &runningFiles() { return m_running; }

    // The window's side of the questions: the question waiting for an
    // answer, if any (taken once), and its answer.
    std::optional<PendingQuestion> takeQuestion();
    void answer(bool yes);
    // Ends every wait with No, now and for good (the window is going away).
    void cancelQuestions();
    // Worker thread: the run is over.
    void markDone();
    // Window thread, waiting for the run's end without its event loop: the
    // next question to answer, or nothing once the run is over.
    std::optional<PendingQuestion> waitForQuestionOrDone();

Q_SIGNALS:
    void warned(const QString &text);
    void walkBegan(const ConversionWalkStart &start);
    void fileBegan(const ConversionFileView &file);
    void fileWasSkipped(const ConversionFileView &file);
    void rowStatus(int row, const QString &status);
    void errorEntry(const QStringList &lines, int errorCount);
    void fileEnded(const ConversionFileEnd &end);
    void runEnded(const ConversionRunEnd &end);
    void failed(const QString &text);
    void errorLogReady(const QString &caption, bool show);
    void closeRequested();
    // A question waits (takeQuestion()).
    void questionAsked();

private:
    bool ask(PendingQuestion::Kind kind, const QString &text);

    ProgressFeed &m_feed;
    RunningFilesFeed m_running;
    // Set by walkStarted before any file runs; read by the files' threads.
    std::atomic<int> m_jobs{1};
    // Several files at once: the failed file's output, until its end names
    // the file (driver's thread only).
    std::optional<QStringList> m_failedOutput;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<PendingQuestion> m_question;
    bool m_questionTaken = false;
    std::optional<bool> m_answer;
    bool m_cancelled = false;
    bool m_done = false;
};

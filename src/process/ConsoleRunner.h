#pragma once

#include "process/CommandLine.h"
#include "process/ConsoleOutputCollector.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <sys/types.h>

// A console program that could not be started (missing, not executable,
// unusable working folder, no descriptors left...).
class ConsoleRunError : public std::runtime_error
{
public:
    ConsoleRunError(const QString &program, int errorCode, const QString &message);

    const QString &program() const { return m_program; }
    // The system's error number (errno).
    int errorCode() const { return m_errorCode; }
    // Full text for the user, with the system's error text.
    const QString &message() const { return m_message; }

private:
    QString m_program;
    int m_errorCode;
    QString m_message;
};

// Limits and scheduling of one run.
struct ConsoleRunOptions
{
    // The program is killed when it has not ended this long after its start;
    // timedOut() then tells so. Zero: no limit.
    std::chrono::milliseconds timeout{0};
    // Output keeps at most this many bytes of line text (see
    // ConsoleOutputCollector::setMaxKeptBytes); the rest is read and
    // dropped, so the program never blocks on a full pipe. Zero: no limit.
    qsizetype maxOutputBytes = 0;
    // The program runs at the lowest CPU priority (nice 19).
    bool lowestPriority = false;
};

// A question to FFmpeg (its encoders, its version, a file's description)
// is answered in a moment and in a few kilobytes; a program that hangs or
// floods is stopped at these limits instead of hanging or exhausting us.
inline constexpr std::chrono::milliseconds ToolAnswerTimeout{30000};
inline constexpr qsizetype ToolAnswerMaxBytes = 4 * 1024 * 1024;
ConsoleRunOptions ToolAnswerOptions(std::chrono::milliseconds timeout = ToolAnswerTimeout);

// Gives the calling thread (not the whole process) the lowest CPU priority,
// for background work; children it starts inherit it.
void LowerCurrentThreadPriority();

// The working folder of runs that name none (see RunConsoleApp), set once
// at start-up; empty: the folder of this running program. A folder that
// does not exist yet is created at the first run that needs it.
void SetDefaultWorkDir(const QString &dir);

// Runs one console program at a time, hidden, with standard output and
// standard error merged into one captured stream and standard input on a
// pipe. No shell is involved. RunConsoleApp blocks its caller; every other
// operation may be called from any thread while it does.
//
// The program is killed when this process ends, however it ends (SIGKILL
// included), so no FFmpeg outlives Quillon. The kernel ties this to the
// thread that started the program, not to the process: a program started
// from a thread that ends is killed then. RunConsoleApp does not return
// while its program runs (it waits for it, or kills it), so its calling
// thread lives long enough; do not end such a thread by other means
// (pthread_exit, cancellation) while it waits.
class ConsoleRunner
{
public:
    // Reported when the program has not ended 5 s after closing its output.
    static constexpr uint32_t StillActiveExitCode = 259;
    // Reported for a program this runner had to kill.
    static constexpr uint32_t TerminatedExitCode = 1;
    static constexpr int ExitWaitMs = 5000;
    static constexpr int ReadBufferSize = 20481;

    ConsoleRunner() = default;
    ConsoleRunner(const ConsoleRunner &) = delete;
    ConsoleRunner &operator=(const ConsoleRunner &) = delete;
    // Must not be destroyed while RunConsoleApp runs on another thread.
    ~ConsoleRunner() = default;

    // Runs command.program() with command.arguments() in WorkDir (empty: the
    // default work folder, else the folder of this running program) and
    // returns its exit code. The program
    // is a path (a relative one counts from the current folder), never
    // searched on PATH. Output (may be null) receives the lines and onFlush
    // is called after every flush, both on the calling thread. Returns once
    // the program has ended and its output is closed, or 5 s after either
    // when the other does not follow: a program still running after its
    // output closed is killed (it must not linger) and reported with
    // StillActiveExitCode; output held open by a grandchild is abandoned 5 s
    // after the program's exit. A program that dies of a signal it was not
    // sent by this runner is reported as 128 + the signal number.
    // Throws ConsoleRunError when the program cannot be started, or when this
    // runner is already running one. Exceptions thrown by onFlush pass
    // through after the program has been killed. options: time-out, output
    // cap and priority; a program killed at its time-out is reported with
    // TerminatedExitCode.
    uint32_t RunConsoleApp(const CommandLine &command, QStringList *Output,
        const FlushHook &onFlush = {}, const QString &WorkDir = {},
        const ConsoleRunOptions &options = {});

    // The last run's program was killed at its time-out.
    bool timedOut() const;

    // Writes the low eight bits of the first character of Text to the
    // running program's standard input. False, with nothing written, when no
    // program runs, Text is empty, or the write fails (the program has
    // closed its input: no SIGPIPE reaches this process).
    bool SendToConsoleApp(const QString &Text);

    // Kills this runner's program (and nothing else) at once; RunConsoleApp
    // then reports TerminatedExitCode. False when no program runs.
    bool Terminate();

    // Asks the program to finish with "q"; if it still runs graceMs later it
    // is killed as by Terminate, also when it prints nothing meanwhile. The
    // request stays until clearStopRequest(): a run started afterwards gets
    // "q" and the grace time right at its start, so a stop that arrives
    // between two runs is not lost. Returns whether "q" reached a program.
    bool requestStop(int graceMs);
    void clearStopRequest();
    bool stopRequested() const;

    bool isRunning() const;

    // Stops the program, with everything in its process group, where it is
    // (SIGSTOP), and lets it go on (SIGCONT). The pause stays until resume():
    // a program asked for meanwhile starts only once resumed. A stop request or
    // Terminate() resumes it first, so that it reads "q" at once. The
    // time-out of a run keeps counting while it is paused. Each returns
    // whether a running program was signalled.
    bool pause();
    bool resume();
    bool isPaused() const;

private:
    using Clock = std::chrono::steady_clock;
    class Watch;

    // Marks the runner busy; throws when it is already.
    void beginRun(const QString &program);
    // The started child's process and our ends of its input and wake pipes;
    // a pause or a stop asked for meanwhile reaches it now.
    void childStarted(pid_t pid, int inputWriter, int wakeWriter);

    void armStopLocked(Clock::time_point now);
    bool writeInputLocked(unsigned char byte);
    bool killLocked();
    // Signals the child's process group (its own, led by the child).
    bool signalGroupLocked(int signal);
    void resumeLocked();
    void wakeLocked();
    // Reaps the child when it has ended; stores its exit code.
    bool reapIfEnded();
    // Kills the child if it still runs and makes sure it is reaped.
    void killAndReap(int pidFd);
    void endRun();

    mutable std::mutex m_mutex;
    std::condition_variable m_resumed;
    // Touched only by the thread inside RunConsoleApp.
    int m_pidFd = -1;
    bool m_active = false;
    pid_t m_pid = 0; // the unreaped child; 0 once reaped
    int m_inputWriter = -1;
    int m_wakeWriter = -1;
    bool m_killed = false;
    bool m_timedOut = false;
    uint32_t m_exitCode = 0;
    bool m_stopRequested = false;
    bool m_paused = false;
    int m_stopGraceMs = 0;
    std::optional<Clock::time_point> m_stopDeadline;
};

#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

// The clock of a conversion run: steady-clock milliseconds, the time the run
// has spent paused (FFmpeg's speed and the time left leave it out), and the
// moment an abort's grace time runs out. Any thread: the window pauses and
// aborts, the run reads.
class RunClock
{
public:
    static int64_t nowMs();

    // A new run: nothing paused, no abort pending, no elapsed time yet.
    void start();

    // False when already paused, respectively not paused.
    bool pause();
    bool resume();
    bool isPaused() const;
    // Paused so far, the current pause included.
    int64_t pausedMs() const;
    // The elapsed time counts from now: the walk's start, after the run's
    // own preparations. Pauses and the abort stay as they are.
    void beginElapsed();
    // Since beginElapsed(), pauses left out; -1 before it.
    int64_t elapsedMs() const;

    // The abort's grace time starts now; clearAbortDeadline() ends it.
    void setAbortDeadline(int graceMs);
    void clearAbortDeadline();
    bool abortDeadlinePassed() const;

private:
    mutable std::mutex m_mutex;
    int64_t m_startedAt = 0;
    bool m_paused = false;
    int64_t m_pausedSince = 0;
    int64_t m_pausedTotal = 0;
    // m_pausedTotal when the elapsed time began.
    int64_t m_pausedAtOrigin = 0;
    // 0 when no abort is pending.
    std::atomic<int64_t> m_abortDeadline{0};
};

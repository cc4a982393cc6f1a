#include "conversion/RunClock.h"

#include <chrono>

int64_t RunClock::nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void RunClock::start()
{
    std::lock_guard lock(m_mutex);
    m_startedAt = 0;
    m_paused = false;
    m_pausedTotal = 0;
    m_pausedAtOrigin = 0;
    m_abortDeadline = 0;
}

bool RunClock::pause()
{
    std::lock_guard lock(m_mutex);
    if (m_paused)
        return false;
    m_paused = true;
    m_pausedSince = nowMs();
    return true;
}

bool RunClock::resume()
{
    std::lock_guard lock(m_mutex);
    if (!m_paused)
        return false;
    m_paused = false;
    m_pausedTotal += nowMs() - m_pausedSince;
    return true;
}

bool RunClock::isPaused() const
{
    std::lock_guard lock(m_mutex);
    return m_paused;
}

int64_t RunClock::pausedMs() const
{
    std::lock_guard lock(m_mutex);
    return m_pausedTotal + (m_paused ? nowMs() - m_pausedSince : 0);
}

int64_t RunClock::elapsedMs() const
{
    std::lock_guard lock(m_mutex);
    if (m_startedAt == 0)
        return -1;
    const int64_t now = nowMs();
    const int64_t paused = m_pausedTotal + (m_paused ? now - m_pausedSince : 0);
    return now - m_startedAt - (paused - m_pausedAtOrigin);
}

void RunClock::beginElapsed()
{
    std::lock_guard lock(m_mutex);
    const int64_t now = nowMs();
    m_startedAt = now;
    m_pausedAtOrigin = m_pausedTotal + (m_paused ? now - m_pausedSince : 0);
}

void RunClock::setAbortDeadline(int graceMs)
{
    m_abortDeadline = nowMs() + graceMs;
}

void RunClock::clearAbortDeadline()
{
    m_abortDeadline = 0;
}

bool RunClock::abortDeadlinePassed() const
{
    const int64_t deadline = m_abortDeadline;
    return deadline != 0 && nowMs() >= deadline;
}

#pragma once

#include <functional>
#include <thread>

// Turns the signals that ask a program to stop (SIGINT from Ctrl+C,
// SIGTERM, SIGHUP from a closed terminal, SIGQUIT) into a call of
// onInterrupt on a thread of its own while it lives, so that a run can end
// cleanly. The signal handler only notes the signal and writes one byte to
// a pipe.
class InterruptWatcher
{
public:
    explicit InterruptWatcher(std::function<void()> onInterrupt);
    ~InterruptWatcher();
    InterruptWatcher(const InterruptWatcher &) = delete;
    InterruptWatcher &operator=(const InterruptWatcher &) = delete;

    bool interrupted() const { return signalNumber() != 0; }
    // The first signal caught; 0 for none.
    int signalNumber() const;
    // What a program stopped by that signal exits with: 128 + its number.
    int exitStatus() const { return 128 + signalNumber(); }

private:
    std::function<void()> m_onInterrupt;
    std::thread m_thread;
    bool m_installed = false;
};

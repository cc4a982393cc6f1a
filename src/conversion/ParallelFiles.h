#pragma once

#include "conversion/ConversionDriver.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The files of a run that convert at once, each on a thread of its own, in
// slots numbered from 0 (each slot has its runner). The driver's thread
// starts them and ends them: a file that ended waits in a queue until the
// driver hands it on, so everything but its passes happens on that thread.
class ConversionDriver::Parallel
{
public:
    explicit Parallel(int jobs);
    // Waits for the files still running.
    ~Parallel();
    Parallel(const Parallel &) = delete;
    Parallel &operator=(const Parallel &) = delete;

    // A slot without a file; there is one after waitUntilBelow(jobs).
    int freeSlot() const;
    // Runs work(file) on a thread of its own in slot.
    void start(int slot, std::unique_ptr<FileRun> file, std::function<void(FileRun &)> work);
    // Hands each file that ended to onEnd, on this thread and in the order
    // they ended, until fewer than limit files run.
    void waitUntilBelow(int limit, const std::function<void(FileRun &)> &onEnd);

    // The batch's progress: files ended (in a slot, or -1 for one that never
    // ran) and the share done of each running one.
    void countEnded(int slot);
    // Sets the share of slot's file (0..1); the batch's files done plus the
    // shares of the running ones, as one consistent figure.
    double setShare(int slot, double share);
    int filesEnded() const;

private:
    struct Slot
    {
        std::unique_ptr<FileRun> file;
        std::thread thread;
        double share = 0;
    };

    mutable std::mutex m_mutex;
    // The _any kind unlocks and relocks m_mutex in inline code, where
    // ThreadSanitizer sees it; std::condition_variable does it inside the
    // uninstrumented standard library, and the driver's later reads would
    // look unguarded.
    std::condition_variable_any m_ended;
    std::vector<Slot> m_slots;
    std::deque<int> m_endedSlots;
    int m_running = 0;
    int m_filesEnded = 0;
};

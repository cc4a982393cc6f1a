#include "app/InterruptWatcher.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The signals InterruptWatcher turns into an abort, the pipe their handler
// writes to, and the first one it saw.
constexpr std::array StopSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
int g_interruptPipe[2] = {-1, -1};
std::atomic<int> g_signal{0};
std::array<struct sigaction, StopSignals.size()> g_previousActions;

void onInterruptSignal(int signal)
{
    // Only async-signal-safe work here: a lock-free atomic and one write.
    const int savedErrno = errno;
    int none = 0;
    g_signal.compare_exchange_strong(none, signal);
    const char byte = 'i';
    [[maybe_unused]] const ssize_t written = ::write(g_interruptPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> onInterrupt)
    : m_onInterrupt(std::move(onInterrupt))
{
    g_signal = 0;
    if (::pipe2(g_interruptPipe, O_CLOEXEC) != 0)
        return;
    // The handler must never block, however often the signal comes.
    ::fcntl(g_interruptPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action
    {
    };
    action.sa_handler = onInterruptSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < StopSignals.size(); ++i)
        ::sigaction(StopSignals[i], &action, &g_previousActions[i]);
    m_installed = true;
    m_thread = std::thread([this] {
        for (;;) {
            char byte = 0;
            const ssize_t n = ::read(g_interruptPipe[0], &byte, 1);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0 || byte == 'x')
                return;
            m_onInterrupt();
        }
    });
}

InterruptWatcher::~InterruptWatcher()
{
    if (!m_installed)
        return;
    for (size_t i = 0; i < StopSignals.size(); ++i)
        ::sigaction(StopSignals[i], &g_previousActions[i], nullptr);
    const char stop = 'x';
    while (::write(g_interruptPipe[1], &stop, 1) < 0 && errno == EINTR) { }
    m_thread.join();
    ::close(g_interruptPipe[0]);
    ::close(g_interruptPipe[1]);
    g_interruptPipe[0] = g_interruptPipe[1] = -1;
}

int InterruptWatcher::signalNumber() const
{
    return g_signal.load();
}

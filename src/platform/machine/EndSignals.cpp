#include "machine/EndSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_UNIX

namespace {

int wakeUp[2] = {-1, -1}; // the pipe from the handler to the event loop

extern "C" void WakeTheEventLoop(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1); // a full pipe already wakes it
    errno = saved;
}

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

// Both ends closed on exec and never blocking; pipe2() would do it at once, but not every Unix has it.
bool OpenPipe(int ends[2])
{
    if (::pipe(ends) != 0) return false;
    for (int i = 0; i < 2; ++i) ::fcntl(ends[i], F_SETFD, FD_CLOEXEC), ::fcntl(ends[i], F_SETFL, O_NONBLOCK);
    return true;
}

} // namespace

EndSignals::EndSignals(std::function<void()> end)
    : end_(std::move(end))
{
    if (wakeUp[0] < 0 && !OpenPipe(wakeUp)) return;
    notifier_ = std::make_unique<QSocketNotifier>(wakeUp[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char bytes[16];
        while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
        }
        if (auto end = end_) end();
    });
    struct sigaction action {};
    action.sa_handler = WakeTheEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Signals) ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals()
{
    // From here on a signal ends the process as it would any other: the program is ending anyway.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int signal : Signals) ::sigaction(signal, &action, nullptr);
}

#else

// Elsewhere the system ends a program through its windows, which the screens already handle.
EndSignals::EndSignals(std::function<void()> end)
    : end_(std::move(end))
{}

EndSignals::~EndSignals() = default;

#endif

} // namespace platform

#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// SIGTERM, SIGINT and SIGHUP (a session manager at logout, Ctrl+C, a closed terminal) end the
// program in order, at any moment: a box open or a drag in progress included. The handler only
// writes a byte to a pipe; the event loop reads it and calls the end.
class EndSignals {
public:
    explicit EndSignals(std::function<void()> end);
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> end_;
};

} // namespace platform

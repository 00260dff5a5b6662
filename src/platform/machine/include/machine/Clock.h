#pragma once

#include <QElapsedTimer>

namespace platform {

// The time, in milliseconds from a fixed moment, for what moves with time on a screen (the
// confetti) and for telling a click from the second half of a double click. Tests bring their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 Milliseconds() const = 0;
};

// The system's steady clock.
class SystemClock final : public Clock {
public:
    SystemClock() { started_.start(); }
    qint64 Milliseconds() const override { return started_.elapsed(); }

private:
    QElapsedTimer started_;
};

} // namespace platform

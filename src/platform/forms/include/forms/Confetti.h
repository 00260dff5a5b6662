#pragma once

#include <QPointer>
#include <vector>

class QWidget;

namespace platform {

class Clock;
class Form;
class Image;

// A few seconds of confetti falling over a screen while some of its pictures jump for joy. It is
// drawn over the client area, takes no input, leaves every control as it was, and ends early when
// stopped or when its screen leaves the display.
class Confetti {
public:
    explicit Confetti(const Clock& clock);
    ~Confetti();
    Confetti(const Confetti&) = delete;
    Confetti& operator=(const Confetti&) = delete;

    void Start(Form& form, const std::vector<Image*>& jumpers);
    void Stop();
    bool Running() const;
    // Draws the moment this long after the start; from then on the caller, not the clock, says
    // which moment comes (a benchmark measures one frame at a time so).
    void Frame(double seconds);

private:
    const Clock& clock_;
    QPointer<QWidget> shown_;
};

} // namespace platform

#include "forms/Timer.h"

#include <QTimer>

namespace platform {

Timer::Timer(Form& form, QString name, int index, QObject* owner)
    : Control(form, std::move(name), index)
{
    timer_ = new QTimer(owner);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { Tick(); });
}

double Timer::Get(Prop p) const { return p == Prop::Left ? left_ : p == Prop::Top ? top_ : 0.0; }

void Timer::Set(Prop p, double value)
{
    if (p == Prop::Left) left_ = value;
    if (p == Prop::Top) top_ = value;
}

void Timer::SetInterval(int ms)
{
    interval_ = std::max(0, ms);
    Restart();
}

void Timer::SetEnabled(bool on)
{
    Control::SetEnabled(on);
    Restart();
}

void Timer::Restart()
{
    // An interval of 0 keeps the timer silent, as a disabled one.
    if (enabled_ && interval_ > 0)
        timer_->start(interval_);
    else
        timer_->stop();
}

void Timer::Tick()
{
    if (!enabled_) return;
    if (auto handler = tick_) handler();
}

} // namespace platform

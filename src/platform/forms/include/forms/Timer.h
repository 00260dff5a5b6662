#pragma once

#include "forms/Control.h"

#include <functional>

class QObject;
class QTimer;

namespace platform {

// A timer: ticks every Interval milliseconds on the user-interface thread while enabled. It
// has a place on the screen's design but no size, and is never shown.
class Timer : public Control {
public:
    Timer(Form& form, QString name, int index, QObject* owner);

    bool Has(Prop p) const override { return p == Prop::Left || p == Prop::Top; }
    double Get(Prop p) const override;
    void Set(Prop p, double value) override;

    int Interval() const { return interval_; }
    void SetInterval(int ms);
    void SetEnabled(bool on) override;
    void SetVisible(bool) override {}

    void SetTickHandler(std::function<void()> handler) { tick_ = std::move(handler); }
    void Tick(); // as the timer does when it fires

private:
    void Restart();

    QTimer* timer_;
    int interval_ = 0;
    double left_ = 0, top_ = 0;
    std::function<void()> tick_;
};

} // namespace platform

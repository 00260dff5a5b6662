#pragma once

#include "forms/Control.h"

#include <functional>

class QAction;

namespace platform {

// An item of the screen's menu bar. It has no place of its own on the screen.
class MenuItem : public Control {
public:
    MenuItem(Form& form, QString name, int index, QAction* action);

    bool Has(Prop) const override { return false; }
    double Get(Prop) const override { return 0; }
    void Set(Prop, double) override {}
    void SetEnabled(bool on) override;
    void SetVisible(bool on) override;

    QString Caption() const;
    void SetClickHandler(std::function<void()> handler) { click_ = std::move(handler); }
    void Click();
    QAction* Action() const { return action_; }

private:
    QAction* action_;
    std::function<void()> click_;
};

} // namespace platform

#include "forms/MenuItem.h"

#include <QAction>

namespace platform {

MenuItem::MenuItem(Form& form, QString name, int index, QAction* action)
    : Control(form, std::move(name), index),
      action_(action)
{
    action_->setObjectName(Name());
    QObject::connect(action_, &QAction::triggered, action_, [this] { Click(); });
}

void MenuItem::SetEnabled(bool on)
{
    Control::SetEnabled(on);
    action_->setEnabled(on);
}

void MenuItem::SetVisible(bool on)
{
    Control::SetVisible(on);
    action_->setVisible(on);
}

QString MenuItem::Caption() const { return action_->text(); }

void MenuItem::Click()
{
    if (!enabled_) return;
    if (auto handler = click_) handler();
}

} // namespace platform

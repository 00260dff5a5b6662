#include "platform/Control.h"

#include "platform/Units.h"

#include <QWidget>

namespace platform {

Control::Control(Form& form, QString name, int index)
    : form_(form),
      name_(std::move(name)),
      index_(index)
{}

Control::~Control() = default;

WidgetControl::WidgetControl(Form& form, QString name, int index, QWidget* widget)
    : Control(form, std::move(name), index),
      widget_(widget)
{
    widget_->setObjectName(index >= 0 ? QStringLiteral("%1(%2)").arg(Name()).arg(index) : Name());
}

WidgetControl::~WidgetControl() = default;

void WidgetControl::Set(Prop p, double value)
{
    if (!std::isfinite(value)) value = 0;
    if (geometry_[int(p)] == value) return;
    geometry_[int(p)] = value;
    Apply();
}

void WidgetControl::Move(double left, double top, double width, double height)
{
    geometry_[0] = std::isfinite(left) ? left : 0;
    geometry_[1] = std::isfinite(top) ? top : 0;
    geometry_[2] = std::isfinite(width) ? width : 0;
    geometry_[3] = std::isfinite(height) ? height : 0;
    Apply();
}

void WidgetControl::Apply()
{
    // Edges are rounded, not sizes, so that neighbours keep their gaps at every scale.
    const int l = TwipsToPixels(geometry_[0]);
    const int t = TwipsToPixels(geometry_[1]);
    const int r = TwipsToPixels(geometry_[0] + geometry_[2]);
    const int b = TwipsToPixels(geometry_[1] + geometry_[3]);
    widget_->setGeometry(l, t, std::max(0, r - l), std::max(0, b - t));
}

void WidgetControl::SetEnabled(bool on)
{
    Control::SetEnabled(on);
    widget_->setEnabled(on);
}

void WidgetControl::SetVisible(bool on)
{
    Control::SetVisible(on);
    widget_->setVisible(on);
    // A button that appears on a screen where nothing has the focus takes it, so that the keys
    // reach it (the restart button after a win).
    if (on && widget_->isVisible() && (widget_->focusPolicy() & Qt::TabFocus) && !widget_->window()->focusWidget())
        widget_->setFocus(Qt::OtherFocusReason);
}

} // namespace platform

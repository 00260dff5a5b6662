#include "forms/Control.h"

#include "forms/Units.h"

#include <QMouseEvent>
#include <QWidget>

namespace platform {

namespace {

// Watches a widget for a press and a release on it, leaving both to the widget.
class ClickWatcher : public QObject {
public:
    ClickWatcher(QWidget* widget, std::function<void()> handler)
        : QObject(widget),
          handler_(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress) pressed_ = true;
        if (e->type() == QEvent::MouseButtonRelease && std::exchange(pressed_, false) &&
            static_cast<QWidget*>(watched)->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint()))
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
    bool pressed_ = false;
};

} // namespace

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

void WidgetControl::SetAccessibleText(const QString& name, const QString& description)
{
    widget_->setAccessibleName(name);
    widget_->setAccessibleDescription(description);
}

void WidgetControl::SetClickHandler(std::function<void()> handler) { new ClickWatcher(widget_, std::move(handler)); }

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

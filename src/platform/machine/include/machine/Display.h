#pragma once

#include <QSize>

class QWidget;

namespace platform {

// The displays that the screens cover. Tests bring one of the size they need.
class Display {
public:
    virtual ~Display() = default;
    // The size, in logical pixels, of the display that shows this window; before it is shown, of
    // the display it will appear on.
    virtual QSize Size(const QWidget* window) const = 0;
    // Whether the window system knows this display: only then is it asked for full-screen state.
    virtual bool Managed() const { return true; }
};

// The window system's displays.
class SystemDisplay final : public Display {
public:
    QSize Size(const QWidget* window) const override;
};

} // namespace platform

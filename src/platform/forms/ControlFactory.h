#pragma once

#include "forms/Description.h"

#include <QFont>
#include <memory>

class QMenuBar;
class QWidget;

namespace platform {

class Control;
class Form;
class FormWindow;
struct Services;

// Builds the controls of a form from their descriptions: images, labels and buttons on the client
// area, timers owned by the window, menu items in a menu bar made over the window for the first.
class ControlFactory {
public:
    // designFont: the screen's own font; textScale: how much larger the display shows text.
    ControlFactory(Form& form, Services& services, FormWindow* window, QWidget* client, QFont designFont,
                   double textScale);

    std::unique_ptr<Control> Build(const ControlDesc& desc);
    QMenuBar* MenuBar() const { return menuBar_; }

private:
    Form& form_;
    Services& services_;
    FormWindow* window_;
    QWidget* client_;
    QFont designFont_;
    double textScale_;
    QMenuBar* menuBar_ = nullptr;
};

} // namespace platform

#pragma once

#include "layout/clsResize.h"

#include <memory>

namespace platform {
class Form;
}

// The program-wide layout scaler, serving the screen that was loaded last. Every screen's
// load replaces it, which destroys the previous screen's scaler.
namespace layout {

inline std::unique_ptr<clsResize> GestoreLayout;

// What every screen's load does: a new scaler bound to the screen, which then covers three
// quarters of the display, centred.
void CreateLayout(platform::Form& form);
// What every screen's resize does: rescale its controls.
void ResizeLayout();

} // namespace layout

#pragma once

#include "clsResize.h"

#include <memory>

// The program-wide module: the one layout scaler, serving the screen that was loaded last.
// Every screen's load replaces it, which destroys the previous screen's scaler.
namespace Modulo1 {
inline std::unique_ptr<clsResize> GestoreLayout;
} // namespace Modulo1

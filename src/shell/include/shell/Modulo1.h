#pragma once

#include <QString>

namespace platform {
class Form;
struct Services;
} // namespace platform

namespace Modulo1 {

// The program's entry: refuses to run beside another copy, seeds the random generator and shows
// the title screen.
void Main(platform::Services& services);

// The information box with the credits, over a screen.
void MostraInformazioni(platform::Form& over);
QString InformationText();

} // namespace Modulo1

#pragma once

#include "layout/GestoreLayout.h"

#include <QString>

namespace Modulo1 {

// The program's entry: refuses to run beside another copy, seeds the random generator and
// shows the title screen.
void Main();

// The information box with the credits.
void MostraInformazioni();
QString InformationText();

// Makes every screen known by name.
void RegisterScreens();

} // namespace Modulo1

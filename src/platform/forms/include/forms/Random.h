#pragma once

#include <QtGlobal>

namespace platform {

// The program's one pseudo-random generator: uniform draws in [0, 1).
void Randomize();             // seeds it from the clock
void Randomize(quint64 seed); // seeds it with a fixed value: the same draws every time
double Rnd();

} // namespace platform

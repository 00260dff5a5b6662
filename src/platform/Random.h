#pragma once

#include <cstdint>

namespace platform {

// The program's one pseudo-random generator: uniform draws in [0, 1).
void Randomize();                   // seeds it from the clock
void Randomize(std::uint64_t seed); // seeds it with a fixed value, for tests
double Rnd();

} // namespace platform

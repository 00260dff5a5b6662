#pragma once

namespace platform {
struct Services;
}

// Makes every screen of the program known by name. Every screen answers M, which turns the sounds
// and the voice off and on.
void RegisterScreens(platform::Services& services);

#pragma once

class ClassroomMode;

namespace platform {
struct Services;
}

// Makes every screen of the program known by name: the title, the menu and each game. Every screen
// answers M, which turns the sounds and the voice off and on, takes the classroom's way out, and
// is scanned for a child who plays with switches.
void RegisterScreens(platform::Services& services, const ClassroomMode& classroom);

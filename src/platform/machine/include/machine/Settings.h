#pragma once

namespace platform {

// How a grown-up set the game up, by its files and its command line: read once as the program
// starts and handed to whoever needs it. The game never writes it anywhere.
struct Settings {
    enum class Start { Title, Tarts, Stickers };
    Start start = Start::Title; // the first screen: the title, or straight into a game
    bool mute = false;          // sounds and voice start silent (M turns them on)
    bool voice = true;          // the voice at all
    bool hints = true;          // help on request: the help control and H
    bool kiosk = false;         // classroom mode: the child cannot end the program
    double scan = -1;           // switch scanning: seconds a step lasts, 0 for a second switch (Tab); off below 0
};

} // namespace platform

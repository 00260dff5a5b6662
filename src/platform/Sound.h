#pragma once

namespace platform {

// The game's answers to the child: short sounds read from sounds/ beside the program. No
// audio device, no sound server or a bad file means silence and one line on standard error;
// playing never waits.
class Sound {
public:
    enum Cue { Pick, Swap, Nothing, Click, Win };

    static void Play(Cue cue);
    // Sound on or off for this run; nothing is written anywhere.
    static void ToggleMute();
    static bool Muted();
    // Reads the sounds: once the first window is on screen (App::FirstWindowShown), so that it
    // does not wait for the audio system.
    static void Load();
};

} // namespace platform

#pragma once

#include <QObject>
#include <QStringList>

namespace platform {

// The half of the sounds that needs Qt Multimedia. It is built as a module of its own
// (merendella_sound, beside the program) that Sound loads once the first window is on screen:
// Qt Multimedia and the audio libraries behind it would otherwise add about 4 ms to every start.
// The sounds play on a thread of their own: starting one waits for the sound server, and a
// move must not.
class SoundOutput : public QObject {
public:
    using QObject::QObject;
    // False when the system offers no audio output at all (no device, no sound server).
    virtual bool HaveOutput() = 0;
    // Reads the 16-bit PCM WAV files, in the background; a cue is its file's place in the list,
    // and an empty name is a cue with no sound.
    virtual void Open(const QStringList& files) = 0;
    // Plays a cue that has finished loading; one still loading or one that failed is silence.
    virtual void Play(int cue) = 0;
    virtual void Stop() = 0;
};

} // namespace platform

// The module's one entry point: a new output, owned by the application object.
#define MERENDELLA_SOUND_ENTRY "merendella_sound_output"
using MerendellaSoundEntry = platform::SoundOutput* (*)();

#pragma once

#include <QDeadlineTimer>
#include <memory>

namespace platform {

// The game's answers to the child, one short sound each.
enum class Cue { Pick, Swap, Nothing, Click, Win };

// Where the sounds go: the speakers, or a test that writes down what it was asked to play.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void Play(Cue cue) = 0; // never waits
    virtual void Stop() = 0;        // silences what is playing
    // Lets go of the sound service by the deadline; false when it still holds the output.
    virtual bool Finish(QDeadlineTimer) { return true; }
};

// The program's sounds: silent until an output is given (the sounds are read once the first
// window is on screen), and silent while muted. Nothing is written anywhere.
class Sound {
public:
    void SetOutput(std::unique_ptr<SoundOutput> output) { output_ = std::move(output); }
    void Play(Cue cue);
    bool Muted() const { return muted_; }
    void SetMuted(bool muted);
    // The output gone by the deadline; false when its service still held it, and it was left so.
    bool Close(QDeadlineTimer deadline);

private:
    std::unique_ptr<SoundOutput> output_;
    bool muted_ = false;
};

} // namespace platform

#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <memory>
#include <optional>

namespace platform {

// Where the voice goes: the desktop's speech service, or a test that writes down what it heard.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    virtual void Say(const QString& text) = 0; // replaces what is being said; never waits
    virtual void Stop() = 0;
    // Lets go of the speech service by the deadline; false when it still holds the engine.
    virtual bool Finish(QDeadlineTimer) { return true; }
};

// The program's voice, for children who cannot read yet: silent while muted. The engine is loaded
// once the first window is on screen; what a screen said of its own before then (a game's
// instructions, when the game is the first screen) waits for it, and is said when it comes, unless
// the screen has gone meanwhile. A new utterance replaces the one in progress, and what a screen
// said ends when the screen goes. While a screen reader runs, what it reads itself (captions, the
// texts of boxes) is left to it, so that nothing is said twice.
class Speech {
public:
    void SetEngine(std::unique_ptr<SpeechEngine> engine);
    // Says a text on behalf of a screen (or of the program, for none): what a screen reader cannot
    // know, such as the instructions.
    void Say(const QString& text, const void* from);
    // Says a text that is on screen for a screen reader to read: a caption, a box's text.
    void SayShown(const QString& text, const void* from);
    // Whether a screen reader runs; until the desktop has said (nullopt), no caption is said either,
    // so that none is said over a screen reader that the answer was late for.
    void SetScreenReader(std::optional<bool> running) { screenReader_ = running; }
    // Stops what this screen said, if it is still being said.
    void Forget(const void* from);
    bool Muted() const { return muted_; }
    void SetMuted(bool muted);
    // The engine gone by the deadline; false when its service still held it, and it was left so.
    bool Close(QDeadlineTimer deadline);

private:
    std::unique_ptr<SpeechEngine> engine_;
    QString waiting_;               // for the engine
    const void* speaker_ = nullptr; // the screen that said it
    bool muted_ = false;
    std::optional<bool> screenReader_ = false;
};

} // namespace platform

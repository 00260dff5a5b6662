#include "machine/Speech.h"

#include "machine/Worker.h"

#include <utility>

namespace platform {

void Speech::SetEngine(std::unique_ptr<SpeechEngine> engine)
{
    engine_ = std::move(engine);
    if (engine_ && !waiting_.isEmpty()) engine_->Say(std::exchange(waiting_, QString()));
}

void Speech::Say(const QString& text, const void* from)
{
    if (muted_ || text.trimmed().isEmpty()) return;
    speaker_ = from;
    if (engine_)
        engine_->Say(text);
    else
        waiting_ = text;
}

void Speech::SayShown(const QString& text, const void* from)
{
    // Before the engine, no caption waits: it would come late, over the screen's own words.
    if (screenReader_ == false && engine_) Say(text, from);
}

void Speech::Forget(const void* from)
{
    if (!from || speaker_ != from) return;
    speaker_ = nullptr;
    waiting_.clear();
    if (engine_) engine_->Stop();
}

void Speech::SetMuted(bool muted)
{
    muted_ = muted;
    if (!muted) return;
    waiting_.clear();
    if (engine_) engine_->Stop();
}

bool Speech::Close(QDeadlineTimer deadline) { return LetGo(engine_, deadline); }

} // namespace platform

#include "machine/Speech.h"

#include "machine/Worker.h"

namespace platform {

void Speech::Say(const QString& text, const void* from)
{
    if (muted_ || !engine_ || text.trimmed().isEmpty()) return;
    speaker_ = from;
    engine_->Say(text);
}

void Speech::SayShown(const QString& text, const void* from)
{
    if (!screenReader_) Say(text, from);
}

void Speech::Forget(const void* from)
{
    if (!engine_ || !from || speaker_ != from) return;
    speaker_ = nullptr;
    engine_->Stop();
}

void Speech::SetMuted(bool muted)
{
    muted_ = muted;
    if (muted && engine_) engine_->Stop();
}

bool Speech::Close(QDeadlineTimer deadline) { return LetGo(engine_, deadline); }

} // namespace platform

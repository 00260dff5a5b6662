#include "machine/Sound.h"

#include "machine/Worker.h"

namespace platform {

void Sound::Play(Cue cue)
{
    if (!muted_ && output_) output_->Play(cue);
}

void Sound::SetMuted(bool muted)
{
    muted_ = muted;
    if (muted && output_) output_->Stop();
}

bool Sound::Close(QDeadlineTimer deadline) { return LetGo(output_, deadline); }

} // namespace platform

#include "platform/Sound.h"

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

} // namespace platform

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

bool Sound::Close(QDeadlineTimer deadline)
{
    if (!output_ || output_->Finish(deadline)) {
        output_.reset();
        return true;
    }
    (void)output_.release(); // destroying it would wait for its thread: left to the system with it
    return false;
}

} // namespace platform

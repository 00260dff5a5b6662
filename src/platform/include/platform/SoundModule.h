#pragma once

#include "platform/Sound.h"

#include <QString>
#include <memory>

namespace platform {

// Reads the module that plays sounds (merendella_sound, a Qt plugin) and the sounds/ beside it,
// both in this folder. Null, with the reason said once, when there is no module or no audio
// output; a sound file that cannot be played is silence, said once.
std::unique_ptr<SoundOutput> OpenSoundOutput(const QString& folder);

} // namespace platform

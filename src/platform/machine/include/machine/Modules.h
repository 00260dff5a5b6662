#pragma once

#include "machine/Sound.h"
#include "machine/Speech.h"

#include <QString>
#include <memory>

namespace platform {

// The modules beside the program, Qt plugins read once the first window is on screen, so that
// their libraries (Qt Multimedia, Qt's speech and the audio and speech services behind them) are
// not loaded at every start.

// Plays sounds/ of this folder through merendella_sound. Null, with the reason said once, when
// there is no module; no audio output, or a sound file that cannot be played, is silence, said once.
std::unique_ptr<SoundOutput> OpenSoundOutput(const QString& folder);

// Speaks Italian through merendella_speech and the desktop's speech service. Null, with the reason
// said once, when there is no module; a missing service or Italian voice is silence, said once.
std::unique_ptr<SpeechEngine> OpenSpeech(const QString& folder);

} // namespace platform

#pragma once

#include "machine/Speech.h"

#include <QtPlugin>

namespace platform {

// What the speech module offers: a voice that speaks Italian through Qt's speech engine, on a
// thread of its own, since the speech service may take seconds to answer and a move must not.
class SpeechPlugin {
public:
    virtual ~SpeechPlugin() = default;
    // Never null: whether there is a speech service and an Italian voice is found out on the
    // voice's own thread, and without them it stays silent.
    virtual std::unique_ptr<SpeechEngine> Open() = 0;
};

} // namespace platform

#define MerendellaSpeechPlugin_iid "org.merendella.Merendella.SpeechPlugin/1"
Q_DECLARE_INTERFACE(platform::SpeechPlugin, MerendellaSpeechPlugin_iid)

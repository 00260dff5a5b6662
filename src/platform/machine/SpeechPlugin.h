#pragma once

#include "machine/Speech.h"

#include <QLocale>
#include <QtPlugin>

namespace platform {

// What the speech module offers: a voice that speaks the game's language through Qt's speech
// engine, on a thread of its own, since the speech service may take seconds to answer and a move
// must not.
class SpeechPlugin {
public:
    virtual ~SpeechPlugin() = default;
    // Never null: whether there is a speech service and a voice of the language is found out on the
    // voice's own thread, and without them it stays silent.
    virtual std::unique_ptr<SpeechEngine> Open(const QLocale& language) = 0;
};

} // namespace platform

#define MerendellaSpeechPlugin_iid "org.merendella.Merendella.SpeechPlugin/2"
Q_DECLARE_INTERFACE(platform::SpeechPlugin, MerendellaSpeechPlugin_iid)

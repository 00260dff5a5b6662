#pragma once

#include "machine/Sound.h"

#include <QStringList>
#include <QtPlugin>

namespace platform {

// What the sound module offers. It is a plugin of its own, loaded once the first window is on
// screen: Qt Multimedia and the audio libraries behind it would otherwise add milliseconds to
// every start.
class SoundPlugin {
public:
    virtual ~SoundPlugin() = default;
    // An output playing the files, one for each cue in the order of Cue. Whether the system has an
    // audio output at all is found out on the output's own thread: without one it is silent.
    virtual std::unique_ptr<SoundOutput> Open(const QStringList& files) = 0;
};

} // namespace platform

#define MerendellaSoundPlugin_iid "org.merendella.Merendella.SoundPlugin/1"
Q_DECLARE_INTERFACE(platform::SoundPlugin, MerendellaSoundPlugin_iid)

// The sound module: plays the game's cues with Qt Multimedia, on a thread of its own, since
// starting a sound waits for the sound server and a move must not.

#include "SoundPlugin.h"
#include "machine/Worker.h"

#include <QAudioDevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>
#include <vector>

Q_LOGGING_CATEGORY(lcSound, "merendella.sound")

namespace {

// Lives on the sound thread, with the effects it makes.
class Player final : public QObject {
public:
    void Open(const QStringList& files)
    {
        // Asked here, not by the interface: a sound server that does not answer holds this thread
        // only. The game says it found none in its own words (the program's handler keeps Qt's out).
        if (QMediaDevices::audioOutputs().isEmpty()) {
            qCWarning(lcSound, "no sound: no audio output was found (is a sound server running?)");
            return;
        }
        for (const QString& file : files) {
            auto* effect = new QSoundEffect(this);
            // QSoundEffect reads 16-bit PCM WAV files; it tells only that a file failed, not why.
            connect(effect, &QSoundEffect::statusChanged, this, [effect, file] {
                if (effect->status() == QSoundEffect::Error)
                    qCWarning(lcSound, "cannot play sound %s: not a 16-bit PCM WAV file that can be read",
                              qPrintable(file));
            });
            effect->setSource(QUrl::fromLocalFile(file));
            effects_.push_back(effect);
        }
    }

    // A cue that waited longer than its moment (the service held the thread) is not played late.
    void Play(std::size_t cue, QDeadlineTimer moment)
    {
        if (moment.hasExpired()) return;
        if (cue < effects_.size() && effects_[cue]->status() == QSoundEffect::Ready) effects_[cue]->play();
    }

    void Stop()
    {
        for (QSoundEffect* effect : effects_) effect->stop();
    }

private:
    std::vector<QSoundEffect*> effects_; // children of this object
};

class SoundEffects final : public platform::SoundOutput {
public:
    explicit SoundEffects(const QStringList& files)
    {
        player_.Post([files](Player& player) { player.Open(files); });
    }

    void Play(platform::Cue cue) override
    {
        player_.Post([cue, moment = QDeadlineTimer(300)](Player& player) { player.Play(std::size_t(cue), moment); });
    }

    void Stop() override
    {
        player_.Post([](Player& player) { player.Stop(); });
    }

    bool Finish(QDeadlineTimer deadline) override { return player_.Finish(deadline); }

private:
    platform::Worker<Player> player_{QStringLiteral("sound"), lcSound()};
};

} // namespace

class SoundEffectsPlugin final : public QObject, public platform::SoundPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID MerendellaSoundPlugin_iid)
    Q_INTERFACES(platform::SoundPlugin)

public:
    std::unique_ptr<platform::SoundOutput> Open(const QStringList& files) override
    {
        return std::make_unique<SoundEffects>(files);
    }
};

#include "SoundEffects.moc"

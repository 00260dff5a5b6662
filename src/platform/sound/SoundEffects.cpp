// The sound module: plays the game's cues with Qt Multimedia, on a thread of its own.

#include "platform/SoundOutput.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>
#include <vector>

namespace {

// Lives on the sound thread, with the effects it makes.
class Player final : public QObject {
public:
    void Open(const QStringList& files)
    {
        for (const QString& file : files) {
            QSoundEffect* effect = nullptr;
            if (!file.isEmpty()) {
                effect = new QSoundEffect(this);
                effect->setSource(QUrl::fromLocalFile(file));
            }
            effects_.push_back(effect);
        }
    }

    void Play(int cue)
    {
        if (cue < 0 || std::size_t(cue) >= effects_.size()) return;
        if (QSoundEffect* effect = effects_[std::size_t(cue)]; effect && effect->status() == QSoundEffect::Ready)
            effect->play();
    }

    void Stop()
    {
        for (QSoundEffect* effect : effects_)
            if (effect) effect->stop();
    }

private:
    std::vector<QSoundEffect*> effects_; // children of this object
};

class SoundEffects final : public platform::SoundOutput {
public:
    SoundEffects()
        : SoundOutput(qApp)
    {
        thread_.setObjectName(QStringLiteral("sound"));
        player_->moveToThread(&thread_);
        connect(&thread_, &QThread::finished, player_, &QObject::deleteLater);
        thread_.start();
    }

    ~SoundEffects() override
    {
        thread_.quit();
        thread_.wait();
    }

    bool HaveOutput() override
    {
        // Qt's audio backend tells in its own words that it found no sound server; the game
        // says it once, in its own.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        const bool have = !QMediaDevices::audioOutputs().isEmpty();
        qInstallMessageHandler(previous);
        return have;
    }

    void Open(const QStringList& files) override
    {
        QMetaObject::invokeMethod(player_, [player = player_, files] { player->Open(files); });
    }

    void Play(int cue) override
    {
        QMetaObject::invokeMethod(player_, [player = player_, cue] { player->Play(cue); });
    }

    void Stop() override
    {
        QMetaObject::invokeMethod(player_, [player = player_] { player->Stop(); });
    }

private:
    QThread thread_;
    Player* player_ = new Player; // deleted on its thread as the thread ends
};

} // namespace

extern "C" Q_DECL_EXPORT platform::SoundOutput* merendella_sound_output() { return new SoundEffects; }

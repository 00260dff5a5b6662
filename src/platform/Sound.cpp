#include "Sound.h"

#include "App.h"
#include "Log.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>
#include <array>

namespace platform {

namespace {

constexpr std::array<const char*, 5> Files{"pick", "swap", "nothing", "click", "win"};

struct Player {
    std::array<QPointer<QSoundEffect>, Files.size()> effects; // the application owns them
    bool muted = false;
};

Player& P()
{
    static Player player;
    return player;
}

// What QSoundEffect plays: a RIFF WAVE file of 16-bit PCM samples. Empty when it is one.
QString Unplayable(const QString& path)
{
    QFile file(path);
    if (!file.exists()) return QStringLiteral("file not found");
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("cannot read it");
    const QByteArray head = file.read(36);
    const auto u16 = [&](int at) { return int(quint8(head[at])) | int(quint8(head[at + 1])) << 8; };
    if (head.size() < 36 || !head.startsWith("RIFF") || head.mid(8, 8) != "WAVEfmt " || u16(20) != 1 || u16(34) != 16)
        return QStringLiteral("not a 16-bit PCM WAV file");
    return {};
}

} // namespace

void Sound::Load()
{
    // Qt's audio backend tells in its own words that it found no sound server; the game says
    // it once, in its own.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const bool haveOutput = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previous);
    if (!haveOutput) {
        qCWarning(lcSound, "no sound: no audio output was found (is a sound server running?)");
        return;
    }
    for (std::size_t cue = 0; cue < Files.size(); ++cue) {
        const QString path = App::Path() + QStringLiteral("/sounds/%1.wav").arg(QLatin1String(Files[cue]));
        if (const QString reason = Unplayable(path); !reason.isEmpty()) {
            qCWarning(lcSound, "cannot play sound %s: %s", qPrintable(path), qPrintable(reason));
            continue;
        }
        P().effects[cue] = new QSoundEffect(qApp);
        P().effects[cue]->setSource(QUrl::fromLocalFile(path));
    }
}

void Sound::Play(Cue cue)
{
    QSoundEffect* effect = P().effects[std::size_t(cue)];
    // One still loading, or one that failed, is silence.
    if (!P().muted && effect && effect->status() == QSoundEffect::Ready) effect->play();
}

void Sound::ToggleMute()
{
    P().muted = !P().muted;
    if (P().muted)
        for (auto& effect : P().effects)
            if (effect) effect->stop();
}

bool Sound::Muted() { return P().muted; }

} // namespace platform

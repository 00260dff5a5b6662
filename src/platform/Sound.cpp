#include "Sound.h"

#include "App.h"
#include "Log.h"
#include "SoundOutput.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QPointer>
#include <array>

namespace platform {

namespace {

constexpr std::array<const char*, 5> Files{"pick", "swap", "nothing", "click", "win"};

struct Player {
    QPointer<SoundOutput> output; // the application object owns it
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

// The module beside the program that plays sounds; null, with the reason said, when it cannot load.
SoundOutput* OpenOutput()
{
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/merendella_sound"));
    const auto entry = reinterpret_cast<MerendellaSoundEntry>(module.resolve(MERENDELLA_SOUND_ENTRY));
    if (!entry) {
        qCWarning(lcSound, "no sound: %s", qPrintable(module.errorString()));
        return nullptr;
    }
    SoundOutput* output = entry();
    if (!output->HaveOutput()) {
        qCWarning(lcSound, "no sound: no audio output was found (is a sound server running?)");
        delete output;
        return nullptr;
    }
    return output;
}

} // namespace

void Sound::Load()
{
    SoundOutput* output = OpenOutput();
    if (!output) return;
    QStringList files;
    for (const char* name : Files) {
        const QString path = App::Path() + QStringLiteral("/sounds/%1.wav").arg(QLatin1String(name));
        const QString reason = Unplayable(path);
        if (!reason.isEmpty()) qCWarning(lcSound, "cannot play sound %s: %s", qPrintable(path), qPrintable(reason));
        files << (reason.isEmpty() ? path : QString());
    }
    output->Open(files);
    P().output = output;
}

void Sound::Play(Cue cue)
{
    if (!P().muted && P().output) P().output->Play(int(cue));
}

void Sound::ToggleMute()
{
    P().muted = !P().muted;
    if (P().muted && P().output) P().output->Stop();
}

bool Sound::Muted() { return P().muted; }

} // namespace platform

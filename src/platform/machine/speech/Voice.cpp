// The speech module: an Italian voice through Qt's speech engine (speech-dispatcher on Linux, the
// system's voices elsewhere), on a thread of its own: the service may take seconds to list its
// voices, or hang, and no move of the child may wait for it.

#include "SpeechPlugin.h"
#include "machine/Worker.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTextToSpeech>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <algorithm>
#include <mutex>
#include <optional>

Q_LOGGING_CATEGORY(lcSpeech, "merendella.speech")

namespace {

// Lives on the speech thread, with the engine it makes.
class Speaker final : public QObject {
public:
    void Start()
    {
        if (QTextToSpeech::availableEngines().isEmpty()) return Silence(QStringLiteral("Qt has no speech engine"));
        auto* engine = new QTextToSpeech(this);
        const QList<QLocale> locales = engine->availableLocales();
        // Italian is never read with another language's voice.
        const bool italian = std::any_of(locales.begin(), locales.end(),
                                         [](const QLocale& l) { return l.language() == QLocale::Italian; });
        if (italian) engine->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        if (locales.isEmpty())
            Silence(QStringLiteral("no speech service (%1)").arg(engine->errorString()));
        else if (!italian || engine->voice().locale().language() != QLocale::Italian)
            Silence(QStringLiteral("no Italian voice"));
        else
            engine_ = engine;
        if (!engine_) return delete engine;
#ifdef __GLIBC__
        // Listing the service's voices (thousands, with espeak-ng's variants) left megabytes of
        // freed memory in the heap: given back to the system (glibc only; elsewhere the
        // allocator decides).
        malloc_trim(0);
#endif
        // A service that goes away is not asked again: every question would wait for it.
        connect(engine, &QTextToSpeech::errorOccurred, this,
                [this, engine](QTextToSpeech::ErrorReason, const QString& why) {
                    if (engine_ == engine) Silence(QStringLiteral("the speech service failed (%1)").arg(why));
                });
    }

    void Say(const QString& text)
    {
        if (engine_) engine_->say(text); // stops what is being said first
    }

    void Stop()
    {
        if (engine_) engine_->stop();
    }

private:
    void Silence(const QString& why)
    {
        qCWarning(lcSpeech, "no speech: %s", qPrintable(why));
        if (engine_) engine_->deleteLater();
        engine_ = nullptr;
    }

    QPointer<QTextToSpeech> engine_;
};

// What the child is to hear next. While the service is slow or hangs, a newer utterance replaces
// the one that waits (an empty one stops the voice), so that nothing piles up behind it.
struct Next {
    std::mutex mutex;
    std::optional<QString> text;
};

class Voice final : public platform::SpeechEngine {
public:
    Voice()
    {
        speaker_.Post([](Speaker& speaker) { speaker.Start(); });
    }

    void Say(const QString& text) override { Tell(text); }
    void Stop() override { Tell(QString()); }
    bool Finish(QDeadlineTimer deadline) override { return speaker_.Finish(deadline); }

private:
    void Tell(const QString& text)
    {
        {
            const std::lock_guard lock(next_->mutex);
            if (std::exchange(next_->text, text)) return; // a call already waits, and will take this
        }
        const bool posted = speaker_.Post([next = next_](Speaker& speaker) {
            std::optional<QString> text;
            {
                const std::lock_guard lock(next->mutex);
                text.swap(next->text);
            }
            if (!text) return;
            if (text->isEmpty())
                speaker.Stop();
            else
                speaker.Say(*text);
        });
        if (!posted) {
            const std::lock_guard lock(next_->mutex);
            next_->text.reset();
        }
    }

    std::shared_ptr<Next> next_ = std::make_shared<Next>();
    platform::Worker<Speaker> speaker_{QStringLiteral("speech"), lcSpeech()};
};

} // namespace

class VoicePlugin final : public QObject, public platform::SpeechPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID MerendellaSpeechPlugin_iid)
    Q_INTERFACES(platform::SpeechPlugin)

public:
    std::unique_ptr<platform::SpeechEngine> Open() override { return std::make_unique<Voice>(); }
};

#include "Voice.moc"

// The speech module: an Italian voice through Qt's speech engine (speech-dispatcher on Linux, the
// system's voices elsewhere), on a thread of its own: the service may take seconds to list its
// voices, or hang, and no move of the child may wait for it.

#include "SpeechPlugin.h"
#include "Worker.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTextToSpeech>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <algorithm>

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

class Voice final : public platform::SpeechEngine {
public:
    Voice()
    {
        speaker_.Post([](Speaker& speaker) { speaker.Start(); });
    }

    void Say(const QString& text) override
    {
        speaker_.Post([text](Speaker& speaker) { speaker.Say(text); });
    }

    void Stop() override
    {
        speaker_.Post([](Speaker& speaker) { speaker.Stop(); });
    }

private:
    platform::Worker<Speaker> speaker_{QStringLiteral("speech")};
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

#include "machine/Modules.h"

#include "SoundPlugin.h"
#include "SpeechPlugin.h"
#include "machine/Log.h"

#include <QPluginLoader>

namespace platform {

namespace {

// The plugin merendella_<what> in the folder, or null with the reason said in the category.
template <class Plugin> Plugin* Load(const QString& folder, const char* what, const QLoggingCategory& category)
{
    QPluginLoader module(folder + QStringLiteral("/merendella_") + QLatin1String(what));
    auto* plugin = qobject_cast<Plugin*>(module.instance());
    if (!plugin) qCWarning(category, "no %s: %s", what, qPrintable(module.errorString()));
    return plugin;
}

} // namespace

std::unique_ptr<SoundOutput> OpenSoundOutput(const QString& folder)
{
    auto* plugin = Load<SoundPlugin>(folder, "sound", lcSound());
    if (!plugin) return nullptr;
    QStringList files;
    for (const char* name : {"pick", "swap", "nothing", "click", "win"})
        files << folder + QStringLiteral("/sounds/%1.wav").arg(QLatin1String(name));
    return plugin->Open(files);
}

std::unique_ptr<SpeechEngine> OpenSpeech(const QString& folder)
{
    auto* plugin = Load<SpeechPlugin>(folder, "speech", lcSpeech());
    return plugin ? plugin->Open() : nullptr;
}

} // namespace platform

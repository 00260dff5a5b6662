#include "platform/SoundModule.h"

#include "SoundPlugin.h"
#include "platform/Log.h"

#include <QPluginLoader>

namespace platform {

std::unique_ptr<SoundOutput> OpenSoundOutput(const QString& folder)
{
    QPluginLoader module(folder + QStringLiteral("/merendella_sound"));
    auto* plugin = qobject_cast<SoundPlugin*>(module.instance());
    if (!plugin) {
        qCWarning(lcSound, "no sound: %s", qPrintable(module.errorString()));
        return nullptr;
    }
    QStringList files;
    for (const char* name : {"pick", "swap", "nothing", "click", "win"})
        files << folder + QStringLiteral("/sounds/%1.wav").arg(QLatin1String(name));
    auto output = plugin->Open(files);
    if (!output) qCWarning(lcSound, "no sound: no audio output was found (is a sound server running?)");
    return output;
}

} // namespace platform

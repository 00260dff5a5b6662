#include "Icon.h"

#include <QFileInfo>
#include <QHash>

namespace platform {

QIcon LoadIcon(const QString& path)
{
    static QHash<QString, QIcon> icons;
    if (auto it = icons.constFind(path); it != icons.constEnd()) return *it;
    QIcon icon(path);
    const QString base = path.left(path.lastIndexOf(QLatin1Char('.')));
    for (const char* render : {"@2x.png", "@4x.png"})
        if (QFileInfo::exists(base + QLatin1String(render))) icon.addFile(base + QLatin1String(render));
    icons.insert(path, icon);
    return icon;
}

} // namespace platform

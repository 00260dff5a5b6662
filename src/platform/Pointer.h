#pragma once

#include <QCursor>
#include <QString>

namespace platform {

// A mouse pointer from an embedded icon (hot spot at the centre of its 32 x 32 image) or
// cursor file (its own hot spot). An empty path or an unreadable file gives the standard arrow.
QCursor LoadPointer(const QString& path);

// The hot spot that a .cur file declares for its first image; (-1, -1) when it has none.
QPoint CursorHotSpot(const QString& path);

} // namespace platform

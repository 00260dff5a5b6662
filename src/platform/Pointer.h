#pragma once

#include <QCursor>
#include <QPixmap>
#include <QString>

namespace platform {

// An embedded icon drawn side pixels wide, from the smallest of its renders (Picture::Renders)
// that is at least as large, so that it stays sharp when shown larger than designed.
QPixmap LoadIcon(const QString& path, int side);

// A mouse pointer from an embedded icon (hot spot at the centre of its 32 x 32 image) or
// cursor file (its own hot spot), grown with the display as the text is. An empty path or an
// unreadable file gives the standard arrow.
QCursor LoadPointer(const QString& path);

// The hot spot that a .cur file declares for its first image; (-1, -1) when it has none.
QPoint CursorHotSpot(const QString& path);

} // namespace platform

#pragma once

#include <QCursor>
#include <QString>

namespace platform {

// A mouse pointer from an embedded icon (hot spot at the centre of its 32 x 32 image) or cursor
// file (its own hot spot), shown scale times as large as designed. An empty path or an
// unreadable file gives the standard arrow.
QCursor LoadPointer(const QString& path, double scale);

} // namespace platform

#pragma once

#include <QIcon>
#include <QString>

namespace platform {

// An embedded picture of 32 pixels square with its larger renders beside it, name@2x.png and
// name@4x.png, as one icon: drawn from the smallest render that covers the size shown, so that it
// stays sharp when shown larger than designed. Each render is read once, when first needed.
QIcon LoadIcon(const QString& path);

} // namespace platform

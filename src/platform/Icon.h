#pragma once

#include <QIcon>
#include <QString>

namespace platform {

// An embedded picture with its larger renders beside it, name@2x.png and name@4x.png, as one
// icon: Qt draws it from the smallest render that covers the size shown, so that it stays sharp
// when shown larger than designed. Each picture is read once.
QIcon LoadIcon(const QString& path);

} // namespace platform

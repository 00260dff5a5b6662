#pragma once

#include <QString>
#include <string_view>

namespace platform {

inline QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace platform

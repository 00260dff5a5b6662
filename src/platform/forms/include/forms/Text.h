#pragma once

#include <QCoreApplication>
#include <QString>
#include <string_view>

namespace platform {

inline QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// A text of a screen's description in the game's language: its translation in the screen's context.
inline QString Translated(std::string_view context, std::string_view text)
{
    if (text.empty()) return {};
    const QByteArray where(context.data(), qsizetype(context.size())), source(text.data(), qsizetype(text.size()));
    return QCoreApplication::translate(where.constData(), source.constData());
}

} // namespace platform

#include "machine/Display.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

QSize SystemDisplay::Size(const QWidget* window) const
{
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

} // namespace platform

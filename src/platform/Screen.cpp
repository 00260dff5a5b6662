#include "Screen.h"

#include "Form.h"
#include "Forms.h"
#include "Units.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace platform {

namespace {
QSize sizeOverride;

QSize DisplaySize()
{
    if (!sizeOverride.isEmpty()) return sizeOverride;
    // The display of the active screen; the primary one before any screen is shown.
    QScreen* screen = nullptr;
    if (const Form* active = Forms::Active()) screen = active->Window()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}
} // namespace

double Screen::Width() { return PixelsToTwips(DisplaySize().width()); }
double Screen::Height() { return PixelsToTwips(DisplaySize().height()); }

double Screen::TextScale()
{
    const QSize display = DisplaySize();
    return std::max(1.0, std::min(display.width() / 1024.0, display.height() / 768.0));
}
void Screen::SetSizeForTesting(QSize pixels) { sizeOverride = pixels; }
bool Screen::Simulated() { return !sizeOverride.isEmpty(); }

} // namespace platform

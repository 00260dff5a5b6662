// A screen's window on the display: position and size in twips, scale units, window state,
// and the drawing freeze.

#include "FormWindow.h"
#include "forms/Classroom.h"
#include "forms/Form.h"
#include "forms/Units.h"
#include "machine/Display.h"

#include <QTimer>
#include <utility>

namespace platform {

double Form::Left() const { return PixelsToTwips(window_->frameGeometry().x()); }
double Form::Top() const { return PixelsToTwips(window_->frameGeometry().y()); }
double Form::Width() const { return PixelsToTwips(window_->frameGeometry().width()); }
double Form::Height() const { return PixelsToTwips(window_->frameGeometry().height()); }

// The program's first window covers the display from the moment it is made (see Form's
// constructor) and its screen is activated, which covers the display, before its controls come on
// display: until then the screen's own moves and resizes are not passed on. A window on display
// that moved and shrank and grew again would keep the window system busy on the core that the
// first frame needs.
void Form::SetLeft(double twips)
{
    if (!contentsHidden_) window_->move(TwipsToPixels(twips), window_->frameGeometry().y());
}

void Form::SetTop(double twips)
{
    if (!contentsHidden_) window_->move(window_->frameGeometry().x(), TwipsToPixels(twips));
}

void Form::SetWidth(double twips)
{
    if (contentsHidden_) return;
    const int frame = window_->frameGeometry().width() - window_->width();
    window_->resize(std::max(1, TwipsToPixels(twips) - frame), window_->height());
    ClientResized();
}

void Form::SetHeight(double twips)
{
    if (contentsHidden_) return;
    const int frame = window_->frameGeometry().height() - window_->height();
    window_->resize(window_->width(), std::max(1, TwipsToPixels(twips) - frame));
    ClientResized();
}

platform::Screen Form::Screen() const { return platform::Screen(services_.display.Size(window_)); }

void Form::CoverDisplay()
{
    const platform::Screen display = Screen();
    if (contentsHidden_) {
        ClientResized(); // the window covers it already: its controls are laid out for it
    } else {
        SetTop(0);
        SetLeft(0);
        SetHeight(display.Height());
        SetWidth(display.Width());
    }
    // Window managers keep their panels over a window that only places itself, and Wayland
    // compositors do not let a client place itself at all: ask for full-screen state too.
    // When the window system answers with the final size, the ordinary resize rescales.
    fullScreen_ = services_.display.Managed();
    KeepFullScreen();
}

void Form::KeepFullScreen()
{
    // Some window systems take full screen away while another program's window is shown (sway
    // for a dialog of another client); the screen asks for it again when it is back in front, and
    // comes back from minimised with it.
    const Qt::WindowStates state = window_->windowState();
    if (fullScreen_ && (state & (Qt::WindowMinimized | Qt::WindowFullScreen)) != Qt::WindowFullScreen)
        window_->setWindowState((state & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
}

void Form::StateChanged()
{
    // A screen that holds the display covers it whatever took that away (a window manager's key,
    // minimising); asked again a moment later, so that a window system that refuses is not asked in
    // a loop.
    if (!services_.classroom.HoldsDisplay() || std::exchange(coverAgain_, true)) return;
    QTimer::singleShot(250, window_, [this] {
        coverAgain_ = false;
        if (loaded_) KeepFullScreen();
    });
}

double Form::ScaleWidth() const { return InScale(client_->width(), userScaleWidth_); }
double Form::ScaleHeight() const { return InScale(client_->height(), userScaleHeight_); }

double Form::InScale(int pixels, double userUnits) const
{
    return scaleMode_ == ScalePixels ? pixels : scaleMode_ == ScaleUser ? userUnits : PixelsToTwips(pixels);
}

void Form::SetScaleMode(int mode) { scaleMode_ = (mode == ScalePixels) ? ScalePixels : ScaleTwips; }

void Form::SetScaleHeight(double units)
{
    userScaleWidth_ = ScaleWidth();
    userScaleHeight_ = units;
    scaleMode_ = ScaleUser;
}

int Form::WindowState() const
{
    const Qt::WindowStates s = window_->windowState();
    if (s & Qt::WindowMinimized) return Minimized;
    if (s & Qt::WindowMaximized) return Maximized;
    return Normal;
}

void Form::SetWindowState(int state)
{
    Qt::WindowStates s = window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == Minimized) s |= Qt::WindowMinimized;
    if (state == Maximized) s |= Qt::WindowMaximized;
    window_->setWindowState(s);
}

// Qt repaints a window once its updates are enabled again: the one repaint that a freeze of the
// window's drawing gives.
void Form::LockWindowUpdate(bool locked) { window_->setUpdatesEnabled(!locked); }

} // namespace platform

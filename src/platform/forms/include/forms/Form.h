#pragma once

#include "forms/ControlArray.h"
#include "forms/Description.h"
#include "forms/MessageBoxes.h"
#include "forms/Screen.h"
#include "forms/Services.h"

#include <QFont>
#include <QObject>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class QMenuBar;
class QPainter;
class QRect;
class QWidget;

namespace platform {

class Control;
class FormWindow;

// A screen: a top-level window whose client area holds the controls of its description. The
// screen's own code overrides the three events. Forms loads, shows and unloads screens.
class Form : public QObject {
public:
    Form(const FormDesc& description, Services& services);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString& Name() const { return name_; }

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    // Raised whenever the client area's size changes, before the change's setter returns.
    virtual void Form_Resize() {}

    // Outer window geometry, in twips.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void SetLeft(double twips);
    void SetTop(double twips);
    void SetWidth(double twips);
    void SetHeight(double twips);

    // Moves the window to the display's top-left corner and sizes it to the whole display (Top,
    // Left, Height, Width, in that order), and asks the window system for full-screen state.
    void CoverDisplay();
    // The display that shows this screen.
    platform::Screen Screen() const;

    // Inner size, in the present scale unit.
    double ScaleWidth() const;
    double ScaleHeight() const;
    enum ScaleModes { ScaleUser = 0, ScaleTwips = 1, ScalePixels = 3 };
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode);
    // Makes the client area's height count this many units; the horizontal unit stays.
    void SetScaleHeight(double units);

    enum WindowStates { Normal = 0, Minimized = 1, Maximized = 2 };
    int WindowState() const;
    void SetWindowState(int state);

    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t bgr);

    // Persistent drawing: with AutoRedraw on, a filled box between two corners, in the present
    // scale unit, stays behind the controls, following the client area's size.
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }
    void FillBox(double x1, double y1, double x2, double y2, std::uint32_t bgr);

    // Freezes the drawing of this screen's window while its controls change, and releases it.
    void LockWindowUpdate(bool locked);

    // Raises the window and asks the window system for the keyboard.
    void ComeToFront();
    // A key that does something wherever the screen is on display (not while a box is open).
    void AddShortcut(int key, std::function<void()> action);
    // A modal box over this screen, its text said aloud as it opens; returns the answer code of the
    // button pressed.
    int MsgBox(const QString& text, int style = vbOKOnly, std::optional<QString> title = std::nullopt);

    // Every control, in creation order.
    const std::vector<Control*>& Controls() const { return controls_; }
    Control* Find(const QString& name, int index = -1) const;
    template <class T> T& Get(const QString& name) const
    {
        if (auto* c = dynamic_cast<T*>(Find(name))) return *c;
        throw std::logic_error("no such control: " + name.toStdString());
    }
    template <class T> ControlArray<T> Array(const QString& name) const
    {
        std::vector<T*> elements;
        for (int i = 0;; ++i) {
            auto* c = dynamic_cast<T*>(Find(name, i));
            if (!c) break;
            elements.push_back(c);
        }
        return ControlArray<T>(std::move(elements));
    }

    QWidget* Window() const;
    QWidget* Client() const;
    // Runs work once the window's first frame is on screen, or at once when it is already.
    void AfterFirstFrame(std::function<void()> work);
    // Gives the focus to the first control in tab order that can take it, unless one has it.
    void FocusFirst();
    // Whether the screen came on display within the last double-click interval: a press then is the
    // second half of the double click that opened it, and is not taken.
    bool JustShown() const;

    // What Forms does with a screen: loading runs its load handler, and from then on its resize
    // handler; showing puts its window and controls on display; unloading takes it off the screen
    // and stops its timers, and no handler of its runs again. The window's own close control asks
    // for the close handler, except in classroom mode.
    void Load();
    void Show();
    void Unload();
    void SetCloseHandler(std::function<void()> handler) { close_ = std::move(handler); }

protected:
    Services& services_;

private:
    void ClientResized(bool force = false);
    void KeepFullScreen();
    void StateChanged();
    void PaintBackground(QPainter& painter, const QRect& rect) const;
    double InScale(int pixels, double userUnits) const;
    // The menu bar across the window and the client area below it, as large as the window leaves
    // or of the size given.
    void LayoutWindow(std::optional<QSize> client = std::nullopt);

    struct Box {
        QRectF area; // in fractions of the client area
        std::uint32_t bgr;
    };

    QString name_;
    FormWindow* window_ = nullptr;
    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    std::vector<QWidget*> tabOrder_;
    std::uint32_t backColor_ = 0x8000000F;
    int scaleMode_ = ScaleTwips;
    double userScaleWidth_ = 0, userScaleHeight_ = 0;
    bool autoRedraw_ = false;
    std::vector<Box> drawn_;
    bool loaded_ = false;
    bool fullScreen_ = false; // covers the display in the window system's full-screen state
    bool coverAgain_ = false; // full screen is asked for again in a moment
    bool contentsHidden_ = false; // the window is on display before the screen is shown
    QSize lastClient_;
    std::function<void()> close_;
};

} // namespace platform

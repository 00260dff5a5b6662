#pragma once

#include "ControlArray.h"
#include "Description.h"

#include <QFont>
#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QPainter;
class QRect;
class QWidget;

namespace platform {

class Control;
class Image;
class FormWindow;
class DragOutline;

// A screen: a top-level window whose client area holds the controls of its description.
// The screen's own code overrides the three events. Forms are loaded, shown and unloaded
// through Forms, which owns them.
class Form : public QObject {
public:
    explicit Form(const FormDesc& description);
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

    // Moves the window to the display's top-left corner and sizes it to the whole display:
    // Top, Left, Height, Width, in that order.
    void CoverDisplay();

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
    // Paints the background and what was drawn persistently, within rect.
    void PaintBackground(QPainter& painter, const QRect& rect) const;

    // The window's handle, for LockWindowUpdate.
    std::uintptr_t hWnd() const { return reinterpret_cast<std::uintptr_t>(window_); }

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
    Control* ControlOf(const QWidget* widget) const;

    QWidget* Window() const;
    QWidget* Client() const;
    // Gives the focus to the first control in tab order that can take it.
    void FocusFirst();

    // Dragging a control inside this screen.
    Image* DragSource() const { return dragSource_; }
    void BeginDrag(Image& source, QPoint grab);
    void DragTo(QPoint clientPos);
    void DropAt(QPoint clientPos);
    void CancelDrag();
    QWidget* DragOutlineWidget() const;

    // Moving a card without dragging it: a tap on a card (a press and release that never
    // leaves it), or Enter or Space on the card the arrow keys highlight, selects it; the
    // next one on another card drops the selected card there, as a drag would.
    Image* Selected() const { return selected_; }
    Image* Highlighted() const { return highlighted_; }
    void Tap(Image& card, QPoint at);
    // Forgets the selection and the highlight.
    void ClearSelection();
    // Arrows, Enter, Space and Escape on the screen; false for a key it does not take.
    bool KeyPress(int key);
    // What Escape does when no card is selected.
    void SetEscapeAction(std::function<void()> action) { escape_ = std::move(action); }

private:
    friend class FormWindow;
    friend class Forms;
    void ClientResized(bool force = false);
    void KeepFullScreen();
    double InScale(int pixels, double userUnits) const;
    void BuildControl(const ControlDesc& desc);
    void LayoutWindow();

    struct Box {
        QRectF area; // in fractions of the client area
        std::uint32_t bgr;
    };

    QString name_;
    FormWindow* window_ = nullptr;
    QWidget* client_ = nullptr;
    QWidget* menuBar_ = nullptr;
    DragOutline* outline_ = nullptr;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    std::vector<QWidget*> tabOrder_;
    QFont designFont_; // the screen's own font, before the display grows it
    std::uint32_t backColor_ = 0x8000000F;
    int scaleMode_ = ScaleTwips;
    double userScaleWidth_ = 0, userScaleHeight_ = 0;
    bool autoRedraw_ = false;
    std::vector<Box> drawn_;
    bool loaded_ = false;
    bool fullScreen_ = false; // covers the display in the window system's full-screen state
    QSize lastClient_;
    Image* dragSource_ = nullptr;
    QPoint grab_;
    Image* selected_ = nullptr;
    Image* highlighted_ = nullptr;
    std::function<void()> escape_;
};

// Freezes the drawing of one window, given its handle; 0 releases the freeze.
bool LockWindowUpdate(std::uintptr_t hWnd);

} // namespace platform

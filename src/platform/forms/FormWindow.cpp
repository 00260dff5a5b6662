#include "FormWindow.h"

#include "machine/Clock.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QTimer>

namespace platform {

namespace {

// Swallows the presses that reach a screen straight after it appeared.
class ClickGuard : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* window = widget ? dynamic_cast<FormWindow*>(widget->window()) : nullptr;
        return window && window->JustShown();
    }
};

// The client area: the form's background colour and its persistent drawing.
class ClientArea : public QWidget {
public:
    ClientArea(std::function<void(QPainter&, const QRect&)> paint, QWidget* parent)
        : QWidget(parent),
          paint_(std::move(paint))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setObjectName(QStringLiteral("client"));
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        paint_(p, e->rect());
    }

private:
    std::function<void(QPainter&, const QRect&)> paint_;
};

} // namespace

FormWindow::FormWindow(Handlers handlers, const Clock& clock)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      handlers_(std::move(handlers)),
      clock_(clock),
      client_(new ClientArea(
          [this](QPainter& p, const QRect& r) {
              handlers_.paintBackground(p, r);
              // A timer posted from the paint runs once the painted frame was put on screen.
              if (!framed_) QTimer::singleShot(0, this, &FormWindow::FirstFrameShown);
          },
          this))
{
    static ClickGuard* guard = nullptr;
    if (!guard) qApp->installEventFilter(guard = new ClickGuard);
}

bool FormWindow::JustShown() const
{
    return shownAt_ >= 0 &&
           clock_.Milliseconds() - shownAt_ < QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

void FormWindow::AfterFirstFrame(std::function<void()> work)
{
    if (framed_)
        work();
    else
        afterFirstFrame_.push_back(std::move(work));
}

void FormWindow::FirstFrameShown()
{
    if (std::exchange(framed_, true)) return;
    for (auto& work : std::exchange(afterFirstFrame_, {})) work();
}

void FormWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A window system that never lets the window paint (hidden, minimised at once) delays the rest
    // by a second at most.
    if (!framed_) QTimer::singleShot(1000, this, &FormWindow::FirstFrameShown);
    shownAt_ = clock_.Milliseconds();
    // The focused button shows its mark from the start, not only once Tab was pressed.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void FormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    handlers_.resized(false);
}

void FormWindow::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) handlers_.activated();
    if (e->type() == QEvent::WindowStateChange) {
        const auto old = static_cast<QWindowStateChangeEvent*>(e)->oldState();
        // Restoring a minimised window rescales its controls, as any change of size does.
        if ((old & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) handlers_.resized(true);
        handlers_.stateChanged();
    }
}

void FormWindow::closeEvent(QCloseEvent* e)
{
    // The window's own close control unloads the screen, which then hides and destroys it.
    e->ignore();
    handlers_.closeAsked();
}

} // namespace platform

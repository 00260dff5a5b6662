#include "FormWindow.h"

#include "App.h"
#include "Form.h"
#include "Forms.h"
#include "Sound.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QStyleHints>

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

} // namespace

FormWindow::FormWindow(Form& form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      form_(form)
{
    static ClickGuard* guard = nullptr;
    if (!guard) qApp->installEventFilter(guard = new ClickGuard);
}

bool FormWindow::JustShown() const
{
    return shown_.isValid() && shown_.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

void FormWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    shown_.start();
    // The focused button shows its mark from the start, not only once Tab was pressed.
    setAttribute(Qt::WA_KeyboardFocusChange);
    App::FirstWindowShown();
}

void FormWindow::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_M && !e->isAutoRepeat())
        Sound::ToggleMute();
    else if (!form_.KeyPress(e->key()))
        QWidget::keyPressEvent(e);
}

void FormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    form_.ClientResized();
}

void FormWindow::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) form_.KeepFullScreen();
    if (e->type() == QEvent::WindowStateChange) {
        const auto old = static_cast<QWindowStateChangeEvent*>(e)->oldState();
        // Restoring a minimised window rescales its controls, as any change of size does.
        if ((old & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) form_.ClientResized(true);
    }
}

void FormWindow::closeEvent(QCloseEvent* e)
{
    // The window's own close control unloads the screen; Forms hides and destroys it.
    e->ignore();
    if (Forms::IsLoaded(&form_)) Forms::Unload(form_);
}

ClientArea::ClientArea(Form& form, QWidget* parent)
    : QWidget(parent),
      form_(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    form_.PaintBackground(p, e->rect());
}

void ClientArea::mousePressEvent(QMouseEvent* e)
{
    // A press on anything that is not a card puts the selected card down.
    form_.ClearSelection();
    QWidget::mousePressEvent(e);
}

DragOutline::DragOutline(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void DragOutline::resizeEvent(QResizeEvent*)
{
    const QRect outer = rect();
    setMask(QRegion(outer).subtracted(QRegion(outer.adjusted(3, 3, -3, -3))));
}

void DragOutline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF ring = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(ring);
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.drawRect(ring);
}

} // namespace platform

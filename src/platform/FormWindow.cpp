#include "FormWindow.h"

#include "Form.h"
#include "Forms.h"

#include <QCloseEvent>
#include <QPainter>

namespace platform {

FormWindow::FormWindow(Form& form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      form_(form)
{}

void FormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    form_.ClientResized();
}

void FormWindow::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
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

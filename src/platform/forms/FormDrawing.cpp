// A screen's background: its colour and what was drawn on it persistently. What is drawn is
// kept as boxes in fractions of the client area and painted again on every repaint, so it
// costs a few bytes a box instead of an image of the whole display.

#include "forms/Form.h"
#include "forms/Units.h"

#include <QPainter>
#include <QWidget>
#include <cmath>

namespace platform {

void Form::SetBackColor(std::uint32_t bgr)
{
    backColor_ = bgr & 0xFFFFFF;
    client_->update();
}

void Form::FillBox(double x1, double y1, double x2, double y2, std::uint32_t bgr)
{
    const double sw = ScaleWidth(), sh = ScaleHeight();
    if (!autoRedraw_ || !(sw > 0) || !(sh > 0)) return;
    auto fraction = [](double v, double whole) { return std::isfinite(v) ? std::clamp(v / whole, -1.0, 2.0) : 0.0; };
    const QRectF area = QRectF(QPointF(fraction(x1, sw), fraction(y1, sh)), QPointF(fraction(x2, sw), fraction(y2, sh)))
                            .normalized()
                            .intersected(QRectF(0, 0, 1, 1));
    if (area.isEmpty()) return;
    // A box over the whole client area hides everything drawn before it.
    if (area == QRectF(0, 0, 1, 1)) drawn_.clear();
    drawn_.push_back({area, bgr & 0xFFFFFF});
    // What is drawn appears once the handler returns; a screen not yet shown paints it all as it comes.
    if (client_->isVisible()) client_->update();
}

void Form::PaintBackground(QPainter& p, const QRect& rect) const
{
    p.fillRect(rect, ColorFromBGR(backColor_));
    const QSize size = client_->size();
    // Corners are rounded to whole pixels, so that boxes drawn side by side tile without gaps
    // or overlaps at any size.
    auto x = [&](double f) { return int(std::lround(f * size.width())); };
    auto y = [&](double f) { return int(std::lround(f * size.height())); };
    for (const Box& box : drawn_) {
        const QRect r(QPoint(x(box.area.left()), y(box.area.top())),
                      QPoint(x(box.area.right()) - 1, y(box.area.bottom()) - 1));
        if (r.intersects(rect)) p.fillRect(r & rect, ColorFromBGR(box.bgr));
    }
}

} // namespace platform

#include "forms/Image.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <qdrawutil.h>

namespace platform {

class ImageWidget : public QWidget {
public:
    ImageWidget(Image& owner, QWidget* parent)
        : QWidget(parent),
          owner_(owner)
    {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    const Image& Owner() const { return owner_; }

    void PictureChanged()
    {
        cache_ = QPixmap();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect inner = owner_.border_ ? rect().adjusted(2, 2, -2, -2) : rect();
        const Picture& picture = owner_.picture_;
        if (picture.Failed())
            PaintStandIn(p, inner);
        else if (!picture.IsEmpty()) {
            // A picture decoded while its card was small is read again at the size shown.
            const qint64 before = picture.Image().cacheKey();
            if (owner_.stretch_) picture.Refine((QSizeF(inner.size()) * devicePixelRatioF()).toSize());
            if (picture.Image().cacheKey() != before) cache_ = QPixmap();
            PaintPicture(p, inner, picture.Image());
        }
        if (owner_.border_) qDrawShadePanel(&p, rect(), palette(), true, 1);
        if (owner_.marks_ & Image::Glow) PaintGlow(p);
        if (owner_.marks_ & Image::Picked) PaintRing(p, 0, QColor(30, 40, 120), QColor(255, 200, 0));
        if (owner_.marks_ & Image::Highlighted)
            PaintRing(p, owner_.marks_ & Image::Picked ? 2 : 0, Qt::white, QColor(0, 90, 200));
    }

private:
    void PaintPicture(QPainter& p, const QRect& inner, const QImage& image)
    {
        if (!owner_.stretch_) {
            p.drawImage(inner.topLeft(), image);
            return;
        }
        const qreal dpr = devicePixelRatioF();
        const QSize target = (QSizeF(inner.size()) * dpr).toSize();
        if (target.isEmpty()) return;
        // A picture decoded at the size shown is drawn as it is: a copy would double its memory.
        if (image.size() == target) {
            cache_ = QPixmap();
            p.drawImage(QRectF(QPointF(inner.topLeft()), QSizeF(inner.size())), image);
            return;
        }
        // The scaled picture is kept: repaints during a drag then cost a blit, not a resample.
        if (cache_.isNull() || cache_.size() != target) {
            cache_ = QPixmap::fromImage(image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            cache_.setDevicePixelRatio(dpr);
        }
        p.drawPixmap(inner.topLeft(), cache_);
    }

    // A card whose file could not be read still shows its value, drawn.
    void PaintStandIn(QPainter& p, const QRect& inner)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(inner, QColor(255, 250, 235));
        const qreal pen = std::max<qreal>(1.0, inner.width() / 40.0);
        p.setPen(QPen(QColor(200, 120, 60), pen, Qt::DashLine));
        p.drawRoundedRect(QRectF(inner).adjusted(pen * 2, pen * 2, -pen * 2, -pen * 2), pen * 4, pen * 4);
        const QString value = owner_.Tag();
        if (value.isEmpty()) return;
        QFont font(QStringLiteral("Comic Sans MS"));
        font.setBold(true);
        font.setPixelSize(std::max(6, int(inner.height() * (value.size() > 1 ? 0.42 : 0.55))));
        p.setFont(font);
        p.setPen(QColor(120, 60, 20));
        p.drawText(inner, Qt::AlignCenter, value);
    }

    // A thick ring in two colours inside the card, seen on light and dark pictures alike.
    void PaintRing(QPainter& p, int inset, const QColor& outer, const QColor& inner)
    {
        const qreal band = std::max(4, std::min(width(), height()) / 9);
        const QRectF ring = QRectF(rect())
                                .adjusted(band / 2, band / 2, -band / 2, -band / 2)
                                .adjusted(inset * band, inset * band, -inset * band, -inset * band);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(outer, band, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(ring);
        p.setPen(QPen(inner, band * 0.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(ring);
    }

    // A warm golden light at the card's edges, fading inwards; wider than the rings, so that it
    // still shows inside them.
    void PaintGlow(QPainter& p)
    {
        const int band = std::max(6, std::min(width(), height()) / 4);
        const int solid = band / 4;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        for (int k = band - 1; k >= 0; --k) {
            QColor light = GlowColor;
            if (k >= solid) light.setAlphaF(0.85f * float(band - k) / float(band - solid + 1));
            p.setPen(QPen(light, 1));
            p.drawRect(rect().adjusted(k, k, -k - 1, -k - 1));
        }
    }

    static constexpr QColor GlowColor{255, 176, 20};

    Image& owner_;
    QPixmap cache_;
};

namespace {

// What a screen reader knows of an image: a picture; a card is also picked (selected), and has the
// focus while the keyboard's highlight is on it, whichever widget has the keyboard.
class ImageAccessible : public QAccessibleWidget {
public:
    explicit ImageAccessible(ImageWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Graphic)
    {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const Image& image = static_cast<const ImageWidget*>(widget())->Owner();
        if (!image.DragAutomatic()) return state;
        state.focusable = state.selectable = true;
        state.selected = image.Marks() & Image::Picked;
        state.focused = (image.Marks() & Image::Highlighted) != 0;
        return state;
    }
};

QAccessibleInterface* AccessibleImage(const QString&, QObject* object)
{
    auto* widget = dynamic_cast<ImageWidget*>(object);
    return widget ? new ImageAccessible(widget) : nullptr;
}

void Tell(QWidget* widget, QAccessible::Event what)
{
    QAccessibleEvent event(widget, what);
    QAccessible::updateAccessibility(&event);
}

} // namespace

Image::Image(Form& form, QString name, int index, QWidget* parent)
    : WidgetControl(form, std::move(name), index, new ImageWidget(*this, parent))
{
    view_ = static_cast<ImageWidget*>(Widget());
    static const bool known = (QAccessible::installFactory(AccessibleImage), true);
    Q_UNUSED(known)
}

void Image::SetPicture(const platform::Picture& picture)
{
    picture_ = picture;
    view_->PictureChanged();
}

void Image::SetStretch(bool on)
{
    stretch_ = on;
    view_->PictureChanged();
}

void Image::SetBorder(bool on)
{
    border_ = on;
    view_->update();
}

void Image::SetMarks(int marks)
{
    const int changed = marks ^ std::exchange(marks_, marks);
    if (!changed) return;
    view_->update();
    // A screen reader follows the highlight as it follows the keyboard's focus.
    if (!QAccessible::isActive()) return;
    if (changed & Picked) {
        // A selection event for the bridges that follow selections, a state change for those that
        // follow states (the state then told is the interface's).
        Tell(view_, marks & Picked ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
        QAccessible::State selected;
        selected.selected = true;
        QAccessibleStateChangeEvent event(view_, selected);
        QAccessible::updateAccessibility(&event);
    }
    if (changed & marks & Highlighted) Tell(view_, QAccessible::Focus);
}

void Image::TagChanged()
{
    if (picture_.Failed()) view_->update();
}

QSize Image::PictureSize() const
{
    const int inset = border_ ? 4 : 0;
    const qreal dpr = view_->devicePixelRatioF();
    return QSize(std::max(1, int((view_->width() - inset) * dpr)), std::max(1, int((view_->height() - inset) * dpr)));
}

} // namespace platform

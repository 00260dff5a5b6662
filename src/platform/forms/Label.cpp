#include "forms/Label.h"

#include "texts/Texts.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace platform {

namespace {

// A label whose text always fits its box: when the font it was given does not, it is drawn a
// little smaller, as much as needed (a long move count on a small display). Measuring text starts
// the font system, so a label on a screen not yet shown measures once it is on screen: the first
// window does not wait for it.
class FittingLabel : public QLabel {
public:
    using QLabel::QLabel;

    void Fit()
    {
        if (!isVisible()) return;
        // Each size tried loads a font: shrink in proportion to what is missing, and check again
        // only because the lines may break differently at the new size.
        QFont font = wanted_;
        for (int tries = 0; tries < 4 && width() > 0 && height() > 0 && !text().isEmpty(); ++tries) {
            const QRect need = QFontMetrics(font).boundingRect(QRect(0, 0, width(), 1 << 20), Qt::TextWordWrap, text());
            const double share =
                std::min(double(width()) / std::max(1, need.width()), double(height()) / std::max(1, need.height()));
            if (share >= 1 || font.pointSizeF() <= 4) break;
            font.setPointSizeF(std::max(4.0, font.pointSizeF() * std::max(0.5, share * 0.97)));
        }
        fitting_ = true;
        setFont(font);
        fitting_ = false;
    }

protected:
    void changeEvent(QEvent* e) override
    {
        QLabel::changeEvent(e);
        if (e->type() == QEvent::FontChange && !fitting_) wanted_ = font(), Fit();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QLabel::resizeEvent(e);
        Fit();
    }
    void showEvent(QShowEvent* e) override
    {
        QLabel::showEvent(e);
        QTimer::singleShot(0, this, [this] { Fit(); });
    }

private:
    QFont wanted_;
    bool fitting_ = false;
};

} // namespace

Label::Label(Form& form, QString name, int index, QWidget* parent)
    : WidgetControl(form, std::move(name), index, new FittingLabel(parent))
{
    view_ = static_cast<QLabel*>(Widget());
    view_->setTextFormat(Qt::PlainText);
    view_->setWordWrap(true);
}

void Label::SetCaption(const QString& caption)
{
    caption_ = caption;
    view_->setText(texts::OnScreen(caption));
    static_cast<FittingLabel*>(view_)->Fit();
}

} // namespace platform

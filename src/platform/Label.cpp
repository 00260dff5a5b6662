#include "Label.h"

#include <QEvent>
#include <QLabel>

namespace platform {

namespace {

// A label whose text always fits its box: when the font it was given does not, it is drawn a
// little smaller, as much as needed (a long move count on a small display).
class FittingLabel : public QLabel {
public:
    using QLabel::QLabel;

    void Fit()
    {
        QFont font = wanted_;
        const auto fits = [&] {
            const QRect need = QFontMetrics(font).boundingRect(QRect(0, 0, width(), 1 << 20), Qt::TextWordWrap, text());
            return need.width() <= width() && need.height() <= height();
        };
        while (font.pointSizeF() > 4 && !fits()) font.setPointSizeF(font.pointSizeF() * 0.92);
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
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    view_->setText(shown);
    static_cast<FittingLabel*>(view_)->Fit();
}

} // namespace platform

#include "forms/Label.h"

#include "Fitting.h"

#include "texts/Texts.h"

#include <QLabel>

namespace platform {

namespace {

// A label whose text, word-wrapped, always fits its box.
class FittingLabel : public Fitting<QLabel> {
public:
    using Fitting::Fitting;

protected:
    QSize TextBox() const override { return size(); }
    int TextFlags() const override { return Qt::TextWordWrap; }
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

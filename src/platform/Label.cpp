#include "Label.h"

#include <QLabel>

namespace platform {

Label::Label(Form& form, QString name, int index, QWidget* parent)
    : WidgetControl(form, std::move(name), index, new QLabel(parent))
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
}

} // namespace platform

#include "CommandButton.h"

#include <QIcon>
#include <QKeyEvent>
#include <QToolButton>

namespace platform {

namespace {

class ButtonWidget : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
            animateClick();
            e->accept();
            return;
        }
        QToolButton::keyPressEvent(e);
    }
};

} // namespace

CommandButton::CommandButton(Form& form, QString name, int index, QWidget* parent)
    : WidgetControl(form, std::move(name), index, new ButtonWidget(parent))
{
    view_ = static_cast<QToolButton*>(Widget());
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    view_->setAutoRaise(false);
    QObject::connect(view_, &QToolButton::clicked, view_, [this] { Click(); });
}

void CommandButton::SetCaption(const QString& caption)
{
    caption_ = caption;
    view_->setText(caption);
}

void CommandButton::SetGraphical(const QString& iconPath)
{
    if (iconPath.isEmpty()) {
        view_->setIcon(QIcon());
        view_->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return;
    }
    view_->setIcon(QIcon(iconPath));
    view_->setIconSize(QSize(32, 32));
    view_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

void CommandButton::Click()
{
    // A copy: the handler may unload the screen, and this button with it.
    if (auto handler = click_) handler();
}

} // namespace platform

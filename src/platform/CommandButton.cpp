#include "platform/CommandButton.h"

#include "Icon.h"
#include "platform/Sound.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace platform {

namespace {

// A push button that Enter also presses, and that in the graphical style draws its picture
// centred above its caption, in the caption's own font.
class ButtonWidget : public QPushButton {
public:
    using QPushButton::QPushButton;

    bool graphical = false;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
            animateClick();
            e->accept();
            return;
        }
        QPushButton::keyPressEvent(e);
    }

    void paintEvent(QPaintEvent* e) override
    {
        if (!graphical) {
            QPushButton::paintEvent(e);
            QPainter p(this);
            PaintFocus(p);
            return;
        }
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        p.drawControl(QStyle::CE_PushButtonBevel, option);
        const QRect inner = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        const QSize iconSize = this->iconSize();
        const int textHeight = fontMetrics().height();
        const int gap = std::max(2, textHeight / 6);
        const int top = inner.top() + std::max(0, (inner.height() - iconSize.height() - gap - textHeight) / 2);
        const QRect iconRect(inner.left() + (inner.width() - iconSize.width()) / 2, top, iconSize.width(),
                             iconSize.height());
        icon().paint(&p, iconRect, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        const QRect textRect(inner.left(), iconRect.bottom() + 1 + gap, inner.width(), textHeight);
        p.drawItemText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, palette(), isEnabled(), text(),
                       QPalette::ButtonText);
        PaintFocus(p);
    }

    // A ring that a child sees, around the button that Enter and Space act on.
    void PaintFocus(QPainter& p)
    {
        if (!hasFocus()) return;
        const qreal band = std::max(2.0, height() / 18.0);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 90, 200), band));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(band / 2, band / 2, -band / 2, -band / 2), band, band);
    }
};

} // namespace

CommandButton::CommandButton(Form& form, QString name, int index, QWidget* parent, Sound& sound)
    : WidgetControl(form, std::move(name), index, new ButtonWidget(parent)),
      sound_(sound)
{
    view_ = static_cast<QPushButton*>(Widget());
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setAutoDefault(false);
    QObject::connect(view_, &QPushButton::clicked, view_, [this] { Click(); });
}

void CommandButton::SetCaption(const QString& caption)
{
    caption_ = caption;
    view_->setText(caption);
}

void CommandButton::SetGraphical(const QString& iconPath, int side)
{
    auto* button = static_cast<ButtonWidget*>(view_);
    button->graphical = !iconPath.isEmpty();
    button->setIcon(iconPath.isEmpty() ? QIcon() : LoadIcon(iconPath));
    button->setIconSize(QSize(side, side));
    button->update();
}

void CommandButton::Click()
{
    sound_.Play(Cue::Click);
    // A copy: the handler may unload the screen, and this button with it.
    if (auto handler = click_) handler();
}

} // namespace platform

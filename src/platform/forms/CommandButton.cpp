#include "forms/CommandButton.h"

#include "Fitting.h"
#include "Icon.h"
#include "machine/Sound.h"
#include "machine/Speech.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

namespace platform {

namespace {

// A push button that Enter also presses, and that in the graphical style draws its picture
// centred above its caption, in the caption's own font; made smaller where the caption would not
// fit (a longer language, a small display).
class ButtonWidget : public Fitting<QPushButton> {
public:
    explicit ButtonWidget(QWidget* parent)
        : Fitting(parent)
    {
        rest_.setSingleShot(true);
        rest_.setInterval(500);
        QObject::connect(&rest_, &QTimer::timeout, this, [this] { speak(); });
    }

    bool graphical = false;
    std::function<void()> speak;

protected:
    // The caption on one line, across the inside of the button's frame.
    QSize TextBox() const override
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        return {style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width(), 1 << 20};
    }
    int TextFlags() const override { return Qt::TextSingleLine | Qt::TextShowMnemonic; }

    // Taken by the keys, or given by the screen as it opens; not by a click, nor again as the
    // window comes back after a box.
    void focusInEvent(QFocusEvent* e) override
    {
        QPushButton::focusInEvent(e);
        const Qt::FocusReason why = e->reason();
        const bool first = !std::exchange(focused_, true);
        if (why == Qt::TabFocusReason || why == Qt::BacktabFocusReason || why == Qt::OtherFocusReason ||
            (why == Qt::ActiveWindowFocusReason && first))
            speak();
    }
    void enterEvent(QEnterEvent* e) override
    {
        QPushButton::enterEvent(e);
        rest_.start();
    }
    void leaveEvent(QEvent* e) override
    {
        QPushButton::leaveEvent(e);
        rest_.stop();
    }

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

private:
    QTimer rest_; // the pointer resting on the button
    bool focused_ = false;
};

} // namespace

CommandButton::CommandButton(Form& form, QString name, int index, QWidget* parent, Sound& sound, Speech& speech)
    : WidgetControl(form, std::move(name), index, new ButtonWidget(parent)),
      sound_(sound),
      speech_(speech)
{
    static_cast<ButtonWidget*>(Widget())->speak = [this] { speech_.SayShown(caption_, &Parent()); };
    view_ = static_cast<QPushButton*>(Widget());
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setAutoDefault(false);
    QObject::connect(view_, &QPushButton::clicked, view_, [this] { Click(); });
}

void CommandButton::SetCaption(const QString& caption)
{
    caption_ = caption;
    view_->setText(caption);
    static_cast<ButtonWidget*>(view_)->Fit();
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

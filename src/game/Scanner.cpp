#include "game/Scanner.h"

#include "forms/CardMoves.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/MenuItem.h"
#include "forms/Services.h"
#include "machine/Clock.h"
#include "machine/Settings.h"
#include "machine/Speech.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <algorithm>

using namespace platform;

namespace game {

namespace {

// Often enough that a step comes within a frame or two of its time.
constexpr int TickMs = 40;

} // namespace

Scanner::Scanner(Form& form, Services& services, CardMoves* cards, QStringList rowNames)
    : QObject(&form),
      form_(form),
      services_(services),
      cards_(cards),
      rowNames_(std::move(rowNames))
{
    ticks_.setInterval(TickMs);
    connect(&ticks_, &QTimer::timeout, this, &Scanner::Tick);
    // Before the widgets' own filters: a switch press never reaches a card, a button or a drag.
    QCoreApplication::instance()->installEventFilter(this);
}

Scanner::~Scanner() = default;

std::vector<Scanner::Item> Scanner::TopLevel() const
{
    std::vector<Item> items;
    const int rows = cards_ ? int(cards_->Rows().size()) : 0;
    for (int r = 0; r < rows; ++r) items.push_back({.row = r});
    for (Control* control : form_.Controls())
        if (auto* button = dynamic_cast<CommandButton*>(control); button && button->Visible() && button->Enabled())
            items.push_back({.button = button});
    for (Control* control : form_.Controls())
        if (auto* item = dynamic_cast<MenuItem*>(control); item && item->Visible() && item->Enabled())
            items.push_back({.menu = item});
    return items;
}

Scanner::Item Scanner::First() const
{
    const std::vector<Item> items = TopLevel();
    return items.empty() ? Item{} : items.front();
}

std::vector<Image*> Scanner::RowCards(int row) const
{
    if (!cards_ || row < 0) return {};
    const std::vector<std::vector<Image*>> rows = cards_->Rows();
    return std::size_t(row) < rows.size() ? rows[std::size_t(row)] : std::vector<Image*>{};
}

void Scanner::Tick()
{
    if (held_ || !form_.Window()->isVisible()) return;
    if (std::exchange(fresh_, false)) return Reach(First());
    const double pace = services_.settings.scan;
    if (pace > 0 && double(services_.clock.Milliseconds() - stepAt_) >= pace * 1000) Step();
}

void Scanner::Step()
{
    fresh_ = false;
    if (reached_.card) {
        const std::vector<Image*> row = RowCards(reached_.row);
        auto it = std::find(row.begin(), row.end(), reached_.card);
        if (it != row.end() && ++it != row.end()) return Reach({.row = reached_.row, .card = *it});
        // A whole round of the row without a choice: back to the rows, at this one.
        if (!row.empty()) return Reach({.row = reached_.row});
    }
    const std::vector<Item> items = TopLevel();
    auto it = std::find(items.begin(), items.end(), reached_);
    if (it != items.end()) ++it;
    Reach(it != items.end() ? *it : items.empty() ? Item{} : items.front());
}

void Scanner::Choose()
{
    fresh_ = false;
    const Item item = reached_;
    if (item.card && cards_) {
        cards_->Highlight(item.card); // a lost focus may have taken the highlight away meanwhile
        cards_->Choose();
        return Reach(First());
    }
    if (item.row >= 0) {
        const std::vector<Image*> row = RowCards(item.row);
        return Reach(row.empty() ? First() : Item{.row = item.row, .card = row.front()});
    }
    // The press may open a box, or another screen in place of this one.
    if (item.button && item.button->Visible() && item.button->Enabled()) item.button->Click();
    if (item.menu) item.menu->Click();
    if (form_.Window()->isVisible()) Reach(First());
}

void Scanner::Reach(const Item& item, bool say)
{
    reached_ = item;
    stepAt_ = services_.clock.Milliseconds();
    if (cards_) {
        if (item.card)
            cards_->Highlight(item.card);
        else
            cards_->HighlightRow(RowCards(item.row));
    }
    // A button reached has the keyboard, and its ring; it says its caption as it takes it.
    QWidget* window = form_.Window();
    if (item.button)
        item.button->Widget()->setFocus(Qt::OtherFocusReason);
    else if (QWidget* focused = window->focusWidget())
        focused->clearFocus();
    if (auto* bar = window->findChild<QMenuBar*>()) {
        QAction* action = item.menu ? item.menu->Action() : nullptr;
        if (bar->activeAction() != action) bar->setActiveAction(action);
    }
    if (!say) return;
    QString name;
    if (item.card)
        name = item.card->Widget()->accessibleName();
    else if (item.menu)
        name = item.menu->Caption().remove(QLatin1Char('&'));
    else if (item.row >= 0)
        name = rowNames_.value(item.row);
    services_.speech.Say(name, &form_);
}

bool Scanner::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* window = form_.Window();
    if (!window) return false; // the screen is going
    // The screen's controls on display or not: they come with its window, or into it when the
    // window went on display first.
    if (watched == form_.Client()) {
        if (event->type() == QEvent::Show) {
            ticks_.start();
            // Silent: the screen has just said what it is for.
            Reach(First(), false);
        } else if (event->type() == QEvent::Hide) {
            ticks_.stop();
        }
    }
    if (watched == window) {
        switch (event->type()) {
        case QEvent::WindowBlocked:
            held_ = true;
            break;
        case QEvent::WindowUnblocked:
            held_ = false;
            fresh_ = true;
            break;
        default:
            break;
        }
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window || held_) return false;
    return Switch(event);
}

bool Scanner::Switch(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool choose = key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!choose && key->key() != Qt::Key_Tab) return false;
        // A switch held down chooses once.
        if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) choose ? Choose() : Step();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::TouchBegin:
        // The second half of the double click that opened the screen is no choice.
        if (form_.JustShown()) return false;
        event->accept();
        Choose();
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace game

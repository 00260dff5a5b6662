#include "forms/CardMoves.h"

#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Units.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <map>

namespace platform {

namespace {

// The outline that follows the pointer while a card is dragged. Only its ring is part of the
// widget, so moving it repaints only what the ring touches.
class DragOutline : public QWidget {
public:
    explicit DragOutline(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        const QRect outer = rect();
        setMask(QRegion(outer).subtracted(QRegion(outer.adjusted(3, 3, -3, -3))));
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRectF ring = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
        p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(ring);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.drawRect(ring);
    }
};

QPointF InTwips(QPoint pixels) { return {PixelsToTwips(pixels.x()), PixelsToTwips(pixels.y())}; }

} // namespace

CardMoves::CardMoves(Form& form, MoveRules& rules)
    : form_(form),
      rules_(rules),
      outline_(new DragOutline(form.Client()))
{
    for (Control* control : form.Controls())
        if (auto* image = dynamic_cast<Image*>(control); image && image->DragAutomatic()) {
            cards_.push_back(image);
            image->Widget()->installEventFilter(this);
        }
    form.Client()->installEventFilter(this);
    form.Window()->installEventFilter(this);
}

CardMoves::~CardMoves() = default;

bool CardMoves::Pickable(const Image* card) const { return card && card->Visible() && rules_.MayPick(*card); }

bool CardMoves::eventFilter(QObject* watched, QEvent* event)
{
    for (Image* card : cards_)
        if (card->Widget() == watched) return CardEvent(*card, event);
    if (watched == form_.Client()) {
        // A press on anything that is not a card puts the picked card back.
        if (event->type() == QEvent::MouseButtonPress) PutDown();
        if (event->type() == QEvent::Resize) Cancel();
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return Key(static_cast<QKeyEvent*>(event)->key());
    // A box over the screen, another window in front, the screen leaving: the hands have let go.
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        Cancel();
        return false;
    default:
        return false;
    }
}

bool CardMoves::CardEvent(Image& card, QEvent* event)
{
    QWidget* widget = card.Widget();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || !Pickable(&card)) return false;
        // Picked up; a press that is to drop a picked card says so when it lands.
        if (!picked_) rules_.Picked(card);
        BeginDrag(card, e->position().toPoint());
        tap_ = true;
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (dragged_ == &card) DragTo(widget->mapToParent(at));
        tap_ = tap_ && widget->rect().contains(at);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        if (e->button() != Qt::LeftButton || dragged_ != &card) return true;
        if (tap_ && widget->rect().contains(at)) {
            // Pressed and released without ever leaving the card: a tap, not a drag.
            dragged_ = nullptr;
            outline_->hide();
            Tap(card, at);
        } else {
            PutDown();
            DropAt(widget->mapToParent(at));
        }
        return true;
    }
    case QEvent::EnabledChange:
        // A card that cannot be moved can be neither dragged, nor picked, nor reached by the keys.
        if (!widget->isEnabled() && (dragged_ == &card || picked_ == &card || Lit(&card))) Cancel();
        return false;
    default:
        return false;
    }
}

void CardMoves::BeginDrag(Image& card, QPoint grab)
{
    dragged_ = &card;
    grab_ = grab;
    outline_->setGeometry(card.Widget()->geometry());
    outline_->raise();
    outline_->show();
}

void CardMoves::DragTo(QPoint clientPos)
{
    if (!dragged_) return;
    // Moving a visible widget repaints its whole rectangle, mask or not; hidden while it moves,
    // only its ring is repainted, at the old place and the new.
    outline_->hide();
    outline_->move(clientPos - grab_);
    outline_->show();
}

void CardMoves::DropAt(QPoint clientPos)
{
    Image* card = std::exchange(dragged_, nullptr);
    outline_->hide();
    if (!card) return;
    QWidget* under = form_.Client()->childAt(clientPos);
    auto it = std::find_if(cards_.begin(), cards_.end(), [under](Image* c) { return c->Widget() == under; });
    Image* target = it == cards_.end() ? nullptr : *it;
    if (!target || !target->Visible() || !rules_.MayDrop(*card, *target)) return rules_.PutBack(*card);
    rules_.Drop(*card, *target, InTwips(clientPos - under->pos()));
}

void CardMoves::Cancel()
{
    dragged_ = nullptr;
    outline_->hide();
    PutDown();
}

void CardMoves::Tap(Image& card, QPoint at)
{
    if (!Pickable(&card)) return;
    Image* source = picked_;
    Set(picked_, nullptr);
    if (!source) return Set(picked_, &card);
    // A tap on the picked card only puts it back.
    if (source == &card || !rules_.MayDrop(*source, card)) return rules_.PutBack(*source);
    rules_.Drop(*source, card, InTwips(at));
}

void CardMoves::Set(Image*& slot, Image* card)
{
    Image* old = std::exchange(slot, card);
    for (Image* c : {old, card}) Remark(c);
}

void CardMoves::Remark(Image* card)
{
    if (card)
        card->SetMarks((card->Marks() & Image::Glow) | (card == picked_ ? Image::Picked : 0) |
                       (Lit(card) ? Image::Highlighted : 0));
}

bool CardMoves::Lit(const Image* card) const
{
    return card == highlighted_ || std::find(litRow_.begin(), litRow_.end(), card) != litRow_.end();
}

void CardMoves::PutDown()
{
    Set(picked_, nullptr);
    Highlight(nullptr);
}

void CardMoves::Highlight(Image* card)
{
    if (!litRow_.empty()) HighlightRow({});
    Set(highlighted_, card); // the same card again: no change, and nothing told
}

void CardMoves::HighlightRow(const std::vector<Image*>& row)
{
    Set(highlighted_, nullptr);
    const std::vector<Image*> old = std::exchange(litRow_, row);
    for (Image* c : old) Remark(c);
    for (Image* c : litRow_) Remark(c);
}

std::vector<std::vector<Image*>> CardMoves::Rows() const
{
    std::map<int, std::map<int, Image*>> rows;
    for (Image* card : cards_)
        if (Pickable(card)) rows[card->Widget()->y()][card->Widget()->x()] = card;
    std::vector<std::vector<Image*>> grid;
    for (auto& [top, line] : rows) {
        grid.emplace_back();
        for (auto& [left, card] : line) grid.back().push_back(card);
    }
    return grid;
}

bool CardMoves::Choose()
{
    if (!Pickable(highlighted_)) return false;
    if (!picked_) rules_.Picked(*highlighted_);
    Tap(*highlighted_, highlighted_->Widget()->rect().center());
    return true;
}

bool CardMoves::Key(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        if (picked_)
            PutDown();
        else
            rules_.Escape();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return Choose();
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return false;
    }
    const std::vector<std::vector<Image*>> grid = Rows();
    if (grid.empty()) return false;
    int row = 0, column = 0;
    for (std::size_t r = 0; r < grid.size(); ++r)
        for (std::size_t c = 0; c < grid[r].size(); ++c)
            if (grid[r][c] == highlighted_) row = int(r), column = int(c);
    // The first key shows the highlight on the first card; then it moves, stopping at the edges.
    if (Pickable(highlighted_)) {
        if (key == Qt::Key_Left) column = std::max(0, column - 1);
        if (key == Qt::Key_Right) ++column;
        if (key == Qt::Key_Up) row = std::max(0, row - 1);
        if (key == Qt::Key_Down) row = std::min(int(grid.size()) - 1, row + 1);
    }
    const auto& line = grid[std::size_t(row)];
    Highlight(line[std::size_t(std::min(column, int(line.size()) - 1))]);
    return true;
}

} // namespace platform

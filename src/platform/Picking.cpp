// Moving cards by taps and keys: the selection and the keyboard highlight are drawn over the
// cards, and a move made this way ends in the same drop handler as a drag.

#include "Form.h"
#include "Image.h"
#include "Sound.h"
#include "Units.h"

#include <QWidget>
#include <algorithm>
#include <map>

namespace platform {

namespace {

bool Pickable(const Image* card) { return card && card->DragAutomatic() && card->Enabled() && card->Visible(); }

void Repaint(Image* card)
{
    if (card) card->Widget()->update();
}

} // namespace

void Form::Tap(Image& card, QPoint at)
{
    if (!Pickable(&card)) return;
    Image* source = std::exchange(selected_, nullptr);
    Repaint(source);
    if (!source) {
        selected_ = &card;
        Repaint(&card);
        return;
    }
    // A tap on the selected card only puts it down again.
    if (source == &card || !card.AcceptsDrops()) return Sound::Play(Sound::Nothing);
    card.DragDrop(*source, PixelsToTwips(at.x()), PixelsToTwips(at.y()));
}

void Form::ClearSelection()
{
    Repaint(std::exchange(selected_, nullptr));
    Repaint(std::exchange(highlighted_, nullptr));
}

bool Form::KeyPress(int key)
{
    // The cards that can be picked, in rows from the top, each row from the left.
    std::map<int, std::map<int, Image*>> rows;
    for (Control* c : controls_)
        if (auto* card = dynamic_cast<Image*>(c); Pickable(card)) rows[card->Widget()->y()][card->Widget()->x()] = card;
    switch (key) {
    case Qt::Key_Escape:
        if (selected_)
            ClearSelection();
        else if (auto action = escape_)
            action();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!Pickable(highlighted_)) return false;
        if (!selected_) Sound::Play(Sound::Pick);
        Tap(*highlighted_, highlighted_->Widget()->rect().center());
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        break;
    default:
        return false;
    }
    if (rows.empty()) return false;
    std::vector<std::vector<Image*>> grid;
    int row = 0, column = 0;
    for (auto& [top, cards] : rows) {
        grid.emplace_back();
        for (auto& [left, card] : cards) {
            if (card == highlighted_) row = int(grid.size()) - 1, column = int(grid.back().size());
            grid.back().push_back(card);
        }
    }
    // The first key shows the highlight on the first card; then it moves, stopping at the edges.
    if (Pickable(highlighted_)) {
        if (key == Qt::Key_Left) column = std::max(0, column - 1);
        if (key == Qt::Key_Right) ++column;
        if (key == Qt::Key_Up) row = std::max(0, row - 1);
        if (key == Qt::Key_Down) row = std::min(int(grid.size()) - 1, row + 1);
    }
    const auto& line = grid[std::size_t(row)];
    Repaint(highlighted_);
    highlighted_ = line[std::size_t(std::min(column, int(line.size()) - 1))];
    Repaint(highlighted_);
    return true;
}

} // namespace platform

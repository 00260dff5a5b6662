#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <vector>

class QWidget;

namespace platform {

class Form;
class Image;

// What a game decides about moving its cards, asked as a move goes on: the way a card game's
// table asks whether a card may leave or join a pile.
class MoveRules {
public:
    virtual bool MayPick(const Image& card) const = 0;
    virtual bool MayDrop(const Image& card, const Image& target) const = 0;
    // What a drop does: the card let go over the target, at a point inside it, in twips.
    virtual void Drop(Image& card, Image& target, QPointF at) = 0;
    // A card picked up (pressed, or chosen by a key), and one put back without a drop.
    virtual void Picked(const Image& card) = 0;
    virtual void PutBack(const Image& card) = 0;
    // Escape when no card is picked.
    virtual void Escape() = 0;

protected:
    ~MoveRules() = default;
};

// Moves the cards of a screen, its images in automatic drag mode, three ways that all end in the
// game's Drop with the same card and target:
// - a drag: a press on a card, an outline of its size following the pointer, the release over
//   another card;
// - two taps: a press and release that never leaves a card picks it (a thick ring marks it); the
//   same on another card drops it there; on the picked card, or on anything that is not a card,
//   puts it back;
// - keys: the arrows move a highlight over the cards, stopping at the edges; Enter or Space pick
//   the highlighted card and drop it; Escape puts a picked card back, or else asks the game.
// A new size, a box, a lost focus, a disabled card or leaving the screen end any gesture in
// progress: no outline stays, and no move follows.
// Other drivers (switch scanning) move the highlight themselves, over a card or a whole row, and
// choose the highlighted card as Enter does.
class CardMoves : public QObject {
public:
    CardMoves(Form& form, MoveRules& rules);
    ~CardMoves() override;

    Image* Dragged() const { return dragged_; }
    Image* Picked() const { return picked_; }
    Image* Highlighted() const { return highlighted_; }
    QWidget* Outline() const { return outline_; }

    // What a press on a card, a move of the pointer and the release do in a drag; positions in
    // the client area.
    void BeginDrag(Image& card, QPoint grab);
    void DragTo(QPoint clientPos);
    void DropAt(QPoint clientPos);
    // Ends every gesture: no outline, no pick, no highlight.
    void Cancel();

    // The cards that can be picked, in rows from the top, each row from the left.
    std::vector<std::vector<Image*>> Rows() const;
    // The highlight on one card (none for null), or on every card of a row at once.
    void Highlight(Image* card);
    void HighlightRow(const std::vector<Image*>& row);
    // What Enter does: picks the highlighted card, or drops the picked one onto it.
    bool Choose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Pickable(const Image* card) const;
    bool CardEvent(Image& card, QEvent* event);
    void Tap(Image& card, QPoint at);
    bool Key(int key);
    void Set(Image*& slot, Image* card); // a new pick or highlight, redrawn
    void Remark(Image* card);            // its rings redrawn as the pick and highlight say
    bool Lit(const Image* card) const;   // under the highlight, alone or in its row
    void PutDown();                      // no pick, no highlight

    Form& form_;
    MoveRules& rules_;
    std::vector<Image*> cards_;
    QWidget* outline_;
    Image* dragged_ = nullptr;
    QPoint grab_;
    bool tap_ = false; // the press has not left its card
    Image* picked_ = nullptr;
    Image* highlighted_ = nullptr;
    std::vector<Image*> litRow_;
};

} // namespace platform

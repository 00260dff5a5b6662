#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace platform {
class CardMoves;
class CommandButton;
class Form;
class Image;
class MenuItem;
struct Services;
} // namespace platform

namespace game {

// Switch scanning, for a child who can press one switch only. A highlight goes by itself, one step
// each time the grown-up's pace has passed on the screen's clock, over what the screen offers: the
// rows of cards (every card of the row ringed), then the buttons that can be pressed, then the items
// of the menu bar. The switch (Space, Enter, or a press or a tap anywhere on the screen) takes what
// is reached: a row is then gone over card by card, and a whole round of it without a choice goes
// back to the rows; a card is chosen as Enter chooses it (the first picks it, the second swaps the
// picked card with it) and the scan starts again from the first row; a button or an item is
// pressed. Tab is a second switch that steps at once and starts the step's time anew: with a pace
// of 0 it is the only way the scan moves. The voice names what a step reaches. A box over the
// screen holds the scan, which then starts again from the first; a box itself takes the switch as
// keys (Enter and Space press its default button).
class Scanner : public QObject {
    Q_OBJECT
public:
    // cards: the card moves of a screen that has cards, whose rows the voice calls by rowNames.
    Scanner(platform::Form& form, platform::Services& services, platform::CardMoves* cards = nullptr,
            QStringList rowNames = {});
    ~Scanner() override;

    // What the scan has reached: a row of cards, one of its cards (with its row), a button or a menu
    // item; nothing while all are null and the row is -1.
    struct Item {
        int row = -1;
        platform::Image* card = nullptr;
        platform::CommandButton* button = nullptr;
        platform::MenuItem* menu = nullptr;
        bool operator==(const Item&) const = default;
    };

    // What the short timer does: a step once the step's time has passed.
    void Tick();
    void Step();   // the second switch
    void Choose(); // the switch

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<Item> TopLevel() const;
    Item First() const;
    std::vector<platform::Image*> RowCards(int row) const;
    void Reach(const Item& item, bool say = true);
    bool Switch(QEvent* event);

    platform::Form& form_;
    platform::Services& services_;
    platform::CardMoves* cards_;
    QStringList rowNames_;
    QTimer ticks_;
    Item reached_;
    qint64 stepAt_ = 0;
    bool held_ = false;  // a box is open over the screen
    bool fresh_ = false; // back from a box: the next tick starts from the first
};

} // namespace game

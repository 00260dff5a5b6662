#pragma once

#include <QString>
#include <QStringList>

// Every word the game shows or says, but the captions of the screens' own controls (which their
// descriptions hold): whole sentences, with the numbers and names put into them, one function each.
// This is the one place to change a text, and the one place that writes and reads the line break
// of a text on several lines.
namespace texts {

// What the cards of a game are and what they count.
enum class Goods { Tarts, Stickers };

// ---- Lines ----

// A text of several lines, as the screens keep it ("\r\n" between the lines).
QString Lines(const QStringList& lines);
// The same for the toolkit's widgets to show.
QString OnScreen(const QString& text);
// The same said aloud: the lines one after the other, a rule of dashes left out.
QString Spoken(const QString& text);

// ---- Start ----

QString GameTitle();  // "Merendella", the title of the game's own boxes
QString ErrorTitle(); // the title of the box that refuses a second copy
QString SecondCopy(); // its text

// ---- Boxes ----

QString Yes();
QString No();
QString OK();
// What a screen reader calls a screen's menu bar.
QString MenuBar();

// ---- The menu ----

QString ExitQuestion();
// The information box: the author's name, a rule, the web address and the mail address.
QString Credits(const QString& name, const QString& web, const QString& mail);

// ---- A game ----

// The two lines under the board.
QString Instructions(Goods goods);
QString Moves(int count);
QString Congratulation(int moves);
QString BackToMenu();
// The three children, whose hands are the rows (hand from 0).
QString Child(int hand);
// A card by what it shows ("tortina con 2 fragole"), and where it is ("primo bambino, carta 3 di 7";
// hand and index from 0).
QString CardName(Goods goods, qint64 value);
QString CardPlace(int hand, int index, int cards);
// A card picked, and a swap: the card dropped on, as it is now, and the move counter.
QString Picked(const QString& card);
QString Swapped(const QString& card, const QString& moves);
// Help: the two cards to swap, each by its name and its hand, the first in the upper hand.
QString Hint(Goods goods, int firstHand, qint64 firstValue, int secondHand, qint64 secondValue);

} // namespace texts

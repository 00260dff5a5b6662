#include "texts/Texts.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

// Italian is the source of every text, and what the game says when no translation is loaded. A
// translator sees each text in its context (where it shows) with the comment above it.

namespace {

struct Start {
    Q_DECLARE_TR_FUNCTIONS(Start)
};
struct Title {
    Q_DECLARE_TR_FUNCTIONS(Title)
};
struct Menu {
    Q_DECLARE_TR_FUNCTIONS(Menu)
};
struct Game {
    Q_DECLARE_TR_FUNCTIONS(Game)
};
struct Totals {
    Q_DECLARE_TR_FUNCTIONS(Totals)
};

const QString Break = QStringLiteral("\r\n");

} // namespace

namespace texts {

QString Lines(const QStringList& lines) { return lines.join(Break); }

QString OnScreen(const QString& text) { return QString(text).replace(Break, QStringLiteral("\n")); }

QString Spoken(const QString& text)
{
    QString said;
    for (const QString& line : text.split(Break)) {
        const QString words = line.trimmed();
        if (words.isEmpty() || words.startsWith(QLatin1String("---"))) continue;
        // After a full sentence a new one; else the next line goes on with the same.
        if (!said.isEmpty()) said += QString::fromLatin1(QByteArrayView(".!?").contains(said.back().toLatin1()) ? " " : ", ");
        said += words;
    }
    return said;
}

QString GameTitle()
{
    //: The game's name, the title of its questions and of the information box. Keep it as it is.
    return Start::tr("Merendella");
}

QString AppTitle()
{
    //: The name of the program, shown as the title of the congratulation. Keep it as it is.
    return Start::tr("Zuccheriva");
}

QString ErrorTitle()
{
    //: The title of the box that says the game is already running.
    return Start::tr("Error");
}

QString SecondCopy()
{
    //: The box shown when the game is started while it already runs.
    return Start::tr("E' già stata avviata una copia di questo programma!");
}

QString MenuBar()
{
    //: What a screen reader calls the menu bar of a game screen.
    return Game::tr("menù");
}

QString ExitQuestion()
{
    //: The question asked by "Esci" in the main menu: does the child really want to end the game?
    return Menu::tr("sicuro di voler terminare?");
}

QString Credits(const QString& name, const QString& web, const QString& mail)
{
    //: The last line of the information box; %1 is the author's mail address.
    return Lines({name + QStringLiteral("  "), QStringLiteral(" ----------------------- "), web,
                  Menu::tr("mail: %1").arg(mail)});
}

QString Instructions(Goods goods)
{
    //: The second line of the instructions: can you make them all happy?
    const QString question = Game::tr("Sei capace di accontentarli?");
    if (goods == Goods::Tarts)
        //: The first line of the instructions under the board of tarts (tortine) and strawberries.
        return Lines({Game::tr("Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso numero di "
                               "fragole."),
                      question});
    //: The first line of the instructions under the board of stickers (figurine) and points.
    return Lines({Game::tr("Ogni bambino vuole avere 7 figurine, ma tutti vogliono avere anche lo stesso numero di "
                           "punti."),
                  question});
}

QString Moves(int count)
{
    //: The move counter under the board: "Moves" and the number of swaps so far.
    return Game::tr("Mosse %1").arg(count);
}

QString Congratulation(int moves)
{
    //: The box when the three hands are even: well done, you did it in so many moves.
    return Game::tr("Bravo! Ci sei riuscito in %n mosse!", nullptr, moves);
}

QString BackToMenu()
{
    //: The question asked by "Esci" on a game screen: go back to the menu? (Keep the trailing blank.)
    return Game::tr("vuoi tornare al menù? ");
}

QString Child(int hand)
{
    switch (hand) {
    case 0:
        //: The child of the top row, a boy, as a screen reader and the voice name him.
        return Game::tr("primo bambino");
    case 1:
        //: The child of the middle row, a boy.
        return Game::tr("secondo bambino");
    default:
        //: The child of the bottom row, a girl.
        return Game::tr("terza bambina");
    }
}

QString CardName(Goods goods, qint64 value)
{
    const int n = int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
    if (goods == Goods::Tarts && n == 0)
        //: A card of the tarts game that carries no strawberries, as a screen reader says it.
        return Game::tr("tortina senza fragole");
    if (goods == Goods::Tarts)
        //: A card of the tarts game: a tart with %n strawberries.
        return Game::tr("tortina con %n fragole", nullptr, n);
    //: A card of the stickers game: a sticker worth %n points.
    return Game::tr("figurina da %n punti", nullptr, n);
}

QString CardPlace(int hand, int index, int cards)
{
    switch (hand) {
    case 0:
        //: Where a card is: the top row's boy, card %1 of %2 counted from the left.
        return Game::tr("primo bambino, carta %1 di %2").arg(index + 1).arg(cards);
    case 1:
        //: Where a card is: the middle row's boy, card %1 of %2 counted from the left.
        return Game::tr("secondo bambino, carta %1 di %2").arg(index + 1).arg(cards);
    default:
        //: Where a card is: the bottom row's girl, card %1 of %2 counted from the left.
        return Game::tr("terza bambina, carta %1 di %2").arg(index + 1).arg(cards);
    }
}

QString Picked(const QString& card)
{
    //: Told to a screen reader when a card is picked up; %1 is the card ("tortina con 2 fragole").
    return Game::tr("%1, presa").arg(card);
}

QString Swapped(const QString& card, const QString& moves)
{
    //: Told to a screen reader after a swap: %1 the card now in the place dropped on, %2 the move counter.
    return Game::tr("%1, %2").arg(card, moves);
}

namespace {

// A sentence for each pair of hands and each kind of card: another language's articles may follow
// what the cards are. %1 and %2 are the cards' names ("tortina con 2 fragole", "figurina da 3 punti").
QString HintSentence(bool tarts, int firstHand, int secondHand)
{
    if (firstHand == 0 && secondHand == 1) {
        if (tarts)
            //: Help, said aloud: try swapping tart %1 of the top row's boy with tart %2 of the middle row's boy.
            return Game::tr("prova a scambiare la %1 del primo bambino con la %2 del secondo bambino", "tarts");
        //: Help, said aloud: try swapping sticker %1 of the top row's boy with sticker %2 of the middle row's boy.
        return Game::tr("prova a scambiare la %1 del primo bambino con la %2 del secondo bambino", "stickers");
    }
    if (firstHand == 0) {
        if (tarts)
            //: Help, said aloud: try swapping tart %1 of the top row's boy with tart %2 of the bottom row's girl.
            return Game::tr("prova a scambiare la %1 del primo bambino con la %2 della terza bambina", "tarts");
        //: Help, said aloud: try swapping sticker %1 of the top row's boy with sticker %2 of the bottom row's girl.
        return Game::tr("prova a scambiare la %1 del primo bambino con la %2 della terza bambina", "stickers");
    }
    if (tarts)
        //: Help, said aloud: try swapping tart %1 of the middle row's boy with tart %2 of the bottom row's girl.
        return Game::tr("prova a scambiare la %1 del secondo bambino con la %2 della terza bambina", "tarts");
    //: Help, said aloud: try swapping sticker %1 of the middle row's boy with sticker %2 of the bottom row's girl.
    return Game::tr("prova a scambiare la %1 del secondo bambino con la %2 della terza bambina", "stickers");
}

} // namespace

QString Hint(Goods goods, int firstHand, qint64 firstValue, int secondHand, qint64 secondValue)
{
    return HintSentence(goods == Goods::Tarts, firstHand, secondHand)
        .arg(CardName(goods, firstValue), CardName(goods, secondValue));
}

QString Total(Goods goods, int hand, qint64 total)
{
    const int n = int(std::clamp<qint64>(total, INT_MIN, INT_MAX));
    const bool tarts = goods == Goods::Tarts;
    if (hand == 0 && tarts)
        //: The counting aid beside the top row's boy: his tarts carry %n strawberries in all.
        return Totals::tr("primo bambino: %n fragole", nullptr, n);
    if (hand == 0)
        //: The counting aid beside the top row's boy: his stickers are worth %n points in all.
        return Totals::tr("primo bambino: %n punti", nullptr, n);
    if (hand == 1 && tarts)
        //: The counting aid beside the middle row's boy: his tarts carry %n strawberries in all.
        return Totals::tr("secondo bambino: %n fragole", nullptr, n);
    if (hand == 1)
        //: The counting aid beside the middle row's boy: his stickers are worth %n points in all.
        return Totals::tr("secondo bambino: %n punti", nullptr, n);
    if (tarts)
        //: The counting aid beside the bottom row's girl: her tarts carry %n strawberries in all.
        return Totals::tr("terza bambina: %n fragole", nullptr, n);
    //: The counting aid beside the bottom row's girl: her stickers are worth %n points in all.
    return Totals::tr("terza bambina: %n punti", nullptr, n);
}

QString WithTotals(const QString& instructions, const QStringList& totals)
{
    //: Said when the counting aid is on: the instructions (%1), then the three children's totals (%2).
    return Totals::tr("%1 %2.").arg(instructions, totals.join(QStringLiteral(", ")));
}

} // namespace texts

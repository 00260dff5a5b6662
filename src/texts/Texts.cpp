#include "texts/Texts.h"

#include <QCoreApplication>

namespace texts {

namespace {

const QString Break = QStringLiteral("\r\n");

QString Tr(const char* context, const char* text) { return QCoreApplication::translate(context, text); }

} // namespace

QString Lines(const QStringList& lines) { return lines.join(Break); }

QString OnScreen(const QString& text) { return QString(text).replace(Break, QStringLiteral("\n")); }

QString Spoken(const QString& text)
{
    QString said;
    for (const QString& line : text.split(Break)) {
        const QString words = line.trimmed();
        if (words.isEmpty() || words.startsWith(QLatin1String("---"))) continue;
        // After a full sentence a new one; else the next line goes on with the same.
        if (!said.isEmpty())
            said += QString::fromLatin1(QByteArrayView(".!?").contains(said.back().toLatin1()) ? " " : ", ");
        said += words;
    }
    return said;
}

QString GameTitle() { return QStringLiteral("Merendella"); }
QString ErrorTitle() { return Tr("Start", "Error"); }
QString SecondCopy() { return Tr("Start", "E' già stata avviata una copia di questo programma!"); }

QString Yes() { return Tr("Boxes", "Sì"); }
QString No() { return Tr("Boxes", "No"); }
QString OK() { return Tr("Boxes", "OK"); }
QString MenuBar() { return Tr("Boxes", "menù"); }

QString ExitQuestion() { return Tr("Menu", "sicuro di voler terminare?"); }

QString Credits(const QString& name, const QString& web, const QString& mail)
{
    return Lines({name + QStringLiteral("  "), QStringLiteral(" ----------------------- "), web,
                  Tr("Menu", "mail: %1").arg(mail)});
}

QString Instructions(Goods goods)
{
    return Lines({goods == Goods::Tarts ? Tr("Game", "Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere "
                                                     "anche lo stesso numero di fragole.")
                                        : Tr("Game", "Ogni bambino vuole avere 7 figurine, ma tutti vogliono avere "
                                                     "anche lo stesso numero di punti."),
                  Tr("Game", "Sei capace di accontentarli?")});
}

QString Moves(int count) { return Tr("Game", "Mosse %1").arg(count); }

QString Congratulation(int moves) { return Tr("Game", "Bravo! Ci sei riuscito in %1 mosse!").arg(moves); }

QString BackToMenu() { return Tr("Game", "vuoi tornare al menù? "); }

QString Child(int hand)
{
    switch (hand) {
    case 0:
        return Tr("Game", "primo bambino");
    case 1:
        return Tr("Game", "secondo bambino");
    default:
        return Tr("Game", "terza bambina");
    }
}

QString CardName(Goods goods, qint64 value)
{
    if (goods == Goods::Tarts)
        return value == 0   ? Tr("Game", "tortina senza fragole")
               : value == 1 ? Tr("Game", "tortina con 1 fragola")
                            : Tr("Game", "tortina con %1 fragole").arg(value);
    return value == 0   ? Tr("Game", "figurina da 0 punti")
           : value == 1 ? Tr("Game", "figurina da 1 punto")
                        : Tr("Game", "figurina da %1 punti").arg(value);
}

QString CardPlace(int hand, int index, int cards)
{
    switch (hand) {
    case 0:
        return Tr("Game", "primo bambino, carta %1 di %2").arg(index + 1).arg(cards);
    case 1:
        return Tr("Game", "secondo bambino, carta %1 di %2").arg(index + 1).arg(cards);
    default:
        return Tr("Game", "terza bambina, carta %1 di %2").arg(index + 1).arg(cards);
    }
}

QString Picked(const QString& card) { return Tr("Game", "%1, presa").arg(card); }

QString Swapped(const QString& card, const QString& moves) { return Tr("Game", "%1, %2").arg(card, moves); }

QString Hint(Goods goods, int firstHand, qint64 firstValue, int secondHand, qint64 secondValue)
{
    const QString first = CardName(goods, firstValue), second = CardName(goods, secondValue);
    if (firstHand == 0 && secondHand == 1)
        return Tr("Game", "prova a scambiare la %1 del primo bambino con la %2 del secondo bambino").arg(first, second);
    if (firstHand == 0)
        return Tr("Game", "prova a scambiare la %1 del primo bambino con la %2 della terza bambina").arg(first, second);
    return Tr("Game", "prova a scambiare la %1 del secondo bambino con la %2 della terza bambina").arg(first, second);
}

} // namespace texts

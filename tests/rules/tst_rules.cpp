// The rules without any display: which deal a draw gives, the win rule with the values of cards,
// the palette. Every expected value is written out as the game's designers gave it.

#include "rules/Hint.h"
#include "rules/Palette.h"
#include "rules/Rules.h"
#include "support/Solver.h"

#include <QTest>
#include <cmath>
#include <map>

using namespace rules;

class TestRules : public QObject {
    Q_OBJECT
private slots:
    // Fixed draws and the deals they give: every deal of both screens is reached, and each
    // is the designed one, file and value for each child.
    void drawsPickDeals_data()
    {
        QTest::addColumn<bool>("stickers");
        QTest::addColumn<double>("draw");
        QTest::addColumn<QString>("dealt"); // file:value of hands 1, 2, 3
        const double belowOne = std::nextafter(1.0, 0.0);
        QTest::newRow("stickers 0.0") << true << 0.0 << "figurine1:1 figurine2:2 figurine3:3";
        QTest::newRow("stickers 0.3, not rounded") << true << 0.3 << "figurine1:1 figurine3:3 figurine5:5";
        QTest::newRow("stickers 0.4") << true << 0.4 << "figurine10:10 figurine4:4 figurine7:7";
        QTest::newRow("stickers 0.5") << true << 0.5 << "figurine4:4 figurine2:2 figurine3:3";
        QTest::newRow("stickers 0.7") << true << 0.7 << "figurine4:4 figurine5:5 figurine3:3";
        QTest::newRow("stickers 0.84") << true << 0.84 << "figurine7:7 figurine4:4 figurine1:1";
        QTest::newRow("stickers below 1") << true << belowOne << "figurine7:7 figurine4:4 figurine1:1";
        QTest::newRow("tarts 0.0") << false << 0.0 << "torta0:0 torta1:1 torta2:2";
        QTest::newRow("tarts 0.5, not rounded") << false << 0.5 << "torta1:1 torta2:2 torta3:3";
        QTest::newRow("tarts 0.6667") << false << 0.6667 << "torta0:0 torta2:2 torta4:4";
        QTest::newRow("tarts below 1") << false << belowOne << "torta0:0 torta2:2 torta4:4";
        QTest::newRow("tarts, a draw of 1") << false << 1.0 << "torta0:0 torta2:2 torta4:4"; // stays in range
    }

    void drawsPickDeals()
    {
        QFETCH(bool, stickers);
        QFETCH(double, draw);
        QFETCH(QString, dealt);
        const Deal& deal = DealFor(stickers ? Stickers : Tarts, draw);
        QStringList got;
        support::Board board{};
        for (int h = 0; h < Hands; ++h) {
            const auto& kind = deal.hand[std::size_t(h)];
            QString file = QString::fromLatin1(kind.file.data(), qsizetype(kind.file.size()));
            QVERIFY2(file.startsWith("\\img\\") && file.endsWith(".jpg"), qPrintable(file));
            got << file.mid(5).chopped(4) + ':' + QString::number(kind.value);
            for (int i = 0; i < CardsPerHand; ++i) board[std::size_t(h * 7 + i)] = kind.value;
        }
        QCOMPARE(got.join(' '), dealt);
        // Never won before the first move, always winnable.
        BoardTexts texts;
        for (int s = 0; s < 21; ++s)
            texts[std::size_t(s / 7)][std::size_t(s % 7)] = QString::number(board[std::size_t(s)]);
        QVERIFY(!HandsEven(Totals(texts)));
        for (auto [to, from] : support::Solve(board))
            std::swap(texts[std::size_t(to / 7)][std::size_t(to % 7)],
                      texts[std::size_t(from / 7)][std::size_t(from % 7)]);
        QVERIFY(HandsEven(Totals(texts)));
    }

    // The hands are even only when all three totals agree: each hand in turn is the odd one. A
    // card's value is the number its text begins with; a text with none counts 0.
    void winRule_data()
    {
        QTest::addColumn<QStringList>("hands");
        QTest::addColumn<bool>("won");
        const QString fourteen = "2 2 2 2 2 2 2", alsoFourteen = "10 1 1 1 1 0 0", fifteen = "3 2 2 2 2 2 2";
        QTest::newRow("all fourteen") << QStringList{fourteen, alsoFourteen, "7 7 0 0 0 0 0"} << true;
        QTest::newRow("first differs") << QStringList{fifteen, fourteen, alsoFourteen} << false;
        QTest::newRow("second differs") << QStringList{fourteen, fifteen, alsoFourteen} << false;
        QTest::newRow("third differs") << QStringList{fourteen, alsoFourteen, fifteen} << false;
        QTest::newRow("empty values count 0") << QStringList{"      ", "0 0 0 0 0 0 0", "x y z 0 0 0 0"} << true;
        QTest::newRow("numbers then words") << QStringList{"7a 7b", " 5 fragole 9", fourteen} << true;
        QTest::newRow("signed numbers") << QStringList{"-1 15", "+14", fourteen} << true;
        QTest::newRow("huge numbers stay huge") << QStringList{QString(40, '9'), fourteen, fourteen} << false;
    }

    void winRule()
    {
        QFETCH(QStringList, hands);
        QFETCH(bool, won);
        BoardTexts board;
        for (int h = 0; h < Hands; ++h) {
            const QStringList cards = hands[h].split(' ');
            for (int i = 0; i < CardsPerHand; ++i) board[std::size_t(h)][std::size_t(i)] = cards.value(i);
        }
        QCOMPARE(HandsEven(Totals(board)), won);
    }

    // What screen readers hear of a card: its worth in words, the number agreeing, and its place.
    void cardNames()
    {
        using texts::CardName, texts::Goods;
        QCOMPARE((QStringList{CardName(Goods::Tarts, 0), CardName(Goods::Tarts, 1), CardName(Goods::Tarts, 4),
                              CardName(Goods::Stickers, 1), CardName(Goods::Stickers, 10)}),
                 (QStringList{"tortina senza fragole", "tortina con 1 fragola", "tortina con 4 fragole",
                              "figurina da 1 punto", "figurina da 10 punti"}));
        QCOMPARE(texts::CardPlace(0, 2, 7) + " / " + texts::CardPlace(2, 6, 7),
                 "primo bambino, carta 3 di 7 / terza bambina, carta 7 di 7");
    }

    // The hint on boards written out by hand: the swap as "hand.index-hand.index", or none.
    void hints_data()
    {
        QTest::addColumn<QStringList>("hands");
        QTest::addColumn<QString>("swap");
        const QString sevens = "7 7 7 7 7 7 7", ones = "1 1 1 1 1 1 1";
        QTest::newRow("even") << QStringList{sevens, "6 8 7 7 7 7 7", "0 14 7 7 7 7 7"} << "none";
        QTest::newRow("one from the end, two ways: the leftmost")
            << QStringList{"2 2 3 2 2 2 2", "2 2 2 2 2 2 1", "2 2 2 2 2 2 2"} << "0.0-1.6";
        QTest::newRow("every swap worse but one")
            << QStringList{"20 0 0 0 0 0 0", "3 3 3 3 3 3 3", "1 7 7 7 0 0 0"} << "0.1-2.0";
        QTest::newRow("shortest way, not the narrowest swap")
            << QStringList{"0 0 2 2 2 2 2", "0 0 2 2 2 2 2", "3 3 2 2 2 2 2"} << "0.0-2.2";
        QTest::newRow("a fresh deal: of three shortest, the narrowest")
            << QStringList{"0 0 0 0 0 0 0", ones, "2 2 2 2 2 2 2"} << "0.0-2.0";
        QTest::newRow("no end, a narrower spread") << QStringList{"5 0 0 0 0 0 0", ones, ones} << "0.1-1.0";
        QTest::newRow("no end, no swap helps")
            << QStringList{"1 0 0 0 0 0 0", "0 0 0 0 0 0 0", "0 0 0 0 0 0 0"} << "none";
    }

    void hints()
    {
        QFETCH(QStringList, hands);
        QFETCH(QString, swap);
        BoardValues board;
        for (int h = 0; h < Hands; ++h)
            for (int i = 0; i < CardsPerHand; ++i)
                board[std::size_t(h)][std::size_t(i)] = hands[h].split(' ')[i].toInt();
        const auto hint = HintFor(board);
        QCOMPARE(hint ? QString("%1.%2-%3.%4")
                            .arg(hint->first.hand)
                            .arg(hint->first.index)
                            .arg(hint->second.hand)
                            .arg(hint->second.index)
                      : "none",
                 swap);
    }

    // Evenly spread draws: every position a 1/18 share, repeated colours more often; never 0.
    void palette()
    {
        QVERIFY(PalettePosition(0.0) == 1 && PalettePosition(std::nextafter(1.0, 0.0)) == 18);
        std::map<int, int> byColour;
        for (int k = 0; k < 1800; ++k) ++byColour[Palette[std::size_t(PalettePosition((k + 0.5) / 1800))]];
        const std::map<int, int> expected{{0xC0C0FF, 100}, {0x8080FF, 200}, {0x0080FF, 200}, {0x80C0FF, 100},
                                          {0xC0FFFF, 100}, {0x0040C0, 200}, {0x80FF80, 100}, {0xFFFFC0, 100},
                                          {0xFFFF00, 100}, {0xFFC0C0, 100}, {0xFFC0FF, 300}, {0xE0E0E0, 100},
                                          {0xFF00FF, 100}};
        QCOMPARE(byColour, expected);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"

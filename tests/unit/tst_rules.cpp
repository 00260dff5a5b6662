// The rules that need no screen: deal tables, solvability, card values, the palette.

#include "game/Board.h"
#include "game/ContentSet.h"
#include "platform/Random.h"
#include "shell/ModuloColoriSuoni.h"

#include <QRegularExpression>
#include <QTest>
#include <array>
#include <cmath>
#include <map>
#include <queue>
#include <set>

using namespace game;

namespace {

// A hand as counts of each of the deal's three values; the order of cards does not matter.
using Counts = std::array<std::array<int, 3>, 3>; // [hand][kind]

int Total(const Counts& c, int hand, const Deal& d)
{
    int t = 0;
    for (int k = 0; k < 3; ++k) t += c[hand][k] * d.hand[k].value;
    return t;
}

// Breadth-first search over the swaps that change a hand: the fewest swaps that even out a deal.
int FewestSwaps(const Deal& deal)
{
    Counts start{};
    for (int h = 0; h < 3; ++h) start[h][h] = CardsPerHand;
    auto even = [&](const Counts& c) {
        return Total(c, 0, deal) == Total(c, 1, deal) && Total(c, 1, deal) == Total(c, 2, deal);
    };
    std::map<Counts, int> seen{{start, 0}};
    std::queue<Counts> queue;
    queue.push(start);
    while (!queue.empty()) {
        Counts c = queue.front();
        queue.pop();
        if (even(c)) return seen[c];
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b)
                for (int ka = 0; ka < 3; ++ka)
                    for (int kb = 0; kb < 3; ++kb) {
                        if (ka == kb || c[a][ka] == 0 || c[b][kb] == 0) continue;
                        Counts n = c;
                        --n[a][ka], ++n[a][kb], --n[b][kb], ++n[b][ka];
                        if (seen.emplace(n, seen[c] + 1).second) queue.push(n);
                    }
    }
    return -1;
}

} // namespace

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void dealTables_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("deal");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QList<int>>("totals");
        QTest::addColumn<int>("target");
        // The tables as the game's designers gave them.
        QTest::newRow("stickers 0") << 0 << 0 << "figurine1 figurine2 figurine3" << QList<int>{7, 14, 21} << 14;
        QTest::newRow("stickers 1") << 0 << 1 << "figurine1 figurine3 figurine5" << QList<int>{7, 21, 35} << 21;
        QTest::newRow("stickers 2") << 0 << 2 << "figurine10 figurine4 figurine7" << QList<int>{70, 28, 49} << 49;
        QTest::newRow("stickers 3") << 0 << 3 << "figurine4 figurine2 figurine3" << QList<int>{28, 14, 21} << 21;
        QTest::newRow("stickers 4") << 0 << 4 << "figurine4 figurine5 figurine3" << QList<int>{28, 35, 21} << 28;
        QTest::newRow("stickers 5") << 0 << 5 << "figurine7 figurine4 figurine1" << QList<int>{49, 28, 7} << 28;
        QTest::newRow("tarts 0") << 1 << 0 << "torta0 torta1 torta2" << QList<int>{0, 7, 14} << 7;
        QTest::newRow("tarts 1") << 1 << 1 << "torta1 torta2 torta3" << QList<int>{7, 14, 21} << 14;
        QTest::newRow("tarts 2") << 1 << 2 << "torta0 torta2 torta4" << QList<int>{0, 14, 28} << 14;
    }

    void dealTables()
    {
        QFETCH(int, set);
        QFETCH(int, deal);
        QFETCH(QString, files);
        QFETCH(QList<int>, totals);
        QFETCH(int, target);
        const ContentSet& content = set == 0 ? Stickers : Tarts;
        QCOMPARE(int(content.deals.size()), set == 0 ? 6 : 3);
        const Deal& d = content.deals[std::size_t(deal)];
        const QStringList names = files.split(' ');
        int grand = 0;
        for (int h = 0; h < 3; ++h) {
            const QString file = QString::fromUtf8(d.hand[h].file.data(), qsizetype(d.hand[h].file.size()));
            QCOMPARE(file, "\\img\\" + names[h] + ".jpg");
            // Picture and value belong together: figurineN and tortaN are worth N.
            QCOMPARE(d.hand[h].value, names[h].mid(names[h].indexOf(QRegularExpression("\\d"))).toInt());
            QCOMPARE(d.hand[h].value * CardsPerHand, totals[h]);
            grand += totals[h];
        }
        QCOMPARE(grand / 3, target);
        QCOMPARE(grand % 3, 0);
        // A fresh deal is never already won.
        QVERIFY(!HandsEven({totals[0], totals[1], totals[2]}));
    }

    void everyDealCanBeWon_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("deal");
        for (int d = 0; d < 6; ++d) QTest::addRow("stickers %d", d) << 0 << d;
        for (int d = 0; d < 3; ++d) QTest::addRow("tarts %d", d) << 1 << d;
    }

    void everyDealCanBeWon()
    {
        QFETCH(int, set);
        QFETCH(int, deal);
        const Deal& d = (set == 0 ? Stickers : Tarts).deals[std::size_t(deal)];
        const int swaps = FewestSwaps(d);
        QVERIFY2(swaps > 0, "no sequence of swaps evens this deal out");
        // Two hands of 3 high, 1 middle, 3 low and one of 1 high, 5 middle, 1 low is one way:
        // it never takes more than 8 swaps, so the fewest cannot be more.
        QVERIFY(swaps <= 8);
    }

    void cardValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::newRow("digit") << "7" << qint64(7);
        QTest::newRow("two digits") << "10" << qint64(10);
        QTest::newRow("zero") << "0" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("no number") << "abc" << qint64(0);
        QTest::newRow("number then text") << "4 fragole" << qint64(4);
        QTest::newRow("leading blank") << " 5" << qint64(5);
        QTest::newRow("absurdly long") << QString(40, '9') << qint64(999999999999999999LL);
    }

    void cardValues()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QCOMPARE(qint64(CardValue(text)), value);
    }

    void dealNumberStaysInRange()
    {
        const double almostOne = std::nextafter(1.0, 0.0);
        QCOMPARE(DealNumber(0.0, 6), 0);
        QCOMPARE(DealNumber(almostOne, 6), 5);
        QCOMPARE(DealNumber(almostOne, 3), 2);
        QCOMPARE(DealNumber(0.5, 3), 1);
        QCOMPARE(DealNumber(1.0, 3), 2); // a generator that breaks its promise still deals
    }

    void moveCounterStopsAtItsLimit()
    {
        QCOMPARE(NextMoveCount(0), std::int16_t(1));
        QCOMPARE(NextMoveCount(32766), std::int16_t(32767));
        QCOMPARE(NextMoveCount(32767), std::int16_t(32767));
    }

    void paletteIndexRule()
    {
        using namespace ModuloColoriSuoni;
        QCOMPARE(PalettePosition(0.0), 1);
        QCOMPARE(PalettePosition(std::nextafter(1.0, 0.0)), 18);
        QCOMPARE(PalettePosition(1.0 / 18), 2);
        QCOMPARE(PalettePosition(std::nextafter(1.0 / 18, 0.0)), 1);
        // The table as designed: 13 distinct colours, some repeated.
        QCOMPARE(Palette[14], 0xFFC0FF);
        QCOMPARE(Palette[18], 0xFF00FF);
        QCOMPARE(std::set<std::int32_t>(Palette.begin() + 1, Palette.end()).size(), std::size_t(13));
    }

    void paletteDrawsEveryPositionFairly()
    {
        using namespace ModuloColoriSuoni;
        platform::Randomize(20261206);
        std::map<std::int32_t, int> byColour;
        std::array<int, 19> byPosition{};
        const int draws = 180000;
        for (int i = 0; i < draws; ++i) {
            const double r = platform::Rnd();
            QVERIFY(r >= 0.0 && r < 1.0);
            const int position = PalettePosition(r);
            ++byPosition[std::size_t(position)];
            ++byColour[Palette[std::size_t(position)]];
        }
        QCOMPARE(byPosition[0], 0);
        for (int p = 1; p <= 18; ++p) QVERIFY2(byPosition[std::size_t(p)] > 9000, qPrintable(QString::number(p)));
        const double single = byColour[0xC0C0FF];
        QVERIFY(std::abs(byColour[0xFFC0FF] / single - 3.0) < 0.15);
        QVERIFY(std::abs(byColour[0x8080FF] / single - 2.0) < 0.1);
        QVERIFY(std::abs(byColour[0x0040C0] / single - 2.0) < 0.1);
    }
};

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"

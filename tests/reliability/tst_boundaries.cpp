// The edges of the input: the smallest and largest displays, a window one pixel tall, and a
// move counter at its ceiling. Nothing overflows, divides by zero or leaves the screen; the
// sanitizer build checks the arithmetic on the way.

#include "Reliability.h"

#include "platform/CommandButton.h"
#include "platform/Forms.h"
#include "platform/Units.h"

#include <QImageReader>
#include <QtTest>

using namespace reliability;

class Boundaries : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { testing_support::TearDown(); }

    void displays_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QSize>("display");
        for (const char* screen : {"FormMemory", "FormMemory2"}) {
            QTest::addRow("%s 640x480", screen) << QString::fromLatin1(screen) << QSize(640, 480);
            QTest::addRow("%s 7680x4320", screen) << QString::fromLatin1(screen) << QSize(7680, 4320);
        }
    }

    // The board fills the display, every card inside it and none overlapping, and plays.
    void displays()
    {
        QFETCH(QString, screen);
        QFETCH(QSize, display);
        testing_support::Prepare(display);
        testing_support::MsgBoxScript boxes;
        auto& g = dynamic_cast<game::GameScreen&>(platform::Forms::Show(screen));
        QCOMPARE(g.Window()->size(), display);
        SaveShot(g.Window(), QString::fromUtf8(QTest::currentDataTag()));

        const QRect client = g.Client()->rect();
        QRect row;
        for (int s = 0; s < Slots; ++s) {
            const QRect card = Card(g, s).Widget()->geometry();
            QVERIFY2(!card.isEmpty() && client.contains(card), qPrintable(Card(g, s).Widget()->objectName()));
            if (s % 7 != 0) QVERIFY(card.left() > row.right());
            if (s >= 7 && s % 7 == 0) QVERIFY(card.top() > row.bottom());
            row = card;
            QVERIFY(!Card(g, s).Picture().Failed());
        }

        const QString first = Card(g, 0).Tag(), last = Card(g, 20).Tag();
        MouseDrag(Card(g, 0).Widget(), Card(g, 20).Widget());
        QCOMPARE(g.NumeroMosse, std::int16_t(1));
        QCOMPARE(Card(g, 0).Tag(), last);
        QCOMPARE(Card(g, 20).Tag(), first);
    }

    // A window one pixel tall leaves no room for the client area: nothing divides by it, the
    // board still deals and swaps, and the full size brings the layout back.
    void onePixelTall()
    {
        testing_support::Prepare();
        testing_support::MsgBoxScript boxes;
        auto& g = dynamic_cast<game::GameScreen&>(platform::Forms::Show(QStringLiteral("FormMemory2")));
        auto sizes = [&] {
            std::vector<std::pair<double, double>> v;
            for (const platform::Control* c : g.Controls()) v.emplace_back(c->Width(), c->Height());
            return v;
        };
        const auto before = sizes();

        g.SetHeight(15);
        QCOMPARE(g.Window()->height(), 1);
        g.Ricomincia();
        DropOnto(g, 0, 20);
        QCOMPARE(g.NumeroMosse, std::int16_t(1));
        g.SetWindowState(platform::Form::Minimized);
        g.SetWindowState(platform::Form::Normal);

        g.SetHeight(platform::Screen::Height());
        QVERIFY(sizes() == before);
    }

    void dealInSmallWindow_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::newRow("one pixel tall") << QSize(1024, 0);
        QTest::newRow("one pixel square") << QSize(1, 0);
        QTest::newRow("a quarter") << QSize(256, 192);
    }

    // A deal made while the window is small still shows sharp cards once it is large again:
    // every picture as detailed as its file allows at the size it is shown.
    void dealInSmallWindow()
    {
        QFETCH(QSize, client);
        testing_support::Prepare();
        testing_support::MsgBoxScript boxes;
        auto& g = dynamic_cast<game::GameScreen&>(platform::Forms::Show(QStringLiteral("FormMemory2")));
        const int menu = g.Window()->height() - g.Client()->height();
        g.SetWidth(platform::PixelsToTwips(client.width()));
        g.SetHeight(platform::PixelsToTwips(std::max(1, client.height() + menu)));
        g.Ricomincia();
        g.SetHeight(platform::Screen::Height());
        g.SetWidth(platform::Screen::Width());
        SaveShot(g.Window(), QStringLiteral("dealt small ") + QString::fromUtf8(QTest::currentDataTag()));
        for (int s = 0; s < Slots; ++s) {
            const platform::Image& card = Card(g, s);
            card.Widget()->grab(); // as the screen paints it
            const QSize file = QImageReader(card.Picture().Source()).size();
            const QSize shown = card.PictureSize().boundedTo(file);
            const QSize held = card.Picture().Image().size();
            QVERIFY2(held.width() >= shown.width() && held.height() >= shown.height(),
                     qPrintable(QStringLiteral("%1: %2x%3 pixels shown at %4x%5")
                                    .arg(card.Widget()->objectName())
                                    .arg(held.width())
                                    .arg(held.height())
                                    .arg(shown.width())
                                    .arg(shown.height())));
        }
    }

    // The counter stops at its ceiling and says so, even in the congratulation.
    void counterCeiling()
    {
        testing_support::Prepare();
        testing_support::MsgBoxScript boxes;
        auto& g = dynamic_cast<game::GameScreen&>(platform::Forms::Show(QStringLiteral("FormMemory")));
        g.NumeroMosse = 32766;
        const auto swaps = Solution(Values(g));
        QVERIFY(swaps.size() >= 2);
        for (auto [to, from] : swaps) DropOnto(g, to, from);
        QCOMPARE(g.NumeroMosse, std::int16_t(32767));
        QCOMPARE(g.Label2.Caption(), QStringLiteral("Mosse 32767"));
        g.Timer1_Timer();
        QCOMPARE(boxes.seen.size(), std::size_t(1));
        QCOMPARE(boxes.seen[0].text, QStringLiteral("Bravo! Ci sei riuscito in 32767 mosse!"));
    }
};

QTEST_MAIN(Boundaries)
#include "tst_boundaries.moc"

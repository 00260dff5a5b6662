// A finger on a touch screen must play exactly like the mouse: the cards take no touch events
// themselves and rely on the mouse events that Qt makes from unhandled touches. A card that
// began accepting touch, or a drag that only follows real mouse events, would leave children
// on tablets unable to play.

#include "game/GameScreen.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "support/TestSupport.h"

#include <QPointingDevice>
#include <QtTest/QtTest>

using namespace testing_support;

namespace {

struct Card {
    int hand;
    int index;
};

platform::Image& CardOf(game::GameScreen& screen, Card c)
{
    platform::ControlArray<platform::Image>* hands[] = {&screen.Image1, &screen.Image2, &screen.Image3};
    return (*hands[c.hand])[c.index];
}

struct CardState {
    platform::Picture picture;
    QString value;
};

CardState StateOf(platform::Image& card) { return {card.Picture(), card.Tag()}; }

} // namespace

Q_DECLARE_METATYPE(Card)

// A mouse drag between two cards, the target point mapped through the window: QWidget::mapTo
// needs an ancestor, and two cards are siblings.
void MouseDrag(QWidget* from, QWidget* to, QPoint at)
{
    const QPoint target = from->mapFrom(from->window(), to->mapTo(to->window(), at));
    QTest::mousePress(from, Qt::LeftButton, {}, CentreOf(from));
    QTest::mouseMove(from, (CentreOf(from) + target) / 2);
    QTest::mouseMove(from, target);
    QTest::mouseRelease(from, Qt::LeftButton, {}, target);
}

class TouchTest : public QObject {
    Q_OBJECT

    QPointingDevice* touchscreen_ = nullptr;

    // One finger down on the source card, across the screen, and up over the target point.
    void TouchDrag(QWidget* from, QWidget* to, QPoint at)
    {
        QWidget* window = from->window();
        const QPoint start = from->mapTo(window, CentreOf(from));
        const QPoint end = to->mapTo(window, at);
        QTest::touchEvent(window, touchscreen_).press(0, start, window);
        QTest::touchEvent(window, touchscreen_).move(0, (start + end) / 2, window);
        QTest::touchEvent(window, touchscreen_).move(0, end, window);
        QTest::touchEvent(window, touchscreen_).release(0, end, window);
    }

private slots:
    void initTestCase() { touchscreen_ = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen); }
    // The test owns the device it made; deleting it also takes it off Qt's list of devices.
    void cleanupTestCase()
    {
        delete touchscreen_;
        touchscreen_ = nullptr;
    }
    void cleanup() { TearDown(); }

    void fingerPlaysLikeMouse_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<Card>("from");
        QTest::addColumn<Card>("to");
        // Where the finger is lifted, as a share of the target card; outside 0..1 misses it.
        QTest::addColumn<QPointF>("liftAt");
        QTest::addColumn<bool>("swaps");

        QTest::newRow("stickers, across hands")
            << "FormMemory2" << Card{0, 0} << Card{1, 3} << QPointF(0.5, 0.5) << true;
        QTest::newRow("stickers, lifted near a corner")
            << "FormMemory2" << Card{2, 6} << Card{0, 1} << QPointF(0.9, 0.1) << true;
        QTest::newRow("tarts, across hands") << "FormMemory" << Card{2, 2} << Card{0, 5} << QPointF(0.5, 0.5) << true;
        QTest::newRow("tarts, within a hand") << "FormMemory" << Card{1, 0} << Card{1, 6} << QPointF(0.5, 0.5) << true;
        QTest::newRow("onto itself") << "FormMemory2" << Card{1, 4} << Card{1, 4} << QPointF(0.5, 0.5) << false;
        QTest::newRow("lifted between cards")
            << "FormMemory" << Card{0, 0} << Card{0, 1} << QPointF(-0.02, 0.5) << false;
        QTest::newRow("lifted off the board")
            << "FormMemory2" << Card{0, 2} << Card{2, 2} << QPointF(0.5, 1.4) << false;
    }

    void fingerPlaysLikeMouse()
    {
        QFETCH(QString, screen);
        QFETCH(Card, from);
        QFETCH(Card, to);
        QFETCH(QPointF, liftAt);
        QFETCH(bool, swaps);

        // The same deal twice: once played with the mouse, once with a finger.
        struct Outcome {
            CardState source, target;
            QString moves;
        };
        auto play = [&](bool finger) {
            Prepare(QSize(1024, 768), 7);
            auto* game = dynamic_cast<game::GameScreen*>(&platform::Forms::Show(screen));
            if (!game) qFatal("%s is not a game screen", qPrintable(screen));
            QVERIFY(QTest::qWaitForWindowExposed(game->Window()));
            platform::Image& source = CardOf(*game, from);
            platform::Image& target = CardOf(*game, to);
            const CardState before[2] = {StateOf(source), StateOf(target)};
            QWidget* targetView = target.Widget();
            const QPoint at(int(liftAt.x() * targetView->width()), int(liftAt.y() * targetView->height()));
            if (finger)
                TouchDrag(source.Widget(), targetView, at);
            else
                MouseDrag(source.Widget(), targetView, at);

            if (swaps) {
                QVERIFY(StateOf(source).picture == before[1].picture);
                QCOMPARE(StateOf(source).value, before[1].value);
                QVERIFY(StateOf(target).picture == before[0].picture);
                QCOMPARE(StateOf(target).value, before[0].value);
            } else {
                QVERIFY(StateOf(source).picture == before[0].picture);
                QVERIFY(StateOf(target).picture == before[1].picture);
            }
            QCOMPARE(game->Label2.Caption(), swaps ? QStringLiteral("Mosse 1") : QStringLiteral("Mosse 0"));
            // The drag is over: no outline is left on the screen to catch the next touch.
            QVERIFY(!game->DragOutlineWidget() || !game->DragOutlineWidget()->isVisible());
            TearDown();
        };
        play(false);
        if (QTest::currentTestFailed()) QFAIL("the mouse drag that the finger is compared with failed");
        play(true);
    }
};

QTEST_MAIN(TouchTest)
#include "tst_touch.moc"

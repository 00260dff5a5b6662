// The game screens: dealing, swapping, winning, restarting and leaving; broken pictures,
// storms of moves, display sizes and fingers.

#include "support/Support.h"

#include "platform/Celebration.h"
#include "platform/CommandButton.h"
#include "platform/Label.h"
#include "platform/MenuItem.h"
#include "platform/Timer.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <set>
#include <unistd.h>

using namespace platform;
using game::GameScreen;
using support::Card;
using support::Open;

namespace {

// The value that a card's picture file stands for: figurine10.jpg is worth 10.
QString ValueOfPicture(const Image& card)
{
    const QString file = QFileInfo(card.Picture().Source()).baseName();
    return file.mid(file.indexOf(QRegularExpression("\\d")));
}

void ExpectWholeBoard(GameScreen& g, const support::Board& dealt)
{
    support::Board now = support::Values(g), before = dealt;
    std::sort(now.begin(), now.end());
    std::sort(before.begin(), before.end());
    QCOMPARE(now, before); // the same 21 values, only moved about
    for (int s = 0; s < 21; ++s) QCOMPARE(ValueOfPicture(Card(g, s)), Card(g, s).Tag());
}

} // namespace

class TestGame : public QObject {
    Q_OBJECT
private slots:
    void init() { support::Prepare(QSize(1024, 768), 42); }
    void cleanup() { support::TearDown(); }

    void openingAGame_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("pictures");
        QTest::newRow("tarts") << "FormMemory"
                               << "Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso "
                                  "numero di fragole."
                               << "torta";
        QTest::newRow("stickers") << "FormMemory2"
                                  << "Ogni bambino vuole avere 7 figurine, ma tutti vogliono avere anche lo stesso "
                                     "numero di punti."
                                  << "figurine";
    }

    void openingAGame()
    {
        QFETCH(QString, screen);
        QFETCH(QString, firstLine);
        QFETCH(QString, pictures);
        GameScreen& g = Open(qPrintable(screen));
        QCOMPARE((std::array{g.Left(), g.Top(), g.Width(), g.Height()}), (std::array{0.0, 0.0, 15360.0, 11520.0}));
        QCOMPARE(g.Label1.Caption(), firstLine + "\r\nSei capace di accontentarli?");
        QCOMPARE(g.Label2.Caption(), "Mosse 0");
        QVERIFY(!g.Command1.Visible() && g.Timer1.Enabled() && !g.Image5.Visible());
        QCOMPARE(g.BackColor(), 0xC0E0FFu);
        // Each hand seven alike cards, every card a picture of its own beside its value.
        std::set<std::uintptr_t> handles;
        for (int s = 0; s < 21; ++s) {
            const Image& card = Card(g, s);
            QVERIFY(card.Enabled() && !card.Picture().Failed());
            QVERIFY(QFileInfo(card.Picture().Source()).fileName().startsWith(pictures));
            QCOMPARE(ValueOfPicture(card), card.Tag());
            QCOMPARE(card.Tag(), Card(g, s / 7 * 7).Tag());
            handles.insert(card.Picture().Handle());
        }
        QCOMPARE(handles.size(), std::size_t(21));
        // The grid measured on the rescaled cards: 1024 / 685 of the design across; down, the
        // client area below the 19-pixel menu bar, 749 of 496 design pixels.
        QCOMPARE((std::array{g.PassoX, g.PassoY, g.InizioX, g.InizioY}), (std::array{1973, 2175, 1256, 1087}));
        QCOMPARE((std::array{g.Image3[6].Left(), g.Image3[6].Top()}), (std::array{13094.0, 5437.0}));
        // The aeroplane over the cards, the arrow over the restart button, the standard arrow elsewhere.
        QCOMPARE(g.Image2[3].Widget()->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(g.Image2[3].Widget()->cursor().pixmap().toImage() != g.Command1.Widget()->cursor().pixmap().toImage());
        for (QWidget* w : {g.Client(), g.Label1.Widget(), g.Label2.Widget(), g.Image4[0].Widget()})
            QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }

    void swaps()
    {
        GameScreen& g = Open("FormMemory2");
        Image &a = g.Image1[2], &b = g.Image3[5];
        const Picture pa = a.Picture(), pb = b.Picture();
        const QString va = a.Tag(), vb = b.Tag();
        QVERIFY(va != vb);
        support::Drag(a.Widget(), a.Widget()); // onto itself: nothing at all
        QVERIFY(a.Picture() == pa && a.Tag() == va && g.Label2.Caption() == "Mosse 0");
        support::Drag(a.Widget(), b.Widget()); // picture and value change places together
        QVERIFY(a.Picture() == pb && b.Picture() == pa && a.Tag() == vb && b.Tag() == va);
        QCOMPARE(g.Label2.Caption(), "Mosse 1");
        support::Drag(g.Image2[0].Widget(), g.Image2[1].Widget()); // alike cards: a move all the same
        QCOMPARE(g.Label2.Caption(), "Mosse 2");
        const support::Board before = support::Values(g);
        support::Drag(a.Widget(), g.Client(), QPoint(3, g.Client()->height() - 3));
        support::Drag(a.Widget(), g.Label1.Widget());
        support::Drag(a.Widget(), g.Image4[1].Widget());
        QCOMPARE(support::Values(g), before); // the background, a label, a child: nothing
        QCOMPARE(g.Label2.Caption(), "Mosse 2");
        // Either way round, the same two cards change places.
        g.Image3_DragDrop(0, g.Image1[6], 0, 0);
        g.Image1_DragDrop(6, g.Image3[0], 0, 0);
        QCOMPARE(support::Values(g), before);
        QCOMPARE(g.NumeroMosse, std::int16_t(4));
        // A restart in the middle of a game throws it away without asking.
        g.Ricomincia();
        QCOMPARE(g.Label2.Caption(), "Mosse 0");
        for (int s = 0; s < 21; ++s) QCOMPARE(Card(g, s).Tag(), Card(g, s / 7 * 7).Tag());
    }

    void winningOnceAndRestarting()
    {
        support::MsgBoxScript script;
        GameScreen& g = Open("FormMemory");
        // The platform goes on ticking while the congratulation is open: still one of them.
        script.onShow = [&](const MsgBoxRequest&) {
            for (int i = 0; i < 5; ++i) g.Timer1.Tick();
            for (int s = 0; s < 21; ++s) QVERIFY(!Card(g, s).Enabled());
        };
        g.Timer1_Timer();
        QVERIFY(script.seen.empty()); // a fresh deal is never won
        support::PlayToWin(g);
        const std::int16_t moves = g.NumeroMosse;
        g.Timer1.Tick();
        QCOMPARE(script.nested, 0);
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].text, QString("Bravo! Ci sei riuscito in %1 mosse!").arg(moves));
        QCOMPARE(script.seen[0].style, 0);
        QCOMPARE(script.seen[0].shownTitle, "Zuccheriva");
        QVERIFY(g.Command1.Visible() && !g.Timer1.Enabled());
        // Locked: no drag moves a card, the count stays.
        support::Drag(g.Image1[0].Widget(), g.Image2[0].Widget());
        QCOMPARE(g.Label2.Caption(), QString("Mosse %1").arg(moves));
        // The restart button deals again on the grid of the last activation.
        const std::array grid{g.PassoX, g.PassoY, g.InizioX, g.InizioY};
        const QString instructions = g.Label1.Caption();
        QTest::mouseClick(g.Command1.Widget(), Qt::LeftButton);
        QVERIFY(!g.Command1.Visible() && g.Timer1.Enabled() && g.Label2.Caption() == "Mosse 0");
        for (int s = 0; s < 21; ++s) QVERIFY(Card(g, s).Enabled());
        QCOMPARE((std::array{g.PassoX, g.PassoY, g.InizioX, g.InizioY}), grid);
        QCOMPARE(g.Label1.Caption(), instructions);
    }

    void counterStopsAtItsCeiling()
    {
        GameScreen& g = Open("FormMemory2");
        g.NumeroMosse = 32766;
        g.Image1_DragDrop(0, g.Image2[0], 0, 0);
        QCOMPARE(g.Label2.Caption(), "Mosse 32767");
        g.Image1_DragDrop(0, g.Image2[0], 0, 0);
        QCOMPARE(g.NumeroMosse, std::int16_t(32767));
        QCOMPARE(g.Label2.Caption(), "Mosse 32767");
    }

    // Thousands of moves by hand and by mouse, with resizes between: the board stays whole.
    void aStormOfMoves()
    {
        GameScreen& g = Open("FormMemory2");
        const support::Board dealt = support::Values(g);
        QRandomGenerator random(2026);
        int counted = 0;
        for (int n = 0; n < 3000; ++n) {
            const int t = random.bounded(21), s = random.bounded(21);
            if (n % 10 == 0)
                support::Drag(Card(g, s).Widget(), Card(g, t).Widget());
            else
                support::Drop(g, t, s);
            counted += s != t;
            if (n % 500 == 0) g.SetWidth(15.0 * (400 + random.bounded(1600)));
        }
        QCOMPARE(int(g.NumeroMosse), counted);
        ExpectWholeBoard(g, dealt);
    }

    void brokenPictures_data()
    {
        QTest::addColumn<QByteArray>("content"); // "missing", "folder", "locked" or the file's bytes
        QTest::addColumn<QString>("reason");
        QByteArray jpeg;
        QFile good(MERENDELLA_SOURCE_DIR "/img/torta2.jpg");
        QVERIFY(good.open(QIODevice::ReadOnly));
        jpeg = good.readAll();
        // A PNG claiming 100000 x 100000 pixels, with no pixels in it.
        const QByteArray huge = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000186a0000186a0080200000027309c9f"
                                                    "000000004944415435af061e0000000049454e44ae426082");
        QTest::newRow("missing") << QByteArray("missing") << "file not found";
        QTest::newRow("a folder") << QByteArray("folder") << "not a file";
        QTest::newRow("unreadable") << QByteArray("locked") << "permission denied";
        QTest::newRow("empty") << QByteArray() << "the file is empty";
        QTest::newRow("not a picture") << QByteArray("torta") << "not a picture .*";
        QTest::newRow("cut short") << jpeg.left(jpeg.size() / 2) << "the file is cut short";
        QTest::newRow("too large") << huge << "picture too large \\(100000 x 100000 pixels\\)";
    }

    // Every tart deal has a hand of torta2: break it, and the game still plays to its end.
    void brokenPictures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        if (content == "locked" && ::geteuid() == 0)
            QSKIP("root reads every file; the desktop tests lock one for another user");
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("img")));
        for (const QString& f : QDir(MERENDELLA_SOURCE_DIR "/img").entryList({"*.jpg"}))
            QVERIFY(QFile::copy(MERENDELLA_SOURCE_DIR "/img/" + f, dir.filePath("img/" + f)));
        const QString broken = dir.filePath("img/torta2.jpg");
        QFile::remove(broken);
        QFile file(broken);
        if (content == "folder")
            QVERIFY(QDir().mkpath(broken));
        else if (content != "missing")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) >= 0 && (file.close(), true));
        if (content == "locked") QVERIFY(file.setPermissions({}));
        App::SetPathForTesting(dir.path());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^cannot show picture " + broken + ": " + reason + "$"));
        QTest::failOnWarning(QRegularExpression("cannot show picture"));

        support::MsgBoxScript script;
        GameScreen& g = Open("FormMemory");
        int standIns = 0;
        for (int s = 0; s < 21; ++s) {
            const Image& card = Card(g, s);
            QCOMPARE(card.Picture().Failed(), card.Picture().Source() == broken);
            QCOMPARE(ValueOfPicture(card), card.Tag());
            standIns += card.Picture().Failed();
        }
        QCOMPARE(standIns, 7);
        QVERIFY(!g.Image1[0].Widget()->grab().isNull()); // drawn as a stand-in with its value
        support::PlayToWin(g);
        g.Timer1_Timer();
        QCOMPARE(script.seen.size(), std::size_t(1));
    }

    void leavingThroughEsci()
    {
        support::MsgBoxScript script;
        Forms::Register("FormMenu", [] { return std::make_unique<Form>(FormDesc{.name = "FormMenu"}); });
        GameScreen& g = Open("FormMemory2");
        support::Drop(g, 0, 7);
        const support::Board values = support::Values(g);
        script.answers = {vbNo};
        g.mnuEsci.Click();
        QCOMPARE(script.seen.back().text, "vuoi tornare al menù? ");
        QCOMPARE(script.seen.back().style, 36);
        QCOMPARE(script.seen.back().shownTitle, "Merendella");
        QVERIFY(Forms::Find("FormMemory2") == &g && g.Timer1.Enabled() && support::Values(g) == values);
        QCOMPARE(g.Label2.Caption(), "Mosse 1");
        script.answers = {vbYes};
        g.mnuEsci.Click();
        QVERIFY(!Forms::Find("FormMemory2") && Forms::Active() == Forms::Find("FormMenu"));
        QCOMPARE(support::quits, 0);
        QCOMPARE(Open("FormMemory2").Label2.Caption(), "Mosse 0"); // back again: a fresh game
    }

    void resizingKeepsTheGridOfTheActivation()
    {
        GameScreen& g = Open("FormMemory");
        g.SetWidth(20550);                     // twice the designed width
        QCOMPARE(g.Image1[0].Width(), 2430.0); // the scaler follows the window
        g.Ricomincia();                        // a restart lays the cards on the grid measured at activation
        QCOMPARE(g.PassoX, 1973);
        QCOMPARE(g.Image1[1].Left(), 1973.0 + 1256.0);
        QCOMPARE(g.Image1[0].Width(), 2430.0);
    }

    void displays_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<int>("passoX");
        QTest::newRow("800 x 600") << QSize(800, 600) << 1542;
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 3700;
        QTest::newRow("3840 x 2160") << QSize(3840, 2160) << 7400;
        QTest::newRow("7680 x 4320") << QSize(7680, 4320) << 14799;
    }

    void displays()
    {
        QFETCH(QSize, display);
        QFETCH(int, passoX);
        Screen::SetSizeForTesting(display);
        GameScreen& g = Open("FormMemory2");
        QCOMPARE(g.Width(), display.width() * 15.0);
        QCOMPARE(g.PassoX, passoX);
        QCOMPARE(g.Image1[6].Left(), double(passoX * 6 + g.InizioX)); // beyond 16 bits on large displays
        QRect board;
        for (int s = 0; s < 21; ++s) {
            QWidget* card = Card(g, s).Widget();
            QVERIFY(!card->geometry().intersects(board.isNull() ? QRect() : Card(g, s - 1).Widget()->geometry()));
            board |= card->geometry();
            // Decoded at the size shown, up to the file's own 512 x 512.
            QCOMPARE(Card(g, s).Picture().Image().size(), Card(g, s).PictureSize().boundedTo(QSize(512, 512)));
        }
        QVERIFY(g.Client()->rect().contains(board));
    }

    // A tap is a press and release that never leaves the card: by mouse or by finger, two of
    // them make the move a drag makes.
    void taps_data()
    {
        QTest::addColumn<bool>("finger");
        QTest::newRow("mouse") << false;
        QTest::newRow("finger") << true;
    }

    void taps()
    {
        QFETCH(bool, finger);
        QPointingDevice* screen = QTest::createTouchDevice();
        GameScreen& g = Open("FormMemory");
        auto tap = [&](QWidget* w, QPoint at = {}) {
            if (!finger) return support::Tap(w, at.isNull() ? w->rect().center() : at);
            const QPoint p = w->mapTo(g.Window(), at.isNull() ? w->rect().center() : at);
            QTest::touchEvent(g.Window(), screen).press(0, p, g.Window());
            QTest::touchEvent(g.Window(), screen).release(0, p, g.Window());
        };
        Image &a = g.Image1[1], &b = g.Image3[4];
        const QString va = a.Tag(), vb = b.Tag();
        tap(a.Widget());
        QVERIFY(g.Selected() == &a && a.Tag() == va);
        tap(a.Widget()); // the selected card again: put down
        QVERIFY(!g.Selected());
        tap(a.Widget());
        tap(b.Widget());
        QVERIFY(a.Tag() == vb && b.Tag() == va && g.Label2.Caption() == "Mosse 1" && !g.Selected());
        // Anything that is not a card puts the selected one down.
        for (QWidget* other : {g.Label1.Widget(), g.Image4[2].Widget(), g.Client()}) {
            tap(a.Widget());
            tap(other, other == g.Client() ? QPoint(3, g.Client()->height() - 3) : QPoint());
            QVERIFY(!g.Selected());
        }
        // A drag with a card selected is the drag it always was.
        tap(a.Widget());
        const QString v2 = g.Image2[0].Tag();
        support::Drag(g.Image2[0].Widget(), b.Widget());
        QVERIFY(b.Tag() == v2 && g.Image2[0].Tag() == va && a.Tag() == vb && !g.Selected());
        // A resize and a deal forget the selection.
        tap(a.Widget());
        g.SetWidth(g.Width() - 1500);
        QVERIFY(!g.Selected());
        tap(a.Widget());
        g.Ricomincia();
        QVERIFY(!g.Selected());
        // A whole game by taps alone.
        support::MsgBoxScript script;
        for (auto [to, from] : support::Solve(support::Values(g)))
            tap(Card(g, from).Widget()), tap(Card(g, to).Widget());
        g.Timer1.Tick();
        QCOMPARE(script.seen.size(), std::size_t(1));
        delete screen;
    }

    // Arrows move a highlight over the cards, stopping at the edges; Enter and Space pick and
    // drop as taps do; Escape puts down, then asks to leave.
    void keys()
    {
        support::MsgBoxScript script;
        GameScreen& g = Open("FormMemory2");
        auto press = [&](Qt::Key key, int times = 1) {
            for (int i = 0; i < times; ++i) QTest::keyClick(g.Window(), key);
        };
        press(Qt::Key_Left);
        QCOMPARE(g.Highlighted(), &g.Image1[0]);
        press(Qt::Key_Right, 9);
        press(Qt::Key_Down, 5);
        QCOMPARE(g.Highlighted(), &g.Image3[6]);
        const QString top = g.Image1[5].Tag(), bottom = g.Image3[6].Tag();
        press(Qt::Key_Return);
        QCOMPARE(g.Selected(), &g.Image3[6]);
        press(Qt::Key_Up, 2);
        press(Qt::Key_Left);
        press(Qt::Key_Space);
        QVERIFY(g.Image1[5].Tag() == bottom && g.Image3[6].Tag() == top && g.NumeroMosse == 1);
        press(Qt::Key_Enter);
        press(Qt::Key_Escape);
        QVERIFY(!g.Selected() && script.seen.empty());
        press(Qt::Key_Escape);
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].text, "vuoi tornare al menù? ");
        // After the win no key reaches a card; Enter acts on the restart button.
        support::PlayToWin(g);
        g.Timer1.Tick();
        press(Qt::Key_Down);
        QVERIFY(!g.Highlighted() && !g.Selected());
        QTest::keyClick(g.Window()->focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(g.Label2.Caption(), "Mosse 0");
    }

    // Confetti and jumping children from the winning tick until the box is closed; the board
    // stays as it was, and leaving the screen ends it too.
    void celebration()
    {
        support::MsgBoxScript script;
        GameScreen& g = Open("FormMemory");
        const QRect child = g.Image4[1].Widget()->geometry();
        support::PlayToWin(g);
        const support::Board won = support::Values(g);
        script.onShow = [&](const MsgBoxRequest&) {
            QVERIFY(Celebration::Running());
            for (double t : {0.2, 0.7, 1.1}) Celebration::Frame(t);
            QVERIFY(g.Image4[1].Widget()->y() < child.y()); // in the air
            support::Drag(g.Image1[0].Widget(), g.Image2[0].Widget());
        };
        g.Timer1.Tick();
        QVERIFY(!Celebration::Running());
        QVERIFY(support::Values(g) == won && g.Label2.Caption() == QString("Mosse %1").arg(g.NumeroMosse));
        QCOMPARE(g.Image4[1].Widget()->geometry(), child);
        g.Ricomincia();
        support::PlayToWin(g);
        script.onShow = [&](const MsgBoxRequest&) { Forms::Unload(g); };
        g.Timer1.Tick();
        QVERIFY(!Celebration::Running());
    }
};

QTEST_MAIN(TestGame)
#include "tst_game.moc"

// The game screens: dealing, swapping, winning, restarting and leaving; broken pictures,
// storms of moves, display sizes and fingers.

#include "support/Support.h"

#include "forms/CommandButton.h"
#include "forms/Label.h"
#include "forms/Timer.h"
#include "game/Scanner.h"
#include "shell/FormMenu.h"
#include "texts/Texts.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <numeric>
#include <set>
#include <unistd.h>

using namespace platform;
using game::GameScreen;
using support::Card;

namespace {

// A picture as a few mean colours, to tell one picture file from another at any size.
QImage Look(const QImage& picture)
{
    return picture.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888);
}

// The picture file that a card shows, the one it looks most like ("torta2.jpg").
QString FileShown(const Image& card)
{
    static std::map<QString, QImage> files;
    if (files.empty())
        for (const QString& f : QDir(MERENDELLA_SOURCE_DIR "/img").entryList({"*.jpg"}))
            files[f] = Look(QImage(MERENDELLA_SOURCE_DIR "/img/" + f));
    const QImage shown = Look(card.Picture().Image());
    const auto distance = [&](const QImage& file) {
        int d = 0;
        for (int i = 0; i < 16 * 16 * 3; ++i) d += std::abs(int(file.constBits()[i]) - int(shown.constBits()[i]));
        return d;
    };
    return std::min_element(files.begin(), files.end(),
                            [&](auto& a, auto& b) { return distance(a.second) < distance(b.second); })
        ->first;
}

// The value that a card's picture file stands for: figurine10.jpg is worth 10.
QString ValueOfPicture(const Image& card)
{
    const QString file = QFileInfo(FileShown(card)).baseName();
    return file.mid(file.indexOf(QRegularExpression("\\d")));
}

} // namespace

class TestGame : public QObject {
    Q_OBJECT
private slots:
    void init() { p = std::make_unique<support::Program>(QSize(1024, 768), 42); }
    void cleanup() { p.reset(); }

    // The language asked for, or, where the game has none for it, the desktop's (none in the tests),
    // so Italian. A game in it: its instructions said, the counter, the congratulation counting.
    void languages_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("texts");
        QTest::newRow("English") << "en"
                                 << "Each child wants 7 tarts, but they all want the same number of strawberries too. "
                                    "Can you make them all happy? | Moves 5 | Well done! You did it in 5 moves! | "
                                    "tart with no strawberries | tart with 1 strawberry | tart with 4 strawberries | "
                                    "sticker worth 1 point | sticker worth 10 points | first child, card 3 of 7 | "
                                    "third child, card 7 of 7";
        QTest::newRow("Swiss German: German")
            << "de_CH"
            << "Jedes Kind möchte 7 Törtchen haben, aber alle möchten auch gleich viele Erdbeeren. Schaffst du es, "
               "alle glücklich zu machen? | Züge 5 | Super! Du hast es in 5 Zügen geschafft! | Törtchen ohne Erdbeeren | "
               "Törtchen mit 1 Erdbeere | Törtchen mit 4 Erdbeeren | Sticker mit 1 Punkt | Sticker mit 10 Punkten | "
               "erstes Kind, Karte 3 von 7 | drittes Kind, Karte 7 von 7";
        QTest::newRow("none for it: Italian")
            << "xx"
            << "Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso numero di fragole. Sei "
               "capace di accontentarli? | Mosse 5 | Bravo! Ci sei riuscito in 5 mosse! | tortina senza fragole | "
               "tortina con 1 fragola | tortina con 4 fragole | figurina da 1 punto | figurina da 10 punti | primo "
               "bambino, carta 3 di 7 | terza bambina, carta 7 di 7";
    }

    // ... and the names of cards, their worth in words, the number agreeing, and their places.
    void languages()
    {
        QFETCH(QString, asked);
        QFETCH(QString, texts);
        if (asked == "xx") QTest::ignoreMessage(QtWarningMsg, "no translation for the language xx: it is ignored");
        p->Speak(asked);
        GameScreen& g = p->Open("FormMemory");
        support::PlayToWin(g);
        g.Timer1_Timer();
        using texts::CardName, texts::Goods;
        QCOMPARE(QStringList({p->said.value(0), g.Label2.Caption(), p->boxes.seen.back().text, CardName(Goods::Tarts, 0),
                              CardName(Goods::Tarts, 1), CardName(Goods::Tarts, 4), CardName(Goods::Stickers, 1),
                              CardName(Goods::Stickers, 10), texts::CardPlace(0, 2, 7), texts::CardPlace(2, 6, 7)})
                     .join(" | "),
                 texts);
    }

    void openingAGame_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("kind"); // of the picture files
        // clang-format off
        QTest::newRow("tarts") << "FormMemory" << "Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere "
                                                  "anche lo stesso numero di fragole." << "torta";
        QTest::newRow("stickers") << "FormMemory2" << "Ogni bambino vuole avere 7 figurine, ma tutti vogliono avere "
                                                      "anche lo stesso numero di punti." << "figurine";
        // clang-format on
    }

    void openingAGame()
    {
        QFETCH(QString, screen);
        QFETCH(QString, firstLine);
        QFETCH(QString, kind);
        GameScreen& g = p->Open(qPrintable(screen));
        QCOMPARE((std::array{g.Left(), g.Top(), g.Width(), g.Height()}), (std::array{0.0, 0.0, 15360.0, 11520.0}));
        QCOMPARE(g.Label1.Caption(), firstLine + "\r\nSei capace di accontentarli?");
        QCOMPARE(g.Label2.Caption(), "Mosse 0");
        QVERIFY(!g.Command1.Visible() && g.Timer1.Enabled() && !g.Image5.Visible());
        QCOMPARE(g.BackColor(), 0xC0E0FFu);
        // Each hand seven alike cards, every card a picture of its own beside its value.
        std::set<const QImage*> pictures;
        for (int s = 0; s < 21; ++s) {
            const Image& card = Card(g, s);
            QVERIFY(card.Enabled() && !card.Picture().Failed());
            QVERIFY(FileShown(card).startsWith(kind));
            QCOMPARE(ValueOfPicture(card), card.Tag());
            QCOMPARE(card.Tag(), Card(g, s / 7 * 7).Tag());
            pictures.insert(&card.Picture().Image());
        }
        QCOMPARE(pictures.size(), std::size_t(21));
        // The grid measured on the rescaled cards: 1024 / 685 of the design across; down, the
        // client area below the 19-pixel menu bar, 749 of 496 design pixels.
        QCOMPARE((std::array{g.PassoX, g.PassoY, g.InizioX, g.InizioY}), (std::array{1973, 2175, 1256, 1087}));
        QCOMPARE((std::array{g.Image3[6].Left(), g.Image3[6].Top()}), (std::array{13094.0, 5437.0}));
    }

    void swaps()
    {
        GameScreen& g = p->Open("FormMemory2");
        Image &a = g.Image1[2], &b = g.Image3[5];
        const Picture pa = a.Picture(), pb = b.Picture();
        const QString va = a.Tag(), vb = b.Tag();
        QVERIFY(va != vb);
        QTest::mousePress(a.Widget(), Qt::LeftButton, {}, QPoint(10, 10)); // an outline follows the pointer
        QTest::mouseMove(a.Widget(), QPoint(60, 30));
        QCOMPARE(g.Moves().Outline()->geometry(), a.Widget()->geometry().translated(50, 20));
        QTest::mouseRelease(a.Widget(), Qt::LeftButton, {}, QPoint(10, 10)); // back where it was: a tap
        QTest::mouseClick(a.Widget(), Qt::LeftButton);                       // which a second one undoes
        support::Drag(a.Widget(), a.Widget());                               // onto itself: nothing at all
        QVERIFY(a.Picture() == pa && a.Tag() == va && g.Label2.Caption() == "Mosse 0");
        QTest::mouseClick(g.Image3[0].Widget(), Qt::LeftButton); // a card picked: a drag is still a drag
        support::Drag(a.Widget(), b.Widget());                   // picture and value change places together
        QVERIFY(a.Picture() == pb && b.Picture() == pa && a.Tag() == vb && b.Tag() == va && !g.Moves().Picked());
        QCOMPARE(g.Label2.Caption(), "Mosse 1");
        support::Drag(g.Image2[0].Widget(), g.Image2[1].Widget()); // alike cards: a move all the same
        QCOMPARE(g.Label2.Caption(), "Mosse 2");
        const support::Board before = support::Values(g);
        support::Drag(a.Widget(), g.Client(), QPoint(3, g.Client()->height() - 3));
        support::Drag(a.Widget(), g.Label1.Widget());
        support::Drag(a.Widget(), g.Image4[1].Widget());
        g.Image2[3].SetEnabled(false);
        support::Drag(a.Widget(), g.Image2[3].Widget());
        g.Image2[3].SetEnabled(true);
        QCOMPARE(support::Values(g), before); // the background, a label, a child, a locked card: nothing
        QCOMPARE(g.Label2.Caption(), "Mosse 2");
        // Either way round, the same two cards change places.
        g.Image3_DragDrop(0, g.Image1[6], 0, 0);
        g.Image1_DragDrop(6, g.Image3[0], 0, 0);
        QCOMPARE(support::Values(g), before);
        QCOMPARE(g.NumeroMosse, std::int16_t(4));
        g.NumeroMosse = 32766; // the counter stops at its ceiling
        support::Drop(g, 0, 7);
        support::Drop(g, 0, 7);
        QCOMPARE(g.Label2.Caption(), "Mosse 32767");
        // A restart in the middle of a game throws it away without asking.
        g.Ricomincia();
        QCOMPARE(g.Label2.Caption(), "Mosse 0");
        for (int s = 0; s < 21; ++s) QCOMPARE(Card(g, s).Tag(), Card(g, s / 7 * 7).Tag());
    }

    // One congratulation, with confetti and jumping children until it is closed; the board locked
    // and left as it was; the restart deals on the grid of the activation, whatever the size now.
    void winningOnceAndRestarting()
    {
        auto& script = p->boxes;
        GameScreen& g = p->Open("FormMemory");
        const QRect child = g.Image4[1].Widget()->geometry();
        g.Timer1_Timer();
        QVERIFY(script.seen.empty()); // a fresh deal is never won
        support::PlayToWin(g);
        const support::Board won = support::Values(g);
        script.onShow = [&](const MsgBoxRequest&) {
            for (int i = 0; i < 5; ++i) g.Timer1.Tick(); // the timer goes on ticking meanwhile
            for (int s = 0; s < 21; ++s) QVERIFY(!Card(g, s).Enabled());
            QVERIFY(g.Celebration().Running());
            for (double t : {0.2, 0.7, 1.1}) g.Celebration().Frame(t);
            QVERIFY(g.Image4[1].Widget()->y() < child.y()); // in the air
            support::Drag(g.Image1[0].Widget(), g.Image2[0].Widget());
        };
        g.Timer1.Tick();
        QVERIFY(script.nested == 0 && script.seen.size() == 1 && !g.Celebration().Running());
        QCOMPARE(support::Box(script.seen[0]), "Bravo! Ci sei riuscito in 5 mosse! | 0 | Zuccheriva");
        QVERIFY(g.Command1.Visible() && !g.Timer1.Enabled() && g.Label2.Caption() == "Mosse 5");
        QVERIFY(support::Values(g) == won && g.Image4[1].Widget()->geometry() == child);
        support::Drag(g.Image1[0].Widget(), g.Image2[0].Widget()); // locked: no card moves
        QVERIFY(support::Values(g) == won && g.Label2.Caption() == "Mosse 5");
        const QString instructions = g.Label1.Caption();
        g.SetWidth(20550); // twice the designed width: the scaler follows
        QCOMPARE(g.Image1[0].Width(), 2430.0);
        QTest::mouseClick(g.Command1.Widget(), Qt::LeftButton);
        QVERIFY(!g.Command1.Visible() && g.Timer1.Enabled() && g.Label2.Caption() == "Mosse 0");
        for (int s = 0; s < 21; ++s) QVERIFY(Card(g, s).Enabled());
        QCOMPARE((std::array{double(g.PassoX), g.Image1[1].Left(), g.Image1[1].Width()}),
                 (std::array{1973.0, 3229.0, 2430.0}));
        QCOMPARE(g.Label1.Caption(), instructions);
        support::PlayToWin(g); // leaving the screen ends a celebration too
        script.onShow = [&](const MsgBoxRequest&) {
            p->forms.Unload(g);
            QVERIFY(!g.Celebration().Running());
        };
        g.Timer1.Tick();
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
            QVERIFY(f == "torta2.jpg" || QFile::copy(MERENDELLA_SOURCE_DIR "/img/" + f, dir.filePath("img/" + f)));
        const QString broken = dir.filePath("img/torta2.jpg");
        QFile file(broken);
        if (content == "folder") QVERIFY(QDir().mkpath(broken));
        if (content != "missing" && content != "folder")
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) >= 0);
        file.close();
        if (content == "locked") QVERIFY(file.setPermissions({}));
        p = std::make_unique<support::Program>(QSize(1024, 768), 42, dir.path());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^cannot show picture " + broken + ": " + reason + "$"));
        QTest::failOnWarning(QRegularExpression("cannot show picture"));

        GameScreen& g = p->Open("FormMemory");
        int standIns = 0;
        for (int s = 0; s < 21; ++s) {
            QCOMPARE(Card(g, s).Picture().Failed(), Card(g, s).Tag() == "2");
            standIns += Card(g, s).Picture().Failed();
        }
        QCOMPARE(standIns, 7); // each with its value, drawn in brown on cream
        const QImage face = g.Image2[0].Widget()->grab().toImage();
        QCOMPARE(face.pixelColor(4, 4), QColor(255, 250, 235));
        int brown = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x) brown += face.pixelColor(x, y) == QColor(120, 60, 20);
        QVERIFY2(brown > 100, qPrintable(QString::number(brown)));
        support::PlayToWin(g);
        g.Timer1_Timer();
        QCOMPARE(p->boxes.seen.size(), std::size_t(1));
    }

    // A card is picked and put down by a tap (a press and release that never leaves it, by mouse
    // or finger) or by Enter on the card the arrows highlight; picking another then makes the
    // move a drag makes. A resize, a deal or a win forgets the pick.
    void picking_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("mouse") << "mouse";
        QTest::newRow("finger") << "finger";
        QTest::newRow("keys") << "keys";
    }

    void picking()
    {
        QFETCH(QString, way);
        QPointingDevice* screen = QTest::createTouchDevice();
        GameScreen& g = p->Open("FormMemory");
        QPoint at; // the keys' highlight, as hand and index
        auto pick = [&](Image& card) {
            QWidget* w = card.Widget();
            const QPoint p = w->mapTo(g.Window(), w->rect().center());
            if (way == "mouse") QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
            if (way == "finger") {
                QTest::touchEvent(g.Window(), screen).press(0, p, g.Window());
                QTest::touchEvent(g.Window(), screen).release(0, p, g.Window());
            }
            if (way != "keys") return;
            const QPoint to(card.Index(), &card == &g.Image1[card.Index()]   ? 0
                                          : &card == &g.Image2[card.Index()] ? 1
                                                                             : 2);
            if (!g.Moves().Highlighted())
                QTest::keyClick(g.Window(), Qt::Key_Up), at = {}; // the first key shows it on the first card
            for (; at.x() != to.x(); at.rx() += to.x() > at.x() ? 1 : -1)
                QTest::keyClick(g.Window(), to.x() > at.x() ? Qt::Key_Right : Qt::Key_Left);
            for (; at.y() != to.y(); at.ry() += to.y() > at.y() ? 1 : -1)
                QTest::keyClick(g.Window(), to.y() > at.y() ? Qt::Key_Down : Qt::Key_Up);
            QCOMPARE(g.Moves().Highlighted(), &card);
            QTest::keyClick(g.Window(), at.x() % 2 ? Qt::Key_Return : Qt::Key_Space);
        };
        Image &a = g.Image1[1], &b = g.Image3[4];
        const QString va = a.Tag(), vb = b.Tag();
        // The pick's ring: yellow inside dark blue, a ninth of the card wide.
        auto ring = [&] { return a.Widget()->grab().toImage().pixelColor(a.Widget()->width() / 18, 40); };
        pick(a);
        QVERIFY(g.Moves().Picked() == &a && a.Tag() == va && ring() == QColor(255, 200, 0));
        pick(a); // the picked card again: put down
        QVERIFY(!g.Moves().Picked() && ring() != QColor(255, 200, 0));
        pick(a);
        pick(b);
        QVERIFY(a.Tag() == vb && b.Tag() == va && g.Label2.Caption() == "Mosse 1" && !g.Moves().Picked());
        pick(a);
        g.SetWidth(g.Width() - 1500);
        QVERIFY(!g.Moves().Picked());
        pick(a);
        g.Ricomincia();
        QVERIFY(!g.Moves().Picked());
        for (auto [to, from] : support::Solve(support::Values(g))) pick(Card(g, from)), pick(Card(g, to));
        g.Timer1.Tick(); // a whole game this way, and then no key reaches a card
        QCOMPARE(p->boxes.seen.size(), std::size_t(1));
        QTest::keyClick(g.Window(), Qt::Key_Down);
        QVERIFY(!g.Moves().Highlighted() && !g.Moves().Picked());
        delete screen;
    }

    // A finger drags as the mouse does; a second finger meanwhile neither ends the drag nor makes a
    // move of its own; a finger that slides off the board puts the card back.
    void fingers()
    {
        std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());
        GameScreen& g = p->Open("FormMemory2");
        QWidget* w = g.Window();
        auto at = [&](Image& c) { return c.Widget()->mapTo(w, c.Widget()->rect().center()); };
        Image &a = g.Image1[0], &b = g.Image3[6], &c = g.Image2[3];
        const QString va = a.Tag(), vb = b.Tag(), vc = c.Tag();
        QTest::touchEvent(w, screen.get()).press(0, at(a), w);
        QTest::touchEvent(w, screen.get()).move(0, at(c), w).press(1, at(c), w);
        QTest::touchEvent(w, screen.get()).move(0, at(b), w).release(1, at(c), w);
        QVERIFY(g.Moves().Dragged() == &a && !g.Moves().Outline()->isHidden());
        QTest::touchEvent(w, screen.get()).release(0, at(b), w);
        QVERIFY(a.Tag() == vb && b.Tag() == va && c.Tag() == vc && g.Label2.Caption() == "Mosse 1");
        QTest::touchEvent(w, screen.get()).press(1, at(c), w);
        QTest::touchEvent(w, screen.get()).move(1, QPoint(w->width() + 40, at(c).y()), w);
        QTest::touchEvent(w, screen.get()).release(1, QPoint(w->width() + 40, at(c).y()), w);
        QVERIFY(c.Tag() == vc && g.Label2.Caption() == "Mosse 1" && g.Moves().Outline()->isHidden());
        QCOMPARE(p->sounds.join(' '), "pick swap pick nothing");
    }

    // Every move answers with its sound, said by the game; M silences what plays and what comes.
    void sounds()
    {
        GameScreen& g = p->Open("FormMemory2");
        QWidget *a = g.Image1[0].Widget(), *b = g.Image3[0].Widget();
        support::Drag(a, b);
        support::Drag(a, g.Label1.Widget());
        support::Drag(a, a);
        for (QWidget* second : {a, b}) QTest::mouseClick(a, Qt::LeftButton), QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(p->sounds.join(' '), "pick swap pick nothing pick nothing pick nothing pick swap");
        p->sounds.clear();
        QVERIFY(QTest::qWaitForWindowActive(g.Window()));
        QTest::keyClick(g.Window(), Qt::Key_M);
        support::Drop(g, 0, 14);
        QTest::keyClick(g.Window(), Qt::Key_M);
        g.Ricomincia();
        support::PlayToWin(g);
        g.Timer1.Tick();
        QTest::mouseClick(g.Command1.Widget(), Qt::LeftButton);
        QCOMPARE(p->sounds.join(' '), "stop swap swap swap swap swap win click");
    }

    // A box that opens during a drag ends it: no outline stays, and the release moves nothing.
    void interruptedDrags()
    {
        GameScreen& g = p->Open("FormMemory2");
        QWidget* a = g.Image1[0].Widget();
        const QPoint below = a->mapFrom(g.Client(), g.Image2[0].Widget()->geometry().center());
        QTest::mousePress(a, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(a, below);
        QTest::keyClick(g.Window(), Qt::Key_Escape); // the question, answered No
        QVERIFY(p->boxes.seen.size() == 1 && g.Moves().Outline()->isHidden());
        QTest::mouseRelease(a, Qt::LeftButton, {}, below);
        QCOMPARE(g.Label2.Caption(), "Mosse 0");
        support::PlayToWin(g);
        QTest::mousePress(a, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(a, below);
        g.Timer1.Tick(); // the congratulation
        QVERIFY(p->boxes.seen.size() == 2 && g.Moves().Outline()->isHidden() && !g.Moves().Dragged());
    }

    // The game speaks to children who cannot read: its instructions when it opens and when asked (a
    // tap on a child or on them, F1), every box as it opens, a button as it takes the keyboard;
    // never while muted, nor once its screen has gone. A screen reader reads boxes and buttons itself;
    // until the desktop has said whether one runs, they are not said either.
    void speaking_data()
    {
        QTest::addColumn<int>("reader"); // -1: not known yet
        QTest::addColumn<QString>("rest");
        QTest::newRow("alone") << 0 << "Bravo! Ci sei riuscito in 5 mosse! | ricomincia | vuoi tornare al menù? | ";
        QTest::newRow("with a screen reader") << 1 << "";
        QTest::newRow("before the desktop says") << -1 << "";
    }

    void speaking()
    {
        QFETCH(int, reader);
        QFETCH(QString, rest);
        p->speech.SetScreenReader(reader < 0 ? std::nullopt : std::optional<bool>(reader == 1));
        GameScreen& g = p->Open("FormMemory");
        QVERIFY(QTest::qWaitForWindowActive(g.Window()));
        QTest::mouseClick(g.Image4[2].Widget(), Qt::LeftButton);
        QTest::mouseClick(g.Label1.Widget(), Qt::LeftButton);
        QTest::keyClick(g.Window(), Qt::Key_F1);
        QCOMPARE(p->said, QStringList(4, "Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso "
                                         "numero di fragole. Sei capace di accontentarli?"));
        p->said.clear();
        support::PlayToWin(g);
        g.Timer1.Tick();
        QTest::keyClick(g.Window(), Qt::Key_Escape);
        QTest::keyClick(g.Window(), Qt::Key_M);
        QTest::keyClick(g.Window(), Qt::Key_F1);
        QTest::keyClick(g.Window(), Qt::Key_M);
        p->forms.Unload(g);
        QCOMPARE(p->said.join(" | "), rest + "(silence) | (silence)");
    }

    // A game that is the first screen opens before the voice is ready: its instructions wait for it,
    // unless the screen went, or the sounds were muted, meanwhile. A caption does not wait.
    void speakingOnceTheVoiceIsReady_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("said");
        const QStringList instructions{"Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso "
                                       "numero di fragole. Sei capace di accontentarli?"};
        QTest::newRow("nothing") << "" << instructions;
        QTest::newRow("a screen reader") << "reader" << instructions;
        QTest::newRow("a box") << "box" << instructions;
        QTest::newRow("muted") << "mute" << QStringList();
        QTest::newRow("gone") << "unload" << QStringList();
    }

    void speakingOnceTheVoiceIsReady()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, said);
        p->speech.SetEngine(nullptr);
        GameScreen& g = p->Open("FormMemory");
        p->speech.SetScreenReader(meanwhile == "reader");
        if (meanwhile == "box") g.MsgBox("Merendella");
        if (meanwhile == "mute") p->speech.SetMuted(true);
        if (meanwhile == "unload") p->forms.Unload(g);
        p->speech.SetEngine(std::make_unique<support::Voice>(p->said));
        QCOMPARE(p->said, said);
    }

    // A screen reader hears a pick as the card becoming selected, and a swap as the cards' new names,
    // each in its place, and as a notification of the new face and the count.
    void accessibility()
    {
        GameScreen& g = p->Open("FormMemory");
        auto reads = [](Image& c) {
            QAccessibleInterface* card = QAccessible::queryAccessibleInterface(c.Widget());
            return QStringList{card->text(QAccessible::Name), card->text(QAccessible::Description),
                               card->state().selected ? "selected" : ""}
                .join(", ");
        };
        auto notified = [&] {
            for (QWidget* w : g.Window()->findChildren<QWidget*>())
                if (QAccessibleInterface* o = QAccessible::queryAccessibleInterface(w);
                    o->role() == QAccessible::Notification)
                    return o->text(QAccessible::Name);
            return QString();
        };
        QTest::mouseClick(g.Image1[1].Widget(), Qt::LeftButton);
        QCOMPARE(reads(g.Image1[1]), "tortina con 1 fragola, primo bambino, carta 2 di 7, selected");
        QCOMPARE(notified(), "tortina con 1 fragola, presa");
        QTest::mouseClick(g.Image3[4].Widget(), Qt::LeftButton);
        QCOMPARE(reads(g.Image1[1]), "tortina con 3 fragole, primo bambino, carta 2 di 7, ");
        QCOMPARE(reads(g.Image3[4]), "tortina con 1 fragola, terza bambina, carta 5 di 7, ");
        QCOMPARE(notified(), "tortina con 1 fragola, Mosse 1");
    }

    // Tapping what is not a card puts the picked one down.
    void tapsElsewhere()
    {
        GameScreen& g = p->Open("FormMemory");
        Image& a = g.Image1[1];
        for (QWidget* other : {g.Label1.Widget(), g.Image4[2].Widget(), g.Client()}) {
            QTest::mouseClick(a.Widget(), Qt::LeftButton);
            QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(3, 3));
            QVERIFY(!g.Moves().Picked());
        }
    }

    // The arrows stop at the edges; Escape puts a picked card down, then asks to leave as "Esci"
    // does; after a win Enter acts on the restart button.
    void keys()
    {
        auto& script = p->boxes;
        GameScreen& g = p->Open("FormMemory2");
        auto press = [&](Qt::Key key, int times = 1) {
            for (int i = 0; i < times; ++i) QTest::keyClick(g.Window(), key);
        };
        press(Qt::Key_Right, 9);
        press(Qt::Key_Down, 5);
        QCOMPARE(g.Moves().Highlighted(), &g.Image3[6]);
        press(Qt::Key_Left, 8);
        press(Qt::Key_Up, 4);
        QCOMPARE(g.Moves().Highlighted(), &g.Image1[0]);
        press(Qt::Key_Enter);
        press(Qt::Key_Escape);
        QVERIFY(!g.Moves().Picked() && script.seen.empty());
        press(Qt::Key_Escape); // No: the game goes on
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(support::Box(script.seen[0]), "vuoi tornare al menù?  | 36 | Merendella");
        QVERIFY(g.Timer1.Enabled() && p->forms.Active() == &g);
        support::PlayToWin(g);
        g.Timer1.Tick();
        QCOMPARE(g.Window()->focusWidget(), g.Command1.Widget());
        QTest::keyClick(g.Command1.Widget(), Qt::Key_Return);
        QTRY_COMPARE(g.Label2.Caption(), "Mosse 0");
        script.answers = {vbYes}; // Yes: back to the menu; the game again is a fresh one
        press(Qt::Key_Escape);
        QVERIFY(!p->forms.Find("FormMemory2") && p->forms.Active()->Name() == "FormMenu" && p->quits == 0);
        QCOMPARE(p->Open("FormMemory2").Label2.Caption(), "Mosse 0");
    }

    // Help on request, by the bulb or by H: two cards of a good swap glow and the voice names them,
    // and nothing moves. The keys still reach the cards and their rings leave the glow, which ends
    // with a move, a new deal or six seconds on the clock. A grown-up may turn help off.
    void hints_data()
    {
        QTest::addColumn<QString>("end");
        for (const char* end : {"move", "new game", "clock", "help off"}) QTest::newRow(end) << end;
    }

    void hints()
    {
        QFETCH(QString, end);
        p->settings.hints = end != "help off";
        GameScreen& g = p->Open("FormMemory");
        QVERIFY(QTest::qWaitForWindowActive(g.Window()));
        p->said.clear();
        const support::Board dealt = support::Values(g);
        Image &a = g.Image1[0], &b = g.Image3[0];
        auto glows = [](Image& card) {
            return card.Widget()->grab().toImage().pixelColor(2, card.Widget()->height() / 2) == QColor(255, 176, 20);
        };
        if (end == "move")
            QTest::mouseClick(g.BottoneAiuto.Widget(), Qt::LeftButton);
        else
            QTest::keyClick(g.Window(), Qt::Key_H);
        if (end == "help off") {
            QVERIFY(!g.BottoneAiuto.Widget()->isVisible() && p->said.isEmpty() && !glows(a) && !glows(b));
            return;
        }
        QCOMPARE(p->said, QStringList{"prova a scambiare la tortina con 1 fragola del primo bambino con la tortina "
                                      "con 3 fragole della terza bambina"});
        QVERIFY(glows(a) && glows(b) && !glows(g.Image3[1]));
        QVERIFY(support::Values(g) == dealt && g.Label2.Caption() == "Mosse 0" && !p->sounds.contains("swap"));
        QWidget* keys = g.Window()->focusWidget() ? g.Window()->focusWidget() : g.Window(); // as the window system
        QTest::keyClick(keys, Qt::Key_Down);
        QTest::keyClick(keys, Qt::Key_Return);
        QVERIFY(g.Moves().Picked() == &a && (a.Marks() & Image::Glow));
        QTest::keyClick(g.Window(), Qt::Key_Escape);
        QVERIFY(glows(a));
        if (end == "move") support::Drop(g, 8, 1);
        if (end == "new game") g.Ricomincia();
        if (end == "clock") {
            p->clock.now += 5900;
            g.Timer1.Tick();
            QVERIFY(glows(a));
            p->clock.now += 100;
            g.Timer1.Tick();
        }
        QVERIFY(!glows(a) && !glows(b));
    }

    // The level following the child: the easiest first, one up after a game won without help (to the
    // hardest and no further), one down after a game with help twice, won or left for the menu (to the
    // easiest and no further). Help moves no card and deals nothing: the level changes between games
    // only, and it outlives the screen. Each board's level by the test's own search.
    void levelsFollowTheChild()
    {
        p->levels = rules::Levels(rules::AutoLevel);
        GameScreen* g = &p->Open("FormMemory2");
        QStringList levels;
        for (const QString& game : QString("0w 0w 0w 0w 2w 1w 2l 2w 2w 0l").split(' ')) { // helps; won or left
            const int helps = game[0].digitValue();
            const support::Board dealt = support::Values(*g);
            bool fresh = true; // seven alike cards a hand: the designed deals
            for (int s = 0; s < 21; ++s) fresh &= dealt[std::size_t(s)] == dealt[std::size_t(s / 7 * 7)];
            const auto found = support::Shortest(dealt, 3);
            const auto way = fresh ? support::Solve(dealt) : found.value_or(std::vector<std::pair<int, int>>{});
            levels << (fresh ? "4" : found ? QString::number(way.size()) : "?");
            for (int k = 0; k < helps; ++k) QTest::mouseClick(g->BottoneAiuto.Widget(), Qt::LeftButton);
            QCOMPARE(support::Values(*g), dealt);
            if (game[1] == 'l') {
                p->boxes.answers = {vbYes};
                g->mnuEsci_Click();
                g = &p->Open("FormMemory2");
                continue;
            }
            for (auto [to, from] : way) support::Drop(*g, to, from);
            g->Timer1.Tick();
            QTest::mouseClick(g->Command1.Widget(), Qt::LeftButton);
        }
        QCOMPARE(levels.join(' '), "1 2 3 4 4 3 3 2 1 1");
    }

    // The counting aid: each hand's total at its child's feet with the picture of what it counts, after
    // the deal and every swap; each named whole for screen readers, and said after the instructions on
    // request. Off, none of it.
    void countingAid_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<QString>("unit");       // the picture's colour at its heart
        QTest::addColumn<QStringList>("totals"); // dealt, and after the first card of the first two hands swap
        QTest::addColumn<QString>("said");       // after the swap
        QTest::newRow("tarts") << true << "FormMemory" << quint64(2) << "red" << QStringList{"0 7 14", "1 6 14"}
                               << "primo bambino: 1 fragola | secondo bambino: 6 fragole | terza bambina: 14 fragole";
        QTest::newRow("stickers") << true << "FormMemory2" << quint64(42) << "gold"
                                  << QStringList{"70 28 49", "64 34 49"}
                                  << "primo bambino: 64 punti | secondo bambino: 34 punti | terza bambina: 49 punti";
        QTest::newRow("off") << false << "FormMemory" << quint64(2) << "" << QStringList{"", ""} << "";
    }

    void countingAid()
    {
        QFETCH(bool, on);
        QFETCH(QString, screen);
        QFETCH(quint64, seed);
        QFETCH(QString, unit);
        QFETCH(QStringList, totals);
        QFETCH(QString, said);
        p = std::make_unique<support::Program>(QSize(1024, 768), seed);
        p->settings.totals = on;
        GameScreen& g = p->Open(qPrintable(screen));
        auto shown = [&] {
            QStringList captions;
            for (int h = 0; h < 3; ++h)
                if (g.Label3[h].Widget()->isVisible() && g.Image6[h].Widget()->isVisible())
                    captions << g.Label3[h].Caption();
            return captions.join(' ');
        };
        QCOMPARE(shown(), totals[0]);
        support::Drop(g, 0, 7);
        QCOMPARE(shown(), totals[1]);
        QStringList names;
        for (int h = 0; h < 3 && on; ++h) {
            QCOMPARE(g.Image6[h].Widget()->accessibleName(), g.Label3[h].Widget()->accessibleName());
            names << g.Label3[h].Widget()->accessibleName();
            const QColor heart = g.Image6[h].Picture().Image().pixelColor(16, 20);
            QVERIFY(heart.red() > 200 && (unit == "red" ? heart.green() < 100 : heart.green() > 150));
        }
        QCOMPARE(names.join(" | "), said);
        p->said.clear();
        QTest::mouseClick(on ? g.Label3[2].Widget() : g.Image4[2].Widget(), Qt::LeftButton);
        const QString asked = "Sei capace di accontentarli?" + (on ? " " + said.replace(" |", ",") + "." : "");
        QVERIFY2(p->said.size() == 1 && p->said[0].endsWith(asked), qPrintable(p->said.join(" | ")));
        g.Ricomincia();
        const support::Board dealt = support::Values(g);
        QString sums;
        for (int h = 0; h < 3 && on; ++h)
            sums += QString::number(std::accumulate(dealt.begin() + h * 7, dealt.begin() + h * 7 + 7, 0)) + ' ';
        QCOMPARE(shown(), sums.trimmed());
    }

    // One switch: at the pace set, the highlight goes over the rows (every card of one ringed), then
    // the help and "Esci"; Space takes a row, whose cards it then goes over, and a silent round of them
    // steps back out to that row. The voice names every step. The deal of seed 42: one strawberry for
    // the first child, two for the second, three for the third.
    void scanning_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("waits"); // to the row, in milliseconds
        QTest::addColumn<QString>("said");     // on the way there
        QTest::addColumn<QString>("card");
        QTest::newRow("first") << 0 << QList<int>{499, 1, 500, 500, 500, 500}
                               << "secondo bambino | terza bambina | aiuto | Esci | primo bambino"
                               << "tortina con 1 fragola";
        QTest::newRow("second") << 1 << QList<int>{499, 1} << "secondo bambino"
                                << "tortina con 2 fragole";
        QTest::newRow("third") << 2 << QList<int>{499, 1, 500} << "secondo bambino | terza bambina"
                               << "tortina con 3 fragole";
    }

    void scanning()
    {
        QFETCH(int, row);
        QFETCH(QList<int>, waits);
        QFETCH(QString, said);
        QFETCH(QString, card);
        p->settings.scan = 0.5;
        GameScreen& g = p->Open("FormMemory");
        QVERIFY(QTest::qWaitForWindowActive(g.Window())); // a button says its caption as it takes the keys
        game::Scanner& scan = *g.findChild<game::Scanner*>();
        auto wait = [&](int ms) { p->clock.now += ms, scan.Tick(); };
        for (int s = 0; s < 21; ++s) QCOMPARE(Card(g, s).Marks(), s < 7 ? int(Image::Highlighted) : 0);
        p->said.clear();
        for (int ms : waits) wait(ms);
        QTest::keyClick(g.Window(), Qt::Key_Space);
        QCOMPARE(g.Moves().Highlighted(), &Card(g, row * 7));
        for (int step = 0; step < 7; ++step) wait(500);
        QCOMPARE(p->said.join(" | "),
                 said + " | " + QStringList(7, card).join(" | ") + " | " + said.split(" | ").last());
        for (int s = 0; s < 21; ++s) QCOMPARE(Card(g, s).Marks(), s / 7 == row ? int(Image::Highlighted) : 0);
    }

    // A whole game with Space alone, on the deal of seed 42: one strawberry for the first child, two for the
    // second, three for the third. Each move: the waits to the row, then to the card, of the card taken
    // and of the card it goes to; after each card the scan is back on the first row.
    void scanningToAWin()
    {
        p->settings.scan = 2;
        GameScreen& g = p->Open("FormMemory");
        game::Scanner& scan = *g.findChild<game::Scanner*>();
        for (int waits : {2, 0, 0, 0, 2, 1, 0, 1, 2, 2, 0, 2, 2, 3, 1, 0, 0, 3, 1, 1}) {
            for (int i = 0; i < waits; ++i) p->clock.now += 2000, scan.Tick();
            QTest::keyClick(g.Window(), Qt::Key_Space);
        }
        g.Timer1.Tick();
        QCOMPARE(p->boxes.seen.size(), std::size_t(1));
        QCOMPARE(support::Box(p->boxes.seen[0]), "Bravo! Ci sei riuscito in 5 mosse! | 0 | Zuccheriva");
        scan.Tick(); // back from the box: the restart button first, which the switch presses
        QCOMPARE(g.Window()->focusWidget(), g.Command1.Widget());
        QTest::keyClick(g.Window(), Qt::Key_Return);
        QVERIFY(g.Label2.Caption() == "Mosse 0" && g.Moves().Highlighted() == nullptr && g.Image1[6].Marks());
    }

    // With a second switch and no pace, Tab steps over the menu's buttons from the top, moving the
    // keyboard's focus; a click anywhere, even on another button, presses the one reached.
    void scanningWithTwoSwitches()
    {
        p->settings.scan = 0;
        auto& menu = p->Open<FormMenu>("FormMenu");
        QVERIFY(QTest::qWaitForWindowActive(menu.Window()));
        p->clock.now += 60000;
        menu.findChild<game::Scanner*>()->Tick();
        QCOMPARE(menu.Window()->focusWidget(), menu.Command1.Widget());
        QTest::keyClick(menu.Window(), Qt::Key_Tab);
        QCOMPARE(menu.Window()->focusWidget(), menu.Command2.Widget());
        QCOMPARE(p->said.join(" | "), "Torte | Figurine");
        QTest::mouseClick(menu.Command14.Widget(), Qt::LeftButton);
        QVERIFY(p->boxes.seen.empty() && p->forms.Active()->Name() == "FormMemory2");
    }

private:
    std::unique_ptr<support::Program> p;
};

QTEST_MAIN(TestGame)
#include "tst_game.moc"

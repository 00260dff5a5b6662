// The game screens: dealing, swapping, winning, restarting and leaving.

#include "support/TestSupport.h"

#include "game/GameScreen.h"
#include "platform/CommandButton.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/MenuItem.h"
#include "platform/Timer.h"
#include "screens/ScreenDescriptions.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <set>

using namespace platform;
using game::GameScreen;
using testing_support::Drag;
using testing_support::MsgBoxScript;

namespace {

GameScreen& Open(const char* name) { return static_cast<GameScreen&>(Forms::Show(name)); }

std::vector<Image*> Cards(GameScreen& g)
{
    std::vector<Image*> all;
    for (auto* hand : {&g.Image1, &g.Image2, &g.Image3})
        for (Image* card : *hand) all.push_back(card);
    return all;
}

// The value that a card's picture file stands for: figurine10.jpg is worth 10.
QString ValueOfPicture(const Image& card)
{
    const QString file = QFileInfo(card.Picture().Source()).baseName();
    return file.mid(file.indexOf(QRegularExpression("\\d")));
}

std::multiset<QString> Values(GameScreen& g)
{
    std::multiset<QString> values;
    for (Image* card : Cards(g)) values.insert(card->Tag());
    return values;
}

// Plays the deal to the end with the drop handlers, along a shortest winning line.
void PlayToTheEnd(GameScreen& g)
{
    platform::ControlArray<Image>* hands[3] = {&g.Image1, &g.Image2, &g.Image3};
    std::array<std::array<int, 7>, 3> board{};
    for (int h = 0; h < 3; ++h)
        for (int i = 0; i < 7; ++i) board[std::size_t(h)][std::size_t(i)] = (*hands[h])[i].Tag().toInt();
    const auto moves = testing_support::SolveBoard(board);
    QVERIFY(!moves.empty());
    for (const auto& m : moves) {
        const auto drop = m.handB == 0   ? &GameScreen::Image1_DragDrop
                          : m.handB == 1 ? &GameScreen::Image2_DragDrop
                                         : &GameScreen::Image3_DragDrop;
        (g.*drop)(m.indexB, (*hands[m.handA])[m.indexA], 0, 0);
    }
}

} // namespace

class TestGameScreen : public QObject {
    Q_OBJECT
private slots:
    void init() { testing_support::Prepare(QSize(1024, 768), 42); }
    void cleanup() { testing_support::TearDown(); }

    void openingAGameDealsFullScreen_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("picturePrefix");
        QTest::newRow("tarts")
            << "FormMemory"
            << "Ogni bambino vuole avere 7 tortine, ma tutti vogliono avere anche lo stesso numero di fragole."
            << "torta";
        QTest::newRow("stickers")
            << "FormMemory2"
            << "Ogni bambino vuole avere 7 figurine, ma tutti vogliono avere anche lo stesso numero di punti."
            << "figurine";
    }

    void openingAGameDealsFullScreen()
    {
        QFETCH(QString, screen);
        QFETCH(QString, firstLine);
        QFETCH(QString, picturePrefix);
        GameScreen& g = Open(qPrintable(screen));
        QCOMPARE(g.Left(), 0.0);
        QCOMPARE(g.Top(), 0.0);
        QCOMPARE(g.Width(), Screen::Width());
        QCOMPARE(g.Height(), Screen::Height());
        QCOMPARE(g.Label1.Caption(), firstLine + "\r\nSei capace di accontentarli?");
        QCOMPARE(g.Label2.Caption(), QString("Mosse 0"));
        QVERIFY(!g.Command1.Visible());
        QVERIFY(g.Timer1.Enabled());
        QVERIFY(!g.Image5.Visible());
        QCOMPARE(g.BackColor(), 0xC0E0FFu);
        // Each hand holds seven alike cards; every card its own picture, beside its value.
        std::set<std::uintptr_t> handles;
        for (auto* hand : {&g.Image1, &g.Image2, &g.Image3}) {
            for (Image* card : *hand) {
                QVERIFY(card->Enabled());
                QVERIFY(!card->Picture().Failed());
                QVERIFY(QFileInfo(card->Picture().Source()).fileName().startsWith(picturePrefix));
                QCOMPARE(ValueOfPicture(*card), card->Tag());
                QCOMPARE(card->Tag(), (*hand)[0].Tag());
                handles.insert(card->Picture().Handle());
            }
        }
        QCOMPARE(handles.size(), std::size_t(21));
        // The grid was measured from the rescaled cards.
        const double fx = g.ScaleWidth() / 10275, fy = g.ScaleHeight() / 7440;
        QCOMPARE(g.PassoX, std::int32_t(std::nearbyint(1320 * fx)));
        QCOMPARE(g.PassoY, std::int32_t(std::nearbyint(1440 * fy)));
        QCOMPARE(g.InizioX, std::int32_t(std::nearbyint(840 * fx)));
        QCOMPARE(g.InizioY, std::int32_t(std::nearbyint(720 * fy)));
        QCOMPARE(g.Image3[6].Left(), double(g.PassoX * 6 + g.InizioX));
        QCOMPARE(g.Image3[6].Top(), double(g.PassoY * 2 + g.InizioY));
    }

    void dropsBetweenCards()
    {
        GameScreen& g = Open("FormMemory2");
        Image& a = g.Image1[2];
        Image& b = g.Image3[5];
        const Picture pa = a.Picture(), pb = b.Picture();
        const QString va = a.Tag(), vb = b.Tag();
        QVERIFY(va != vb);

        // Onto itself: nothing at all.
        Drag(a.Widget(), a.Widget());
        QCOMPARE(a.Picture(), pa);
        QCOMPARE(g.Label2.Caption(), QString("Mosse 0"));

        // Between hands: picture and value change places together.
        Drag(a.Widget(), b.Widget());
        QCOMPARE(a.Picture(), pb);
        QCOMPARE(b.Picture(), pa);
        QCOMPARE(a.Tag(), vb);
        QCOMPARE(b.Tag(), va);
        QCOMPARE(g.NumeroMosse, std::int16_t(1));
        QCOMPARE(g.Label2.Caption(), QString("Mosse 1"));

        // Two alike cards of one hand: nothing to see, but a move all the same.
        Drag(g.Image2[0].Widget(), g.Image2[1].Widget());
        QCOMPARE(g.Label2.Caption(), QString("Mosse 2"));

        // Onto the background, a label, a child's picture: nothing.
        const auto before = Values(g);
        Drag(a.Widget(), g.Client(), QPoint(3, g.Client()->height() - 3));
        Drag(a.Widget(), g.Label1.Widget());
        Drag(a.Widget(), g.Image4[1].Widget());
        QCOMPARE(g.Label2.Caption(), QString("Mosse 2"));
        QCOMPARE(Values(g), before);
        QCOMPARE(a.Tag(), vb);
    }

    void eitherWayRoundIsTheSameSwap()
    {
        GameScreen& g = Open("FormMemory2");
        Image& top = g.Image1[6];
        Image& bottom = g.Image3[0];
        const QString t = top.Tag(), b = bottom.Tag();
        g.Image3_DragDrop(0, top, 0, 0);
        QCOMPARE(top.Tag(), b);
        QCOMPARE(bottom.Tag(), t);
        // The other way round exchanges the same two cards: back where they were.
        g.Image1_DragDrop(6, bottom, 0, 0);
        QCOMPARE(top.Tag(), t);
        QCOMPARE(bottom.Tag(), b);
        QCOMPARE(g.NumeroMosse, std::int16_t(2));
    }

    void winningOnceAndRestarting()
    {
        MsgBoxScript script;
        int ticksDuringBox = 0;
        GameScreen& g = Open("FormMemory");
        // The platform goes on ticking while the box is open: still one congratulation.
        script.onShow = [&](const MsgBoxRequest&) {
            for (int i = 0; i < 5; ++i, ++ticksDuringBox) g.Timer1.Tick();
            QVERIFY(g.Timer1.Enabled());
            for (Image* c : Cards(g)) QVERIFY(!c->Enabled());
        };
        g.Timer1_Timer();
        QVERIFY(script.seen.empty()); // a fresh deal is never won

        PlayToTheEnd(g);
        const std::int16_t moves = g.NumeroMosse;
        QVERIFY(moves > 0);
        g.Timer1.Tick();
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(ticksDuringBox, 5);
        const MsgBoxRequest& box = script.seen[0];
        QCOMPARE(box.text, QString("Bravo! Ci sei riuscito in %1 mosse!").arg(moves));
        QCOMPARE(box.style, 0);
        QVERIFY(!box.title);
        QCOMPARE(box.shownTitle, QString("Zuccheriva"));
        QVERIFY(g.Command1.Visible());
        QVERIFY(!g.Timer1.Enabled());
        for (Image* c : Cards(g)) QVERIFY(!c->Enabled());

        // Locked: no drag moves a card, and the count stays.
        Drag(g.Image1[0].Widget(), g.Image2[0].Widget());
        QCOMPARE(g.NumeroMosse, moves);
        QCOMPARE(g.Label2.Caption(), QString("Mosse %1").arg(moves));

        // The restart button deals again on the grid of the last activation.
        const std::int32_t grid[4] = {g.PassoX, g.PassoY, g.InizioX, g.InizioY};
        const QString instructions = g.Label1.Caption();
        QTest::mouseClick(g.Command1.Widget(), Qt::LeftButton);
        QCOMPARE(g.Label2.Caption(), QString("Mosse 0"));
        QVERIFY(!g.Command1.Visible());
        QVERIFY(g.Timer1.Enabled());
        for (Image* c : Cards(g)) QVERIFY(c->Enabled());
        QCOMPARE((std::array{g.PassoX, g.PassoY, g.InizioX, g.InizioY}),
                 (std::array{grid[0], grid[1], grid[2], grid[3]}));
        QCOMPARE(g.Label1.Caption(), instructions);
    }

    void twoEvenHandsAreNotAWin()
    {
        MsgBoxScript script;
        GameScreen& g = Open("FormMemory2");
        for (int i = 0; i < 7; ++i) {
            g.Image1[i].SetTag("3");
            g.Image2[i].SetTag("3");
            g.Image3[i].SetTag(i == 0 ? "4" : "3");
        }
        g.Timer1_Timer();
        QVERIFY(script.seen.empty());
        QVERIFY(g.Timer1.Enabled());
        g.Image3[0].SetTag("3");
        g.Timer1_Timer();
        QCOMPARE(script.seen.size(), std::size_t(1));
    }

    void restartInTheMiddleOfAGame()
    {
        GameScreen& g = Open("FormMemory");
        g.Image1_DragDrop(0, g.Image2[0], 0, 0);
        g.Image1_DragDrop(1, g.Image3[1], 0, 0);
        QCOMPARE(g.Label2.Caption(), QString("Mosse 2"));
        g.Ricomincia();
        QCOMPARE(g.Label2.Caption(), QString("Mosse 0"));
        for (auto* hand : {&g.Image1, &g.Image2, &g.Image3})
            for (Image* c : *hand) QCOMPARE(c->Tag(), (*hand)[0].Tag());
    }

    void theCounterStopsAt32767()
    {
        GameScreen& g = Open("FormMemory2");
        g.NumeroMosse = 32766;
        g.Image1_DragDrop(0, g.Image2[0], 0, 0);
        QCOMPARE(g.Label2.Caption(), QString("Mosse 32767"));
        g.Image1_DragDrop(0, g.Image2[0], 0, 0);
        QCOMPARE(g.NumeroMosse, std::int16_t(32767));
        QCOMPARE(g.Label2.Caption(), QString("Mosse 32767"));
    }

    void aLongRandomGameKeepsTheBoardWhole()
    {
        GameScreen& g = Open("FormMemory2");
        const auto dealt = Values(g);
        const auto cards = Cards(g);
        QRandomGenerator random(2026);
        int counted = 0;
        for (int n = 0; n < 5000; ++n) {
            const int t = random.bounded(21), s = random.bounded(21);
            const auto drop = t < 7    ? &GameScreen::Image1_DragDrop
                              : t < 14 ? &GameScreen::Image2_DragDrop
                                       : &GameScreen::Image3_DragDrop;
            (g.*drop)(t % 7, *cards[std::size_t(s)], 0, 0);
            if (s != t) ++counted;
        }
        QCOMPARE(Values(g), dealt);
        for (Image* c : cards) QCOMPARE(ValueOfPicture(*c), c->Tag());
        QCOMPARE(int(g.NumeroMosse), counted);
        // No card left its place.
        for (int i = 0; i < 7; ++i) QCOMPARE(g.Image2[i].Left(), double(g.PassoX * i + g.InizioX));
    }

    void missingAndCorruptPicturesShowTheirValue()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("img"));
        for (const QString& f : QDir(MERENDELLA_SOURCE_DIR "/img").entryList({"*.jpg"}))
            QFile::copy(MERENDELLA_SOURCE_DIR "/img/" + f, dir.filePath("img/" + f));
        // Tarts: every deal has a hand of torta2; make it unreadable, and drop torta1 and torta0.
        QFile::remove(dir.filePath("img/torta1.jpg"));
        QFile::remove(dir.filePath("img/torta0.jpg"));
        QFile corrupt(dir.filePath("img/torta2.jpg"));
        QVERIFY(corrupt.open(QIODevice::WriteOnly | QIODevice::Truncate));
        corrupt.write("this is not a picture");
        corrupt.close();
        App::SetPathForTesting(dir.path());

        MsgBoxScript script;
        GameScreen& g = Open("FormMemory");
        int standIns = 0;
        for (Image* c : Cards(g)) {
            const QString name = QFileInfo(c->Picture().Source()).fileName();
            const bool broken = name != "torta3.jpg" && name != "torta4.jpg";
            QCOMPARE(c->Picture().Failed(), broken);
            QCOMPARE(ValueOfPicture(*c), c->Tag());
            standIns += broken;
        }
        QVERIFY(standIns >= 14);
        // Still a game: play it to the end.
        PlayToTheEnd(g);
        g.Timer1_Timer();
        QCOMPARE(script.seen.size(), std::size_t(1));
        // The stand-in is drawn with the value on it.
        const QImage shot = g.Image1[0].Widget()->grab().toImage();
        QVERIFY(!shot.isNull());
        App::SetPathForTesting(MERENDELLA_SOURCE_DIR);
    }

    void leavingThroughEsci()
    {
        MsgBoxScript script;
        Forms::Register("FormMenu", [] {
            static constexpr FormDesc standIn{.name = "FormMenu", .clientWidth = 3000, .clientHeight = 3000};
            return std::make_unique<Form>(standIn);
        });
        GameScreen& g = Open("FormMemory2");
        g.Image1_DragDrop(0, g.Image2[0], 0, 0);
        const auto values = Values(g);

        script.answers = {vbNo};
        g.mnuEsci.Click();
        QCOMPARE(script.seen.back().text, QString("vuoi tornare al menù? "));
        QCOMPARE(script.seen.back().style, 36);
        QCOMPARE(script.seen.back().shownTitle, QString("Merendella"));
        QCOMPARE(Forms::Find("FormMemory2"), &g);
        QVERIFY(g.Timer1.Enabled());
        QCOMPARE(Values(g), values);
        QCOMPARE(g.Label2.Caption(), QString("Mosse 1"));

        script.answers = {vbYes};
        g.mnuEsci.Click();
        QVERIFY(!Forms::Find("FormMemory2"));
        QVERIFY(Forms::Find("FormMenu"));
        QCOMPARE(Forms::Active(), Forms::Find("FormMenu"));
        QCOMPARE(testing_support::QuitCount(), 0);
        QCoreApplication::processEvents();

        // Back again: a fresh game.
        GameScreen& again = Open("FormMemory2");
        QCOMPARE(again.Label2.Caption(), QString("Mosse 0"));
    }

    void resizingDuringAGameKeepsTheGridOfTheActivation()
    {
        GameScreen& g = Open("FormMemory");
        const std::int32_t passoX = g.PassoX;
        const double cardWidth = g.Image1[0].Width();
        g.SetWidth(g.Width() / 2);
        // The scaler follows the window...
        QCOMPARE(g.Image1[0].Width(), cardWidth / 2);
        QCOMPARE(g.Image1[1].Left(), g.Image1[0].Left() + 1320.0 * g.ScaleWidth() / 10275);
        // ...while a restart lays the cards on the grid measured at activation.
        g.Ricomincia();
        QCOMPARE(g.PassoX, passoX);
        QCOMPARE(g.Image1[1].Left(), double(passoX + g.InizioX));
        QCOMPARE(g.Image1[0].Width(), cardWidth / 2);
    }

    void aFourKDisplayLaysTheGridWithoutOverflow()
    {
        Screen::SetSizeForTesting(QSize(3840, 2160));
        GameScreen& g = Open("FormMemory2");
        QVERIFY(g.Image1[6].Left() > 32767);
        QCOMPARE(g.Image1[6].Left(), double(g.PassoX * 6 + g.InizioX));
        QVERIFY(g.Image1[6].Widget()->geometry().right() < 3840);
        // Pictures are decoded for the size they are shown at.
        QCOMPARE(g.Image1[0].Picture().Image().size(), g.Image1[0].PictureSize());
    }

    void pointersOfTheGameScreen()
    {
        GameScreen& g = Open("FormMemory");
        QCOMPARE(g.Image2[3].Widget()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(g.Command1.Widget()->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(g.Image2[3].Widget()->cursor().pixmap().toImage() != g.Command1.Widget()->cursor().pixmap().toImage());
        for (QWidget* w : {g.Client(), g.Label1.Widget(), g.Label2.Widget(), g.Image4[0].Widget()})
            QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestGameScreen)
#include "tst_gamescreen.moc"

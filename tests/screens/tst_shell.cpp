// The title screen, the main menu and the road from start-up to a game and back.

#include "support/TestSupport.h"

#include "game/GameScreen.h"
#include "platform/CommandButton.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"
#include "shell/ModuloColoriSuoni.h"

#include <QImage>
#include <QPushButton>
#include <set>
#include <unistd.h>

using namespace platform;
using testing_support::MsgBoxScript;

namespace {

bool InPalette(std::uint32_t colour)
{
    const auto& p = ModuloColoriSuoni::Palette;
    return std::find(p.begin() + 1, p.end(), std::int32_t(colour)) != p.end();
}

FormMenu& OpenMenu() { return static_cast<FormMenu&>(Forms::Show("FormMenu")); }

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void init() { testing_support::Prepare(QSize(1024, 768), 7); }
    void cleanup()
    {
        testing_support::TearDown();
        App::ReleaseInstanceGuardForTesting();
        App::SetInstanceKeyForTesting({});
    }

    void mainShowsTheTitleScreenOrRefusesASecondCopy()
    {
        MsgBoxScript script;
        const QString key = QString("merendella-shell-%1").arg(QCoreApplication::applicationPid());
        App::SetInstanceKeyForTesting(key);
        Modulo1::Main();
        QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        QCOMPARE(Forms::Active()->Name(), QString("FormAvvio"));
        QVERIFY(script.seen.empty());
        testing_support::TearDown();
        App::ReleaseInstanceGuardForTesting();

        // Another copy holds the guard.
        const int other = testing_support::HoldInstanceGuard(key);
        QVERIFY(other >= 0);
        testing_support::Prepare(QSize(1024, 768), 7);
        Modulo1::Main();
        ::close(other);
        QVERIFY(Forms::Loaded().empty());
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].text, QString("E' già stata avviata una copia di questo programma!"));
        QCOMPARE(script.seen[0].style, 16);
        QCOMPARE(script.seen[0].shownTitle, QString("Error"));
    }

    void titleScreen()
    {
        auto& title = static_cast<FormAvvio&>(Forms::Show("FormAvvio"));
        QVERIFY(InPalette(title.BackColor()));
        QCOMPARE(title.Width(), Screen::Width());
        QCOMPARE(title.Height(), Screen::Height());
        QCOMPARE(title.Left(), 0.0);
        QCOMPARE(title.ScaleMode(), int(Form::ScaleTwips)); // the drawing scale was restored
        // The title label and the button were scaled with the screen.
        const double fx = title.ScaleWidth() / 9780;
        QCOMPARE(title.BottoneAvvio.Left(), 2880 * fx);
        QCOMPARE(title.BottoneAvvio.Caption(), QString("Avvio"));

        // The gradient: 256 bands of one step each, turquoise to blue, edge to edge.
        const QImage* image = title.PersistentImage();
        QVERIFY(image);
        QCOMPARE(image->size(), title.Client()->size());
        QCOMPARE(QColor(image->pixel(5, 0)), QColor(19, 255, 228));
        QCOMPARE(QColor(image->pixel(image->width() - 1, image->height() - 1)), QColor(19, 0, 228));
        std::vector<int> heights(256, 0);
        for (int y = 0; y < image->height(); ++y) {
            const QColor c(image->pixel(7, y));
            QCOMPARE(c.red(), 19);
            QCOMPARE(c.blue(), 228);
            ++heights[std::size_t(255 - c.green())];
        }
        const int h = image->height();
        for (int band = 0; band < 256; ++band) {
            QVERIFY2(heights[std::size_t(band)] == h / 256 || heights[std::size_t(band)] == h / 256 + 1,
                     qPrintable(QString("band %1 is %2 rows").arg(band).arg(heights[std::size_t(band)])));
        }
        // "Avvio" opens the menu and leaves it alone on display.
        QTest::mouseClick(title.BottoneAvvio.Widget(), Qt::LeftButton);
        QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        QCOMPARE(Forms::Active()->Name(), QString("FormMenu"));
        QCOMPARE(testing_support::QuitCount(), 0);
    }

    void gradientBandsFillATallDisplay()
    {
        Screen::SetSizeForTesting(QSize(1080, 1920));
        auto& title = static_cast<FormAvvio&>(Forms::Show("FormAvvio"));
        const QImage* image = title.PersistentImage();
        // No row shows the background colour through the bands.
        for (int y = 0; y < image->height(); ++y) QCOMPARE(QColor(image->pixel(500, y)).red(), 19);
    }

    void menuButtonsOpenTheGames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("screen");
        QTest::newRow("Torte") << "Command1"
                               << "FormMemory";
        QTest::newRow("Figurine") << "Command2"
                                  << "FormMemory2";
    }

    void menuButtonsOpenTheGames()
    {
        QFETCH(QString, button);
        QFETCH(QString, screen);
        FormMenu& menu = OpenMenu();
        QVERIFY(InPalette(menu.BackColor()));
        QCOMPARE(menu.Width(), Screen::Width());
        QTest::mouseClick(menu.Get<CommandButton>(button).Widget(), Qt::LeftButton);
        QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        Form* game = Forms::Active();
        QCOMPARE(game->Name(), screen);
        QCOMPARE(game->Width(), Screen::Width());
        QCOMPARE(static_cast<game::GameScreen*>(game)->Label2.Caption(), QString("Mosse 0"));
        // The game's scaler took over from the menu's.
        QCOMPARE(Modulo1::GestoreLayout->SourceForm(), game);
    }

    void informationBox()
    {
        MsgBoxScript script;
        FormMenu& menu = OpenMenu();
        QTest::mouseClick(menu.Command14.Widget(), Qt::LeftButton);
        QCOMPARE(script.seen.size(), std::size_t(1));
        const MsgBoxRequest& box = script.seen[0];
        QCOMPARE(box.style, 64);
        QCOMPARE(box.shownTitle, QString("Merendella"));
        const QStringList lines = box.text.split("\r\n");
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].endsWith("  ") && lines[0].trimmed().size() > 0);
        QCOMPARE(lines[1], QString(" ----------------------- "));
        QVERIFY(lines[2].startsWith("http"));
        QVERIFY(lines[3].startsWith("mail: ") && lines[3].contains('@'));
        QCOMPARE(Forms::Active(), &menu);
    }

    void exitQuestion()
    {
        MsgBoxScript script;
        FormMenu& menu = OpenMenu();
        const std::uint32_t colour = menu.BackColor();
        // Enter on a fresh menu acts on "Esci", which holds the focus.
        QCOMPARE(menu.Window()->focusWidget(), menu.BottoneEsci.Widget());
        script.answers = {vbNo};
        QTest::keyClick(menu.Window()->focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].text, QString("sicuro di voler terminare?"));
        QCOMPARE(script.seen[0].style, 36);
        QCOMPARE(script.seen[0].shownTitle, QString("Merendella"));
        QCOMPARE(Forms::Active(), &menu);
        QCOMPARE(menu.BackColor(), colour);
        QVERIFY(menu.Window()->isVisible());
        QCOMPARE(testing_support::QuitCount(), 0);

        script.answers = {vbYes};
        QTest::mouseClick(menu.BottoneEsci.Widget(), Qt::LeftButton);
        QCOMPARE(testing_support::QuitCount(), 1);
        QVERIFY(!menu.Window()->isVisible());
    }

    void theJourney()
    {
        MsgBoxScript script;
        auto& title = static_cast<FormAvvio&>(Forms::Show("FormAvvio"));
        title.BottoneAvvio.Click();
        std::set<std::uint32_t> colours;
        for (const char* screen : {"FormMemory", "FormMemory2", "FormMemory"}) {
            auto& menu = static_cast<FormMenu&>(*Forms::Active());
            QCOMPARE(menu.Name(), QString("FormMenu"));
            colours.insert(menu.BackColor());
            (QString(screen) == "FormMemory" ? menu.Command1 : menu.Command2).Click();
            QCoreApplication::processEvents();
            auto& game = static_cast<game::GameScreen&>(*Forms::Active());
            QCOMPARE(game.Name(), QString(screen));
            game.Image1_DragDrop(0, game.Image3[3], 0, 0);
            QCOMPARE(game.Label2.Caption(), QString("Mosse 1"));
            script.answers = {vbYes};
            game.mnuEsci_Click();
            QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        }
        script.answers = {vbYes};
        static_cast<FormMenu&>(*Forms::Active()).BottoneEsci_Click();
        QCOMPARE(testing_support::QuitCount(), 1);
    }

    void pointersOfTitleAndMenu()
    {
        auto& title = static_cast<FormAvvio&>(Forms::Show("FormAvvio"));
        const QImage bigArrow = title.Client()->cursor().pixmap().toImage();
        QCOMPARE(title.Client()->cursor().hotSpot(), QPoint(3, 1));
        QCOMPARE(title.Get<Label>("Label1").Widget()->cursor().hotSpot(), QPoint(3, 1));
        const QCursor start = title.BottoneAvvio.Widget()->cursor();
        QCOMPARE(start.hotSpot(), QPoint(16, 16));
        QVERIFY(start.pixmap().toImage() != bigArrow);
        title.BottoneAvvio.Click();
        auto& menu = static_cast<FormMenu&>(*Forms::Active());
        QCOMPARE(menu.Client()->cursor().shape(), Qt::ArrowCursor);
        for (CommandButton* b : {&menu.Command1, &menu.Command2, &menu.Command14, &menu.BottoneEsci})
            QCOMPARE(b->Widget()->cursor().pixmap().toImage(), bigArrow);
    }

    void designedFaces()
    {
        auto& title = static_cast<FormAvvio&>(Forms::Show("FormAvvio"));
        const QFont button = title.BottoneAvvio.Widget()->font();
        QCOMPARE(button.family(), QString("Comic Sans MS"));
        QVERIFY(button.bold());
        QCOMPARE(button.pointSizeF(), 18.0);
        const QFont big = title.Find("Label2", 0)->Widget()->font();
        QVERIFY(big.bold() && big.italic());
        QCOMPARE(big.pointSizeF(), 72.0);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"

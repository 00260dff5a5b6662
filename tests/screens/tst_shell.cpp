// The title screen, the main menu and the road from start-up to a game and back.

#include "support/Support.h"

#include "platform/CommandButton.h"
#include "platform/Label.h"
#include "shell/FormAvvio.h"
#include "shell/FormMenu.h"

#include <QLabel>
#include <QLocalServer>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleHints>
#include <QTimer>
#include <set>

using namespace platform;

namespace {

// The 13 colours of the background palette, 0xBBGGRR.
const std::set<std::uint32_t> PaletteColours{0xC0C0FF, 0x8080FF, 0x0080FF, 0x80C0FF, 0xC0FFFF, 0x0040C0, 0x80FF80,
                                             0xFFFFC0, 0xFFFF00, 0xFFC0C0, 0xFFC0FF, 0xE0E0E0, 0xFF00FF};

FormAvvio& OpenTitle() { return static_cast<FormAvvio&>(Forms::Show("FormAvvio")); }
FormMenu& OpenMenu() { return static_cast<FormMenu&>(Forms::Show("FormMenu")); }

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void init() { support::Prepare(QSize(1024, 768), 7); }
    void cleanup() { support::TearDown(); }

    void mainShowsTheTitleOrRefusesASecondCopy()
    {
        support::MsgBoxScript script;
        Modulo1::Main();
        QCOMPARE(Forms::Active()->Name(), "FormAvvio");
        cleanup();
        init();
        QLocalServer other; // another copy holds the guard
        other.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        QVERIFY(other.listen(App::InstanceKey()));
        Modulo1::Main();
        QVERIFY(Forms::Loaded().empty());
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].text, "E' già stata avviata una copia di questo programma!");
        QCOMPARE(script.seen[0].style, 16);
        QCOMPARE(script.seen[0].shownTitle, "Error");
    }

    // A 256-band gradient, turquoise to blue, edge to edge; on a tall display too.
    void titleScreen_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<int>("centre"); // the ice-cream pointer's hot spot, in its middle
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 16;
        QTest::newRow("portrait 1080 x 1920") << QSize(1080, 1920) << 17; // 1080 / 1024 of 32 pixels
    }

    void titleScreen()
    {
        QFETCH(QSize, display);
        QFETCH(int, centre);
        Screen::SetSizeForTesting(display);
        FormAvvio& title = OpenTitle();
        QVERIFY(PaletteColours.count(title.BackColor()));
        QCOMPARE((std::array{title.Left(), title.Width(), title.Height()}),
                 (std::array{0.0, display.width() * 15.0, display.height() * 15.0}));
        QCOMPARE(title.ScaleMode(), int(Form::ScaleTwips)); // the drawing scale was restored
        const QImage image = title.Client()->grab().toImage();
        QCOMPARE(image.pixelColor(5, 0), QColor(19, 255, 228));
        QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(19, 0, 228));
        std::vector<int> heights(256, 0);
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(2, y);
            QVERIFY(c.red() == 19 && c.blue() == 228);
            ++heights[std::size_t(255 - c.green())];
        }
        const int h = display.height() / 256;
        for (int rows : heights) QVERIFY2(rows == h || rows == h + 1, qPrintable(QString::number(rows)));
        // The pointers: the big arrow over the screen and its labels, the ice-cream over "Avvio".
        QCOMPARE(title.Client()->cursor().hotSpot(), QPoint(3, 1));
        QCOMPARE(title.Get<Label>("Label1").Widget()->cursor().hotSpot(), QPoint(3, 1));
        QCOMPARE(title.BottoneAvvio.Widget()->cursor().hotSpot(), QPoint(centre, centre));
        // "Avvio" opens the menu and leaves it alone on display.
        QTest::mouseClick(title.BottoneAvvio.Widget(), Qt::LeftButton);
        QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        QCOMPARE(Forms::Active()->Name(), "FormMenu");
    }

    void menuOpensTheGames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("screen");
        QTest::newRow("Torte") << "Command1"
                               << "FormMemory";
        QTest::newRow("Figurine") << "Command2"
                                  << "FormMemory2";
    }

    void menuOpensTheGames()
    {
        QFETCH(QString, button);
        QFETCH(QString, screen);
        FormMenu& menu = OpenMenu();
        QVERIFY(PaletteColours.count(menu.BackColor()));
        QCOMPARE(menu.Width(), 15360.0);
        QCOMPARE(menu.Client()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(menu.Command1.Widget()->cursor().hotSpot(), QPoint(3, 1)); // the big arrow
        QTest::mouseClick(menu.Get<CommandButton>(button).Widget(), Qt::LeftButton);
        QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        QCOMPARE(Forms::Active()->Name(), screen);
        QCOMPARE(layout::GestoreLayout->SourceForm(), Forms::Active()); // the game's scaler took over
    }

    void informationBox()
    {
        support::MsgBoxScript script;
        FormMenu& menu = OpenMenu();
        QTest::mouseClick(menu.Command14.Widget(), Qt::LeftButton);
        QCOMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].style, 64);
        QCOMPARE(script.seen[0].shownTitle, "Merendella");
        const QStringList lines = script.seen[0].text.split("\r\n");
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].endsWith("  ") && !lines[0].trimmed().isEmpty());
        QCOMPARE(lines[1], " ----------------------- ");
        QVERIFY(lines[3].startsWith("mail: ") && lines[3].contains('@'));
        QCOMPARE(Forms::Active(), &menu);
    }

    void exitQuestion()
    {
        support::MsgBoxScript script;
        FormMenu& menu = OpenMenu();
        const std::uint32_t colour = menu.BackColor();
        // Enter on a fresh menu acts on "Esci", which holds the focus; No leaves all as it was.
        QCOMPARE(menu.Window()->focusWidget(), menu.BottoneEsci.Widget());
        QTest::keyClick(menu.Window()->focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(script.seen.size(), std::size_t(1));
        QCOMPARE(script.seen[0].text, "sicuro di voler terminare?");
        QCOMPARE(script.seen[0].style, 36);
        QCOMPARE(script.seen[0].shownTitle, "Merendella");
        QVERIFY(Forms::Active() == &menu && menu.BackColor() == colour && menu.Window()->isVisible());
        QCOMPARE(support::quits, 0);
        script.answers = {vbYes};
        QTest::mouseClick(menu.BottoneEsci.Widget(), Qt::LeftButton);
        QCOMPARE(support::quits, 1);
        QVERIFY(!menu.Window()->isVisible());
    }

    // A double click on "Avvio": its second click lands on the menu just opened, and is not taken.
    void doubleClickGuard()
    {
        support::MsgBoxScript script;
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
        FormAvvio& title = OpenTitle();
        QTest::mouseClick(title.BottoneAvvio.Widget(), Qt::LeftButton);
        QCOMPARE(Forms::Active(), &title);
        QTest::qWait(450);
        QTest::mouseClick(title.BottoneAvvio.Widget(), Qt::LeftButton);
        auto& menu = static_cast<FormMenu&>(*Forms::Active());
        QTest::mouseDClick(menu.BottoneEsci.Widget(), Qt::LeftButton);
        QVERIFY(script.seen.empty());
        // Its focus is marked from the start.
        QVERIFY(menu.Window()->testAttribute(Qt::WA_KeyboardFocusChange) &&
                menu.Window()->focusWidget() == menu.BottoneEsci.Widget());
    }

    // Text, button pictures and pointers at the designed size times the display's share of
    // 1024 x 768, never less; every caption fits its control; the children drawn from a render
    // at least as large as shown.
    void growingWithTheDisplay_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<double>("scale");
        QTest::newRow("800 x 600") << QSize(800, 600) << 1.0;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 1.0;
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1.40625;
        QTest::newRow("3840 x 2160") << QSize(3840, 2160) << 2.8125;
        QTest::newRow("7680 x 4320") << QSize(7680, 4320) << 5.625;
    }

    void growingWithTheDisplay()
    {
        QFETCH(QSize, display);
        QFETCH(double, scale);
        Screen::SetSizeForTesting(display);
        const double system = QApplication::font().pointSizeF();
        auto fits = [](QWidget* w, const QString& text, bool wrap, int picture) {
            const QRect need =
                w->fontMetrics().boundingRect(QRect(0, 0, w->width(), 100000), wrap ? Qt::TextWordWrap : 0, text);
            return need.width() <= w->width() && need.height() + picture <= w->height();
        };
        FormAvvio& title = OpenTitle();
        QCOMPARE(title.Find("Label2", 0)->Widget()->font().pointSizeF(), 72 * scale);
        QCOMPARE(title.BottoneAvvio.View()->iconSize().width(), qRound(32 * scale));
        QCOMPARE(title.Client()->cursor().hotSpot(), QPoint(int(3 * scale), int(1 * scale)));
        QVERIFY(fits(title.BottoneAvvio.Widget(), "Avvio", false, qRound(32 * scale)));
        QVERIFY(fits(title.Find("Label2", 0)->Widget(), "Merendella", true, 0));
        title.BottoneAvvio.Click();
        auto& menu = static_cast<FormMenu&>(*Forms::Active());
        QCOMPARE(menu.Command1.Widget()->font().pointSizeF(), 15.75 * scale);
        for (CommandButton* b : {&menu.Command1, &menu.Command2, &menu.Command14, &menu.BottoneEsci})
            QVERIFY2(fits(b->Widget(), b->Caption(), false, b == &menu.BottoneEsci ? qRound(32 * scale) : 0),
                     qPrintable(b->Caption()));
        QTimer::singleShot(0, [&] {
            QCOMPARE(QApplication::activeModalWidget()->font().pointSizeF(), system * scale);
            QApplication::activeModalWidget()->close();
        });
        MsgBox("Bravo! Ci sei riuscito in 12 mosse!");
        menu.Command2.Click();
        auto& game = static_cast<game::GameScreen&>(*Forms::Active());
        QCOMPARE(game.Label2.Widget()->font().pointSizeF(), 15.75 * scale);
        game.Label2.SetCaption("Mosse 32767"); // drawn smaller where it would not fit
        QCOMPARE(game.Window()->findChild<QMenuBar*>()->font().pointSizeF(), system * scale);
        QCOMPARE(game.Image1[0].Widget()->cursor().pixmap().width(), qRound(32 * scale));
        QVERIFY(fits(game.Label1.Widget(), game.Label1.View()->text(), true, 0));
        QVERIFY(fits(game.Label2.Widget(), "Mosse 32767", true, 0));
        QVERIFY(fits(game.Command1.Widget(), "ricomincia", false, qRound(32 * scale)));
        QWidget* child = game.Image4[2].Widget();
        child->grab();
        QVERIFY(game.Image4[2].Picture().Image().height() >= std::min(child->height(), 1020));
    }

    // From the title to each game and back, several times: one screen at a time, no leftovers.
    void theJourney()
    {
        support::MsgBoxScript script;
        OpenTitle().BottoneAvvio.Click();
        for (const char* screen : {"FormMemory", "FormMemory2", "FormMemory", "FormMemory2"}) {
            auto& menu = static_cast<FormMenu&>(*Forms::Active());
            QCOMPARE(menu.Name(), "FormMenu");
            (QString(screen) == "FormMemory" ? menu.Command1 : menu.Command2).Click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            auto& game = static_cast<game::GameScreen&>(*Forms::Active());
            QCOMPARE(game.Name(), screen);
            support::Drop(game, 0, 17);
            QCOMPARE(game.Label2.Caption(), "Mosse 1");
            script.answers = {vbYes};
            game.mnuEsci_Click();
            QCOMPARE(Forms::Loaded().size(), std::size_t(1));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(QApplication::topLevelWidgets().size(), 1);
        script.answers = {vbYes};
        static_cast<FormMenu&>(*Forms::Active()).BottoneEsci_Click();
        QCOMPARE(support::quits, 1);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"

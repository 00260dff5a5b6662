// The platform layer: units, message boxes, screen events, pictures, drag and drop, pointers,
// the single-instance guard.

#include "support/TestSupport.h"

#include "platform/CommandButton.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Pointer.h"
#include "platform/Timer.h"
#include "platform/Units.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <unistd.h>

using namespace platform;
using testing_support::Drag;

namespace {

constexpr std::array<ControlDesc, 6> ProbeControls{{
    {.kind = ControlKind::Image,
     .name = "Card",
     .index = 0,
     .left = 300,
     .top = 300,
     .width = 1200,
     .height = 1200,
     .pointer = ":/screens/art/aeroplane.ico",
     .stretch = true,
     .border = true,
     .dragAutomatic = true},
    {.kind = ControlKind::Image,
     .name = "Card",
     .index = 1,
     .left = 1800,
     .top = 300,
     .width = 1200,
     .height = 1200,
     .stretch = true,
     .border = true,
     .dragAutomatic = true},
    {.kind = ControlKind::Image, .name = "Plain", .left = 3300, .top = 300, .width = 1200, .height = 1200},
    {.kind = ControlKind::Label,
     .name = "Caption",
     .left = 300,
     .top = 2000,
     .width = 3000,
     .height = 600,
     .caption = "Label"},
    {.kind = ControlKind::Timer, .name = "Ticker", .interval = 1},
    {.kind = ControlKind::CommandButton,
     .name = "Button",
     .left = 300,
     .top = 3000,
     .width = 1500,
     .height = 600,
     .caption = "ok",
     .tabIndex = 0},
}};

constexpr FormDesc ProbeDesc{.name = "Probe", .clientWidth = 6000, .clientHeight = 4500, .controls = ProbeControls};

// Records its events, and what was dropped where.
class Probe : public Form {
public:
    Probe()
        : Form(ProbeDesc)
    {
        Get<Timer>("Ticker").SetTickHandler([this] { events << "tick"; });
        for (int i = 0; i < 2; ++i)
            Array<Image>("Card")[i].SetDropHandler([this](int index, Control& source, double x, double y) {
                drops << QString("%1<-%2 %3,%4").arg(index).arg(source.Index()).arg(x > 0).arg(y > 0);
            });
    }
    void Form_Load() override { events << "load"; }
    void Form_Activate() override
    {
        events << "activate";
        if (resizeInActivate) {
            SetHeight(Height() + 300);
            events << "after setter";
        }
    }
    void Form_Resize() override { events << "resize"; }

    QStringList events, drops;
    bool resizeInActivate = false;
};

Probe& ShowProbe()
{
    Forms::Register("Probe", [] { return std::make_unique<Probe>(); });
    return static_cast<Probe&>(Forms::Show("Probe"));
}

QWidget* CardWidget(Probe& p, int i) { return p.Array<Image>("Card")[i].Widget(); }

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void init() { testing_support::Prepare(); }
    void cleanup() { testing_support::TearDown(); }

    void unitsAndColours()
    {
        QCOMPARE(TwipsToPixels(15), 1);
        QCOMPARE(TwipsToPixels(1215), 81);
        QCOMPARE(TwipsToPixels(22), 1);
        QCOMPARE(TwipsToPixels(23), 2);
        QCOMPARE(TwipsToPixels(1e300), 10000000); // absurd sizes are clamped, not overflowed
        QCOMPARE(TwipsToPixels(std::nan("")), 0);
        QCOMPARE(ColorFromBGR(0xC0E0FF), QColor(255, 224, 192));
        QCOMPARE(BGRFromColor(QColor(19, 255, 228)), 0xE4FF13u);
    }

    void messageBoxSeam()
    {
        testing_support::MsgBoxScript script;
        script.answers = {vbYes};
        QCOMPARE(MsgBox("domanda?", vbYesNo + vbQuestion, QString("Merendella")), int(vbYes));
        QCOMPARE(MsgBox("ciao"), int(vbOK)); // nothing scripted: OK
        QCOMPARE(script.seen.size(), std::size_t(2));
        QCOMPARE(script.seen[0].shownTitle, QString("Merendella"));
        QCOMPARE(script.seen[0].style, 36);
        QVERIFY(!script.seen[1].title);
        QCOMPARE(script.seen[1].shownTitle, QString("Zuccheriva"));
    }

    void realMessageBoxes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("congratulation") << 0 << QString() << int(QMessageBox::NoIcon) << QStringList{"OK"} << 0 << 1;
        QTest::newRow("error") << 16 << "Error" << int(QMessageBox::Critical) << QStringList{"OK"} << 0 << 1;
        QTest::newRow("information") << 64 << "Merendella" << int(QMessageBox::Information) << QStringList{"OK"} << 0
                                     << 1;
        QTest::newRow("question, yes") << 36 << "Merendella" << int(QMessageBox::Question) << QStringList{"Sì", "No"}
                                       << 0 << 6;
        QTest::newRow("question, no") << 36 << "Merendella" << int(QMessageBox::Question) << QStringList{"Sì", "No"}
                                      << 1 << 7;
    }

    void realMessageBoxes()
    {
        QFETCH(int, style);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(int, press);
        QFETCH(int, answer);
        QString seenTitle, seenDefault;
        QStringList seenButtons;
        int seenIcon = -1;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenTitle = box->windowTitle();
            seenIcon = int(box->icon());
            for (QAbstractButton* b : box->buttons()) seenButtons << b->text();
            seenDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
            const QString wanted = buttons[press];
            for (QAbstractButton* b : box->buttons())
                if (b->text() == wanted) b->click();
        });
        const int result = title.isEmpty() ? MsgBox("testo", style) : MsgBox("testo", style, title);
        QCOMPARE(result, answer);
        // Without a title of its own a box shows the application's, and nothing is appended.
        QCOMPARE(seenTitle, title.isEmpty() ? QString("Zuccheriva") : title);
        QCOMPARE(seenIcon, icon);
        seenButtons.sort();
        QStringList expected = buttons;
        expected.sort();
        QCOMPARE(seenButtons, expected);
        QCOMPARE(seenDefault, buttons.first()); // Yes, or OK, is the default button
    }

    void showLoadsThenActivatesBeforeAnyTick()
    {
        Probe& probe = ShowProbe();
        QCOMPARE(probe.events.mid(0, 1), QStringList{"load"});
        const int activate = int(probe.events.indexOf("activate"));
        QVERIFY(activate > 0);
        QVERIFY(!probe.events.mid(0, activate).contains("tick"));
        QTRY_VERIFY(probe.events.contains("tick")); // ticks do come, once the loop runs
    }

    void sizeSetterRaisesResizeBeforeReturning()
    {
        Forms::Register("Probe", [] {
            auto p = std::make_unique<Probe>();
            p->resizeInActivate = true;
            return p;
        });
        auto& probe = static_cast<Probe&>(Forms::Show("Probe"));
        const int after = int(probe.events.indexOf("after setter"));
        QVERIFY(after > 0);
        QCOMPARE(probe.events[after - 1], QString("resize"));
    }

    void activationOnlyWhenBecomingTheActiveScreen()
    {
        Probe& probe = ShowProbe();
        QCOMPARE(probe.events.count("activate"), 1);
        // Another application taking the focus and giving it back is not an activation.
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        QApplication::sendEvent(probe.Window(), &deactivate);
        QApplication::sendEvent(probe.Window(), &activate);
        // Neither is a message box closing, nor showing the active screen again.
        {
            testing_support::MsgBoxScript script;
            MsgBox("x");
        }
        Forms::Show("Probe");
        QCOMPARE(probe.events.count("activate"), 1);
        QCOMPARE(probe.events.count("load"), 1);
    }

    void unloadingTheLastScreenEndsTheProgram()
    {
        Probe& probe = ShowProbe();
        QCOMPARE(testing_support::QuitCount(), 0);
        Forms::Unload(probe);
        QVERIFY(Forms::Loaded().empty());
        QCOMPARE(testing_support::QuitCount(), 1);
        QCoreApplication::processEvents(); // the unloaded screen is destroyed later, safely
    }

    void endHidesEverythingAtOnce()
    {
        Probe& probe = ShowProbe();
        Forms::End();
        QVERIFY(!probe.Window()->isVisible());
        QCOMPARE(testing_support::QuitCount(), 1);
        QCOMPARE(probe.events.count("tick"), 0); // its timers stopped with it
    }

    void picturesHaveIdentity()
    {
        const QString file = QStringLiteral(MERENDELLA_SOURCE_DIR "/img/figurine1.jpg");
        const Picture a = Picture::LoadPicture(file), b = Picture::LoadPicture(file);
        QVERIFY(!a.Failed() && !b.Failed());
        QVERIFY(!(a == b)); // the same file twice: two pictures
        const Picture copy = a;
        QVERIFY(copy == a);
        QVERIFY(Picture() == Picture());
        const Picture m1 = Picture::LoadPicture("/nonexistent/x.jpg"), m2 = Picture::LoadPicture("/nonexistent/x.jpg");
        QVERIFY(m1.Failed() && m2.Failed());
        QVERIFY(!(m1 == m2)); // failed loads are still pictures of their own
        // Decoding to the size shown: a 512-pixel file for an 81-pixel card.
        QCOMPARE(Picture::LoadPicture(file, QSize(81, 81)).Image().size(), QSize(81, 81));
    }

    void dragAndDrop()
    {
        Probe& probe = ShowProbe();
        Drag(CardWidget(probe, 0), CardWidget(probe, 1));
        Drag(CardWidget(probe, 1), CardWidget(probe, 0));
        Drag(CardWidget(probe, 0), CardWidget(probe, 0));
        QCOMPARE(probe.drops, (QStringList{"1<-0 1,1", "0<-1 1,1", "0<-0 1,1"}));
        // No handler on the target, a label, the background: nothing.
        probe.drops.clear();
        Drag(CardWidget(probe, 0), probe.Get<Image>("Plain").Widget());
        Drag(CardWidget(probe, 0), probe.Get<Label>("Caption").Widget());
        Drag(CardWidget(probe, 0), probe.Client(), QPoint(5, 250));
        // Released outside the window.
        Drag(CardWidget(probe, 0), probe.Client(), QPoint(-50, -50));
        QVERIFY(probe.drops.isEmpty());
        // A disabled image cannot be dragged.
        probe.Array<Image>("Card")[0].SetEnabled(false);
        Drag(CardWidget(probe, 0), CardWidget(probe, 1));
        QVERIFY(probe.drops.isEmpty());
        QVERIFY(!probe.DragSource());
    }

    void outlineFollowsThePointerDuringADrag()
    {
        Probe& probe = ShowProbe();
        QWidget* from = CardWidget(probe, 0);
        QWidget* outline = probe.DragOutlineWidget();
        QTest::mousePress(from, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(outline->isVisible());
        QCOMPARE(outline->size(), from->size());
        QTest::mouseMove(from, QPoint(60, 30));
        QCOMPARE(outline->pos(), from->pos() + QPoint(50, 20));
        QTest::mouseRelease(from, Qt::LeftButton, {}, QPoint(60, 30));
        QVERIFY(!outline->isVisible());
    }

    void pointers()
    {
        Probe& probe = ShowProbe();
        const QCursor card = CardWidget(probe, 0)->cursor();
        QCOMPARE(card.shape(), Qt::BitmapCursor);
        QCOMPARE(card.hotSpot(), QPoint(16, 16)); // an icon's hot spot is its centre
        QCOMPARE(CardWidget(probe, 1)->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(CursorHotSpot(":/screens/art/bigarrow.cur"), QPoint(3, 1));
        QCOMPARE(LoadPointer(":/screens/art/bigarrow.cur").hotSpot(), QPoint(3, 1));
        QCOMPARE(LoadPointer(":/screens/art/missing.cur").shape(), Qt::ArrowCursor);
    }

    void enterActsOnTheFocusedButton()
    {
        Probe& probe = ShowProbe();
        int clicks = 0;
        auto& button = probe.Get<CommandButton>("Button");
        button.SetClickHandler([&] { ++clicks; });
        QCOMPARE(probe.Window()->focusWidget(), button.Widget());
        QTest::keyClick(button.Widget(), Qt::Key_Return);
        QTest::keyClick(button.Widget(), Qt::Key_Space);
        QTRY_COMPARE(clicks, 2);
    }

    void singleInstanceGuard()
    {
        const QString key = QString("merendella-test-%1").arg(::getpid());
        App::SetInstanceKeyForTesting(key);
        App::ReleaseInstanceGuardForTesting();
        QVERIFY(!App::PrevInstance()); // we take the guard
        QVERIFY(!App::PrevInstance()); // asking again does not find ourselves
        App::ReleaseInstanceGuardForTesting();

        // Another process holding the guard.
        const int other = testing_support::HoldInstanceGuard(key);
        QVERIFY(other >= 0);
        QVERIFY(App::PrevInstance());
        // It ends, however it ends: the system frees the name and the next start runs.
        ::close(other);
        QVERIFY(!App::PrevInstance());
        App::ReleaseInstanceGuardForTesting();
        App::SetInstanceKeyForTesting({});
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

// The platform and the layout scaler on a screen built for the test: screen events and their
// order, unloading, message boxes, pictures, drag and drop, pointers, persistent drawing, the
// single-instance guard, and proportional rescaling.

#include "support/Support.h"

#include "platform/CommandButton.h"
#include "platform/Label.h"
#include "platform/Pointer.h"
#include "platform/Timer.h"

#include <QAbstractButton>
#include <QLocalServer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace platform;

namespace {

constexpr ControlDesc CardAt(int index, int left)
{
    return {.kind = ControlKind::Image,
            .name = "Card",
            .index = index,
            .left = left,
            .top = 300,
            .width = 1200,
            .height = 1200,
            .pointer = ":/screens/art/aeroplane.ico",
            .stretch = true,
            .border = true,
            .dragAutomatic = true};
}

constexpr std::array<ControlDesc, 8> ProbeControls{{
    CardAt(0, 300),
    CardAt(1, 1800),
    CardAt(2, 3300),
    {.kind = ControlKind::Image, .name = "Plain", .left = 4800, .top = 300, .width = 1000, .height = 1000},
    {.kind = ControlKind::Label, .name = "Caption", .left = 300, .top = 2000, .width = 3000, .height = 600},
    {.kind = ControlKind::CommandButton,
     .name = "Button",
     .left = 300,
     .top = 3000,
     .width = 1500,
     .height = 600,
     .caption = "ok",
     .tabIndex = 0},
    {.kind = ControlKind::Timer, .name = "Ticker", .left = 90, .top = 60, .interval = 1},
    {.kind = ControlKind::MenuItem, .name = "Menu", .caption = "Esci"},
}};

// Records its events and what was dropped where; rescales itself when asked to.
class Probe : public Form {
public:
    Probe()
        : Form({.name = "Probe", .clientWidth = 6000, .clientHeight = 4500, .controls = ProbeControls})
    {
        Get<Timer>("Ticker").SetTickHandler([this] { events << "tick"; });
        for (Image* card : Array<Image>("Card"))
            card->SetDropHandler([this](int i, Control& s, double x, double y) {
                drops << QString("%1<-%2 %3").arg(i).arg(s.Index()).arg(x > 0 && y > 0);
            });
    }
    void Form_Load() override { events << "load"; }
    void Form_Activate() override
    {
        events << "activate";
        SetHeight(Height() + 300);
        events << "setter returned";
    }
    void Form_Resize() override
    {
        events << "resize";
        if (scaler.SourceForm()) scaler.ResizeControls();
    }
    QWidget* CardWidget(int i) const { return Array<Image>("Card")[i].Widget(); }

    QStringList events, drops;
    clsResize scaler;
};

Probe& ShowProbe() { return static_cast<Probe&>(Forms::Show("Probe")); }

struct Geometry {
    double l, t, w, h;
    bool operator==(const Geometry&) const = default;
};
Geometry Of(const Control& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

} // namespace

Q_DECLARE_METATYPE(Geometry)

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        support::Prepare();
        Forms::Register("Probe", [] { return std::make_unique<Probe>(); });
    }
    void cleanup() { support::TearDown(); }

    void screenEvents()
    {
        Probe& probe = ShowProbe();
        // Loaded, then activated before any tick; a size setter raises the resize at once.
        QCOMPARE(probe.events.mid(0, 4), (QStringList{"load", "activate", "resize", "setter returned"}));
        QTRY_VERIFY(probe.events.contains("tick"));
        // Losing and regaining the focus, a closed message box, showing it again: no activation.
        QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
        QApplication::sendEvent(probe.Window(), &deactivate);
        QApplication::sendEvent(probe.Window(), &activate);
        support::MsgBoxScript script;
        MsgBox("x");
        Forms::Show("Probe");
        QCOMPARE(probe.events.count("activate"), 1);
        QCOMPARE(probe.events.count("load"), 1);
    }

    void unloadingStopsEverything()
    {
        QPointer<Probe> probe = &ShowProbe();
        QTRY_VERIFY(probe->events.contains("tick"));
        Forms::Unload(*probe);
        QVERIFY(!probe->Window()->isVisible());
        QCOMPARE(support::quits, 1); // the last screen: the program ends
        for (QTimer* timer : probe->Window()->findChildren<QTimer*>()) QVERIFY(!timer->isActive()); // never ticks again
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!probe); // and is gone once the event loop is back
        // Ending the program hides every screen at once and runs no handler.
        cleanup();
        init();
        Probe& other = ShowProbe();
        Forms::End();
        QVERIFY(!other.Window()->isVisible());
        QCOMPARE(support::quits, 1);
        QTest::qWait(30);
        QCOMPARE(other.events.count("tick"), 0);
    }

    void messageBoxes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("congratulation") << 0 << "" << int(QMessageBox::NoIcon) << QStringList{"OK"} << 0 << 1;
        QTest::newRow("error") << 16 << "Error" << int(QMessageBox::Critical) << QStringList{"OK"} << 0 << 1;
        QTest::newRow("information") << 64 << "Merendella" << int(QMessageBox::Information) << QStringList{"OK"} << 0
                                     << 1;
        QTest::newRow("yes") << 36 << "Merendella" << int(QMessageBox::Question) << QStringList{"Sì", "No"} << 0 << 6;
        QTest::newRow("no") << 36 << "Merendella" << int(QMessageBox::Question) << QStringList{"Sì", "No"} << 1 << 7;
    }

    void messageBoxes()
    {
        QFETCH(int, style);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(int, press);
        QFETCH(int, answer);
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() << QString::number(box->icon()) << box->defaultButton()->text();
            for (QAbstractButton* b : box->buttons()) seen << b->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == buttons[press]) b->click();
        });
        QCOMPARE(title.isEmpty() ? MsgBox("testo", style) : MsgBox("testo", style, title), answer);
        // Without a title of its own a box shows the application's; Yes, or OK, is the default.
        QCOMPARE(seen,
                 QStringList({title.isEmpty() ? "Zuccheriva" : title, QString::number(icon), buttons[0]}) + buttons);
    }

    void picturesHaveIdentity()
    {
        const QString file = MERENDELLA_SOURCE_DIR "/img/figurine1.jpg";
        const Picture a = Picture::LoadPicture(file), b = Picture::LoadPicture(file), copy = a;
        QVERIFY(!a.Failed() && !(a == b) && copy == a && Picture() == Picture());
        QTest::ignoreMessage(QtWarningMsg, "cannot show picture /nowhere/x.jpg: file not found");
        QTest::failOnWarning(QRegularExpression("cannot show"));
        const Picture m1 = Picture::LoadPicture("/nowhere/x.jpg"), m2 = Picture::LoadPicture("/nowhere/x.jpg");
        QVERIFY(m1.Failed() && m2.Failed() && !(m1 == m2)); // failed loads are pictures of their own, said once
        // Decoded at the size shown, and read again when shown larger.
        const Picture small = Picture::LoadPicture(file, QSize(81, 81));
        QCOMPARE(small.Image().size(), QSize(81, 81));
        small.Refine(QSize(300, 300));
        QCOMPARE(small.Image().size(), QSize(300, 300));
    }

    void dragAndDrop_data()
    {
        QTest::addColumn<QString>("onto");
        QTest::addColumn<QString>("drops");
        QTest::newRow("another card") << "card 1"
                                      << "1<-0 1";
        QTest::newRow("itself") << "card 0"
                                << "0<-0 1";
        QTest::newRow("a disabled card") << "card 2"
                                         << "";
        QTest::newRow("an image without a handler") << "plain"
                                                    << "";
        QTest::newRow("a label") << "label"
                                 << "";
        QTest::newRow("the background") << "background"
                                        << "";
        QTest::newRow("outside the window") << "outside"
                                            << "";
    }

    void dragAndDrop()
    {
        QFETCH(QString, onto);
        QFETCH(QString, drops);
        Probe& probe = ShowProbe();
        probe.Array<Image>("Card")[2].SetEnabled(false);
        QWidget* target = onto == "plain"           ? probe.Get<Image>("Plain").Widget()
                          : onto == "label"         ? probe.Get<Label>("Caption").Widget()
                          : onto.startsWith("card") ? probe.CardWidget(onto.back().digitValue())
                                                    : probe.Client();
        const QPoint at = onto == "background" ? QPoint(5, 250) : onto == "outside" ? QPoint(-50, -50) : QPoint(-1, -1);
        QWidget* from = probe.CardWidget(0);
        // The outline follows the pointer from the press on, and goes with the release.
        QTest::mousePress(from, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(probe.DragOutlineWidget()->geometry(), from->geometry());
        QTest::mouseMove(from, QPoint(60, 30));
        QCOMPARE(probe.DragOutlineWidget()->pos(), from->pos() + QPoint(50, 20));
        QTest::mouseRelease(from, Qt::LeftButton, {}, QPoint(10, 10));
        probe.drops.clear();
        support::Drag(from, target, at);
        QCOMPARE(probe.drops.join(' '), drops);
        QVERIFY(!probe.DragOutlineWidget()->isVisible());
        // A disabled card cannot be dragged at all.
        support::Drag(probe.CardWidget(2), probe.CardWidget(1));
        QCOMPARE(probe.drops.join(' '), drops);
    }

    void pointersAndKeys()
    {
        Probe& probe = ShowProbe();
        QCOMPARE(probe.CardWidget(0)->cursor().hotSpot(), QPoint(16, 16)); // an icon's hot spot: its centre
        QCOMPARE(LoadPointer(":/screens/art/bigarrow.cur").hotSpot(), QPoint(3, 1));
        QCOMPARE(LoadPointer(":/screens/art/missing.cur").shape(), Qt::ArrowCursor);
        QCOMPARE(probe.Client()->cursor().shape(), Qt::ArrowCursor);
        // Enter and Space act on the focused button.
        int clicks = 0;
        auto& button = probe.Get<CommandButton>("Button");
        button.SetClickHandler([&] { ++clicks; });
        QCOMPARE(probe.Window()->focusWidget(), button.Widget());
        QTest::keyClick(button.Widget(), Qt::Key_Return);
        QTest::keyClick(button.Widget(), Qt::Key_Space);
        QTRY_COMPARE(clicks, 2);
    }

    void persistentDrawing()
    {
        Probe& probe = ShowProbe();
        probe.FillBox(0, 0, 1e9, 1e9, 0x0000FF); // not persistent: not kept
        probe.SetAutoRedraw(true);
        probe.SetScaleMode(Form::ScalePixels);
        probe.SetScaleHeight(2);
        probe.FillBox(0, 0, 1e9, 1, 0x00FF00);
        probe.FillBox(0, 1, 1e9, 2, 0xFF0000);
        probe.SetWidth(probe.Width() + 3000); // what is drawn follows the client area
        const QImage shot = probe.Client()->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 1, 0), QColor(0, 255, 0));
        QCOMPARE(shot.pixelColor(0, shot.height() - 1), QColor(0, 0, 255));
    }

    void singleInstanceGuard()
    {
        QVERIFY(!App::PrevInstance()); // we take the guard
        QVERIFY(!App::PrevInstance()); // and do not find ourselves
        App::ReleaseInstanceGuardForTesting();
        QLocalServer other; // another copy holding it
        other.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        QVERIFY(other.listen(App::InstanceKey()));
        QVERIFY(App::PrevInstance());
        other.close(); // it ends, however it ends: the next start runs
        QVERIFY(!App::PrevInstance());
    }

    void scalerSizesAndRecords()
    {
        Probe& probe = static_cast<Probe&>(Forms::Load("Probe"));
        const Geometry design = Of(probe.Array<Image>("Card")[1]);
        probe.scaler.SetSourceForm(&probe);
        probe.scaler.SizeFormToScreen(75); // three quarters of 1024 x 768, centred
        QCOMPARE((Geometry{probe.Left(), probe.Top(), probe.Width(), probe.Height()}),
                 (Geometry{1920, 1440, 11520, 8640}));
        QCOMPARE(probe.scaler.ControlTable().size(), std::size_t(8));
        // A fresh scaler's first rescale only records.
        clsResize fresh;
        fresh.SetSourceForm(&probe);
        const Geometry before = Of(probe.Array<Image>("Card")[1]);
        fresh.ResizeControls();
        QCOMPARE(Of(probe.Array<Image>("Card")[1]), before);
        QVERIFY(!(before == design));
    }

    void rescalingNeverDrifts()
    {
        Probe& probe = static_cast<Probe&>(Forms::Load("Probe"));
        Control& card = probe.Array<Image>("Card")[1];
        probe.Get<Timer>("Ticker").SetTag("7");
        probe.scaler.SetSourceForm(&probe);
        probe.scaler.ResizeControls(); // records at the design size, 6000 x 4500
        const double width = probe.Width(), height = probe.Height();
        for (int i = 1; i < 200; ++i)
            probe.SetWidth(15 * (i * 37 % 3000 + 1)), probe.SetHeight(15 * (i * 53 % 2000 + 1));
        probe.SetWidth(width * 2);
        probe.SetHeight(height);
        QCOMPARE(Of(card), (Geometry{3600, 300, 2400, 1200}));
        QCOMPARE(probe.Get<Timer>("Ticker").Left(), 180.0); // a timer has a place, no size
        // Minimised: left alone; restored: rescaled to the restored size.
        probe.SetWindowState(Form::Minimized);
        probe.SetWidth(width);
        QCOMPARE(Of(card), (Geometry{3600, 300, 2400, 1200}));
        probe.SetWindowState(Form::Normal);
        QCOMPARE(Of(card), (Geometry{1800, 300, 1200, 1200}));
    }

    void tagDirectives_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<Geometry>("scaled");
        QTest::newRow("empty") << "" << Geometry{3600, 600, 2400, 2400};
        QTest::newRow("a card value") << "10" << Geometry{3600, 600, 2400, 2400};
        QTest::newRow("move only, lower case") << "@lt" << Geometry{3600, 600, 1200, 1200};
        QTest::newRow("vertical") << "@TH" << Geometry{1800, 600, 1200, 2400};
        QTest::newRow("nothing") << "@" << Geometry{1800, 300, 1200, 1200};
        QTest::newRow("@ not first") << "x@W" << Geometry{3600, 600, 2400, 2400};
    }

    void tagDirectives()
    {
        QFETCH(QString, tag);
        QFETCH(Geometry, scaled);
        Probe& probe = static_cast<Probe&>(Forms::Load("Probe"));
        Control& card = probe.Array<Image>("Card")[1];
        card.SetTag(tag);
        probe.scaler.SetSourceForm(&probe);
        probe.scaler.ResizeControls();
        // The rescale runs with the window's drawing frozen, and only then.
        bool frozen = false;
        struct Filter : QObject {
            bool* frozen;
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::Resize || e->type() == QEvent::Move)
                    *frozen |= !static_cast<QWidget*>(o)->window()->updatesEnabled();
                return false;
            }
        } filter;
        filter.frozen = &frozen;
        probe.Get<Label>("Caption").Widget()->installEventFilter(&filter);
        probe.Window()->show();
        probe.SetWidth(probe.Width() * 2);
        probe.SetHeight(probe.Height() + 4500);
        QCOMPARE(Of(card), scaled);
        QVERIFY(frozen && probe.Window()->updatesEnabled());
    }

    void scalerWithoutFormOrControls()
    {
        Form bare({.name = "Empty"});
        clsResize scaler;
        scaler.SetSourceForm(&bare);
        scaler.SizeFormToScreen(75);
        scaler.ResizeControls();
        QVERIFY(scaler.ControlTable().empty());
        auto gone = std::make_unique<Form>(FormDesc{.name = "Gone", .clientWidth = 100, .controls = ProbeControls});
        scaler.SetSourceForm(gone.get());
        gone.reset();
        scaler.ResizeControls(); // a scaler whose form is gone does nothing
        QVERIFY(!scaler.SourceForm());
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

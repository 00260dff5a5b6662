// The layout scaler on a screen built for the test.

#include "support/TestSupport.h"

#include "platform/Control.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Timer.h"

#include <QRandomGenerator>

using namespace platform;

namespace {

constexpr std::array<ControlDesc, 6> SampleControls{{
    {.kind = ControlKind::Image,
     .name = "Picture",
     .left = 840,
     .top = 720,
     .width = 1215,
     .height = 1215,
     .border = true},
    {.kind = ControlKind::Label,
     .name = "Words",
     .left = 240,
     .top = 5520,
     .width = 4335,
     .height = 1695,
     .caption = "x"},
    {.kind = ControlKind::Label, .name = "Pinned", .left = 5520, .top = 6480, .width = 1575, .height = 495},
    {.kind = ControlKind::Label, .name = "Fixed", .left = 7000, .top = 100, .width = 1001, .height = 333},
    {.kind = ControlKind::Timer, .name = "Ticker", .left = 90, .top = 60, .interval = 100},
    {.kind = ControlKind::MenuItem, .name = "Menu", .caption = "Esci"},
}};

constexpr FormDesc SampleDesc{.name = "Sample", .clientWidth = 10275, .clientHeight = 7440, .controls = SampleControls};

struct Geometry {
    double l, t, w, h;
    bool operator==(const Geometry&) const = default;
};

Geometry Of(const Control* c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }

class Sample : public Form {
public:
    Sample()
        : Form(SampleDesc)
    {}
    void Form_Resize() override
    {
        if (scaler.SourceForm()) scaler.ResizeControls();
    }
    clsResize scaler;
};

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

    Sample* form = nullptr;
    std::vector<Geometry> design;

    Sample& Make()
    {
        Forms::Register("Sample", [] { return std::make_unique<Sample>(); });
        form = static_cast<Sample*>(&Forms::Load("Sample"));
        design.clear();
        for (Control* c : form->Controls()) design.push_back(Of(c));
        form->scaler.SetSourceForm(form);
        return *form;
    }

    // Design value times the present factor, for every control the scaler handles.
    void ExpectScaled(double fx, double fy)
    {
        const auto& controls = form->Controls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const Control* c = controls[i];
            if (!c->Has(Prop::Width)) continue;
            const Geometry& d = design[i];
            QCOMPARE(c->Left(), d.l * fx);
            QCOMPARE(c->Top(), d.t * fy);
            QCOMPARE(c->Width(), d.w * fx);
            QCOMPARE(c->Height(), d.h * fy);
        }
    }

private slots:
    void init() { testing_support::Prepare(QSize(1024, 768)); }
    void cleanup() { testing_support::TearDown(); }

    void sizeFormToScreenOnA1024By768Display()
    {
        Sample& f = Make();
        f.scaler.SizeFormToScreen(75);
        QCOMPARE(f.Height(), 8640.0);
        QCOMPARE(f.Width(), 11520.0);
        QCOMPARE(f.Top(), 1440.0);
        QCOMPARE(f.Left(), 1920.0);
        QCOMPARE(f.scaler.DesignWidth(), 10275);
        QCOMPARE(f.scaler.DesignHeight(), 7440);
        QCOMPARE(f.scaler.ControlTable().size(), std::size_t(6));
        ExpectScaled(f.ScaleWidth() / 10275, f.ScaleHeight() / 7440);
    }

    void theFirstResizeOnlyRecords()
    {
        Sample& f = Make();
        f.SetWidth(20550);
        QVERIFY(!f.scaler.NeedsRecording());
        // Recorded at the size it had then; nothing moved.
        QCOMPARE(f.scaler.DesignWidth(), 20550);
        for (std::size_t i = 0; i < design.size(); ++i) QCOMPARE(Of(f.Controls()[i]), design[i]);
    }

    void noDriftFromRepeatedRescaling()
    {
        Sample& f = Make();
        f.scaler.ResizeControls(); // records at the design size
        f.SetWidth(f.Width() * 2);
        ExpectScaled(2.0, 1.0);
        f.SetWidth(f.Width() / 2);
        ExpectScaled(1.0, 1.0);
        const double width = f.Width(), height = f.Height();
        QRandomGenerator random(7);
        for (int i = 0; i < 300; ++i) {
            f.SetWidth(15 * random.bounded(1, 4000));
            f.SetHeight(15 * random.bounded(1, 3000));
        }
        f.SetWidth(width);
        f.SetHeight(height);
        for (std::size_t i = 0; i < design.size(); ++i) QCOMPARE(Of(f.Controls()[i]), design[i]);
    }

    void aMinimisedFormIsLeftAlone()
    {
        Sample& f = Make();
        f.scaler.ResizeControls();
        f.SetWindowState(Form::Minimized);
        QCOMPARE(f.WindowState(), int(Form::Minimized));
        f.SetWidth(20550);
        ExpectScaled(1.0, 1.0);
        // Restoring rescales to the restored size.
        f.SetWindowState(Form::Normal);
        ExpectScaled(2.0, 1.0);
    }

    void tagDirectives_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("l");
        QTest::addColumn<bool>("t");
        QTest::addColumn<bool>("w");
        QTest::addColumn<bool>("h");
        QTest::newRow("empty") << "" << true << true << true << true;
        QTest::newRow("a card value") << "10" << true << true << true << true;
        QTest::newRow("move only") << "@LT" << true << true << false << false;
        QTest::newRow("lower case") << "@lt" << true << true << false << false;
        QTest::newRow("vertical") << "@TH" << false << true << false << true;
        QTest::newRow("nothing") << "@" << false << false << false << false;
        QTest::newRow("not first") << "x@W" << true << true << true << true;
    }

    void tagDirectives()
    {
        QFETCH(QString, tag);
        QFETCH(bool, l);
        QFETCH(bool, t);
        QFETCH(bool, w);
        QFETCH(bool, h);
        Sample& f = Make();
        Control* c = f.Find("Fixed");
        c->SetTag(tag);
        f.scaler.ResizeControls();
        f.SetWidth(20550);
        f.SetHeight(f.Height() + 7440);
        const Geometry d = design[3];
        QCOMPARE(c->Left(), l ? d.l * 2 : d.l);
        QCOMPARE(c->Top(), t ? d.t * 2 : d.t);
        QCOMPARE(c->Width(), w ? d.w * 2 : d.w);
        QCOMPARE(c->Height(), h ? d.h * 2 : d.h);
    }

    void timersAndMenuItemsPassThrough()
    {
        Sample& f = Make();
        f.scaler.ResizeControls();
        f.SetWidth(20550);
        // The timer has a place but no size; the menu item has neither. Both are recorded
        // with 0 for what they lack, and the rest is scaled.
        const auto& table = f.scaler.ControlTable();
        QCOMPARE(table[4].Left, 90);
        QCOMPARE(table[4].Width, 0);
        QCOMPARE(table[5].Left, 0);
        QCOMPARE(f.Find("Ticker")->Left(), 180.0);
        QCOMPARE(f.Find("Ticker")->Top(), 60.0);
        ExpectScaled(2.0, 1.0);
    }

    void drawingIsFrozenOnlyDuringARescale()
    {
        Sample& f = Make();
        f.scaler.ResizeControls();
        bool frozenInside = false;
        // A control's geometry change inside the rescale sees the frozen window.
        struct Spy : QObject {
            bool* seen;
            QWidget* window;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Resize && !window->updatesEnabled()) *seen = true;
                return false;
            }
        } spy;
        spy.seen = &frozenInside;
        spy.window = f.Window();
        f.Find("Words")->Widget()->installEventFilter(&spy);
        f.Window()->show();
        f.SetWidth(20550);
        QVERIFY(frozenInside);
        QVERIFY(f.Window()->updatesEnabled());
    }

    void aFormWithoutControlsOrSizeIsSafe()
    {
        constexpr FormDesc empty{.name = "Empty", .clientWidth = 0, .clientHeight = 0};
        Form bare(empty);
        clsResize scaler;
        scaler.SetSourceForm(&bare);
        scaler.ResizeControls();
        scaler.SizeFormToScreen(75);
        scaler.ReInitialise();
        scaler.ResizeControls();
        QVERIFY(scaler.ControlTable().empty());
        // A scaler whose form is gone does nothing.
        auto gone = std::make_unique<Sample>();
        clsResize orphan;
        orphan.SetSourceForm(gone.get());
        gone.reset();
        orphan.ResizeControls();
        orphan.SizeFormToScreen(75);
        QVERIFY(!orphan.SourceForm());
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

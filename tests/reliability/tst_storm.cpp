// A seeded storm of user abuse on each game screen: drags between anything and anywhere,
// presses on disabled cards, restarts, wild resizes down to one pixel, minimising, and the
// way out refused. Afterwards the board is whole, the counter honest and the layout exact.

#include "Reliability.h"

#include "platform/CommandButton.h"
#include "platform/Forms.h"
#include "platform/MenuItem.h"
#include "platform/Timer.h"
#include "platform/Units.h"
#include "screens/ScreenDescriptions.h"

#include <QtTest>
#include <random>
#include <set>

using namespace reliability;
using platform::Form;

namespace {

constexpr int Events = 10000;

std::vector<std::uintptr_t> Handles(game::GameScreen& g)
{
    std::vector<std::uintptr_t> h;
    for (int s = 0; s < Slots; ++s) h.push_back(Card(g, s).Picture().Handle());
    return h;
}

bool IsADeal(const game::ContentSet& content, const std::vector<int>& sortedValues)
{
    for (const game::Deal& deal : content.deals)
        if (DealtValues(deal) == sortedValues) return true;
    return false;
}

struct Geometry {
    double left, top, width, height;
    QRect pixels;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

Geometry GeometryOf(const platform::Control& c)
{
    return {c.Left(), c.Top(), c.Width(), c.Height(), c.Widget() ? c.Widget()->geometry() : QRect()};
}

// Sizes the window so that its client area has this size in pixels, below a menu bar of
// this height.
void SetClientSize(Form& form, QSize client, int menu)
{
    form.SetWidth(platform::PixelsToTwips(client.width()));
    form.SetHeight(platform::PixelsToTwips(client.height() + menu));
}

} // namespace

class Storm : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { testing_support::TearDown(); }
    void storm_data();
    void storm();
};

void Storm::storm_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<quint64>("seed");
    QTest::newRow("tarts") << QStringLiteral("FormMemory") << quint64(20040421);
    QTest::newRow("stickers") << QStringLiteral("FormMemory2") << quint64(421);
}

void Storm::storm()
{
    QFETCH(QString, screen);
    QFETCH(quint64, seed);
    const QSize display(1024, 768);
    testing_support::Prepare(display, seed);
    testing_support::MsgBoxScript boxes;
    auto& g = dynamic_cast<game::GameScreen&>(platform::Forms::Show(screen));
    const platform::FormDesc& description =
        screen == QLatin1String("FormMemory") ? screens::FormMemory : screens::FormMemory2;

    const int menuBar = g.Window()->height() - g.Client()->height();
    std::map<const platform::Control*, Geometry> atActivation;
    for (const platform::Control* c : g.Controls()) atActivation[c] = GeometryOf(*c);

    // What the player should have seen, kept apart from the screen's own bookkeeping.
    std::vector<std::uintptr_t> handles = Handles(g);
    std::vector<int> dealt = Sorted(Values(g));
    long swaps = 0, totalSwaps = 0, restarts = 0, congratulations = 0, disabledPresses = 0, refusals = 0;
    bool wonThisDeal = false;
    QStringList wrongBoxes;
    boxes.onShow = [&](const platform::MsgBoxRequest& r) {
        if (r.text.startsWith(QLatin1String("Bravo"))) {
            ++congratulations;
            if (wonThisDeal) wrongBoxes << QStringLiteral("second congratulation: ") + r.text;
            wonThisDeal = true;
            const QString expected = QStringLiteral("Bravo! Ci sei riuscito in %1 mosse!").arg(g.NumeroMosse);
            if (r.text != expected || g.NumeroMosse != std::min<long>(swaps, 32767)) wrongBoxes << r.text;
        } else if (r.text == QStringLiteral("vuoi tornare al menù? ")) {
            ++refusals;
        } else {
            wrongBoxes << QStringLiteral("unexpected box: ") + r.text;
        }
    };

    // After every event: either nothing moved, two cards exchanged their pictures (one swap),
    // or a new deal replaced every picture.
    auto audit = [&]() -> QString {
        const auto now = Handles(g);
        if (std::set<std::uintptr_t>(now.begin(), now.end()).size() != std::size_t(Slots))
            return QStringLiteral("two cards share one picture");
        std::vector<int> changed;
        for (int s = 0; s < Slots; ++s)
            if (now[std::size_t(s)] != handles[std::size_t(s)]) changed.push_back(s);
        if (changed.size() == std::size_t(Slots)) {
            if (g.NumeroMosse != 0 || g.Command1.Visible()) return QStringLiteral("a new deal kept the old count");
            dealt = Sorted(Values(g));
            if (!IsADeal(g.Content(), dealt)) return QStringLiteral("a new deal that is no deal");
            swaps = 0;
            wonThisDeal = false;
            ++restarts;
        } else if (changed.size() == 2) {
            const auto a = std::size_t(changed[0]), b = std::size_t(changed[1]);
            if (now[a] != handles[b] || now[b] != handles[a])
                return QStringLiteral("two pictures changed, not exchanged");
            ++swaps;
            ++totalSwaps;
        } else if (!changed.empty()) {
            return QStringLiteral("%1 cards changed at once").arg(changed.size());
        }
        handles = now;
        // Every card keeps the picture of its own value, and the board the values dealt.
        if (Sorted(Values(g)) != dealt) return QStringLiteral("the values on the board changed");
        for (int s = 0; s < Slots; ++s)
            if (!Card(g, s).Picture().Source().endsWith(QLatin1Char('/') +
                                                        FileFor(g.Content(), Card(g, s).Tag().toInt())))
                return QStringLiteral("card %1 shows a picture of another value").arg(s);
        if (g.NumeroMosse != std::min<long>(swaps, 32767))
            return QStringLiteral("counter %1 after %2 swaps").arg(g.NumeroMosse).arg(swaps);
        if (g.Label2.Caption() != QStringLiteral("Mosse %1").arg(g.NumeroMosse)) return g.Label2.Caption();
        if (!platform::Forms::IsLoaded(&g) || platform::Forms::Active() != &g)
            return QStringLiteral("the screen went away");
        return {};
    };

    std::mt19937_64 rng(seed);
    auto below = [&](int n) { return int(rng() % std::uint64_t(n)); };
    auto somewhere = [&](const QWidget* w) {
        return QPoint(below(std::max(1, w->width())), below(std::max(1, w->height())));
    };
    std::vector<QWidget*> widgets;
    for (const platform::Control* c : g.Controls())
        if (c->Widget()) widgets.push_back(c->Widget());
    widgets.push_back(g.Client());

    for (int event = 0; event < Events; ++event) {
        const int roll = below(1000);
        if (roll < 600) {
            // A drag from any control to any control, the background or beyond the window.
            QWidget* from = widgets[std::size_t(below(int(widgets.size())))];
            QWidget* to = widgets[std::size_t(below(int(widgets.size())))];
            QPoint at = somewhere(to);
            if (below(8) == 0) at = QPoint(below(2) ? -1 - below(500) : to->width() + below(3000), at.y() - below(400));
            if (const auto* c = dynamic_cast<platform::Image*>(g.ControlOf(from));
                c && c->DragAutomatic() && !c->Enabled())
                ++disabledPresses;
            MouseDrag(from, somewhere(from), to, at);
        } else if (roll < 650) {
            // Presses on the cards after a win, when they are disabled.
            if (g.Command1.Visible()) {
                MouseDrag(Card(g, below(Slots)).Widget(), Card(g, below(Slots)).Widget());
                ++disabledPresses;
            }
        } else if (roll < 680) {
            if (g.Command1.Visible() && g.Command1.Widget()->isVisible() && below(2))
                QTest::mouseClick(g.Command1.Widget(), Qt::LeftButton);
            else
                g.Command1_Click();
        } else if (roll < 800) {
            const int w = below(6) == 0 ? 15 : 15 + below(int(platform::PixelsToTwips(display.width() * 2)));
            const int h = below(6) == 0 ? 15 : 15 + below(int(platform::PixelsToTwips(display.height() * 2)));
            if (below(3) != 0) g.SetWidth(w);
            if (below(3) != 0) g.SetHeight(h);
        } else if (roll < 840) {
            g.SetWindowState(below(2) ? Form::Minimized : Form::Normal);
        } else if (roll < 870) {
            boxes.answers.push_back(platform::vbNo);
            g.mnuEsci.Click();
        } else if (roll < 930) {
            // The timer's tick, as the platform would deliver it.
            if (g.Timer1.Enabled()) g.Timer1_Timer();
        } else if (roll < 960) {
            QCoreApplication::processEvents();
        } else if (g.Image1[0].Enabled()) {
            // Some deals end in a win, so that the storm meets the disabled board too.
            for (auto [to, from] : Solution(Values(g))) {
                DropOnto(g, to, from);
                if (const QString fault = audit(); !fault.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("event %1, solving: %2").arg(event).arg(fault)));
            }
            g.Timer1_Timer();
        }
        if (const QString fault = audit(); !fault.isEmpty())
            QFAIL(qPrintable(QStringLiteral("event %1 (roll %2): %3").arg(event).arg(roll).arg(fault)));
    }
    qInfo("%ld swaps, %ld deals, %ld congratulations, %ld presses on disabled cards, %ld refusals", totalSwaps,
          restarts, congratulations, disabledPresses, refusals);
    QVERIFY2(wrongBoxes.isEmpty(), qPrintable(wrongBoxes.join(QLatin1Char('\n'))));
    // The storm must have met what it is meant to meet.
    QVERIFY(totalSwaps > 100 && restarts > 10 && congratulations > 5 && disabledPresses > 50 && refusals > 50);

    // The board: the dealt values, each card showing the picture of its own value.
    g.SetWindowState(Form::Normal);
    QCOMPARE(Sorted(Values(g)), dealt);
    for (int s = 0; s < Slots; ++s) {
        const platform::Image& card = Card(g, s);
        QCOMPARE(QFileInfo(card.Picture().Source()).fileName(), FileFor(g.Content(), card.Tag().toInt()));
        QVERIFY(!card.Picture().Failed());
    }

    // Back at the design size, every control stands exactly where the screen was designed
    // to hold it, cards included: no drift, whatever came before.
    SetClientSize(g, QSize(1, 1), menuBar);
    SetClientSize(
        g, QSize(description.clientWidth / platform::TwipsPerPixel, description.clientHeight / platform::TwipsPerPixel),
        menuBar);
    for (const platform::ControlDesc& d : description.controls) {
        const platform::Control* c = g.Find(QString::fromUtf8(d.name.data(), qsizetype(d.name.size())), d.index);
        QVERIFY(c);
        if (!c->Widget()) continue;
        const Geometry designed{double(d.left), double(d.top), double(d.width), double(d.height),
                                QRect(d.left / 15, d.top / 15, d.width / 15, d.height / 15)};
        const Geometry got = GeometryOf(*c);
        QVERIFY2(got == designed, qPrintable(QStringLiteral("%1: %2,%3 %4x%5 at %6,%7 %8x%9 pixels")
                                                 .arg(c->Widget()->objectName())
                                                 .arg(got.left)
                                                 .arg(got.top)
                                                 .arg(got.width)
                                                 .arg(got.height)
                                                 .arg(got.pixels.x())
                                                 .arg(got.pixels.y())
                                                 .arg(got.pixels.width())
                                                 .arg(got.pixels.height())));
    }
    // And back at the display's size, as at the start: the same layout, the cards on the
    // grid the deal used, within the pixel its measurement may round.
    g.SetHeight(platform::Screen::Height());
    g.SetWidth(platform::Screen::Width());
    for (const platform::Control* c : g.Controls()) {
        const Geometry now = GeometryOf(*c), then = atActivation[c];
        if (c->Name().startsWith(QLatin1String("Image")) && c->Index() >= 0 && c->Name() != QLatin1String("Image4")) {
            QCOMPARE(now.width, then.width);
            QCOMPARE(now.height, then.height);
            const QRect a = now.pixels, b = then.pixels;
            QVERIFY2(std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1 &&
                         std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1,
                     qPrintable(c->Widget()->objectName()));
        } else {
            QVERIFY2(now == then, qPrintable(c->Name()));
        }
    }
    SaveShot(g.Window(), QStringLiteral("after the storm ") + QString::fromUtf8(QTest::currentDataTag()));
}

QTEST_MAIN(Storm)
#include "tst_storm.moc"

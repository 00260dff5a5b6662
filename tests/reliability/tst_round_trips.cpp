// A long session: a hundred trips from the menu into a game and back leave nothing behind,
// neither windows nor memory. Under the sanitizer build, LeakSanitizer checks the rest at exit.

#include "game/GameScreen.h"
#include "platform/Forms.h"
#include "shell/FormMenu.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QtTest>

namespace {

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Lets the screens unloaded from their own handlers be destroyed, as the event loop does.
void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class RoundTrips : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { testing_support::TearDown(); }

    void menuToGameAndBack()
    {
        testing_support::Prepare();
        testing_support::MsgBoxScript boxes;
        platform::Forms::Show(QStringLiteral("FormMenu"));
        Settle();

        int trip = 0;
        auto roundTrip = [&] {
            auto* menu = dynamic_cast<FormMenu*>(platform::Forms::Find(QStringLiteral("FormMenu")));
            QVERIFY(menu);
            if (trip++ % 2)
                menu->Command1_Click();
            else
                menu->Command2_Click();
            Settle();
            auto* game = dynamic_cast<game::GameScreen*>(platform::Forms::Active());
            QVERIFY(game);
            boxes.answers.push_back(platform::vbYes);
            game->mnuEsci_Click();
            Settle();
            QCOMPARE(platform::Forms::Loaded().size(), std::size_t(1));
            QCOMPARE(platform::Forms::Active()->Name(), QStringLiteral("FormMenu"));
        };

        for (int i = 0; i < 20; ++i) roundTrip();
        const qsizetype windows = QApplication::allWidgets().size();
        const long before = ResidentKiB();
        for (int i = 0; i < 100; ++i) {
            roundTrip();
            if (QTest::currentTestFailed()) return;
        }
        const long after = ResidentKiB();
        qInfo("resident memory %ld KiB before and %ld KiB after 100 round trips", before, after);

        QCOMPARE(QApplication::allWidgets().size(), windows);
        QCOMPARE(testing_support::QuitCount(), 0); // the program never ended on the way
#ifdef __SANITIZE_ADDRESS__
        // AddressSanitizer holds freed memory in quarantine, so the resident size says nothing
        // here; LeakSanitizer judges at exit instead.
        Q_UNUSED(before);
        Q_UNUSED(after);
#else
        QVERIFY(before > 0);
        QVERIFY2(after - before < 5 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(after - before)));
#endif
    }
};

QTEST_MAIN(RoundTrips)
#include "tst_round_trips.moc"

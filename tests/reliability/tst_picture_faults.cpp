// Broken, missing and hostile card pictures: the deal completes, the affected cards are drawn
// as stand-ins that still show their value, the game plays to its congratulation, and every
// faulty file is reported on standard error exactly once, in one clear line.

#include "Reliability.h"

#include "platform/CommandButton.h"
#include "platform/Forms.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

using namespace reliability;

namespace {

enum class Fault { None, NoFolder, Missing, Empty, Truncated, Text, Huge, Unreadable };

// What a clear report of each fault says about it, as a pattern.
QString ReasonWord(Fault f)
{
    switch (f) {
    case Fault::NoFolder:
    case Fault::Missing:
        return QStringLiteral("not found");
    case Fault::Empty:
        return QStringLiteral("empty");
    case Fault::Truncated:
        return QStringLiteral("(decode|truncated|short|incomplete)");
    case Fault::Text:
        return QStringLiteral("not a picture");
    case Fault::Huge:
        return QStringLiteral("too large");
    case Fault::Unreadable:
        return QStringLiteral("permission denied");
    case Fault::None:
        break;
    }
    return {};
}

// Rewrites the frame header's height and width, so that a small file claims a vast picture.
bool ClaimSize(QByteArray& jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size();) {
        if (uchar(jpeg[i]) != 0xFF) return false;
        const uchar marker = uchar(jpeg[i + 1]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return true;
        }
        if (marker == 0xDA || marker == 0xD9) return false;
        i += 2 + ((uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]));
    }
    return false;
}

bool Apply(Fault fault, const QString& imgDir, const QString& file)
{
    const QString path = imgDir + QLatin1Char('/') + file;
    QFile f(path);
    switch (fault) {
    case Fault::None:
        return true;
    case Fault::NoFolder:
        return QDir(imgDir).removeRecursively();
    case Fault::Missing:
        return f.remove();
    case Fault::Empty:
        return f.resize(0);
    case Fault::Truncated:
        return f.resize(f.size() * 2 / 5);
    case Fault::Text:
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        return f.write("Questa non e' una figurina, e' un file di testo.\n") > 0;
    case Fault::Huge: {
        if (!f.open(QIODevice::ReadWrite)) return false;
        QByteArray bytes = f.readAll();
        if (!ClaimSize(bytes, 30000, 30000)) return false;
        f.seek(0);
        return f.write(bytes) == bytes.size();
    }
    case Fault::Unreadable:
        return f.setPermissions(QFileDevice::Permissions{});
    }
    return false;
}

// The paper colour of the drawn stand-in, just inside the card's border.
bool LooksLikeStandIn(platform::Image& card)
{
    const QImage shot = card.Widget()->grab().toImage();
    return !shot.isNull() && shot.pixelColor(4, 4) == QColor(255, 250, 235);
}

} // namespace

class PictureFaults : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        testing_support::TearDown();
        platform::App::SetPathForTesting({});
    }

    void faultyPictures_data();
    void faultyPictures();

private:
    void RunAsAnotherUser();
};

void PictureFaults::faultyPictures_data()
{
    QTest::addColumn<QString>("screen");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("folder");

    const QString plain = QStringLiteral("merendella");
    const struct {
        const char* name;
        Fault fault;
    } rows[] = {
        {"img folder missing", Fault::NoFolder},   {"one file missing", Fault::Missing},
        {"zero-byte file", Fault::Empty},          {"truncated JPEG", Fault::Truncated},
        {"text named .jpg", Fault::Text},          {"header claims 30000x30000", Fault::Huge},
        {"no read permission", Fault::Unreadable},
    };
    for (const char* screen : {"FormMemory", "FormMemory2"}) {
        for (const auto& row : rows)
            QTest::addRow("%s: %s", screen, row.name) << QString::fromLatin1(screen) << int(row.fault) << plain;
        QTest::addRow("%s: folder with spaces and accents", screen)
            << QString::fromLatin1(screen) << int(Fault::None)
            << QStringLiteral("Giochi di Bambù/Merendella è più bella ☺ 日本");
    }
}

void PictureFaults::faultyPictures()
{
    QFETCH(QString, screen);
    QFETCH(int, fault);
    QFETCH(QString, folder);
    const auto kind = Fault(fault);
    if (kind == Fault::Unreadable && ::geteuid() == 0) return RunAsAnotherUser();

    const game::ContentSet& content = screen == QLatin1String("FormMemory2") ? game::Stickers : game::Tarts;
    constexpr std::uint64_t seed = 7;
    const game::Deal& deal = FirstDeal(content, seed);

    // The program's folder, with its own copy of the pictures and the fault applied.
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString program = base.path() + QLatin1Char('/') + folder;
    const QString imgDir = program + QStringLiteral("/img");
    QVERIFY(QDir().mkpath(imgDir));
    const QDir pictures(QStringLiteral(MERENDELLA_SOURCE_DIR "/img"));
    const QStringList files = pictures.entryList({QStringLiteral("*.jpg")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files) QVERIFY(QFile::copy(pictures.filePath(name), imgDir + QLatin1Char('/') + name));

    QStringList faulty;
    if (kind == Fault::NoFolder)
        for (const auto& hand : deal.hand) faulty << FileFor(content, hand.value);
    else if (kind != Fault::None)
        faulty << FileFor(content, deal.hand[0].value);
    QVERIFY(Apply(kind, imgDir, faulty.value(0)));
    if (kind == Fault::Huge) QVERIFY(QFileInfo(imgDir + QLatin1Char('/') + faulty[0]).size() < 100000);

    testing_support::Prepare(QSize(1024, 768), seed);
    platform::App::SetPathForTesting(program);
    testing_support::MsgBoxScript boxes;

    StderrCapture capture;
    auto& g = dynamic_cast<game::GameScreen&>(platform::Forms::Show(screen));
    const QStringList lines = capture.Stop();

    QVERIFY2(lines.size() == faulty.size(), qPrintable(lines.join(QLatin1Char('\n'))));
    for (const QString& file : faulty) {
        const QStringList about = lines.filter(imgDir + QLatin1Char('/') + file);
        QVERIFY2(about.size() == 1, qPrintable(file + QStringLiteral(": ") + lines.join(QLatin1Char('\n'))));
        QVERIFY2(about[0].startsWith(QLatin1String("merendella: ")) &&
                     about[0].contains(QRegularExpression(ReasonWord(kind))),
                 qPrintable(about[0]));
    }

    for (int s = 0; s < Slots; ++s) {
        const platform::Image& card = Card(g, s);
        const int value = deal.hand[std::size_t(s / 7)].value;
        const QString file = FileFor(content, value);
        QCOMPARE(card.Tag(), QString::number(value));
        QCOMPARE(card.Picture().Source(), imgDir + QLatin1Char('/') + file);
        QCOMPARE(card.Picture().Failed(), faulty.contains(file));
    }
    for (int h = 0; h < game::Hands; ++h)
        QCOMPARE(LooksLikeStandIn(Card(g, h * 7)), faulty.contains(FileFor(content, deal.hand[std::size_t(h)].value)));

    SaveShot(g.Window(), QString::fromUtf8(QTest::currentDataTag()));

    // Playable to the end: the first swap by a real drag of the first card to move.
    const auto swaps = Solution(Values(g));
    QVERIFY(!swaps.empty());
    MouseDrag(Card(g, swaps[0].second).Widget(), Card(g, swaps[0].first).Widget());
    QCOMPARE(g.NumeroMosse, 1);
    for (std::size_t i = 1; i < swaps.size(); ++i) DropOnto(g, swaps[i].first, swaps[i].second);
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.seen.empty(), 10000);
    QCOMPARE(boxes.seen.size(), std::size_t(1));
    QCOMPARE(boxes.seen[0].text, QStringLiteral("Bravo! Ci sei riuscito in %1 mosse!").arg(swaps.size()));
    QCOMPARE(boxes.seen[0].shownTitle, QStringLiteral("Zuccheriva"));
    QVERIFY(g.Command1.Visible());
}

// Root reads any file: the unreadable case runs again in a child process as user nobody.
void PictureFaults::RunAsAnotherUser()
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) QSKIP("running as root, where permissions do not stop reads, and setpriv is missing");
    QProcess child;
    child.setProgram(setpriv);
    child.setArguments({QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                        QStringLiteral("--clear-groups"), QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                        QStringLiteral("faultyPictures:") + QString::fromUtf8(QTest::currentDataTag())});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), QDir::tempPath());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start();
    QVERIFY(child.waitForFinished(120000));
    const QString out = QString::fromUtf8(child.readAll());
    if (out.contains(QLatin1String("FAIL!"))) QFAIL(qPrintable(out));
    if (child.exitCode() != 0 || !out.contains(QLatin1String("PASS   : PictureFaults::faultyPictures(")))
        QSKIP(
            qPrintable(QStringLiteral("running as root, and the case could not run as user nobody: ") + out.left(400)));
}

QTEST_MAIN(PictureFaults)
#include "tst_picture_faults.moc"

// Checks the exported pictures the way the game loads them: a wrong export (wrong size,
// progressive JPEG, animated GIF, wrong colour depth, lost transparency, lost hot spot,
// missing icon image, duplicated card) fails here instead of on screen.

#include <QtTest/QtTest>

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>

namespace {

QString sourcePath(const QString& relative) { return QStringLiteral(MERENDELLA_SOURCE_DIR "/") + relative; }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

quint16 le16(const QByteArray& d, int at) { return quint16(quint8(d.at(at)) | (quint8(d.at(at + 1)) << 8)); }

quint32 le32(const QByteArray& d, int at) { return quint32(le16(d, at)) | (quint32(le16(d, at + 2)) << 16); }

// The first start-of-frame marker of a JPEG (0xC0 baseline, 0xC1 extended sequential,
// 0xC2 progressive, ...), or 0 if none is found. Sets components to its component count.
int jpegFrameMarker(const QByteArray& d, int* components)
{
    if (d.size() < 4 || quint8(d[0]) != 0xFF || quint8(d[1]) != 0xD8) return 0;
    int at = 2;
    while (at + 4 <= d.size()) {
        if (quint8(d[at]) != 0xFF) return 0;
        const int marker = quint8(d[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = (quint8(d[at + 2]) << 8) | quint8(d[at + 3]);
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            if (at + 9 < d.size()) *components = quint8(d[at + 9]);
            return marker;
        }
        if (marker == 0xDA) // start of scan before any frame header
            return 0;
        at += 2 + length;
    }
    return 0;
}

int opaquePixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) == 255;
    return n;
}

void checkTransparentCorners(const QImage& image)
{
    QVERIFY(image.hasAlphaChannel());
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(r, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(0, b)), 0);
    QCOMPARE(qAlpha(image.pixel(r, b)), 0);
}

const QStringList cardNames = {
    QStringLiteral("figurine1"), QStringLiteral("figurine2"), QStringLiteral("figurine3"),  QStringLiteral("figurine4"),
    QStringLiteral("figurine5"), QStringLiteral("figurine7"), QStringLiteral("figurine10"), QStringLiteral("torta0"),
    QStringLiteral("torta1"),    QStringLiteral("torta2"),    QStringLiteral("torta3"),     QStringLiteral("torta4"),
};

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

private slots:
    void cards_data();
    void cards();
    void cardsAreDistinct();
    void children_data();
    void children();
    void icons_data();
    void icons();
    void cursorHotSpot();
    void applicationIcon_data();
    void applicationIcon();
    void scalableApplicationIcon();
};

void TestAssets::cards_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& name : cardNames)
        QTest::newRow(qPrintable(name)) << sourcePath(QStringLiteral("img/%1.jpg").arg(name));
}

void TestAssets::cards()
{
    QFETCH(QString, path);
    const QByteArray bytes = readAll(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    QVERIFY2(bytes.size() < 80 * 1024, qPrintable(QString::number(bytes.size())));

    int components = 0;
    const int sof = jpegFrameMarker(bytes, &components);
    QVERIFY2(sof == 0xC0 || sof == 0xC1,
             qPrintable(QStringLiteral("frame marker 0x%1, want baseline").arg(sof, 0, 16)));
    QCOMPARE(components, 3); // colour, not greyscale

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(512, 512));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(512, 512));
    QVERIFY(!image.isGrayscale());
}

void TestAssets::cardsAreDistinct()
{
    QSet<QByteArray> hashes;
    for (const QString& name : cardNames) {
        const QByteArray bytes = readAll(sourcePath(QStringLiteral("img/%1.jpg").arg(name)));
        QVERIFY2(!bytes.isEmpty(), qPrintable(name));
        hashes.insert(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
    }
    QCOMPARE(hashes.size(), cardNames.size());
}

void TestAssets::children_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("tableSize");
    QTest::newRow("child1") << sourcePath(QStringLiteral("src/screens/art/child1.gif")) << 8;
    QTest::newRow("child2") << sourcePath(QStringLiteral("src/screens/art/child2.gif")) << 64;
    QTest::newRow("child3") << sourcePath(QStringLiteral("src/screens/art/child3.gif")) << 64;
}

void TestAssets::children()
{
    QFETCH(QString, path);
    QFETCH(int, tableSize);
    const QByteArray bytes = readAll(path);
    QVERIFY2(bytes.size() > 13, qPrintable(path));
    QCOMPARE(bytes.left(6), QByteArray("GIF89a"));
    QCOMPARE(int(le16(bytes, 6)), 130);
    QCOMPARE(int(le16(bytes, 8)), 255);
    const quint8 packed = quint8(bytes[10]);
    QVERIFY2(packed & 0x80, "no global colour table");
    QCOMPARE(2 << (packed & 0x07), tableSize);

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.imageCount(), 1);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(130, 255));
    QVERIFY(!reader.canRead()); // no second frame
    checkTransparentCorners(image);
    // the child is there: a solid figure covers a fair part of the picture
    QVERIFY(opaquePixels(image) > 130 * 255 / 5);
}

void TestAssets::icons_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type"); // 1 icon, 2 cursor
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<int>("bits");
    const QString dir = QStringLiteral("src/screens/art/");
    QTest::newRow("icecream") << sourcePath(dir + "icecream.ico") << 1 << QList<int>{32} << 8;
    QTest::newRow("waving") << sourcePath(dir + "waving.ico") << 1 << QList<int>{32} << 4;
    QTest::newRow("aeroplane") << sourcePath(dir + "aeroplane.ico") << 1 << QList<int>{32} << 4;
    QTest::newRow("rightarrow") << sourcePath(dir + "rightarrow.ico") << 1 << QList<int>{32, 16} << 4;
    QTest::newRow("bigarrow") << sourcePath(dir + "bigarrow.cur") << 2 << QList<int>{32} << 4;
}

void TestAssets::icons()
{
    QFETCH(QString, path);
    QFETCH(int, type);
    QFETCH(QList<int>, sizes);
    QFETCH(int, bits);
    const QByteArray bytes = readAll(path);
    QVERIFY2(bytes.size() > 6, qPrintable(path));

    // directory and the BMP header of every image
    QCOMPARE(int(le16(bytes, 0)), 0);
    QCOMPARE(int(le16(bytes, 2)), type);
    QCOMPARE(int(le16(bytes, 4)), sizes.size());
    QVERIFY(bytes.size() >= 6 + 16 * sizes.size());
    for (int i = 0; i < sizes.size(); ++i) {
        const int entry = 6 + 16 * i;
        QCOMPARE(int(quint8(bytes[entry])), sizes[i]);
        QCOMPARE(int(quint8(bytes[entry + 1])), sizes[i]);
        QCOMPARE(int(quint8(bytes[entry + 2])), bits < 8 ? 1 << bits : 0);
        if (type == 1) {
            QCOMPARE(int(le16(bytes, entry + 4)), 1);    // planes
            QCOMPARE(int(le16(bytes, entry + 6)), bits); // bit count
        }
        const quint32 length = le32(bytes, entry + 8);
        const quint32 offset = le32(bytes, entry + 12);
        QVERIFY(offset + length <= quint32(bytes.size()));
        QCOMPARE(le32(bytes, offset), quint32(40)); // BITMAPINFOHEADER
        QCOMPARE(int(le32(bytes, offset + 4)), sizes[i]);
        QCOMPARE(int(le32(bytes, offset + 8)), 2 * sizes[i]); // colour bitmap + AND mask
        QCOMPARE(int(le16(bytes, offset + 14)), bits);
        QCOMPARE(int(le32(bytes, offset + 16)), 0); // uncompressed
        const int palette = 4 << bits;
        const int xorRow = ((sizes[i] * bits + 31) / 32) * 4;
        const int andRow = ((sizes[i] + 31) / 32) * 4;
        QCOMPARE(int(length), 40 + palette + sizes[i] * (xorRow + andRow));
    }

    QImageReader reader(path); // Qt reads cursors with its ico handler too
    QCOMPARE(reader.format(), QByteArray("ico"));
    QCOMPARE(reader.imageCount(), sizes.size());
    QSet<int> seen;
    for (int i = 0; i < sizes.size(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        seen.insert(image.width());
        checkTransparentCorners(image);
        QVERIFY(opaquePixels(image) > image.width() * image.height() / 10);
    }
    QCOMPARE(seen, QSet<int>(sizes.cbegin(), sizes.cend()));
}

void TestAssets::cursorHotSpot()
{
    const QString path = sourcePath(QStringLiteral("src/screens/art/bigarrow.cur"));
    const QByteArray bytes = readAll(path);
    QVERIFY2(bytes.size() > 22, qPrintable(path));
    // in a cursor's directory entry the planes and bit-count fields hold the hot spot
    QCOMPARE(int(le16(bytes, 6 + 4)), 3);
    QCOMPARE(int(le16(bytes, 6 + 6)), 1);

    // the arrow's tip is the hot spot: opaque there, nothing above or to the left of it
    QImage image(path);
    QVERIFY(!image.isNull());
    QCOMPARE(qAlpha(image.pixel(3, 1)), 255);
    for (int x = 0; x < 32; ++x) QCOMPARE(qAlpha(image.pixel(x, 0)), 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 3; ++x) QCOMPARE(qAlpha(image.pixel(x, y)), 0);
}

void TestAssets::applicationIcon_data()
{
    QTest::addColumn<int>("size");
    for (int n : {16, 32, 48, 64, 128, 256}) QTest::newRow(qPrintable(QStringLiteral("%1x%1").arg(n))) << n;
}

void TestAssets::applicationIcon()
{
    QFETCH(int, size);
    const QString path = sourcePath(QStringLiteral("data/icons/%1x%1/org.merendella.Merendella.png").arg(size));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
    QCOMPARE(image.size(), QSize(size, size));
    checkTransparentCorners(image); // rounded tile
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestAssets::scalableApplicationIcon()
{
    const QByteArray svg = readAll(sourcePath(QStringLiteral("data/icons/scalable/org.merendella.Merendella.svg")));
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("viewBox=\"0 0 128 128\""));
    QVERIFY(svg.trimmed().endsWith("</svg>"));
}

QTEST_GUILESS_MAIN(TestAssets)
#include "tst_assets.moc"

#include "iconstrips.h"

#include <QImage>
#include <QTest>

using namespace kq;

class TestIconStrips : public QObject
{
    Q_OBJECT

private slots:
    void strip_data();
    void strip();
    void loadedOnce();
    void noStrip_data();
    void noStrip();
};

void TestIconStrips::strip_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("glossy") << 0;
    QTest::newRow("classic") << 1;
}

void TestIconStrips::strip()
{
    QFETCH(int, style);
    const QPixmap &strip = iconStrip(style);
    QCOMPARE(strip.size(), QSize(192, 32));
    const QImage image = strip.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int cell = 0; cell < 6; ++cell) {
        int opaque = 0;
        int seen = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = cell * 32; x < cell * 32 + 32; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0)
                    continue;
                ++seen;
                if (c.alpha() == 255)
                    ++opaque;
                QVERIFY2(!(c.red() > 240 && c.green() < 16 && c.blue() > 240),
                         qPrintable(QStringLiteral("magenta at %1,%2").arg(x).arg(y)));
            }
        }
        if (cell == 0) {
            QCOMPARE(seen, 0);
        } else {
            // An icon covers a good part of its cell, and some of the cell stays see-through.
            QVERIFY2(opaque > 200, qPrintable(QString::number(cell)));
            QVERIFY2(seen < 32 * 32, qPrintable(QString::number(cell)));
        }
    }
}

void TestIconStrips::loadedOnce()
{
    QCOMPARE(&iconStrip(0), &iconStrip(0));
    QCOMPARE(&iconStrip(1), &iconStrip(1));
    QVERIFY(iconStrip(0).toImage() != iconStrip(1).toImage());
}

void TestIconStrips::noStrip_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("two") << 2;
    QTest::newRow("negative") << -1;
}

void TestIconStrips::noStrip()
{
    QFETCH(int, style);
    QVERIFY(iconStrip(style).isNull());
}

QTEST_MAIN(TestIconStrips)
#include "tst_iconstrips.moc"

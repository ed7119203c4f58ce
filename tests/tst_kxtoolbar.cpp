#include "kxtoolbar.h"

#include <QTest>

using namespace kq;

class TestKXToolBar : public QObject
{
    Q_OBJECT

private slots:
    void clamp_data();
    void clamp();
    void procentsToWidth_data();
    void procentsToWidth();
    void fillAndCut_data();
    void fillAndCut();
    void cycle_data();
    void cycle();
    void loweredValueRestarts_data();
    void loweredValueRestarts();
    void glintCutShowsPartly();
    void heightStays_data();
    void heightStays();
    void pixels();
    void timerRunsFromCreation();
};

void TestKXToolBar::clamp_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("read");
    QTest::newRow("above") << 150 << 100;
    QTest::newRow("below") << -5 << 0;
    QTest::newRow("far below") << -32768 << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("full") << 100 << 100;
    QTest::newRow("inside") << 37 << 37;
}

void TestKXToolBar::clamp()
{
    QFETCH(int, set);
    QFETCH(int, read);
    KXToolBar bar;
    bar.setValue(set);
    QCOMPARE(bar.value(), read);
    bar.setProperty("Value", set);
    QCOMPARE(bar.property("Value").toInt(), read);
}

void TestKXToolBar::procentsToWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("pixels");
    QTest::newRow("half of 257") << 257 << 50 << 128;
    QTest::newRow("51 of 257") << 257 << 51 << 131;
    QTest::newRow("1 of 257") << 257 << 1 << 2;
    QTest::newRow("101 of 257") << 257 << 101 << 259;
    QTest::newRow("1 of 99") << 99 << 1 << 0;
    QTest::newRow("all of 80") << 80 << 100 << 80;
}

void TestKXToolBar::procentsToWidth()
{
    QFETCH(int, width);
    QFETCH(int, percent);
    QFETCH(int, pixels);
    KXToolBar bar;
    bar.resize(width, 16);
    QCOMPARE(bar.percentToWidth(percent), pixels);
}

void TestKXToolBar::fillAndCut_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("fillWidth");
    QTest::addColumn<int>("cut");
    QTest::newRow("half") << 257 << 50 << 131 << 130;
    QTest::newRow("empty") << 257 << 0 << 2 << 2;
    QTest::newRow("full runs past the edge") << 257 << 100 << 259 << 259;
    QTest::newRow("narrow") << 40 << 75 << 30 << 32;
}

void TestKXToolBar::fillAndCut()
{
    QFETCH(int, width);
    QFETCH(int, value);
    QFETCH(int, fillWidth);
    QFETCH(int, cut);
    KXToolBar bar;
    bar.resize(width, 16);
    bar.setValue(value);
    QCOMPARE(bar.fillRect(), QRect(1, 0, fillWidth, 16));
    QCOMPARE(bar.glintCut(), cut);
    // Walk the glint through a whole cycle: nothing of it ever shows right of the cut.
    int rightmost = -1000;
    for (int i = 0; i < cut + 92; ++i) {
        bar.tick();
        const QRect glint = bar.glintRect();
        if (!glint.isEmpty()) {
            QVERIFY(glint.width() <= 90);
            QCOMPARE(glint.left(), bar.glintPosition());
            rightmost = qMax(rightmost, glint.right());
        }
    }
    QCOMPARE(rightmost, cut - 1);
}

void TestKXToolBar::cycle_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("lastPosition");
    QTest::newRow("empty") << 257 << 0 << 1;
    QTest::newRow("half") << 257 << 50 << 129;
    QTest::newRow("full") << 257 << 100 << 258;
}

void TestKXToolBar::cycle()
{
    QFETCH(int, width);
    QFETCH(int, value);
    QFETCH(int, lastPosition);
    KXToolBar bar;
    bar.resize(width, 16);
    bar.setValue(value);
    QCOMPARE(bar.glintPosition(), 0);
    int ticks = 0;
    int highest = 0;
    while (bar.glintPosition() != -90 && ticks < 1000) {
        highest = bar.glintPosition();
        bar.tick();
        ++ticks;
    }
    QCOMPARE(highest, lastPosition);
    QCOMPARE(ticks, lastPosition + 1);
    ticks = 0;
    do {
        bar.tick();
        ++ticks;
    } while (bar.glintPosition() != -90 && ticks < 1000);
    QCOMPARE(ticks, bar.percentToWidth(value) + 92);
}

void TestKXToolBar::loweredValueRestarts_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("ticksBefore");
    QTest::addColumn<int>("next");
    QTest::newRow("glint past the new end") << 100 << 10 << 200 << -90;
    QTest::newRow("glint just past the new end") << 50 << 40 << 104 << -90;
    QTest::newRow("glint still before the new end") << 100 << 60 << 100 << 101;
    QTest::newRow("raised value") << 10 << 90 << 20 << 21;
}

void TestKXToolBar::loweredValueRestarts()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, ticksBefore);
    QFETCH(int, next);
    KXToolBar bar;
    bar.resize(257, 16);
    bar.setValue(from);
    for (int i = 0; i < ticksBefore; ++i)
        bar.tick();
    QCOMPARE(bar.glintPosition(), ticksBefore);
    bar.setValue(to);
    // Setting Value alone moves nothing; the next tick does.
    QCOMPARE(bar.glintPosition(), ticksBefore);
    bar.tick();
    QCOMPARE(bar.glintPosition(), next);
}

void TestKXToolBar::glintCutShowsPartly()
{
    KXToolBar bar;
    bar.resize(257, 16);
    bar.setValue(50);
    for (int i = 0; i < 100; ++i)
        bar.tick();
    QCOMPARE(bar.glintRect(), QRect(100, 0, 30, 16));
    for (int i = 0; i < 100; ++i)
        bar.tick();
    // 200 ticks: restarted at tick 130, now at -20, so 70 columns of it show from x -20.
    QCOMPARE(bar.glintPosition(), -20);
    QCOMPARE(bar.glintRect(), QRect(-20, 0, 90, 16));
}

void TestKXToolBar::heightStays_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("taller") << QRect(72, 56, 257, 40);
    QTest::newRow("flatter") << QRect(72, 56, 257, 5);
    QTest::newRow("exact") << QRect(72, 56, 257, 16);
}

void TestKXToolBar::heightStays()
{
    QFETCH(QRect, geometry);
    QWidget host;
    host.resize(360, 116);
    auto *bar = new KXToolBar(&host);
    bar->setGeometry(geometry);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QCOMPARE(bar->height(), 16);
    QCOMPARE(bar->width(), geometry.width());
    bar->resize(100, 30);
    QCOMPARE(bar->size(), QSize(100, 16));
}

void TestKXToolBar::pixels()
{
    KXToolBar bar;
    bar.resize(257, 16);
    bar.setValue(50);
    for (int i = 0; i < 100; ++i)
        bar.tick();
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.size(), QSize(257, 16));
    const QColor fill = image.pixelColor(5, 8);
    const QColor track = image.pixelColor(200, 8);
    // Frame columns and rows are black, the track a dark grey, the fill green.
    for (int y : {0, 4, 8, 15})
        QCOMPARE(image.pixelColor(0, y), QColor(Qt::black));
    for (int y : {0, 8, 15})
        QCOMPARE(image.pixelColor(256, y), QColor(Qt::black));
    QCOMPARE(image.pixelColor(200, 0), QColor(Qt::black));
    QCOMPARE(track, QColor(102, 102, 102));
    QVERIFY(fill.green() > fill.red() + 50);
    // The fill ends at x 131; the glint shows from x 100 to 129 and is cut at 130.
    QCOMPARE(image.pixelColor(131, 8), fill);
    QCOMPARE(image.pixelColor(132, 8), track);
    QCOMPARE(image.pixelColor(130, 8), fill);
    QCOMPARE(image.pixelColor(99, 8), fill);
    QVERIFY(image.pixelColor(129, 8).red() > fill.red());
    QVERIFY(image.pixelColor(129, 8).green() >= fill.green());
    QCOMPARE(image.pixelColor(129, 0), QColor(Qt::black));
}

void TestKXToolBar::timerRunsFromCreation()
{
    KXToolBar bar;
    bar.resize(257, 16);
    bar.setValue(100);
    QVERIFY(bar.isTickTimerActive());
    QTRY_VERIFY_WITH_TIMEOUT(bar.glintPosition() >= 3, 2000);
}

QTEST_MAIN(TestKXToolBar)
#include "tst_kxtoolbar.moc"

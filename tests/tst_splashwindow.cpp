#include "quietopacity.h"
#include "splashwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace kq;

namespace {

// A splash whose main window is a counter, so every hand-over is seen.
struct Splash
{
    int shown = 0;
    SplashWindow window{[this] { ++shown; }};
    QTimer *timer = window.findChild<QTimer *>("time");

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            window.tick();
    }
    int shownAlpha() const { return qRound(window.windowOpacity() * 255); }
};

} // namespace

class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void borderlessPictureInTheMiddle();
    void stateAfterTicks_data();
    void stateAfterTicks();
    void wholeRun();
    void timerDrivesTheTicks();
    void clickSkipsToTheMainWindow_data();
    void clickSkipsToTheMainWindow();
    void closingEarlyStillShowsTheMainWindow();
};

void TestSplashWindow::initTestCase()
{
    gOuterHandler = qInstallMessageHandler(quietOpacityWarnings);
}

void TestSplashWindow::borderlessPictureInTheMiddle()
{
    Splash s;
    QCOMPARE(s.window.objectName(), QString("splash"));
    QVERIFY(s.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(s.window.windowType(), Qt::SplashScreen);

    const auto *pct = s.window.findChild<QLabel *>("pct");
    QVERIFY(pct);
    QCOMPARE(pct->pixmap().size(), QSize(569, 198));
    QCOMPARE(s.window.size(), QSize(569, 198));
    QCOMPARE(pct->geometry(), s.window.rect());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((s.window.geometry().center() - screen.center()).manhattanLength() <= 1);
}

void TestSplashWindow::stateAfterTicks_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("phase");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("shown");

    QTest::newRow("opened, waiting a second") << 0 << 0 << 0 << 1000 << false << 0;
    QTest::newRow("first fade-in step") << 1 << 0 << 6 << 10 << true << 0;
    QTest::newRow("half way in") << 21 << 0 << 126 << 10 << true << 0;
    QTest::newRow("last fade-in step") << 42 << 0 << 252 << 10 << true << 0;
    QTest::newRow("resting at full") << 43 << 1 << 252 << 2000 << true << 0;
    QTest::newRow("first fade-out step") << 44 << 1 << 250 << 10 << true << 0;
    QTest::newRow("last fade-out step") << 85 << 1 << 4 << 10 << true << 0;
    QTest::newRow("resting faint") << 86 << 2 << 4 << 2000 << true << 0;
    QTest::newRow("main window shown") << 87 << 2 << 4 << 2000 << false << 1;
    QTest::newRow("later ticks change nothing") << 95 << 2 << 4 << 2000 << false << 1;
}

void TestSplashWindow::stateAfterTicks()
{
    QFETCH(int, ticks);
    QFETCH(int, phase);
    QFETCH(int, alpha);
    QFETCH(int, interval);
    QFETCH(bool, visible);
    QFETCH(int, shown);

    Splash s;
    s.ticks(ticks);
    QCOMPARE(s.window.phase(), phase);
    QCOMPARE(s.shownAlpha(), alpha);
    QCOMPARE(s.timer->interval(), interval);
    QCOMPARE(s.timer->isActive(), shown == 0);
    QCOMPARE(s.window.isVisible(), visible);
    QCOMPARE(s.shown, shown);
}

// Follows every tick: the timer's intervals, the opacity of each step and the moment the main
// window appears.
void TestSplashWindow::wholeRun()
{
    Splash s;
    QList<int> intervals{s.timer->interval()};
    QList<int> stepsIn;
    QList<int> stepsOut;
    int ticks = 0;
    while (s.timer->isActive() && ticks < 200) {
        const int before = s.shownAlpha();
        s.window.tick();
        ++ticks;
        const int after = s.shownAlpha();
        if (after > before)
            stepsIn.append(after);
        else if (after < before)
            stepsOut.append(after);
        if (s.timer->isActive() && s.timer->interval() != intervals.last())
            intervals.append(s.timer->interval());
        QCOMPARE(s.shown, s.timer->isActive() ? 0 : 1);
    }
    QList<int> expectedIn;
    QList<int> expectedOut;
    for (int i = 1; i <= 42; ++i) {
        expectedIn.append(6 * i);
        expectedOut.append(256 - 6 * i);
    }
    QCOMPARE(intervals, QList<int>({1000, 10, 2000, 10, 2000}));
    QCOMPARE(stepsIn, expectedIn);
    QCOMPARE(stepsOut, expectedOut);
    QCOMPARE(ticks, 87);
    QCOMPARE(s.shown, 1);
    QVERIFY(!s.window.isVisible());
}

void TestSplashWindow::timerDrivesTheTicks()
{
    Splash s;
    QVERIFY(s.timer->isActive());
    s.timer->start(0);
    QTRY_VERIFY(s.window.opacity() >= 12);
    QVERIFY(s.window.isVisible());
}

void TestSplashWindow::clickSkipsToTheMainWindow_data()
{
    QTest::addColumn<int>("ticks");
    QTest::newRow("fading in") << 10;
    QTest::newRow("resting at full") << 43;
    QTest::newRow("fading out") << 60;
    QTest::newRow("resting faint") << 86;
}

void TestSplashWindow::clickSkipsToTheMainWindow()
{
    QFETCH(int, ticks);
    Splash s;
    s.ticks(ticks);
    QVERIFY(s.window.isVisible());

    QTest::mouseClick(s.window.findChild<QLabel *>("pct"), Qt::LeftButton);
    QCOMPARE(s.shown, 1);
    QVERIFY(!s.window.isVisible());
    QVERIFY(!s.timer->isActive());

    s.ticks(100);
    QCOMPARE(s.shown, 1);
}

void TestSplashWindow::closingEarlyStillShowsTheMainWindow()
{
    Splash s;
    s.ticks(5);
    QVERIFY(s.window.close());
    QCOMPARE(s.shown, 1);
    QVERIFY(!s.timer->isActive());
    s.ticks(100);
    QCOMPARE(s.shown, 1);
}

QTEST_MAIN(TestSplashWindow)
#include "tst_splashwindow.moc"

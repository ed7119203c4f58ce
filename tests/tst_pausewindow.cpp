#include "pausewindow.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kq;

namespace {

DialogRecord pause(qint16 time)
{
    DialogRecord record = DialogRecord::cleared();
    record.type = DialogRecord::Pause;
    record.time = time;
    record.btn1 = QStringLiteral("%0127");
    record.btnscr1 = QStringLiteral("Идти Далее");
    return DialogRecord::fromBytes(record.toBytes());
}

} // namespace

class TestPauseWindow : public QObject
{
    Q_OBJECT

private slots:
    void invisible();
    void interval_data();
    void interval();
    void tickEndsThePause();
    void noTimeEndsAtOnce_data();
    void noTimeEndsAtOnce();
    void playModal();
    void stepKind_data();
    void stepKind();
};

void TestPauseWindow::invisible()
{
    PauseWindow window(pause(3));
    QCOMPARE(window.objectName(), QStringLiteral("nthg"));
    QCOMPARE(window.size(), QSize(6, 6));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(window.testAttribute(Qt::WA_DontShowOnScreen));
    QVERIFY(window.findChildren<QWidget *>().isEmpty());

    // Esc cannot cut the pause short.
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

void TestPauseWindow::interval_data()
{
    QTest::addColumn<qint16>("time");
    QTest::addColumn<int>("interval");

    QTest::newRow("1") << qint16(1) << 1000;
    QTest::newRow("9") << qint16(9) << 9000;
    QTest::newRow("33, past 16 bits") << qint16(33) << 33000;
    QTest::newRow("32767") << qint16(32767) << 32767000;
}

void TestPauseWindow::interval()
{
    QFETCH(qint16, time);
    QFETCH(int, interval);
    PauseWindow window(pause(time));
    QCOMPARE(window.interval(), interval);
    QCOMPARE(window.findChild<QTimer *>(QStringLiteral("wait"))->interval(), interval);
    QVERIFY(PauseStep().waits(pause(time)));
}

void TestPauseWindow::tickEndsThePause()
{
    PauseWindow window(pause(3), 0, 2);
    window.show();
    QSignalSpy finished(&window, &QDialog::finished);
    QCOMPARE(window.stepResult(), qint16(2));
    window.tick();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(window.stepResult(), qint16(1));
    QVERIFY(!window.isVisible());
    QVERIFY(!window.findChild<QTimer *>(QStringLiteral("wait"))->isActive());
}

void TestPauseWindow::noTimeEndsAtOnce_data()
{
    QTest::addColumn<qint16>("time");
    QTest::newRow("0") << qint16(0);
    QTest::newRow("-1") << qint16(-1);
    QTest::newRow("-32768") << qint16(-32768);
}

void TestPauseWindow::noTimeEndsAtOnce()
{
    QFETCH(qint16, time);
    PauseWindow window(pause(time), 0, 2);
    bool shown = false;
    // Only a running modal loop would fire this; it also keeps a wrong window from hanging.
    QTimer::singleShot(0, &window, [&] {
        shown = true;
        window.done(0);
    });
    QCOMPARE(window.play(), qint16(1));
    QVERIFY(!shown);
    QVERIFY(!PauseStep().waits(pause(time)));
}

void TestPauseWindow::playModal()
{
    PauseWindow window(pause(2));
    bool waited = false;
    QTimer::singleShot(0, &window, [&] {
        waited = window.isModal() && window.findChild<QTimer *>(QStringLiteral("wait"))->isActive();
        window.tick();
    });
    QTimer::singleShot(5000, &window, [&] { window.done(-1); });
    QCOMPARE(window.play(), qint16(1));
    QVERIFY(waited);
}

void TestPauseWindow::stepKind_data()
{
    QTest::addColumn<qint16>("style");
    QTest::newRow("system look") << qint16(0);
    QTest::newRow("style 9: a pause needs no look") << qint16(9);
}

void TestPauseWindow::stepKind()
{
    QFETCH(qint16, style);
    PauseStep step;
    QCOMPARE(step.play(pause(0), style, 2), std::optional<qint16>(1));
}

QTEST_MAIN(TestPauseWindow)
#include "tst_pausewindow.moc"

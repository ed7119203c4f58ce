#include "progresswindow.h"

#include "buttonscript.h"
#include "kxbutton.h"
#include "kxtoolbar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kq;

namespace {

DialogRecord progress(qint16 time, const QString &btn1,
                      const QString &script1 = ButtonScript::GoNext)
{
    DialogRecord record = DialogRecord::cleared();
    record.type = DialogRecord::Progress;
    record.caption = QStringLiteral("Форматирование");
    record.text = QStringLiteral("Форматирование диска C:");
    record.ico = 1;
    record.time = time;
    record.btn1 = btn1;
    record.btn2 = QStringLiteral("%0126");
    record.btnscr1 = script1;
    record.btnscr2 = ButtonScript::Exit;
    return DialogRecord::fromBytes(record.toBytes());
}

QString buttonOf(qint16 style)
{
    return style == 0 ? QStringLiteral("msg_btn1") : QStringLiteral("msg_btn2");
}

int visibleBarValue(ProgressWindow &window, qint16 style)
{
    if (style == 0)
        return window.findChild<QProgressBar *>(QStringLiteral("msg_prg2"))->value();
    return window.findChild<KXToolBar *>(QStringLiteral("msg_prg1"))->value();
}

} // namespace

class TestProgressWindow : public QObject
{
    Q_OBJECT

private slots:
    void look_data() { addStyles(); }
    void look();
    void fillsInHundredTicks_data() { addStyles(); }
    void fillsInHundredTicks();
    void buttonPress_data() { addStyles(); }
    void buttonPress();
    void noActionButton_data() { addStyles(); }
    void noActionButton();
    void blankButton_data() { addStyles(); }
    void blankButton();
    void interval_data();
    void interval();
    void ticksNeverComeEarly();
    void noTimeEndsAtOnce_data();
    void noTimeEndsAtOnce();
    void playModal_data() { addStyles(); }
    void playModal();
    void stepKind();

private:
    static void addStyles();
};

void TestProgressWindow::addStyles()
{
    QTest::addColumn<qint16>("style");
    QTest::newRow("system look") << qint16(0);
    QTest::newRow("skinned look") << qint16(1);
}

void TestProgressWindow::look()
{
    QFETCH(qint16, style);
    ProgressWindow window(progress(5, QStringLiteral(" Отмена ")), style);
    QCOMPARE(window.objectName(), QStringLiteral("prgf"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Форматирование"));
    QCOMPARE(window.size(), QSize(360, 116));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    // Only a close box, as the message window has.
    QCOMPARE(window.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
             Qt::WindowCloseButtonHint);

    auto *bar = window.findChild<QProgressBar *>(QStringLiteral("msg_prg2"));
    auto *counter = window.findChild<KXToolBar *>(QStringLiteral("msg_prg1"));
    auto *button = window.findChild<QPushButton *>(QStringLiteral("msg_btn1"));
    auto *skinned = window.findChild<KXButton *>(QStringLiteral("msg_btn2"));
    QCOMPARE(bar->geometry(), QRect(72, 56, 257, 17));
    QCOMPARE(counter->geometry(), QRect(72, 56, 257, 16));
    QCOMPARE(button->geometry(), QRect(232, 80, 97, 25));
    QCOMPARE(skinned->geometry(), QRect(232, 80, 97, 25));
    QCOMPARE(button->text(), QStringLiteral("Отмена"));
    QCOMPARE(skinned->caption(), QStringLiteral("Отмена"));
    QCOMPARE(skinned->mode(), KXButton::Mode::Raised);
    QCOMPARE(skinned->align(), KXButton::Align::Centred);
    QCOMPARE(bar->isHidden(), style == 1);
    QCOMPARE(button->isHidden(), style == 1);
    QCOMPARE(counter->isHidden(), style == 0);
    QCOMPARE(skinned->isHidden(), style == 0);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("msg_text"))->pos(), QPoint(72, 16));
    QCOMPARE(window.palette().color(QPalette::Window), StepWindow::background(style));

    // Cell 0 is empty, but the box stays.
    DialogRecord noIcon = progress(5, QString());
    noIcon.ico = 0;
    ProgressWindow iconless(noIcon, style);
    QVERIFY(!iconless.findChild<QLabel *>(QStringLiteral("msg_icon"))->isHidden());
}

void TestProgressWindow::fillsInHundredTicks()
{
    QFETCH(qint16, style);
    ProgressWindow window(progress(5, QStringLiteral("Отмена")), style);
    QSignalSpy finished(&window, &QDialog::finished);
    for (int i = 1; i <= 100; ++i) {
        window.tick();
        QCOMPARE(visibleBarValue(window, style), i);
    }
    QCOMPARE(finished.count(), 0);
    QCOMPARE(window.findChild<QProgressBar *>(QStringLiteral("msg_prg2"))->value(), 100);
    QCOMPARE(window.findChild<KXToolBar *>(QStringLiteral("msg_prg1"))->value(), 100);

    window.tick();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(window.stepResult(), qint16(2));
    QVERIFY(!window.findChild<QTimer *>(QStringLiteral("msg_time"))->isActive());
}

void TestProgressWindow::buttonPress()
{
    QFETCH(qint16, style);
    ProgressWindow window(progress(5, QStringLiteral("Отмена")), style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(&window, &QDialog::finished);
    for (int i = 0; i < 40; ++i)
        window.tick();
    QTest::mouseClick(window.findChild<QWidget *>(buttonOf(style)), Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(window.stepResult(), qint16(1));
}

void TestProgressWindow::noActionButton()
{
    QFETCH(qint16, style);
    ProgressWindow window(progress(5, QStringLiteral("Отмена"), ButtonScript::NoAction), style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(&window, &QDialog::finished);
    for (int i = 0; i < 3; ++i) {
        window.tick();
        QTest::mouseClick(window.findChild<QWidget *>(buttonOf(style)), Qt::LeftButton);
    }
    QVERIFY(window.close() == false);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(visibleBarValue(window, style), 3);
    for (int i = 0; i < 98; ++i)
        window.tick();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(window.stepResult(), qint16(2));
}

void TestProgressWindow::blankButton()
{
    QFETCH(qint16, style);
    ProgressWindow window(progress(5, QStringLiteral("     ")), style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("msg_btn1"))->isVisible());
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("msg_btn2"))->isVisible());
    // Without a button only the full bar ends the step; the close box and Esc do nothing.
    QVERIFY(!window.close());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

void TestProgressWindow::interval_data()
{
    QTest::addColumn<qint16>("time");
    QTest::addColumn<int>("interval");

    QTest::newRow("1") << qint16(1) << 10;
    QTest::newRow("5") << qint16(5) << 50;
    QTest::newRow("9") << qint16(9) << 90;
    QTest::newRow("33, past 16 bits") << qint16(33) << 330;
    QTest::newRow("1000") << qint16(1000) << 10000;
    QTest::newRow("32767") << qint16(32767) << 327670;
}

void TestProgressWindow::interval()
{
    QFETCH(qint16, time);
    QFETCH(int, interval);
    ProgressWindow window(progress(time, QStringLiteral("Отмена")), 0);
    QCOMPARE(window.interval(), interval);
    QCOMPARE(window.findChild<QTimer *>(QStringLiteral("msg_time"))->interval(), interval);
    QVERIFY(ProgressStep().waits(progress(time, QStringLiteral("Отмена"))));
}

void TestProgressWindow::ticksNeverComeEarly()
{
    // A bar of 9 seconds ticks every 90 ms and must not end before 9.09 s; a dozen ticks tell
    // whether each comes on time (a busy machine can only make them late).
    constexpr int tickCount = 12;
    ProgressWindow window(progress(9, QString()), 0);
    QTimer *time = window.findChild<QTimer *>(QStringLiteral("msg_time"));
    QElapsedTimer clock;
    int ticks = 0;
    connect(time, &QTimer::timeout, &window, [&] {
        if (++ticks == tickCount)
            window.done(0);
    });
    clock.start();
    window.play();
    QCOMPARE(ticks, tickCount);
    QVERIFY2(clock.elapsed() >= tickCount * 90 - 1,
             qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(tickCount).arg(clock.elapsed())));
}

void TestProgressWindow::noTimeEndsAtOnce_data()
{
    QTest::addColumn<qint16>("time");
    QTest::addColumn<qint16>("style");
    QTest::newRow("0") << qint16(0) << qint16(0);
    QTest::newRow("0, skinned") << qint16(0) << qint16(1);
    QTest::newRow("-1") << qint16(-1) << qint16(0);
    QTest::newRow("-32768") << qint16(-32768) << qint16(1);
}

void TestProgressWindow::noTimeEndsAtOnce()
{
    QFETCH(qint16, time);
    QFETCH(qint16, style);
    ProgressWindow window(progress(time, QStringLiteral("Отмена")), style, 1);
    bool shown = false;
    // Only a running modal loop would fire this; it also keeps a wrong window from hanging.
    QTimer::singleShot(0, &window, [&] {
        shown = true;
        window.done(0);
    });
    QCOMPARE(window.play(), qint16(2));
    QVERIFY(!shown);
    QVERIFY(!ProgressStep().waits(progress(time, QStringLiteral("Отмена"))));
}

void TestProgressWindow::playModal()
{
    QFETCH(qint16, style);
    ProgressWindow window(progress(1, QString()), style);
    QSignalSpy shown(&window, &QDialog::finished);
    QTimer::singleShot(0, &window, [&] {
        QVERIFY(window.isModal());
        QVERIFY(window.findChild<QTimer *>(QStringLiteral("msg_time"))->isActive());
        for (int i = 0; i <= 100; ++i)
            window.tick();
    });
    QTimer::singleShot(5000, &window, [&] { window.done(-1); });
    QCOMPARE(window.play(), qint16(2));
    QCOMPARE(shown.count(), 1);
}

void TestProgressWindow::stepKind()
{
    ProgressStep step;
    QVERIFY(!step.play(progress(5, QString()), 3, 0).has_value());
    QCOMPARE(step.play(progress(0, QString()), 1, 0), std::optional<qint16>(2));
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"

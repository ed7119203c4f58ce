#include "messagewindow.h"
#include "progresswindow.h"

#include "buttonscript.h"
#include "iconstrips.h"
#include "kxbutton.h"
#include "projectfile.h"
#include "steploop.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kq;
namespace {

// A record as the runner reads it from disk: every text field padded to its full width.
DialogRecord message(const QString &text, qint16 ico, const QString &btn2,
                     const QString &script1 = ButtonScript::GoNext,
                     const QString &script2 = ButtonScript::GoNext)
{
    DialogRecord record = DialogRecord::cleared();
    record.type = DialogRecord::Message;
    record.caption = QStringLiteral("Вопрос");
    record.text = text;
    record.ico = ico;
    record.btn1 = QStringLiteral("Да");
    record.btn2 = btn2;
    record.btnscr1 = script1;
    record.btnscr2 = script2;
    return DialogRecord::fromBytes(record.toBytes());
}

QString tenLines()
{
    QStringList lines;
    for (int i = 1; i <= 10; ++i)
        lines << QStringLiteral("Строка номер %1").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

QWidget *child(QWidget &window, const QString &name)
{
    return window.findChild<QWidget *>(name);
}

QLabel *label(QWidget &window, const QString &name)
{
    return window.findChild<QLabel *>(name);
}

} // namespace

class TestMessageWindow : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void buttonPlacement_data();
    void buttonPlacement();
    void look_data();
    void look();
    void iconOutsideStrip_data();
    void iconOutsideStrip();
    void noActionButton_data();
    void noActionButton();
    void closeBox_data();
    void closeBox();
    void closeBoxEndsRun_data();
    void closeBoxEndsRun();
    void playModal_data();
    void playModal();
    void stepKind_data();
    void stepKind();
    void readableByAssistiveTechnology_data();
    void readableByAssistiveTechnology();
    void minimisedWindowComesBack_data();
    void minimisedWindowComesBack();
};

void TestMessageWindow::layout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint16>("ico");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("textLeft");
    QTest::addColumn<bool>("buttonsUnderText");

    const QString line = QStringLiteral("Вы уверены, что хотите продолжить?");
    QTest::newRow("icon, one line") << line << qint16(3) << 1 << 58 << false;
    QTest::newRow("no icon, one line") << line << qint16(0) << 1 << 10 << false;
    QTest::newRow("ten lines") << tenLines() << qint16(4) << 10 << 58 << true;
    QTest::newRow("ten lines without icon") << tenLines() << qint16(0) << 10 << 10 << true;
    QTest::newRow("300 characters, no wrap") << QString(300, u'ж') << qint16(0) << 1 << 10 << false;
    QTest::newRow("512 characters with icon")
        << QString(512, u'W') << qint16(1) << 1 << 58 << false;
}

void TestMessageWindow::layout()
{
    QFETCH(QString, text);
    QFETCH(qint16, ico);
    QFETCH(int, lines);
    QFETCH(int, textLeft);
    QFETCH(bool, buttonsUnderText);

    MessageWindow window(message(text, ico, QStringLiteral("Нет")), 0);
    QLabel *msgText = label(window, QStringLiteral("msg_text"));
    QVERIFY(msgText);
    QCOMPARE(msgText->pos(), QPoint(textLeft, 15));
    QVERIFY(!msgText->text().contains(u'\r'));

    const QFontMetrics metrics(msgText->font());
    QVERIFY(msgText->height() >= lines * metrics.lineSpacing());
    QVERIFY(msgText->height() < (lines + 1) * metrics.lineSpacing());
    int widest = 0;
    for (const QString &part : msgText->text().split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(part));
    QVERIFY(msgText->width() >= widest);

    const int buttonTop = buttonsUnderText ? msgText->y() + msgText->height() + 15 : 63;
    if (buttonsUnderText)
        QVERIFY(buttonTop > 63);
    for (const char *name : {"msg_btn1", "msg_btn2", "msg_btn3", "msg_btn4"})
        QCOMPARE(child(window, QString::fromLatin1(name))->y(), buttonTop);

    // The outer frame of the layout is 3 pixels at the sides and a 25-pixel title bar.
    // A window is never narrower than its two buttons and their margins.
    QCOMPARE(window.width(), qMax(textLeft + msgText->width() + 25 - 6, 2 * 97 + 15 + 2 * 15));
    QCOMPARE(window.height(), buttonTop + 25 + 35 - 31);
    if (!buttonsUnderText)
        QCOMPARE(window.height(), 123 - 31);
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

void TestMessageWindow::buttonPlacement_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("btn2");
    QTest::addColumn<qint16>("style");

    const QString wide =
        QStringLiteral("Этот текст шире, чем пара кнопок под ним вместе с промежутком");
    QTest::newRow("blank btn2") << wide << QString() << qint16(0);
    QTest::newRow("btn2 of spaces, skinned") << wide << QStringLiteral("     ") << qint16(1);
    QTest::newRow("one button, short text") << QStringLiteral("Да?") << QString() << qint16(0);
    QTest::newRow("two buttons") << wide << QStringLiteral("Нет") << qint16(0);
    QTest::newRow("two buttons, skinned") << wide << QStringLiteral("Нет") << qint16(1);
    QTest::newRow("two buttons, short text")
        << QStringLiteral("Да?") << QStringLiteral("Нет") << qint16(0);
}

void TestMessageWindow::buttonPlacement()
{
    QFETCH(QString, text);
    QFETCH(QString, btn2);
    QFETCH(qint16, style);

    MessageWindow window(message(text, 0, btn2), style);
    const int client = window.width();
    QWidget *button1 = child(window, QStringLiteral("msg_btn1"));
    QWidget *button2 = child(window, QStringLiteral("msg_btn2"));
    QWidget *skinned1 = child(window, QStringLiteral("msg_btn3"));
    QWidget *skinned2 = child(window, QStringLiteral("msg_btn4"));
    QCOMPARE(button1->size(), QSize(97, 25));
    QCOMPARE(skinned1->size(), QSize(97, 25));
    QCOMPARE(skinned1->pos(), button1->pos());

    if (trimmedSpaces(btn2).isEmpty()) {
        QVERIFY(button2->isHidden());
        QVERIFY(skinned2->isHidden());
        QCOMPARE(button1->x(), client / 2 - 97 / 2);
        QVERIFY(button1->x() >= 15);
        return;
    }

    QVERIFY(!(style == 0 ? button2 : skinned2)->isHidden());
    QCOMPARE(skinned2->pos(), button2->pos());
    QCOMPARE(button2->x() - (button1->x() + 97), 15);
    const int pairMiddle = (button1->x() + button2->x() + 97) / 2;
    QVERIFY(qAbs(pairMiddle - client / 2) <= 1);
    // However short the text, both buttons show whole, with a margin at each side.
    QVERIFY(button1->x() >= 15);
    QVERIFY(button2->x() + 97 <= client - 15);
}

void TestMessageWindow::look_data()
{
    QTest::addColumn<qint16>("style");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QColor>("background");

    QTest::newRow("system look") << qint16(0)
                                 << QStringList{QStringLiteral("msg_btn1"),
                                                QStringLiteral("msg_btn2")}
                                 << QStringList{QStringLiteral("msg_btn3"),
                                                QStringLiteral("msg_btn4")}
                                 << QApplication::palette().color(QPalette::Button);
    QTest::newRow("skinned look") << qint16(1)
                                  << QStringList{QStringLiteral("msg_btn3"),
                                                 QStringLiteral("msg_btn4")}
                                  << QStringList{QStringLiteral("msg_btn1"),
                                                 QStringLiteral("msg_btn2")}
                                  << QColor(240, 240, 240);
}

void TestMessageWindow::look()
{
    QFETCH(qint16, style);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, hidden);
    QFETCH(QColor, background);

    MessageWindow window(message(QStringLiteral("Текст"), 3, QStringLiteral("  Нет ")), style);
    QCOMPARE(window.objectName(), QStringLiteral("msgf"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Вопрос"));
    for (const QString &name : shown)
        QVERIFY2(!child(window, name)->isHidden(), qPrintable(name));
    for (const QString &name : hidden)
        QVERIFY2(child(window, name)->isHidden(), qPrintable(name));
    QCOMPARE(window.palette().color(QPalette::Window), background);
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);

    auto *skinned = window.findChild<KXButton *>(QStringLiteral("msg_btn4"));
    QCOMPARE(skinned->caption(), QStringLiteral("Нет"));
    QCOMPARE(skinned->align(), KXButton::Align::Centred);
    QCOMPARE(skinned->mode(), KXButton::Mode::Raised);
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("msg_btn1"))->text(),
             QStringLiteral("Да"));

    // The icon is cell 3 of the style's own strip on the window background.
    const QImage icon = label(window, QStringLiteral("msg_icon"))
                            ->pixmap()
                            .toImage()
                            .convertToFormat(QImage::Format_ARGB32);
    const QImage cell =
        iconStrip(style).copy(3 * 32, 0, 32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(icon.size(), QSize(32, 32));
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb source = cell.pixel(x, y);
            if (qAlpha(source) == 255) {
                QCOMPARE(icon.pixel(x, y), source);
                ++opaque;
            } else if (qAlpha(source) == 0) {
                QCOMPARE(QColor(icon.pixel(x, y)), background);
            }
        }
    }
    QVERIFY(opaque > 100);
}

void TestMessageWindow::iconOutsideStrip_data()
{
    QTest::addColumn<qint16>("ico");
    QTest::newRow("6") << qint16(6);
    QTest::newRow("200") << qint16(200);
    QTest::newRow("-1") << qint16(-1);
    QTest::newRow("-32768") << qint16(-32768);
}

void TestMessageWindow::iconOutsideStrip()
{
    QFETCH(qint16, ico);
    for (const qint16 style : {qint16(0), qint16(1)}) {
        MessageWindow window(message(QStringLiteral("Текст"), ico, QString()), style);
        QLabel *icon = label(window, QStringLiteral("msg_icon"));
        QVERIFY(!icon->isHidden());
        QCOMPARE(label(window, QStringLiteral("msg_text"))->x(), 58);
        const QImage image = icon->pixmap().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                QCOMPARE(QColor(image.pixel(x, y)), StepWindow::background(style));
        }
    }
}

void TestMessageWindow::noActionButton_data()
{
    QTest::addColumn<qint16>("style");
    QTest::addColumn<QString>("script1");
    QTest::addColumn<QString>("script2");
    QTest::addColumn<QString>("idle");
    QTest::addColumn<QString>("acting");
    QTest::addColumn<int>("result");

    QTest::newRow("button 1 does nothing")
        << qint16(0) << ButtonScript::NoAction << ButtonScript::Exit << QStringLiteral("msg_btn1")
        << QStringLiteral("msg_btn2") << 2;
    QTest::newRow("button 2 does nothing")
        << qint16(0) << ButtonScript::GoBack << ButtonScript::NoAction << QStringLiteral("msg_btn2")
        << QStringLiteral("msg_btn1") << 1;
    QTest::newRow("skinned button 1 does nothing")
        << qint16(1) << ButtonScript::NoAction << ButtonScript::GoNext << QStringLiteral("msg_btn3")
        << QStringLiteral("msg_btn4") << 2;
    QTest::newRow("skinned button 2 does nothing")
        << qint16(1) << ButtonScript::goTo(4) << ButtonScript::NoAction
        << QStringLiteral("msg_btn4") << QStringLiteral("msg_btn3") << 1;
}

void TestMessageWindow::noActionButton()
{
    QFETCH(qint16, style);
    QFETCH(QString, script1);
    QFETCH(QString, script2);
    QFETCH(QString, idle);
    QFETCH(QString, acting);
    QFETCH(int, result);

    MessageWindow window(
        message(QStringLiteral("Текст"), 2, QStringLiteral("Нет"), script1, script2), style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy finished(&window, &QDialog::finished);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(child(window, idle), Qt::LeftButton);
    QVERIFY(window.isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(window.stepResult(), 0);

    QTest::mouseClick(child(window, acting), Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.stepResult(), result);
}

void TestMessageWindow::closeBox_data()
{
    QTest::addColumn<QString>("btn2");
    QTest::addColumn<QString>("script1");
    QTest::addColumn<QString>("script2");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("result");

    const QString yes = ButtonScript::GoNext;
    const QString no = ButtonScript::NoAction;
    const QString two = QStringLiteral("Нет");
    const int endRun = StepKind::EndRun;
    QTest::newRow("acts as button 2") << two << no << yes << false << 2;
    QTest::newRow("button 2 does nothing: ends the run") << two << yes << no << false << endRun;
    QTest::newRow("one button: acts as button 1") << QString() << yes << no << false << 1;
    QTest::newRow("the one button does nothing: ends the run")
        << QString() << no << yes << false << endRun;
    QTest::newRow("no-action script with spaces")
        << QString() << QStringLiteral(" Нет ") << yes << false << endRun;
    QTest::newRow("Esc acts as button 2") << two << no << yes << true << 2;
    QTest::newRow("Esc, button 2 does nothing") << two << yes << no << true << endRun;
    QTest::newRow("Esc, the one button does nothing") << QString() << no << yes << true << endRun;
}

void TestMessageWindow::closeBox()
{
    QFETCH(QString, btn2);
    QFETCH(QString, script1);
    QFETCH(QString, script2);
    QFETCH(bool, escape);
    QFETCH(int, result);

    // A window must never trap its user: the close box always closes it.
    MessageWindow window(message(QStringLiteral("Текст"), 1, btn2, script1, script2), 0, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (escape)
        QTest::keyClick(&window, Qt::Key_Escape);
    else
        QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.stepResult(), result);
}

void TestMessageWindow::closeBoxEndsRun_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close box") << false;
    QTest::newRow("Esc") << true;
}

void TestMessageWindow::closeBoxEndsRun()
{
    QFETCH(bool, escape);
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("run.dll"));
    // The first message's only button does nothing; the second message must never come up.
    ProjectFile file;
    QVERIFY(file.open(data));
    DialogRecord header = DialogRecord::cleared();
    header.text = QStringLiteral("0");
    QVERIFY(file.write(1, header));
    QVERIFY(file.write(2, message(QStringLiteral("Первое"), 0, QString(), ButtonScript::NoAction,
                                  ButtonScript::NoAction)));
    QVERIFY(file.write(3, message(QStringLiteral("Второе"), 0, QString())));
    file.close();

    QStringList shown;
    QTimer closer;
    closer.setInterval(50);
    connect(&closer, &QTimer::timeout, this, [&] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || !window->isVisible())
            return;
        shown << window->findChild<QLabel *>(QStringLiteral("msg_text"))->text();
        // Should the window stay open, the run goes on past it rather than hanging the test.
        if (shown.size() > 2)
            static_cast<QDialog *>(window)->done(1);
        else if (escape)
            QTest::keyClick(window, Qt::Key_Escape);
        else
            window->close();
    });
    closer.start();

    MessageStep step;
    StepLoop loop;
    loop.setStepKind(DialogRecord::Message, &step);
    const StepLoop::Outcome outcome = loop.run(data, true);
    QCOMPARE(outcome.status, StepLoop::Status::Finished);
    QCOMPARE(shown, QStringList{QStringLiteral("Первое")});
    QVERIFY(!QFile::exists(data));
}

void TestMessageWindow::playModal_data()
{
    QTest::addColumn<qint16>("style");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("result");

    QTest::newRow("system button 2") << qint16(0) << QStringLiteral("msg_btn2") << 2;
    QTest::newRow("skinned button 1") << qint16(1) << QStringLiteral("msg_btn3") << 1;
}

void TestMessageWindow::playModal()
{
    QFETCH(qint16, style);
    QFETCH(QString, button);
    QFETCH(int, result);

    MessageWindow window(message(QStringLiteral("Текст"), 4, QStringLiteral("Нет")), style);
    bool inspected = false;
    QTimer::singleShot(0, &window, [&] {
        QVERIFY(window.isVisible());
        QVERIFY(window.isModal());
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(qAbs(window.geometry().center().x() - screen.center().x()) <= 20);
        QVERIFY(qAbs(window.geometry().center().y() - screen.center().y()) <= 30);
        inspected = true;
        QTest::mouseClick(child(window, button), Qt::LeftButton);
    });
    // A safety net: should the click not close the window, the test ends instead of hanging.
    QTimer::singleShot(5000, &window, [&] { window.done(-1); });
    QCOMPARE(window.play(), qint16(result));
    QVERIFY(inspected);
}

void TestMessageWindow::stepKind_data()
{
    QTest::addColumn<qint16>("style");
    QTest::addColumn<bool>("plays");

    QTest::newRow("system look") << qint16(0) << true;
    QTest::newRow("skinned look") << qint16(1) << true;
    QTest::newRow("style 2") << qint16(2) << false;
    QTest::newRow("style -1") << qint16(-1) << false;
}

void TestMessageWindow::stepKind()
{
    QFETCH(qint16, style);
    QFETCH(bool, plays);

    QTimer pressFirst;
    pressFirst.setSingleShot(true);
    connect(&pressFirst, &QTimer::timeout, this, [style] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QStringLiteral("msgf") && top->isVisible())
                QTest::mouseClick(child(*top, style == 0 ? QStringLiteral("msg_btn1")
                                                         : QStringLiteral("msg_btn3")),
                                  Qt::LeftButton);
        }
    });
    pressFirst.start(0);

    MessageStep step;
    const std::optional<qint16> result =
        step.play(message(QStringLiteral("Текст"), 5, QString()), style, 2);
    QCOMPARE(result.has_value(), plays);
    if (plays)
        QCOMPARE(*result, qint16(1));
    // A message always waits for its user, so the loop never takes it for an instant step.
    QVERIFY(step.waits(message(QStringLiteral("Текст"), 0, QString())));
}

void TestMessageWindow::readableByAssistiveTechnology_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint16>("style");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one line, system look") << "Продолжить?" << qint16(0) << "Продолжить?";
    QTest::newRow("lines, skinned look") << "Первая\r\nВторая" << qint16(1) << "Первая\nВторая";
    QTest::newRow("ampersand stays") << "Tom & Jerry" << qint16(1) << "Tom & Jerry";
}

void TestMessageWindow::readableByAssistiveTechnology()
{
    QFETCH(QString, text);
    QFETCH(qint16, style);
    QFETCH(QString, shown);
    MessageWindow window(message(text, 4, QStringLiteral("Нет")), style);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&window);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Вопрос"));
    QAccessibleInterface *textFace =
        QAccessible::queryAccessibleInterface(child(window, QStringLiteral("msg_text")));
    QCOMPARE(textFace->text(QAccessible::Name), shown);
    // The buttons of either look are push buttons named by their captions.
    const QStringList shownButtons =
        style == 0 ? QStringList{"msg_btn1", "msg_btn2"} : QStringList{"msg_btn3", "msg_btn4"};
    const QStringList captions{"Да", "Нет"};
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface *button =
            QAccessible::queryAccessibleInterface(child(window, shownButtons[i]));
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), captions[i]);
    }
}

void TestMessageWindow::minimisedWindowComesBack_data()
{
    QTest::addColumn<bool>("progress");
    QTest::addColumn<qint16>("style");
    for (const bool progress : {false, true}) {
        for (const qint16 style : {qint16(0), qint16(1)})
            QTest::addRow("%s, style %d", progress ? "progress" : "message", style)
                << progress << style;
    }
}

// A window manager may minimise a step window although it asks for no minimise box; the run
// waits for the step, so the window comes back instead of staying out of sight.
void TestMessageWindow::minimisedWindowComesBack()
{
    QFETCH(bool, progress);
    QFETCH(qint16, style);
    DialogRecord record = message(QStringLiteral("Текст"), 3, QStringLiteral("Нет"));
    record.time = 30;
    std::unique_ptr<QDialog> window;
    if (progress)
        window = std::make_unique<ProgressWindow>(record, style);
    else
        window = std::make_unique<MessageWindow>(record, style);
    QVERIFY(!(window->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(window->windowFlags() & Qt::WindowType_Mask, Qt::Dialog);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    window->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!(window->windowState() & Qt::WindowMinimized));
    QVERIFY(window->isVisible());
}

QTEST_MAIN(TestMessageWindow)
#include "tst_messagewindow.moc"

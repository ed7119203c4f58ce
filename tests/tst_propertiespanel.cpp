// The properties panel and the style options on the editing views of a document of their own:
// the fields each step type uses, what each box accepts and when it reaches the record, and the
// icon choice.

#include "tst_mainwindowfixture.h"

#include "iconpicture.h"
#include "iconstrips.h"
#include "olecolor.h"
#include "theme.h"

#include <QPainter>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// One dialog with every field filled, of the given type.
void fillDialog(QWidget &window, int type)
{
    setUpProject(window, [type](DialogProject &project) {
        fillProject(project, 1);
        DialogRecord &record = project.record(1);
        record.type = qint16(type);
        record.text = "Текст";
        record.caption = "Окно";
        record.btn1 = "Да";
        record.btn2 = "Нет";
        record.btnscr1 = "Выход";
        record.btnscr2 = "Идти Назад";
        record.ico = 3;
        record.time = 5;
    });
}

QImage expectedIcons(const QColor &background, const QColor &selection, int cell, int style)
{
    QImage image(192, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.fillRect(cell * 32, 0, 32, 32, selection);
    painter.drawPixmap(0, 0, iconStrip(style));
    return image;
}

} // namespace

class TestPropertiesPanel : public QObject
{
    Q_OBJECT

private slots:
    void init() { useDefaultSettings(); }

    void typeSwitchResetsFields_data();
    void typeSwitchResetsFields();
    void sameTypeWritesNothing();
    void loadingFillsHiddenButtonLabel_data();
    void loadingFillsHiddenButtonLabel();
    void timeBoxTakesWholeNumbers_data();
    void timeBoxTakesWholeNumbers();
    void iconClickMarksChanged_data();
    void iconClickMarksChanged();
    void projectStyleRedrawsStrip();
    void pauseShowsNoIcons();
    void scriptBoxNormalises_data();
    void scriptBoxNormalises();
    void fieldsWriteBackOnLeaving_data();
    void fieldsWriteBackOnLeaving();
    void textWriteBackRefreshesList();
    void textStopsAtFieldWidth_data();
    void textStopsAtFieldWidth();
    void editReachesRecordBeforeOtherDialogIsShown();

private:
    ProgramFolder mFolder;
};

void TestPropertiesPanel::typeSwitchResetsFields_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("fields"); // caption, btn1, btn2, btnscr1, btnscr2
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("enabled"); // time caption btn0 btn1 btnscr0 btnscr1 icons ins0 ins1

    QTest::newRow("message to pause")
        << 0 << 2 << QStringList{"", "<Конец паузы>", "", "Идти Далее", ""} << 5 << "100010010";
    QTest::newRow("message to progress")
        << 0 << 1 << QStringList{"Окно", "Да", "<Шкала полна>", "Нет", "Идти Далее"} << 5
        << "111011111";
    QTest::newRow("progress to message")
        << 1 << 0 << QStringList{"Окно", "Да", "Нет", "Нет", "Нет"} << 0 << "011111111";
    QTest::newRow("pause to message")
        << 2 << 0 << QStringList{"Окно", "Да", "Нет", "Нет", "Нет"} << 0 << "011111111";
}

void TestPropertiesPanel::typeSwitchResetsFields()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, fields);
    QFETCH(int, time);
    QFETCH(QString, enabled);
    Views window;
    fillDialog(window, from);
    QVERIFY(!document(window).isModified());

    child<QRadioButton>(&window, "msg_type" + QString::number(to))->click();

    const DialogRecord &record = document(window).project().record(1);
    QCOMPARE(record.type, to);
    QCOMPARE(trimmedRight(record.caption), fields[0]);
    QCOMPARE(trimmedRight(record.btn1), fields[1]);
    QCOMPARE(trimmedRight(record.btn2), fields[2]);
    QCOMPARE(trimmedRight(record.btnscr1), fields[3]);
    QCOMPARE(trimmedRight(record.btnscr2), fields[4]);
    QCOMPARE(record.time, time);
    QCOMPARE(record.ico, 3);
    QVERIFY(document(window).isModified());

    const QStringList names{"msg_time",    "msg_caption", "msg_btn0", "msg_btn1", "msg_btnscr0",
                            "msg_btnscr1", "msg_icons",   "scr_ins0", "scr_ins1"};
    for (int i = 0; i < names.size(); ++i)
        QVERIFY2(child<QWidget>(&window, names[i])->isEnabled() == (enabled[i] == u'1'),
                 qPrintable(names[i]));
    QCOMPARE(child<QLabel>(&window, "msg_lbltime")->isEnabled(), enabled[0] == u'1');
    QCOMPARE(child<QLabel>(&window, "msg_lblbtn2")->isEnabled(), enabled[3] == u'1');
    QCOMPARE(child<QLabel>(&window, "msg_lblico")->isEnabled(), enabled[6] == u'1');
}

void TestPropertiesPanel::sameTypeWritesNothing()
{
    Views window;
    fillDialog(window, 0);

    child<QRadioButton>(&window, "msg_type0")->click();

    QVERIFY(!document(window).isModified());
    QCOMPARE(child<QLineEdit>(&window, "msg_btnscr0")->text(), "Выход");
    QCOMPARE(trimmedRight(document(window).project().record(1).btnscr1), "Выход");
}

void TestPropertiesPanel::loadingFillsHiddenButtonLabel_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("btn1");
    QTest::addColumn<QString>("btn2");
    QTest::newRow("progress") << "russian.lang" << 1 << "Да"
                              << "<Шкала полна>";
    QTest::newRow("pause") << "russian.lang" << 2 << "<Конец паузы>"
                           << "Нет";
    QTest::newRow("progress in english") << "english.lang" << 1 << "Да"
                                         << "<Bar full>";
    QTest::newRow("message") << "russian.lang" << 0 << "Да"
                             << "Нет";
}

void TestPropertiesPanel::loadingFillsHiddenButtonLabel()
{
    QFETCH(QString, language);
    QFETCH(int, type);
    QFETCH(QString, btn1);
    QFETCH(QString, btn2);
    useSettings(language, "Themes/standart.tvth");
    Views window;
    fillDialog(window, type);

    // The box shows the label the runner never shows; the record keeps what it holds.
    QCOMPARE(child<QLineEdit>(&window, "msg_btn0")->text(), btn1);
    QCOMPARE(child<QLineEdit>(&window, "msg_btn1")->text(), btn2);
    QCOMPARE(trimmedRight(document(window).project().record(1).btn1), "Да");
    QCOMPARE(trimmedRight(document(window).project().record(1).btn2), "Нет");
    QVERIFY(!document(window).isModified());
}

void TestPropertiesPanel::timeBoxTakesWholeNumbers_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("time");
    QTest::newRow("letter") << "5" << int(Qt::Key_A) << "5" << 5;
    QTest::newRow("backspace") << "5" << int(Qt::Key_Backspace) << "" << 0;
    QTest::newRow("digit into empty box") << "" << int(Qt::Key_7) << "7" << 7;
    QTest::newRow("letter into empty box") << "" << int(Qt::Key_X) << "0" << 0;
    QTest::newRow("second digit") << "5" << int(Qt::Key_3) << "53" << 53;
    QTest::newRow("zero after the digit") << "5" << int(Qt::Key_0) << "50" << 50;
    QTest::newRow("five digits") << "3276" << int(Qt::Key_7) << "32767" << 32767;
    // The box holds only what a project stores: a digit past 32767 is refused, the number stays.
    QTest::newRow("past the runner's longest") << "9999" << int(Qt::Key_9) << "9999" << 9999;
    QTest::newRow("a minus sign") << "5" << int(Qt::Key_Minus) << "5" << 5;
}

void TestPropertiesPanel::timeBoxTakesWholeNumbers()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, after);
    QFETCH(int, time);
    Views window;
    fillDialog(window, 1);
    auto *box = child<QLineEdit>(&window, "msg_time");
    box->setText(before);

    QTest::keyClick(box, Qt::Key(key));

    QCOMPARE(box->text(), after);
    QCOMPARE(document(window).project().record(1).time, time);
    QCOMPARE(document(window).isModified(), time != 5);
}

void TestPropertiesPanel::iconClickMarksChanged_data()
{
    QTest::addColumn<int>("cell");
    for (int cell = 0; cell < 6; ++cell)
        QTest::addRow("cell %d", cell) << cell;
}

void TestPropertiesPanel::iconClickMarksChanged()
{
    QFETCH(int, cell);
    Views window;
    auto *icons = child<IconPicture>(&window, "msg_icons");

    QTest::mouseClick(child<QWidget>(icons, "icn" + QString::number(cell)), Qt::LeftButton);

    QCOMPARE(document(window).project().record(1).ico, cell);
    // The icon is part of the project: a click that changes it is an edit to ask about.
    QCOMPARE(document(window).isModified(), cell != 0);
    const QImage shown = icons->rendered();
    const QColor selection = colorFromOle(activeThemeColor("SelectionColor"));
    for (int other = 0; other < 6; ++other) {
        const QColor corner = shown.pixelColor(other * 32, 0);
        QCOMPARE(corner, other == cell ? selection : icons->background());
    }
}

void TestPropertiesPanel::projectStyleRedrawsStrip()
{
    Views window;
    panel(window).iconClick(2);
    auto *icons = child<IconPicture>(&window, "msg_icons");
    const QColor selection = colorFromOle(activeThemeColor("SelectionColor"));
    QCOMPARE(icons->rendered(), expectedIcons(icons->background(), selection, 2, 0));

    child<QRadioButton>(&window, "prj_st1")->click();

    QCOMPARE(trimmedRight(document(window).project().record(0).text), "1");
    QCOMPARE(icons->rendered(), expectedIcons(icons->background(), selection, 2, 1));
    QVERIFY(document(window).isModified());
}

void TestPropertiesPanel::pauseShowsNoIcons()
{
    Views window;
    fillDialog(window, 2);
    auto *icons = child<IconPicture>(&window, "msg_icons");
    QImage bare(192, 32, QImage::Format_ARGB32_Premultiplied);

    child<QRadioButton>(&window, "prj_st1")->click();

    QCOMPARE(trimmedRight(document(window).project().record(0).text), "1");
    bare.fill(icons->background());
    QCOMPARE(icons->rendered(), bare);
    QCOMPARE(icons->background(), colorFromOle(activeThemeColor("TextboxDisabledColor")));
}

void TestPropertiesPanel::scriptBoxNormalises_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("go back, small letters") << 0 << "идти назад"
                                            << "Идти Назад";
    QTest::newRow("exit and more words") << 1 << "выход сейчас"
                                         << "Выход";
    QTest::newRow("one-digit target") << 0 << "Идти К 5"
                                      << "Нет";
    QTest::newRow("two-digit target") << 1 << "идти к 07"
                                      << "Идти К 07";
    QTest::newRow("empty") << 0 << ""
                           << "Нет";
}

void TestPropertiesPanel::scriptBoxNormalises()
{
    QFETCH(int, button);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Views window;
    auto *box = child<QLineEdit>(&window, "msg_btnscr" + QString::number(button));
    box->setText(typed);

    leave(box);

    QCOMPARE(box->text(), stored);
    const DialogRecord &record = document(window).project().record(1);
    QCOMPARE(trimmedRight(button == 0 ? record.btnscr1 : record.btnscr2), stored);
    QVERIFY(document(window).isModified());
}

void TestPropertiesPanel::fieldsWriteBackOnLeaving_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("caption") << "msg_caption"
                             << "Внимание"
                             << "Внимание";
    QTest::newRow("button 1") << "msg_btn0"
                              << "Хорошо"
                              << "Хорошо";
    QTest::newRow("button 2") << "msg_btn1"
                              << "Отмена"
                              << "Отмена";
    QTest::newRow("long button") << "msg_btn1" << QString(20, u'ж') << QString(15, u'ж');
}

void TestPropertiesPanel::fieldsWriteBackOnLeaving()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Views window;
    auto *edit = child<QLineEdit>(&window, box);
    edit->setText(typed);
    QVERIFY(!document(window).isModified());

    leave(edit);

    const DialogRecord &record = document(window).project().record(1);
    const QString field = box == "msg_caption" ? record.caption
                          : box == "msg_btn0"  ? record.btn1
                                               : record.btn2;
    QCOMPARE(trimmedRight(field), stored);
    QVERIFY(document(window).isModified());
}

void TestPropertiesPanel::textWriteBackRefreshesList()
{
    Views window;
    auto *text = child<QPlainTextEdit>(&window, "msg_text");
    text->setPlainText("Первая строка\nвторая");

    leave(text);

    QCOMPARE(trimmedRight(document(window).project().record(1).text), "Первая строка\r\nвторая");
    QCOMPARE(entries(window), QStringList{"0. Первая строка  втора"});
    QVERIFY(document(window).isModified());
}

void TestPropertiesPanel::textStopsAtFieldWidth_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("boxLength");
    QTest::newRow("600 letters") << QString(600, u'а') << 512;
    QTest::newRow("line breaks count twice") << QString("ab\n").repeated(200) << 384;
    QTest::newRow("exactly full") << QString(512, u'б') << 512;
}

void TestPropertiesPanel::textStopsAtFieldWidth()
{
    QFETCH(QString, pasted);
    QFETCH(int, boxLength);
    Views window;
    auto *text = child<QPlainTextEdit>(&window, "msg_text");
    text->clear();
    text->insertPlainText(pasted);

    QCOMPARE(text->toPlainText().size(), boxLength);
    QCOMPARE(text->toPlainText(), pasted.left(boxLength));
    leave(text);
    QVERIFY(document(window).project().record(1).text.size() <= DialogRecord::TextWidth);
    QCOMPARE(document(window).project().record(1).text,
             QString(pasted.left(boxLength)).replace("\n", "\r\n"));
}

void TestPropertiesPanel::editReachesRecordBeforeOtherDialogIsShown()
{
    Views window;
    fillProject(window, 2);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setFocus();
    QTest::keyClicks(caption, "Fresh");

    auto *list = child<QListWidget>(&window, "dlg_list");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());

    QCOMPARE(document(window).currentDialog(), 2);
    QCOMPARE(trimmedRight(document(window).project().record(1).caption), "Fresh");
    QCOMPARE(trimmedRight(document(window).project().record(2).caption), QString());
    QCOMPARE(caption->text(), QString());
    QVERIFY(document(window).isModified());
}

QTEST_MAIN(TestPropertiesPanel)
#include "tst_propertiespanel.moc"

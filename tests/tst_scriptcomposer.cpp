// The script box on the editing views of a document of their own: how each choice enables the
// next, the dialog number box, and the script it puts into a button's script box.

#include "tst_mainwindowfixture.h"

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// "Идти" and "К" chosen in the composer; the dialog number box it enables.
QLineEdit *chooseGoTo(QWidget &window)
{
    choose(child<QComboBox>(&window, "scr_com"), 1);
    choose(child<QComboBox>(&window, "scr_atr"), 2);
    return child<QLineEdit>(&window, "scr_arg");
}

} // namespace

class TestScriptComposer : public QObject
{
    Q_OBJECT

private slots:
    void init() { useDefaultSettings(); }

    void composerBuildsScript_data();
    void composerBuildsScript();
    void exitAfterGoToClearsDirection();
    void argumentPadsOnLeaving_data();
    void argumentPadsOnLeaving();
    void argumentStartsOverWhenFull_data();
    void argumentStartsOverWhenFull();

private:
    ProgramFolder mFolder;
};

void TestScriptComposer::composerBuildsScript_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("direction");    // -1: leave the direction as the command set it
    QTest::addColumn<QString>("argument"); // typed over the argument box unless null
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("script");
    QTest::newRow("nothing") << 0 << -1 << QString() << 0 << "Нет";
    QTest::newRow("go next") << 1 << -1 << QString() << 0 << "Идти Далее";
    QTest::newRow("go back") << 1 << 1 << QString() << 1 << "Идти Назад";
    QTest::newRow("go to 7") << 1 << 2 << "7" << 1 << "Идти К 07";
    QTest::newRow("go to, empty") << 1 << 2 << "" << 0 << "Идти К 00";
    QTest::newRow("go to 42") << 1 << 2 << "42" << 0 << "Идти К 42";
    QTest::newRow("exit") << 2 << -1 << QString() << 1 << "Выход";
}

void TestScriptComposer::composerBuildsScript()
{
    QFETCH(int, command);
    QFETCH(int, direction);
    QFETCH(QString, argument);
    QFETCH(int, button);
    QFETCH(QString, script);
    Views window;
    auto *com = child<QComboBox>(&window, "scr_com");
    auto *atr = child<QComboBox>(&window, "scr_atr");
    auto *arg = child<QLineEdit>(&window, "scr_arg");
    QCOMPARE(com->currentText(), "Нет");
    QVERIFY(!atr->isEnabled());
    QVERIFY(!arg->isEnabled());

    choose(com, command);
    if (direction >= 0)
        choose(atr, direction);
    QCOMPARE(atr->isEnabled(), command == 1);
    QCOMPARE(arg->isEnabled(), direction == 2);
    if (!argument.isNull())
        arg->setText(argument);
    const DialogRecord &record = document(window).project().record(1);
    const QString before = trimmedRight(button == 0 ? record.btnscr1 : record.btnscr2);
    child<QPushButton>(&window, "scr_ins" + QString::number(button))->click();

    QCOMPARE(trimmedRight(button == 0 ? record.btnscr1 : record.btnscr2), script);
    QCOMPARE(child<QLineEdit>(&window, "msg_btnscr" + QString::number(button))->text(), script);
    // Inserting the script a button already has is no edit.
    QCOMPARE(document(window).isModified(), script != before);
}

void TestScriptComposer::exitAfterGoToClearsDirection()
{
    Views window;
    auto *com = child<QComboBox>(&window, "scr_com");
    auto *atr = child<QComboBox>(&window, "scr_atr");
    auto *arg = child<QLineEdit>(&window, "scr_arg");
    choose(com, 1);
    QCOMPARE(atr->currentText(), "Далее");
    choose(atr, 2);
    QCOMPARE(arg->text(), "00");

    choose(com, 2);

    QVERIFY(!arg->isEnabled());
    QCOMPARE(arg->text(), QString());
    QVERIFY(!atr->isEnabled());
    QCOMPARE(atr->currentIndex(), -1);
}

void TestScriptComposer::argumentPadsOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one digit") << "3"
                               << "03";
    QTest::newRow("empty") << ""
                           << "00";
    QTest::newRow("two digits") << "12"
                                << "12";
}

void TestScriptComposer::argumentPadsOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Views window;
    QLineEdit *arg = chooseGoTo(window);
    arg->setText(typed);
    QTest::keyClick(arg, Qt::Key_Q); // refused

    leave(arg);

    QCOMPARE(arg->text(), shown);
    QVERIFY(!document(window).isModified());
}

void TestScriptComposer::argumentStartsOverWhenFull_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one digit over 00") << "7"
                                       << "07";
    QTest::newRow("two digits over 00") << "12"
                                        << "12";
    QTest::newRow("three digits") << "123"
                                  << "03";
}

void TestScriptComposer::argumentStartsOverWhenFull()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    Views window;
    QLineEdit *arg = chooseGoTo(window);
    QCOMPARE(arg->text(), "00");
    arg->setCursorPosition(2);

    QTest::keyClicks(arg, keys);
    child<QPushButton>(&window, "scr_ins0")->click();

    QCOMPARE(trimmedRight(document(window).project().record(1).btnscr1), "Идти К " + shown);
}

QTEST_MAIN(TestScriptComposer)
#include "tst_scriptcomposer.moc"

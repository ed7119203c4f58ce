// The main window without a mouse and through assistive technology: the command keys, the icon
// row, the access keys of the panel's labels, tooltips and the names controls report.

#include "iconpicture.h"
#include "projectfile.h"
#include "projectio.h"
#include "tst_mainwindowfixture.h"

#include <QAccessible>
#include <QRegularExpression>
#include <QUndoStack>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// The window shown and active, as keys only reach an active window.
bool showActive(MainWindow &window)
{
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

DialogRecord firstDataRecord(const QString &path)
{
    DialogProject project;
    ProjectFile file;
    if (!file.open(path) || !project.load(file) || project.dialogCount() < 1)
        return {};
    return project.record(1);
}

} // namespace

class TestMainWindowKeys : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void commandKeysOpenTheirDialogs_data();
    void commandKeysOpenTheirDialogs();
    void newAndCloseKeysAskFirst_data();
    void newAndCloseKeysAskFirst();
    void testRunKeyPlaysPendingTyping();
    void iconRowByKeyboard_data();
    void iconRowByKeyboard();
    void labelAccessKeysFocusTheirFields_data();
    void labelAccessKeysFocusTheirFields();
    void typeAccessKeyKeepsTheType();
    void buttonsHaveToolTips_data();
    void buttonsHaveToolTips();
    void controlsReportNames_data();
    void controlsReportNames();
    void everyFocusableControlIsNamed_data();
    void everyFocusableControlIsNamed();
    void everyTabStopIsNamed_data();
    void everyTabStopIsNamed();
    void iconCellsReportMeaningAndChoice();
    void focusStartsInTheList();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestMainWindowKeys::init()
{
    QVERIFY(renew(mFolder));
    useDefaultSettings();
}

// Opened as `tavlen FILE` opens it, the project is in the list's hands: Enter does not make a new
// project in its place.
void TestMainWindowKeys::focusStartsInTheList()
{
    const QString path = mFolder->path("opened.dlg2");
    DialogProject project;
    fillProject(project, 3);
    QVERIFY(ProjectIO::saveProjectFile(project, path));
    ScriptedUi ui;
    MainWindow window(ui);
    QVERIFY(showActive(window));
    window.projectCommands().openFile(path);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&window, "dlg_list"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(document(window).path(), path);
    QCOMPARE(document(window).dialogCount(), 3);
}

void TestMainWindowKeys::commandKeysOpenTheirDialogs_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("title");
    const int ctrl = int(Qt::ControlModifier);
    const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("save as, in the list")
        << "dlg_list" << int(Qt::Key_S) << ctrlShift << "Сохранить проект как";
    QTest::newRow("save as, in the text")
        << "msg_text" << int(Qt::Key_S) << ctrlShift << "Сохранить проект как";
    QTest::newRow("build, in the caption box")
        << "msg_caption" << int(Qt::Key_B) << ctrl << "Собрать программу";
    QTest::newRow("build, in the composer")
        << "scr_com" << int(Qt::Key_B) << ctrl << "Собрать программу";
}

void TestMainWindowKeys::commandKeysOpenTheirDialogs()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, title);
    // Save As asks for a name even for a project that has its file.
    const QString saved = mFolder->path("saved.dlg2");
    ScriptedUi ui;
    MainWindow window(ui);
    document(window).markSaved(saved);
    QVERIFY(showActive(window));
    auto *target = child<QWidget>(&window, focus);
    target->setFocus();

    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(ui.fileDialogs.size(), 1);
    QCOMPARE(ui.fileDialogs[0].title, title);
    QVERIFY(ui.fileDialogs[0].save);
}

void TestMainWindowKeys::newAndCloseKeysAskFirst_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replacedOrClosed");
    QTest::newRow("new, cancelled") << int(Qt::Key_N) << int(UiServices::Answer::Cancel) << false;
    QTest::newRow("new, dropping the edits")
        << int(Qt::Key_N) << int(UiServices::Answer::No) << true;
    QTest::newRow("close, cancelled") << int(Qt::Key_Q) << int(UiServices::Answer::Cancel) << false;
    QTest::newRow("close, dropping the edits")
        << int(Qt::Key_Q) << int(UiServices::Answer::No) << true;
}

void TestMainWindowKeys::newAndCloseKeysAskFirst()
{
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(bool, replacedOrClosed);
    ScriptedUi ui;
    ui.answers.enqueue(UiServices::Answer(answer));
    MainWindow window(ui);
    fillProject(window, 3);
    QVERIFY(showActive(window));
    // A script typed but not yet left: the question knows of it.
    auto *script = child<QLineEdit>(&window, "msg_btnscr0");
    script->setFocus();
    script->setText("выход");

    QTest::keyClick(script, Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, languageText(TextId::SaveChangesQuestion));
    QCOMPARE(ui.messages[0].buttons, UiServices::Buttons::YesNoCancel);
    if (key == Qt::Key_N)
        QCOMPARE(document(window).project().dialogCount(), replacedOrClosed ? 1 : 3);
    else
        QCOMPARE(window.isVisible(), !replacedOrClosed);
    if (!replacedOrClosed)
        QCOMPARE(trimmedRight(document(window).project().record(1).btnscr1), "Выход");
}

void TestMainWindowKeys::testRunKeyPlaysPendingTyping()
{
    ScriptedUi ui;
    MainWindow window(ui);
    QVERIFY(showActive(window));
    auto *script = child<QLineEdit>(&window, "msg_btnscr0");
    script->setFocus();
    script->setText("идти назад");

    QTest::keyClick(script, Qt::Key_F5);

    QCOMPARE(ui.starts.size(), 1);
    QCOMPARE(ui.starts[0].arguments, QStringList{"/editor"});
    QCOMPARE(trimmedRight(firstDataRecord(mFolder->path("Runner/run.dll")).btnscr1), "Идти Назад");
}

void TestMainWindowKeys::iconRowByKeyboard_data()
{
    QTest::addColumn<int>("ico");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("icoAfter");
    QTest::newRow("right") << 3 << int(Qt::Key_Right) << 4;
    QTest::newRow("left") << 3 << int(Qt::Key_Left) << 2;
    QTest::newRow("left at the first cell") << 0 << int(Qt::Key_Left) << 0;
    QTest::newRow("right at the last cell") << 5 << int(Qt::Key_Right) << 5;
    QTest::newRow("home") << 4 << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << 1 << int(Qt::Key_End) << 5;
    QTest::newRow("from an icon that does not exist") << 9 << int(Qt::Key_Right) << 0;
    QTest::newRow("other keys pass") << 2 << int(Qt::Key_Up) << 2;
}

void TestMainWindowKeys::iconRowByKeyboard()
{
    QFETCH(int, ico);
    QFETCH(int, key);
    QFETCH(int, icoAfter);
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [ico](DialogProject &project) {
        fillProject(project, 1);
        project.record(1).ico = qint16(ico);
    });
    QVERIFY(showActive(window));
    // The row is the next stop after the second script box.
    auto *script = child<QLineEdit>(&window, "msg_btnscr1");
    script->setFocus();
    QTest::keyClick(script, Qt::Key_Tab);
    auto *icons = child<IconPicture>(&window, "msg_icons");
    QCOMPARE(QApplication::focusWidget(), icons);
    const int historyBefore = document(window).undoStack()->count();

    QTest::keyClick(icons, Qt::Key(key));

    QCOMPARE(document(window).project().record(1).ico, icoAfter);
    QCOMPARE(icons->currentCell(), icoAfter);
    QVERIFY(child<QRadioButton>(&window, "msg_type0")->isChecked());
    QCOMPARE(QApplication::focusWidget(), icons);
    // A choice by key is the same undoable edit as a click.
    const bool changed = icoAfter != ico;
    QCOMPARE(document(window).undoStack()->count(), historyBefore + (changed ? 1 : 0));
    if (changed) {
        QTest::keyClick(icons, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document(window).project().record(1).ico, ico);
    }
}

namespace {

void pressAltKey(QWidget *window, int key)
{
    const QString text = QString(QChar(char16_t(key))).toLower();
    QTest::sendKeyEvent(QTest::Press, window, Qt::Key(key), text, Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Release, window, Qt::Key(key), text, Qt::AltModifier);
}

} // namespace

void TestMainWindowKeys::labelAccessKeysFocusTheirFields_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("type"); // a message has no time, a progress no second button
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("field");
    const QString english = "english.lang";
    const QString russian = "russian.lang";
    const int message = DialogRecord::Message;
    const int progress = DialogRecord::Progress;
    QTest::newRow("English caption") << english << message << int(Qt::Key_C) << "msg_caption";
    QTest::newRow("English text") << english << message << int(Qt::Key_X) << "msg_text";
    QTest::newRow("English button 2") << english << message << int(Qt::Key_2) << "msg_btn1";
    QTest::newRow("English script 1") << english << message << int(Qt::Key_S) << "msg_btnscr0";
    QTest::newRow("English script 2") << english << progress << int(Qt::Key_R) << "msg_btnscr1";
    QTest::newRow("English time") << english << progress << int(Qt::Key_M) << "msg_time";
    QTest::newRow("English icon") << english << message << int(Qt::Key_I) << "msg_icons";
    QTest::newRow("Russian caption") << russian << message << int(U'З') << "msg_caption";
    QTest::newRow("Russian text") << russian << progress << int(U'К') << "msg_text";
    QTest::newRow("Russian button 1") << russian << message << int(Qt::Key_1) << "msg_btn0";
    QTest::newRow("Russian script 2") << russian << message << int(U'Е') << "msg_btnscr1";
    QTest::newRow("Russian time") << russian << progress << int(U'В') << "msg_time";
    QTest::newRow("Russian icon") << russian << progress << int(U'Н') << "msg_icons";
}

void TestMainWindowKeys::labelAccessKeysFocusTheirFields()
{
    QFETCH(QString, language);
    QFETCH(int, type);
    QFETCH(int, key);
    QFETCH(QString, field);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    panel(window).selectType(type);
    QVERIFY(showActive(window));
    child<QListWidget>(&window, "dlg_list")->setFocus();

    pressAltKey(&window, key);

    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&window, field));
}

void TestMainWindowKeys::typeAccessKeyKeepsTheType()
{
    useSettings("english.lang", "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    panel(window).selectType(DialogRecord::Progress);
    document(window).undoStack()->clear();
    QVERIFY(showActive(window));
    child<QListWidget>(&window, "dlg_list")->setFocus();

    pressAltKey(&window, Qt::Key_T);

    // The selected type takes the focus; the label's key does not click it again or another.
    auto *progress = child<QRadioButton>(&window, "msg_type1");
    QCOMPARE(QApplication::focusWidget(), progress);
    QTRY_COMPARE(document(window).project().record(1).type, DialogRecord::Progress);
    // Still shown as selected: the icon cells chosen nearby are no options of this row.
    QTest::qWait(200);
    QVERIFY(progress->isChecked());
    QCOMPARE(document(window).undoStack()->count(), 0);
}

void TestMainWindowKeys::buttonsHaveToolTips_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("new") << "english.lang"
                         << "sd0"
                         << "Create a new project (Ctrl+N)";
    QTest::newRow("open") << "english.lang"
                          << "sd1"
                          << "Open a project, a legacy project or a built program (Ctrl+O)";
    QTest::newRow("test run") << "english.lang"
                              << "sd3"
                              << "Run the project for testing (F5)";
    QTest::newRow("build") << "russian.lang"
                           << "sd4"
                           << "Собрать из проекта самостоятельную программу (Ctrl+B)";
    QTest::newRow("management, picture only") << "english.lang"
                                              << "sd5"
                                              << "Languages, themes and plug-ins";
    QTest::newRow("help, picture only") << "russian.lang"
                                        << "sd6"
                                        << "Справка и сведения о программе";
    QTest::newRow("new step") << "english.lang"
                              << "list_new"
                              << "Insert a new step after the selected one (Ins)";
    QTest::newRow("delete step") << "russian.lang"
                                 << "list_delete"
                                 << "Удалить выбранный шаг (Del)";
    QTest::newRow("step up") << "english.lang"
                             << "list_up"
                             << "Move the selected step up (Ctrl+Up)";
    QTest::newRow("step down") << "russian.lang"
                               << "list_down"
                               << "Переместить выбранный шаг вниз (Ctrl+Вниз)";
    QTest::newRow("insert 1") << "english.lang"
                              << "scr_ins0"
                              << "Insert into script 1";
    QTest::newRow("insert 2") << "russian.lang"
                              << "scr_ins1"
                              << "Вставить к кнопке 2";
}

void TestMainWindowKeys::buttonsHaveToolTips()
{
    QFETCH(QString, language);
    QFETCH(QString, control);
    QFETCH(QString, toolTip);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    QCOMPARE(child<QWidget>(&window, control)->toolTip(), toolTip);
}

void TestMainWindowKeys::controlsReportNames_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("role");
    const int name = QAccessible::Name;
    const int button = int(QAccessible::Button);
    const int box = int(QAccessible::EditableText);
    QTest::newRow("toolbar caption") << "english.lang"
                                     << "sd0" << name << "New" << button;
    QTest::newRow("toolbar caption, Russian") << "russian.lang"
                                              << "sd2" << name << "Сохранить" << button;
    QTest::newRow("picture-only toolbar button")
        << "english.lang"
        << "sd6" << name << "Help and information about the program" << button;
    QTest::newRow("list button") << "english.lang"
                                 << "list_up" << name << "Move the selected step up" << button;
    QTest::newRow("insert button") << "russian.lang"
                                   << "scr_ins1" << name << "Вставить к кнопке 2" << button;
    QTest::newRow("caption box by its label") << "english.lang"
                                              << "msg_caption" << name << "Caption:" << box;
    QTest::newRow("time box by its label") << "russian.lang"
                                           << "msg_time" << name << "Время (с):" << box;
    QTest::newRow("argument box") << "english.lang"
                                  << "scr_arg" << name << "Step number" << box;
    QTest::newRow("command list") << "english.lang"
                                  << "scr_com" << int(QAccessible::Description) << "Command"
                                  << int(QAccessible::ComboBox);
    QTest::newRow("dialog list") << "russian.lang"
                                 << "dlg_list" << name << "Список диалогов"
                                 << int(QAccessible::List);
}

void TestMainWindowKeys::controlsReportNames()
{
    QFETCH(QString, language);
    QFETCH(QString, control);
    QFETCH(int, text);
    QFETCH(QString, expected);
    QFETCH(int, role);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    panel(window).selectType(DialogRecord::Progress);
    QAccessibleInterface *face =
        QAccessible::queryAccessibleInterface(child<QWidget>(&window, control));
    QVERIFY(face);
    QCOMPARE(face->text(QAccessible::Text(text)), expected);
    QCOMPARE(int(face->role()), role);
}

void TestMainWindowKeys::everyFocusableControlIsNamed_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("Russian") << "russian.lang";
    QTest::newRow("English") << "english.lang";
}

void TestMainWindowKeys::everyFocusableControlIsNamed()
{
    QFETCH(QString, language);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    panel(window).selectType(DialogRecord::Progress);
    QVERIFY(showActive(window));
    QStringList unnamed;
    const QList<QWidget *> controls = window.findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus) ||
            control->focusProxy())
            continue;
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << control->objectName() + u':' + control->metaObject()->className();
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
}

void TestMainWindowKeys::everyTabStopIsNamed_data()
{
    everyFocusableControlIsNamed_data();
}

// What a keyboard user meets: every widget that Tab really stops at, once round the window.
void TestMainWindowKeys::everyTabStopIsNamed()
{
    QFETCH(QString, language);
    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    QVERIFY(showActive(window));
    QWidget *first = child<QWidget>(&window, "dlg_list");
    first->setFocus(Qt::TabFocusReason);
    QStringList unnamed;
    QList<QWidget *> visited;
    for (QWidget *stop = first; stop && !visited.contains(stop);
         stop = QApplication::focusWidget()) {
        visited << stop;
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(stop);
        const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
        // A name in the other language is as good as none to its listener.
        static const QRegularExpression cyrillic("[А-яЁё]");
        if (name.isEmpty() || (language == "english.lang" && name.contains(cyrillic)))
            unnamed << stop->objectName() + u':' + name;
        QTest::keyClick(stop, Qt::Key_Tab);
    }
    QVERIFY(visited.size() > 20);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
}

void TestMainWindowKeys::iconCellsReportMeaningAndChoice()
{
    useSettings("english.lang", "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    panel(window).iconClick(4);
    const QStringList meanings{"No icon", "Error", "Warning", "Information", "Question", "Package"};
    for (int cell = 0; cell < 6; ++cell) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(
            child<QWidget>(&window, "icn" + QString::number(cell)));
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), meanings[cell]);
        QCOMPARE(face->role(), QAccessible::RadioButton);
        QCOMPARE(bool(face->state().checked), cell == 4);
    }
    // The press action chooses the cell as a click does (a moment later, as Qt shows the press).
    QAccessibleInterface *error =
        QAccessible::queryAccessibleInterface(child<QWidget>(&window, "icn1"));
    error->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(document(window).project().record(1).ico, 1);
    QVERIFY(error->state().checked);
    // A pause shows no icons: none is chosen.
    panel(window).selectType(DialogRecord::Pause);
    QVERIFY(!error->state().checked);
}

QTEST_MAIN(TestMainWindowKeys)
#include "tst_mainwindowkeys.moc"

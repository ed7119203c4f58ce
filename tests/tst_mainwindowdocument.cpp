// The main window as a view of its document: what marks the project changed, undo and redo
// from the keyboard and the list's menu, edits that must never be lost or rewritten, and the
// recovery copy of autosave.

#include "autosave.h"
#include "buttonscript.h"
#include "dialoglistview.h"
#include "filelock.h"
#include "flowitems.h"
#include "flowview.h"
#include "iconpicture.h"
#include "pluginrunwindow.h"
#include "problemsview.h"
#include "projectcheck.h"
#include "projectio.h"
#include "tst_mainwindowfixture.h"
#include "wholefile.h"

#include <QClipboard>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTabBar>
#include <QTimer>
#include <QUndoStack>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

void typeInto(QWidget *box, const QString &text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}

// A lock file as an editor of an earlier version wrote it: its process id, program and host.
bool writeLockNaming(const QString &path, qint64 pid, const QString &program)
{
    return writeWholeFile(
        path, QString("%1\n%2\n%3\n").arg(pid).arg(program, QSysInfo::machineHostName()).toUtf8());
}

// Another process holds the lock at path while holder runs, as a running editor holds its own.
bool holdLock(QProcess &holder, const QString &path)
{
    holder.start("flock", {path, "sleep", "60"});
    return holder.waitForStarted() && QTest::qWaitFor([&] { return FileLock::isHeld(path); });
}

} // namespace

class TestMainWindowDocument : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        useDefaultSettings();
        QDir(Autosave::folder()).removeRecursively();
    }

    void closeAsksAfterListOperations_data();
    void closeAsksAfterListOperations();
    void leavingUnchangedBoxesMarksNothing();
    void undoKeysWorkEverywhere_data();
    void undoKeysWorkEverywhere();
    void listMenuNamesWhatItUndoes();
    void listKeys();
    void forwardJumpKeepsItsNumber();
    void timeBoxKeepsStoredValue_data();
    void timeBoxKeepsStoredValue();
    void timeBoxTakesWholeSecondsOnly_data();
    void timeBoxTakesWholeSecondsOnly();
    void unstorableCharactersShowAsStored();
    void unknownTypeAndIconStay();
    void pendingScriptReachesRecordBeforeListOperation();
    void testRunTakesUnsavedEdit();
    void errorsAreAskedAboutOnce_data();
    void errorsAreAskedAboutOnce();
    void flowAndProblemsFollowTheDocument();
    void deletedStepLeavesAWarning();
    void findingFocusesItsBox_data();
    void findingFocusesItsBox();
    void doubleClickOnABoxEditsItsCaption();
    void autosaveKeepsRecoveryCopy();
    void recoveryIsOffered_data();
    void recoveryIsOffered();
    void recoveryWhateverItsName_data();
    void recoveryWhateverItsName();
    void staleLocksAreRemoved();
    void pluginResultIsOneUndoableStep();

private:
    QScopedPointer<ProgramFolder> mFolder{new ProgramFolder};
};

void TestMainWindowDocument::closeAsksAfterListOperations_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("delete") << "list_delete";
    QTest::newRow("move down") << "list_down";
    QTest::newRow("new") << "list_new";
}

void TestMainWindowDocument::closeAsksAfterListOperations()
{
    QFETCH(QString, button);
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    QVERIFY(!document(window).isModified());

    child<QPushButton>(&window, button)->click();
    QVERIFY(document(window).isModified());
    QVERIFY(!window.close());
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, languageText(TextId::SaveChangesQuestion));

    // Undoing back to the state opened is no change to ask about.
    document(window).undoStack()->undo();
    QVERIFY(!document(window).isModified());
    QCOMPARE(entries(window), (QStringList{"0. D0", "1. D1", "2. D2"}));
    QVERIFY(window.close());
    QCOMPARE(ui.messages.size(), 1);
}

void TestMainWindowDocument::leavingUnchangedBoxesMarksNothing()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 2);
    for (const char *name : {"msg_caption", "msg_btn0", "msg_btn1", "msg_btnscr0", "msg_btnscr1"})
        leave(child<QLineEdit>(&window, name));
    leave(child<QPlainTextEdit>(&window, "msg_text"));
    auto *time = child<QLineEdit>(&window, "msg_time");
    QTest::keyRelease(time, Qt::Key_Shift);
    QVERIFY(!document(window).isModified());
    QCOMPARE(window.windowTitle().contains("[*]") && !window.isWindowModified(), true);
}

void TestMainWindowDocument::undoKeysWorkEverywhere_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("redoKey"); // with Ctrl, and Shift for Z
    QTest::newRow("in the caption box, Ctrl+Shift+Z") << "msg_caption" << int(Qt::Key_Z);
    QTest::newRow("in the list, Ctrl+Y") << "dlg_list" << int(Qt::Key_Y);
}

void TestMainWindowDocument::undoKeysWorkEverywhere()
{
    QFETCH(QString, focus);
    QFETCH(int, redoKey);
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    typeInto(caption, "Hello");
    QCOMPARE(trimmedRight(document(window).project().record(1).caption), "Hello");
    QWidget *target = child<QWidget>(&window, focus);
    target->setFocus();

    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(trimmedRight(document(window).project().record(1).caption), "");
    // The panel shows the old text again.
    QCOMPARE(caption->text(), "");
    QVERIFY(!document(window).isModified());

    const Qt::KeyboardModifiers redo =
        redoKey == Qt::Key_Z ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    QTest::keyClick(target, Qt::Key(redoKey), redo);
    QCOMPARE(caption->text(), "Hello");
    QVERIFY(document(window).isModified());
}

void TestMainWindowDocument::listMenuNamesWhatItUndoes()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    selectEntry(window, 1);
    child<QPushButton>(&window, "list_delete")->click();

    auto *view = child<QFrame>(&window, "listbox");
    const QScopedPointer<QMenu> menu(
        static_cast<DialogListView *>(static_cast<QWidget *>(view))->createContextMenu());
    auto *undo = menu->findChild<QAction *>("dlg_list_undo");
    auto *redo = menu->findChild<QAction *>("dlg_list_redo");
    QCOMPARE(undo->text(),
             languageText(TextId::Undo) + " (" + languageText(TextId::UndoStepDeletion) + ")");
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    undo->trigger();
    // The deleted step is back at its place with all its fields, and selected.
    QCOMPARE(entries(window), (QStringList{"0. D0", "1. D1", "2. D2"}));
    QCOMPARE(document(window).currentDialog(), 2);
}

void TestMainWindowDocument::listKeys()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    auto *list = child<QListWidget>(&window, "dlg_list");
    selectEntry(window, 0);

    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(entries(window), (QStringList{"0. D1", "1. D0", "2. D2"}));
    QCOMPARE(document(window).currentDialog(), 2);
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(entries(window), (QStringList{"0. D0", "1. D1", "2. D2"}));
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(entries(window), (QStringList{"0. D1", "1. D2"}));
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(entries(window).size(), 3);
    QCOMPARE(document(window).currentDialog(), 2);
    QVERIFY(ui.messages.isEmpty());
}

// Writing top-down: a jump to a step still to be made keeps its number as the steps are added.
void TestMainWindowDocument::forwardJumpKeepsItsNumber()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *list = child<QListWidget>(&window, "dlg_list");
    selectEntry(window, 2);
    auto *script = child<QLineEdit>(&window, "msg_btnscr0");
    script->setFocus();
    script->setText(QStringLiteral("идти к 08"));
    list->setFocus();
    QCOMPARE(trimmedRight(document(window).record(3).btnscr1), QStringLiteral("Идти К 08"));
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Insert);
    }
    QCOMPARE(document(window).dialogCount(), 10);
    QCOMPARE(trimmedRight(document(window).record(3).btnscr1), QStringLiteral("Идти К 08"));
    // A step inserted before it still moves the step it names, and the jump with it.
    selectEntry(window, 0);
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(trimmedRight(document(window).record(4).btnscr1), QStringLiteral("Идти К 09"));
}

void TestMainWindowDocument::timeBoxKeepsStoredValue_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("thirty seconds") << 30 << "30";
    QTest::newRow("the longest") << 32767 << "32767";
    QTest::newRow("negative") << -5 << "-5";
}

void TestMainWindowDocument::timeBoxKeepsStoredValue()
{
    QFETCH(int, stored);
    QFETCH(QString, shown);
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [stored](DialogProject &project) {
        fillProject(project, 2);
        project.record(1).type = DialogRecord::Progress;
        project.record(1).time = qint16(stored);
    });
    auto *time = child<QLineEdit>(&window, "msg_time");
    QCOMPARE(time->text(), shown);

    // Passing through the step, its boxes and a save writes nothing into the time.
    leave(time);
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setText("Edited");
    leave(caption);
    selectEntry(window, 1);
    selectEntry(window, 0);
    document(window).commitPendingEdits();
    QCOMPARE(document(window).project().record(1).time, stored);
    QCOMPARE(time->text(), shown);
}

void TestMainWindowDocument::timeBoxTakesWholeSecondsOnly_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("keys"); // "^A" is Ctrl+A, "^V" pastes the clipboard's "39990"
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("written");
    QTest::newRow("digits after a negative time start over") << -5 << "1234"
                                                             << "1234" << 1234;
    QTest::newRow("a digit past the longest is refused") << 3276 << "8"
                                                         << "3276" << 3276;
    QTest::newRow("a fifth digit is refused") << 9999 << "9"
                                              << "9999" << 9999;
    QTest::newRow("39990 is never shown") << 3999 << "0"
                                          << "3999" << 3999;
    QTest::newRow("letters are refused") << 30 << "a-"
                                         << "30" << 30;
    QTest::newRow("Ctrl+A selects all") << 30 << "^A7"
                                        << "7" << 7;
    QTest::newRow("too large a time is not pasted") << 30 << "^A^V"
                                                    << "30" << 30;
}

// The box holds what is stored: whole seconds from 0 to 32767, while typing too.
void TestMainWindowDocument::timeBoxTakesWholeSecondsOnly()
{
    QFETCH(int, stored);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, written);
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [stored](DialogProject &project) {
        fillProject(project, 1);
        project.record(1).type = DialogRecord::Progress;
        project.record(1).time = qint16(stored);
    });
    auto *time = child<QLineEdit>(&window, "msg_time");
    QApplication::clipboard()->setText("39990");
    time->setFocus();
    time->end(false);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys.at(i) == u'^') {
            const Qt::Key key = keys.at(++i) == u'A' ? Qt::Key_A : Qt::Key_V;
            QTest::keyClick(time, key, Qt::ControlModifier);
        } else {
            QTest::keyClicks(time, keys.at(i));
        }
    }
    QCOMPARE(time->text(), shown);
    leave(time);
    QCOMPARE(int(document(window).project().record(1).time), written);
}

// The panel shows what the project file will hold: characters it cannot hold become "?" in the
// box too when the box is left, and the status line says how many, once.
void TestMainWindowDocument::unstorableCharactersShowAsStored()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 1);
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setFocus();
    // Typed as a keyboard layout sends them: keys that carry their text.
    for (const QChar typed : QString("✓ ok 日本"))
        QTest::sendKeyEvent(QTest::Click, caption, Qt::Key_unknown, QString(typed), Qt::NoModifier);
    QCOMPARE(caption->text(), "✓ ok 日本");
    leave(caption);
    QCOMPARE(caption->text(), "? ok ??");
    QCOMPARE(trimmedRight(document(window).project().record(1).caption), "? ok ??");
    QCOMPARE(child<QLabel>(&window, "sts")->text(),
             "3 символа нельзя сохранить в проекте, они стали знаками ?");

    // Pasted into the text, the same; a plain edit afterwards says nothing more.
    child<QLabel>(&window, "sts")->clear();
    auto *text = child<QPlainTextEdit>(&window, "msg_text");
    text->setPlainText("Готово 😀");
    leave(text);
    QCOMPARE(text->toPlainText(), "Готово ?");
    QCOMPARE(child<QLabel>(&window, "sts")->text(),
             "1 символ нельзя сохранить в проекте, он стал знаком ?");
    child<QLabel>(&window, "sts")->clear();
    caption->setText("plain");
    leave(caption);
    QCOMPARE(child<QLabel>(&window, "sts")->text(), QString());
}

void TestMainWindowDocument::unknownTypeAndIconStay()
{
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 2);
        project.record(1).type = DialogRecord::Progress;
        project.record(2).type = 5;
        project.record(2).ico = 9;
    });
    selectEntry(window, 1);
    for (int i = 0; i < 3; ++i)
        QVERIFY(!child<QRadioButton>(&window, "msg_type" + QString::number(i))->isChecked());
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setText("Edited");
    leave(caption);
    QCOMPARE(document(window).project().record(2).type, 5);
    QCOMPARE(document(window).project().record(2).ico, 9);
    // No cell is highlighted for an icon outside the strip.
    auto *icons = child<IconPicture>(&window, "msg_icons");
    for (int cell = 0; cell < 6; ++cell)
        QCOMPARE(icons->rendered().pixelColor(cell * 32, 0), icons->background());
}

void TestMainWindowDocument::pendingScriptReachesRecordBeforeListOperation()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 2);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *script = child<QLineEdit>(&window, "msg_btnscr0");
    script->setFocus();
    script->setText("выход");

    // A click that does not take the focus still finds the script written.
    listView(window).moveDown();
    QCOMPARE(trimmedRight(document(window).project().record(2).btnscr1), "Выход");
}

void TestMainWindowDocument::testRunTakesUnsavedEdit()
{
    ScriptedUi ui;
    MainWindow window(ui);
    auto *text = child<QPlainTextEdit>(&window, "msg_text");
    text->setPlainText("Проверка");
    leave(text);

    child<QAction>(&window, "key_test")->trigger();

    QCOMPARE(dialogTexts(mFolder->path("Runner/run.dll")), QStringList{"Проверка"});
    QVERIFY(document(window).isModified());
}

void TestMainWindowDocument::errorsAreAskedAboutOnce_data()
{
    QTest::addColumn<bool>("broken");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("started");
    QTest::newRow("clean project runs unasked") << false << int(UiServices::Answer::No) << true;
    QTest::newRow("errors, run anyway") << true << int(UiServices::Answer::Yes) << true;
    QTest::newRow("errors, stop") << true << int(UiServices::Answer::No) << false;
}

void TestMainWindowDocument::errorsAreAskedAboutOnce()
{
    QFETCH(bool, broken);
    QFETCH(int, answer);
    QFETCH(bool, started);
    QFile::remove(mFolder->path("Runner/run.dll"));
    ScriptedUi ui;
    MainWindow window(ui);
    // A message whose buttons both do nothing traps its user: an error of the check.
    setUpProject(window, [broken](DialogProject &project) {
        fillProject(project, 1);
        if (broken)
            project.record(1).btnscr1 = project.record(1).btnscr2 = "Нет";
    });
    ui.answers.enqueue(UiServices::Answer(answer));

    child<QAction>(&window, "key_test")->trigger();

    QCOMPARE(ui.messages.size(), broken ? 1 : 0);
    if (broken)
        QCOMPARE(ui.messages[0].text, "В проекте 1 ошибка. Всё равно запустить?");
    QCOMPARE(ui.starts.size(), started ? 1 : 0);
    QCOMPARE(QFile::exists(mFolder->path("Runner/run.dll")), started);
    if (!broken)
        return;
    // Building asks the same with its own words; the count takes its plural form.
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 1);
        project.record(0).text = "5"; // no project style: a second error
        project.record(1).btnscr1 = project.record(1).btnscr2 = "Нет";
    });
    ui.answers.enqueue(UiServices::Answer::No);
    child<QAction>(&window, "mnuBldProgram")->trigger();
    QCOMPARE(ui.messages.last().text, "В проекте 2 ошибки. Всё равно собрать?");
}

void TestMainWindowDocument::flowAndProblemsFollowTheDocument()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 2);
    auto *flow = window.findChild<FlowView *>("flow_view");
    auto *problems = window.findChild<ProblemsView *>("problems_list");
    QVERIFY(flow && problems);
    QVERIFY(flow->stepItem(1));
    QVERIFY(!flow->stepItem(2));

    child<QPushButton>(&window, "list_new")->click();
    QVERIFY(flow->stepItem(2));
    QCOMPARE(flow->selectedStep(), 1);

    // A step that traps its user is an error: listed, marked in the list, selectable from there.
    selectEntry(window, 2);
    auto *script1 = child<QLineEdit>(&window, "msg_btnscr0");
    auto *script2 = child<QLineEdit>(&window, "msg_btnscr1");
    for (QLineEdit *box : {script1, script2}) {
        box->setText("Нет");
        leave(box);
    }
    QVERIFY(ProjectCheck::errorCount(problems->findings()) >= 1);
    QVERIFY(!child<QListWidget>(&window, "dlg_list")->item(2)->icon().isNull());
    QVERIFY(child<QListWidget>(&window, "dlg_list")->item(0)->icon().isNull());
    selectEntry(window, 0);
    emit problems->findingActivated(2, StepField::None);
    QCOMPARE(document(window).currentDialog(), 3);

    emit flow->stepActivated(0);
    QCOMPARE(document(window).currentDialog(), 1);
    child<QPushButton>(&window, "list_delete")->click();
    QVERIFY(!flow->stepItem(2));
}

// The list buttons rewrite go-to scripts; what was left leading to a deleted step is listed and
// counted on the status line, and one undo puts every script back.
void TestMainWindowDocument::deletedStepLeavesAWarning()
{
    ScriptedUi ui;
    MainWindow window(ui);
    setUpProject(window, [](DialogProject &project) {
        fillProject(project, 3);
        project.record(1).btnscr1 = ButtonScript::goTo(2);
        project.record(1).btnscr2 = ButtonScript::goTo(1);
    });
    const QByteArray before = document(window).project().fileBytes();
    selectEntry(window, 1);
    child<QPushButton>(&window, "list_delete")->click();
    selectEntry(window, 0);

    QCOMPARE(child<QLineEdit>(&window, "msg_btnscr0")->text(), ButtonScript::goTo(1));
    QCOMPARE(child<QLineEdit>(&window, "msg_btnscr1")->text(), ButtonScript::goTo(1));
    QCOMPARE(child<QLabel>(&window, "sts")->text(),
             languageText(TextId::GoToScriptsFollowed).arg(1).arg(1));
    const auto *problems = window.findChild<ProblemsView *>("problems_list");
    QVERIFY(problems->findings().contains(
        Finding{Finding::Kind::TargetDeleted, 0, StepField::Button2, {}}));

    document(window).undoStack()->undo();
    QCOMPARE(document(window).project().fileBytes(), before);
    QVERIFY(!problems->findings().contains(
        Finding{Finding::Kind::TargetDeleted, 0, StepField::Button2, {}}));
}

void TestMainWindowDocument::findingFocusesItsBox_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("box");
    QTest::newRow("first button") << int(StepField::Button1) << "msg_btnscr0";
    QTest::newRow("second button") << int(StepField::Button2) << "msg_btnscr1";
    QTest::newRow("end of a pause") << int(StepField::PauseEnd) << "msg_btnscr0";
    QTest::newRow("full bar") << int(StepField::BarFull) << "msg_btnscr1";
    QTest::newRow("the step as a whole") << int(StepField::None) << "msg_caption";
    QTest::newRow("project header") << int(StepField::Header) << "prj_st0";
}

void TestMainWindowDocument::findingFocusesItsBox()
{
    QFETCH(int, field);
    QFETCH(QString, box);
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *problems = window.findChild<ProblemsView *>("problems_list");
    child<QListWidget>(&window, "dlg_list")->setFocus();

    emit problems->findingActivated(1, StepField(field));

    QCOMPARE(document(window).currentDialog(), 2);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&window, box));
}

// A double-click on a step's box on the map selects the step and puts the caption box in focus;
// an arrow is no place to edit.
void TestMainWindowDocument::doubleClickOnABoxEditsItsCaption()
{
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *flow = window.findChild<FlowView *>("flow_view");
    child<QListWidget>(&window, "dlg_list")->setFocus();

    const QPoint box = flow->mapFromScene(flow->stepItem(2)->node().rect.center());
    QTest::mouseDClick(flow->viewport(), Qt::LeftButton, {}, box);

    QCOMPARE(document(window).currentDialog(), 3);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&window, "msg_caption"));
}

void TestMainWindowDocument::autosaveKeepsRecoveryCopy()
{
    ScriptedUi ui;
    MainWindow window(ui);
    const QString mine = mFolder->path("autosaved.dlg2");
    setUpProject(window, [&](DialogProject &project) {
        fillProject(project, 2);
        project.setPath(mine);
    });
    auto *autosave = window.findChild<Autosave *>();
    QVERIFY(autosave);
    QCOMPARE(autosave->timer().interval(), 30000);
    QVERIFY(!QFile::exists(autosave->projectFile()));

    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setText("Autosaved");
    leave(caption);
    autosave->tick();
    DialogProject copy;
    QVERIFY(ProjectIO::loadProjectFile(copy, autosave->projectFile()));
    QCOMPARE(trimmedRight(copy.record(1).caption), "Autosaved");
    QVERIFY(!QFile::exists(mine)); // never beside or over the user's file

    // A list operation is kept at once, without waiting for the timer.
    child<QPushButton>(&window, "list_delete")->click();
    QTRY_VERIFY(ProjectIO::loadProjectFile(copy, autosave->projectFile()) &&
                copy.dialogCount() == 1);

    // A save makes the copy unneeded.
    QVERIFY(window.projectCommands().save(ProjectCommands::SaveMode::Save));
    QVERIFY(!QFile::exists(autosave->projectFile()));

    // The first change after a save is a list operation: it too is kept at once.
    child<QPushButton>(&window, "list_new")->click();
    QTRY_VERIFY(ProjectIO::loadProjectFile(copy, autosave->projectFile()) &&
                copy.dialogCount() == 2);

    // A save just after a list operation leaves no copy: the copy being written in the
    // background lands before the save removes it, never after.
    child<QPushButton>(&window, "list_new")->click();
    QCoreApplication::processEvents();
    QVERIFY(window.projectCommands().save(ProjectCommands::SaveMode::Save));
    autosave->saveNow(); // waits for the writer; the saved project needs no copy
    QVERIFY(!QFile::exists(autosave->projectFile()));
}

void TestMainWindowDocument::recoveryIsOffered_data()
{
    QTest::addColumn<QString>("copy"); // what the killed editor left of its four dialogs
    QTest::addColumn<bool>("restore");
    QTest::newRow("restored") << "whole" << true;
    QTest::newRow("dropped") << "whole" << false;
    // A copy that does not read completely, or holds other than what it recorded, is never
    // offered: it would replace the user's file with less than was there.
    QTest::newRow("cut short") << "cut" << true;
    QTest::newRow("empty") << "empty" << true;
    QTest::newRow("count not recorded") << "unrecorded" << true;
    QTest::newRow("fewer dialogs than recorded") << "fewer" << true;
}

void TestMainWindowDocument::recoveryIsOffered()
{
    QFETCH(QString, copy);
    QFETCH(bool, restore);
    // What an editor killed after its last autosave leaves: a copy, its record, a stale lock.
    const QString original = mFolder->path("lost.dlg2");
    const QString base = QDir(Autosave::folder()).filePath("999999");
    DialogProject lost;
    fillProject(lost, copy == u"fewer" ? 3 : 4);
    QByteArray bytes = lost.fileBytes();
    if (copy == u"cut")
        bytes.chop(DialogRecord::Size + 100);
    else if (copy == u"empty")
        bytes.clear();
    QVERIFY(QDir().mkpath(Autosave::folder()));
    QVERIFY(writeWholeFile(base + ".dlg2", bytes));
    QVERIFY(writeWholeFile(base + ".path", copy == u"unrecorded" ? original.toUtf8()
                                                                 : original.toUtf8() + "\n4\n"));

    ScriptedUi ui;
    MainWindow window(ui);
    ui.answers.enqueue(restore ? UiServices::Answer::Yes : UiServices::Answer::No);
    window.projectCommands().offerRecovery();

    QCOMPARE(ui.messages.size(), 1);
    QVERIFY(!QFile::exists(base + ".dlg2"));
    if (copy != u"whole") {
        const QString setAside = QDir(Autosave::setAsideFolder()).filePath("999999.dlg2");
        QCOMPARE(
            ui.messages[0].text,
            languageText(TextId::RecoveryCopyUnreadable).arg(QDir::toNativeSeparators(setAside)));
        QCOMPARE(kq::TestFiles::readBytes(setAside), bytes);
        QVERIFY(QFile::remove(setAside) && QFile::remove(setAside.chopped(5) + ".path"));
        QCOMPARE(entries(window).size(), 1);
        QVERIFY(!document(window).isModified());
    } else if (restore) {
        QCOMPARE(ui.messages[0].text, languageText(TextId::RestoreRecoveryQuestion));
        QCOMPARE(entries(window).size(), 4);
        QVERIFY(document(window).isModified());
        QCOMPARE(document(window).project().path(), original);
        QCOMPARE(shownTitle(window), "Kestrane Quorvex - [lost.dlg2]");
        // Closing asks before anything is written over the original, saying what it is.
        ui.answers.enqueue(UiServices::Answer::Cancel);
        QVERIFY(!window.close());
        QCOMPARE(
            ui.messages.value(1).text,
            languageText(TextId::SaveRestoredToQuestion).arg(QDir::toNativeSeparators(original)));
        QVERIFY(!QFile::exists(original));
    } else {
        QCOMPARE(entries(window).size(), 1);
        QVERIFY(!document(window).isModified());
    }
    // Nothing is offered twice.
    const qsizetype asked = ui.messages.size();
    window.projectCommands().offerRecovery();
    QCOMPARE(ui.messages.size(), asked);
}

// Whether a copy's editor still runs is told by its lock alone: process ids are given again (in a
// container every editor may get the same one), so neither a copy's name nor what its lock file
// says decides it.
void TestMainWindowDocument::recoveryWhateverItsName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lock"); // "none", "naming this process", "held"
    QTest::addColumn<bool>("offered");
    const QString ownPid = QString::number(QCoreApplication::applicationPid());
    QTest::newRow("named by this editor's process id") << ownPid << "none" << true;
    QTest::newRow("its lock names this editor's process") << "999999"
                                                          << "naming this process" << true;
    QTest::newRow("both") << ownPid << "naming this process" << true;
    QTest::newRow("its editor still runs") << "999999"
                                           << "held" << false;
    QTest::newRow("its editor still runs, named like this one") << ownPid << "held" << false;
}

void TestMainWindowDocument::recoveryWhateverItsName()
{
    QFETCH(QString, name);
    QFETCH(QString, lock);
    QFETCH(bool, offered);
    const QString base = QDir(Autosave::folder()).filePath(name);
    DialogProject lost;
    fillProject(lost, 3);
    QVERIFY(QDir().mkpath(Autosave::folder()));
    QVERIFY(writeWholeFile(base + ".dlg2", lost.fileBytes()));
    QVERIFY(writeWholeFile(base + ".path", mFolder->path("lost.dlg2").toUtf8() + "\n3\n"));
    QProcess holder;
    if (lock == u"held")
        QVERIFY(holdLock(holder, base + ".lock"));
    else if (lock != u"none")
        QVERIFY(writeLockNaming(base + ".lock", QCoreApplication::applicationPid(),
                                QCoreApplication::applicationName()));

    ScriptedUi ui;
    MainWindow window(ui);
    ui.answers.enqueue(UiServices::Answer::Yes);
    window.projectCommands().offerRecovery();

    QCOMPARE(ui.messages.size(), offered ? 1 : 0);
    QCOMPARE(entries(window).size(), offered ? 3 : 1);
    QCOMPARE(QFile::exists(base + ".dlg2"), !offered);
    holder.kill();
    holder.waitForFinished();
}

// The lock of an editor that was killed without a changed project has no copy to offer: it goes
// when the next editor starts, whatever process it names. A running editor's lock stays.
void TestMainWindowDocument::staleLocksAreRemoved()
{
    QProcess gone;
    gone.start("true");
    QVERIFY(gone.waitForStarted());
    const qint64 gonePid = gone.processId();
    QVERIFY(gone.waitForFinished());
    const QDir folder(Autosave::folder());
    QVERIFY(QDir().mkpath(folder.path()));
    const QString stale = folder.filePath(QString::number(gonePid) + ".lock");
    const QString reused = folder.filePath("999999.lock");
    const QString alive = folder.filePath("999998.lock");
    QVERIFY(writeLockNaming(stale, gonePid, "true"));
    QVERIFY(writeLockNaming(reused, QCoreApplication::applicationPid(),
                            QCoreApplication::applicationName()));
    QProcess running;
    QVERIFY(holdLock(running, alive));

    ScriptedUi ui;
    MainWindow window(ui);
    QVERIFY(!QFile::exists(stale));
    QVERIFY(!QFile::exists(reused));
    QVERIFY(QFile::exists(alive));
    running.kill();
    running.waitForFinished();
    QVERIFY(QFile::remove(alive));
}

void TestMainWindowDocument::pluginResultIsOneUndoableStep()
{
    ScriptedUi ui;
    ui.detachedStartsRun = true;
    MainWindow window(ui);
    fillProject(window, 3);
    const QByteArray opened = document(window).project().fileBytes();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    child<QPushButton>(&window, "list_new")->click();
    const QByteArray edited = document(window).project().fileBytes();

    // The shipped plug-in, run from the management window as the user runs it.
    QTimer::singleShot(0, [&] {
        QWidget *management = QApplication::activeModalWidget();
        QVERIFY(management);
        child<QTabBar>(management, "maintab")->setCurrentIndex(2);
        QTimer::singleShot(0, [&] {
            auto *run = qobject_cast<PluginRunWindow *>(QApplication::activeModalWidget());
            QVERIFY(run);
            run->waitTick();
            QCOMPARE(ui.starts.size(), 1);
            const QString output = QDir(ui.starts[0].workingFolder).filePath("Output.tmp");
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output), 10000);
            run->waitTick();
        });
        QTest::mouseClick(child<QPushButton>(management, "pl_cont0"), Qt::LeftButton);
        management->close();
    });
    emit child<KXButton>(&window, "sd5")->clicked();

    const QByteArray result = document(window).project().fileBytes();
    QCOMPARE(entries(window).size(), 5);
    QCOMPARE(trimmedRight(document(window).record(5).caption), "Конец");
    QVERIFY(document(window).isModified());

    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *list = child<QListWidget>(&window, "dlg_list");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document(window).project().fileBytes(), edited);
    QCOMPARE(entries(window).size(), 4);
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document(window).project().fileBytes(), opened);
    QVERIFY(!document(window).isModified());
    QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(document(window).project().fileBytes(), result);
    QVERIFY(document(window).isModified());
    QVERIFY(ui.messages.isEmpty());
}

QTEST_MAIN(TestMainWindowDocument)
#include "tst_mainwindowdocument.moc"

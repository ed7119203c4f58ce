// The project document: every change is one undoable command, "changed" is the undo stack's
// clean state, and the views' signals tell exactly what changed.

#include "buttonscript.h"
#include "editorfixture.h"
#include "messagewindow.h"
#include "projectdocument.h"
#include "scriptshorthand.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

using namespace kq;
using namespace kq::ScriptShorthand;

namespace {

DialogProject projectOf(const QStringList &texts)
{
    DialogProject project;
    project.record(0).text = "0";
    for (int i = 0; i < texts.size(); ++i)
        project.newDialog(i + 1, texts.at(i));
    project.setDialogCount(qint16(texts.size()));
    return project;
}

QStringList textsOf(const ProjectDocument &document)
{
    QStringList texts;
    for (int k = 1; k <= document.dialogCount(); ++k)
        texts << trimmedRight(document.record(k).text);
    return texts;
}

} // namespace

class TestProjectDocument : public QObject
{
    Q_OBJECT

private slots:
    void listOperationsUndoAndRedo_data();
    void listOperationsUndoAndRedo();
    void goToTargetsFollowTheirSteps_data();
    void goToTargetsFollowTheirSteps();
    void deletedTargetWarningEndsWithAnEdit();
    void typingMergesPerField();
    void typingBackToTheStartLeavesNoCommand();
    void pendingTypingGoesFirst_data();
    void pendingTypingGoesFirst();
    void cleanStateFollowsSaves();
    void pluginResultIsUnsaved();
    void typeSwitchIsOneCommand_data();
    void typeSwitchIsOneCommand();
    void outOfRangeValuesStayUntilChosen();
    void limitsRefuseQuietly();
    void signalsNameWhatChanged();
    void wideTextAsTheRunnerDrawsIt_data();
    void wideTextAsTheRunnerDrawsIt();
};

void TestProjectDocument::listOperationsUndoAndRedo_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("dialog");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("insert after first") << "insert" << 1 << QStringList{"A", "new", "B", "C"} << 2;
    QTest::newRow("insert after last") << "insert" << 3 << QStringList{"A", "B", "C", "new"} << 4;
    QTest::newRow("delete middle") << "delete" << 2 << QStringList{"A", "C"} << 2;
    QTest::newRow("delete last") << "delete" << 3 << QStringList{"A", "B"} << 2;
    QTest::newRow("move up") << "up" << 3 << QStringList{"A", "C", "B"} << 2;
    QTest::newRow("move down") << "down" << 1 << QStringList{"B", "A", "C"} << 2;
}

void TestProjectDocument::listOperationsUndoAndRedo()
{
    QFETCH(QString, operation);
    QFETCH(int, dialog);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    ProjectDocument document;
    DialogProject start = projectOf({"A", "B", "C"});
    start.record(2).caption = "caption of B";
    start.record(2).ico = 4;
    document.replaceProject(start);
    document.setCurrentDialog(dialog);
    QVERIFY(!document.isModified());

    if (operation == "insert")
        document.insertDialog(dialog);
    else if (operation == "delete")
        document.deleteDialog(dialog);
    else
        document.moveDialog(dialog, operation == "up" ? -1 : 1);

    QStringList shown = textsOf(document);
    shown.replaceInStrings(trimmedRight(ProjectDocument::newDialogText()), "new");
    QCOMPARE(shown, after);
    QCOMPARE(document.currentDialog(), selectedAfter);
    QVERIFY(document.isModified());

    // Undo puts every record back whole, at its place; redo does the operation again.
    document.undoStack()->undo();
    QCOMPARE(document.project().fileBytes(), start.fileBytes());
    QVERIFY(!document.isModified());
    document.undoStack()->redo();
    shown = textsOf(document);
    shown.replaceInStrings(trimmedRight(ProjectDocument::newDialogText()), "new");
    QCOMPARE(shown, after);
}

void TestProjectDocument::goToTargetsFollowTheirSteps_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("dialog");
    QTest::addColumn<QStringList>("after");
    // "dialog.script" of each script left leading where a deleted step was.
    QTest::addColumn<QStringList>("deletedTargets");
    QTest::addColumn<int>("rewritten");

    // S3 and S5 go past the last step (number 5) and keep their numbers; "Идти К ab" is no
    // number and never moves.
    QTest::newRow("insert before step 3")
        << "insert" << 3 << QStringList{"S0 K06 K02", "S1 k04 K05", "S2 K00 Kab", "new N N",
                                        "S3 K07 X",   "S4 K04 K04", "S5 K01 K99"}
        << QStringList{} << 5;
    QTest::newRow("delete step 2")
        << "delete" << 3
        << QStringList{"S0 K04 K02", "S1 k02 K03", "S3 K07 X", "S4 K02 K02", "S5 K01 K99"}
        << QStringList{"1.2"} << 5;
    QTest::newRow("delete the last step")
        << "delete" << 6
        << QStringList{"S0 K05 K02", "S1 k03 K04", "S2 K00 Kab", "S3 K07 X", "S4 K03 K03"}
        << QStringList{"1.1"} << 0;
    QTest::newRow("move step 3 up")
        << "up" << 4 << QStringList{"S0 K05 K03", "S1 k02 K04", "S3 K07 X",
                                    "S2 K00 Kab", "S4 K02 K02", "S5 K01 K99"}
        << QStringList{} << 4;
    QTest::newRow("move step 0 down")
        << "down" << 1 << QStringList{"S1 k03 K04", "S0 K05 K02", "S2 K01 Kab",
                                      "S3 K07 X",   "S4 K03 K03", "S5 K00 K99"}
        << QStringList{} << 2;
}

void TestProjectDocument::goToTargetsFollowTheirSteps()
{
    QFETCH(QString, operation);
    QFETCH(int, dialog);
    QFETCH(QStringList, after);
    QFETCH(QStringList, deletedTargets);
    QFETCH(int, rewritten);
    const DialogProject start = projectOfSteps(
        {"S0 K05 K02", "S1 k03 K04", "S2 K00 Kab", "S3 K07 X", "S4 K03 K03", "S5 K01 K99"});
    ProjectDocument document;
    document.replaceProject(start);
    QSignalSpy followed(&document, &ProjectDocument::scriptsFollowed);
    QSignalSpy contents(&document, &ProjectDocument::contentsChanged);

    if (operation == "insert")
        document.insertDialog(dialog);
    else if (operation == "delete")
        document.deleteDialog(dialog);
    else
        document.moveDialog(dialog, operation == "up" ? -1 : 1);

    const DialogProject expected = projectOfSteps(after);
    for (int k = 1; k <= expected.dialogCount(); ++k) {
        QCOMPARE(trimmedRight(document.record(k).btnscr1), expected.record(k).btnscr1);
        QCOMPARE(trimmedRight(document.record(k).btnscr2), expected.record(k).btnscr2);
    }
    QStringList marked;
    for (int k = 1; k <= document.dialogCount(); ++k) {
        for (int script : {1, 2}) {
            if (document.leadsToDeletedStep(k, script))
                marked << QStringLiteral("%1.%2").arg(k).arg(script);
        }
    }
    QCOMPARE(marked, deletedTargets);
    const QList<Finding> findings = document.check();
    const auto warnings = std::count_if(findings.cbegin(), findings.cend(), [](const Finding &f) {
        return f.kind == Finding::Kind::TargetDeleted;
    });
    QCOMPARE(int(warnings), int(deletedTargets.size()));
    QCOMPARE(followed.value(0), (QVariantList{rewritten, int(deletedTargets.size())}));
    // The views hear of the list and the scripts together, once.
    QCOMPARE(contents.size(), 1);

    // One command: one undo gives back the exact bytes, without any warning left.
    QCOMPARE(document.undoStack()->count(), 1);
    document.undoStack()->undo();
    QCOMPARE(document.project().fileBytes(), start.fileBytes());
    QVERIFY(!document.leadsToDeletedStep(1, 1) && !document.leadsToDeletedStep(1, 2));
    document.undoStack()->redo();
    QCOMPARE(trimmedRight(document.record(1).btnscr1), trimmedRight(expected.record(1).btnscr1));
    QCOMPARE(document.leadsToDeletedStep(1, 2), deletedTargets.contains("1.2"));
}

void TestProjectDocument::deletedTargetWarningEndsWithAnEdit()
{
    ProjectDocument document;
    document.replaceProject(projectOfSteps({"A K01 K02", "B N N", "C N N"}));
    document.deleteDialog(2);
    QVERIFY(document.leadsToDeletedStep(1, 1));
    // The mark follows its script when the list changes again.
    document.insertDialog(0);
    QVERIFY(document.leadsToDeletedStep(2, 1) && !document.leadsToDeletedStep(1, 1));
    document.setField(2, ProjectDocument::Field::Script1, ButtonScript::goTo(1));
    QVERIFY(!document.leadsToDeletedStep(2, 1));
    document.undoStack()->undo();
    QVERIFY(document.leadsToDeletedStep(2, 1));
    // Another project, or the same one opened again, starts without marks.
    document.replaceProject(document.project());
    QVERIFY(!document.leadsToDeletedStep(2, 1));
}

void TestProjectDocument::typingMergesPerField()
{
    ProjectDocument document;
    document.replaceProject(projectOf({"A", "B"}));
    document.setField(1, ProjectDocument::Field::Caption, "H");
    document.setField(1, ProjectDocument::Field::Caption, "He");
    document.setField(1, ProjectDocument::Field::Caption, "Hey");
    QCOMPARE(document.undoStack()->count(), 1);

    document.setField(1, ProjectDocument::Field::Text, "text");
    document.setField(2, ProjectDocument::Field::Text, "other");
    QCOMPARE(document.undoStack()->count(), 3);

    document.undoStack()->undo();
    document.undoStack()->undo();
    QCOMPARE(trimmedRight(document.record(1).caption), "Hey");
    document.undoStack()->undo();
    QCOMPARE(trimmedRight(document.record(1).caption), "");
    QVERIFY(!document.isModified());
}

void TestProjectDocument::typingBackToTheStartLeavesNoCommand()
{
    ProjectDocument document;
    document.replaceProject(projectOf({"A"}));
    document.setField(1, ProjectDocument::Field::Caption, "x");
    document.setField(1, ProjectDocument::Field::Caption, "");
    QVERIFY(!document.isModified());
    QCOMPARE(document.undoStack()->count(), 0);
    // Trailing padding is no change either.
    document.setField(1, ProjectDocument::Field::Text, "A   ");
    QVERIFY(!document.isModified());
}

void TestProjectDocument::pendingTypingGoesFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("history");
    // The typing becomes a command before the command runs: undo takes back the typing itself,
    // and redo finds nothing left to redo once the typing has cut the history.
    QTest::newRow("commit") << "commit"
                            << "typed" << 2;
    QTest::newRow("undo") << "undo"
                          << "" << 2;
    QTest::newRow("redo") << "redo"
                          << "typed" << 2;
}

void TestProjectDocument::pendingTypingGoesFirst()
{
    QFETCH(QString, command);
    QFETCH(QString, caption);
    QFETCH(int, history);
    ProjectDocument document;
    document.replaceProject(projectOf({"A"}));
    document.setField(1, ProjectDocument::Field::Text, "first");
    document.setField(1, ProjectDocument::Field::Caption, "undone");
    document.undoStack()->undo();
    // A view holding typing that has not been sent yet.
    connect(&document, &ProjectDocument::pendingEditsRequested, &document,
            [&document] { document.setField(1, ProjectDocument::Field::Caption, "typed"); });
    if (command == "commit")
        document.commitPendingEdits();
    else if (command == "undo")
        document.undo();
    else
        document.redo();
    QCOMPARE(trimmedRight(document.record(1).caption), caption);
    QCOMPARE(textsOf(document), QStringList{"first"});
    QCOMPARE(document.undoStack()->count(), history);
}

void TestProjectDocument::cleanStateFollowsSaves()
{
    ProjectDocument document;
    QSignalSpy modified(&document, &ProjectDocument::modifiedChanged);
    QSignalSpy path(&document, &ProjectDocument::pathChanged);
    document.replaceProject(projectOf({"A"}));
    document.setIcon(1, 2);
    QVERIFY(document.isModified());
    document.markSaved("/tmp/saved.dlg2");
    QVERIFY(!document.isModified());
    QCOMPARE(path.size(), 1);
    QCOMPARE(document.path(), "/tmp/saved.dlg2");

    // Typing after a save is a new command: undoing it returns to the saved state.
    document.setField(1, ProjectDocument::Field::Caption, "after");
    QVERIFY(document.isModified());
    document.undoStack()->undo();
    QVERIFY(!document.isModified());
    document.undoStack()->undo();
    QVERIFY(document.isModified());
    QCOMPARE(modified.size(), 5);
}

void TestProjectDocument::pluginResultIsUnsaved()
{
    // One command, whatever the result holds; the path is the project's, and undo gives back the
    // records and the marks of scripts that led to a deleted step.
    ProjectDocument document;
    DialogProject start = projectOfSteps({"A K01 N", "B N N", "C N N"});
    start.setPath("/tmp/x.dlg2");
    document.replaceProject(start);
    document.deleteDialog(2);
    QVERIFY(document.leadsToDeletedStep(1, 1));
    const QByteArray edited = document.project().fileBytes();
    document.markSaved("/tmp/x.dlg2");
    DialogProject result = projectOf({"P", "Q", "R", "S"});
    result.setPath("/elsewhere.dlg2");

    document.applyPluginResult(result);
    QVERIFY(document.isModified());
    QCOMPARE(document.undoStack()->count(), 2);
    QCOMPARE(document.project().fileBytes(), result.fileBytes());
    QCOMPARE(document.path(), "/tmp/x.dlg2");
    QVERIFY(!document.leadsToDeletedStep(1, 1));

    document.undo();
    QVERIFY(!document.isModified());
    QCOMPARE(document.project().fileBytes(), edited);
    QVERIFY(document.leadsToDeletedStep(1, 1));
    document.redo();
    QVERIFY(document.isModified());
    QCOMPARE(document.project().fileBytes(), result.fileBytes());
    document.markSaved("/tmp/x.dlg2");
    QVERIFY(!document.isModified());
}

void TestProjectDocument::typeSwitchIsOneCommand_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("script1");
    QTest::addColumn<QString>("script2");
    QTest::newRow("progress") << 1 << ButtonScript::NoAction << ButtonScript::GoNext;
    QTest::newRow("pause") << 2 << ButtonScript::GoNext << QString();
}

void TestProjectDocument::typeSwitchIsOneCommand()
{
    QFETCH(int, type);
    QFETCH(QString, script1);
    QFETCH(QString, script2);
    ProjectDocument document;
    DialogProject start = projectOf({"A"});
    start.record(1).caption = "Окно";
    start.record(1).btn2 = "Нет";
    document.replaceProject(start);

    document.setType(1, type);

    // The script that runs by itself goes on, so the runner can play the step.
    QCOMPARE(document.record(1).type, type);
    QCOMPARE(trimmedRight(document.record(1).btnscr1), script1);
    QCOMPARE(trimmedRight(document.record(1).btnscr2), script2);
    QCOMPARE(document.undoStack()->count(), 1);
    document.undoStack()->undo();
    QCOMPARE(document.record(1), start.record(1));
    document.setType(1, 0);
    QVERIFY(!document.undoStack()->canUndo()); // the type it already has
}

void TestProjectDocument::outOfRangeValuesStayUntilChosen()
{
    ProjectDocument document;
    DialogProject start = projectOf({"A"});
    start.record(1).type = 7;
    start.record(1).ico = 9;
    start.record(1).time = -5;
    document.replaceProject(start);
    document.setField(1, ProjectDocument::Field::Caption, "edit");
    QCOMPARE(document.record(1).type, 7);
    QCOMPARE(document.record(1).ico, 9);
    QCOMPARE(document.record(1).time, -5);
}

void TestProjectDocument::limitsRefuseQuietly()
{
    ProjectDocument document;
    QStringList many;
    for (int i = 0; i < DialogProject::MaxDialogs; ++i)
        many << QString::number(i);
    document.replaceProject(projectOf(many));
    document.insertDialog(5);
    QVERIFY(!document.linkScript(1, 1, StepExit::Leads::Step, DialogProject::MaxDialogs));
    QCOMPARE(document.dialogCount(), DialogProject::MaxDialogs);
    document.replaceProject(projectOf({"only"}));
    document.deleteDialog(1);
    document.moveDialog(1, -1);
    document.moveDialog(1, 1);
    // Arrows drawn to nowhere, by a script the step lacks, to a kind of end no script names, or
    // to where the script leads already.
    using Leads = StepExit::Leads;
    QVERIFY(!document.linkScript(1, 1, Leads::Step, -1));
    QVERIFY(!document.linkScript(1, 1, Leads::Step, 2));
    QVERIFY(!document.linkScript(1, 3, Leads::Exit));
    QVERIFY(!document.linkScript(2, 1, Leads::Exit));
    QVERIFY(!document.linkScript(1, 1, Leads::OffList, 5));
    QVERIFY(!document.linkScript(1, 1, Leads::Stays));
    document.linkScript(1, 2, Leads::Exit);
    QVERIFY(!document.linkScript(1, 2, Leads::Exit));
    QCOMPARE(document.undoStack()->count(), 1);
    document.undo();
    QCOMPARE(document.dialogCount(), 1);
    QCOMPARE(document.undoStack()->index(), 0);

    // A project read without any dialog gets the one a new project starts with.
    DialogProject empty = projectOf({});
    document.replaceProject(empty);
    QCOMPARE(document.dialogCount(), 1);
}

void TestProjectDocument::signalsNameWhatChanged()
{
    ProjectDocument document;
    document.replaceProject(projectOf({"A", "B", "C"}));
    QSignalSpy changed(&document, &ProjectDocument::recordChanged);
    QSignalSpy inserted(&document, &ProjectDocument::dialogsInserted);
    QSignalSpy removed(&document, &ProjectDocument::dialogsRemoved);
    QSignalSpy moved(&document, &ProjectDocument::dialogMoved);
    QSignalSpy reordered(&document, &ProjectDocument::dialogsReordered);

    document.setStyle(1);
    document.setField(3, ProjectDocument::Field::Text, "C2");
    document.insertDialog(1);
    document.deleteDialog(4);
    document.moveDialog(2, 1);

    // The move names both records it swapped: a view may show either of them.
    QCOMPARE(changed.size(), 4);
    QCOMPARE(changed.at(0).at(0).toInt(), 0);
    QCOMPARE(changed.at(1).at(0).toInt(), 3);
    QCOMPARE(changed.at(2).at(0).toInt(), 2);
    QCOMPARE(changed.at(3).at(0).toInt(), 3);
    QCOMPARE(inserted.value(0), (QVariantList{2, 1}));
    QCOMPARE(removed.value(0), (QVariantList{4, 1}));
    QCOMPARE(moved.value(0), (QVariantList{2, 3}));
    // Undo of the move sends the opposite move.
    document.undoStack()->undo();
    QCOMPARE(moved.value(1), (QVariantList{3, 2}));
    // Where each dialog went, for a view that follows one of them.
    QCOMPARE(reordered.value(0).at(0).value<QList<int>>(), (QList<int>{1, 3, 2}));
    document.moveDialogsTo({3}, 1);
    QCOMPARE(reordered.value(2).at(0).value<QList<int>>(), (QList<int>{3, 1, 2}));
    // A paste of many steps is one block each way.
    document.pasteSteps(document.copySteps({1, 2, 3}), 1);
    QCOMPARE(inserted.value(1), (QVariantList{2, 3}));
    QCOMPARE(document.selectedDialogs(), (QList<int>{2, 3, 4}));
    document.undo();
    QCOMPARE(removed.value(1), (QVariantList{2, 3}));
    QCOMPARE(inserted.size(), 2);
    QCOMPARE(removed.size(), 2);
}

void TestProjectDocument::wideTextAsTheRunnerDrawsIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint16>("style");
    QTest::addColumn<bool>("wide");
    for (const qint16 style : {qint16(0), qint16(1)}) {
        const QByteArray look = style ? " (skinned)" : " (system)";
        QTest::newRow("200 narrow letters" + look) << QString(200, u'i') << style << false;
        QTest::newRow("150 wide letters" + look) << QString(150, u'W') << style << true;
    }
}

// The wide-text warning comes exactly when the runner's message window draws a line wider than
// the limit, in either look.
void TestProjectDocument::wideTextAsTheRunnerDrawsIt()
{
    QFETCH(QString, text);
    QFETCH(qint16, style);
    QFETCH(bool, wide);
    DialogProject project = projectOf({text});
    project.record(0).text = QString::number(style);
    project.record(1).btnscr1 = ButtonScript::Exit;
    ProjectDocument document;
    document.replaceProject(project);
    const QList<Finding> findings = document.check();
    const bool warned = std::any_of(findings.cbegin(), findings.cend(), [](const Finding &finding) {
        return finding.kind == Finding::Kind::WideMessage;
    });
    MessageWindow window(project.record(1), style);
    const int drawn = window.findChild<QLabel *>(QStringLiteral("msg_text"))->width();
    QCOMPARE(drawn > ProjectCheck::WidestMessage, wide);
    QCOMPARE(warned, wide);
}

QTEST_MAIN(TestProjectDocument)
#include "tst_projectdocument.moc"

// The project commands on a document of their own: the question before unsaved edits are
// dropped, saving under a typed name, and a failed open or a missing sample that leave the
// project as it was.

#include "editorfixture.h"
#include "language.h"
#include "projectcommands.h"
#include "projectdocument.h"
#include "projectio.h"
#include "scriptedui.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <QWidget>

using namespace kq;

namespace {

// A document of two dialogs, edited or not, and the commands over a window.
struct Editor
{
    ScriptedUi ui;
    QWidget window;
    ProjectDocument document;
    ProjectCommands commands{ui, document, &window};

    explicit Editor(bool edited)
    {
        commands.newProject();
        document.insertDialog(1);
        document.undoStack()->setClean();
        if (edited)
            document.setField(1, ProjectDocument::Field::Caption, "Изменено");
    }
};

} // namespace

class TestProjectCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void replacingAsksAboutEditsOnly_data();
    void replacingAsksAboutEditsOnly();
    void saveUnderTypedName_data();
    void saveUnderTypedName();
    void failedOpenKeepsProject();
    void missingSampleWarns_data();
    void missingSampleWarns();
    void pluginResultIsUnsavedUnderSamePath();

private:
    QScopedPointer<kq::EditorTest::ProgramFolder> mFolder;
};

void TestProjectCommands::init()
{
    mFolder.reset();
    mFolder.reset(new kq::EditorTest::ProgramFolder);
    QVERIFY(mFolder->ok());
    languageHeaderValue("russian.lang", "GetFile");
}

void TestProjectCommands::replacingAsksAboutEditsOnly_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("savedTo"); // the save dialog's answer
    QTest::addColumn<bool>("mayReplace");
    QTest::newRow("no edits") << false << int(UiServices::Answer::Cancel) << "" << true;
    QTest::newRow("no") << true << int(UiServices::Answer::No) << "" << true;
    QTest::newRow("cancel") << true << int(UiServices::Answer::Cancel) << "" << false;
    QTest::newRow("yes, saved") << true << int(UiServices::Answer::Yes) << "kept.dlg2" << true;
    QTest::newRow("yes, dialog cancelled") << true << int(UiServices::Answer::Yes) << "" << false;
}

void TestProjectCommands::replacingAsksAboutEditsOnly()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, savedTo);
    QFETCH(bool, mayReplace);
    Editor editor(edited);
    editor.ui.answers.enqueue(UiServices::Answer(answer));
    editor.ui.fileNames.enqueue(savedTo.isEmpty() ? QString() : mFolder->path(savedTo));

    QCOMPARE(editor.commands.mayReplaceProject(), mayReplace);

    QCOMPARE(editor.ui.messages.size(), edited ? 1 : 0);
    if (edited) {
        QCOMPARE(editor.ui.messages[0].text, languageText(TextId::SaveChangesQuestion));
        QCOMPARE(editor.ui.messages[0].buttons, UiServices::Buttons::YesNoCancel);
    }
    QCOMPARE(QFileInfo::exists(mFolder->path("kept.dlg2")), !savedTo.isEmpty());
    QCOMPARE(editor.document.isModified(), edited && savedTo.isEmpty());
}

void TestProjectCommands::saveUnderTypedName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("without extension") << "named"
                                       << "named.dlg2";
    // Open takes only the project kind, so any other ending gets it added.
    QTest::newRow("with another extension") << "named.prj"
                                            << "named.prj.dlg2";
    QTest::newRow("a version in the name") << "Project v1.2"
                                           << "Project v1.2.dlg2";
    QTest::newRow("the kind in capitals") << "NAMED.DLG2"
                                          << "NAMED.DLG2";
}

void TestProjectCommands::saveUnderTypedName()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    Editor editor(true);
    QSignalSpy used(&editor.commands, &ProjectCommands::projectFileUsed);
    editor.ui.fileNames.enqueue(mFolder->path(typed));

    QVERIFY(editor.commands.save(ProjectCommands::SaveMode::Save));
    // Once it has a file, Save writes there without asking.
    QVERIFY(editor.commands.save(ProjectCommands::SaveMode::Save));

    QCOMPARE(editor.ui.fileDialogs.size(), 1);
    QCOMPARE(editor.ui.fileDialogs[0].defaultSuffix, "dlg2");
    QCOMPARE(editor.document.path(), mFolder->path(written));
    QVERIFY(!editor.document.isModified());
    QCOMPARE(QFileInfo(mFolder->path(written)).size(), 3 * DialogRecord::Size);
    QCOMPARE(used.size(), 2);
    QCOMPARE(used[0][0].toString(), mFolder->path(written));
}

void TestProjectCommands::failedOpenKeepsProject()
{
    const QString broken = mFolder->path("broken.dlg2");
    QVERIFY(kq::TestFiles::writeBytes(broken, QByteArray(100, 'x')));
    Editor editor(false);
    editor.document.setField(1, ProjectDocument::Field::Text, "Моё");
    editor.document.undoStack()->setClean();
    QSignalSpy used(&editor.commands, &ProjectCommands::projectFileUsed);

    editor.commands.openFile(broken);

    QCOMPARE(editor.ui.messages.size(), 1);
    QCOMPARE(editor.ui.messages[0].title, languageText(TextId::OperationFailed));
    QCOMPARE(editor.document.dialogCount(), 2);
    QCOMPARE(trimmedRight(editor.document.record(1).text), "Моё");
    QVERIFY(editor.document.path().isEmpty());
    QVERIFY(used.isEmpty());
}

void TestProjectCommands::missingSampleWarns_data()
{
    QTest::addColumn<QString>("sample");
    QTest::newRow("no name") << "";
    QTest::newRow("no file") << "nothere.dlg2";
}

void TestProjectCommands::missingSampleWarns()
{
    QFETCH(QString, sample);
    Editor editor(true);

    editor.commands.openSample(sample);

    // No question first: nothing would be replaced.
    QCOMPARE(editor.ui.messages.size(), 1);
    QCOMPARE(editor.ui.messages[0].text, languageText(TextId::SampleNotFound));
    QCOMPARE(editor.ui.messages[0].title, languageText(TextId::OperationFailed));
    QVERIFY(editor.document.isModified());
    QCOMPARE(editor.document.dialogCount(), 2);
}

void TestProjectCommands::pluginResultIsUnsavedUnderSamePath()
{
    Editor editor(false);
    editor.document.markSaved(mFolder->path("mine.dlg2"));
    DialogProject result;
    result.newDialog(1, "Плагин");
    result.setDialogCount(1);

    editor.commands.loadPluginResult(result);

    QCOMPARE(editor.document.dialogCount(), 1);
    QCOMPARE(trimmedRight(editor.document.record(1).text), "Плагин");
    QCOMPARE(editor.document.path(), mFolder->path("mine.dlg2"));
    QVERIFY(editor.document.isModified());
}

QTEST_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"

// The project commands on a document of their own: the question before unsaved edits are
// dropped, the commands of the toolbar, its menus and the window's closing one after another
// with the user's answers, saving under a typed name, and a failed open or a missing sample that
// leave the project as it was.

#include "editorfixture.h"
#include "language.h"
#include "productinfo.h"
#include "projectcommands.h"
#include "projectdocument.h"
#include "projectio.h"
#include "scriptedui.h"

#include <QFile>
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

// Runs one command as the window does and returns its outcome: whether the project may be
// closed, was saved, or was replaced by New; true for the commands that return nothing.
// "sample NAME" opens a sample by its file name; "plugin" loads a plug-in's result of 3 dialogs.
bool runCommand(Editor &editor, const QString &command)
{
    ProjectCommands &commands = editor.commands;
    if (command == u"new") {
        const bool replaced = commands.mayReplaceProject();
        if (replaced)
            commands.newProject();
        return replaced;
    }
    if (command == u"close") {
        const bool closes = commands.mayReplaceProject();
        if (closes)
            commands.closeProject();
        return closes;
    }
    if (command == u"save" || command == u"save as")
        return commands.save(command == u"save" ? ProjectCommands::SaveMode::Save
                                                : ProjectCommands::SaveMode::SaveAs);
    if (command == u"open") {
        commands.open();
    } else if (command.startsWith(u"sample ")) {
        commands.openSample(command.section(u' ', 1));
    } else if (command == u"plugin") {
        DialogProject result;
        result.record(0).text = "0";
        for (int i = 1; i <= 3; ++i)
            result.newDialog(i, "Плагин");
        result.setDialogCount(3);
        commands.loadPluginResult(result);
    } else {
        qFatal("unknown command %s", qPrintable(command));
    }
    return true;
}

} // namespace

class TestProjectCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void replacingAsksAboutEditsOnly_data();
    void replacingAsksAboutEditsOnly();
    void commandsWithAnswers_data();
    void commandsWithAnswers();
    void saveUnderTypedName_data();
    void saveUnderTypedName();
    void failedOpenKeepsProject_data();
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

void TestProjectCommands::commandsWithAnswers_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("pathBefore");       // below the test's folder; empty: none
    QTest::addColumn<QByteArray>("sampleContent"); // replaces Samples/FormatC.dlg2 when given
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("fileNames");   // chosen in the file dialogs; empty: cancelled
    QTest::addColumn<QStringList>("fileDialogs"); // "open", "save" or "save <offered name>"
    QTest::addColumn<QStringList>("written");     // files made, holding the project as it was
    QTest::addColumn<QString>("pathAfter");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::addColumn<int>("dialogsAfter");   // -1: the sample's own, more than one
    QTest::addColumn<QString>("styleAfter"); // the style a sample brings; empty: not checked
    QTest::addColumn<int>("messages");
    QTest::addColumn<bool>("failed"); // the last message is the failure warning
    QTest::addColumn<bool>("outcome");

    const int yes = int(UiServices::Answer::Yes);
    const int no = int(UiServices::Answer::No);
    const int cancel = int(UiServices::Answer::Cancel);
    const QStringList none;
    const QByteArray shipped;

    // New asks about edits, then resets the project.
    QTest::newRow("new, no: edits dropped")
        << QStringList{"new"} << true << "x.dlg2" << shipped << QList<int>{no} << none << none
        << none << "" << false << 1 << "" << 1 << false << true;
    QTest::newRow("new, yes: saved first")
        << QStringList{"new"} << true << "x.dlg2" << shipped << QList<int>{yes} << none << none
        << QStringList{"x.dlg2"} << "" << false << 1 << "" << 1 << false << true;
    QTest::newRow("new, cancel: nothing happens")
        << QStringList{"new"} << true << "x.dlg2" << shipped << QList<int>{cancel} << none << none
        << none << "x.dlg2" << true << 2 << "" << 1 << false << false;
    QTest::newRow("new without edits asks nothing")
        << QStringList{"new"} << false << "" << shipped << QList<int>{} << none << none << none
        << "" << false << 1 << "" << 0 << false << true;

    // Closing the window asks only after edits; a save that does not happen keeps it open.
    QTest::newRow("close, no edits")
        << QStringList{"close"} << false << "" << shipped << QList<int>{} << none << none << none
        << "" << false << 2 << "" << 0 << false << true;
    QTest::newRow("close, edited, cancel")
        << QStringList{"close"} << true << "" << shipped << QList<int>{cancel} << none << none
        << none << "" << true << 2 << "" << 1 << false << false;
    QTest::newRow("close, edited, no")
        << QStringList{"close"} << true << "" << shipped << QList<int>{no} << none << none << none
        << "" << true << 2 << "" << 1 << false << true;
    QTest::newRow("close, edited, yes")
        << QStringList{"close"} << true << "" << shipped << QList<int>{yes}
        << QStringList{"saved.dlg2"} << QStringList{"save"} << QStringList{"saved.dlg2"}
        << "saved.dlg2" << false << 2 << "" << 1 << false << true;
    QTest::newRow("close, edited, yes, save-as cancelled")
        << QStringList{"close"} << true << "" << shipped << QList<int>{yes} << QStringList{""}
        << QStringList{"save"} << none << "" << true << 2 << "" << 1 << false << false;
    QTest::newRow("close, edited, yes, save failed")
        << QStringList{"close"} << true << "" << shipped << QList<int>{yes}
        << QStringList{"missing/saved.dlg2"} << QStringList{"save"} << none << "" << true << 2 << ""
        << 2 << true << false;

    // Open asks about edits before its file dialog.
    QTest::newRow("open, no, dialog cancelled")
        << QStringList{"open"} << true << "" << shipped << QList<int>{no} << QStringList{""}
        << QStringList{"open"} << none << "" << true << 2 << "" << 1 << false << true;
    QTest::newRow("open cancelled at the question")
        << QStringList{"open"} << true << "" << shipped << QList<int>{cancel} << none << none
        << none << "" << true << 2 << "" << 1 << false << true;
    QTest::newRow("open, yes saves first")
        << QStringList{"open"} << true << "" << shipped << QList<int>{yes}
        << QStringList{"first.dlg2", "other.dlg2"} << QStringList{"save", "open"}
        << QStringList{"first.dlg2"} << "other.dlg2" << false << 1 << "" << 1 << false << true;

    // Save asks for a name once; Save As offers the file's own name, and a name with a dot of
    // its own still gets the project ending.
    QTest::newRow("save asks for a name only once")
        << QStringList{"save", "save", "save as"} << true << "" << shipped << QList<int>{}
        << QStringList{"named", "Project v1.2"} << QStringList{"save", "save named.dlg2"}
        << QStringList{"named.dlg2", "Project v1.2.dlg2"} << "Project v1.2.dlg2" << false << 2 << ""
        << 0 << false << true;

    // A sample replaces the project after the question, with the style it was made in; an old
    // text project has no file of its own to save to.
    const struct
    {
        const char *file;
        const char *path;
        const char *style;
    } samples[] = {{"FormatC.dlg2", "Samples/FormatC.dlg2", "0"},
                   {"VirusModification.dlg2", "Samples/VirusModification.dlg2", "1"},
                   {"tester.dlg", "", "0"},
                   {"virus.dlg", "", "0"}};
    for (const auto &sample : samples) {
        QTest::addRow("sample %s after no", sample.file)
            << QStringList{QString("sample ") + sample.file} << true << "" << shipped
            << QList<int>{no} << none << none << none << sample.path << false << -1 << sample.style
            << 1 << false << true;
    }
    QTest::newRow("sample, yes saves first")
        << QStringList{"sample FormatC.dlg2"} << true << "" << shipped << QList<int>{yes}
        << QStringList{"kept.dlg2"} << QStringList{"save"} << QStringList{"kept.dlg2"}
        << "Samples/FormatC.dlg2" << false << -1 << "" << 1 << false << true;
    QTest::newRow("sample, yes, save cancelled")
        << QStringList{"sample FormatC.dlg2"} << true << "" << shipped << QList<int>{yes}
        << QStringList{""} << QStringList{"save"} << none << "" << true << 2 << "" << 1 << false
        << true;
    QTest::newRow("sample, cancel")
        << QStringList{"sample FormatC.dlg2"} << true << "" << shipped << QList<int>{cancel} << none
        << none << none << "" << true << 2 << "" << 1 << false << true;
    // Save goes on writing the project's own file, never the sample that was not read.
    QTest::newRow("unreadable sample keeps the save path")
        << QStringList{"sample FormatC.dlg2", "save"} << false << "mine.dlg2"
        << QByteArray(100, 'x') << QList<int>{} << none << none << QStringList{"mine.dlg2"}
        << "mine.dlg2" << false << 2 << "" << 1 << true << true;

    // A plug-in's result is an unsaved change that closing asks about.
    QTest::newRow("plug-in result counts as unsaved")
        << QStringList{"plugin", "close"} << false << "" << shipped << QList<int>{} << none << none
        << none << "" << true << 3 << "" << 1 << false << false;
}

void TestProjectCommands::commandsWithAnswers()
{
    QFETCH(QStringList, commands);
    QFETCH(bool, edited);
    QFETCH(QString, pathBefore);
    QFETCH(QByteArray, sampleContent);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, fileNames);
    QFETCH(QStringList, fileDialogs);
    QFETCH(QStringList, written);
    QFETCH(QString, pathAfter);
    QFETCH(bool, modifiedAfter);
    QFETCH(int, dialogsAfter);
    QFETCH(QString, styleAfter);
    QFETCH(int, messages);
    QFETCH(bool, failed);
    QFETCH(bool, outcome);
    const auto inFolder = [this](const QString &name) {
        return name.isEmpty() ? QString() : mFolder->path(name);
    };
    const QString sample = mFolder->path("Samples/FormatC.dlg2");
    if (!sampleContent.isEmpty())
        QVERIFY(kq::TestFiles::writeBytes(sample, sampleContent));
    DialogProject other;
    other.record(0).text = "0";
    other.newDialog(1, "Другой");
    other.setDialogCount(1);
    QVERIFY(ProjectIO::saveProjectFile(other, mFolder->path("other.dlg2")));

    Editor editor(false);
    if (!pathBefore.isEmpty()) {
        DialogProject project = editor.document.project();
        project.setPath(inFolder(pathBefore));
        editor.document.replaceProject(project);
    }
    if (edited)
        editor.document.setField(1, ProjectDocument::Field::Caption, "Изменено");
    // The sample must bring its style, not find it already set.
    if (!styleAfter.isEmpty())
        editor.document.setStyle(1 - styleAfter.toInt());
    const DialogProject before = editor.document.project();
    QCOMPARE(editor.document.isModified(), edited || !styleAfter.isEmpty());
    for (const int answer : answers)
        editor.ui.answers.enqueue(UiServices::Answer(answer));
    for (const QString &name : fileNames)
        editor.ui.fileNames.enqueue(inFolder(name));

    bool lastOutcome = false;
    for (const QString &command : commands)
        lastOutcome = runCommand(editor, command);

    QCOMPARE(lastOutcome, outcome);
    QCOMPARE(editor.ui.messages.size(), messages);
    for (const ScriptedUi::Message &message : editor.ui.messages) {
        if (message.title != ProductTitle)
            continue;
        QCOMPARE(message.text, languageText(TextId::SaveChangesQuestion));
        QCOMPARE(message.icon, UiServices::Icon::Question);
        QCOMPARE(message.buttons, UiServices::Buttons::YesNoCancel);
    }
    if (failed)
        QCOMPARE(editor.ui.messages.last().title, languageText(TextId::OperationFailed));
    QCOMPARE(editor.ui.fileDialogs.size(), fileDialogs.size());
    for (int i = 0; i < fileDialogs.size(); ++i) {
        const ScriptedUi::FileDialog &dialog = editor.ui.fileDialogs.at(i);
        const bool save = fileDialogs.at(i).startsWith(u"save");
        QCOMPARE(dialog.save, save);
        if (save) {
            QCOMPARE(dialog.title, languageText(TextId::SaveProjectAsTitle));
            QCOMPARE(dialog.filter, languageText(TextId::ProjectFiles) + "|*.dlg2");
            QCOMPARE(dialog.defaultSuffix, "dlg2");
        } else {
            QCOMPARE(dialog.title, languageText(TextId::OpenProjectTitle));
            QCOMPARE(dialog.filter, languageText(TextId::ProjectFiles) + "|*.dlg2|" +
                                        languageText(TextId::LegacyProjectFiles) + "|*.dlg|" +
                                        languageText(TextId::BuiltProgramFiles) + "|*.exe");
        }
        const QString offered = fileDialogs.at(i).section(u' ', 1);
        if (!offered.isEmpty())
            QCOMPARE(dialog.suggestedPath, mFolder->path(offered));
    }
    // Whatever was written holds the project as it was before the commands.
    for (const QString &file : QStringList{pathBefore, "saved.dlg2", "first.dlg2", "kept.dlg2",
                                           "named.dlg2", "Project v1.2.dlg2"}) {
        if (file.isEmpty())
            continue;
        QCOMPARE(QFileInfo::exists(mFolder->path(file)), written.contains(file));
    }
    for (const QString &file : written) {
        DialogProject saved;
        QVERIFY(ProjectIO::loadProjectFile(saved, mFolder->path(file)));
        QCOMPARE(saved.dialogCount(), before.dialogCount());
        QCOMPARE(trimmedRight(saved.record(1).caption), trimmedRight(before.record(1).caption));
    }
    if (!sampleContent.isEmpty())
        QCOMPARE(kq::TestFiles::readBytes(sample), sampleContent);

    QCOMPARE(editor.document.path(), inFolder(pathAfter));
    QCOMPARE(editor.document.isModified(), modifiedAfter);
    if (dialogsAfter < 0)
        QVERIFY(editor.document.dialogCount() > 1);
    else
        QCOMPARE(editor.document.dialogCount(), dialogsAfter);
    if (!styleAfter.isEmpty())
        QCOMPARE(trimmedRight(editor.document.record(0).text), styleAfter);
    // Edits the user kept are still there.
    if (modifiedAfter && edited)
        QCOMPARE(trimmedRight(editor.document.record(1).caption), "Изменено");
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

void TestProjectCommands::failedOpenKeepsProject_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("unreadable project") << "broken.dlg2" << QByteArray(100, 'x');
    QTest::newRow("legacy with a broken line") << "broken.dlg" << QByteArray("a|b\r\n");
    QTest::newRow("unknown ending") << "notes.txt" << QByteArray("hello");
}

void TestProjectCommands::failedOpenKeepsProject()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString broken = mFolder->path(name);
    QVERIFY(kq::TestFiles::writeBytes(broken, content));
    Editor editor(false);
    editor.document.setField(1, ProjectDocument::Field::Text, "Моё");
    editor.document.undoStack()->setClean();
    QSignalSpy used(&editor.commands, &ProjectCommands::projectFileUsed);
    editor.ui.fileNames.enqueue(broken);

    editor.commands.open();

    QCOMPARE(editor.ui.messages.size(), 1);
    QCOMPARE(editor.ui.messages[0].title, languageText(TextId::OperationFailed));
    // The warning gives the reason, not only that it failed.
    QVERIFY(editor.ui.messages[0].text != languageText(TextId::OperationFailed));
    QCOMPARE(editor.document.dialogCount(), 2);
    QCOMPARE(trimmedRight(editor.document.record(1).text), "Моё");
    QVERIFY(editor.document.path().isEmpty());
    QVERIFY(used.isEmpty());
}

void TestProjectCommands::missingSampleWarns_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<bool>("removed"); // the shipped sample's file deleted first
    // A sample entry of the menu whose caption was left empty.
    QTest::newRow("no name") << "" << false;
    QTest::newRow("no file") << "nothere.dlg2" << false;
    QTest::newRow("shipped sample deleted") << "trojan.dlg" << true;
}

void TestProjectCommands::missingSampleWarns()
{
    QFETCH(QString, sample);
    QFETCH(bool, removed);
    if (removed)
        QVERIFY(QFile::remove(mFolder->path("Samples/" + sample)));
    Editor editor(true);

    editor.commands.openSample(sample);

    // No question first: nothing would be replaced.
    QCOMPARE(editor.ui.messages.size(), 1);
    QCOMPARE(editor.ui.messages[0].text, languageText(TextId::SampleNotFound));
    QCOMPARE(editor.ui.messages[0].title, languageText(TextId::OperationFailed));
    QCOMPARE(editor.ui.messages[0].icon, UiServices::Icon::Warning);
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

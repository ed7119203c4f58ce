// Every reason a failure gives, in the editor's warnings and on the command line, speaks the
// language of the editor: with the Russian language file active none is English.

#include "tst_mainwindowfixture.h"

#include "commandline.h"
#include "optionsetting.h"
#include "programcommands.h"
#include "projectcommands.h"
#include "projectio.h"
#include "testrun.h"

#include <QTextStream>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

// The commands of the editor over a document of one dialog, the project kept in the scratch
// folder so that a build may be refused onto it.
struct Editor
{
    ScriptedUi ui;
    QWidget window;
    ProjectDocument document;
    ProjectCommands projectCommands{ui, document, &window};
    ProgramCommands programCommands{ui, document, &window};

    explicit Editor(const QString &projectPath)
    {
        DialogProject project;
        fillProject(project, 1);
        project.setPath(projectPath);
        document.replaceProject(project);
    }
};

// What the user reads of a reason, less the names it quotes: the program's name, the command
// line's options and the names of variables and values it asks for, quoted names, paths and
// file endings.
QString wordsOf(QString reason, const QString &folder)
{
    reason.remove(folder);
    reason.remove(QRegularExpression(QStringLiteral(R"(\S*/\S*|\.\w+)")));
    reason.remove(QRegularExpression(
        QStringLiteral(R"('[^']*'|«[^»]*»|\btavlen\b|(^|\s)-[-\w]+|\b[A-Z_]{3,}\b)")));
    // Names of products and systems stay as they are in every language.
    reason.remove(QRegularExpression(QStringLiteral(R"(\b(Kestrane|Quorvex|Linux|Windows|Qt)\b)")));
    return reason;
}

QByteArray legacyLines(int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += "Text; Caption; Info; OK\r\n";
    return lines;
}

} // namespace

class TestRussianReasons : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void noReasonIsEnglish_data();
    void noReasonIsEnglish();

private:
    // The reason the editor or the command line gives for action on target.
    QString reasonOf(const QString &action, const QString &target);
    // What the command line prints on standard error, or with printed on standard output.
    QString commandLineReason(const QStringList &arguments, bool printed = false);

    QString mDetail; // what the last box showed under its details
    QScopedPointer<ProgramFolder> mFolder;
    QScopedPointer<QTemporaryDir> mScratch;
};

void TestRussianReasons::init()
{
    QVERIFY(renew(mFolder));
    mScratch.reset(new QTemporaryDir);
    mDetail.clear();
    optionSetting(OptionWrite, OptionLanguage, QStringLiteral("russian.lang"));
    languageHeaderValue(QStringLiteral("russian.lang"), QStringLiteral("GetFile"));
}

void TestRussianReasons::noReasonIsEnglish_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("target"); // the path given to it, in the scratch folder
    QTest::addColumn<QString>("file");   // a file put in the scratch folder first, if any
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray notes("my notes");
    const QByteArray tooMany(DialogRecord::Size * (DialogProject::MaxDialogs + 2), ' ');
    const struct
    {
        const char *name;
        const char *target;
        const char *file;
        QByteArray bytes;
    } failures[] = {
        {"no such file", "missing.dlg2", "", {}},
        {"2 bytes", "two.dlg2", "two.dlg2", "xx"},
        {"300 bytes", "short.dlg2", "short.dlg2", QByteArray(300, 'x')},
        {"100 dialogs", "big.dlg2", "big.dlg2", tooMany},
        {"neither a project", "notes.txt", "notes.txt", notes},
        {"legacy fields", "old.dlg", "old.dlg", "just a line\r\n"},
        {"legacy empty", "empty.dlg", "empty.dlg", " \r\n"},
        {"legacy lines", "many.dlg", "many.dlg", legacyLines(DialogProject::MaxDialogs + 1)},
    };
    for (const auto &failure : failures) {
        for (const char *action : {"open", "check", "build"})
            QTest::addRow("%s %s", action, failure.name)
                << action << failure.target << failure.file << failure.bytes;
    }
    const struct
    {
        const char *action;
        const char *target;
        const char *file;
    } refusals[] = {
        {"program", "notes.exe", "notes.exe"},
        {"program", "mine.dlg2", ""},
        {"portable", "quiz", "quiz/notes.txt"},
        {"web", "notes.html", "notes.html"},
    };
    for (const auto &refusal : refusals) {
        for (const char *where : {"", " command line"})
            QTest::addRow("%s %s%s", refusal.action, refusal.target, where)
                << QString::fromLatin1(refusal.action) + QString::fromLatin1(where)
                << refusal.target << refusal.file << notes;
    }
    // The runner's fault lines, as it prints them in English.
    for (const char *fault :
         {R"(step 1: the script "Нет" cannot be run)", "step 0 cannot be shown in project style 4",
          "the project header holds no project style",
          "step 2: the scripts lead back to it without showing anything, so "
          "the run would never end",
          "step 2: the scripts lead back to it through pauses, without a "
          "window the user can answer, so the run would never end",
          "the data file /tmp/kq/Runner/run.dll cannot be opened",
          "/tmp/kq/Runner/run.dll holds no project header", "step 3 cannot be read"})
        QTest::addRow("test run: %s", fault) << "test run" << fault << "" << QByteArray();
    // Wrong command lines, and a window where there is no display.
    for (const char *line :
         {"--check mine.dlg2 --build mine.dlg2 -o out", "-o out mine.dlg2", "--quiet mine.dlg2",
          "--check mine.dlg2 --no-splash", "--build mine.dlg2 -o out --web --portable",
          "--check mine.dlg2 other.dlg2", "--build mine.dlg2", "mine.dlg2 other.dlg2", "--bogus"})
        QTest::addRow("command line %s", line)
            << "wrong command line" << line << "" << QByteArray();
    QTest::addRow("no display") << "no display"
                                << ""
                                << "" << QByteArray();
    // What a build says when it succeeds.
    QTest::addRow("command line web page") << "command line says"
                                           << "--build mine.dlg2 -o page.html --web"
                                           << "" << QByteArray();
    QTest::addRow("command line help") << "command line says"
                                       << "--help"
                                       << "" << QByteArray();
}

void TestRussianReasons::noReasonIsEnglish()
{
    QFETCH(QString, action);
    QFETCH(QString, target);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    const QDir scratch(mScratch->path());
    DialogProject mine;
    fillProject(mine, 1);
    QVERIFY(ProjectIO::saveProjectFile(mine, scratch.filePath(QStringLiteral("mine.dlg2"))));
    if (!file.isEmpty())
        QVERIFY(TestFiles::writeBytes(scratch.filePath(file), bytes));

    const QString reason = reasonOf(action, target);

    QVERIFY2(!reason.isEmpty(), "no reason was given");
    // A box says its reason once, as its text, not again under its details.
    QVERIFY2(mDetail.isEmpty() || !reason.contains(mDetail), qPrintable(mDetail));
    const QString words = wordsOf(reason, scratch.path());
    QVERIFY2(!words.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3,}"))),
             qPrintable(reason));
}

QString TestRussianReasons::reasonOf(const QString &action, const QString &target)
{
    const QString path = QDir(mScratch->path()).filePath(target);
    const QString project = QDir(mScratch->path()).filePath(QStringLiteral("mine.dlg2"));
    if (action == u"wrong command line" || action == u"command line says") {
        QStringList arguments = target.split(u' ');
        for (QString &argument : arguments) {
            if (argument.contains(u'.'))
                argument = QDir(mScratch->path()).filePath(argument);
        }
        return commandLineReason(arguments, action.endsWith(u"says"));
    }
    if (action == u"no display") {
        QString errors;
        QTextStream err(&errors);
        refuseWithoutDisplay(err);
        return errors.trimmed();
    }
    if (action == u"check")
        return commandLineReason({QStringLiteral("--check"), path});
    if (action == u"build")
        return commandLineReason({QStringLiteral("--build"), path, QStringLiteral("-o"),
                                  QDir(mScratch->path()).filePath(QStringLiteral("out"))});
    if (action.endsWith(u" command line")) {
        QStringList arguments{QStringLiteral("--build"), project, QStringLiteral("-o"), path};
        if (!action.startsWith(u"program"))
            arguments << QStringLiteral("--") + action.section(u' ', 0, 0);
        return commandLineReason(arguments);
    }
    Editor editor(project);
    if (action == u"test run") {
        const QString runner = mFolder->path(runnerName());
        if (!TestFiles::writeBytes(runner, "#!/bin/sh\necho '" + QByteArray(FaultPrefix) +
                                               target.toUtf8() + "' >&2\nexit 1\n") ||
            !QFile::setPermissions(runner, QFile::permissions(runner) | QFile::ExeOwner))
            return {};
        editor.programCommands.testRun();
        const bool warned =
            QTest::qWaitFor([&editor] { return !editor.ui.messages.isEmpty(); }, 10000);
        if (!warned)
            return {};
        mDetail = editor.ui.messages.constFirst().detail;
        return editor.ui.messages.constFirst().text;
    }
    editor.ui.fileNames.enqueue(path);
    if (action == u"open")
        editor.projectCommands.openFile(path);
    else if (action == u"program")
        editor.programCommands.build();
    else if (action == u"portable")
        editor.programCommands.buildPortable();
    else if (action == u"web")
        editor.programCommands.buildWebPage();
    if (editor.ui.messages.isEmpty())
        return {};
    mDetail = editor.ui.messages.constLast().detail;
    return editor.ui.messages.constLast().text;
}

QString TestRussianReasons::commandLineReason(const QStringList &arguments, bool printed)
{
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    // As the program starts: the language of the settings first, Qt's own texts with it.
    useSettingsLanguage();
    runWithoutWindow(parseCommandLine(QStringList{QStringLiteral("tavlen")} + arguments), out, err);
    return (printed ? output : errors).trimmed();
}

QTEST_MAIN(TestRussianReasons)
#include "tst_russianreasons.moc"

// The commands that make a program of the project: the test run with its runner process, the
// build, the portable build and the web page, on a document of their own.

#include "tst_mainwindowfixture.h"

#include "programcommands.h"

#include <QSignalSpy>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

qint64 fileSize(const QString &path)
{
    return QFileInfo(path).size();
}

// A document with the commands over a window, and what they told the status bar.
struct Commands
{
    ScriptedUi ui;
    QWidget window;
    ProjectDocument document;
    ProgramCommands commands{ui, document, &window};
    QStringList status;
    QUrl link;

    explicit Commands(int dialogs = 1)
    {
        DialogProject project;
        fillProject(project, dialogs);
        document.replaceProject(project);
        QObject::connect(&commands, &ProgramCommands::statusMessage, &window,
                         [this](const QString &text) { status << text; });
        QObject::connect(&commands, &ProgramCommands::statusLink, &window,
                         [this](const QString &text, const QString &, const QUrl &url) {
                             status << text;
                             link = url;
                         });
    }

    QString lastStatus() const { return status.isEmpty() ? QString() : status.constLast(); }
};

} // namespace

class TestProgramCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void testRunWritesDataAndStartsRunner_data();
    void testRunWritesDataAndStartsRunner();
    void testRunWithoutRunnerWarns();
    void failedTestRunReportsItsReason();
    void secondTestRunWaitsForTheFirst();
    void secondTestRunCanStopTheFirst();
    void buildWritesProgramAndData_data();
    void buildWritesProgramAndData();
    void buildReplacesEarlierBuild();
    void buildRefusesAFileItDidNotWrite();
    void cancelledBuildWritesNothing();
    void buildToUnwritablePlaceWarns();
    void portableBuildFromTheMenu();
    void portableBuildIntoForeignFolderWarns();
    void webPageFromTheMenu();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestProgramCommands::init()
{
    QVERIFY(renew(mFolder));
    languageHeaderValue("russian.lang", "GetFile");
}

void TestProgramCommands::testRunWritesDataAndStartsRunner_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("earlierCount"); // dialogs of a data file left from an earlier run
    QTest::newRow("one dialog") << 1 << 0;
    QTest::newRow("three dialogs") << 3 << 0;
    QTest::newRow("over a longer old file") << 2 << 6;
}

void TestProgramCommands::testRunWritesDataAndStartsRunner()
{
    QFETCH(int, count);
    QFETCH(int, earlierCount);
    const QString data = mFolder->path("Runner/run.dll");
    if (earlierCount > 0)
        QVERIFY(kq::TestFiles::writeBytes(
            data, QByteArray(DialogRecord::Size * (earlierCount + 1), 'x')));
    Commands run(count);
    ScriptedUi &ui = run.ui;

    run.commands.testRun();

    QCOMPARE(fileSize(data), qint64(DialogRecord::Size) * (count + 1));
    QCOMPARE(dialogTexts(data).size(), count);
    QCOMPARE(ui.starts.size(), 1);
    QCOMPARE(ui.starts[0].program, mFolder->path(runnerName()));
    QCOMPARE(ui.starts[0].arguments, QStringList{"/editor"});
    QCOMPARE(QDir(ui.starts[0].workingFolder).canonicalPath(),
             QDir(mFolder->path("Runner")).canonicalPath());
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(!run.document.isModified());
}

void TestProgramCommands::testRunWithoutRunnerWarns()
{
    QVERIFY(QFile::remove(mFolder->path(runnerName())));
    Commands run;
    ScriptedUi &ui = run.ui;

    run.commands.testRun();

    QVERIFY(ui.starts.isEmpty());
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text,
             languageText(TextId::RunnerNotStarted).arg(mFolder->path(runnerName())));
    QCOMPARE(ui.messages[0].title, "Операция не выполнена");
    QCOMPARE(ui.messages[0].icon, UiServices::Icon::Warning);
    // The data file stays until the next test run replaces it.
    QCOMPARE(fileSize(mFolder->path("Runner/run.dll")), qint64(2 * DialogRecord::Size));
}

// A stand-in runner: the shell script body given, made executable.
bool useRunner(ProgramFolder &folder, const QByteArray &script)
{
    const QString runner = folder.path(runnerName());
    return kq::TestFiles::writeBytes(runner, "#!/bin/sh\n" + script) &&
           QFile::setPermissions(runner, QFile::permissions(runner) | QFile::ExeOwner);
}

void TestProgramCommands::failedTestRunReportsItsReason()
{
    QVERIFY(useRunner(*mFolder, "echo 'run: step 0: the bar-full script \"Нет\" cannot run' >&2\n"
                                "exit 1\n"));
    Commands run;
    ScriptedUi &ui = run.ui;

    run.commands.testRun();

    QTRY_COMPARE(ui.messages.size(), 1);
    // The reason is the box's own text, and only there, not once more under its details; a fault
    // the editor does not know is shown as the runner gave it, less the runner's name.
    const QString reason = "step 0: the bar-full script \"Нет\" cannot run";
    QCOMPARE(ui.messages[0].text, languageText(TextId::TestRunFailed) + "\n" + reason);
    QCOMPARE(ui.messages[0].detail, QString());
    QVERIFY(run.lastStatus().endsWith(reason));
    // The runner leaves its data file at a fault; the editor does not leave it behind.
    QVERIFY(!QFile::exists(mFolder->path("Runner/run.dll")));
}

void TestProgramCommands::secondTestRunWaitsForTheFirst()
{
    // The stand-in runner keeps what the editor asks of it, then ends.
    QVERIFY(useRunner(*mFolder, "read request\necho \"$request\" > request.txt\n"));
    Commands run;
    ScriptedUi &ui = run.ui;
    run.commands.testRun();
    QCOMPARE(ui.starts.size(), 1);
    QTest::qWait(100);
    QVERIFY(!QFile::exists(mFolder->path("Runner/request.txt")));

    // The second start offers to stop the running one; not stopped, it comes to the front.
    run.commands.testRun();
    QCOMPARE(ui.starts.size(), 1);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, languageText(TextId::StopTestRunQuestion));
    QCOMPARE(run.lastStatus(), languageText(TextId::TestRunStillGoing));
    QTRY_COMPARE(kq::TestFiles::readBytes(mFolder->path("Runner/request.txt")), "raise\n");

    // Once the first has ended, the next one starts without a question.
    QTest::qWait(500);
    run.commands.testRun();
    QCOMPARE(ui.starts.size(), 2);
    QCOMPARE(ui.messages.size(), 1);
}

// A test run without any window (pauses, say) can be stopped from the editor: its process ends
// and its data file goes, without a report of a failed run.
void TestProgramCommands::secondTestRunCanStopTheFirst()
{
    QVERIFY(useRunner(*mFolder, "exec sleep 30\n"));
    Commands run;
    ScriptedUi &ui = run.ui;
    run.commands.testRun();
    QCOMPARE(ui.starts.size(), 1);
    QVERIFY(QFile::exists(mFolder->path("Runner/run.dll")));

    ui.answers.enqueue(UiServices::Answer::Yes);
    run.commands.testRun();
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, languageText(TextId::StopTestRunQuestion));
    QCOMPARE(run.lastStatus(), languageText(TextId::TestRunStopped));
    QVERIFY(!QFile::exists(mFolder->path("Runner/run.dll")));
    QTest::qWait(200);
    QCOMPARE(ui.messages.size(), 1);

    // Nothing runs any more: the next test run starts at once.
    run.commands.testRun();
    QCOMPARE(ui.starts.size(), 2);
}

void TestProgramCommands::buildWritesProgramAndData_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("dataFile");
    QTest::newRow("with .exe") << "quiz.exe"
                               << "quiz.dll";
    QTest::newRow("upper-case .EXE") << "Game.EXE"
                                     << "Game.dll";
    QTest::newRow("without extension") << "quiz"
                                       << "quiz.dll";
}

void TestProgramCommands::buildWritesProgramAndData()
{
    QFETCH(QString, chosen);
    QFETCH(QString, dataFile);
    QTemporaryDir target;
    Commands run(3);
    ScriptedUi &ui = run.ui;
    ui.fileNames.enqueue(target.filePath(chosen));

    run.commands.build();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(ui.fileDialogs[0].save);
    QCOMPARE(ui.fileDialogs[0].title, "Собрать программу");
    QCOMPARE(ui.fileDialogs[0].filter, "Программы|*.exe");
    QCOMPARE(kq::TestFiles::readBytes(target.filePath(chosen)), FakeRunner);
    QVERIFY(QFileInfo(target.filePath(chosen)).isExecutable());
    QCOMPARE(fileSize(target.filePath(dataFile)), qint64(4 * DialogRecord::Size));
    QCOMPARE(dialogTexts(target.filePath(dataFile)), (QStringList{"D0", "D1", "D2"}));
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(!run.document.isModified());
    QCOMPARE(run.lastStatus(),
             "Программа собрана: " + QDir::toNativeSeparators(target.filePath(chosen)));
}

void TestProgramCommands::buildReplacesEarlierBuild()
{
    QTemporaryDir target;
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("quiz.exe"), FakeRunner));
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("quiz.dll"),
                                      QByteArray(DialogRecord::Size * 8, 'x')));
    Commands run;
    ScriptedUi &ui = run.ui;
    ui.fileNames.enqueue(target.filePath("quiz.exe"));

    run.commands.build();

    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz.exe")), FakeRunner);
    QCOMPARE(fileSize(target.filePath("quiz.dll")), qint64(2 * DialogRecord::Size));
}

// A file the user did not build is never replaced: the usual warning gives the reason.
void TestProgramCommands::buildRefusesAFileItDidNotWrite()
{
    QTemporaryDir target;
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("notes.exe"), "my notes"));
    Commands run;
    ScriptedUi &ui = run.ui;
    ui.fileNames.enqueue(target.filePath("notes.exe"));

    run.commands.build();

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].title, "Операция не выполнена");
    QVERIFY(ui.messages[0].text.contains("выберите другое имя"));
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("notes.exe")), QByteArray("my notes"));
    QVERIFY(!QFile::exists(target.filePath("notes.dll")));
}

void TestProgramCommands::cancelledBuildWritesNothing()
{
    QTemporaryDir target;
    Commands run;
    ScriptedUi &ui = run.ui;

    run.commands.build();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(QDir(target.path()).isEmpty());
    QVERIFY(ui.messages.isEmpty());
}

void TestProgramCommands::buildToUnwritablePlaceWarns()
{
    QTemporaryDir target;
    Commands run;
    ScriptedUi &ui = run.ui;
    ui.fileNames.enqueue(target.filePath("missing/folder/quiz.exe"));

    run.commands.build();

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].title, "Операция не выполнена");
    QVERIFY(!QFileInfo::exists(target.filePath("missing/folder/quiz.dll")));
}

void TestProgramCommands::portableBuildFromTheMenu()
{
    // A portable program carries the real runner's libraries, so the folder gets the real
    // portable runner.
    QVERIFY(QFile::copy(QStringLiteral(KQ_APP_DIR "/Runner/run-portable"),
                        mFolder->path("Runner/run-portable")));
    QTemporaryDir target;
    Commands run(2);
    ScriptedUi &ui = run.ui;
    ui.fileNames.enqueue(target.filePath("quiz"));

    run.commands.buildPortable();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(ui.fileDialogs[0].save);
    QCOMPARE(ui.fileDialogs[0].title, "Собрать переносимую программу (папку)");
    QVERIFY(ui.messages.isEmpty());
    const QDir folder(target.filePath("quiz"));
    QVERIFY(QFileInfo(folder.filePath("quiz")).isExecutable());
    QCOMPARE(dialogTexts(folder.filePath("quiz.dll")), (QStringList{"D0", "D1"}));
    QCOMPARE(QDir(folder.filePath("lib")).entryList({"libQt6Core.so*"}).size(), 1);
    QVERIFY(QFileInfo::exists(folder.filePath("plugins/platforms/libqxcb.so")));
    const QString status = run.lastStatus();
    QVERIFY2(status.startsWith("Переносимая программа собрана: " +
                               QDir::toNativeSeparators(folder.filePath("quiz")) + " ("),
             qPrintable(status));
    QVERIFY2(status.endsWith(" МБ)"), qPrintable(status));

    // Built again onto the folder the dialog offers: a save dialog walks into an existing folder
    // and then names the program inside it. The earlier portable folder is replaced.
    run.document.setField(1, ProjectDocument::Field::Text, "Again");
    ui.fileNames.enqueue(folder.filePath("quiz"));
    run.commands.buildPortable();
    QVERIFY2(ui.messages.isEmpty(), qPrintable(ui.messages.value(0).detail));
    QCOMPARE(dialogTexts(folder.filePath("quiz.dll")), (QStringList{"Again", "D1"}));
}

void TestProgramCommands::portableBuildIntoForeignFolderWarns()
{
    QTemporaryDir target;
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("quiz/notes.txt"), "mine"));
    Commands run;
    ScriptedUi &ui = run.ui;
    const QString statusBefore = run.lastStatus();
    ui.fileNames.enqueue(target.filePath("quiz"));

    run.commands.buildPortable();

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].title, "Операция не выполнена");
    QVERIFY(ui.messages[0].text != ui.messages[0].title);
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz/notes.txt")), "mine");
    QCOMPARE(QDir(target.filePath("quiz")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"notes.txt"});
    QCOMPARE(run.lastStatus(), statusBefore);
}

void TestProgramCommands::webPageFromTheMenu()
{
    QTemporaryDir target;
    Commands run(2);
    ScriptedUi &ui = run.ui;
    // A name typed without an extension becomes a page a browser opens.
    ui.fileNames.enqueue(target.filePath("quiz"));

    run.commands.buildWebPage();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(ui.fileDialogs[0].save);
    QCOMPARE(ui.fileDialogs[0].title, "Собрать веб-страницу");
    QVERIFY(ui.messages.isEmpty());
    const QString page = target.filePath("quiz.html");
    QCOMPARE(QDir(target.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"quiz.html"});
    const QString html = QString::fromUtf8(kq::TestFiles::readBytes(page));
    QVERIFY(html.contains("\"text\":\"D0\"") && html.contains("\"text\":\"D1\""));
    QCOMPARE(run.lastStatus(), QString("Веб-страница собрана: %1 (%2 КБ)")
                                   .arg(QDir::toNativeSeparators(page))
                                   .arg((QFileInfo(page).size() + 1023) / 1024));
    QCOMPARE(run.link, QUrl::fromLocalFile(page));

    // A page that cannot be written is told, and the status stays.
    ui.fileNames.enqueue(target.filePath("missing/quiz.html"));
    run.commands.buildWebPage();
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].title, "Операция не выполнена");
    QCOMPARE(run.status.size(), 1);
}

QTEST_MAIN(TestProgramCommands)
#include "tst_programcommands.moc"

#include "tst_mainwindowfixture.h"

#include "projectfile.h"

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

qint64 fileSize(const QString &path)
{
    return QFileInfo(path).size();
}

// The texts of the dialogs a data file holds, as the runner would read them.
QStringList dialogTexts(const QString &path)
{
    DialogProject project;
    ProjectFile file;
    QStringList texts;
    if (!file.open(path) || !project.load(file))
        return {"unreadable"};
    for (int i = 1; i <= project.dialogCount(); ++i)
        texts << trimmedRight(project.record(i).text);
    return texts;
}

} // namespace

class TestMainWindowRun : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void testRunWritesDataAndStartsRunner_data();
    void testRunWritesDataAndStartsRunner();
    void testRunTakesUnsavedEdit();
    void testRunWithoutRunnerWarns();
    void failedTestRunReportsItsReason();
    void secondTestRunWaitsForTheFirst();
    void buildWritesProgramAndData_data();
    void buildWritesProgramAndData();
    void buildReplacesEarlierBuild();
    void cancelledBuildWritesNothing();
    void buildToUnwritablePlaceWarns();
    void buildMenuOffersBothBuilds();
    void portableBuildFromTheMenu();
    void portableBuildIntoForeignFolderWarns();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestMainWindowRun::init()
{
    QVERIFY(renew(mFolder));
    useDefaultSettings();
}

void TestMainWindowRun::testRunWritesDataAndStartsRunner_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("earlierCount"); // dialogs of a data file left from an earlier run
    QTest::newRow("one dialog") << 1 << 0;
    QTest::newRow("three dialogs") << 3 << 0;
    QTest::newRow("over a longer old file") << 2 << 6;
}

void TestMainWindowRun::testRunWritesDataAndStartsRunner()
{
    QFETCH(int, count);
    QFETCH(int, earlierCount);
    const QString data = mFolder->path("Runner/run.dll");
    if (earlierCount > 0)
        QVERIFY(kq::TestFiles::writeBytes(
            data, QByteArray(DialogRecord::Size * (earlierCount + 1), 'x')));
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, count);

    emit child<KXButton>(&window, "sd3")->clicked();

    QCOMPARE(fileSize(data), qint64(DialogRecord::Size) * (count + 1));
    QCOMPARE(dialogTexts(data).size(), count);
    QCOMPARE(ui.starts.size(), 1);
    QCOMPARE(ui.starts[0].program, mFolder->path(runnerName()));
    QCOMPARE(ui.starts[0].arguments, QStringList{"/editor"});
    QCOMPARE(QDir(ui.starts[0].workingFolder).canonicalPath(),
             QDir(mFolder->path("Runner")).canonicalPath());
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(!document(window).isModified());
}

void TestMainWindowRun::testRunTakesUnsavedEdit()
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

void TestMainWindowRun::testRunWithoutRunnerWarns()
{
    QVERIFY(QFile::remove(mFolder->path(runnerName())));
    ScriptedUi ui;
    MainWindow window(ui);

    child<QAction>(&window, "key_test")->trigger();

    QVERIFY(ui.starts.isEmpty());
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, "Операция не выполнена");
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

void TestMainWindowRun::failedTestRunReportsItsReason()
{
    QVERIFY(useRunner(*mFolder, "echo 'run: step 0: the bar-full script \"Нет\" cannot run' >&2\n"
                                "exit 1\n"));
    ScriptedUi ui;
    MainWindow window(ui);

    child<QAction>(&window, "key_test")->trigger();

    QTRY_COMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, languageText(312));
    QCOMPARE(ui.messages[0].detail, "run: step 0: the bar-full script \"Нет\" cannot run");
    QVERIFY(child<QLabel>(&window, "sts")->text().endsWith(ui.messages[0].detail));
    // The runner leaves its data file at a fault; the editor does not leave it behind.
    QVERIFY(!QFile::exists(mFolder->path("Runner/run.dll")));
}

void TestMainWindowRun::secondTestRunWaitsForTheFirst()
{
    // The stand-in runner keeps what the editor asks of it, then ends.
    QVERIFY(useRunner(*mFolder, "read request\necho \"$request\" > request.txt\n"));
    ScriptedUi ui;
    MainWindow window(ui);
    child<QAction>(&window, "key_test")->trigger();
    QCOMPARE(ui.starts.size(), 1);
    QTest::qWait(100);
    QVERIFY(!QFile::exists(mFolder->path("Runner/request.txt")));

    // The second start asks the running one to come to the front instead.
    child<QAction>(&window, "key_test")->trigger();
    QCOMPARE(ui.starts.size(), 1);
    QCOMPARE(child<QLabel>(&window, "sts")->text(), languageText(313));
    QTRY_COMPARE(kq::TestFiles::readBytes(mFolder->path("Runner/request.txt")), "raise\n");

    // Once the first has ended, the next one starts.
    QTRY_VERIFY_WITH_TIMEOUT(
        (child<QAction>(&window, "key_test")->trigger(), ui.starts.size() == 2), 5000);
    QVERIFY(ui.messages.isEmpty());
}

void TestMainWindowRun::buildWritesProgramAndData_data()
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

void TestMainWindowRun::buildWritesProgramAndData()
{
    QFETCH(QString, chosen);
    QFETCH(QString, dataFile);
    QTemporaryDir target;
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 3);
    ui.fileNames.enqueue(target.filePath(chosen));

    emit child<KXButton>(&window, "sd4")->clicked();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(ui.fileDialogs[0].save);
    QCOMPARE(ui.fileDialogs[0].title, "Собрать программу");
    QCOMPARE(ui.fileDialogs[0].filter, "Программы|*.exe");
    QCOMPARE(kq::TestFiles::readBytes(target.filePath(chosen)), FakeRunner);
    QVERIFY(QFileInfo(target.filePath(chosen)).isExecutable());
    QCOMPARE(fileSize(target.filePath(dataFile)), qint64(4 * DialogRecord::Size));
    QCOMPARE(dialogTexts(target.filePath(dataFile)), (QStringList{"D0", "D1", "D2"}));
    QVERIFY(ui.messages.isEmpty());
    QVERIFY(!document(window).isModified());
    QCOMPARE(child<QLabel>(&window, "sts")->text(),
             "Программа собрана: " + QDir::toNativeSeparators(target.filePath(chosen)));
}

void TestMainWindowRun::buildReplacesEarlierBuild()
{
    QTemporaryDir target;
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("quiz.exe"), "an older program"));
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("quiz.dll"),
                                      QByteArray(DialogRecord::Size * 8, 'x')));
    ScriptedUi ui;
    MainWindow window(ui);
    ui.fileNames.enqueue(target.filePath("quiz.exe"));

    child<QAction>(&window, "mnuBldProgram")->trigger();

    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz.exe")), FakeRunner);
    QCOMPARE(fileSize(target.filePath("quiz.dll")), qint64(2 * DialogRecord::Size));
}

void TestMainWindowRun::cancelledBuildWritesNothing()
{
    QTemporaryDir target;
    ScriptedUi ui;
    MainWindow window(ui);

    child<QAction>(&window, "mnuBldProgram")->trigger();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(QDir(target.path()).isEmpty());
    QVERIFY(ui.messages.isEmpty());
}

void TestMainWindowRun::buildToUnwritablePlaceWarns()
{
    QTemporaryDir target;
    ScriptedUi ui;
    MainWindow window(ui);
    ui.fileNames.enqueue(target.filePath("missing/folder/quiz.exe"));

    child<QAction>(&window, "mnuBldProgram")->trigger();

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, "Операция не выполнена");
    QVERIFY(!QFileInfo::exists(target.filePath("missing/folder/quiz.dll")));
}

void TestMainWindowRun::buildMenuOffersBothBuilds()
{
    ScriptedUi ui;
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    emit child<KXButton>(&window, "sd4")->arrowClicked();

    auto *menu = child<QMenu>(&window, "mnuBld");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(child<QAction>(menu, "mnuBldProgram")->text(), "Собрать программу...");
    QCOMPARE(child<QAction>(menu, "mnuBldPortable")->text(), "Собрать переносимую...");
    menu->hide();

    // The menu's first entry is the Build button's own command.
    QTemporaryDir target;
    ui.fileNames.enqueue(target.filePath("quiz.exe"));
    child<QAction>(menu, "mnuBldProgram")->trigger();
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz.exe")), FakeRunner);
}

void TestMainWindowRun::portableBuildFromTheMenu()
{
    // A portable program carries the real runner's libraries, so the folder gets the real one.
    const QString runner = mFolder->path(runnerName());
    QVERIFY(QFile::remove(runner));
    QVERIFY(QFile::copy(QStringLiteral(KQ_APP_DIR "/Runner/run"), runner));
    QTemporaryDir target;
    ScriptedUi ui;
    MainWindow window(ui);
    fillProject(window, 2);
    ui.fileNames.enqueue(target.filePath("quiz"));

    child<QAction>(&window, "mnuBldPortable")->trigger();

    QCOMPARE(ui.fileDialogs.size(), 1);
    QVERIFY(ui.fileDialogs[0].save);
    QCOMPARE(ui.fileDialogs[0].title, "Собрать переносимую программу (папку)");
    QVERIFY(ui.messages.isEmpty());
    const QDir folder(target.filePath("quiz"));
    QVERIFY(QFileInfo(folder.filePath("quiz")).isExecutable());
    QCOMPARE(dialogTexts(folder.filePath("quiz.dll")), (QStringList{"D0", "D1"}));
    QCOMPARE(QDir(folder.filePath("lib")).entryList({"libQt6Core.so*"}).size(), 1);
    QVERIFY(QFileInfo::exists(folder.filePath("plugins/platforms/libqxcb.so")));
    const QString status = child<QLabel>(&window, "sts")->text();
    QVERIFY2(status.startsWith("Переносимая программа собрана: " +
                               QDir::toNativeSeparators(folder.filePath("quiz")) + " ("),
             qPrintable(status));
    QVERIFY2(status.endsWith(" МБ)"), qPrintable(status));
}

void TestMainWindowRun::portableBuildIntoForeignFolderWarns()
{
    QTemporaryDir target;
    QVERIFY(kq::TestFiles::writeBytes(target.filePath("quiz/notes.txt"), "mine"));
    ScriptedUi ui;
    MainWindow window(ui);
    const QString statusBefore = child<QLabel>(&window, "sts")->text();
    ui.fileNames.enqueue(target.filePath("quiz"));

    child<QAction>(&window, "mnuBldPortable")->trigger();

    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, "Операция не выполнена");
    QVERIFY(!ui.messages[0].detail.isEmpty());
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz/notes.txt")), "mine");
    QCOMPARE(QDir(target.filePath("quiz")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"notes.txt"});
    QCOMPARE(child<QLabel>(&window, "sts")->text(), statusBefore);
}

QTEST_MAIN(TestMainWindowRun)
#include "tst_mainwindowrun.moc"

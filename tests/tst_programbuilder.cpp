#include "builtprogram.h"
#include "programbuilder.h"
#include "resourcefiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

const QString Runner = QStringLiteral(KQ_APP_DIR "/Runner/run");

} // namespace

class TestProgramBuilder : public QObject
{
    Q_OBJECT

private slots:
    void runnerIsSmall();
    void builtProgramPlays_data();
    void builtProgramPlays();
    void buildingAgainReplacesBothFiles();
    void neverReplacesTheEditorOrTheRunner_data();
    void neverReplacesTheEditorOrTheRunner();
    void failureSaysWhy();
};

void TestProgramBuilder::runnerIsSmall()
{
    const qint64 size = QFileInfo(Runner).size();
    QVERIFY2(size > 0 && size <= 300 * 1024, qPrintable(QString::number(size)));
}

void TestProgramBuilder::builtProgramPlays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dataName");
    QTest::newRow("no extension") << "quiz"
                                  << "quiz.dll";
    QTest::newRow(".exe") << "quiz.EXE"
                          << "quiz.dll";
    QTest::newRow("dots in the name") << "my.quiz"
                                      << "my.quiz.dll";
}

void TestProgramBuilder::builtProgramPlays()
{
    QFETCH(QString, name);
    QFETCH(QString, dataName);
    QTemporaryDir dir;
    const QString program = dir.filePath(name);
    const DialogProject project = kq::ProgramTest::selfEnding();
    QString error;
    QVERIFY2(buildProgram(project, Runner, program, &error), qPrintable(error));

    QCOMPARE(kq::TestFiles::readBytes(program), kq::TestFiles::readBytes(Runner));
    QCOMPARE(QFile::permissions(program), QFile::permissions(Runner));
    QCOMPARE(kq::TestFiles::readBytes(dir.filePath(dataName)), project.fileBytes());

    const kq::ProgramTest::Finished run =
        kq::ProgramTest::run(program, {}, kq::ProgramTest::offscreen());
    QCOMPARE(run.exitCode, 0);
    // Not a test run: the program's own data file stays.
    QVERIFY(QFile::exists(dir.filePath(dataName)));
}

void TestProgramBuilder::buildingAgainReplacesBothFiles()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("quiz"));
    QVERIFY(kq::TestFiles::writeBytes(program, "older program"));
    const DialogProject longer = kq::ProgramTest::project(
        {kq::ProgramTest::step(DialogRecord::Pause, 0, ButtonScript::GoNext),
         kq::ProgramTest::step(DialogRecord::Pause, 0, ButtonScript::GoNext),
         kq::ProgramTest::step(DialogRecord::Pause, 0, ButtonScript::GoNext)});
    QVERIFY(buildProgram(longer, Runner, program));
    const DialogProject shorter = kq::ProgramTest::oneMessage();
    QVERIFY(buildProgram(shorter, Runner, program));
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("quiz.dll"))).size(), 2 * DialogRecord::Size);
    QCOMPARE(kq::TestFiles::readBytes(program), kq::TestFiles::readBytes(Runner));
}

void TestProgramBuilder::neverReplacesTheEditorOrTheRunner_data()
{
    QTest::addColumn<QString>("runnerName"); // the runner's copy in the scratch folder
    QTest::addColumn<QString>("target");     // relative to the scratch folder, or absolute
    QTest::addColumn<QString>("link");       // a link made to the runner's copy first

    QTest::newRow("the runner") << "run"
                                << "run"
                                << "";
    QTest::newRow("the runner, spelt roundabout") << "run"
                                                  << "sub/../run"
                                                  << "";
    QTest::newRow("a link to the runner") << "run"
                                          << "alias"
                                          << "alias";
    QTest::newRow("data file over the runner") << "prog.dll"
                                               << "prog"
                                               << "";
    QTest::newRow("the running program") << "run" << QCoreApplication::applicationFilePath() << "";
}

void TestProgramBuilder::neverReplacesTheEditorOrTheRunner()
{
    QFETCH(QString, runnerName);
    QFETCH(QString, target);
    QFETCH(QString, link);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString runner = dir.filePath(runnerName);
    QVERIFY(QFile::copy(Runner, runner));
    if (!link.isEmpty())
        QVERIFY(QFile::link(runner, dir.filePath(link)));
    const QString program = QDir(dir.path()).filePath(target);
    const QByteArray editorBefore =
        kq::TestFiles::readBytes(QCoreApplication::applicationFilePath());
    const QDir folder = QFileInfo(program).absoluteDir();
    const QStringList filesBefore = folder.entryList(QDir::Files);

    QString error;
    QVERIFY(!buildProgram(kq::ProgramTest::oneMessage(), runner, program, &error));
    QVERIFY(error.contains(QStringLiteral("choose another name")));
    QCOMPARE(kq::TestFiles::readBytes(runner), kq::TestFiles::readBytes(Runner));
    QCOMPARE(kq::TestFiles::readBytes(QCoreApplication::applicationFilePath()), editorBefore);
    QCOMPARE(folder.entryList(QDir::Files), filesBefore);
}

void TestProgramBuilder::failureSaysWhy()
{
    QTemporaryDir dir;
    QString error;
    // A missing runner: nothing is written.
    const QString program = dir.filePath(QStringLiteral("quiz"));
    QVERIFY(!buildProgram(kq::ProgramTest::oneMessage(), dir.filePath(QStringLiteral("none")),
                          program, &error));
    QVERIFY(error.contains(QStringLiteral("none")));
    QVERIFY(!QFile::exists(program));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("quiz.dll"))));

    // A folder that does not exist.
    error.clear();
    QVERIFY(!buildProgram(kq::ProgramTest::oneMessage(), Runner,
                          dir.filePath(QStringLiteral("missing/quiz")), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestProgramBuilder)
#include "tst_programbuilder.moc"

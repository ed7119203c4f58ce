#include "builtprogram.h"
#include "programbuilder.h"
#include "resourcefiles.h"

#include <QCoreApplication>
#include <QDir>
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
    void refusesFilesItDidNotWrite_data();
    void refusesFilesItDidNotWrite();
    void programWithoutItsDataFileIsRemoved();
    void runnerCarriesItsMark();
};

void TestProgramBuilder::runnerIsSmall()
{
#ifdef KQ_SANITIZED
    QSKIP("the sanitizers' checks make every program several times larger");
#endif
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

void TestProgramBuilder::refusesFilesItDidNotWrite_data()
{
    // Files in the scratch folder: "name=kind", kind project (of the project being built),
    // data (an earlier build's data file), text, elf (another program).
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("over the project itself") << QStringList{"p.dlg2=project"} << "p.dlg2"
                                             << "is the project being built";
    QTest::newRow("data file over the project") << QStringList{"p.dll=project"} << "p"
                                                << "is the project being built";
    QTest::newRow("over a text file") << QStringList{"notes=text"} << "notes"
                                      << "exists and is not a program";
    QTest::newRow("over another program") << QStringList{"tool=elf"} << "tool"
                                          << "exists and is not a program";
    QTest::newRow("data file over a library") << QStringList{"lib.dll=elf"} << "lib"
                                              << "exists and is not a data file";
    QTest::newRow("over a folder") << QStringList{"folder/x=text"} << "folder"
                                   << "exists and is not a program";
}

void TestProgramBuilder::refusesFilesItDidNotWrite()
{
    QFETCH(QStringList, files);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(folder.mkdir(QStringLiteral("folder")));
    DialogProject project = kq::ProgramTest::oneMessage();
    for (const QString &entry : files) {
        const QString path = dir.filePath(entry.section(u'=', 0, 0));
        const QString kind = entry.section(u'=', 1);
        if (kind == u"project")
            project.setPath(path);
        const QByteArray bytes = kind == u"project" ? project.fileBytes()
                                 : kind == u"elf"   ? kq::TestFiles::readBytes("/bin/true")
                                                    : QByteArray("notes");
        QVERIFY(kq::TestFiles::writeBytes(path, bytes));
    }
    const QStringList before = folder.entryList(QDir::Files);
    QByteArray contents;
    for (const QString &name : before)
        contents += kq::TestFiles::readBytes(folder.filePath(name));

    QString error;
    QVERIFY(!buildProgram(project, Runner, dir.filePath(target), &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(!error.contains(u'\n'));
    QCOMPARE(folder.entryList(QDir::Files), before);
    QByteArray after;
    for (const QString &name : before)
        after += kq::TestFiles::readBytes(folder.filePath(name));
    QCOMPARE(after, contents);
}

void TestProgramBuilder::programWithoutItsDataFileIsRemoved()
{
    // The data file's name (the program's and ".dll") is longer than the 255 bytes a file
    // name may have, while the program's still fits.
    QTemporaryDir dir;
    const QString program = dir.filePath(QString(253, u'q'));
    QString error;
    QVERIFY(!buildProgram(kq::ProgramTest::oneMessage(), Runner, program, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestProgramBuilder::runnerCarriesItsMark()
{
    QVERIFY(isBuiltProgram(Runner));
    QVERIFY(!isBuiltProgram(QStringLiteral("/bin/true")));
    QVERIFY(!isBuiltProgram(QCoreApplication::applicationFilePath()));
}

QTEST_GUILESS_MAIN(TestProgramBuilder)
#include "tst_programbuilder.moc"

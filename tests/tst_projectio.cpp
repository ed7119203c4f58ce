#include "codepage.h"
#include "dialogproject.h"
#include "projectio.h"
#include "resourcefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace kq;
using namespace kq::TestFiles;

namespace {

// A project whose dialogs say where they came from, so each source of an open is recognisable.
DialogProject makeProject(int dialogs, const QString &origin = QStringLiteral("Диалог"))
{
    DialogProject project;
    project.record(0).text = QStringLiteral("1");
    for (int i = 1; i <= dialogs; ++i) {
        project.newDialog(i, QStringLiteral("%1 %2").arg(origin).arg(i));
        project.record(i).caption = QStringLiteral("Заголовок %1").arg(i);
        project.record(i).ico = qint16(i % 6);
    }
    project.setDialogCount(qint16(dialogs));
    return project;
}

void writeProject(const QString &path, int dialogs, const QString &origin)
{
    QVERIFY(writeBytes(path, makeProject(dialogs, origin).fileBytes()));
}

void writeLegacy(const QString &path, int lines)
{
    QString text;
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("Старый %1; Заголовок; Вопрос; ОК\r\n").arg(i);
    QVERIFY(writeBytes(path, toCodePage(text)));
}

bool allCleared(const DialogProject &project)
{
    for (int i = 0; i < DialogProject::Capacity; ++i) {
        if (project.record(i) != DialogRecord::cleared())
            return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// Lets files grow to at most the given size while it lives, so writes beyond come back short.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = mOld;
        limited.rlim_cur = bytes;
        mActive = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }
    bool isActive() const { return mActive; }

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = nullptr;
    bool mActive = false;
};
#endif

} // namespace

// What the open operation read: a kind, or none when it failed.
using Opened = std::optional<kq::ProjectIO::OpenedKind>;
Q_DECLARE_METATYPE(Opened)

class TestProjectIO : public QObject
{
    Q_OBJECT

private slots:
    void saveWritesExactlyTheProject_data();
    void saveWritesExactlyTheProject();
    void saveLoadsBackWhatTheFileHolds();
    void saveUsesTheNameAsGiven();
    void failedSaveReportsAndChangesNothing_data();
    void failedSaveReportsAndChangesNothing();
    void shortWriteKeepsOldFile_data();
    void shortWriteKeepsOldFile();
    void dataFileHoldsExactlyTheProject_data();
    void dataFileHoldsExactlyTheProject();
    void loadRefusesTooManyDialogs();
    void shortFileIsCutShort_data();
    void shortFileIsCutShort();
    void openPath_data();
    void openPath();
    void openMissingPathChangesNothing_data();
    void openMissingPathChangesNothing();
    void buildDataFilePath_data();
    void buildDataFilePath();
    void projectFileName_data();
    void projectFileName();
};

void TestProjectIO::saveWritesExactlyTheProject_data()
{
    QTest::addColumn<int>("oldDialogs");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("3 over 5") << 5 << 3;
    QTest::newRow("new file") << -1 << 2;
    QTest::newRow("5 over 3") << 3 << 5;
    QTest::newRow("1 over 99") << 99 << 1;
    QTest::newRow("99 dialogs") << -1 << 99;
}

void TestProjectIO::saveWritesExactlyTheProject()
{
    QFETCH(int, oldDialogs);
    QFETCH(int, dialogs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quiz.dlg2"));
    if (oldDialogs >= 0)
        writeProject(path, oldDialogs, QStringLiteral("Старый"));

    DialogProject project = makeProject(dialogs);
    const QByteArray expected = project.fileBytes();
    QString error;
    QVERIFY2(ProjectIO::saveProjectFile(project, path, &error), qPrintable(error));

    const QByteArray written = readBytes(path);
    QCOMPARE(written.size(), (dialogs + 1) * DialogRecord::Size);
    QCOMPARE(written, expected);
    QCOMPARE(project.dialogCount(), qint16(dialogs));
    QCOMPARE(project.path(), path);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("quiz.dlg2")});
}

void TestProjectIO::saveLoadsBackWhatTheFileHolds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.dlg2"));
    DialogProject project = makeProject(2);
    project.record(1).text = QString(600, u'ж');
    project.record(2).caption = QStringLiteral("✓ не в кодовой странице");

    QVERIFY(ProjectIO::saveProjectFile(project, path));
    // The editor goes on with the stored form: cut to the field and in code page 1251.
    QCOMPARE(project.record(1).text, QString(512, u'ж'));
    QCOMPARE(trimmedRight(project.record(2).caption), QStringLiteral("? не в кодовой странице"));

    DialogProject reopened;
    QVERIFY(ProjectIO::loadProjectFile(reopened, path));
    QCOMPARE(reopened.dialogCount(), qint16(2));
    for (int i = 0; i <= 2; ++i)
        QCOMPARE(reopened.record(i), project.record(i));
    QCOMPARE(reopened.path(), QString());
}

void TestProjectIO::saveUsesTheNameAsGiven()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Проект без расширения"));
    DialogProject project = makeProject(1);
    QVERIFY(ProjectIO::saveProjectFile(project, path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("Проект без расширения")});
    QCOMPARE(QFileInfo(path).size(), 2 * DialogRecord::Size);
}

void TestProjectIO::failedSaveReportsAndChangesNothing_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("parent is a file") << QStringLiteral("blocker/quiz.dlg2");
    QTest::newRow("missing folder") << QStringLiteral("missing/quiz.dlg2");
    QTest::newRow("path is a folder") << QStringLiteral("folder");
}

void TestProjectIO::failedSaveReportsAndChangesNothing()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("blocker")), "not a folder"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    DialogProject project = makeProject(3);
    project.setPath(QStringLiteral("/old/project.dlg2"));
    const DialogRecord first = project.record(1);
    QString error;
    QVERIFY(!ProjectIO::saveProjectFile(project, dir.filePath(relativePath), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(project.path(), QStringLiteral("/old/project.dlg2"));
    QCOMPARE(project.record(1), first);
    QCOMPARE(project.dialogCount(), qint16(3));

    error.clear();
    QVERIFY(!ProjectIO::writeDataFile(project, dir.filePath(relativePath), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("blocker"))), QByteArray("not a folder"));
}

void TestProjectIO::shortWriteKeepsOldFile_data()
{
    QTest::addColumn<bool>("projectFile");
    QTest::newRow("save") << true;
    QTest::newRow("data file") << false;
}

void TestProjectIO::shortWriteKeepsOldFile()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, projectFile);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quiz.dlg2"));
    writeProject(path, 5, QStringLiteral("Старый"));
    const QByteArray old = readBytes(path);

    DialogProject project = makeProject(3);
    QString error;
    bool written = true;
    {
        // A full disk, as the write sees it: the new file cannot grow past two records.
        FileSizeLimit limit(2 * DialogRecord::Size);
        if (!limit.isActive())
            QSKIP("the file size limit cannot be set here");
        written = projectFile ? ProjectIO::saveProjectFile(project, path, &error)
                              : ProjectIO::writeDataFile(project, path, &error);
    }
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("quiz.dlg2")});
    QCOMPARE(project.path(), QString());
#else
    QSKIP("file size limits are a Unix facility");
#endif
}

void TestProjectIO::dataFileHoldsExactlyTheProject_data()
{
    QTest::addColumn<int>("oldDialogs");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("over a longer project") << 8 << 2;
    QTest::newRow("new file") << -1 << 4;
    QTest::newRow("over a shorter project") << 1 << 3;
}

void TestProjectIO::dataFileHoldsExactlyTheProject()
{
    QFETCH(int, oldDialogs);
    QFETCH(int, dialogs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.dll"));
    if (oldDialogs >= 0)
        writeProject(path, oldDialogs, QStringLiteral("Старый"));

    const DialogProject project = makeProject(dialogs);
    QVERIFY(ProjectIO::writeDataFile(project, path));
    const QByteArray written = readBytes(path);
    QCOMPARE(written.size(), (dialogs + 1) * DialogRecord::Size);
    QCOMPARE(written, project.fileBytes());
    QCOMPARE(project.path(), QString());
}

void TestProjectIO::loadRefusesTooManyDialogs()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.dlg2"));
    QByteArray bytes;
    for (int i = 0; i <= 100; ++i)
        bytes += DialogRecord::cleared().toBytes();
    QVERIFY(writeBytes(path, bytes));

    DialogProject project = makeProject(2);
    QString error;
    QVERIFY(!ProjectIO::loadProjectFile(project, path, &error));
    QVERIFY(error.contains(QStringLiteral("100")));
    QCOMPARE(project.dialogCount(), qint16(2));
    QCOMPARE(trimmedRight(project.record(1).text), QStringLiteral("Диалог 1"));
}

void TestProjectIO::shortFileIsCutShort_data()
{
    QTest::addColumn<int>("bytes");
    QTest::newRow("empty") << 0;
    QTest::newRow("2 bytes") << 2;
    QTest::newRow("300 bytes") << 300;
    QTest::newRow("one byte short") << DialogRecord::Size - 1;
}

void TestProjectIO::shortFileIsCutShort()
{
    QFETCH(int, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("short.dlg2"));
    QVERIFY(writeBytes(path, QByteArray(bytes, 'x')));

    DialogProject project = makeProject(2);
    QString error;
    QVERIFY(!ProjectIO::loadProjectFile(project, path, &error));
    QCOMPARE(error, path + QStringLiteral(": The file is cut short: it holds %1 bytes, less than "
                                          "the 628 of one record.")
                               .arg(bytes));
}

void TestProjectIO::openPath_data()
{
    // Files: "name=kind", kind one of project (2 dialogs), data (3), big (100), legacy (4 lines),
    // badlegacy, program, exec (an executable file).
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<Opened>("opened");
    QTest::addColumn<QString>("blamed"); // the file a failure's reason names first
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QString>("firstText");
    QTest::addColumn<bool>("pathSet");

    using K = ProjectIO::OpenedKind;
    const Opened none;
    const QString fromProject = QStringLiteral("Проект 1");
    const QString fromData = QStringLiteral("Программа 1");
    const QString fromLegacy = QStringLiteral("Старый 1");

    QTest::newRow("A.DLG2") << "A.DLG2" << QStringList{"A.DLG2=project"} << Opened(K::Project)
                            << QString() << 2 << fromProject << true;
    QTest::newRow("a.dlg2") << "a.dlg2" << QStringList{"a.dlg2=project"} << Opened(K::Project)
                            << QString() << 2 << fromProject << true;
    QTest::newRow("x.dlg") << "x.dlg" << QStringList{"x.dlg=legacy"} << Opened(K::Legacy)
                           << QString() << 4 << fromLegacy << false;
    QTest::newRow("X.DLG") << "X.DLG" << QStringList{"X.DLG=legacy"} << Opened(K::Legacy)
                           << QString() << 4 << fromLegacy << false;
    QTest::newRow("quiz.exe with quiz.dll")
        << "quiz.exe" << QStringList{"quiz.exe=program", "quiz.dll=data", "main.dlg=legacy"}
        << Opened(K::ProgramData) << QString() << 3 << fromData << false;
    QTest::newRow("QUIZ.EXE with QUIZ.dll")
        << "QUIZ.EXE" << QStringList{"QUIZ.EXE=program", "QUIZ.dll=data"} << Opened(K::ProgramData)
        << QString() << 3 << fromData << false;
    QTest::newRow("quiz.exe with main.dlg")
        << "quiz.exe" << QStringList{"quiz.exe=program", "main.dlg=legacy", "other.dll=data"}
        << Opened(K::ProgramLegacy) << QString() << 4 << fromLegacy << false;
    QTest::newRow("quiz.exe alone") << "quiz.exe" << QStringList{"quiz.exe=program"} << none
                                    << "quiz.exe" << 6 << QString() << false;
    QTest::newRow("executable quiz with quiz.dll")
        << "quiz" << QStringList{"quiz=exec", "quiz.dll=data"} << Opened(K::ProgramData)
        << QString() << 3 << fromData << false;
    QTest::newRow("executable quiz with main.dlg")
        << "quiz" << QStringList{"quiz=exec", "main.dlg=legacy"} << Opened(K::ProgramLegacy)
        << QString() << 4 << fromLegacy << false;
    // A program built under any name is found by its data file beside it, in any letter case.
    QTest::newRow("plain file quiz")
        << "quiz" << QStringList{"quiz=program", "quiz.dll=data"} << Opened(K::ProgramData)
        << QString() << 3 << "Программа 1" << false;
    QTest::newRow("name with dots")
        << "my.quiz" << QStringList{"my.quiz=program", "my.quiz.dll=data"} << Opened(K::ProgramData)
        << QString() << 3 << "Программа 1" << false;
    QTest::newRow("data file in capitals")
        << "quiz.exe" << QStringList{"quiz.exe=program", "QUIZ.DLL=data"} << Opened(K::ProgramData)
        << QString() << 3 << "Программа 1" << false;
    QTest::newRow("older program in capitals")
        << "game.bin" << QStringList{"game.bin=program", "MAIN.DLG=legacy"}
        << Opened(K::ProgramLegacy) << QString() << 4 << "Старый 1" << false;
    // The program's name is no pattern: brackets and question marks are letters like any other.
    QTest::newRow("brackets are letters")
        << "quiz[1]" << QStringList{"quiz[1]=exec", "quiz1.dll=data"} << none << "quiz[1]" << 6
        << QString() << false;
    QTest::newRow("question mark is a letter")
        << "a?.exe" << QStringList{"a?.exe=program", "ab.dll=data"} << none << "a?.exe" << 6
        << QString() << false;
    QTest::newRow("star is a letter")
        << "q*.exe" << QStringList{"q*.exe=program", "main.dlg=legacy", "qx.dll=data"}
        << Opened(K::ProgramLegacy) << QString() << 4 << "Старый 1" << false;
    QTest::newRow("brackets found as written")
        << "quiz[1]" << QStringList{"quiz[1]=exec", "quiz1.dll=data", "QUIZ[1].DLL=data"}
        << Opened(K::ProgramData) << QString() << 3 << "Программа 1" << false;
    QTest::newRow("other ending") << "notes.txt" << QStringList{"notes.txt=project"} << none
                                  << "notes.txt" << 6 << QString() << false;
    QTest::newRow("project of 100 dialogs") << "big.dlg2" << QStringList{"big.dlg2=big"} << none
                                            << "big.dlg2" << 6 << QString() << false;
    QTest::newRow("data file of 100 dialogs")
        << "quiz.exe" << QStringList{"quiz.exe=program", "quiz.dll=big"} << none << "quiz.dll" << 6
        << QString() << false;
    QTest::newRow("legacy that fails at line 1") << "bad.dlg" << QStringList{"bad.dlg=badlegacy"}
                                                 << none << "bad.dlg" << 6 << QString() << false;
}

void TestProjectIO::openPath()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, files);
    QFETCH(Opened, opened);
    QFETCH(QString, blamed);
    QFETCH(int, dialogs);
    QFETCH(QString, firstText);
    QFETCH(bool, pathSet);

    QTemporaryDir dir;
    for (const QString &entry : files) {
        const QString name = entry.section(u'=', 0, 0);
        const QString what = entry.section(u'=', 1);
        const QString path = dir.filePath(name);
        if (what == u"project")
            writeProject(path, 2, QStringLiteral("Проект"));
        else if (what == u"data")
            writeProject(path, 3, QStringLiteral("Программа"));
        else if (what == u"big")
            QVERIFY(writeBytes(path, QByteArray(101 * DialogRecord::Size, ' ')));
        else if (what == u"legacy")
            writeLegacy(path, 4);
        else if (what == u"badlegacy")
            QVERIFY(writeBytes(path, "only one field\r\n"));
        else
            QVERIFY(writeBytes(path, "\x7f"
                                     "ELF"));
        if (what == u"exec")
            QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
    }

    DialogProject project = makeProject(6, QStringLiteral("Прежний"));
    project.setPath(QStringLiteral("/old/project.dlg2"));
    const QString path = dir.filePath(chosen);
    QString error;
    QCOMPARE(ProjectIO::openPath(project, path, &error), opened);
    if (opened)
        QVERIFY(error.isEmpty());
    else
        QVERIFY2(error.startsWith(dir.filePath(blamed)), qPrintable(error));
    QCOMPARE(project.dialogCount(), qint16(dialogs));
    QCOMPARE(project.path(), pathSet ? path : QString());
    if (firstText.isEmpty()) {
        QVERIFY(allCleared(project));
    } else {
        QCOMPARE(trimmedRight(project.record(1).text), firstText);
        // Nothing of the project held before survives past the loaded dialogs.
        for (int i = dialogs + 1; i < DialogProject::Capacity; ++i)
            QCOMPARE(project.record(i), DialogRecord::cleared());
    }
}

void TestProjectIO::openMissingPathChangesNothing_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing project") << QStringLiteral("gone.dlg2");
    QTest::newRow("missing program") << QStringLiteral("gone.exe");
    QTest::newRow("folder") << QStringLiteral("folder.dlg2");
}

void TestProjectIO::openMissingPathChangesNothing()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.dlg2")));
    writeProject(dir.filePath(QStringLiteral("gone.dll")), 2, QStringLiteral("Программа"));

    DialogProject project = makeProject(3);
    project.setPath(QStringLiteral("/old/project.dlg2"));
    const DialogRecord first = project.record(1);
    QString error;
    QVERIFY(!ProjectIO::openPath(project, dir.filePath(relativePath), &error));
    QCOMPARE(error, dir.filePath(relativePath) + QStringLiteral(": no such file"));
    QCOMPARE(project.record(1), first);
    QCOMPARE(project.dialogCount(), qint16(3));
    QCOMPARE(project.path(), QStringLiteral("/old/project.dlg2"));
}

void TestProjectIO::buildDataFilePath_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("data");
    QTest::newRow("Game.exe") << "/home/u/Game.exe"
                              << "/home/u/Game.dll";
    QTest::newRow("GAME.EXE") << "/home/u/GAME.EXE"
                              << "/home/u/GAME.dll";
    QTest::newRow("no extension") << "/home/u/quiz"
                                  << "/home/u/quiz.dll";
    QTest::newRow("other extension kept") << "/home/u/quiz.ex"
                                          << "/home/u/quiz.ex.dll";
    QTest::newRow("folder named .exe") << "/home/u.exe/quiz"
                                       << "/home/u.exe/quiz.dll";
    QTest::newRow("relative") << "quiz.Exe"
                              << "quiz.dll";
}

void TestProjectIO::buildDataFilePath()
{
    QFETCH(QString, program);
    QFETCH(QString, data);
    QCOMPARE(ProjectIO::buildDataFilePath(program), data);
}

void TestProjectIO::projectFileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "quiz"
                                  << "quiz.dlg2";
    QTest::newRow("a dot of its own") << "Project v1.2"
                                      << "Project v1.2.dlg2";
    QTest::newRow("project") << "quiz.dlg2"
                             << "quiz.dlg2";
    QTest::newRow("project in capitals") << "QUIZ.DLG2"
                                         << "QUIZ.DLG2";
    QTest::newRow("old project ending") << "quiz.dlg"
                                        << "quiz.dlg.dlg2";
    QTest::newRow("ending without the dot") << "quizdlg2"
                                            << "quizdlg2.dlg2";
    QTest::newRow("nothing chosen") << ""
                                    << "";
}

void TestProjectIO::projectFileName()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QCOMPARE(ProjectIO::projectFileName(typed), saved);
}

QTEST_GUILESS_MAIN(TestProjectIO)

#include "tst_projectio.moc"

#include "builtprogram.h"
#include "librarybundle.h"
#include "programbuilder.h"
#include "projectio.h"
#include "resourcefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

// Portable builds copy the runner that looks beside itself for its libraries.
const QString Runner = QStringLiteral(KQ_APP_DIR "/Runner/run-portable");
constexpr qint64 MiB = 1024 * 1024;

// Every file below a folder, relative to it.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// The files the dynamic loader took, from its LD_DEBUG=libs report: the last file it tried for
// each library it looked for (it stops at the first that loads), and every object whose
// initialisation it ran (plug-ins, which Qt loads by their full path, among them).
QStringList loadedFiles(const QByteArray &report)
{
    static const QRegularExpression find(QStringLiteral("find library=(\\S+)"));
    static const QRegularExpression trying(QStringLiteral("trying file=(\\S+)"));
    static const QRegularExpression init(QStringLiteral("calling init: (\\S+)"));
    QMap<QString, QString> lastTried;
    QStringList files;
    QString library;
    for (const QString &line : QString::fromLocal8Bit(report).split(u'\n')) {
        if (const auto match = find.match(line); match.hasMatch())
            library = match.captured(1);
        else if (const auto match = trying.match(line); match.hasMatch())
            lastTried[library] = match.captured(1);
        else if (const auto match = init.match(line); match.hasMatch())
            files.append(match.captured(1));
    }
    files.append(lastTried.values());
    files.removeDuplicates();
    return files;
}

// Qt's and ICU's libraries and Qt's plug-ins among the loaded files that do not lie in the folder.
QStringList loadedFromOutside(const QStringList &loaded, const QString &folder)
{
    QStringList outside;
    const QString inside = QDir(folder).canonicalPath() + u'/';
    for (const QString &file : loaded) {
        const QString name = QFileInfo(file).fileName();
        const bool qtOrIcu =
            name.startsWith(u"libQt6") || name.startsWith(u"libicu") || file.contains(u"/plugins/");
        if (qtOrIcu && !QFileInfo(file).canonicalFilePath().startsWith(inside))
            outside.append(file);
    }
    return outside;
}

// Nothing of the system's settings: the portable program must find its way on its own.
QProcessEnvironment bareEnvironment(const QString &platform)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    return environment;
}

} // namespace

class TestPortableBuild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsWhatTheRunnerNeeds();
    void staysSmall();
    void playsWithNothingOfTheSystemsQt();
    void playsOnAnXServer();
    void packedFolderUnpacksAndPlays();
    void buildsAgainIntoItsOwnFolder();
    void refusesAFolderOfOtherFiles();
    void refusesARunnerWithoutItsRunPath();

private:
    QTemporaryDir mDir;
    QString mFolder;
    PortableBuild mBuild;
};

void TestPortableBuild::initTestCase()
{
    mFolder = mDir.filePath(QStringLiteral("quiz"));
    QString error;
    QVERIFY2(buildPortable(kq::ProgramTest::oneMessage(), Runner, mFolder, &mBuild, &error),
             qPrintable(error));
}

void TestPortableBuild::holdsWhatTheRunnerNeeds()
{
    QCOMPARE(mBuild.program, QDir(mFolder).filePath(QStringLiteral("quiz")));
    const QStringList files = filesBelow(mFolder);
    for (const QString &file :
         {QStringLiteral("quiz"), QStringLiteral("quiz.dll"), QStringLiteral("qt.conf"),
          QStringLiteral("README.txt"), QStringLiteral("lib/libQt6Core.so.6"),
          QStringLiteral("lib/libQt6Gui.so.6"), QStringLiteral("lib/libQt6Widgets.so.6"),
          QStringLiteral("lib/libQt6XcbQpa.so.6"), QStringLiteral("plugins/platforms/libqxcb.so"),
          QStringLiteral("plugins/platforms/libqoffscreen.so")})
        QVERIFY2(files.contains(file), qPrintable(file));
    QCOMPARE(files.filter(QRegularExpression(QStringLiteral("^lib/libicu(uc|i18n|data)\\.so\\.")))
                 .size(),
             3);
    QCOMPARE(kq::TestFiles::readBytes(mBuild.program), kq::TestFiles::readBytes(Runner));
    QVERIFY(QFileInfo(mBuild.program).isExecutable());
    QCOMPARE(kq::TestFiles::readBytes(QDir(mFolder).filePath(QStringLiteral("quiz.dll"))),
             kq::ProgramTest::oneMessage().fileBytes());

    // What the build reports is what the folder holds beside the program's own files.
    QStringList bundled = files.filter(QRegularExpression(QStringLiteral("^(lib|plugins)/")));
    QCOMPARE(mBuild.bundled, bundled);
    for (const QString &file : std::as_const(bundled))
        QVERIFY2(!isLeftToSystem(QFileInfo(file).fileName()), qPrintable(file));
    QVERIFY(mBuild.leftToSystem.contains(QStringLiteral("libc.so.6")));
    QVERIFY(mBuild.leftToSystem.contains(QStringLiteral("libxcb.so.1")));

    const QString readme = QString::fromUtf8(
        kq::TestFiles::readBytes(QDir(mFolder).filePath(QStringLiteral("README.txt"))));
    QVERIFY(readme.contains(QStringLiteral("./quiz")));
    QVERIFY(readme.contains(QStringLiteral("quiz.dll")));
}

void TestPortableBuild::staysSmall()
{
    qint64 bytes = 0;
    for (const QString &file : filesBelow(mFolder))
        bytes += QFileInfo(QDir(mFolder).filePath(file)).size();
    QCOMPARE(mBuild.folderBytes, bytes);
    qInfo("portable folder of a one-message project: %lld bytes (%.1f MB)", bytes,
          double(bytes) / MiB);
    QVERIFY(bytes < 80 * MiB);
}

void TestPortableBuild::playsWithNothingOfTheSystemsQt()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ending"));
    QVERIFY(buildPortable(kq::ProgramTest::selfEnding(1), Runner, folder, nullptr));
    const kq::ProgramTest::Finished run =
        kq::ProgramTest::run(QDir(folder).filePath(QStringLiteral("ending")), {},
                             bareEnvironment(QStringLiteral("offscreen")));
    QCOMPARE(run.exitCode, 0);

    const QStringList loaded = loadedFiles(run.errors);
    QCOMPARE(loadedFromOutside(loaded, folder), QStringList());
    for (const QString &file :
         {QStringLiteral("lib/libQt6Core.so.6"), QStringLiteral("lib/libQt6Gui.so.6"),
          QStringLiteral("lib/libQt6Widgets.so.6"),
          QStringLiteral("plugins/platforms/libqoffscreen.so")})
        QVERIFY2(loaded.contains(QDir(folder).filePath(file)), qPrintable(file));
    for (const QString &icu :
         {QStringLiteral("libicuuc"), QStringLiteral("libicui18n"), QStringLiteral("libicudata")})
        QVERIFY2(!loaded.filter(QDir(folder).filePath(QStringLiteral("lib/") + icu)).isEmpty(),
                 qPrintable(icu));
}

void TestPortableBuild::playsOnAnXServer()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfb.isEmpty() || xdotool.isEmpty())
        QSKIP("needs xvfb-run and xdotool");
    // The message window waits for its button; Esc presses it, and its script ends the run.
    // Esc is pressed until the program has ended, as the window may take the focus late. The
    // sanitizers' options go along in the sanitized build (empty otherwise).
    const QString script = QStringLiteral(
        "env -i DISPLAY=\"$DISPLAY\" XAUTHORITY=\"$XAUTHORITY\" LD_DEBUG=libs \\\n"
        "  ASAN_OPTIONS=\"$ASAN_OPTIONS\" LSAN_OPTIONS=\"$LSAN_OPTIONS\" \"$1\" &\n"
        "program=$!\n"
        "timeout 20 xdotool search --sync --onlyvisible --classname \"$2\" >/dev/null\n"
        "for i in $(seq 40); do\n"
        "  kill -0 $program 2>/dev/null || break\n"
        "  xdotool key Escape\n"
        "  sleep 0.5\n"
        "done\n"
        "wait $program\n");
    const kq::ProgramTest::Finished run = kq::ProgramTest::run(
        xvfb,
        {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
         QStringLiteral("sh"), QStringLiteral("-c"), script, QStringLiteral("sh"), mBuild.program,
         QStringLiteral("quiz")},
        QProcessEnvironment::systemEnvironment(), 60000);
    QCOMPARE(run.exitCode, 0);
    const QStringList loaded = loadedFiles(run.errors);
    QCOMPARE(loadedFromOutside(loaded, mFolder), QStringList());
    QVERIFY(
        loaded.contains(QDir(mFolder).filePath(QStringLiteral("plugins/platforms/libqxcb.so"))));
    QVERIFY(loaded.contains(QDir(mFolder).filePath(QStringLiteral("lib/libQt6XcbQpa.so.6"))));
}

void TestPortableBuild::packedFolderUnpacksAndPlays()
{
    QString archive;
    QString error;
    QVERIFY2(packFolder(mFolder + u'/', &archive, &error), qPrintable(error));
    QCOMPARE(archive, mFolder + QStringLiteral(".tar.gz"));
    qInfo("packed: %lld bytes (%.1f MB)", QFileInfo(archive).size(),
          double(QFileInfo(archive).size()) / MiB);
    QVERIFY(QFileInfo(archive).size() < mBuild.folderBytes);

    // Unpacked elsewhere under another folder name, it plays as well.
    QTemporaryDir elsewhere;
    QCOMPARE(kq::ProgramTest::run(
                 QStringLiteral("tar"),
                 {QStringLiteral("-xzf"), archive, QStringLiteral("-C"), elsewhere.path()},
                 QProcessEnvironment::systemEnvironment())
                 .exitCode,
             0);
    QCOMPARE(filesBelow(elsewhere.filePath(QStringLiteral("quiz"))), filesBelow(mFolder));
    const QString moved = elsewhere.filePath(QStringLiteral("moved"));
    QVERIFY(QDir().rename(elsewhere.filePath(QStringLiteral("quiz")), moved));
    const QString program = QDir(moved).filePath(QStringLiteral("quiz"));
    QVERIFY(ProjectIO::writeDataFile(kq::ProgramTest::selfEnding(),
                                     ProjectIO::buildDataFilePath(program)));
    const kq::ProgramTest::Finished run =
        kq::ProgramTest::run(program, {}, bareEnvironment(QStringLiteral("offscreen")));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(loadedFromOutside(loadedFiles(run.errors), moved), QStringList());
}

void TestPortableBuild::buildsAgainIntoItsOwnFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("again"));
    QVERIFY(buildPortable(kq::ProgramTest::oneMessage(), Runner, folder, nullptr));
    // A library of an older Qt does not stay behind.
    const QString stale = QDir(folder).filePath(QStringLiteral("lib/libQt6Core.so.5"));
    QVERIFY(kq::TestFiles::writeBytes(stale, "older"));
    PortableBuild build;
    QVERIFY(buildPortable(kq::ProgramTest::selfEnding(), Runner, folder, &build));
    QVERIFY(!QFile::exists(stale));
    QCOMPARE(kq::TestFiles::readBytes(QDir(folder).filePath(QStringLiteral("again.dll"))),
             kq::ProgramTest::selfEnding().fileBytes());
    QCOMPARE(build.bundled, mBuild.bundled);
}

void TestPortableBuild::refusesAFolderOfOtherFiles()
{
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(kq::TestFiles::writeBytes(notes, "mine"));
    QVERIFY(kq::TestFiles::writeBytes(dir.filePath(QStringLiteral("lib/mine.so")), "mine"));
    QString error;
    QVERIFY(!buildPortable(kq::ProgramTest::oneMessage(), Runner, dir.path(), nullptr, &error));
    QVERIFY(error.contains(QStringLiteral("folder of its own")));
    QCOMPARE(filesBelow(dir.path()),
             QStringList({QStringLiteral("lib/mine.so"), QStringLiteral("notes.txt")}));
}

void TestPortableBuild::refusesARunnerWithoutItsRunPath()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("quiz"));
    QString error;
    // The runner of test runs and plain builds takes Qt from the system.
    QVERIFY(!buildPortable(kq::ProgramTest::oneMessage(), QStringLiteral(KQ_APP_DIR "/Runner/run"),
                           folder, nullptr, &error));
    QVERIFY2(error.contains(QStringLiteral("$ORIGIN/lib")), qPrintable(error));
    QVERIFY(!QFile::exists(folder));
}

QTEST_GUILESS_MAIN(TestPortableBuild)
#include "tst_portablebuild.moc"

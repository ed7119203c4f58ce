#include "builtprogram.h"
#include "resourcefiles.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString AppDir = QStringLiteral("usr/lib/kestrane-quorvex");

kq::ProgramTest::Finished runTool(const QString &program, const QStringList &arguments,
                                  int timeoutMs = 120000)
{
    return kq::ProgramTest::run(program, arguments, QProcessEnvironment::systemEnvironment(),
                                timeoutMs);
}

QString text(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}

} // namespace

// The Debian package as make deb builds it, made by CPack from this build folder.
class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsWhatTheProgramNeeds();
    void holdsNothingOfTheBuildTree();
    void programFolderIsMarkedForEveryUser();
    void filesBelongToRoot();
    void leavesNoRecordForUninstall();
    void lintianFindsNoError();
    void control_data();
    void control();
    void runPaths_data();
    void runPaths();
    void desktopEntryNamesTheInstalledEditor();
    void runsFromAScratchRoot_data();
    void runsFromAScratchRoot();

private:
    QTemporaryDir mDir;
    QString mPackage;
    QString mRoot;
    // "-rwxr-xr-x root/root ... ./usr/bin/tavlen -> ...", one line per entry
    QStringList mListing;
    QStringList mFiles; // the entries' paths without "./"
};

void TestPackage::initTestCase()
{
    const kq::ProgramTest::Finished cpack =
        runTool("cpack", {"--config", KQ_BUILD_DIR "/CPackConfig.cmake", "-B", mDir.path()});
    QVERIFY2(cpack.exitCode == 0, qPrintable(text(cpack.output + cpack.errors)));
    const QStringList packages = QDir(mDir.path()).entryList({"*.deb"}, QDir::Files);
    QCOMPARE(packages.size(), 1);
    QVERIFY2(QRegularExpression("^kestrane-quorvex_2\\.0_[a-z0-9]+\\.deb$")
                 .match(packages.constFirst())
                 .hasMatch(),
             qPrintable(packages.constFirst()));
    mPackage = mDir.filePath(packages.constFirst());

    const kq::ProgramTest::Finished listing = runTool("dpkg-deb", {"-c", mPackage});
    QCOMPARE(listing.exitCode, 0);
    mListing = text(listing.output).split('\n', Qt::SkipEmptyParts);
    static const QRegularExpression path(" \\./(\\S*)( -> .*)?$");
    for (const QString &line : std::as_const(mListing))
        mFiles << path.match(line).captured(1);

    mRoot = mDir.filePath("root");
    const kq::ProgramTest::Finished unpacked = runTool("dpkg-deb", {"-x", mPackage, mRoot});
    QVERIFY2(unpacked.exitCode == 0, unpacked.errors.constData());
}

void TestPackage::holdsWhatTheProgramNeeds()
{
    QStringList expected{"usr/bin/tavlen",
                         AppDir + "/tavlen",
                         AppDir + "/Runner/run",
                         AppDir + "/Runner/run-portable",
                         AppDir + "/Runner/windows-player.exe",
                         "usr/share/applications/kestrane-quorvex.desktop",
                         "usr/share/icons/hicolor/48x48/apps/kestrane-quorvex.png",
                         "usr/share/icons/hicolor/256x256/apps/kestrane-quorvex.png",
                         "usr/share/mime/packages/kestrane-quorvex.xml",
                         "usr/share/man/man1/tavlen.1.gz",
                         "usr/share/doc/kestrane-quorvex/copyright",
                         "usr/share/doc/kestrane-quorvex/changelog.gz",
                         AppDir + "/installed"};
    // Every shipped data file, in its folder below the program folder.
    const QDir data(KQ_SOURCE_DIR "/data");
    QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        expected << AppDir + '/' + data.relativeFilePath(it.next());
    for (const QString &file : std::as_const(expected))
        QVERIFY2(mFiles.contains(file), qPrintable(file));
    // Nothing else but the folders that hold them.
    for (const QString &file : std::as_const(mFiles))
        QVERIFY2(file.isEmpty() || file.endsWith('/') || expected.contains(file), qPrintable(file));
}

void TestPackage::holdsNothingOfTheBuildTree()
{
    for (const QString &file : std::as_const(mFiles)) {
        QVERIFY2(!file.endsWith(".debug"), qPrintable(file));
        QVERIFY2(!file.contains("CMake") && !file.contains("_autogen"), qPrintable(file));
    }
    // Stripped of debug information and of the compiler's identification.
    for (const char *program : {"tavlen", "Runner/run", "Runner/run-portable"}) {
        const kq::ProgramTest::Finished sections =
            runTool("readelf", {"-S", mRoot + '/' + AppDir + '/' + program});
        QCOMPARE(sections.exitCode, 0);
        for (const char *section : {".debug_info", ".comment"})
            QVERIFY2(!text(sections.output).contains(section),
                     qPrintable(QString(program) + ": " + section));
    }
}

// The editor writes nothing into the installed program folder, whoever runs it.
void TestPackage::programFolderIsMarkedForEveryUser()
{
    QCOMPARE(kq::TestFiles::readBytes(mRoot + '/' + AppDir + "/installed"),
             QByteArray("/" + AppDir.toUtf8() + '\n'));
}

void TestPackage::filesBelongToRoot()
{
    for (const QString &line : std::as_const(mListing))
        QVERIFY2(line.section(' ', 1, 1, QString::SectionSkipEmpty) == "root/root",
                 qPrintable(line));
}

// make uninstall only undoes installations; the package's staging folder is none.
void TestPackage::leavesNoRecordForUninstall()
{
    QDirIterator records(KQ_BUILD_DIR "/install/records", {"*.cmake"}, QDir::Files);
    while (records.hasNext()) {
        const QString record = records.next();
        QVERIFY2(!kq::TestFiles::readBytes(record).contains(QFile::encodeName(mDir.path())),
                 qPrintable(record));
    }
}

void TestPackage::lintianFindsNoError()
{
    const kq::ProgramTest::Finished lintian = runTool("lintian", {"--fail-on", "error", mPackage});
    QVERIFY2(lintian.exitCode == 0,
             qPrintable("lintian (Debian lintian): " + text(lintian.output + lintian.errors)));
}

void TestPackage::control_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("name") << "Package"
                          << "^kestrane-quorvex$";
    QTest::newRow("version") << "Version"
                             << "^2\\.0$";
    // From dpkg-shlibdeps, with the platform plug-ins that Qt loads at run time.
    QTest::newRow("Qt from the libraries") << "Depends"
                                           << "libqt6widgets6 \\(>= 6";
    QTest::newRow("C library") << "Depends"
                               << "libc6 \\(>= ";
    QTest::newRow("platform plug-ins") << "Depends"
                                       << "qt6-qpa-plugins";
    QTest::newRow("summary") << "Description"
                             << "^editor for small stand-alone dialog programs";
}

void TestPackage::control()
{
    QFETCH(QString, field);
    QFETCH(QString, pattern);
    const kq::ProgramTest::Finished value = runTool("dpkg-deb", {"-f", mPackage, field});
    QCOMPARE(value.exitCode, 0);
    QVERIFY2(QRegularExpression(pattern).match(text(value.output).trimmed()).hasMatch(),
             qPrintable(field + ": " + text(value.output)));
}

void TestPackage::runPaths_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("runPath"); // what readelf -d shows in [], none when empty
    QTest::newRow("editor") << "tavlen"
                            << "";
    QTest::newRow("runner of test runs and builds") << "Runner/run"
                                                    << "";
    QTest::newRow("runner of portable builds") << "Runner/run-portable"
                                               << "$ORIGIN/lib";
}

void TestPackage::runPaths()
{
    QFETCH(QString, program);
    QFETCH(QString, runPath);
    const kq::ProgramTest::Finished dynamic =
        runTool("readelf", {"-d", mRoot + '/' + AppDir + '/' + program});
    QCOMPARE(dynamic.exitCode, 0);
    static const QRegularExpression paths("\\((RPATH|RUNPATH)\\).*\\[(.*)\\]");
    QStringList found;
    for (const QString &line : text(dynamic.output).split('\n')) {
        const QRegularExpressionMatch match = paths.match(line);
        if (match.hasMatch())
            found << match.captured(1) + ' ' + match.captured(2);
    }
    QCOMPARE(found, runPath.isEmpty() ? QStringList() : QStringList{"RPATH " + runPath});
}

void TestPackage::desktopEntryNamesTheInstalledEditor()
{
    const QString entry =
        text(kq::TestFiles::readBytes(mRoot + "/usr/share/applications/kestrane-quorvex.desktop"));
    QVERIFY2(entry.contains("\nExec=/usr/lib/kestrane-quorvex/tavlen %f\n"), qPrintable(entry));
    QVERIFY2(entry.contains("\nTryExec=/usr/lib/kestrane-quorvex/tavlen\n"), qPrintable(entry));
}

void TestPackage::runsFromAScratchRoot_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("version") << QStringList{"--version"} << 0 << "tavlen 2.0\n";
    QTest::newRow("check a shipped sample")
        << QStringList{"--check", "@/Samples/FormatC.dlg2"} << 0 << "";
    QTest::newRow("check a file that is not there")
        << QStringList{"--check", "@/Samples/missing.dlg2"} << 3 << "";
}

void TestPackage::runsFromAScratchRoot()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    for (QString &argument : arguments)
        argument.replace('@', mRoot + '/' + AppDir);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.insert("XDG_CONFIG_HOME", mDir.filePath("config"));
    // Through the command's link, as a user starts it.
    const kq::ProgramTest::Finished finished =
        kq::ProgramTest::run(mRoot + "/usr/bin/tavlen", arguments, environment);
    QCOMPARE(finished.exitCode, exitCode);
    QCOMPARE(text(finished.output), output);
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"

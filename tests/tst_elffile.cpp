#include "elffile.h"
#include "resourcefiles.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

const QString Runner = QStringLiteral(KQ_APP_DIR "/Runner/run");
const QString PortableRunner = QStringLiteral(KQ_APP_DIR "/Runner/run-portable");

QString qtCore()
{
    return QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6");
}

} // namespace

class TestElfFile : public QObject
{
    Q_OBJECT

private slots:
    void runnerCarriesNoDebugInformation_data();
    void runnerCarriesNoDebugInformation();
    void runPaths_data();
    void runPaths();
    void librariesNamesTheirNeeds();
    void refusesWhatIsNoElfFile_data();
    void refusesWhatIsNoElfFile();
};

void TestElfFile::runnerCarriesNoDebugInformation_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("runner") << Runner;
    QTest::newRow("portable runner") << PortableRunner;
}

void TestElfFile::runnerCarriesNoDebugInformation()
{
    QFETCH(QString, program);
    ElfFile runner;
    QVERIFY2(runner.load(program), qPrintable(runner.errorString()));
    const QStringList sections = runner.sectionNames();
    QVERIFY(sections.contains(QStringLiteral(".text")));
    QVERIFY(!sections.contains(QStringLiteral(".debug_info")));
    QVERIFY(!sections.contains(QStringLiteral(".symtab")));
    QVERIFY(sections.contains(QStringLiteral(".gnu_debuglink")));

    // The symbols are kept for debugging, in the file the debug link names.
    ElfFile symbols;
    QVERIFY2(symbols.load(program + QStringLiteral(".debug")), qPrintable(symbols.errorString()));
    QVERIFY(symbols.sectionNames().contains(QStringLiteral(".debug_info")));
    QVERIFY(symbols.sectionNames().contains(QStringLiteral(".symtab")));
}

void TestElfFile::runPaths_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("runPath");
    // Only the portable runner looks beside itself for libraries: a lib/ folder that happens to
    // lie beside a plain built program must not be loaded.
    QTest::newRow("runner of test runs and builds") << Runner << QString();
    QTest::newRow("portable runner") << PortableRunner << QStringLiteral("$ORIGIN/lib");
    QTest::newRow("editor") << QStringLiteral(KQ_APP_DIR "/tavlen") << QString();
}

void TestElfFile::runPaths()
{
    QFETCH(QString, program);
    QFETCH(QString, runPath);
    ElfFile runner;
    QVERIFY(runner.load(program));
    QCOMPARE(runner.runPath(), runPath);
    QCOMPARE(runner.newRunPath(), QString());
    QVERIFY(runner.needed().contains(QStringLiteral("libQt6Widgets.so.6")));
    QVERIFY(runner.needed().contains(QStringLiteral("libc.so.6")));
}

void TestElfFile::librariesNamesTheirNeeds()
{
    ElfFile core;
    QVERIFY2(core.load(qtCore()), qPrintable(core.errorString()));
    const QStringList needed = core.needed();
    QVERIFY(!needed.filter(QStringLiteral("libicuuc.so.")).isEmpty());
    QVERIFY(!needed.contains(QStringLiteral("libQt6Core.so.6")));
    QVERIFY(core.runPath().isEmpty());
}

void TestElfFile::refusesWhatIsNoElfFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray runner = kq::TestFiles::readBytes(Runner);
    QVERIFY(runner.size() > 4096);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray(200, 'x');
    QTest::newRow("header only") << runner.left(64);
    QTest::newRow("cut after the program") << runner.left(4096);
    QByteArray elf32 = runner;
    elf32[4] = 1;
    QTest::newRow("32-bit") << elf32;
    QByteArray farTable = runner;
    farTable.replace(0x28, 8, QByteArray("\xff\xff\xff\xff\xff\xff\xff\x7f", 8));
    QTest::newRow("section table far outside") << farTable;
}

void TestElfFile::refusesWhatIsNoElfFile()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = kq::TestFiles::scratchFile(dir, QStringLiteral("file"), bytes);
    ElfFile elf;
    QVERIFY(!elf.load(path));
    QVERIFY(!elf.errorString().isEmpty());
    QVERIFY(elf.needed().isEmpty());
}

QTEST_GUILESS_MAIN(TestElfFile)
#include "tst_elffile.moc"

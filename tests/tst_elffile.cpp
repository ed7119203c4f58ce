#include "elffile.h"
#include "resourcefiles.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

const QString Runner = QStringLiteral(KQ_APP_DIR "/Runner/run");

QString qtCore()
{
    return QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6");
}

} // namespace

class TestElfFile : public QObject
{
    Q_OBJECT

private slots:
    void runnerCarriesNoDebugInformation();
    void runnerLooksForLibrariesBesideItself();
    void librariesNamesTheirNeeds();
    void refusesWhatIsNoElfFile_data();
    void refusesWhatIsNoElfFile();
};

void TestElfFile::runnerCarriesNoDebugInformation()
{
    ElfFile runner;
    QVERIFY2(runner.load(Runner), qPrintable(runner.errorString()));
    const QStringList sections = runner.sectionNames();
    QVERIFY(sections.contains(QStringLiteral(".text")));
    QVERIFY(!sections.contains(QStringLiteral(".debug_info")));
    QVERIFY(!sections.contains(QStringLiteral(".symtab")));
    QVERIFY(sections.contains(QStringLiteral(".gnu_debuglink")));

    // The symbols are kept for debugging, in the file the debug link names.
    ElfFile symbols;
    QVERIFY2(symbols.load(Runner + QStringLiteral(".debug")), qPrintable(symbols.errorString()));
    QVERIFY(symbols.sectionNames().contains(QStringLiteral(".debug_info")));
    QVERIFY(symbols.sectionNames().contains(QStringLiteral(".symtab")));
}

void TestElfFile::runnerLooksForLibrariesBesideItself()
{
    ElfFile runner;
    QVERIFY(runner.load(Runner));
    QCOMPARE(runner.runPath(), QStringLiteral("$ORIGIN/lib"));
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

#include "fileplaces.h"
#include "resourcefiles.h"

#include <QTest>

#include <unistd.h>

using namespace kq;
using namespace kq::TestFiles;

namespace {

// "shipped/x" and "own/x" name the files of the two folders of a test, so the tables read alike
// whatever the scratch folder is called.
struct Folders
{
    QTemporaryDir root;
    QString shipped() const { return root.filePath("shipped"); }
    QString own() const { return root.filePath("own"); }

    FilePlaces places(bool shared) const { return FilePlaces(shipped(), own(), shared); }

    // "shipped/Themes/a.tvth" becomes the full path of that file.
    QString path(const QString &relative) const { return root.filePath(relative); }
    QString shortPath(const QString &path) const
    {
        return QDir(root.path()).relativeFilePath(path);
    }

    bool write(const QStringList &files) const
    {
        for (const QString &file : files) {
            if (!writeBytes(path(file), file.toUtf8()))
                return false;
        }
        return true;
    }
};

} // namespace

class TestFilePlaces : public QObject
{
    Q_OBJECT

private slots:
    void files_data();
    void files();
    void filePath_data();
    void filePath();
    void ownership_data();
    void ownership();
    void folderForWriting_data();
    void folderForWriting();
    void writableProgramFolder_data();
    void writableProgramFolder();
    void testRunPlace_data();
    void testRunPlace();
    void testRunPlaceWithoutRunner();
};

void TestFilePlaces::files_data()
{
    QTest::addColumn<bool>("shared");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("listed");

    const QStringList both{"shipped/Themes/b.tvth", "shipped/Themes/a.tvth",
                           "own/Themes/c.tvth",     "own/Themes/a.tvth",
                           "own/Themes/notes.txt",  "shipped/Plugins/a.tvth"};
    QTest::newRow("writable folder: its own files only")
        << false << both << QStringList{"shipped/Themes/a.tvth", "shipped/Themes/b.tvth"};
    QTest::newRow("shared: both, by name, the user's own winning")
        << true << both
        << QStringList{"own/Themes/a.tvth", "shipped/Themes/b.tvth", "own/Themes/c.tvth"};
    QTest::newRow("shared, nothing of the user's")
        << true << QStringList{"shipped/Themes/a.tvth"} << QStringList{"shipped/Themes/a.tvth"};
    QTest::newRow("shared, no shipped folder")
        << true << QStringList{"own/Themes/a.tvth"} << QStringList{"own/Themes/a.tvth"};
}

void TestFilePlaces::files()
{
    QFETCH(bool, shared);
    QFETCH(QStringList, present);
    QFETCH(QStringList, listed);
    Folders folders;
    QVERIFY(folders.write(present));

    QStringList found;
    for (const QString &path : folders.places(shared).files("Themes", "*.tvth"))
        found << folders.shortPath(path);
    QCOMPARE(found, listed);
}

void TestFilePlaces::filePath_data()
{
    QTest::addColumn<bool>("shared");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("read");

    const QStringList both{"shipped/Languages/x.lang", "own/Languages/x.lang"};
    QTest::newRow("writable folder") << false << both << "shipped/Languages/x.lang";
    QTest::newRow("shared: the user's own") << true << both << "own/Languages/x.lang";
    QTest::newRow("shared: shipped only")
        << true << QStringList{"shipped/Languages/x.lang"} << "shipped/Languages/x.lang";
    QTest::newRow("shared: none at all") << true << QStringList() << "shipped/Languages/x.lang";
}

void TestFilePlaces::filePath()
{
    QFETCH(bool, shared);
    QFETCH(QStringList, present);
    QFETCH(QString, read);
    Folders folders;
    QVERIFY(folders.write(present));

    QCOMPARE(folders.shortPath(folders.places(shared).filePath("Languages", "x.lang")), read);
}

void TestFilePlaces::ownership_data()
{
    QTest::addColumn<bool>("shared");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("own");
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<QString>("savedTo");

    QTest::newRow("writable: shipped file")
        << false << "shipped/Themes/a.tvth" << false << false << "shipped/Themes/a.tvth";
    QTest::newRow("writable: a file elsewhere")
        << false << "own/Themes/a.tvth" << false << false << "own/Themes/a.tvth";
    QTest::newRow("shared: shipped file")
        << true << "shipped/Themes/a.tvth" << false << true << "own/Themes/a.tvth";
    QTest::newRow("shared: the user's own")
        << true << "own/Themes/a.tvth" << true << false << "own/Themes/a.tvth";
    QTest::newRow("shared: a folder beside the program's")
        << true << "shipped2/Themes/a.tvth" << false << false << "shipped2/Themes/a.tvth";
}

void TestFilePlaces::ownership()
{
    QFETCH(bool, shared);
    QFETCH(QString, file);
    QFETCH(bool, own);
    QFETCH(bool, shipped);
    QFETCH(QString, savedTo);
    Folders folders;
    const FilePlaces places = folders.places(shared);

    QCOMPARE(places.isUsersOwn(folders.path(file)), own);
    QCOMPARE(places.isShipped(folders.path(file)), shipped);
    QCOMPARE(folders.shortPath(places.savePath(folders.path(file))), savedTo);
}

void TestFilePlaces::folderForWriting_data()
{
    QTest::addColumn<bool>("shared");
    QTest::addColumn<QString>("folder");
    QTest::newRow("writable folder") << false << "shipped/Plugins";
    QTest::newRow("shared") << true << "own/Plugins";
}

void TestFilePlaces::folderForWriting()
{
    QFETCH(bool, shared);
    QFETCH(QString, folder);
    Folders folders;

    const QString made = folders.places(shared).folderForWriting("Plugins");
    QCOMPARE(folders.shortPath(made), folder);
    QVERIFY(QFileInfo(made).isDir());
}

void TestFilePlaces::writableProgramFolder_data()
{
    QTest::addColumn<QString>("readOnly");    // made read-only below the program folder
    QTest::addColumn<QString>("installedAt"); // the place the mark "installed" names, if any
    QTest::addColumn<bool>("writable");
    QTest::newRow("all writable") << ""
                                  << "" << true;
    QTest::newRow("read-only folder") << "."
                                      << "" << false;
    QTest::newRow("read-only Themes") << "Themes"
                                      << "" << false;
    QTest::newRow("read-only Runner") << "Runner"
                                      << "" << false;
    QTest::newRow("read-only Samples, never written") << "Samples"
                                                      << "" << true;
    // Whoever runs the editor, the superuser too.
    QTest::newRow("installed for every user here") << ""
                                                   << "." << false;
    QTest::newRow("installed through a link to it") << ""
                                                    << "link" << false;
    QTest::newRow("a copy of a folder installed elsewhere") << ""
                                                            << "elsewhere" << true;
}

void TestFilePlaces::writableProgramFolder()
{
    QFETCH(QString, readOnly);
    QFETCH(QString, installedAt);
    QFETCH(bool, writable);
    if (!readOnly.isEmpty() && geteuid() == 0)
        QSKIP("running as superuser: every folder is writable");
    QTemporaryDir root;
    const QString folder = root.filePath("folder");
    for (const char *sub : {"Runner", "Themes", "Samples"})
        QVERIFY(QDir(folder).mkpath(sub));
    QVERIFY(QDir(root.path()).mkpath("elsewhere"));
    QVERIFY(QFile::link(folder, root.filePath("link")));
    const QString place = installedAt == "." ? folder : root.filePath(installedAt);
    QVERIFY(installedAt.isEmpty() ||
            writeBytes(folder + "/installed", QFile::encodeName(place) + '\n'));
    const QString locked = QDir(folder).filePath(readOnly);
    const auto mode = QFile::ReadOwner | QFile::ExeOwner;
    QVERIFY(readOnly.isEmpty() || QFile::setPermissions(locked, mode));

    QCOMPARE(FilePlaces::isWritableProgramFolder(folder), writable);
    QCOMPARE(FilePlaces::isInstalledForEveryUser(folder),
             !installedAt.isEmpty() && installedAt != "elsewhere");
    QVERIFY(readOnly.isEmpty() || QFile::setPermissions(locked, mode | QFile::WriteOwner));
}

void TestFilePlaces::testRunPlace_data()
{
    QTest::addColumn<bool>("shared");
    QTest::newRow("writable folder: beside the runner") << false;
    QTest::newRow("shared: a private copy") << true;
}

void TestFilePlaces::testRunPlace()
{
    QFETCH(bool, shared);
    Folders folders;
    const QString runner = folders.path("shipped/Runner/run");
    QVERIFY(writeBytes(runner, "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(runner, QFile::permissions(runner) | QFile::ExeOwner));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folders.path("cache")));

    TestRunPlace place;
    QString error;
    QVERIFY2(place.prepare(folders.places(shared), runner, &error), qPrintable(error));
    const QString expected = shared ? folders.path("cache/kestrane-quorvex") : runner;
    QVERIFY2(shared ? place.folder().startsWith(expected + "/run-") : place.runner() == runner,
             qPrintable(place.runner()));
    QCOMPARE(QFileInfo(place.runner()).absolutePath(), place.folder());
    QCOMPARE(QFileInfo(place.runner()).fileName(), "run");
    QCOMPARE(readBytes(place.runner()), readBytes(runner));
    QVERIFY(QFileInfo(place.runner()).isExecutable());
    QCOMPARE(place.dataFile(), place.folder() + "/run.dll");
    QVERIFY(writeBytes(place.dataFile(), "data"));

    const QString folder = place.folder();
    place.clear();
    QVERIFY(!QFile::exists(folder + "/run.dll"));
    QCOMPARE(QFileInfo::exists(folder), !shared);
    QVERIFY(QFile::exists(runner));
}

void TestFilePlaces::testRunPlaceWithoutRunner()
{
    Folders folders;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folders.path("cache")));
    TestRunPlace place;
    QString error;
    QVERIFY(!place.prepare(folders.places(true), folders.path("shipped/Runner/run"), &error));
    QVERIFY2(error.contains("shipped/Runner/run"), qPrintable(error));
    QCOMPARE(QDir(folders.path("cache/kestrane-quorvex"))
                 .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
}

QTEST_GUILESS_MAIN(TestFilePlaces)
#include "tst_fileplaces.moc"

#include "resourcefiles.h"
#include "wholefile.h"

#include <QTest>

#include <cstdio>

using namespace kq;
using namespace kq::TestFiles;

// Files that others can put things in place of (the plug-in exchange files) are written anew,
// never through a link, and recognised again by what they are, not by their name.
class TestWholeFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void newFileNeverGoesThroughWhatIsThere_data();
    void newFileNeverGoesThroughWhatIsThere();
    void newFileHasItsPermissions();
    void identityTellsFilesApart();

private:
    QString path(const QString &name) const { return mDir->filePath(name); }
    std::unique_ptr<QTemporaryDir> mDir;
};

void TestWholeFile::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
}

void TestWholeFile::newFileNeverGoesThroughWhatIsThere_data()
{
    QTest::addColumn<QString>("there"); // what is at the path before
    QTest::addColumn<bool>("written");
    QTest::newRow("nothing") << "nothing" << true;
    QTest::newRow("an old file") << "file" << true;
    QTest::newRow("a link to another file") << "link" << true;
    QTest::newRow("a link to nothing yet") << "dangling" << true;
    QTest::newRow("a folder") << "folder" << false;
}

void TestWholeFile::newFileNeverGoesThroughWhatIsThere()
{
    QFETCH(QString, there);
    QFETCH(bool, written);
    const QString target = path("Input.tmp");
    const QString victim = path("victim.txt");
    QVERIFY(writeBytes(victim, "keep"));
    if (there == "file")
        QVERIFY(writeBytes(target, "an older and longer content"));
    else if (there == "link")
        QVERIFY(QFile::link(victim, target));
    else if (there == "dangling")
        QVERIFY(QFile::link(path("made-by-link.txt"), target));
    else if (there == "folder")
        QVERIFY(QDir().mkpath(target + "/inside"));

    QString error;
    FileIdentity identity;
    QCOMPARE(writeNewFile(target, "new", QFileDevice::ReadOwner | QFileDevice::WriteOwner,
                          &identity, &error),
             written);
    QCOMPARE(error.isEmpty(), written);
    QCOMPARE(readBytes(victim), QByteArray("keep"));
    QVERIFY(!QFile::exists(path("made-by-link.txt")));
    if (written) {
        QVERIFY(!QFileInfo(target).isSymLink());
        QCOMPARE(readBytes(target), QByteArray("new"));
        QCOMPARE(regularFileAt(target), identity);
    } else {
        QVERIFY(QFileInfo(target + "/inside").isDir());
        QVERIFY(!regularFileAt(target));
    }
}

void TestWholeFile::newFileHasItsPermissions()
{
    const QString program = path("plugin.exe");
    QVERIFY(writeNewFile(program, "#!/bin/sh\n",
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY(QFileInfo(program).isExecutable());
    QVERIFY(writeNewFile(program, "data", QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(!QFileInfo(program).isExecutable());
}

void TestWholeFile::identityTellsFilesApart()
{
    const QString program = path("plugin.exe");
    FileIdentity written;
    QVERIFY(
        writeNewFile(program, "mine", QFileDevice::ReadOwner | QFileDevice::WriteOwner, &written));
    QCOMPARE(regularFileAt(program), written);

    // Another file put in its place under the same name, even of the same content.
    QVERIFY(writeBytes(path("other"), "mine"));
    QCOMPARE(::rename(QFile::encodeName(path("other")).constData(),
                      QFile::encodeName(program).constData()),
             0);
    QVERIFY(regularFileAt(program) != written);

    // A link under the name is not the file, even when it leads to it.
    QVERIFY(QFile::remove(program));
    QVERIFY(writeBytes(path("elsewhere"), "mine"));
    QVERIFY(QFile::link(path("elsewhere"), program));
    QVERIFY(!regularFileAt(program));
    QVERIFY(!regularFileAt(path("missing")));
    QVERIFY(!regularFileAt(mDir->path()));
}

QTEST_GUILESS_MAIN(TestWholeFile)
#include "tst_wholefile.moc"

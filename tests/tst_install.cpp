#include "editorlook.h"
#include "resourcefiles.h"

#include <QDirIterator>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kq::TestFiles;

namespace {

const QString Name = QStringLiteral("kestrane-quorvex");
const QString ProjectType = QStringLiteral("application/x-kestrane-quorvex-project");
const QString LegacyType = QStringLiteral("application/x-kestrane-quorvex-legacy");

struct Outcome
{
    int exitCode = -1;
    QString output;
};

// Runs the installer script as make does, with PREFIX set; -1 when it did not end normally.
Outcome runInstaller(const QString &prefix, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PREFIX", prefix);
    env.remove("DESTDIR");
    // The prefix is searched, as ~/.local/share is, so the MIME tool does not warn about it.
    env.insert("XDG_DATA_DIRS", prefix + "/share:/usr/local/share:/usr/share");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("sh", QStringList{KQ_SOURCE_DIR "/desktop/install.sh"} + arguments);
    Outcome outcome;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        outcome.exitCode = process.exitCode();
    outcome.output = QString::fromLocal8Bit(process.readAll());
    return outcome;
}

Outcome install(const QString &prefix)
{
    return runInstaller(prefix, {"install", KQ_APP_DIR});
}

Outcome uninstall(const QString &prefix)
{
    return runInstaller(prefix, {"uninstall"});
}

// The keys of the [Desktop Entry] group, values as written.
QHash<QString, QString> desktopEntry(const QString &path)
{
    QHash<QString, QString> keys;
    const QStringList lines = QString::fromUtf8(readBytes(path)).split('\n');
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void programFolderIsCopiedAndWritable();
    void commandLinkStartsTheCopy();
    void desktopEntryValidates();
    void desktopEntryStartsTheInstalledEditor();
    void icons_data();
    void icons();
    void windowsShowTheInstalledIcon();
    void projectFilesAreRecognised_data();
    void projectFilesAreRecognised();
    void entryOpensBothProjectTypes();
    void installingAgainKeepsUserThemes();

    void uninstallLeavesNothing();
    void uninstallKeepsWhatOthersInstalled();

private:
    QTemporaryDir mRoot;
    QString mPrefix;
    QString mAppDir;
};

void TestInstall::initTestCase()
{
    QVERIFY2(QFileInfo(KQ_APP_DIR "/tavlen").isExecutable(), "build the editor first");
    // A prefix with a space checks the quoting of the entry's command.
    mPrefix = mRoot.filePath("my prefix");
    mAppDir = mPrefix + "/lib/" + Name;
    // The MIME database reads the installed types from here once the first query is made.
    qputenv("XDG_DATA_HOME", QFile::encodeName(mPrefix + "/share"));

    const Outcome outcome = install(mPrefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
}

void TestInstall::programFolderIsCopiedAndWritable()
{
    for (const char *file : {"tavlen", "Runner/run"})
        QVERIFY2(QFileInfo(mAppDir + '/' + file).isExecutable(), file);
    QStringList built = filesBelow(KQ_APP_DIR);
    QVERIFY(built.removeAll("Runner/run.debug") == 1);
    QCOMPARE(filesBelow(mAppDir), built);

    // The editor writes user themes and test-run data into its own folder.
    QVERIFY(writeBytes(mAppDir + "/Themes/mine.tvth", "theme"));
    QVERIFY(writeBytes(mAppDir + "/Runner/run.dll", "data"));
}

void TestInstall::commandLinkStartsTheCopy()
{
    const QFileInfo link(mPrefix + "/bin/tavlen");
    QVERIFY(link.isSymLink());
    QCOMPARE(link.canonicalFilePath(), QFileInfo(mAppDir + "/tavlen").canonicalFilePath());
}

void TestInstall::desktopEntryValidates()
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing (Debian desktop-file-utils)");
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(validator, {mPrefix + "/share/applications/" + Name + ".desktop"});
    QVERIFY(process.waitForFinished());
    const QString output = QString::fromLocal8Bit(process.readAll());
    QVERIFY2(process.exitCode() == 0 && output.isEmpty(), qPrintable(output));
}

void TestInstall::desktopEntryStartsTheInstalledEditor()
{
    const auto entry = desktopEntry(mPrefix + "/share/applications/" + Name + ".desktop");
    QCOMPARE(entry.value("Exec"), '"' + mAppDir + "/tavlen\" %f");
    QCOMPARE(entry.value("TryExec"), mAppDir + "/tavlen");
    QCOMPARE(entry.value("Icon"), Name);
}

void TestInstall::icons_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("48") << 48;
    QTest::newRow("256") << 256;
}

void TestInstall::icons()
{
    QFETCH(int, size);
    const QString path =
        QString("%1/share/icons/hicolor/%2x%2/apps/%3.png").arg(mPrefix).arg(size).arg(Name);
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), QSize(size, size));
}

void TestInstall::windowsShowTheInstalledIcon()
{
    const QIcon icon = kq::EditorLook::applicationIcon();
    QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(48, 48), QSize(256, 256)}));
    for (const int size : {48, 256}) {
        const QImage installed(
            QString("%1/share/icons/hicolor/%2x%2/apps/%3.png").arg(mPrefix).arg(size).arg(Name));
        QCOMPARE(icon.pixmap(size).toImage().convertToFormat(installed.format()), installed);
    }
}

void TestInstall::projectFilesAreRecognised_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("type");

    const QByteArray sample = readBytes(KQ_SOURCE_DIR "/data/Samples/FormatC.dlg2");
    const QByteArray skinned = readBytes(KQ_SOURCE_DIR "/data/Samples/VirusModification.dlg2");
    QTest::newRow("project by name") << "quiz.dlg2" << QByteArray() << ProjectType;
    QTest::newRow("legacy by name") << "virus.dlg" << QByteArray() << LegacyType;
    QTest::newRow("style 0 by its header") << "" << sample << ProjectType;
    QTest::newRow("style 1 by its header") << "" << skinned << ProjectType;
    QTest::newRow("a project renamed") << "quiz.bin" << sample << ProjectType;
    QTest::newRow("text starting with 0")
        << "" << QByteArray("0 apples and 1 pear\r\n") << "text/plain";
}

void TestInstall::projectFilesAreRecognised()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, type);

    const QMimeDatabase mime;
    const QMimeType found = fileName.isEmpty() ? mime.mimeTypeForData(content)
                            : content.isEmpty()
                                ? mime.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension)
                                : mime.mimeTypeForFileNameAndData(fileName, content);
    QCOMPARE(found.name(), type);
}

void TestInstall::entryOpensBothProjectTypes()
{
    const auto entry = desktopEntry(mPrefix + "/share/applications/" + Name + ".desktop");
    QStringList types = entry.value("MimeType").split(';', Qt::SkipEmptyParts);
    QCOMPARE(types, QStringList({ProjectType, LegacyType}));
    const QString cache =
        QString::fromUtf8(readBytes(mPrefix + "/share/applications/mimeinfo.cache"));
    for (const QString &type : std::as_const(types))
        QVERIFY2(cache.contains(type + '=' + Name + ".desktop;"), qPrintable(cache));
}

void TestInstall::installingAgainKeepsUserThemes()
{
    const QString userTheme = mAppDir + "/Themes/mine.tvth";
    QVERIFY(QFile::exists(userTheme));
    QVERIFY(writeBytes(mAppDir + "/Languages/english.lang", "stale"));

    const Outcome outcome = install(mPrefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    QVERIFY(QFile::exists(userTheme));
    QCOMPARE(readBytes(mAppDir + "/Languages/english.lang"),
             readBytes(KQ_APP_DIR "/Languages/english.lang"));
}

void TestInstall::uninstallLeavesNothing()
{
    const Outcome outcome = uninstall(mPrefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    QCOMPARE(filesBelow(mPrefix), QStringList());
}

void TestInstall::uninstallKeepsWhatOthersInstalled()
{
    QTemporaryDir root;
    const QString prefix = root.path();
    const QString otherEntry = prefix + "/share/applications/other.desktop";
    const QString otherTypes = prefix + "/share/mime/packages/other.xml";
    QVERIFY(writeBytes(otherEntry, "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\n"
                                   "MimeType=application/x-other;\n"));
    QVERIFY(writeBytes(otherTypes,
                       "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/"
                       "standards/shared-mime-info\">\n<mime-type type=\"application/x-other\">"
                       "<glob pattern=\"*.other\"/></mime-type>\n</mime-info>\n"));
    Outcome outcome = install(prefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    // Another program's command of the same name is not ours to remove.
    QVERIFY(QFile::remove(prefix + "/bin/tavlen"));
    QVERIFY(writeBytes(prefix + "/bin/tavlen", "#!/bin/sh\n"));

    outcome = uninstall(prefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    const QStringList left = filesBelow(prefix);
    QVERIFY2(!left.join(' ').contains(Name), qPrintable(left.join(' ')));
    for (const QString &kept : {otherEntry, otherTypes, prefix + "/bin/tavlen"})
        QVERIFY2(QFile::exists(kept), qPrintable(kept));
    // The databases stay, rebuilt without our types.
    const QString globs = QString::fromUtf8(readBytes(prefix + "/share/mime/globs2"));
    QVERIFY(globs.contains("*.other"));
    QVERIFY(!globs.contains("dlg"));
    const QString cache =
        QString::fromUtf8(readBytes(prefix + "/share/applications/mimeinfo.cache"));
    QVERIFY(cache.contains("application/x-other=other.desktop;"));
    QVERIFY(!cache.contains(Name));
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"

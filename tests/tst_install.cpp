#include "editorlook.h"
#include "fileplaces.h"
#include "programfolder.h"
#include "resourcefiles.h"

#include <QDirIterator>
#include <QImageReader>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include <unistd.h>

using namespace kq::TestFiles;

namespace {

const QString Name = QStringLiteral("kestrane-quorvex");
const QString ProjectType = QStringLiteral("application/x-kestrane-quorvex-project");
const QString LegacyType = QStringLiteral("application/x-kestrane-quorvex-legacy");
// The superuser installs for every user; an ordinary user installs for themselves.
const bool ForEveryUser = geteuid() == 0;

struct Outcome
{
    int exitCode = -1;
    QString output;
};

Outcome finished(QProcess &process)
{
    Outcome outcome;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        outcome.exitCode = process.exitCode();
    outcome.output = QString::fromLocal8Bit(process.readAll());
    return outcome;
}

// Runs cmake as make install and make uninstall do, with PREFIX given; -1 when it did not end
// normally.
Outcome runCmake(const QString &prefix, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DESTDIR");
    // The prefix is searched, as ~/.local/share is, so the MIME tool does not warn about it.
    env.insert("XDG_DATA_DIRS", prefix + "/share:/usr/local/share:/usr/share");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("cmake", arguments);
    return finished(process);
}

Outcome install(const QString &prefix)
{
    return runCmake(prefix, {"--install", KQ_BUILD_DIR, "--prefix", prefix});
}

Outcome uninstall(const QString &prefix)
{
    return runCmake(prefix,
                    {"-DKQ_RECORDS=" KQ_BUILD_DIR "/install/records", "-DKQ_PREFIX=" + prefix, "-P",
                     KQ_SOURCE_DIR "/desktop/uninstall.cmake"});
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

// Shipped with the program: the built program folder less the runners' debug information, and
// the mark of an installation for every user.
QStringList shippedProgramFolder()
{
    QStringList built = filesBelow(KQ_APP_DIR);
    built.removeIf([](const QString &file) { return file.endsWith(".debug"); });
    if (ForEveryUser)
        built << "installed";
    built.sort();
    return built;
}

// A desktop entry's Exec line as the generic launcher of xdg-open runs it: its first word is
// looked up as a command and started, the rest become its arguments. Returns the command found.
QString xdgOpenCommand(const QString &entryPath)
{
    QProcess shell;
    shell.start("sh",
                {"-c",
                 "command=$(sed -n 's/^Exec=//p' \"$0\" | { read first rest; echo \"$first\"; })\n"
                 "which $command",
                 entryPath});
    shell.waitForFinished();
    return QString::fromLocal8Bit(shell.readAllStandardOutput()).trimmed();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void installsWhatMakeInstallInstalled();
    void editorWritesOnlyAFolderInstalledForItsUser();
    void programFolderIsCopied();
    void commandLinkStartsTheCopy();
    void desktopEntryValidates();
    void desktopEntryStartsTheInstalledEditor();
    void desktopEntryQuotesOnlyWhenNeeded_data();
    void desktopEntryQuotesOnlyWhenNeeded();
    void icons_data();
    void icons();
    void windowsShowTheInstalledIcon();
    void projectFilesAreRecognised_data();
    void projectFilesAreRecognised();
    void entryOpensBothProjectTypes();
    void manPageRenders();
    void manPageNamesEveryOption();
    void installingAgainKeepsUserThemes();

    void uninstallLeavesWhatWasWrittenOrChanged();
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

void TestInstall::installsWhatMakeInstallInstalled()
{
    QStringList expected{"bin/tavlen",
                         "share/applications/kestrane-quorvex.desktop",
                         "share/applications/mimeinfo.cache",
                         "share/icons/hicolor/48x48/apps/kestrane-quorvex.png",
                         "share/icons/hicolor/256x256/apps/kestrane-quorvex.png",
                         "share/mime/packages/kestrane-quorvex.xml",
                         "share/man/man1/tavlen.1.gz",
                         "share/doc/kestrane-quorvex/copyright",
                         "share/doc/kestrane-quorvex/changelog.gz"};
    for (const QString &file : shippedProgramFolder()) {
        if (!QFileInfo(KQ_APP_DIR "/" + file).isDir())
            expected << "lib/kestrane-quorvex/" + file;
    }
    QStringList installed = filesBelow(mPrefix);
    // The MIME database made from the installed types, whatever files its tool writes.
    installed.removeIf([](const QString &file) {
        return file.startsWith("share/mime/") && !file.startsWith("share/mime/packages/");
    });
    installed.removeIf(
        [this](const QString &file) { return QFileInfo(mPrefix + '/' + file).isDir(); });
    expected.sort();
    QCOMPARE(installed, expected);
    QVERIFY(QFile::exists(mPrefix + "/share/mime/globs2"));
}

// A folder installed for every user is never written by the editor, whoever runs it (the
// superuser too): a new theme and a test run go to the user's own places. A user's installation
// of their own stays writable for them, as a copied folder is.
void TestInstall::editorWritesOnlyAFolderInstalledForItsUser()
{
    QCOMPARE(kq::FilePlaces::isInstalledForEveryUser(mAppDir), ForEveryUser);
    QTemporaryDir home;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
    const auto restore = qScopeGuard([&dataHome, &cacheHome] {
        qputenv("XDG_DATA_HOME", dataHome);
        qputenv("XDG_CACHE_HOME", cacheHome);
        kq::setProgramFolder(QString());
    });
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
    kq::setProgramFolder(mAppDir);
    const QStringList before = filesBelow(mAppDir);

    const kq::FilePlaces places = kq::FilePlaces::current();
    const QString themes = places.folderForWriting("Themes");
    kq::TestRunPlace run;
    QVERIFY(run.prepare(places, mAppDir + "/Runner/run"));
    QVERIFY(writeBytes(run.dataFile(), "data"));

    QCOMPARE(places.isShared(), ForEveryUser);
    QCOMPARE(themes, (ForEveryUser ? home.filePath("data/") + Name : mAppDir) + "/Themes");
    const QString runs =
        ForEveryUser ? home.filePath("cache/") + Name + "/run-" : mAppDir + "/Runner";
    QVERIFY2(run.folder().startsWith(runs), qPrintable(run.folder()));
    run.clear();
    QCOMPARE(filesBelow(mAppDir), before);
}

void TestInstall::programFolderIsCopied()
{
    for (const char *file : {"tavlen", "Runner/run", "Runner/run-portable"})
        QVERIFY2(QFileInfo(mAppDir + '/' + file).isExecutable(), file);
    QCOMPARE(filesBelow(mAppDir), shippedProgramFolder());
    if (ForEveryUser)
        QCOMPARE(readBytes(mAppDir + "/installed"), QFile::encodeName(mAppDir) + '\n');

    // What an editor wrote into a folder of its user's own, and not installed.
    QVERIFY(writeBytes(mAppDir + "/Themes/mine.tvth", "theme"));
    QVERIFY(writeBytes(mAppDir + "/Runner/run.dll", "data"));
}

void TestInstall::commandLinkStartsTheCopy()
{
    const QFileInfo link(mPrefix + "/bin/tavlen");
    QVERIFY(link.isSymLink());
    QCOMPARE(link.canonicalFilePath(), QFileInfo(mAppDir + "/tavlen").canonicalFilePath());
    // Relative, so the installed tree may be moved or staged whole.
    QCOMPARE(std::filesystem::read_symlink(QFile::encodeName(link.filePath()).constData()),
             std::filesystem::path("../lib/kestrane-quorvex/tavlen"));
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
    // A space in the path needs the quotes.
    QCOMPARE(entry.value("Exec"), '"' + mAppDir + "/tavlen\" %f");
    QCOMPARE(entry.value("TryExec"), mAppDir + "/tavlen");
    QCOMPARE(entry.value("Icon"), Name);
}

void TestInstall::desktopEntryQuotesOnlyWhenNeeded_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("exec"); // @ stands for the program folder; empty: refused
    QTest::newRow("plain path") << "plain"
                                << "@/tavlen %f";
    QTest::newRow("parentheses") << "kq (test)"
                                 << "\"@/tavlen\" %f";
    QTest::newRow("a dollar sign") << "kq$HOME"
                                   << "";
}

void TestInstall::desktopEntryQuotesOnlyWhenNeeded()
{
    QFETCH(QString, prefix);
    QFETCH(QString, exec);
    QTemporaryDir dir;
    prefix = dir.filePath(prefix);
    const QString appDir = prefix + "/lib/" + Name;
    const QString entryPath = prefix + "/share/applications/" + Name + ".desktop";

    const Outcome installed = install(prefix);
    if (exec.isEmpty()) {
        QVERIFY2(installed.exitCode != 0, qPrintable(installed.output));
        QVERIFY2(installed.output.simplified().contains("cannot name"),
                 qPrintable(installed.output));
        QVERIFY(!QFile::exists(entryPath));
    } else {
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.output));
        QCOMPARE(desktopEntry(entryPath).value("Exec"), exec.replace('@', appDir));
        // Without quotes, xdg-open's own launcher finds the program.
        if (!exec.startsWith('"'))
            QCOMPARE(xdgOpenCommand(entryPath), appDir + "/tavlen");
    }
    const Outcome removed = uninstall(prefix);
    QVERIFY2(removed.exitCode == 0 || exec.isEmpty(), qPrintable(removed.output));
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

void TestInstall::manPageRenders()
{
    // The installed page is the source, compressed.
    QProcess unpack;
    unpack.start("gzip", {"-dc", mPrefix + "/share/man/man1/tavlen.1.gz"});
    QVERIFY(unpack.waitForFinished());
    QCOMPARE(unpack.readAllStandardOutput(), readBytes(KQ_SOURCE_DIR "/desktop/tavlen.1"));

    QProcess groff;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    groff.setProcessEnvironment(env);
    const QString page = KQ_SOURCE_DIR "/desktop/tavlen.1";
    groff.start("groff", {"-man", "-ww", "-Tutf8", "-z", page});
    QVERIFY2(groff.waitForFinished(), "groff is missing (Debian groff-base)");
    QCOMPARE(groff.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(groff.readAllStandardError()), QString());
}

void TestInstall::manPageNamesEveryOption()
{
    QProcess tavlen;
    tavlen.start(mPrefix + "/bin/tavlen", {"--help"});
    QVERIFY(tavlen.waitForFinished());
    const QString help = QString::fromLocal8Bit(tavlen.readAllStandardOutput());
    const QString page = QString::fromUtf8(readBytes(KQ_SOURCE_DIR "/desktop/tavlen.1"));
    static const QRegularExpression helpOption("^\\s+(?:-\\w, )?--([\\w-]+)",
                                               QRegularExpression::MultilineOption);
    static const QRegularExpression pageOption("^\\.B[IR]? .*?\\\\-\\\\-([\\w\\\\-]+)",
                                               QRegularExpression::MultilineOption);
    const auto options = [](const QRegularExpression &pattern, const QString &text) {
        QStringList names;
        for (const QRegularExpressionMatch &match : pattern.globalMatch(text))
            names << match.captured(1).remove('\\');
        names.removeDuplicates();
        names.sort();
        return names;
    };
    const QStringList fromHelp = options(helpOption, help);
    QVERIFY2(fromHelp.size() >= 10, qPrintable(help));
    const QString optionsSection = page.section(".SH OPTIONS", 1).section(".SH ", 0, 0);
    QCOMPARE(options(pageOption, optionsSection), fromHelp);
}

void TestInstall::uninstallLeavesWhatWasWrittenOrChanged()
{
    const QString language = mAppDir + "/Languages/english.lang";
    QVERIFY(writeBytes(language, readBytes(language) + "%0650, Mine\r\n"));

    const Outcome outcome = uninstall(mPrefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    // The user's theme and the test-run data were not installed, and the language file changed
    // since, so they stay with their folders; the changed file is named.
    QCOMPARE(filesBelow(mPrefix),
             QStringList({"lib", "lib/kestrane-quorvex", "lib/kestrane-quorvex/Languages",
                          "lib/kestrane-quorvex/Languages/english.lang",
                          "lib/kestrane-quorvex/Runner", "lib/kestrane-quorvex/Runner/run.dll",
                          "lib/kestrane-quorvex/Themes", "lib/kestrane-quorvex/Themes/mine.tvth"}));
    QVERIFY2(outcome.output.contains("Kept " + language + ": it changed since it was installed"),
             qPrintable(outcome.output));
    QCOMPARE(outcome.output.count("Kept "), 1);
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
    // Folders that were there before stay, empty or not.
    const QStringList earlier{prefix + "/bin", prefix + "/share/man/man1"};
    for (const QString &folder : earlier)
        QVERIFY(QDir().mkpath(folder));
    Outcome outcome = install(prefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    // Another program's command of the same name is not ours to remove.
    QVERIFY(QFile::remove(prefix + "/bin/tavlen"));
    QVERIFY(writeBytes(prefix + "/bin/tavlen", "#!/bin/sh\n"));

    outcome = uninstall(prefix);
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.output));
    const QStringList left = filesBelow(prefix);
    QVERIFY2(!left.join(' ').contains(Name), qPrintable(left.join(' ')));
    for (const QString &kept :
         QStringList{otherEntry, otherTypes, prefix + "/bin/tavlen"} + earlier)
        QVERIFY2(QFile::exists(kept), qPrintable(kept));
    QVERIFY(!QFile::exists(prefix + "/share/icons"));
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

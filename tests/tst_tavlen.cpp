#include "builtprogram.h"
#include "editorfixture.h"
#include "language.h"
#include "projectio.h"
#include "resourcefiles.h"
#include "wholefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <array>

using namespace kq;

namespace {

// No display of any kind: the modes without a window must not need one.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                                QStringLiteral("QT_QPA_PLATFORM")})
        environment.remove(name);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), kq::EditorTest::configHome().path());
    return environment;
}

QStringList lines(const QByteArray &text)
{
    return QString::fromLocal8Bit(text).split(u'\n', Qt::SkipEmptyParts);
}

// Every entry below a folder, links not followed, with what tells a file written or replaced
// from the one that was there: its place on the disk, the time its status changed, its size.
QStringList entriesBelow(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        const std::optional<FileIdentity> file = regularFileAt(entry.filePath());
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(entry.filePath())
                       .arg(file ? file->inode : 0)
                       .arg(file ? file->changedNanoseconds : 0)
                       .arg(entry.size());
    }
    entries.sort();
    return entries;
}

} // namespace

class TestTavlen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionAndHelp();
    void wrongCommandLine_data();
    void wrongCommandLine();
    void buildWithoutDisplayPlays();
    void buildFails_data();
    void buildFails();
    void everyBuildRefusesWhatItMustNotWrite_data();
    void everyBuildRefusesWhatItMustNotWrite();
    void portableBuildSaysWhatItBundled();
    void checkWithoutDisplay_data();
    void checkWithoutDisplay();
    void buildRefusesAProjectWithErrors();
    void webBuildWritesOnePage_data();
    void webBuildWritesOnePage();
    void unreadableInputsSayWhy_data();
    void unreadableInputsSayWhy();
    void editorOpensTheFileNamed_data();
    void editorOpensTheFileNamed();
    void editorWithoutDisplaySaysSo_data();
    void editorWithoutDisplaySaysSo();
    void recoveryWhereEveryStartHasOneProcessId();

private:
    // Arguments with "@name" for a file of the scratch folder, as the editor gets them.
    QStringList inScratch(const QStringList &arguments) const;
    // Runs the program folder's editor without a display.
    kq::ProgramTest::Finished tavlen(const QStringList &arguments) const;
    // Runs a shell script with its arguments under a virtual X server of its own, where xdotool
    // finds and drives the editor's windows.
    static bool canDriveWindows();
    static kq::ProgramTest::Finished underXvfb(const QString &script, const QStringList &arguments,
                                               const QProcessEnvironment &environment);
    QString scratch(const QString &name) const { return mScratch.filePath(name); }
    QString target(const QString &name) const { return mTargets.filePath(name); }
    // The editor's own settings name the language file; an empty name leaves no settings.
    void useLanguage(const QString &file) const;

    kq::EditorTest::ProgramFolder mProgramFolder;
    QTemporaryDir mScratch;
    // The folder of the project that builds are refused to write over.
    QTemporaryDir mTargets;
    QString mEditor;
    QString mRunner;
};

void TestTavlen::initTestCase()
{
    QVERIFY(mProgramFolder.ok());
    mEditor = mProgramFolder.path(QStringLiteral("tavlen"));
    mRunner = mProgramFolder.path(QStringLiteral("Runner/run"));
    QVERIFY(kq::EditorTest::copyTree(QStringLiteral(KQ_APP_DIR "/Runner"),
                                     mProgramFolder.path(QStringLiteral("Runner"))));
    QVERIFY(QFile::copy(QStringLiteral(KQ_APP_DIR "/tavlen"), mEditor));
    QVERIFY(ProjectIO::writeDataFile(kq::ProgramTest::selfEnding(),
                                     scratch(QStringLiteral("ending.dlg2"))));
    QVERIFY(kq::TestFiles::writeBytes(scratch(QStringLiteral("notes.txt")), "no project"));
    const DialogProject farTarget = kq::ProgramTest::project(
        {kq::ProgramTest::step(DialogRecord::Message, 0, ButtonScript::goTo(50))});
    QVERIFY(ProjectIO::writeDataFile(farTarget, scratch(QStringLiteral("far.dlg2"))));
    // The bar's end runs "Нет", which the runner cannot run.
    const DialogProject noAction = kq::ProgramTest::project(
        {kq::ProgramTest::step(DialogRecord::Progress, 1, ButtonScript::NoAction)});
    QVERIFY(ProjectIO::writeDataFile(noAction, scratch(QStringLiteral("broken.dlg2"))));

    // What builds must leave alone: a project with a link to it, a folder of the user's, an
    // archive of the user's and a link to the program folder.
    QVERIFY(
        QFile::copy(scratch(QStringLiteral("ending.dlg2")), target(QStringLiteral("quiz.dlg2"))));
    QVERIFY(QFile::link(target(QStringLiteral("quiz.dlg2")), target(QStringLiteral("alias.dlg2"))));
    QVERIFY(kq::TestFiles::writeBytes(target(QStringLiteral("notes.txt")), "my notes"));
    QVERIFY(kq::TestFiles::writeBytes(target(QStringLiteral("mine/letter.txt")), "mine"));
    QVERIFY(kq::TestFiles::writeBytes(target(QStringLiteral("backup.tar.gz")), "my backup"));
    QVERIFY(QFile::link(mProgramFolder.path(QStringLiteral(".")), target(QStringLiteral("app"))));
}

QStringList TestTavlen::inScratch(const QStringList &arguments) const
{
    QStringList absolute;
    for (const QString &argument : arguments)
        absolute.append(argument.startsWith(u'@') ? scratch(argument.mid(1)) : argument);
    return absolute;
}

void TestTavlen::useLanguage(const QString &file) const
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrane"),
                       QStringLiteral("tavlen"));
    settings.clear();
    if (!file.isEmpty()) {
        settings.setValue(QStringLiteral("Options/0"), file);
        settings.setValue(QStringLiteral("Options/1"),
                          mProgramFolder.path(QStringLiteral("Themes/standart.tvth")));
    }
    settings.sync();
}

kq::ProgramTest::Finished TestTavlen::tavlen(const QStringList &arguments) const
{
    return kq::ProgramTest::run(mEditor, inScratch(arguments), withoutDisplay(), 120000);
}

bool TestTavlen::canDriveWindows()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

kq::ProgramTest::Finished TestTavlen::underXvfb(const QString &script, const QStringList &arguments,
                                                const QProcessEnvironment &environment)
{
    // findWindow prints the ids of the windows whose title matches, waiting up to 30 s. It asks
    // xdotool again and again rather than once with --sync: xdotool gives up with an X error
    // when a window goes while it reads it, as windows of a starting program do.
    const QString findWindow =
        QStringLiteral("findWindow() {\n"
                       "  for i in $(seq 300); do\n"
                       "    xdotool search --name \"$1\" 2>/dev/null && return 0\n"
                       "    sleep 0.1\n"
                       "  done\n"
                       "  return 1\n"
                       "}\n");
    const QStringList run{QStringLiteral("-a"), QStringLiteral("sh"), QStringLiteral("-c"),
                          findWindow + script, QStringLiteral("sh")};
    return kq::ProgramTest::run(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
                                run + arguments, environment, 120000);
}

void TestTavlen::versionAndHelp()
{
    const kq::ProgramTest::Finished version = tavlen({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.output, QByteArray("tavlen 2.0\n"));

    const kq::ProgramTest::Finished help = tavlen({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.output.contains("--build <FILE>"));
}

void TestTavlen::wrongCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("build without output") << QStringList{"--build", "@ending.dlg2"};
    QTest::newRow("unknown option") << QStringList{"--build", "@ending.dlg2", "-o", "x", "--bogus"};
    QTest::newRow("splash in a build")
        << QStringList{"--build", "@ending.dlg2", "-o", "x", "--no-splash"};
    // Without a display, the editor's window would not even start: these are told all the same.
    QTest::newRow("misspelt option") << QStringList{"--chek", "@ending.dlg2"};
    QTest::newRow("two files") << QStringList{"@ending.dlg2", "@far.dlg2"};
    QTest::newRow("output without build") << QStringList{"-o", "x"};
}

void TestTavlen::wrongCommandLine()
{
    QFETCH(QStringList, arguments);
    const kq::ProgramTest::Finished run = tavlen(arguments);
    QCOMPARE(run.exitCode, 4);
    QCOMPARE(run.output, QByteArray());
    QCOMPARE(lines(run.errors).size(), 1);
    QVERIFY(run.errors.startsWith("tavlen: "));
}

void TestTavlen::buildWithoutDisplayPlays()
{
    const kq::ProgramTest::Finished build =
        tavlen({QStringLiteral("--build"), QStringLiteral("@ending.dlg2"), QStringLiteral("-o"),
                QStringLiteral("@ending")});
    const QString program = scratch(QStringLiteral("ending"));
    QCOMPARE(build.exitCode, 0);
    QCOMPARE(QString::fromLocal8Bit(build.output), program + u'\n');
    QCOMPARE(build.errors, QByteArray());

    QCOMPARE(kq::TestFiles::readBytes(program), kq::TestFiles::readBytes(mRunner));
    QCOMPARE(kq::TestFiles::readBytes(scratch(QStringLiteral("ending.dll"))),
             kq::ProgramTest::selfEnding().fileBytes());
    QCOMPARE(kq::ProgramTest::run(program, {}, kq::ProgramTest::offscreen()).exitCode, 0);
}

void TestTavlen::buildFails_data()
{
    QTest::addColumn<QString>("projectPath");
    QTest::addColumn<QString>("output"); // "editor" and "runner" stand for the program folder's
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");

    QTest::newRow("no such project") << "@missing.dlg2"
                                     << "@out/missing" << 3 << "no such file";
    QTest::newRow("not a project") << "@notes.txt"
                                   << "@out/notes" << 3 << "neither a project";
    QTest::newRow("over the editor") << "@ending.dlg2"
                                     << "editor" << 1 << "choose another name";
    QTest::newRow("over the runner") << "@ending.dlg2"
                                     << "runner" << 1 << "choose another name";
    QTest::newRow("into no folder") << "@ending.dlg2"
                                    << "@none/at/all/quiz" << 1 << "quiz";
    QTest::newRow("over the project itself") << "@ending.dlg2"
                                             << "@ending.dlg2" << 1 << "is the project being built";
    QTest::newRow("over a file it did not write") << "@ending.dlg2"
                                                  << "@notes.txt" << 1 << "is not a program";
}

void TestTavlen::buildFails()
{
    QFETCH(QString, projectPath);
    QFETCH(QString, output);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    if (output == u"editor")
        output = mEditor;
    else if (output == u"runner")
        output = mRunner;
    const QByteArray editor = kq::TestFiles::readBytes(mEditor);
    const QByteArray runner = kq::TestFiles::readBytes(mRunner);
    const QByteArray project = kq::TestFiles::readBytes(inScratch({projectPath}).constFirst());
    useLanguage(QStringLiteral("english.lang"));

    const kq::ProgramTest::Finished run =
        tavlen({QStringLiteral("--build"), projectPath, QStringLiteral("-o"), output});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.output, QByteArray());
    QCOMPARE(lines(run.errors).size(), 1);
    QVERIFY2(QString::fromLocal8Bit(run.errors).contains(says), run.errors.constData());
    QCOMPARE(kq::TestFiles::readBytes(mEditor), editor);
    QCOMPARE(kq::TestFiles::readBytes(mRunner), runner);
    QCOMPARE(kq::TestFiles::readBytes(inScratch({projectPath}).constFirst()), project);
}

void TestTavlen::everyBuildRefusesWhatItMustNotWrite_data()
{
    QTest::addColumn<QStringList>("kind"); // the options that choose the build
    // "@name" a file of the project's folder, "%name" one of the program folder
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("says");

    const QList<std::pair<const char *, QStringList>> kinds{
        {"program", {}}, {"web page", {"--web"}}, {"portable", {"--portable"}}};
    const QMap<QString, QString> notOurs{{"program", "is not a program"},
                                         {"web page", "is not a web page"},
                                         {"portable", "is not a portable program's folder"}};
    const QList<std::array<const char *, 3>> targets{
        {"the project", "@quiz.dlg2", "the project being built"},
        {"the project through a link", "@alias.dlg2", "the project being built"},
        {"the project, spelt roundabout", "@mine/../quiz.dlg2", "the project being built"},
        {"a file of the user's", "@notes.txt", nullptr},
        {"the editor", "%tavlen", "the editor's program folder"},
        {"the runner", "%Runner/run", "the editor's program folder"},
        {"a new file in the program folder", "%Languages/new", "the editor's program folder"},
        {"the program folder through a link", "@app/new", "the editor's program folder"},
        {"the program folder itself", "%", "the editor's program folder"}};
    for (const auto &[kind, options] : kinds) {
        for (const auto &[name, output, says] : targets)
            QTest::addRow("%s over %s", kind, name)
                << options << output << (says ? QString(says) : notOurs.value(kind));
    }
    QTest::newRow("portable over a folder of the user's") << QStringList{"--portable"} << "@mine"
                                                          << "needs a folder of its own";
    QTest::newRow("portable around the project") << QStringList{"--portable"} << "@"
                                                 << "holds the project being built";
    QTest::newRow("portable around the program folder") << QStringList{"--portable"} << "%.."
                                                        << "holds the editor's program folder";
    QTest::newRow("archive over an archive of the user's") << QStringList{"--archive"} << "@backup"
                                                           << "is not a portable program's archive";
}

// Refused with one line that says why, exit 1, and nothing written anywhere.
void TestTavlen::everyBuildRefusesWhatItMustNotWrite()
{
    QFETCH(QStringList, kind);
    QFETCH(QString, output);
    QFETCH(QString, says);
    if (output.startsWith(u'@'))
        output = target(output.mid(1));
    else if (output.startsWith(u'%'))
        output = mProgramFolder.path(output.mid(1));
    useLanguage(QStringLiteral("english.lang"));
    const QStringList before =
        entriesBelow(mTargets.path()) + entriesBelow(mProgramFolder.path(QStringLiteral(".")));
    const QByteArray project = kq::TestFiles::readBytes(target(QStringLiteral("quiz.dlg2")));

    const kq::ProgramTest::Finished run =
        tavlen(QStringList{QStringLiteral("--build"), target(QStringLiteral("quiz.dlg2")),
                           QStringLiteral("-o"), output} +
               kind);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.output, QByteArray());
    QCOMPARE(lines(run.errors).size(), 1);
    QVERIFY2(QString::fromLocal8Bit(run.errors).contains(says), run.errors.constData());
    QCOMPARE(entriesBelow(mTargets.path()) + entriesBelow(mProgramFolder.path(QStringLiteral("."))),
             before);
    QCOMPARE(kq::TestFiles::readBytes(target(QStringLiteral("quiz.dlg2"))), project);
}

void TestTavlen::portableBuildSaysWhatItBundled()
{
    useLanguage(QStringLiteral("english.lang"));
    const kq::ProgramTest::Finished build =
        tavlen({QStringLiteral("--build"), QStringLiteral("@ending.dlg2"), QStringLiteral("-o"),
                QStringLiteral("@portable/ending"), QStringLiteral("--archive")});
    QCOMPARE(build.exitCode, 0);
    const QStringList said = lines(build.output);
    QVERIFY(said.contains(QStringLiteral("bundled lib/libQt6Core.so.6")));
    QVERIFY(said.contains(QStringLiteral("bundled plugins/platforms/libqxcb.so")));
    QVERIFY(!said.filter(QStringLiteral("left to the system: "))
                 .filter(QStringLiteral("libc.so.6"))
                 .isEmpty());
    const QString folder = scratch(QStringLiteral("portable/ending"));
    QVERIFY(said.last().startsWith(folder + QStringLiteral(".tar.gz: ")));
    QVERIFY(QFileInfo(folder + QStringLiteral(".tar.gz")).isFile());
    QCOMPARE(kq::ProgramTest::run(QDir(folder).filePath(QStringLiteral("ending")), {},
                                  kq::ProgramTest::offscreen())
                 .exitCode,
             0);

    // Quiet, it says nothing and builds all the same.
    const kq::ProgramTest::Finished quiet = tavlen(
        {QStringLiteral("--build"), QStringLiteral("@ending.dlg2"), QStringLiteral("-o"),
         QStringLiteral("@portable/ending"), QStringLiteral("--portable"), QStringLiteral("-q")});
    QCOMPARE(quiet.exitCode, 0);
    QCOMPARE(quiet.output, QByteArray());
}

void TestTavlen::checkWithoutDisplay_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // the first line; "%1" stands for the project's path

    QTest::newRow("clean") << "english.lang" << QStringList{"--check", "@ending.dlg2"} << 0 << "";
    QTest::newRow("warning")
        << "english.lang" << QStringList{"--check", "@far.dlg2"} << 1
        << "%1: step 0: warning: Button 1 goes to step 50, but the last step is 0: the run ends "
           "there.";
    QTest::newRow("warning in Russian")
        << "russian.lang" << QStringList{"--check", "@far.dlg2"} << 1
        << "%1: шаг 0: предупреждение: Кнопка 1 ведёт к шагу 50, а последний шаг - 0: программа "
           "завершится здесь.";
    QTest::newRow("first run speaks Russian")
        << "" << QStringList{"--check", "@far.dlg2"} << 1
        << "%1: шаг 0: предупреждение: Кнопка 1 ведёт к шагу 50, а последний шаг - 0: программа "
           "завершится здесь.";
    QTest::newRow("quiet") << "english.lang" << QStringList{"--check", "@far.dlg2", "--quiet"} << 1
                           << "";
    QTest::newRow("error") << "english.lang" << QStringList{"--check", "@broken.dlg2", "-q"} << 2
                           << "";
    QTest::newRow("not a project")
        << "english.lang" << QStringList{"--check", "@notes.txt"} << 3 << "";
    QTest::newRow("language file gone: the shipped one speaks")
        << "gone.lang" << QStringList{"--check", "@far.dlg2"} << 1
        << "%1: шаг 0: предупреждение: Кнопка 1 ведёт к шагу 50, а последний шаг - 0: программа "
           "завершится здесь.";
}

void TestTavlen::checkWithoutDisplay()
{
    QFETCH(QString, language);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    useLanguage(language);
    const kq::ProgramTest::Finished run = tavlen(arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QStringList output = lines(run.output);
    if (said.isEmpty()) {
        QCOMPARE(output, QStringList());
    } else {
        QCOMPARE(output.value(0), said.arg(inScratch(arguments).at(1)));
        QCOMPARE(output.size(), 1);
    }
    // Only a file that cannot be read is a failure, told on standard error.
    QCOMPARE(lines(run.errors).size(), exitCode == 3 ? 1 : 0);
}

void TestTavlen::buildRefusesAProjectWithErrors()
{
    useLanguage(QStringLiteral("english.lang"));
    const kq::ProgramTest::Finished check =
        tavlen({QStringLiteral("--check"), QStringLiteral("@broken.dlg2")});
    QCOMPARE(check.exitCode, 2);
    QVERIFY(!lines(check.output).filter(QStringLiteral(": step 0: error: ")).isEmpty());

    const QStringList build{QStringLiteral("--build"), QStringLiteral("@broken.dlg2"),
                            QStringLiteral("-o"), QStringLiteral("@broken")};
    const kq::ProgramTest::Finished refused = tavlen(build);
    QCOMPARE(refused.exitCode, 2);
    QCOMPARE(lines(refused.errors).size(), 1);
    QVERIFY(refused.errors.contains("--force"));
    QVERIFY(!QFile::exists(scratch(QStringLiteral("broken"))));
    QVERIFY(!QFile::exists(scratch(QStringLiteral("broken.dll"))));

    QCOMPARE(tavlen(build + QStringList{QStringLiteral("--force")}).exitCode, 0);
    QVERIFY(QFile::exists(scratch(QStringLiteral("broken"))));
    QVERIFY(QFile::exists(scratch(QStringLiteral("broken.dll"))));
}

void TestTavlen::webBuildWritesOnePage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("word"); // a word of the page in its language; empty: no page

    QTest::newRow("English") << "english.lang"
                             << "@ending.dlg2" << QStringList() << 0 << "Play again";
    QTest::newRow("Russian") << "russian.lang"
                             << "@ending.dlg2" << QStringList() << 0 << "Начать сначала";
    QTest::newRow("quiet") << "english.lang"
                           << "@ending.dlg2" << QStringList{"-q"} << 0 << "Play again";
    QTest::newRow("errors refused") << "english.lang"
                                    << "@broken.dlg2" << QStringList() << 2 << "";
    QTest::newRow("errors by force")
        << "english.lang"
        << "@broken.dlg2" << QStringList{"--force"} << 0 << "The program stopped: %1";
}

void TestTavlen::webBuildWritesOnePage()
{
    QFETCH(QString, language);
    QFETCH(QString, project);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, word);
    useLanguage(language);
    QTemporaryDir folder;
    const QString page = folder.filePath(QStringLiteral("quiz.html"));
    const kq::ProgramTest::Finished run =
        tavlen(QStringList{QStringLiteral("--build"), project, QStringLiteral("-o"), page,
                           QStringLiteral("--web")} +
               options);
    QCOMPARE(run.exitCode, exitCode);
    if (word.isEmpty()) {
        QCOMPARE(lines(run.errors).size(), 1);
        QVERIFY(QDir(folder.path()).isEmpty());
        return;
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("quiz.html")});
    QVERIFY(QString::fromUtf8(kq::TestFiles::readBytes(page)).contains(word));
    // The line the build says in the language of the settings.
    QCOMPARE(kq::languageHeaderValue(language, QStringLiteral("GetFile")), language);
    const QString said =
        kq::filledText(kq::languageText(kq::TextId::WebPageBuilt),
                       {page, QString::number((QFileInfo(page).size() + 1023) / 1024)}) +
        u'\n';
    QCOMPARE(QString::fromLocal8Bit(run.output), options.contains("-q") ? QString() : said);
}

void TestTavlen::unreadableInputsSayWhy_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "@missing.dlg2"
                             << "no such file";
    QTest::newRow("a folder") << "@folder.dlg2"
                              << "is a folder, not a project file";
    QTest::newRow("an empty file") << "@empty.dlg2"
                                   << "the file is empty";
    QTest::newRow("a device") << "/dev/null"
                              << "is a device or another special file, not a project file";
    QTest::newRow("not a project")
        << "@notes.txt"
        << "neither a project (.dlg2, .dlg) nor a built program with its data file";
    QTest::newRow("too many dialogs") << "@big.dlg2"
                                      << "99";
}

// One line on standard error: the path once, then why it cannot be read.
void TestTavlen::unreadableInputsSayWhy()
{
    QFETCH(QString, input);
    QFETCH(QString, reason);
    useLanguage(QStringLiteral("english.lang"));
    QVERIFY(QDir(mScratch.path()).mkpath(QStringLiteral("folder.dlg2")));
    QVERIFY(kq::TestFiles::writeBytes(scratch(QStringLiteral("empty.dlg2")), QByteArray()));
    QVERIFY(kq::TestFiles::writeBytes(scratch(QStringLiteral("big.dlg2")),
                                      QByteArray(101 * DialogRecord::Size, ' ')));
    const QString path = inScratch({input}).constFirst();
    for (const QString &mode : {QStringLiteral("--check"), QStringLiteral("--build")}) {
        QStringList arguments{mode, input};
        if (mode == u"--build")
            arguments << QStringLiteral("-o") << QStringLiteral("@unreadable");
        const kq::ProgramTest::Finished run = tavlen(arguments);
        QCOMPARE(run.exitCode, 3);
        const QStringList said = lines(run.errors);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.constFirst().startsWith(path + QStringLiteral(": ")), run.errors.constData());
        QVERIFY2(said.constFirst().contains(reason), run.errors.constData());
        QCOMPARE(said.constFirst().count(path), 1);
    }
}

void TestTavlen::editorOpensTheFileNamed_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("title"); // of a window that shows when the file was handled
    QTest::newRow("a project") << QStringList{"--no-splash", "@ending.dlg2"}
                               << "Kestrane Quorvex - [ending.dlg2]";
    QTest::newRow("after the splash")
        << QStringList{"@ending.dlg2"} << "Kestrane Quorvex - [ending.dlg2]";
    QTest::newRow("a file that is no project")
        << QStringList{"--no-splash", "@notes.txt"} << "Operation failed";
}

void TestTavlen::editorOpensTheFileNamed()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, title);
    if (!canDriveWindows())
        QSKIP("needs xvfb-run and xdotool");
    // In English; the editor's data folder (recovery copies) is a scratch one.
    useLanguage(QStringLiteral("english.lang"));
    QProcessEnvironment environment = withoutDisplay();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), scratch(QStringLiteral("data")));

    const QString script = QStringLiteral("editor=$1; title=$2; shift 2\n"
                                          "\"$editor\" \"$@\" &\n"
                                          "editor=$!\n"
                                          "findWindow \"^$title\\$\" >/dev/null\n"
                                          "found=$?\n"
                                          "kill $editor\n"
                                          "exit $found\n");
    const QStringList run{mEditor, QRegularExpression::escape(title)};
    QCOMPARE(underXvfb(script, run + inScratch(arguments), environment).exitCode, 0);
}

void TestTavlen::editorWithoutDisplaySaysSo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("plain start") << QStringList();
    QTest::newRow("a file") << QStringList{"@ending.dlg2"};
    QTest::newRow("no splash") << QStringList{"--no-splash", "@ending.dlg2"};
    QTest::newRow("X11 asked for") << QStringList{"-platform", "xcb", "@ending.dlg2"};
}

void TestTavlen::editorWithoutDisplaySaysSo()
{
    QFETCH(QStringList, arguments);
    const kq::ProgramTest::Finished run = tavlen(arguments);
    QCOMPARE(run.exitCode, 4);
    QVERIFY(run.output.isEmpty());
    const QStringList said = lines(run.errors);
    QCOMPARE(said.size(), 1);
    for (const char *word : {"display", "--check", "--build"})
        QVERIFY2(said.constFirst().contains(QLatin1String(word)), run.errors.constData());
}

// In a process namespace of its own, as sandboxed and container packages run it, every editor
// gets process id 1: the copy of one that was killed is offered all the same to the next.
void TestTavlen::recoveryWhereEveryStartHasOneProcessId()
{
    if (!canDriveWindows())
        QSKIP("needs xvfb-run and xdotool");
    const QStringList unshare{QStringLiteral("--pid"), QStringLiteral("--fork"),
                              QStringLiteral("--mount-proc")};
    if (kq::ProgramTest::run(QStringLiteral("unshare"), unshare + QStringList{"true"},
                             withoutDisplay())
            .exitCode != 0)
        QSKIP("this user may not make a process namespace");
    useLanguage(QStringLiteral("english.lang"));
    QProcessEnvironment environment = withoutDisplay();
    const QString data = scratch(QStringLiteral("namespaced"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    // What an editor of the namespace left when it was killed after an autosave.
    const QString recovery = data + QStringLiteral("/tavlen/recovery");
    const DialogProject lost = kq::ProgramTest::selfEnding();
    QVERIFY(kq::TestFiles::writeBytes(recovery + QStringLiteral("/999999.dlg2"), lost.fileBytes()));
    QVERIFY(kq::TestFiles::writeBytes(recovery + QStringLiteral("/999999.path"),
                                      scratch(QStringLiteral("lost.dlg2")).toUtf8() + "\n2\n"));

    // Each start takes the copy left before it (Yes to the offer) and keeps its own copy of it
    // at once; the first is then killed, and the second must be offered that copy.
    const QString script = QStringLiteral(
        "editor=$1; recovery=$2; project=$3\n"
        // Until the project is read, the main window too is called just "Kestrane Quorvex", and
        // the offer may still be being built: Return goes to every window of that name, again
        // and again, until the restored project's title shows. The main window takes no keys
        // while the offer is up.
        "answerYes() {\n"
        "  for try in $(seq 30); do\n"
        "    windows=$(findWindow '^Kestrane Quorvex$') || return 1\n"
        "    for window in $windows; do\n"
        "      xdotool windowfocus --sync $window 2>/dev/null && xdotool key Return 2>/dev/null\n"
        "    done\n"
        "    for i in $(seq 10); do\n"
        "      xdotool search --name '^Kestrane Quorvex - \\[lost\\.dlg2\\]' >/dev/null 2>&1 &&\n"
        "        return 0\n"
        "      sleep 0.1\n"
        "    done\n"
        "  done\n"
        "  return 1\n"
        "}\n"
        "restoreThenKill() {\n"
        "  unshare --pid --fork --mount-proc \"$editor\" --no-splash \"$project\" &\n"
        "  namespace=$!\n"
        "  answerYes\n"
        "  restored=$?\n"
        "  for i in $(seq 300); do\n"
        "    ls \"$recovery\" | grep -v '^999999\\.' | grep -q '\\.dlg2$' && break; sleep 0.1\n"
        "  done\n"
        "  kill -KILL $(cat /proc/$namespace/task/$namespace/children)\n"
        "  wait $namespace\n"
        "  return $restored\n"
        "}\n"
        "restoreThenKill || exit 2\n"
        "restoreThenKill || exit 3\n");
    const kq::ProgramTest::Finished finished =
        underXvfb(script, {mEditor, recovery, scratch(QStringLiteral("ending.dlg2"))}, environment);
    // 2: the first start was not offered the copy left before it; 3: the second was not.
    QVERIFY2(finished.exitCode == 0,
             qPrintable(QString::number(finished.exitCode) + u' ' + finished.errors));
}

QTEST_GUILESS_MAIN(TestTavlen)
#include "tst_tavlen.moc"

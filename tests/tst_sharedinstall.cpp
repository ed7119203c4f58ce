#include "autosave.h"
#include "builtprogram.h"
#include "editorfixture.h"
#include "filelock.h"
#include "fileplaces.h"
#include "language.h"
#include "mainwindow.h"
#include "managementwindow.h"
#include "optionsetting.h"
#include "pluginrunwindow.h"
#include "programcommands.h"
#include "projectcommands.h"
#include "projectdocument.h"
#include "projectio.h"
#include "resourcefiles.h"
#include "scriptedui.h"
#include "theme.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>

using namespace kq;
using kq::EditorTest::child;
using kq::EditorTest::comboTexts;

namespace {

// Every entry below a folder with its size, to tell that nothing was written there.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        entries << QDir(folder).relativeFilePath(info.filePath()) + ' ' +
                       QString::number(info.size());
    }
    entries.sort();
    return entries;
}

bool setWritable(const QString &folder, bool writable)
{
    bool ok = true;
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList folders{folder};
    while (it.hasNext())
        folders << it.next();
    for (const QString &path : std::as_const(folders)) {
        QFile::Permissions mode = QFile::permissions(path);
        const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser;
        ok = QFile::setPermissions(path, writable ? mode | write : mode & ~write) && ok;
    }
    return ok;
}

// One test's installation. Read-only: the build's own program folder when this user may not
// write it (it belongs to root when CI runs the tests as an ordinary user), otherwise a copy of
// the shipped data and the runners made read-only and marked as installed for every user, which
// the superuser's editor does not write either. Writable: such a copy as it is, which the editor
// uses as it always did. Either way the user's own folders are fresh.
class Installation
{
public:
    explicit Installation(bool readOnly) : mReadOnly(readOnly)
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(mHome.filePath("data")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(mHome.filePath("cache")));
        if (readOnly && !FilePlaces::isWritableProgramFolder(KQ_APP_DIR)) {
            mFolder = KQ_APP_DIR;
        } else {
            mFolder = mCopy.path();
            mOk = kq::EditorTest::copyTree(KQ_SOURCE_DIR "/data", mFolder) &&
                  kq::EditorTest::copyTree(KQ_APP_DIR "/Runner", mFolder + "/Runner") &&
                  (!readOnly || (kq::TestFiles::writeBytes(mFolder + "/installed",
                                                           QFile::encodeName(mFolder) + '\n') &&
                                 setWritable(mFolder, false)));
        }
        setProgramFolder(mFolder);
        mOk = mOk && FilePlaces::current().isShared() == readOnly;
        optionSetting(OptionWrite, OptionLanguage, "russian.lang");
        optionSetting(OptionWrite, OptionTheme, path("Themes/standart.tvth"));
        languageHeaderValue("russian.lang", "GetFile");
    }
    ~Installation()
    {
        setProgramFolder(QString());
        if (mFolder == mCopy.path())
            setWritable(mFolder, true);
    }

    bool ok() const { return mOk; }
    // A file of the program folder.
    QString path(const QString &relative) const { return QDir(mFolder).filePath(relative); }
    // Where a file the user adds or the editor writes belongs: the user's own folder of a
    // read-only installation, the program folder of a writable one.
    QString usersFile(const QString &relative) const
    {
        return mReadOnly ? QDir(FilePlaces::userDataFolder()).filePath(relative) : path(relative);
    }
    QString folder() const { return mFolder; }

private:
    bool mReadOnly;
    bool mOk = true;
    QTemporaryDir mHome;
    QTemporaryDir mCopy;
    QString mFolder;
};

// A theme the user makes on the Themes page of window, named name, in the file "file.tvth";
// returns the page's list.
QComboBox *makeTheme(ManagementWindow &window, ScriptedUi &ui, const QString &name,
                     const QString &file)
{
    child<QTabBar>(&window, "maintab")->setCurrentIndex(1);
    ui.inputs << name << file;
    QTest::mouseClick(child<QPushButton>(&window, "th_cont0"), Qt::LeftButton);
    return child<QComboBox>(&window, "themelist");
}

} // namespace

// The editor installed for every user (a program folder the user may not write, as a package
// installs it) and in a writable copy, where everything stays as it always was.
class TestSharedInstall : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void testRunPlaysAndLeavesNothing_data() { rows(); }
    void testRunPlaysAndLeavesNothing();
    void programPortableAndWebBuilds_data() { rows(); }
    void programPortableAndWebBuilds();
    void newThemeIsSavedAndListed_data() { rows(); }
    void newThemeIsSavedAndListed();
    void usersThemeIsDeleted_data() { rows(); }
    void usersThemeIsDeleted();
    void usersLanguageIsListedAndChosen_data() { rows(); }
    void usersLanguageIsListedAndChosen();
    void shippedPluginRuns_data() { rows(); }
    void shippedPluginRuns();
    void shippedPluginIsNotDeleted_data() { rows(); }
    void shippedPluginIsNotDeleted();
    void sampleOpens_data() { rows(); }
    void sampleOpens();
    void sampleOpenedByPathIsSaved_data() { rows(); }
    void sampleOpenedByPathIsSaved();
    void recoveryCopyIsKept_data() { rows(); }
    void recoveryCopyIsKept();
    void abandonedRunFoldersGo();

private:
    static void rows();

    std::unique_ptr<Installation> mInstallation;
    QStringList mBefore;
};

void TestSharedInstall::rows()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only folder") << true;
    QTest::newRow("writable copy") << false;
}

void TestSharedInstall::init()
{
    const bool readOnly = QTest::currentDataTag() == QByteArray("read-only folder");
    // An installation that failed its check is gone before the next one sets the program folder.
    mInstallation.reset();
    mInstallation = std::make_unique<Installation>(readOnly);
    QVERIFY(mInstallation->ok());
    mBefore = snapshot(mInstallation->folder());
}

void TestSharedInstall::cleanup()
{
    // A read-only installation is never written to.
    if (mInstallation && FilePlaces::current().isShared())
        QCOMPARE(snapshot(mInstallation->folder()), mBefore);
    mInstallation.reset();
}

void TestSharedInstall::testRunPlaysAndLeavesNothing()
{
    QFETCH(bool, readOnly);
    ScriptedUi ui;
    QWidget window;
    ProjectDocument document;
    ProgramCommands commands(ui, document, &window);
    document.replaceProject(kq::ProgramTest::selfEnding());

    commands.testRun();

    QCOMPARE(ui.starts.size(), 1);
    const QString runner = ui.starts[0].program;
    const QString folder = QFileInfo(runner).absolutePath();
    QCOMPARE(folder == mInstallation->path("Runner"), !readOnly);
    QCOMPARE(kq::TestFiles::readBytes(runner),
             kq::TestFiles::readBytes(mInstallation->path("Runner/run")));
    QCOMPARE(ui.starts[0].workingFolder, folder);
    // The runner plays its data file to the end and removes it; a private folder goes with it.
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(folder + "/run.dll") && ui.messages.isEmpty(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo::exists(folder), !readOnly, 20000);
}

void TestSharedInstall::programPortableAndWebBuilds()
{
    QTemporaryDir target;
    ScriptedUi ui;
    QWidget window;
    ProjectDocument document;
    ProgramCommands commands(ui, document, &window);
    document.replaceProject(kq::ProgramTest::oneMessage());
    ui.fileNames << target.filePath("quiz") << target.filePath("portable")
                 << target.filePath("page.html");

    commands.build();
    commands.buildPortable();
    commands.buildWebPage();

    for (const ScriptedUi::Message &message : std::as_const(ui.messages))
        QVERIFY2(message.icon != UiServices::Icon::Warning, qPrintable(message.detail));
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("quiz")),
             kq::TestFiles::readBytes(mInstallation->path("Runner/run")));
    QVERIFY(QFileInfo(target.filePath("quiz.dll")).isFile());
    QCOMPARE(kq::TestFiles::readBytes(target.filePath("portable/portable")),
             kq::TestFiles::readBytes(mInstallation->path("Runner/run-portable")));
    QVERIFY(QFileInfo(target.filePath("portable/lib/libQt6Core.so.6")).isFile());
    QVERIFY(kq::TestFiles::readBytes(target.filePath("page.html")).startsWith("<!DOCTYPE html>"));
}

void TestSharedInstall::newThemeIsSavedAndListed()
{
    ScriptedUi ui;
    DialogProject project;
    ManagementWindow window(ui, project, nullptr);

    QComboBox *list = makeTheme(window, ui, "NewTheme", "mytheme");

    QVERIFY(ui.messages.isEmpty());
    const QString saved = mInstallation->usersFile("Themes/mytheme.tvth");
    QCOMPARE(themeHeaderValue(saved, "GetName"), QString("NewTheme"));
    QVERIFY(comboTexts(list).contains("NewTheme*"));
    QVERIFY(comboTexts(list).contains("Standard"));

    // Chosen, changed and saved again in the same place; the setting names it.
    kq::EditorTest::choose(list, comboTexts(list).indexOf("NewTheme*"));
    QCOMPARE(optionSetting(OptionRead, OptionTheme), saved);
    ui.colors << QColor(1, 2, 3);
    QTest::mouseClick(child<QWidget>(&window, "lbl_color"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&window, "th_cont2"), Qt::LeftButton);
    QVERIFY(ui.messages.isEmpty());
    themeHeaderValue(saved, "GetFile");
    QCOMPARE(activeThemeColor(ThemeColorSet.at(0)), 0x030201);
}

void TestSharedInstall::usersThemeIsDeleted()
{
    ScriptedUi ui;
    DialogProject project;
    ManagementWindow window(ui, project, nullptr);
    QComboBox *list = makeTheme(window, ui, "Gone", "gone");
    const QString saved = mInstallation->usersFile("Themes/gone.tvth");
    QVERIFY(QFileInfo(saved).isFile());
    kq::EditorTest::choose(list, comboTexts(list).indexOf("Gone*"));
    ui.answers << UiServices::Answer::Yes;

    QTest::mouseClick(child<QPushButton>(&window, "th_cont1"), Qt::LeftButton);

    // Asked as always, and gone; the shipped themes stay listed.
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].buttons, UiServices::Buttons::YesNo);
    QVERIFY(!QFile::exists(saved));
    QVERIFY(!comboTexts(list).contains("Gone*"));
    QVERIFY(comboTexts(list).contains("Standard"));
}

void TestSharedInstall::usersLanguageIsListedAndChosen()
{
    const QString added = mInstallation->usersFile("Languages/mine.lang");
    QVERIFY(kq::TestFiles::writeLines(
        added, {"!KestraneDevelopment10", "!RescourceFile", "[Language]", "Name=Mine", "ResId=1",
                "Author=Me", "Version=2.0", "Status=User", "[Rescource]", "%0001, Make"}));
    ScriptedUi ui;
    DialogProject project;
    ManagementWindow window(ui, project, nullptr);
    auto *list = child<QComboBox>(&window, "langlist");
    QVERIFY2(comboTexts(list).contains("Mine*"), qPrintable(comboTexts(list).join(',')));

    kq::EditorTest::choose(list, comboTexts(list).indexOf("Mine*"));
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString("mine.lang"));
    QCOMPARE(languagePath("mine.lang"), added);
    QCOMPARE(languageHeaderValue("mine.lang", "GetFile"), QString("mine.lang"));
    QCOMPARE(languageText(TextId::ToolNew), QString("Make"));
    kq::EditorTest::choose(list, comboTexts(list).indexOf("English"));
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString("english.lang"));
}

void TestSharedInstall::shippedPluginRuns()
{
    ScriptedUi ui;
    const DialogProject project = kq::ProgramTest::oneMessage();
    PluginRunWindow run(ui, project, nullptr);
    QList<DialogProject> results;
    connect(&run, &PluginRunWindow::resultLoaded, this,
            [&results](const DialogProject &result) { results << result; });
    run.setFile(mInstallation->path("Plugins/Ending.plug"));
    run.waitTick();
    QCOMPARE(ui.starts.size(), 1);
    const QFileInfo exchange(ui.starts[0].workingFolder);
    QCOMPARE(exchange.dir(), QDir(mInstallation->usersFile("Plugins")));
    QCOMPARE(ui.starts[0].program, exchange.filePath() + "/plugin.exe");

    // The program the window started, run as the desktop would.
    QProcess plugin;
    plugin.setWorkingDirectory(ui.starts[0].workingFolder);
    plugin.start(ui.starts[0].program, ui.starts[0].arguments);
    QVERIFY(plugin.waitForFinished(10000));
    QCOMPARE(plugin.exitCode(), 0);
    run.waitTick();

    QCOMPARE(results.size(), 1);
    QCOMPARE(results[0].dialogCount(), qint16(2));
    QVERIFY(!QFileInfo::exists(exchange.filePath()));
}

void TestSharedInstall::shippedPluginIsNotDeleted()
{
    QFETCH(bool, readOnly);
    ScriptedUi ui;
    DialogProject project;
    ManagementWindow window(ui, project, nullptr);
    child<QTabBar>(&window, "maintab")->setCurrentIndex(2);
    ui.answers << UiServices::Answer::No;

    QTest::mouseClick(child<QPushButton>(&window, "pl_cont1"), Qt::LeftButton);

    // Refused with its reason, or asked as always.
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text,
             readOnly ? languageText(TextId::ShippedFileKept)
                      : languageText(TextId::DeleteSelectedQuestion) + "\n" +
                            child<QListWidget>(&window, "pluglist")->item(0)->text());
    QVERIFY(QFile::exists(mInstallation->path("Plugins/Ending.tvpl")));
}

void TestSharedInstall::sampleOpens()
{
    QFETCH(bool, readOnly);
    ScriptedUi ui;
    QWidget window;
    ProjectDocument document;
    ProjectCommands commands(ui, document, &window);

    commands.openSample("FormatC.dlg2");

    QVERIFY(ui.messages.isEmpty());
    QVERIFY(document.project().dialogCount() > 1);
    // Save asks where to keep a sample the user may not write.
    QCOMPARE(document.path(), readOnly ? QString() : mInstallation->path("Samples/FormatC.dlg2"));
}

// A shipped sample opened by its path (Open, Recent, the file manager) and changed: Ctrl+S writes
// the sample of a writable copy; in a read-only installation it asks where to keep the project,
// as Save As does, and the sample stays as shipped.
void TestSharedInstall::sampleOpenedByPathIsSaved()
{
    QFETCH(bool, readOnly);
    const QString sample = mInstallation->path("Samples/FormatC.dlg2");
    const QByteArray shipped = kq::TestFiles::readBytes(sample);
    QTemporaryDir elsewhere;
    ScriptedUi ui;
    ui.fileNames << sample << elsewhere.filePath("mine");
    MainWindow window(ui);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *caption = child<QLineEdit>(&window, "msg_caption");
    caption->setFocus();

    QTest::keyClick(caption, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClicks(caption, "!");
    QTest::keyClick(caption, Qt::Key_S, Qt::ControlModifier);

    QVERIFY2(ui.messages.isEmpty(), qPrintable(ui.messages.value(0).detail));
    QCOMPARE(ui.fileDialogs.size(), readOnly ? 2 : 1);
    const QString saved = readOnly ? elsewhere.filePath("mine.dlg2") : sample;
    if (readOnly) {
        QCOMPARE(ui.fileDialogs[1].title, languageText(TextId::SaveProjectAsTitle));
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(ui.fileDialogs[1].suggestedPath, QDir(documents).filePath("FormatC.dlg2"));
        QCOMPARE(kq::TestFiles::readBytes(sample), shipped);
    }
    DialogProject written;
    QVERIFY(ProjectIO::loadProjectFile(written, saved));
    QCOMPARE(written.record(1).caption.trimmed(), caption->text());
    QVERIFY(caption->text().endsWith('!'));
    QCOMPARE(window.findChild<ProjectDocument *>()->path(), saved);
    QVERIFY(!window.findChild<ProjectDocument *>()->isModified());
}

void TestSharedInstall::recoveryCopyIsKept()
{
    ProjectDocument document;
    Autosave autosave(document);
    document.setStyle(1);

    autosave.saveNow();

    QVERIFY(QFileInfo(autosave.projectFile()).isFile());
    QVERIFY(autosave.projectFile().startsWith(qEnvironmentVariable("XDG_DATA_HOME") + '/'));
}

// A test run whose editor was killed leaves its private folder. The next start removes such a
// folder once no runner plays from it, and leaves one whose runner still plays, and the one a
// running editor is using.
void TestSharedInstall::abandonedRunFoldersGo()
{
    const QString runs = QDir(qEnvironmentVariable("XDG_CACHE_HOME")).filePath("kestrane-quorvex");
    const auto leftBehind = [&](const QString &name) {
        const QString folder = QDir(runs).filePath(name);
        return QDir().mkpath(folder) &&
               QFile::copy(mInstallation->path("Runner/run"), folder + "/run") &&
               ProjectIO::writeDataFile(kq::ProgramTest::oneMessage(), folder + "/run.dll");
    };
    QVERIFY(leftBehind("run-ended0"));
    QVERIFY(leftBehind("run-plays0"));
    QProcess playing;
    playing.setWorkingDirectory(runs + "/run-plays0");
    playing.start(runs + "/run-plays0/run", {"/editor"});
    QVERIFY(playing.waitForStarted());
    // The runner holds its program file from its start on.
    QTRY_VERIFY(FileLock::isHeld(runs + "/run-plays0/run"));
    TestRunPlace inUse;
    QVERIFY(inUse.prepare(FilePlaces(mInstallation->folder(), FilePlaces::userDataFolder(), true),
                          mInstallation->path("Runner/run")));

    ScriptedUi ui;
    MainWindow window(ui);

    QVERIFY(!QFileInfo::exists(runs + "/run-ended0"));
    QVERIFY(QFileInfo::exists(runs + "/run-plays0/run.dll"));
    QVERIFY(QFileInfo::exists(inUse.runner()));
    playing.kill();
    playing.waitForFinished();
}

QTEST_MAIN(TestSharedInstall)
#include "tst_sharedinstall.moc"

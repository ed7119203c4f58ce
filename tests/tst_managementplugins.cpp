#include "tst_managementfixture.h"

#include "pluginrunwindow.h"
#include "projectio.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

using namespace kq;
using namespace kq::ManagementTest;

namespace {

// A project of count dialogs whose texts are prefix and their number.
DialogProject projectOfTexts(const QString &prefix, int count)
{
    DialogProject project;
    project.record(0).text = "0";
    project.setDialogCount(qint16(count));
    for (int i = 1; i <= count; ++i)
        project.newDialog(i, prefix + ' ' + QString::number(i));
    return project;
}

} // namespace

class TestManagementPlugins : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void informationBox_data();
    void informationBox();
    void missingProgramIsReported();
    void runHidesTheWindowUntilTheResultIsLoaded();
    void escapeShowsTheWindowAgain();
    void abandonedRunNeverReplacesTheProject_data();
    void abandonedRunNeverReplacesTheProject();
    void deletePlugin_data();
    void deletePlugin();
    void versionQuestion_data();
    void versionQuestion();

private:
    std::unique_ptr<ManagementWindow> openPlugins();
    // The plug-in run window while it is shown modally.
    static PluginRunWindow *runWindow();

    std::unique_ptr<Fixture> mFixture;
    QListWidget *mList = nullptr;
};

void TestManagementPlugins::init()
{
    mFixture = std::make_unique<Fixture>();
    QVERIFY(mFixture->ready());
    emptyFolder(mFixture->path("Plugins"));
    QVERIFY(mFixture->write("Plugins/a.tvpl",
                            pluginLines("Первый", "2.0", "Анна", "Строка один.#Строка два.")));
    QVERIFY(mFixture->write("Plugins/a.plug", {"#!/bin/sh"}));
    QVERIFY(mFixture->write("Plugins/b.tvpl", pluginLines("Second", "2.0", "Bob")));
}

void TestManagementPlugins::cleanup()
{
    mFixture.reset();
}

std::unique_ptr<ManagementWindow> TestManagementPlugins::openPlugins()
{
    auto window = mFixture->open();
    child<QTabBar>(window.get(), "maintab")->setCurrentIndex(2);
    mList = child<QListWidget>(window.get(), "pluglist");
    return window;
}

PluginRunWindow *TestManagementPlugins::runWindow()
{
    return qobject_cast<PluginRunWindow *>(QApplication::activeModalWidget());
}

void TestManagementPlugins::informationBox_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("description");
    QTest::newRow("description of two lines") << 0 << "Анна"
                                              << "Строка один.\nСтрока два.";
    QTest::newRow("second plug-in") << 1 << "Bob"
                                    << "Does nothing.";
}

void TestManagementPlugins::informationBox()
{
    QFETCH(int, row);
    QFETCH(QString, author);
    QFETCH(QString, description);
    auto window = openPlugins();
    QCOMPARE(listTexts(mList), (QStringList{"Первый", "Second"}));
    mList->setCurrentRow(row);
    QCOMPARE(child<QPlainTextEdit>(window.get(), "pl_info")->toPlainText(),
             languageText(TextId::PluginAuthorLabel) + "\n" + author + "\n" +
                 languageText(TextId::PluginDescriptionLabel) + "\n" + description);
}

void TestManagementPlugins::missingProgramIsReported()
{
    auto window = openPlugins();
    window->show();
    mList->setCurrentRow(1);
    QTest::mouseClick(child<QPushButton>(window.get(), "pl_cont0"), Qt::LeftButton);

    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text, languageText(TextId::PluginProgramMissing));
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::TabPlugins));
    QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Error);
    QVERIFY(window->isVisible());
    QVERIFY(mFixture->ui.starts.isEmpty());
    QVERIFY(!QFile::exists(mFixture->path("Plugins/Input.tmp")));
}

void TestManagementPlugins::runHidesTheWindowUntilTheResultIsLoaded()
{
    auto window = openPlugins();
    mFixture->project.setDialogCount(3);
    for (int i = 1; i <= 3; ++i)
        mFixture->project.newDialog(i, "Окно " + QString::number(i));

    DialogProject result;
    result.setDialogCount(5);
    for (int i = 1; i <= 5; ++i)
        result.newDialog(i, "Результат " + QString::number(i));

    bool hiddenDuringRun = false;
    bool shownWhileOpen = false;
    QString pluginName;
    // The main window runs this window with exec(); hiding it for the run must not end that.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            PluginRunWindow *run = runWindow();
            QVERIFY(run);
            hiddenDuringRun = !window->isVisible();
            pluginName = child<QLabel>(run, "pl_name")->text();
            run->waitTick();
            QVERIFY(run->isLoaded());
            QVERIFY(ProjectIO::writeDataFile(
                result, QDir(mFixture->ui.starts.first().workingFolder).filePath("Output.tmp")));
            run->waitTick();
        });
        mList->setCurrentRow(0);
        QTest::mouseClick(child<QPushButton>(window.get(), "pl_cont0"), Qt::LeftButton);
        QTimer::singleShot(0, [&] {
            shownWhileOpen = window->isVisible();
            window->done(42);
        });
    });
    QCOMPARE(window->exec(), 42);

    QVERIFY(hiddenDuringRun);
    QVERIFY(shownWhileOpen);
    QCOMPARE(pluginName, QString("Первый"));
    QCOMPARE(mFixture->ui.starts.size(), 1);
    QCOMPARE(mFixture->project.dialogCount(), qint16(5));
    QCOMPARE(trimmedRight(mFixture->project.record(5).text), QString("Результат 5"));
    QCOMPARE(mFixture->reloads, 1);
    QVERIFY(mFixture->ui.messages.isEmpty());
}

void TestManagementPlugins::escapeShowsTheWindowAgain()
{
    auto window = openPlugins();
    window->show();
    QTimer::singleShot(0, [&] {
        PluginRunWindow *run = runWindow();
        QVERIFY(run);
        run->waitTick();
        QTest::keyClick(run, Qt::Key_Escape);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "pl_cont0"), Qt::LeftButton);
    QVERIFY(window->isVisible());
    QCOMPARE(mFixture->reloads, 0);
    QCOMPARE(mFixture->ui.starts.size(), 1);
    QVERIFY(!QFileInfo::exists(mFixture->ui.starts.first().workingFolder));
    QVERIFY(!QFile::exists(mFixture->path("Plugins/Input.tmp")));
    QVERIFY(!QFile::exists(mFixture->path("Plugins/plugin.exe")));
}

void TestManagementPlugins::abandonedRunNeverReplacesTheProject_data()
{
    // How the first plug-in leaves its late result behind: the script it runs is late.sh.
    QTest::addColumn<QString>("handOver");
    QTest::addColumn<bool>("makesFolderAgain");
    QTest::newRow("the plug-in itself") << "sh \"$LATE\"" << false;
    QTest::newRow("a child in its process group") << "sh \"$LATE\" &" << false;
    QTest::newRow("a child that calls setsid") << "setsid sh \"$LATE\" &" << false;
    QTest::newRow("a child that forks twice") << "( ( sh \"$LATE\" & ) & ) &" << false;
    QTest::newRow("a child that makes its folder again") << "setsid sh \"$LATE\" &" << true;
}

void TestManagementPlugins::abandonedRunNeverReplacesTheProject()
{
    // The user gives up on a plug-in, which goes on running and writes its result once the
    // next plug-in runs: that run must neither take it nor leave it behind.
    QFETCH(QString, handOver);
    QFETCH(bool, makesFolderAgain);
    const QString started = mFixture->path("started");
    const QString go = mFixture->path("go");
    const QString done = mFixture->path("done");
    const QString late = mFixture->path("late.dlg2");
    const QString lateScript = mFixture->path("late.sh");
    QVERIFY(ProjectIO::writeDataFile(projectOfTexts("Поздно", 5), late));
    QVERIFY(kq::TestFiles::writeBytes(
        lateScript, QStringLiteral("i=0\n"
                                   "until [ -e '%1' ] || [ $i -ge 400 ]; do sleep 0.05; "
                                   "i=$((i+1)); done\n"
                                   "%2cp '%3' \"$HERE/Output.tmp\"\n"
                                   "touch '%4'\n")
                        .arg(go, makesFolderAgain ? "mkdir -p \"$HERE\"; " : "", late, done)
                        .toUtf8()));
    QVERIFY(kq::TestFiles::writeBytes(
        mFixture->path("Plugins/a.plug"),
        QStringLiteral("#!/bin/sh\nHERE=$(pwd) LATE='%1'\nexport HERE LATE\ntouch '%2'\n%3\n")
            .arg(lateScript, started, handOver)
            .toUtf8()));
    QVERIFY(kq::TestFiles::writeBytes(mFixture->path("Plugins/b.plug"), "#!/bin/sh\nexit 0\n"));
    mFixture->project = projectOfTexts("Окно", 2);
    const DialogProject before = mFixture->project;
    mFixture->ui.detachedStartsRun = true;
    auto window = openPlugins();
    window->show();

    QTimer::singleShot(0, [&] {
        PluginRunWindow *run = runWindow();
        QVERIFY(run);
        run->waitTick();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 20000);
        QTest::keyClick(run, Qt::Key_Escape);
    });
    mList->setCurrentRow(0);
    QTest::mouseClick(child<QPushButton>(window.get(), "pl_cont0"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.starts.size(), 1);

    const DialogProject own = projectOfTexts("Свой", 3);
    QTimer::singleShot(0, [&] {
        PluginRunWindow *run = runWindow();
        QVERIFY(run);
        run->waitTick();
        QVERIFY(run->isLoaded());
        QVERIFY(kq::TestFiles::writeBytes(go, {}));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(done), 20000);
        run->waitTick();
        run->waitTick();
        QCOMPARE(mFixture->reloads, 0);
        QVERIFY(run->isVisible());
        // The run waited for still takes its own result.
        QCOMPARE(mFixture->ui.starts.size(), 2);
        QVERIFY(ProjectIO::writeDataFile(
            own, QDir(mFixture->ui.starts.at(1).workingFolder).filePath("Output.tmp")));
        run->waitTick();
    });
    mList->setCurrentRow(1);
    QTest::mouseClick(child<QPushButton>(window.get(), "pl_cont0"), Qt::LeftButton);

    QVERIFY(mFixture->ui.messages.isEmpty());
    QCOMPARE(mFixture->reloads, 1);
    QCOMPARE(mFixture->project.fileBytes(), own.fileBytes());
    QVERIFY(mFixture->project.fileBytes() != before.fileBytes());
    // Nothing of either run is left in the Plugins folder.
    QCOMPARE(QDir(mFixture->path("Plugins"))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"a.plug", "a.tvpl", "b.plug", "b.tvpl"}));
}

void TestManagementPlugins::deletePlugin_data()
{
    QTest::addColumn<UiServices::Answer>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("yes") << UiServices::Answer::Yes << true;
    QTest::newRow("no") << UiServices::Answer::No << false;
}

void TestManagementPlugins::deletePlugin()
{
    QFETCH(UiServices::Answer, answer);
    QFETCH(bool, deleted);
    auto window = openPlugins();
    window->show();
    mList->setCurrentRow(0);
    mFixture->ui.answers << answer;
    QTest::mouseClick(child<QPushButton>(window.get(), "pl_cont1"), Qt::LeftButton);

    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text,
             languageText(TextId::DeleteSelectedQuestion) + "\nПервый");
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::TabPlugins));
    QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Question);
    QCOMPARE(QFile::exists(mFixture->path("Plugins/a.tvpl")), !deleted);
    QCOMPARE(QFile::exists(mFixture->path("Plugins/a.plug")), !deleted);
    QVERIFY(QFile::exists(mFixture->path("Plugins/b.tvpl")));
    QCOMPARE(listTexts(mList), deleted ? QStringList{"Second"} : (QStringList{"Первый", "Second"}));
    QCOMPARE(mList->currentRow(), 0);
}

void TestManagementPlugins::versionQuestion_data()
{
    QTest::addColumn<QList<UiServices::Answer>>("answers");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("no shows the plug-in")
        << QList<UiServices::Answer>{UiServices::Answer::No} << false;
    QTest::newRow("yes, then yes deletes")
        << QList<UiServices::Answer>{UiServices::Answer::Yes, UiServices::Answer::Yes} << true;
}

void TestManagementPlugins::versionQuestion()
{
    QFETCH(QList<UiServices::Answer>, answers);
    QFETCH(bool, deleted);
    auto window = openPlugins();
    // The file changes after it was listed.
    QVERIFY(mFixture->write("Plugins/b.tvpl", pluginLines("Second", "0.9", "Bob")));
    for (UiServices::Answer answer : answers)
        mFixture->ui.answers << answer;
    mList->setCurrentRow(1);

    QCOMPARE(mFixture->ui.messages.size(), answers.size());
    const ScriptedUi::Message question = mFixture->ui.messages.first();
    QCOMPARE(question.text, languageText(TextId::PluginVersionBefore) + "0.9" +
                                languageText(TextId::PluginVersionAfter));
    QCOMPARE(question.title, languageText(TextId::TabPlugins));
    QCOMPARE(question.icon, UiServices::Icon::Warning);
    QCOMPARE(QFile::exists(mFixture->path("Plugins/b.tvpl")), !deleted);
    const QString info = child<QPlainTextEdit>(window.get(), "pl_info")->toPlainText();
    QCOMPARE(info.section('\n', 1, 1), deleted ? QString("Анна") : QString("Bob"));
}

QTEST_MAIN(TestManagementPlugins)
#include "tst_managementplugins.moc"

#include "plainlabel.h"
#include "tst_managementfixture.h"

#include "plugininfo.h"
#include "pluginrunwindow.h"
#include "projectio.h"

#include <QLabel>
#include <QProcess>
#include <QTimer>

using namespace kq;
using namespace kq::ManagementTest;

namespace {

DialogProject projectOf(int dialogs, const QString &prefix)
{
    DialogProject project;
    project.record(0).text = "1";
    project.setDialogCount(qint16(dialogs));
    for (int i = 1; i <= dialogs; ++i)
        project.newDialog(i, prefix + QString::number(i));
    return project;
}

// A result file of any number of dialogs, more than a project can hold included.
QByteArray resultBytes(int dialogs)
{
    QByteArray bytes = DialogRecord::cleared().toBytes();
    for (int i = 1; i <= dialogs; ++i) {
        DialogRecord record = DialogRecord::cleared();
        record.caption = "Итог " + QString::number(i);
        bytes += record.toBytes();
    }
    return bytes;
}

} // namespace

class TestPluginRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void creationRemovesTheExchangeFiles();
    void firstTickStartsThePlugin_data();
    void firstTickStartsThePlugin();
    void leftOverResultIsNotLoaded();
    void resultOfAnotherRunIsNotTaken();
    void resultReplacesTheProject_data();
    void resultReplacesTheProject();
    void waitsUntilTheResultExists();
    void escapeGivesUp_data();
    void escapeGivesUp();
    void failedStartEndsTheRun_data();
    void failedStartEndsTheRun();
    void exchangeFilesAreNeverWrittenThrough_data();
    void exchangeFilesAreNeverWrittenThrough();
    void downloadedTextsArePlain_data();
    void downloadedTextsArePlain();

    void shippedPluginIsListedAndExecutable();
    void shippedPluginAppendsAClosingMessage_data();
    void shippedPluginAppendsAClosingMessage();

private:
    QString plugins(const QString &name) const { return mFixture->path("Plugins/" + name); }
    // A file in the folder of the run started last, where the plug-in finds its input.
    QString exchange(const QString &name) const
    {
        return QDir(mFixture->ui.starts.last().workingFolder).filePath(name);
    }
    // Folders in the Plugins folder: those of runs that are going on.
    QStringList runFolders() const
    {
        return QDir(plugins({})).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    std::unique_ptr<PluginRunWindow> createRun(const QString &program = "Ending.plug");

    std::unique_ptr<Fixture> mFixture;
};

void TestPluginRun::init()
{
    mFixture = std::make_unique<Fixture>();
    QVERIFY(mFixture->ready());
    mFixture->project = projectOf(3, "Окно ");
}

void TestPluginRun::cleanup()
{
    mFixture.reset();
}

std::unique_ptr<PluginRunWindow> TestPluginRun::createRun(const QString &program)
{
    auto run = std::make_unique<PluginRunWindow>(mFixture->ui, mFixture->project, nullptr);
    connect(run.get(), &PluginRunWindow::resultLoaded, this, [this](const DialogProject &result) {
        mFixture->project = result;
        ++mFixture->reloads;
    });
    run->setPluginName("Завершающее сообщение");
    run->setFile(plugins(program));
    return run;
}

void TestPluginRun::creationRemovesTheExchangeFiles()
{
    for (const char *name : {"Output.tmp", "Input.tmp", "plugin.exe"})
        QVERIFY(kq::TestFiles::writeBytes(plugins(name), "left over"));
    auto run = createRun();
    for (const char *name : {"Output.tmp", "Input.tmp", "plugin.exe"})
        QVERIFY2(!QFile::exists(plugins(name)), name);
    QVERIFY(QFile::exists(plugins("Ending.plug")));

    QCOMPARE(run->objectName(), QString("plug"));
    QCOMPARE(child<QLabel>(run.get(), "lbl0")->text(), languageText(TextId::PluginRunning));
    QCOMPARE(child<QLabel>(run.get(), "lbl1")->text(), languageText(TextId::PluginRunWait));
    QCOMPARE(child<QLabel>(run.get(), "pl_name")->text(), QString("Завершающее сообщение"));
    auto *wait = run->findChild<QTimer *>("wait");
    QVERIFY(wait && wait->isActive());
    QCOMPARE(wait->interval(), 1000);
    QVERIFY(!run->isLoaded());
    QVERIFY(mFixture->ui.starts.isEmpty());
}

void TestPluginRun::firstTickStartsThePlugin_data()
{
    QTest::addColumn<int>("dialogs");
    QTest::newRow("one dialog") << 1;
    QTest::newRow("three dialogs") << 3;
    QTest::newRow("full project") << 99;
}

void TestPluginRun::firstTickStartsThePlugin()
{
    QFETCH(int, dialogs);
    mFixture->project = projectOf(dialogs, "Окно ");
    auto run = createRun();
    run->waitTick();

    QVERIFY(run->isVisible());
    QVERIFY(run->isLoaded());
    QCOMPARE(mFixture->ui.starts.size(), 1);
    // The run's own folder in the Plugins folder, which only its owner may enter.
    const QFileInfo folder(mFixture->ui.starts.first().workingFolder);
    QCOMPARE(runFolders(), QStringList{folder.fileName()});
    QCOMPARE(folder.dir(), QDir(plugins({})));
    QCOMPARE(folder.permissions() & 0x0077, QFileDevice::Permissions());
    const QByteArray input = kq::TestFiles::readBytes(exchange("Input.tmp"));
    QCOMPARE(input.size(), (dialogs + 1) * DialogRecord::Size);
    QCOMPARE(input, mFixture->project.fileBytes());
    QCOMPARE(kq::TestFiles::readBytes(exchange("plugin.exe")),
             kq::TestFiles::readBytes(plugins("Ending.plug")));
    QVERIFY(QFileInfo(exchange("plugin.exe")).isExecutable());
    QCOMPARE(mFixture->ui.starts.first().program, exchange("plugin.exe"));
    QVERIFY(mFixture->ui.starts.first().arguments.isEmpty());
    QCOMPARE(mFixture->reloads, 0);
}

void TestPluginRun::leftOverResultIsNotLoaded()
{
    QVERIFY(kq::TestFiles::writeBytes(plugins("Output.tmp"), resultBytes(5)));
    auto run = createRun();
    QVERIFY(!QFile::exists(plugins("Output.tmp")));
    run->waitTick();
    QVERIFY(QFile::exists(exchange("Input.tmp")));
    // Nor is a result where plug-ins once wrote it.
    QVERIFY(kq::TestFiles::writeBytes(plugins("Output.tmp"), resultBytes(5)));
    run->waitTick();
    QCOMPARE(mFixture->project.dialogCount(), qint16(3));
    QCOMPARE(mFixture->reloads, 0);
    QVERIFY(run->isVisible());
}

void TestPluginRun::resultOfAnotherRunIsNotTaken()
{
    // Two runs at once, as two editors on one program folder make them: each takes its own.
    auto first = createRun();
    first->waitTick();
    auto second = createRun();
    second->waitTick();
    QCOMPARE(runFolders().size(), 2);
    QVERIFY(kq::TestFiles::writeBytes(exchange("Output.tmp"), resultBytes(5)));
    first->waitTick();
    QCOMPARE(mFixture->reloads, 0);
    QVERIFY(first->isVisible());
    second->waitTick();
    QCOMPARE(mFixture->reloads, 1);
    QCOMPARE(mFixture->project.dialogCount(), qint16(5));
    QCOMPARE(runFolders().size(), 1);
}

void TestPluginRun::resultReplacesTheProject_data()
{
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("five dialogs") << 5 << true;
    QTest::newRow("one dialog") << 1 << true;
    QTest::newRow("full project") << 99 << true;
    QTest::newRow("more than a project holds") << 100 << false;
}

void TestPluginRun::resultReplacesTheProject()
{
    QFETCH(int, dialogs);
    QFETCH(bool, loaded);
    mFixture->project.setPath("/projects/current.dlg2");
    const DialogProject before = mFixture->project;
    auto run = createRun();
    run->waitTick();
    QVERIFY(kq::TestFiles::writeBytes(exchange("Output.tmp"), resultBytes(dialogs)));
    run->waitTick();

    QCOMPARE(mFixture->reloads, loaded ? 1 : 0);
    QCOMPARE(mFixture->project.dialogCount(), loaded ? qint16(dialogs) : qint16(3));
    if (loaded) {
        QCOMPARE(trimmedRight(mFixture->project.record(dialogs).caption),
                 "Итог " + QString::number(dialogs));
        QVERIFY(mFixture->ui.messages.isEmpty());
    } else {
        for (int i = 0; i <= 3; ++i)
            QCOMPARE(mFixture->project.record(i), before.record(i));
        QCOMPARE(mFixture->ui.messages.size(), 1);
        QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::OperationFailed));
        QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Warning);
    }
    QCOMPARE(mFixture->project.path(), QString("/projects/current.dlg2"));
    QCOMPARE(runFolders(), QStringList());
    QVERIFY(!run->isVisible());
    QVERIFY(!run->findChild<QTimer *>("wait")->isActive());
}

void TestPluginRun::waitsUntilTheResultExists()
{
    auto run = createRun();
    run->waitTick();
    for (int i = 0; i < 3; ++i)
        run->waitTick();
    QVERIFY(run->isVisible());
    QCOMPARE(mFixture->ui.starts.size(), 1);
    QVERIFY(QFile::exists(exchange("Input.tmp")));
    QCOMPARE(mFixture->reloads, 0);
}

void TestPluginRun::escapeGivesUp_data()
{
    QTest::addColumn<bool>("started");
    QTest::newRow("before the first tick") << false;
    QTest::newRow("while waiting") << true;
}

void TestPluginRun::escapeGivesUp()
{
    QFETCH(bool, started);
    auto run = createRun();
    run->show();
    if (started)
        run->waitTick();
    QTest::keyClick(run.get(), Qt::Key_Escape);

    QVERIFY(!run->isVisible());
    QCOMPARE(run->result(), int(QDialog::Rejected));
    QVERIFY(!run->findChild<QTimer *>("wait")->isActive());
    QCOMPARE(runFolders(), QStringList());
    QCOMPARE(mFixture->ui.starts.size(), started ? 1 : 0);
    if (!started)
        return;
    // A plug-in left running makes its folder again and writes its result there late: neither
    // the next run nor its end takes it, and the next run removes it.
    QVERIFY(QDir().mkpath(mFixture->ui.starts.first().workingFolder));
    QVERIFY(kq::TestFiles::writeBytes(exchange("Output.tmp"), resultBytes(5)));
    auto next = createRun();
    next->waitTick();
    QCOMPARE(runFolders().size(), 1);
    next->waitTick();
    QCOMPARE(mFixture->project.dialogCount(), qint16(3));
    QCOMPARE(mFixture->reloads, 0);
}

void TestPluginRun::failedStartEndsTheRun_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("startSucceeds");
    QTest::newRow("program cannot be started") << "Ending.plug" << false;
    QTest::newRow("program file gone") << "Gone.plug" << true;
}

void TestPluginRun::failedStartEndsTheRun()
{
    QFETCH(QString, program);
    QFETCH(bool, startSucceeds);
    mFixture->ui.startSucceeds = startSucceeds;
    auto run = createRun(program);
    run->show();
    run->waitTick();

    QVERIFY(!run->isLoaded());
    QVERIFY(!run->isVisible());
    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::OperationFailed));
    QCOMPARE(runFolders(), QStringList());
    QCOMPARE(mFixture->project.dialogCount(), qint16(3));
}

void TestPluginRun::exchangeFilesAreNeverWrittenThrough_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("there"); // what someone put there after the window was made
    for (const char *name : {"Input.tmp", "plugin.exe", "Output.tmp"}) {
        QTest::addRow("%s: link to another file", name) << name << "link";
        QTest::addRow("%s: link to nothing yet", name) << name << "dangling";
        QTest::addRow("%s: folder", name) << name << "folder";
    }
}

void TestPluginRun::exchangeFilesAreNeverWrittenThrough()
{
    QFETCH(QString, name);
    QFETCH(QString, there);
    auto run = createRun();
    const QString target = plugins(name);
    const QString victim = mFixture->path("victim.txt");
    const QString madeByLink = mFixture->path("made-by-link.txt");
    QVERIFY(kq::TestFiles::writeBytes(victim, "keep"));
    if (there == "link")
        QVERIFY(QFile::link(victim, target));
    else if (there == "dangling")
        QVERIFY(QFile::link(madeByLink, target));
    else
        QVERIFY(QDir().mkpath(target + "/inside"));

    run->waitTick();
    run->waitTick();

    // The run neither writes nor reads there: its files are in a folder of its own.
    QCOMPARE(kq::TestFiles::readBytes(victim), QByteArray("keep"));
    QVERIFY(!QFile::exists(madeByLink));
    QVERIFY(run->isLoaded());
    QCOMPARE(mFixture->reloads, 0);
    QVERIFY(mFixture->ui.messages.isEmpty());
    QCOMPARE(kq::TestFiles::readBytes(exchange("Input.tmp")), mFixture->project.fileBytes());
    QCOMPARE(kq::TestFiles::readBytes(exchange("plugin.exe")),
             kq::TestFiles::readBytes(plugins("Ending.plug")));
    QVERIFY(QFileInfo(exchange("plugin.exe")).isExecutable());
}

void TestPluginRun::downloadedTextsArePlain_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("plug-in name") << "pl_name";
    QTest::newRow("running line of the language file") << "lbl0";
    QTest::newRow("waiting line of the language file") << "lbl1";
}

void TestPluginRun::downloadedTextsArePlain()
{
    QFETCH(QString, label);
    // Plug-in descriptions and language files come from anywhere; tags in them are text.
    const QString html = "<b>Завершение</b> &amp; <i>конец</i>";
    QVERIFY(mFixture->write(
        "Languages/tags.lang",
        languageLines("Теги", "2.0", "User", "0", "Tester", {"%0040, " + html, "%0041, " + html})));
    QCOMPARE(languageHeaderValue("tags.lang", "GetFile"), QString("tags.lang"));
    auto run = createRun();
    run->setPluginName(html);
    auto *shown = child<QLabel>(run.get(), label);
    QCOMPARE(shown->text(), html);
    // Shown as rich text, the tags would vanish and the label be narrower.
    QCOMPARE(shown->sizeHint(), kq::TestLabels::plainTextSize(shown));
    QCOMPARE(run->windowTitle(), html);
}

void TestPluginRun::shippedPluginIsListedAndExecutable()
{
    const QString source = QStringLiteral(KQ_SOURCE_DIR "/data/Plugins/");
    QCOMPARE(pluginHeaderValue(source + "Ending.tvpl", "GetVersion"), QString("2.0"));
    QCOMPARE(pluginHeaderValue(source + "Ending.tvpl", "GetName"),
             QString("Завершающее сообщение"));
    QVERIFY(pluginDescriptionText(source + "Ending.tvpl").contains("\r\n"));
    const QByteArray bytes = kq::TestFiles::readBytes(source + "Ending.tvpl");
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QVERIFY(QFileInfo(source + "Ending.plug").isExecutable());
    QVERIFY(kq::TestFiles::readBytes(source + "Ending.plug").startsWith("#!/bin/sh\n"));
}

void TestPluginRun::shippedPluginAppendsAClosingMessage_data()
{
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<int>("expected");
    QTest::newRow("three dialogs get a fourth") << 3 << 4;
    QTest::newRow("98 dialogs get the 99th") << 98 << 99;
    QTest::newRow("a full project stays as it is") << 99 << 99;
}

void TestPluginRun::shippedPluginAppendsAClosingMessage()
{
    QFETCH(int, dialogs);
    QFETCH(int, expected);
    mFixture->project = projectOf(dialogs, "Окно ");
    const DialogProject before = mFixture->project;
    auto run = createRun();
    run->waitTick();
    QCOMPARE(mFixture->ui.starts.size(), 1);

    // Run the program the window started, as the desktop would have.
    QProcess plugin;
    plugin.setWorkingDirectory(mFixture->ui.starts.first().workingFolder);
    plugin.start(mFixture->ui.starts.first().program, mFixture->ui.starts.first().arguments);
    QVERIFY(plugin.waitForFinished(10000));
    QCOMPARE(plugin.exitCode(), 0);
    QVERIFY(QDir(exchange({})).entryList({"Output.tmp.*"}).isEmpty());
    run->waitTick();

    QCOMPARE(mFixture->reloads, 1);
    QCOMPARE(mFixture->project.dialogCount(), qint16(expected));
    // Loaded records hold their fields at full width; the bytes tell what the plug-in kept.
    for (int i = 0; i <= dialogs; ++i)
        QCOMPARE(mFixture->project.record(i).toBytes(), before.record(i).toBytes());
    if (expected == dialogs)
        return;
    const DialogRecord &closing = mFixture->project.record(expected);
    QCOMPARE(trimmedRight(closing.caption), QString("Конец"));
    QCOMPARE(trimmedRight(closing.text), QString("Работа программы завершена."));
    QCOMPARE(trimmedRight(closing.btn1), QString("OK"));
    QCOMPARE(trimmedRight(closing.btn2), QString());
    QCOMPARE(trimmedRight(closing.btnscr1), QString("Выход"));
    QCOMPARE(closing.type, qint16(DialogRecord::Message));
    QCOMPARE(closing.ico, qint16(3));
    QCOMPARE(closing.time, qint16(0));
}

QTEST_MAIN(TestPluginRun)
#include "tst_pluginrun.moc"

#include "buttonscript.h"
#include "dialogproject.h"
#include "findbar.h"
#include "kxbutton.h"
#include "kxtoolbar.h"
#include "language.h"
#include "mainwindow.h"
#include "optionsetting.h"
#include "programfolder.h"
#include "projectdocument.h"
#include "projectfile.h"
#include "startupcompare.h"
#include "steploop.h"
#include "uiservices.h"
#include "webpagebuilder.h"
#include "windowsprogrambuilder.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

using namespace kq;

namespace {

// Runs the work `rounds` times and prints the mean time per round against the goal.
void measure(const char *what, int rounds, double goalMicroseconds,
             const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i)
        work();
    const double perRound = double(clock.nsecsElapsed()) / rounds / 1000.0;
    std::printf("%-44s %10.2f us  (goal %8.0f us)  %s\n", what, perRound, goalMicroseconds,
                perRound <= goalMicroseconds ? "ok" : "SLOW");
}

class AlwaysNext : public StepKind
{
public:
    std::optional<qint16> play(const DialogRecord &, qint16, qint16) override { return 0; }
};

// Every id of a language file, in file order.
QStringList idsOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QStringList ids;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith('%') || line.startsWith('.'))
            ids << QString::fromLatin1(line.left(5));
    }
    return ids;
}

// Lookups of every id of the file, round and round; prints the rate against the goal.
void measureRate(const char *what, const QStringList &ids, int lookups, double goalPerSecond)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < lookups; ++i)
        languageText(ids.at(i % ids.size()));
    const double perSecond = lookups / (double(clock.nsecsElapsed()) / 1e9);
    std::printf("%-44s %10.0f /s  (goal %8.0f /s)  %s\n", what, perSecond, goalPerSecond,
                perSecond >= goalPerSecond ? "ok" : "SLOW");
}

// Gives a file another modification time, as a file written an hour ago (or, with a clock that
// is wrong, in the future) has.
void dated(const QString &path, int seconds)
{
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTime().addSecs(seconds),
                     QFileDevice::FileModificationTime);
}

// The start-up of a window in a large language file: the file is made active and a hundred of
// its texts looked up. A language file is read once per change, whatever its date says.
void measureLargeFile(const char *what, const QString &file, const QStringList &ids)
{
    QElapsedTimer clock;
    clock.start();
    languageHeaderValue(file, QStringLiteral("GetFile"));
    for (int i = 0; i < 100; ++i)
        languageText(ids.at(i % ids.size()));
    const double startUp = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%-44s %10.1f ms  (goal %8.0f ms)  %s\n", what, startUp, 1000.0,
                startUp <= 1000 ? "ok" : "SLOW");
}

// The editor looks up each caption of a window one by one, about a hundred at start-up. A
// language file is read once per change, so even a 20 MB one may only cost its first reading.
void measureLookups()
{
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    QDir().mkpath(folder.filePath(QStringLiteral("Languages")));
    const QString shipped = QStringLiteral(KQ_SOURCE_DIR "/data/Languages/russian.lang");
    QFile::copy(shipped, folder.filePath(QStringLiteral("Languages/russian.lang")));
    dated(folder.filePath(QStringLiteral("Languages/russian.lang")), -3600);
    const QStringList ids = idsOf(shipped);
    languageHeaderValue(QStringLiteral("russian.lang"), QStringLiteral("GetFile"));
    measureRate("languageText, shipped russian.lang", ids, 200000, 10000);

    // The shipped file with 20 MB of entries of other ids between its header and its own.
    QFile source(shipped);
    source.open(QIODevice::ReadOnly);
    const QByteArray text = source.readAll();
    const qsizetype section = text.indexOf("[Rescource]");
    QByteArray filler;
    for (int i = 0; filler.size() < 20 * 1024 * 1024; ++i)
        filler += "%9" + QByteArray::number(i % 1000).rightJustified(3, '0') +
                  ", a text of another program that this one never asks for, number " +
                  QByteArray::number(i) + "\r\n";
    const QByteArray large =
        text.left(section) + "[Rescource]\r\n" + filler + text.mid(section + 13);
    // Written an hour ago, just now, and dated a day ahead by a clock that is wrong.
    for (const auto &[name, seconds] : {std::pair{"large.lang", -3600}, std::pair{"fresh.lang", 0},
                                        std::pair{"future.lang", 24 * 3600}}) {
        const QString path = folder.filePath(QStringLiteral("Languages/") + QLatin1String(name));
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(large);
        out.close();
        if (seconds != 0)
            dated(path, seconds);
    }
    measureLargeFile("20 MB language file read, 100 lookups", QStringLiteral("large.lang"), ids);
    measureLargeFile("20 MB, just written, 100 lookups", QStringLiteral("fresh.lang"), ids);
    measureLargeFile("20 MB, dated in the future, 100 lookups", QStringLiteral("future.lang"), ids);
    languageHeaderValue(QStringLiteral("large.lang"), QStringLiteral("GetFile"));
    measureRate("languageText, 20 MB language file", ids, 200000, 10000);
    setProgramFolder(QString());
}

// The 90th percentile of the times one edit takes until every view has handled and painted it.
// `restore`, when given, undoes the edit after it was timed, so that every round starts alike.
void measureEdits(const char *what, int rounds, const std::function<void(int)> &edit,
                  const std::function<void()> &restore = {})
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        edit(i);
        // The views repaint what the edit changed when the event loop gets to it.
        QCoreApplication::processEvents();
        times << double(clock.nsecsElapsed()) / 1e6;
        if (restore) {
            restore();
            QCoreApplication::processEvents();
        }
    }
    std::sort(times.begin(), times.end());
    const double percentile = times.at(times.size() * 9 / 10);
    std::printf("%-44s %10.2f ms  (goal %8.0f ms)  %s\n", what, percentile, 16.0,
                percentile <= 16 ? "ok" : "SLOW");
}

void measureEditingAtSpeed(MainWindow &window, ProjectDocument &document,
                           const DialogProject &project);

// The main window with a project of 99 steps and its flow view shown: a keystroke in a box, a
// move and a delete (with the rewriting of go-to scripts), each until the views are painted.
void measureEditor()
{
    setProgramFolder(QStringLiteral(KQ_SOURCE_DIR "/data"));
    languageHeaderValue(QStringLiteral("english.lang"), QStringLiteral("GetFile"));
    QtUiServices ui;
    MainWindow window(ui);
    // The window's document, as its views reach it.
    ProjectDocument &document = *window.findChild<ProjectDocument *>();
    DialogProject project;
    project.record(0).text = QStringLiteral("0");
    for (int i = 1; i <= DialogProject::MaxDialogs; ++i) {
        project.newDialog(i, QStringLiteral("Шаг %1").arg(i - 1));
        project.record(i).caption = QStringLiteral("Окно %1").arg(i - 1);
        project.record(i).btnscr2 = ButtonScript::goTo((i * 7) % DialogProject::MaxDialogs);
    }
    project.setDialogCount(DialogProject::MaxDialogs);
    document.replaceProject(project);
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();

    document.setCurrentDialog(51);
    auto *caption = window.findChild<QLineEdit *>(QStringLiteral("msg_caption"));
    caption->setFocus();
    QCoreApplication::processEvents();
    measureEdits("editor, 99 steps: keystroke in a box (p90)", 200, [&](int i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(QChar(u'a' + i % 26)));
        QCoreApplication::sendEvent(caption, &press);
    });
    measureEdits("editor, 99 steps: move a step (p90)", 100,
                 [&](int i) { document.moveDialog(50, i % 2 == 0 ? 1 : -1); });
    measureEdits("editor, 99 steps: delete a step (p90)", 40,
                 [&](int) { document.deleteDialog(30); });
    measureEditingAtSpeed(window, document, project);
    setProgramFolder(QString());
}

// The commands on many steps at once, from a project of 99 steps with the flow map shown: each
// is undone after it is timed.
void measureEditingAtSpeed(MainWindow &window, ProjectDocument &document,
                           const DialogProject &project)
{
    document.replaceProject(project);
    QCoreApplication::processEvents();
    // A command that did nothing would be measured as fast: each must leave one to undo.
    int before = 0;
    const auto undo = [&document, &before] {
        if (document.undoStack()->index() != before + 1)
            std::printf("  a round made no command of its own: the figure below is void\n");
        document.undo();
    };

    QList<int> fifty(50);
    std::iota(fifty.begin(), fifty.end(), 1);
    const CopiedSteps copied = document.copySteps(fifty);
    document.deleteDialogs(fifty);
    QCoreApplication::processEvents();
    before = document.undoStack()->index();
    measureEdits(
        "editor, 49 steps: paste 50 steps (p90)", 40, [&](int) { document.pasteSteps(copied, 20); },
        undo);
    // The fifty steps back, as the project was.
    document.undo();

    // What a drop in the list runs once it has read the dragged steps.
    const QList<int> ten{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    before = document.undoStack()->index();
    measureEdits(
        "editor, 99 steps: drag 10 steps (p90)", 60, [&](int) { document.moveDialogsTo(ten, 80); },
        undo);

    // Through the find bar itself: "Шаг" is in every text and "Окно" in every caption.
    auto *bar = window.findChild<FindBar *>();
    bar->openReplace();
    auto *find = window.findChild<QLineEdit *>(QStringLiteral("find_text"));
    window.findChild<QLineEdit *>(QStringLiteral("replace_text"))->setText(QStringLiteral("Ш"));
    find->setText(QStringLiteral("Ша"));
    auto *replaceAll = window.findChild<QPushButton *>(QStringLiteral("replace_all"));
    before = document.undoStack()->index();
    measureEdits(
        "editor, 99 steps: Replace all, 99 matches (p90)", 40, [&](int) { replaceAll->click(); },
        undo);
    find->setText(QStringLiteral("о"));
    before = document.undoStack()->index();
    measureEdits(
        "editor, 99 steps: Replace all, 198 matches (p90)", 40, [&](int) { replaceAll->click(); },
        undo);

    // Each letter typed finds again, lists the matches and marks the map: "о" is twice in every
    // caption, 198 matches; erasing it clears them all.
    find->clear();
    find->setFocus();
    QCoreApplication::processEvents();
    measureEdits("editor, 99 steps: find as you type (p90)", 200, [&](int i) {
        const bool erase = i % 2 == 1;
        QKeyEvent press(QEvent::KeyPress, erase ? Qt::Key_Backspace : Qt::Key_unknown,
                        Qt::NoModifier, erase ? QString() : QStringLiteral("о"));
        QCoreApplication::sendEvent(find, &press);
    });
}

// The runner as a built program of one message, against a bare Qt dialog. KQ_BENCH_RUNNER
// names another runner to measure, such as the build of an earlier version.
void compareRunnerStartUp()
{
    QTemporaryDir folder;
    const QString runner = folder.filePath(QStringLiteral("run"));
    const QString built =
        qEnvironmentVariable("KQ_BENCH_RUNNER", QStringLiteral(KQ_APP_DIR "/Runner/run"));
    QFile::copy(built, runner);
    DialogProject project;
    project.record(0).text = QStringLiteral("0");
    project.newDialog(1, QStringLiteral("Форматирование диска C:"));
    project.record(1).caption = QStringLiteral("Форматирование");
    project.record(1).btn1 = QStringLiteral("OK");
    project.record(1).ico = 3;
    project.setDialogCount(1);
    ProjectFile file;
    file.open(folder.filePath(QStringLiteral("run.dll")));
    project.store(file);
    file.close();

    Bench::compareStartUp(
        {QStringLiteral("runner"), runner, {}, folder.path()},
        {QStringLiteral("bare dialog"), QStringLiteral(KQ_BARE_DIALOG), {}, folder.path()}, 24, 3,
        1.05);
}

// The editor's main window, without the start-up picture, against the same bare Qt dialog.
// KQ_BENCH_EDITOR names another editor to measure, such as the build of an earlier version placed
// in the program folder.
void compareEditorStartUp()
{
    const QString editor =
        qEnvironmentVariable("KQ_BENCH_EDITOR", QStringLiteral(KQ_APP_DIR "/tavlen"));
    const QString folder = QFileInfo(editor).absolutePath();
    Bench::compareStartUp(
        {QStringLiteral("editor"), editor, {QStringLiteral("--no-splash")}, folder},
        {QStringLiteral("bare dialog"), QStringLiteral(KQ_BARE_DIALOG), {}, folder}, 24, 3, 1.5);
}

// Ten steps of full texts, in the skinned style, which carries the most pictures.
DialogProject tenFullSteps()
{
    DialogProject project;
    project.record(0).text = QStringLiteral("1");
    for (int i = 1; i <= 10; ++i) {
        project.newDialog(i, QString(DialogRecord::TextWidth, u'ж'));
        DialogRecord &record = project.record(i);
        record.caption = QString(DialogRecord::CaptionWidth, u'З');
        record.btn1 = QStringLiteral("&Далее");
        record.btn2 = QStringLiteral("&Назад");
        record.btnscr2 = ButtonScript::GoBack;
        record.ico = qint16(i % 6);
        record.type = i % 3 == 2 ? DialogRecord::Progress : DialogRecord::Message;
        record.time = 3;
    }
    project.setDialogCount(10);
    return project;
}

// A web page of ten full steps: its size, and how soon headless Chromium shows its first step
// (needs chromium, chromium-driver and python3-selenium).
void measureWebPage()
{
    const DialogProject project = tenFullSteps();
    QTemporaryDir folder;
    const QString page = folder.filePath(QStringLiteral("quiz.html"));
    WebPageBuilder(project).write(page);
    const double kilobytes = QFileInfo(page).size() / 1024.0;
    std::printf("%-44s %10.1f KB  (goal %8d KB)  %s\n", "web page of 10 steps", kilobytes, 150,
                kilobytes < 150 ? "ok" : "TOO BIG");

    QProcess browser;
    browser.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(KQ_SOURCE_DIR "/benchmarks/webready.py"), page});
    if (!browser.waitForFinished(120000) || browser.exitCode() != 0) {
        std::printf("%-44s skipped: %s\n", "web page ready in headless Chromium",
                    browser.readAllStandardError().trimmed().split('\n').constLast().constData());
        return;
    }
    const QList<QByteArray> times = browser.readAllStandardOutput().trimmed().split(' ');
    const double median = times.value(0).toDouble();
    std::printf("%-44s %10.1f ms  (goal %8d ms)  %s  (slowest %s ms)\n",
                "web page ready in headless Chromium", median, 200, median < 200 ? "ok" : "SLOW",
                times.value(1).constData());
}

// A Windows program of ten full steps: its size, and under Wine (with the prefix that the test
// tst_windowsprogram makes) how soon its first window shows against a bare message box.
void measureWindowsProgram()
{
    const DialogProject project = tenFullSteps();
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("quiz.exe"));
    QString error;
    if (!WindowsProgramBuilder(project).write(
            program, QStringLiteral(KQ_APP_DIR "/Runner/windows-player.exe"), &error)) {
        std::printf("%-44s skipped: %s\n", "Windows program of 10 steps", qPrintable(error));
        return;
    }
    const double kilobytes = QFileInfo(program).size() / 1024.0;
    std::printf("%-44s %10.1f KB  (goal %8d KB)  %s\n", "Windows program of 10 steps", kilobytes,
                200, kilobytes < 200 ? "ok" : "TOO BIG");
    const QString prefix = QStringLiteral(KQ_BINARY_DIR "/tests/wine-prefix");
    if (!QFile::exists(QStringLiteral("/usr/bin/wine")) ||
        !QFile::exists(prefix + QStringLiteral("/kq-ready"))) {
        std::printf("%-44s skipped: needs wine and the prefix tst_windowsprogram makes\n",
                    "Windows program start-up under Wine");
        return;
    }
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    qputenv("WINEDEBUG", "-all");
    const QString wine = QStringLiteral("/usr/bin/wine");
    Bench::compareStartUp({QStringLiteral("Windows program"), wine, {program}, folder.path()},
                          {QStringLiteral("bare message box"),
                           wine,
                           {QStringLiteral(KQ_BARE_MESSAGE_BOX)},
                           folder.path()},
                          12, 2, 1.5);
}

} // namespace

int main(int argc, char *argv[])
{
    // The editor keeps its settings and recovery copies apart from the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QApplication app(argc, argv);
    // `kq_bench editor` measures only the edits in the main window, the slowest part to rerun.
    if (app.arguments().value(1) == QStringLiteral("editor")) {
        measureEditor();
        return 0;
    }
    // `kq_bench windows` measures only the Windows program.
    if (app.arguments().value(1) == QLatin1String("windows")) {
        measureWindowsProgram();
        return 0;
    }
    // `kq_bench startup` compares only the two programs' start-ups with the bare dialog.
    if (app.arguments().value(1) == QStringLiteral("startup")) {
        compareRunnerStartUp();
        compareEditorStartUp();
        return 0;
    }

    // The bar repaints itself every 15 ms; one tick and repaint must stay far below that.
    KXToolBar bar;
    bar.resize(257, 16);
    bar.setValue(60);
    QImage canvas(257, 16, QImage::Format_ARGB32_Premultiplied);
    measure("KXToolBar tick + full repaint", 20000, 1500, [&] {
        bar.tick();
        bar.render(&canvas);
    });

    KXButton button;
    button.setCaption(QStringLiteral("Сохранить"));
    button.resize(97, 25);
    QImage face(97, 25, QImage::Format_ARGB32_Premultiplied);
    measure("KXButton repaint", 20000, 1000, [&] { button.render(&face); });
    measure("KXButton leave-timer tick", 20000, 100, [&] { button.leaveTick(); });

    DialogRecord record = DialogRecord::cleared();
    record.text = QString(300, u'ж');
    measure("DialogRecord to and from 628 bytes", 20000, 200,
            [&] { record = DialogRecord::fromBytes(record.toBytes()); });

    measureLookups();

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("run.dll"));
    DialogProject project;
    for (int i = 1; i <= DialogProject::MaxDialogs; ++i)
        project.newDialog(i, QStringLiteral("Шаг %1").arg(i));
    project.setDialogCount(DialogProject::MaxDialogs);
    AlwaysNext step;
    StepLoop loop;
    loop.setStepKind(0, &step);
    measure("runner loop over 99 dialogs (file I/O included)", 200, 20000, [&] {
        ProjectFile file;
        file.open(data);
        project.store(file);
        file.close();
        loop.run(data, true);
    });

    measureWebPage();
    measureWindowsProgram();
    measureEditor();
    compareRunnerStartUp();
    compareEditorStartUp();
    return 0;
}

#include "dialogproject.h"
#include "kxbutton.h"
#include "kxtoolbar.h"
#include "language.h"
#include "optionsetting.h"
#include "programfolder.h"
#include "projectfile.h"
#include "startupcompare.h"
#include "steploop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

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

// The runner as a built program of one message, against a bare Qt dialog. KQ_BENCH_RUNNER
// names another runner to measure, such as the build of an earlier version.
void compareRunnerStartUp()
{
    QTemporaryDir folder;
    const QString runner = folder.filePath(QStringLiteral("run"));
    const QString built = qEnvironmentVariable("KQ_BENCH_RUNNER", QStringLiteral(KQ_APP_DIR "/Runner/run"));
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

    bench::compareStartUp({QStringLiteral("runner"), runner, {}, folder.path()},
                          {QStringLiteral("bare dialog"), QStringLiteral(KQ_BARE_DIALOG), {},
                           folder.path()},
                          24, 3, 1.05);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

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

    // Every caption is looked up by scanning the language file anew; a window asks for dozens.
    setProgramFolder(QStringLiteral(KQ_SOURCE_DIR "/data"));
    LanguageInfo(QStringLiteral("russian.lang"), QStringLiteral("GetFile"));
    measure("ResString of the last id in russian.lang", 2000, 2000,
            [] { ResString(QStringLiteral(".Help")); });

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

    compareRunnerStartUp();
    return 0;
}

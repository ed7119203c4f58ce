#include "filelock.h"
#include "messagewindow.h"
#include "pausewindow.h"
#include "progresswindow.h"
#include "raiserequests.h"
#include "steploop.h"
#include "testrun.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

// The editor tells its runner, and every program built from it, from other files by this
// section, and replaces only such programs when it builds.
[[gnu::used, gnu::section("kq_runner")]] static const char RunnerMark[] = "Kestrane Quorvex runner";

namespace {

// The program file as the system started it, known before any QCoreApplication exists: the
// kernel's link to the running program where there is one, as Qt itself finds it.
QString programPath(const char *argv0)
{
    const QFileInfo running(QStringLiteral("/proc/self/exe"));
    if (running.isSymLink())
        return running.canonicalFilePath();
    return QFileInfo(QString::fromLocal8Bit(argv0)).absoluteFilePath();
}

// The arguments exactly as given: QApplication takes away the options it knows ("-reverse",
// "-style x"), which must not decide test mode.
QStringList givenArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Texts of the data file reach the fault line; its control characters are written as \xNN, so
// that a hostile file cannot drive the terminal.
QString escapedControls(const QString &text)
{
    QString escaped;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x20 || (unit >= 0x7f && unit < 0xa0))
            escaped += QStringLiteral("\\x%1").arg(unsigned(unit), 2, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString program = programPath(argv[0]);
    const QString dataPath = kq::StepLoop::dataFilePath(program);
    const bool testMode = kq::StepLoop::isTestMode(givenArguments(argc, argv));
    // Without its data file the runner ends before it connects to the display.
    if (!kq::StepLoop::hasDataFile(dataPath))
        return 0;
    // A test run holds its program file while it runs, so that an editor started after the one
    // that started it was killed leaves its folder alone until it ends.
    kq::FileLock running;
    if (testMode)
        running.tryLock(program, kq::FileLock::Mode::Shared);

    QApplication app(argc, argv);
    // The step windows come and go one after another; closing one must not end the program.
    app.setQuitOnLastWindowClosed(false);

    kq::MessageStep message;
    kq::ProgressStep progress;
    kq::PauseStep pause;
    kq::StepLoop loop;
    loop.setStepKind(kq::DialogRecord::Message, &message);
    loop.setStepKind(kq::DialogRecord::Progress, &progress);
    loop.setStepKind(kq::DialogRecord::Pause, &pause);

    // A test run listens to the editor, which asks for the window when the user starts another.
    std::optional<kq::RaiseRequests> editor;
    if (testMode && ::fcntl(STDIN_FILENO, F_GETFD) != -1) {
        editor.emplace(STDIN_FILENO);
        QObject::connect(&*editor, &kq::RaiseRequests::raiseRequested, &kq::raiseVisibleWindows);
    }

    const kq::StepLoop::Outcome outcome = loop.run(dataPath, testMode);
    if (outcome.status == kq::StepLoop::Status::Fault) {
        std::fprintf(stderr, "%s%s\n", kq::FaultPrefix, qPrintable(escapedControls(outcome.fault)));
        return 1;
    }
    return 0;
}

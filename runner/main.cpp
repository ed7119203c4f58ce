#include "messagewindow.h"
#include "pausewindow.h"
#include "progresswindow.h"
#include "steploop.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
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

    const QString dataPath = kq::StepLoop::dataFilePath(QCoreApplication::applicationFilePath());
    const bool testMode = kq::StepLoop::isTestMode(app.arguments().mid(1));
    const kq::StepLoop::Outcome outcome = loop.run(dataPath, testMode);
    if (outcome.status == kq::StepLoop::Status::Fault) {
        std::fprintf(stderr, "run: %s\n", qPrintable(outcome.fault));
        return 1;
    }
    return 0;
}

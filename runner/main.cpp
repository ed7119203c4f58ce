#include "steploop.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kq::StepLoop loop;

    const QString dataPath = kq::StepLoop::dataFilePath(QCoreApplication::applicationFilePath());
    const bool testMode = kq::StepLoop::isTestMode(app.arguments().mid(1));
    const kq::StepLoop::Outcome outcome = loop.run(dataPath, testMode);
    if (outcome.status == kq::StepLoop::Status::Fault) {
        std::fprintf(stderr, "run: %s\n", qPrintable(outcome.fault));
        return 1;
    }
    return 0;
}

#pragma once

#include <QString>
#include <QStringList>

namespace kq::Bench {

// One program whose start-up is measured: what is started, with which arguments and where.
struct StartedProgram
{
    QString name;
    QString program;
    QStringList arguments;
    QString workingFolder;
};

// Starts the two programs alternately under the X display named by DISPLAY, `rounds` times
// each, and prints the median time until each one's first window was mapped, the median peak
// resident memory at that moment, and the ratios of the first program to the second against
// the goal. The first `warmUp` rounds are discarded. Without a display it says so and skips.
void compareStartUp(const StartedProgram &measured, const StartedProgram &yardstick, int rounds,
                    int warmUp, double goalRatio);

} // namespace kq::Bench

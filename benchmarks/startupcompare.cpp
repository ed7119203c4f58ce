#include "startupcompare.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#ifdef KQ_BENCH_XCB
#include <poll.h>
#include <xcb/xcb.h>
#endif

namespace kq::Bench {

namespace {

struct Sample
{
    double milliseconds = 0;
    double cpuMilliseconds = 0;
    double peakKilobytes = 0;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The peak resident set of a running process (VmHWM), in kilobytes.
double peakResidentKilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return 0;
}

// The processor time all threads of a running process have had so far, in milliseconds: on a
// machine busy with other work it tells the start-up's own cost better than the clock does.
double processorMilliseconds(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    double nanoseconds = 0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            nanoseconds += schedstat.readAll().split(' ').value(0).toDouble();
    }
    return nanoseconds / 1e6;
}

#ifdef KQ_BENCH_XCB

// Watches the root window of the display for top-level windows being mapped.
class MapWatch
{
public:
    MapWatch()
    {
        mConnection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(mConnection))
            return;
        xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_void_cookie_t cookie = xcb_change_window_attributes_checked(mConnection, screen->root,
                                                                        XCB_CW_EVENT_MASK, &mask);
        if (xcb_generic_error_t *error = xcb_request_check(mConnection, cookie)) {
            free(error);
            return;
        }
        mReady = true;
    }
    ~MapWatch() { xcb_disconnect(mConnection); }

    bool isReady() const { return mReady; }

    // Forgets events of earlier programs.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(mConnection))
            free(event);
    }

    // Waits until some window is mapped; false when none is within the time limit.
    bool waitForMap(int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(mConnection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                free(event);
                if (mapped)
                    return true;
            }
            pollfd descriptor{xcb_get_file_descriptor(mConnection), POLLIN, 0};
            poll(&descriptor, 1, int(timeoutMs - clock.elapsed()));
        }
        return false;
    }

private:
    xcb_connection_t *mConnection = nullptr;
    bool mReady = false;
};

std::optional<Sample> startOnce(MapWatch &watch, const StartedProgram &program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(program.workingFolder);
    process.setProgram(program.program);
    process.setArguments(program.arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());

    watch.drain();
    QElapsedTimer clock;
    clock.start();
    process.start();
    const bool mapped = watch.waitForMap(10000);
    Sample sample;
    sample.milliseconds = double(clock.nsecsElapsed()) / 1e6;
    sample.cpuMilliseconds = processorMilliseconds(process.processId());
    // The first paint follows the map; the peak is taken once the window has settled.
    QThread::msleep(300);
    sample.peakKilobytes = peakResidentKilobytes(process.processId());
    process.kill();
    process.waitForFinished(5000);
    if (!mapped)
        return std::nullopt;
    return sample;
}

#endif

// Both medians, and the median of the ratios of the rounds: each round starts the two programs
// right after one another, so a machine busy with other work weighs on both alike.
void printRow(const char *what, const std::vector<double> &measured,
              const std::vector<double> &yardstick, const char *unit, double goalRatio)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < measured.size() && i < yardstick.size(); ++i)
        ratios.push_back(yardstick[i] > 0 ? measured[i] / yardstick[i] : 0);
    const double ratio = median(ratios);
    std::printf("%-36s %7.1f %s vs %7.1f %s  ratio %5.3f (goal %.2f)  %s\n", what, median(measured),
                unit, median(yardstick), unit, ratio, goalRatio,
                ratio <= goalRatio ? "ok" : "SLOW");
}

} // namespace

void compareStartUp(const StartedProgram &measured, const StartedProgram &yardstick, int rounds,
                    int warmUp, double goalRatio)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("start-up comparison: no X display (DISPLAY is not set), skipped\n");
        return;
    }
#ifndef KQ_BENCH_XCB
    Q_UNUSED(measured);
    Q_UNUSED(yardstick);
    Q_UNUSED(rounds);
    Q_UNUSED(warmUp);
    Q_UNUSED(goalRatio);
    std::printf("start-up comparison: built without xcb, skipped\n");
#else
    MapWatch watch;
    if (!watch.isReady()) {
        std::printf("start-up comparison: cannot watch the X display, skipped\n");
        return;
    }
    std::vector<double> times[2];
    std::vector<double> cpuTimes[2];
    std::vector<double> peaks[2];
    const StartedProgram *programs[2] = {&measured, &yardstick};
    for (int round = 0; round < rounds; ++round) {
        for (int which = 0; which < 2; ++which) {
            const std::optional<Sample> sample = startOnce(watch, *programs[which]);
            if (!sample) {
                std::printf("start-up comparison: %s showed no window, skipped\n",
                            qPrintable(programs[which]->name));
                return;
            }
            if (round < warmUp)
                continue;
            times[which].push_back(sample->milliseconds);
            cpuTimes[which].push_back(sample->cpuMilliseconds);
            peaks[which].push_back(sample->peakKilobytes);
        }
    }
    for (std::vector<double> &peak : peaks)
        std::transform(peak.begin(), peak.end(), peak.begin(), [](double kb) { return kb / 1024; });
    std::printf("start-up of the %s against the %s under %s, %d rounds each (first %d "
                "discarded), medians:\n",
                qPrintable(measured.name), qPrintable(yardstick.name),
                qPrintable(qEnvironmentVariable("DISPLAY")), rounds - warmUp, warmUp);
    printRow("  first window mapped", times[0], times[1], "ms", goalRatio);
    printRow("  processor time until mapped", cpuTimes[0], cpuTimes[1], "ms", goalRatio);
    printRow("  peak memory", peaks[0], peaks[1], "MB", goalRatio);
#endif
}

} // namespace kq::Bench

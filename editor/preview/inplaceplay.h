#pragma once

#include "dialogrecord.h"
#include "steploop.h"

#include <QObject>

#include <memory>

namespace kq {

class DialogProject;
class StepStage;
class StepWindow;

// Plays a project inside the editor as the runner plays it: the runner's own step loop decides
// every move, and each step's window is the runner's, shown on the stage instead of the screen.
// Pauses show no window, as in the runner; their timer runs all the same. Nothing is written and
// no process is started. Playing waits in an event loop of its own, as a modal window does,
// until the run ends or is stopped.
class InPlacePlay : public QObject
{
    Q_OBJECT

public:
    explicit InPlacePlay(StepStage &stage, QObject *parent = nullptr);
    ~InPlacePlay() override;

    // Plays the project from `firstStep` (numbered from 0) to its end, a fault or a stop.
    StepLoop::Outcome play(const DialogProject &project, int firstStep);
    bool isPlaying() const { return mPlaying; }
    // The run was stopped rather than ended.
    bool wasStopped() const { return mStopped; }

    // Ends the run where it is; play() then returns.
    void stop();

    // Shows a step's window on the stage (a pause's stays hidden) and waits until it ends or the
    // run is stopped; the step kinds call it.
    qint16 playWindow(std::unique_ptr<StepWindow> window, const DialogRecord &record, int step);

signals:
    // A step begins to play: its window (or, for a pause, none) is about to wait.
    void stepStarted(int step, const kq::DialogRecord &record);
    // The window of a step waits for the user or the clock.
    void windowWaiting(kq::StepWindow &window, const kq::DialogRecord &record);
    void stopping();
    // The run has ended, by itself, by a fault or stopped (wasStopped tells).
    void ended(const kq::StepLoop::Outcome &outcome);

private:
    StepStage &mStage;
    std::unique_ptr<StepKind> mMessage;
    std::unique_ptr<StepKind> mProgress;
    std::unique_ptr<StepKind> mPause;
    bool mPlaying = false;
    bool mStopped = false;
};

} // namespace kq

#include "inplaceplay.h"

#include "dialogproject.h"
#include "messagewindow.h"
#include "pausewindow.h"
#include "progresswindow.h"
#include "stepflow.h"
#include "stepstage.h"
#include "windowstep.h"

#include <QEventLoop>
#include <QPointer>

#include <type_traits>

namespace kq {

namespace {

// The runner's step kind for a window class, with the window shown on the stage: built in the
// project style exactly as WindowStep builds it.
template <class Window> class StageStep final : public WindowStepKind<Window>
{
public:
    explicit StageStep(InPlacePlay &play) : mPlay(play) {}

protected:
    qint16 playBuilt(std::unique_ptr<Window> window, const DialogRecord &record) override
    {
        // A step that does not wait ends at once; the window's own play says with what result.
        if (!StepFlow::waits(record))
            return window->play();
        if constexpr (std::is_same_v<Window, MessageWindow>)
            window->ringOnShow();
        return mPlay.playWindow(std::move(window), record, this->step());
    }

private:
    InPlacePlay &mPlay;
};

} // namespace

InPlacePlay::InPlacePlay(StepStage &stage, QObject *parent)
    : QObject(parent), mStage(stage), mMessage(std::make_unique<StageStep<MessageWindow>>(*this)),
      mProgress(std::make_unique<StageStep<ProgressWindow>>(*this)),
      mPause(std::make_unique<StageStep<PauseWindow>>(*this))
{
}

InPlacePlay::~InPlacePlay() = default;

StepLoop::Outcome InPlacePlay::play(const DialogProject &project, int firstStep)
{
    // The records as they are now: an edit stops the run before it could change them.
    const DialogProject records = project;
    const int count = records.dialogCount();
    StepLoop loop;
    loop.setStepKind(DialogRecord::Message, mMessage.get());
    loop.setStepKind(DialogRecord::Progress, mProgress.get());
    loop.setStepKind(DialogRecord::Pause, mPause.get());
    mPlaying = true;
    mStopped = false;
    const StepLoop::Outcome outcome = loop.play(
        records.record(0), qint16(count),
        [&records, count](int record) -> std::optional<DialogRecord> {
            if (record < 2 || record > count + 1)
                return std::nullopt;
            return records.record(record - 1);
        },
        qint16(firstStep + 1));
    mPlaying = false;
    mStage.setPlayable(false);
    emit ended(outcome);
    return outcome;
}

void InPlacePlay::stop()
{
    if (!mPlaying || mStopped)
        return;
    mStopped = true;
    emit stopping();
}

qint16 InPlacePlay::playWindow(std::unique_ptr<StepWindow> window, const DialogRecord &record,
                               int step)
{
    if (mStopped)
        return StepKind::EndRun;
    const QPointer<StepWindow> playing = window.get();
    bool ended = false;
    QEventLoop wait;
    connect(playing, &QDialog::finished, &wait, [&ended, &wait] {
        ended = true;
        wait.quit();
    });
    connect(this, &InPlacePlay::stopping, &wait, &QEventLoop::quit);

    // A pause has nothing to show: its window only keeps the time.
    std::unique_ptr<StepWindow> hidden;
    emit stepStarted(step, record);
    if (record.type == DialogRecord::Pause) {
        hidden = std::move(window);
    } else {
        mStage.showWindow(std::move(window));
        mStage.setPlayable(true);
    }
    playing->startClock();
    emit windowWaiting(*playing, record);
    if (!ended && !mStopped)
        wait.exec();
    if (mStopped || !playing)
        return StepKind::EndRun;
    return playing->stepResult();
}

} // namespace kq

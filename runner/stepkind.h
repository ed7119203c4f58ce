#pragma once

#include "dialogrecord.h"
#include "stepflow.h"

#include <optional>

namespace kq {

// One kind of step window (message, progress, pause). It shows its window modally for the
// current record and returns the step result: 1 runs btnscr1, 2 btnscr2, EndRun ends the run,
// anything else goes next. previousResult is the result of the last step, kept when the window sets
// none. No value means the step could not be set up, which ends the run as a fault.
class StepKind
{
public:
    // The step result that ends the run as "Выход" does, whatever the record's scripts say.
    static constexpr qint16 EndRun = -1;

    virtual ~StepKind() = default;
    virtual std::optional<qint16> play(const DialogRecord &record, qint16 projectStyle,
                                       qint16 previousResult) = 0;
    // How playing the record ends. Only a step the user answers may lead elsewhere another
    // time, so the loop can tell when the steps between two answers go round forever.
    virtual StepFlow::Ending ending(const DialogRecord &) const { return StepFlow::Ending::ByUser; }
    // Whether playing the record waits for the user or the clock at all.
    bool waits(const DialogRecord &record) const
    {
        return ending(record) != StepFlow::Ending::AtOnce;
    }

    // Set by the loop before each step: the steps go round forever without a window the user can
    // answer, so the close box of a window that has nothing else ends the run.
    void setEndlessLoop(bool endless) { mEndlessLoop = endless; }
    // Set by the loop before each step: the step played, as the editor's list numbers it.
    void setStep(int step) { mStep = step; }

protected:
    bool endlessLoop() const { return mEndlessLoop; }
    int step() const { return mStep; }

private:
    bool mEndlessLoop = false;
    int mStep = 0;
};

} // namespace kq

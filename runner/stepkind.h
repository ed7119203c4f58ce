#pragma once

#include "dialogrecord.h"

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
    // Whether playing the record waits for the user or the clock. A step that does not ends at
    // once with the same result every time, so the loop can tell when such steps go in a circle.
    virtual bool waits(const DialogRecord &) const { return true; }
};

} // namespace kq

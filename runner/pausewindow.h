#pragma once

#include "dialogrecord.h"
#include "stepwindow.h"
#include "windowstep.h"

namespace kq {

// The pause step's window nthg: tiny, frameless, without a taskbar entry and never on the
// screen, it holds only the `wait` timer whose tick ends the pause with result 1.
class PauseWindow : public StepWindow
{
    Q_OBJECT

public:
    // A pause needs neither icons nor buttons, so it plays in any project style.
    static bool canPlay(qint16) { return true; }

    PauseWindow(const DialogRecord &record, qint16 projectStyle = 0, qint16 previousResult = 0);

    // Waits modally and returns the step result. A pause of no time ends at once with result 1.
    qint16 play();

    void tick();

    // The user cannot cut a pause short.
    void reject() override {}

private:
    QTimer *mWait = nullptr;
};

using PauseStep = WindowStep<PauseWindow>;

} // namespace kq

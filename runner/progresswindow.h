#pragma once

#include "dialogrecord.h"
#include "stepwindow.h"
#include "windowstep.h"

class QProgressBar;
class QTimer;

namespace kq {

class KXToolBar;

// The progress step's window prgf: a bar that fills in `time` seconds and at most one button.
// The button gives result 1, the filled bar result 2.
class ProgressWindow : public StepWindow
{
    Q_OBJECT

public:
    static constexpr int Ticks = 100;

    static bool canPlay(qint16 projectStyle) { return hasLook(projectStyle); }

    ProgressWindow(const DialogRecord &record, qint16 projectStyle, qint16 previousResult = 0);

    // Shows the window modally and returns the step result once it has closed. A bar of no
    // time is full at once: the step ends with result 2 without showing anything.
    qint16 play();

    // The msg_time tick: one per cent per tick; the tick after the hundredth ends the step.
    void tick();

    // The close box acts as the button when there is one that does something; otherwise the
    // window ends only when its bar is full, or, in steps that go round forever, ends the run.
    void reject() override;

private:
    QString mScript1;
    StepFlow::CloseBox mCloseBox;
    QProgressBar *mBar = nullptr;
    KXToolBar *mCounter = nullptr;
    QTimer *mTime = nullptr;
};

using ProgressStep = WindowStep<ProgressWindow>;

} // namespace kq

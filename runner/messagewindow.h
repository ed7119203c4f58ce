#pragma once

#include "dialogrecord.h"
#include "stepwindow.h"
#include "windowstep.h"

namespace kq {

// The message step's window msgf: caption, icon, a text that does not wrap and one or two
// buttons, laid out around the text. The window returns 1 or 2 for the button pressed.
class MessageWindow : public StepWindow
{
    Q_OBJECT

public:
    // The outer sizes of the layout include a 3-pixel border and a 25-pixel title bar; the
    // window system adds its own frame around the client area.
    static constexpr int FrameWidth = 6;
    static constexpr int FrameHeight = 31;

    static bool canPlay(qint16 projectStyle) { return hasLook(projectStyle); }

    MessageWindow(const DialogRecord &record, qint16 projectStyle, qint16 previousResult = 0);

    // Beeps, shows the window modally and returns the step result once it has closed.
    qint16 play();
    // The beep a message window gives as it opens, for a window played without play().
    void ringOnShow();

    // The close box, Esc and Alt+F4 press the last visible button; where that button does
    // nothing ("Нет"), they end the run (step result StepKind::EndRun).
    void reject() override;

private:
    void layOut();
    int buttonsWidth() const;

    QString mScript1;
    QString mScript2;
    StepFlow::CloseBox mCloseBox;
    bool mTwoButtons = false;
    QLabel *mIcon = nullptr;
    QLabel *mText = nullptr;
    ButtonPair mButton1;
    ButtonPair mButton2;
};

using MessageStep = WindowStep<MessageWindow>;

} // namespace kq

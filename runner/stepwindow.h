#pragma once

#include <QColor>
#include <QDialog>
#include <QPoint>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace kq {

class KXButton;

// What the step windows share: a fixed dialog frame with a title and a close box, the
// background of the project style, the icon box, the text label, the buttons of both styles,
// the timed modal run and the step result.
class StepWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ButtonWidth = 97;
    static constexpr int ButtonHeight = 25;

    // Only the two project styles have a look and an icon strip.
    static bool hasLook(qint16 projectStyle);
    static QColor background(qint16 projectStyle);

    // The result of the last step until a button or the window's own end sets one.
    qint16 stepResult() const { return mResult; }
    // The interval of the step's timer in milliseconds; 0 for a window without one.
    int interval() const;
    // Starts the step's timer, as playing the window does before it waits; a window shown
    // without a modal run of its own (the editor's preview) starts it so.
    void startClock();

    // The title as a title bar shows it: the caption without the escaping setCaption adds for
    // Qt, blank for a blank caption.
    QString shownTitle() const { return mShownTitle; }

    // In steps that go round forever with nothing to answer, the close box ends the run.
    void setCloseEndsRun(bool ends) { mCloseEndsRun = ends; }
    bool closeEndsRun() const { return mCloseEndsRun; }

protected:
    // One button in both looks: the standard push button of style 0 and the skinned button of
    // style 1, with the same caption and position; the one of the other style stays hidden.
    struct ButtonPair
    {
        QPushButton *system = nullptr;
        KXButton *skinned = nullptr;

        void hide();
        void setLeft(int left);
        void setTop(int top);
    };

    static constexpr Qt::WindowFlags FixedDialog = Qt::Dialog | Qt::CustomizeWindowHint |
                                                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                                   Qt::MSWindowsFixedSizeDialogHint;

    StepWindow(const QString &objectName, qint16 projectStyle, qint16 previousResult,
               Qt::WindowFlags flags = FixedDialog);

    // A step window has no minimise box, but some window managers (openbox) offer one anyway,
    // and on a desktop without a task bar a minimised step could never be found again while the
    // run waits for it: the window comes back at once.
    void changeEvent(QEvent *event) override;

    // The record's caption as the title, exactly: a blank caption gives a blank title (Qt
    // would put the program's name there) and "[*]" is no modification mark.
    void setCaption(const QString &caption);

    // msg_icon at 16,16: cell ico of the style's strip on the window background. An ico outside
    // the strip leaves the box empty.
    QLabel *addIcon(qint16 ico);
    // msg_text: plain text sized to its text; LF breaks lines, nothing wraps.
    QLabel *addText(const QString &text, QPoint topLeft);
    ButtonPair addButtons(const QString &systemName, const QString &skinnedName,
                          const QString &caption, QPoint topLeft, std::function<void()> pressed);

    // A "Нет" script leaves the window open; any other sets the result and closes the window.
    void press(const QString &script, qint16 result);
    void finish(qint16 result);
    // The step's timer: `time` steps of the given length, formed in 32 bits so that every 16-bit
    // time plays; a step that is not timed gets no interval. The timer is precise: a coarse one
    // may tick up to 5 % early, and a bar of a hundred ticks would end that much too soon.
    QTimer *addTimer(const QString &name, qint16 time, int millisecondsPerTime);
    // Starts the timer and runs the window modally. A timer of no interval would never tick, so
    // the step then ends at once with the given result and shows nothing.
    qint16 playTimed(qint16 resultAtOnce);

private:
    qint16 mStyle;
    qint16 mResult;
    QTimer *mTimer = nullptr;
    QString mShownTitle;
    bool mCloseEndsRun = false;
};

} // namespace kq

#include "messagewindow.h"

#include "kxbutton.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace kq {

namespace {

constexpr int Margin = 15;
constexpr int ButtonGap = 15;

} // namespace

MessageWindow::MessageWindow(const DialogRecord &record, qint16 projectStyle, qint16 previousResult)
    : StepWindow(QStringLiteral("msgf"), projectStyle, previousResult), mScript1(record.btnscr1),
      mScript2(record.btnscr2), mCloseBox(StepFlow::closeBox(record))
{
    setCaption(StepFlow::shownCaption(record));
    mIcon = addIcon(record.ico);
    mText = addText(StepFlow::shownText(record), QPoint(72, 24));
    mButton1 =
        addButtons(QStringLiteral("msg_btn1"), QStringLiteral("msg_btn3"),
                   trimmedSpaces(record.btn1), QPoint(80, 56), [this] { press(mScript1, 1); });
    const QString caption2 = trimmedSpaces(record.btn2);
    mButton2 = addButtons(QStringLiteral("msg_btn2"), QStringLiteral("msg_btn4"), caption2,
                          QPoint(192, 56), [this] { press(mScript2, 2); });

    mTwoButtons = !caption2.isEmpty();
    if (!mTwoButtons)
        mButton2.hide();
    if (record.ico == 0)
        mIcon->hide();
    layOut();
}

void MessageWindow::layOut()
{
    const int textLeft = mIcon->isHidden() ? 10 : 10 + mIcon->x() + mIcon->width();
    const int textTop = 15;
    mText->move(textLeft, textTop);

    // The icon box counts even when hidden, so a short text keeps the buttons below it.
    int buttonTop = textTop + mText->height() + Margin;
    const int iconBottom = mIcon->y() + mIcon->height();
    if (iconBottom > buttonTop)
        buttonTop = iconBottom + Margin;
    mButton1.setTop(buttonTop);
    mButton2.setTop(buttonTop);

    // A short text would leave the window narrower than its buttons and cut them off, so the
    // window is at least as wide as the buttons with a margin at each side.
    const int outerHeight = buttonTop + ButtonHeight + 35;
    const int clientWidth =
        std::max(textLeft + mText->width() + 25 - FrameWidth, buttonsWidth() + 2 * Margin);
    setFixedSize(clientWidth, outerHeight - FrameHeight);

    const int buttonWidth = mButton1.system->width();
    if (mTwoButtons) {
        const int left =
            clientWidth / 2 - (buttonWidth + ButtonGap + mButton1.skinned->width()) / 2;
        mButton1.setLeft(left);
        mButton2.setLeft(left + buttonWidth + ButtonGap);
    } else {
        mButton1.setLeft(clientWidth / 2 - buttonWidth / 2);
    }
}

int MessageWindow::buttonsWidth() const
{
    return mTwoButtons ? 2 * ButtonWidth + ButtonGap : ButtonWidth;
}

qint16 MessageWindow::play()
{
    ringOnShow();
    exec();
    return stepResult();
}

void MessageWindow::ringOnShow()
{
    // The sound goes out once the window is on its way: rung before, it holds the window back
    // by a good part of the start-up time.
    QTimer::singleShot(0, this, [] { QApplication::beep(); });
}

void MessageWindow::reject()
{
    switch (mCloseBox) {
    case StepFlow::CloseBox::EndRun:
        finish(StepKind::EndRun);
        break;
    case StepFlow::CloseBox::Button2:
        press(mScript2, 2);
        break;
    default:
        press(mScript1, 1);
        break;
    }
}

} // namespace kq

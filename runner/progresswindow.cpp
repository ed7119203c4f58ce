#include "progresswindow.h"

#include "buttonscript.h"
#include "kxtoolbar.h"
#include "stepkind.h"

#include <QProgressBar>
#include <QTimer>

namespace kq {

ProgressWindow::ProgressWindow(const DialogRecord &record, qint16 projectStyle,
                               qint16 previousResult)
    : StepWindow(QStringLiteral("prgf"), projectStyle, previousResult), mScript1(record.btnscr1),
      mCloseBox(StepFlow::closeBox(record))
{
    setCaption(StepFlow::shownCaption(record));
    setFixedSize(360, 116);
    addIcon(record.ico);
    addText(StepFlow::shownText(record), QPoint(72, 16));

    mBar = new QProgressBar(this);
    mBar->setObjectName(QStringLiteral("msg_prg2"));
    mBar->setGeometry(72, 56, 257, 17);
    mBar->setRange(0, Ticks);
    mBar->setValue(0);
    mBar->setTextVisible(false);

    // The skinned bar counts the ticks in both styles, shown or not.
    mCounter = new KXToolBar(this);
    mCounter->setObjectName(QStringLiteral("msg_prg1"));
    mCounter->setGeometry(72, 56, 257, 16);

    const QString caption = trimmedSpaces(record.btn1);
    ButtonPair button = addButtons(QStringLiteral("msg_btn1"), QStringLiteral("msg_btn2"), caption,
                                   QPoint(232, 80), [this] { press(mScript1, 1); });
    if (caption.isEmpty())
        button.hide();

    if (projectStyle == 1)
        mBar->hide();
    else
        mCounter->hide();

    mTime = addTimer(QStringLiteral("msg_time"), record.time, 1000 / Ticks);
    connect(mTime, &QTimer::timeout, this, &ProgressWindow::tick);
}

qint16 ProgressWindow::play()
{
    return playTimed(2);
}

void ProgressWindow::tick()
{
    if (mCounter->value() >= Ticks) {
        mTime->stop();
        finish(2);
        return;
    }
    mCounter->setValue(mCounter->value() + 1);
    mBar->setValue(mBar->value() + 1);
}

void ProgressWindow::reject()
{
    if (mCloseBox == StepFlow::CloseBox::Button1)
        press(mScript1, 1);
    else if (closeEndsRun())
        finish(StepKind::EndRun);
}

} // namespace kq

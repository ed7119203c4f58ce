#include "progresswindow.h"

#include "kxtoolbar.h"

#include <QProgressBar>
#include <QTimer>

namespace kq {

ProgressWindow::ProgressWindow(const DialogRecord &record, qint16 projectStyle,
                               qint16 previousResult)
    : StepWindow(QStringLiteral("prgf"), projectStyle, previousResult), mScript1(record.btnscr1)
{
    setWindowTitle(trimmedRight(record.caption));
    setFixedSize(360, 116);
    addIcon(record.ico);
    addText(trimmedRight(record.text), QPoint(72, 16));

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
    mHasButton = !caption.isEmpty();
    if (!mHasButton)
        button.hide();

    if (projectStyle == 1)
        mBar->hide();
    else
        mCounter->hide();

    // The interval is formed in 32 bits: every 16-bit time plays, and a negative one counts as 0.
    mTimer = new QTimer(this);
    mTimer->setObjectName(QStringLiteral("msg_time"));
    mTimer->setInterval(qMax<int>(record.time, 0) * 1000 / Ticks);
    connect(mTimer, &QTimer::timeout, this, &ProgressWindow::tick);
}

int ProgressWindow::interval() const
{
    return mTimer->interval();
}

qint16 ProgressWindow::play()
{
    if (interval() == 0)
        return 2;
    mTimer->start();
    exec();
    return stepResult();
}

void ProgressWindow::tick()
{
    if (mCounter->value() >= Ticks) {
        mTimer->stop();
        finish(2);
        return;
    }
    mCounter->setValue(mCounter->value() + 1);
    mBar->setValue(mBar->value() + 1);
}

void ProgressWindow::reject()
{
    if (mHasButton)
        press(mScript1, 1);
}

} // namespace kq

#include "stepwindow.h"

#include "buttonscript.h"
#include "iconstrips.h"
#include "kxbutton.h"
#include "stepflow.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace kq {

namespace {

constexpr int IconCells = 6;
constexpr int IconSize = 32;

} // namespace

bool StepWindow::hasLook(qint16 projectStyle)
{
    return !iconStrip(projectStyle).isNull();
}

QColor StepWindow::background(qint16 projectStyle)
{
    if (projectStyle == 1)
        return QColor(240, 240, 240);
    return QApplication::palette().color(QPalette::Button);
}

StepWindow::StepWindow(const QString &objectName, qint16 projectStyle, qint16 previousResult,
                       Qt::WindowFlags flags)
    : QDialog(nullptr, flags), mStyle(projectStyle), mResult(previousResult)
{
    setObjectName(objectName);
    QPalette look = palette();
    look.setColor(QPalette::Window, background(projectStyle));
    setPalette(look);
    setAutoFillBackground(true);
}

void StepWindow::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Restored after the window manager has finished minimising, which would otherwise win.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            return;
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        activateWindow();
    });
}

void StepWindow::setCaption(const QString &caption)
{
    mShownTitle = caption.isEmpty() ? QStringLiteral(" ") : caption;
    if (caption.isEmpty()) {
        setWindowTitle(mShownTitle);
        return;
    }
    QString title = caption;
    setWindowTitle(title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

QLabel *StepWindow::addIcon(qint16 ico)
{
    QPixmap cell(IconSize, IconSize);
    cell.fill(background(mStyle));
    if (ico >= 0 && ico < IconCells) {
        QPainter painter(&cell);
        painter.drawPixmap(0, 0, iconStrip(mStyle), ico * IconSize, 0, IconSize, IconSize);
    }
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("msg_icon"));
    icon->setGeometry(16, 16, IconSize, IconSize);
    icon->setPixmap(cell);
    return icon;
}

QLabel *StepWindow::addText(const QString &text, QPoint topLeft)
{
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("msg_text"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(false);
    label->setText(text);
    label->move(topLeft);
    label->adjustSize();
    return label;
}

StepWindow::ButtonPair StepWindow::addButtons(const QString &systemName, const QString &skinnedName,
                                              const QString &caption, QPoint topLeft,
                                              std::function<void()> pressed)
{
    ButtonPair pair;
    pair.system = new QPushButton(caption, this);
    pair.system->setObjectName(systemName);
    pair.system->setGeometry(topLeft.x(), topLeft.y(), ButtonWidth, ButtonHeight);
    connect(pair.system, &QPushButton::clicked, this, pressed);

    pair.skinned = new KXButton(this);
    pair.skinned->setObjectName(skinnedName);
    pair.skinned->setGeometry(topLeft.x(), topLeft.y(), ButtonWidth, ButtonHeight);
    pair.skinned->setAlign(KXButton::Align::Centred);
    pair.skinned->setMode(KXButton::Mode::Raised);
    pair.skinned->setCaption(caption);
    connect(pair.skinned, &KXButton::clicked, this, pressed);

    if (mStyle == 1)
        pair.system->hide();
    else
        pair.skinned->hide();
    return pair;
}

void StepWindow::ButtonPair::hide()
{
    system->hide();
    skinned->hide();
}

void StepWindow::ButtonPair::setLeft(int left)
{
    system->move(left, system->y());
    skinned->move(left, skinned->y());
}

void StepWindow::ButtonPair::setTop(int top)
{
    system->move(system->x(), top);
    skinned->move(skinned->x(), top);
}

void StepWindow::press(const QString &script, qint16 result)
{
    if (ButtonScript::isNoAction(script))
        return;
    finish(result);
}

void StepWindow::finish(qint16 result)
{
    mResult = result;
    done(result);
}

QTimer *StepWindow::addTimer(const QString &name, qint16 time, int millisecondsPerTime)
{
    mTimer = new QTimer(this);
    mTimer->setObjectName(name);
    mTimer->setTimerType(Qt::PreciseTimer);
    mTimer->setInterval(StepFlow::isTimed(time) ? time * millisecondsPerTime : 0);
    return mTimer;
}

int StepWindow::interval() const
{
    return mTimer ? mTimer->interval() : 0;
}

void StepWindow::startClock()
{
    if (interval() > 0)
        mTimer->start();
}

qint16 StepWindow::playTimed(qint16 resultAtOnce)
{
    if (interval() == 0)
        return resultAtOnce;
    startClock();
    exec();
    return mResult;
}

} // namespace kq

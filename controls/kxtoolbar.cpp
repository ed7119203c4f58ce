#include "kxtoolbar.h"

#include "artwork.h"

#include <QPainter>

namespace kq {

namespace {

// Column 0 the frame, column 1 the fill, column 2 the track.
const QPixmap &barSkin()
{
    static const QPixmap skin = loadControlArt(QStringLiteral("barskin.png"));
    return skin;
}

const QPixmap &barLight()
{
    static const QPixmap light = loadControlArt(QStringLiteral("barlight.png"));
    return light;
}

} // namespace

KXToolBar::KXToolBar(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(BarHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    mDraw.setInterval(15);
    connect(&mDraw, &QTimer::timeout, this, &KXToolBar::tick);
    mDraw.start();
}

KXToolBar::~KXToolBar() = default;

void KXToolBar::setValue(int value)
{
    mValue = qBound(0, value, 100);
}

int KXToolBar::percentToWidth(int percent) const
{
    return percent * width() / 100;
}

void KXToolBar::tick()
{
    ++mGlint;
    // At or past the end of the fill, also after Value was lowered or the bar got narrower.
    if (mGlint >= glintCut())
        mGlint = -GlintWidth;
    update();
}

QRect KXToolBar::fillRect() const
{
    return QRect(1, 0, percentToWidth(mValue + 1), BarHeight);
}

QRect KXToolBar::glintRect() const
{
    const int visible = qMin(glintCut() - mGlint, GlintWidth);
    if (visible <= 0)
        return {};
    return QRect(mGlint, 0, visible, BarHeight);
}

QSize KXToolBar::sizeHint() const
{
    return QSize(257, BarHeight);
}

void KXToolBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &skin = barSkin();
    const int w = width();
    painter.drawPixmap(QRect(0, 0, w, BarHeight), skin, QRect(2, 0, 1, BarHeight));
    painter.drawPixmap(fillRect(), skin, QRect(1, 0, 1, BarHeight));
    const QRect glint = glintRect();
    if (!glint.isEmpty())
        painter.drawPixmap(glint, barLight(), QRect(0, 0, glint.width(), BarHeight));
    painter.drawPixmap(QRect(0, 0, 1, BarHeight), skin, QRect(0, 0, 1, BarHeight));
    painter.drawPixmap(QRect(w - 1, 0, 1, BarHeight), skin, QRect(0, 0, 1, BarHeight));
}

} // namespace kq

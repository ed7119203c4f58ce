#include "kxbutton.h"

#include "artwork.h"
#include "kxbuttonaccessible.h"

#include <QAccessible>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QShortcut>

#include <algorithm>

namespace kq {

namespace {

constexpr int CapWidth = 6;
constexpr int ArrowPartWidth = 9;
constexpr int EmptyCaptionWidth = 22;
constexpr int MinExtent = 16;

// The caption is black on a control that reacts to the mouse, grey on one that does not.
QColor captionColorFor(bool enabled)
{
    return enabled ? QColor(Qt::black) : QColor(100, 100, 100);
}

// Each skin is read when first painted.
const QPixmap &skinPixmap(KXButton::Skin skin)
{
    switch (skin) {
    case KXButton::Skin::Hover: {
        static const QPixmap hover = loadControlArt(QStringLiteral("skin0.png"));
        return hover;
    }
    case KXButton::Skin::Pressed: {
        static const QPixmap pressed = loadControlArt(QStringLiteral("skin1.png"));
        return pressed;
    }
    case KXButton::Skin::RaisedResting: {
        static const QPixmap raised = loadControlArt(QStringLiteral("skin10.png"));
        return raised;
    }
    default: {
        static const QPixmap resting = loadControlArt(QStringLiteral("skin2.png"));
        return resting;
    }
    }
}

} // namespace

KXButton::KXButton(QWidget *parent) : QWidget(parent), mCaption(QStringLiteral("Каптярка"))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    KXButtonAccessible::installFactory();
    // Running from creation, so a control born away from the pointer settles into its resting look.
    mOut.setInterval(100);
    connect(&mOut, &QTimer::timeout, this, &KXButton::leaveTick);
    mOut.start();
    updateAccessKey();
    fullLayout();
}

KXButton::~KXButton() = default;

void KXButton::setEnabledState(bool enabled)
{
    setEnabled(enabled);
    drawPal(Skin::Resting);
    fullLayout();
}

void KXButton::setCheck(bool check)
{
    const bool changed = mCheck != check;
    mCheck = check;
    fullLayout();
    if (changed && mMode == Mode::Toggle) {
        QAccessible::State state;
        state.checked = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
}

void KXButton::setCaption(const QString &caption)
{
    mCaption = caption;
    updateAccessKey();
    fullLayout();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void KXButton::setPicture(const QPixmap &picture)
{
    // The picture keeps its old place until the next layout; only its size follows at once.
    mPicture = picture;
    mImgRect.setSize(pictureSize());
    update();
}

void KXButton::setAutoSize(bool autoSize)
{
    mAutoSize = autoSize;
    fullLayout();
}

void KXButton::setMode(Mode mode)
{
    mMode = mode;
}

void KXButton::setAlign(Align align)
{
    mAlign = align;
    fullLayout();
}

QRect KXButton::arrowPartRect() const
{
    if (!mArrowPartVisible)
        return {};
    const QSize ls = logicalSize();
    return QRect(ls.width() - ArrowPartWidth, 0, ArrowPartWidth, ls.height());
}

QSize KXButton::pictureSize() const
{
    return mPicture.isNull() ? QSize(0, 0) : mPicture.deviceIndependentSize().toSize();
}

QSize KXButton::captionSize() const
{
    const QFontMetrics fm(font());
    if (mCaption.isEmpty())
        return QSize(0, fm.height());
    const QSize size = fm.size(Qt::TextShowMnemonic, mCaption);
    return QSize(size.width(), qMax(size.height(), fm.height()));
}

QSize KXButton::logicalSize() const
{
    // A control smaller than 16 pixels draws a 16-unit surface scaled down.
    return QSize(qMax(width(), MinExtent), qMax(height(), MinExtent));
}

QPoint KXButton::toLogical(const QPointF &pos) const
{
    const QSize ls = logicalSize();
    const qreal sx = width() > 0 ? qreal(ls.width()) / width() : 1.0;
    const qreal sy = height() > 0 ? qreal(ls.height()) / height() : 1.0;
    return QPoint(int(pos.x() * sx), int(pos.y() * sy));
}

void KXButton::drawPal(Skin skin)
{
    if (mMode == Mode::Toggle && mCheck)
        skin = Skin::Pressed;
    mSkin = skin;
    const int w = logicalSize().width();
    switch (mMode) {
    case Mode::DropDown:
        mGlyphVisible = true;
        mArrowPartVisible = false;
        mRightCapX = w - CapWidth;
        break;
    case Mode::Split:
        mGlyphVisible = true;
        mArrowPartVisible = true;
        mArrowSkin = skin == Skin::Pressed ? Skin::Hover : skin;
        mRightCapX = w - CapWidth - ArrowPartWidth;
        break;
    default:
        mGlyphVisible = false;
        mArrowPartVisible = false;
        mRightCapX = w - CapWidth;
        break;
    }
    mCaptionColor = captionColorFor(isEnabled());
    update();
}

void KXButton::placeElements()
{
    const QSize ls = logicalSize();
    const int w = ls.width();
    const int h = ls.height();
    drawPal(Skin::Resting);
    if (mMode == Mode::Raised)
        drawPal(Skin::RaisedResting);
    const QSize pic = pictureSize();
    mImgRect = QRect(QPoint(3, h / 2 - pic.height() / 2), pic);
    const QSize cap = captionSize();
    mGlyphPos = QPoint(w - 7, h / 2 - 1);
    const int left = mAlign == Align::AfterPicture ? mImgRect.left() + mImgRect.width() + 3
                                                   : w / 2 - cap.width() / 2;
    mTxtRect = QRect(QPoint(left, h / 2 - cap.height() / 2), cap);
}

int KXButton::autoWidth() const
{
    if (mCaption.isEmpty())
        return EmptyCaptionWidth;
    const int width = mTxtRect.width() + mTxtRect.left() + 5;
    return mGlyphVisible ? width + ArrowPartWidth : width;
}

void KXButton::fullLayout()
{
    if (mInLayout)
        return;
    QScopedValueRollback guard(mInLayout, true);
    placeElements();
    // A centred caption moves with the width, so settle on the width that fits it.
    for (int round = 0; mAutoSize && round < 32; ++round) {
        const int wanted = autoWidth();
        if (wanted == width())
            break;
        resize(wanted, height());
        placeElements();
    }
    update();
}

QSize KXButton::sizeHint() const
{
    const QSize pic = pictureSize();
    const QSize cap = captionSize();
    int width = EmptyCaptionWidth;
    if (!mCaption.isEmpty()) {
        width = 3 + pic.width() + 3 + cap.width() + 5;
        if (hasArrow())
            width += ArrowPartWidth;
    }
    return QSize(width, std::max({23, pic.height() + 6, cap.height() + 6}));
}

QSize KXButton::minimumSizeHint() const
{
    return QSize(EmptyCaptionWidth, MinExtent);
}

KXButton::Part KXButton::partAt(const QPoint &pos) const
{
    const QSize ls = logicalSize();
    if (!QRect(QPoint(0, 0), ls).contains(pos))
        return Part::None;
    if (mMode == Mode::Split && pos.x() >= ls.width() - ArrowPartWidth)
        return Part::Arrow;
    // The glyph's resting place: a press moves the glyph itself one pixel down.
    if (hasArrow() && QRect(ls.width() - 7, ls.height() / 2 - 1, 5, 3).contains(pos))
        return Part::Arrow;
    return Part::Main;
}

void KXButton::hoverEnter()
{
    // Qt still sends a disabled control enter events; it must not light up.
    if (mHover || !isEnabled())
        return;
    drawPal(Skin::Hover);
    mHover = true;
    mOut.start();
    emit pointerEntered();
}

void KXButton::pressMain()
{
    mTxtRect.translate(0, 1);
    mImgRect.translate(0, 1);
    if (mMode != Mode::Split)
        mGlyphPos.ry() += 1;
    if (mMode == Mode::Toggle)
        setCheck(!mCheck);
    drawPal(Skin::Pressed);
}

void KXButton::pressArrow()
{
    if (mMode != Mode::Split) {
        pressMain();
        return;
    }
    mGlyphPos.ry() += 1;
    mArrowSkin = Skin::Pressed;
    update();
}

void KXButton::releaseMain(bool click)
{
    fullLayout();
    drawPal(Skin::Hover);
    if (click)
        emit clicked();
}

void KXButton::releaseArrow(bool click)
{
    if (mMode == Mode::Split)
        mArrowSkin = Skin::Hover;
    fullLayout();
    drawPal(Skin::Hover);
    if (click)
        emit arrowClicked();
}

void KXButton::leaveTick()
{
    const QPoint pos = mapFromGlobal(QCursor::pos());
    // The far edges count as inside: a pointer at x == width is still over the control.
    const bool outside = 0 > pos.x() || 0 > pos.y() || width() < pos.x() || height() < pos.y();
    if (!outside)
        return;
    fullLayout();
    mOut.stop();
    mHover = false;
    emit pointerLeft();
}

void KXButton::updateAccessKey()
{
    const QKeySequence key = QKeySequence::mnemonic(mCaption);
    if (key.isEmpty()) {
        delete mAccessKey;
        mAccessKey = nullptr;
        return;
    }
    if (!mAccessKey) {
        mAccessKey = new QShortcut(this);
        mAccessKey->setAutoRepeat(false);
        connect(mAccessKey, &QShortcut::activated, this, &KXButton::activate);
    }
    mAccessKey->setKey(key);
}

void KXButton::activate()
{
    if (isEnabled())
        emit clicked();
}

void KXButton::click()
{
    if (!isEnabled())
        return;
    if (mMode == Mode::Toggle)
        setCheck(!mCheck);
    emit clicked();
}

void KXButton::arrowClick()
{
    if (isEnabled() && hasArrow())
        emit arrowClicked();
}

void KXButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSize ls = logicalSize();
    if (ls != size())
        painter.scale(qreal(width()) / ls.width(), qreal(height()) / ls.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = ls.width();
    const int h = ls.height();

    const QPixmap &skin = skinPixmap(mSkin);
    if (skin.isNull())
        painter.fillRect(QRect(0, 0, w, h), QColor(240, 240, 240));
    const int sw = skin.width();
    const int sh = skin.height();
    painter.drawPixmap(QRect(0, 0, CapWidth, h), skin, QRect(0, 0, CapWidth, sh));
    // The middle runs past the right edge; the right cap covers its end.
    painter.drawPixmap(QRect(CapWidth, 0, w, h), skin, QRect(3, 0, 3, sh));
    painter.drawPixmap(QRect(mRightCapX, 0, CapWidth, h), skin,
                       QRect(sw - CapWidth, 0, CapWidth, sh));

    if (!mPicture.isNull())
        painter.drawPixmap(mImgRect.topLeft(), mPicture);
    if (!mCaption.isEmpty()) {
        painter.setPen(mCaptionColor);
        painter.setFont(font());
        painter.drawText(mTxtRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, mCaption);
    }
    if (mArrowPartVisible)
        painter.drawPixmap(arrowPartRect(), skinPixmap(mArrowSkin));
    if (mGlyphVisible) {
        const QPoint g = mGlyphPos;
        painter.fillRect(QRect(g.x(), g.y(), 5, 1), Qt::black);
        painter.fillRect(QRect(g.x() + 1, g.y() + 1, 3, 1), Qt::black);
        painter.fillRect(QRect(g.x() + 2, g.y() + 2, 1, 1), Qt::black);
    }
    if (hasFocus()) {
        const int right = mArrowPartVisible ? w - ArrowPartWidth : w;
        QPen pen(QColor(110, 110, 110), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(3, 3, right - 7, h - 7));
    }
}

void KXButton::resizeEvent(QResizeEvent *)
{
    fullLayout();
}

void KXButton::showEvent(QShowEvent *)
{
    fullLayout();
}

void KXButton::mousePressEvent(QMouseEvent *event)
{
    if (mPressed != Part::None)
        return;
    const Part part = partAt(toLogical(event->position()));
    if (part == Part::None)
        return;
    mPressed = part;
    mPressButton = event->button();
    if (part == Part::Arrow)
        pressArrow();
    else
        pressMain();
}

void KXButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (mPressed == Part::None || event->button() != mPressButton)
        return;
    const Part pressed = mPressed;
    mPressed = Part::None;
    mPressButton = Qt::NoButton;
    const bool click = partAt(toLogical(event->position())) == pressed;
    if (pressed == Part::Arrow)
        releaseArrow(click);
    else
        releaseMain(click);
}

void KXButton::mouseMoveEvent(QMouseEvent *event)
{
    if (partAt(toLogical(event->position())) != Part::None)
        hoverEnter();
}

void KXButton::enterEvent(QEnterEvent *event)
{
    if (partAt(toLogical(event->position())) != Part::None)
        hoverEnter();
}

void KXButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            activate();
        event->accept();
        return;
    case Qt::Key_Down:
    case Qt::Key_F4:
        // The arrow's menu, as a drop-down list opens by key.
        if (hasArrow()) {
            if (!event->isAutoRepeat())
                arrowClick();
            event->accept();
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void KXButton::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void KXButton::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void KXButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        // A disabled control gets no release, so a press in progress ends here and the control
        // shows its resting look, whether its own setting or a parent disabled it.
        mCaptionColor = captionColorFor(isEnabled());
        if (!isEnabled()) {
            mPressed = Part::None;
            fullLayout();
        }
        update();
    } else if (event->type() == QEvent::FontChange) {
        fullLayout();
    }
    QWidget::changeEvent(event);
}

} // namespace kq

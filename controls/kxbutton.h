#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

class QShortcut;

namespace kq {

// Flat skinned push button: lights up under the pointer, shows a picture and a caption, and can
// be a toggle (Mode 1), a drop-down button (Mode 2), a split button (Mode 3) or a raised button
// (Mode 4). Painted from 9 x 23 skin images: 0 hover, 1 pressed, 2 resting, 10 raised resting.
class KXButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ enabledState WRITE setEnabledState)
    Q_PROPERTY(bool Check READ check WRITE setCheck)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QPixmap Picture READ picture WRITE setPicture)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(Mode Mode READ mode WRITE setMode)
    Q_PROPERTY(Align Align READ align WRITE setAlign)

public:
    // The kinds of button, by their number in the designed windows.
    enum class Mode { Plain = 0, Toggle = 1, DropDown = 2, Split = 3, Raised = 4 };
    Q_ENUM(Mode)
    // Where the caption goes: right of the picture, or in the middle of the control.
    enum class Align { AfterPicture = 0, Centred = 1 };
    Q_ENUM(Align)
    // The skin pictures, by the number in their file names.
    enum class Skin { Hover = 0, Pressed = 1, Resting = 2, RaisedResting = 10 };
    Q_ENUM(Skin)

    explicit KXButton(QWidget *parent = nullptr);
    ~KXButton() override;

    // The control's own setting; a disabled parent does not change it.
    bool enabledState() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void setEnabledState(bool enabled);
    bool check() const { return mCheck; }
    void setCheck(bool check);
    QString caption() const { return mCaption; }
    void setCaption(const QString &caption);
    QPixmap picture() const { return mPicture; }
    void setPicture(const QPixmap &picture);
    bool autoSize() const { return mAutoSize; }
    void setAutoSize(bool autoSize);
    Mode mode() const { return mMode; }
    void setMode(Mode mode);
    Align align() const { return mAlign; }
    void setAlign(Align align);
    // Drop-down and split buttons carry an arrow that raises arrowClicked.
    bool hasArrow() const { return mMode == Mode::DropDown || mMode == Mode::Split; }

    // A whole click on the main part, as the mouse gives it (a toggle flips Check first), and
    // one on the arrow of Modes 2 and 3: for assistive technology and the keyboard.
    void click();
    void arrowClick();

    // One tick of the 100 ms leave timer: a pointer outside returns the resting look.
    void leaveTick();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clicked();
    void arrowClicked();
    void pointerEntered();
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class Part { None, Main, Arrow };

    void drawPal(Skin skin);
    void fullLayout();
    void placeElements();
    int autoWidth() const;
    QSize logicalSize() const;
    QPoint toLogical(const QPointF &pos) const;
    Part partAt(const QPoint &logicalPos) const;
    void hoverEnter();
    void pressMain();
    void pressArrow();
    void releaseMain(bool click);
    void releaseArrow(bool click);
    QSize pictureSize() const;
    QSize captionSize() const;
    void updateAccessKey();
    void activate();
    QRect arrowPartRect() const; // empty unless Mode 3

    bool mCheck = false;
    QString mCaption;
    QPixmap mPicture;
    bool mAutoSize = false;
    Mode mMode = Mode::Plain;
    Align mAlign = Align::AfterPicture;

    bool mHover = false;
    QTimer mOut;
    QShortcut *mAccessKey = nullptr;
    Part mPressed = Part::None;
    Qt::MouseButton mPressButton = Qt::NoButton;
    bool mInLayout = false;

    Skin mSkin = Skin::Resting;
    Skin mArrowSkin = Skin::Resting;
    bool mGlyphVisible = false;
    bool mArrowPartVisible = false;
    int mRightCapX = 0;
    QColor mCaptionColor = Qt::black;
    QRect mImgRect;
    QRect mTxtRect;
    QPoint mGlyphPos;
};

} // namespace kq

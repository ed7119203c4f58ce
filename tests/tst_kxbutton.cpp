#include "kxbutton.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QMetaEnum>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

#include <memory>

using namespace kq;

namespace {

QPixmap square(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::darkBlue);
    return pixmap;
}

// A shown window holding one 97 x 25 button at (10, 10), the size the runner uses. Its caption
// is drawn without smoothing, so that the caption's pixels have exactly the caption's colour.
struct Host
{
    Host()
    {
        window.resize(300, 100);
        button = new KXButton(&window);
        QFont font = button->font();
        font.setStyleStrategy(QFont::NoAntialias);
        button->setFont(font);
        button->setGeometry(10, 10, 97, 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QWidget window;
    KXButton *button = nullptr;
};

QPoint mainPartPoint(const KXButton &button)
{
    return QPoint(20, button.height() / 2);
}

// What the button shows is read from its pixels, as the user sees them.

// The skin that column x of the button shows. The resting skin is flat and the raised one has a
// dark frame; hover and pressed have a grey frame, hover lit from the top, pressed from below.
KXButton::Skin skinAt(KXButton &button, int x)
{
    const QImage image = button.grab().toImage();
    const int top = qGray(image.pixel(x, 0));
    if (top >= 230)
        return KXButton::Skin::Resting;
    if (top < 150)
        return KXButton::Skin::RaisedResting;
    const bool litFromTop = qGray(image.pixel(x, 2)) > qGray(image.pixel(x, image.height() - 3));
    return litFromTop ? KXButton::Skin::Hover : KXButton::Skin::Pressed;
}

KXButton::Skin currentSkin(KXButton &button)
{
    return skinAt(button, 40);
}

// The skin of the arrow part of Mode 3, the right nine columns.
KXButton::Skin arrowPartSkin(KXButton &button)
{
    return skinAt(button, button.width() - 5);
}

// The bounding box of the pixels of a picture that pass the test, within the columns before right.
template <typename Test> QRect pixelsWhere(const QImage &image, Test test, int right)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < std::min(right, image.width()); ++x) {
            if (test(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The caption's pixels: black, or grey on a control that does not react to the mouse. The arrow
// glyph, black too, lies in the right nine columns of Modes 2 and 3.
bool isCaptionColour(const QColor &colour)
{
    return colour == QColor(Qt::black) || colour == QColor(100, 100, 100);
}

int captionColumns(const KXButton &button)
{
    return button.hasArrow() ? button.width() - 9 : button.width();
}

QColor captionColor(KXButton &button)
{
    const QImage image = button.grab().toImage();
    const QRect ink = pixelsWhere(image, isCaptionColour, captionColumns(button));
    return ink.isNull() ? QColor() : image.pixelColor(ink.topLeft());
}

// Where the caption is laid out: the place its pixels start, less where the same text's pixels
// start when drawn at the origin; as large as the font gives the text.
QRect captionRect(KXButton &button)
{
    const QFontMetrics metrics(button.font());
    QSize size = metrics.size(Qt::TextShowMnemonic, button.caption());
    size.setHeight(std::max(size.height(), metrics.height()));
    QImage alone(size, QImage::Format_ARGB32);
    alone.fill(Qt::white);
    {
        QPainter painter(&alone);
        painter.setFont(button.font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(0, 0), size),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, button.caption());
    }
    const QRect drawn = pixelsWhere(alone, isCaptionColour, size.width());
    const QRect shown =
        pixelsWhere(button.grab().toImage(), isCaptionColour, captionColumns(button));
    return QRect(shown.topLeft() - drawn.topLeft(), size);
}

// The black arrow glyph of Modes 2 and 3 in the right nine columns; empty when there is none.
QRect arrowGlyphRect(KXButton &button)
{
    const QImage image = button.grab().toImage().copy(button.width() - 9, 0, 9, button.height());
    const QRect glyph = pixelsWhere(
        image, [](const QColor &colour) { return colour == QColor(Qt::black); }, 9);
    return glyph.isNull() ? glyph : glyph.translated(button.width() - 9, 0);
}

// The pixels of the dark blue picture of square(), blended ones of a scaled control included.
QRect pictureRect(KXButton &button)
{
    return pixelsWhere(
        button.grab().toImage(),
        [](const QColor &colour) { return colour.blue() > colour.red() + 16; }, button.width());
}

// The hover look of Mode 3 draws the main part's frame before the arrow part.
bool showsArrowPart(KXButton &button)
{
    return qGray(button.grab().toImage().pixel(button.width() - 10, button.height() / 2)) < 190;
}

} // namespace

class TestKXButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void defaults();
    void enumsKeepTheDesignedNumbers_data();
    void enumsKeepTheDesignedNumbers();
    void toggle_data();
    void toggle();
    void checkedToggleKeepsPressedLook();
    void parts_data();
    void parts();
    void pressLook_data();
    void pressLook();
    void autoSize_data();
    void autoSize();
    void centredAutoSizeSettles();
    void captionFollowsPicture();
    void pictureAloneKeepsCaption_data();
    void pictureAloneKeepsCaption();
    void hoverOnce();
    void leaveEdge_data();
    void leaveEdge();
    void restingSkin_data();
    void restingSkin();
    void captionColour_data();
    void captionColour();
    void disabledParent();
    void disablingDropsAPress_data();
    void disablingDropsAPress();
    void disabledIgnoresPointer_data();
    void disabledIgnoresPointer();
    void keyboard_data();
    void keyboard();
    void accessKey_data();
    void accessKey();
    void arrowKeys_data();
    void arrowKeys();
    void accessibleName_data();
    void accessibleName();
    void accessibleState_data();
    void accessibleState();
    void accessibleActions_data();
    void accessibleActions();
    void smallControlDrawsScaled();
    void pixelsFollowSkin();
};

void TestKXButton::init()
{
    // Away from every test window, so a stray leave tick sees the pointer outside.
    QCursor::setPos(700, 500);
}

void TestKXButton::defaults()
{
    KXButton button;
    QCOMPARE(button.caption(), QStringLiteral("Каптярка"));
    QCOMPARE(button.property("Caption").toString(), QStringLiteral("Каптярка"));
    QCOMPARE(button.property("Enabled").toBool(), true);
    QCOMPARE(button.property("Check").toBool(), false);
    QCOMPARE(button.property("AutoSize").toBool(), false);
    QCOMPARE(button.property("Mode").toInt(), 0);
    QCOMPARE(button.property("Align").toInt(), 0);
    QVERIFY(button.picture().isNull());
    QCOMPARE(button.focusPolicy(), Qt::StrongFocus);
    // The leave timer runs from creation: a control born away from the pointer settles, once.
    QSignalSpy left(&button, &KXButton::pointerLeft);
    QTRY_COMPARE(left.count(), 1);
}

void TestKXButton::enumsKeepTheDesignedNumbers_data()
{
    QTest::addColumn<QByteArray>("enumName");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("number");
    const QByteArray mode("Mode");
    const QByteArray align("Align");
    const QByteArray skin("Skin");
    QTest::newRow("Mode 0") << mode << QByteArray("Plain") << 0;
    QTest::newRow("Mode 1") << mode << QByteArray("Toggle") << 1;
    QTest::newRow("Mode 2") << mode << QByteArray("DropDown") << 2;
    QTest::newRow("Mode 3") << mode << QByteArray("Split") << 3;
    QTest::newRow("Mode 4") << mode << QByteArray("Raised") << 4;
    QTest::newRow("Align 0") << align << QByteArray("AfterPicture") << 0;
    QTest::newRow("Align 1") << align << QByteArray("Centred") << 1;
    QTest::newRow("skin 0") << skin << QByteArray("Hover") << 0;
    QTest::newRow("skin 1") << skin << QByteArray("Pressed") << 1;
    QTest::newRow("skin 2") << skin << QByteArray("Resting") << 2;
    QTest::newRow("skin 10") << skin << QByteArray("RaisedResting") << 10;
}

// Designed windows and saved properties give these numbers; the names must keep them.
void TestKXButton::enumsKeepTheDesignedNumbers()
{
    QFETCH(QByteArray, enumName);
    QFETCH(QByteArray, key);
    QFETCH(int, number);
    const QMetaObject &meta = KXButton::staticMetaObject;
    const QMetaEnum values = meta.enumerator(meta.indexOfEnumerator(enumName.constData()));
    QCOMPARE(values.keyToValue(key.constData()), number);
    KXButton button;
    if (enumName == "Mode") {
        QVERIFY(button.setProperty("Mode", number));
        QCOMPARE(button.mode(), KXButton::Mode(number));
    }
}

void TestKXButton::toggle_data()
{
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("skinAfter");
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("once") << 1 << true << 1 << false;
    QTest::newRow("twice") << 2 << false << 0 << false;
    QTest::newRow("three times") << 3 << true << 1 << false;
    QTest::newRow("double click") << 2 << false << 0 << true;
}

void TestKXButton::toggle()
{
    QFETCH(int, presses);
    QFETCH(bool, checked);
    QFETCH(int, skinAfter);
    QFETCH(bool, doubleClick);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(1));
    QList<bool> seenInClick;
    QList<int> skinInClick;
    connect(&button, &KXButton::clicked, this, [&] {
        seenInClick << button.check();
        skinInClick << int(currentSkin(button));
    });
    QSignalSpy arrow(&button, &KXButton::arrowClicked);
    if (doubleClick) {
        // Through the window, so the platform turns the second press into a double click.
        QTest::mouseDClick(host.window.windowHandle(), Qt::LeftButton, {},
                           button.mapTo(&host.window, mainPartPoint(button)));
    } else {
        for (int i = 0; i < presses; ++i)
            QTest::mouseClick(&button, Qt::LeftButton, {}, mainPartPoint(button));
    }
    QCOMPARE(seenInClick.size(), presses);
    // The check flips at the press, so the handler already sees the new state.
    QCOMPARE(seenInClick.last(), checked);
    QCOMPARE(skinInClick.last(), skinAfter);
    QCOMPARE(button.check(), checked);
    QCOMPARE(int(currentSkin(button)), skinAfter);
    QCOMPARE(arrow.count(), 0);
}

void TestKXButton::checkedToggleKeepsPressedLook()
{
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(1));
    QTest::mouseMove(&button, mainPartPoint(button));
    QTest::mouseClick(&button, Qt::LeftButton, {}, mainPartPoint(button));
    QVERIFY(button.check());
    QSignalSpy left(&button, &KXButton::pointerLeft);
    QCursor::setPos(host.window.mapToGlobal(QPoint(250, 90)));
    button.leaveTick();
    QCOMPARE(left.count(), 1);
    QCOMPARE(int(currentSkin(button)), 1);
    button.setCheck(false);
    QCOMPARE(int(currentSkin(button)), 2);
}

void TestKXButton::parts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("arrowClicks");
    // The button is 97 x 25: the Mode 3 arrow part is x 88..96, the glyph x 90..94, y 11..13.
    QTest::newRow("split, arrow part") << 3 << QPoint(92, 3) << QPoint(92, 3) << 0 << 1;
    QTest::newRow("split, arrow part edge") << 3 << QPoint(88, 20) << QPoint(89, 20) << 0 << 1;
    QTest::newRow("split, glyph") << 3 << QPoint(92, 12) << QPoint(92, 12) << 0 << 1;
    QTest::newRow("split, main part") << 3 << QPoint(40, 12) << QPoint(40, 12) << 1 << 0;
    QTest::newRow("split, next to arrow part") << 3 << QPoint(87, 12) << QPoint(87, 12) << 1 << 0;
    QTest::newRow("split, arrow to main") << 3 << QPoint(92, 12) << QPoint(40, 12) << 0 << 0;
    QTest::newRow("split, main to arrow") << 3 << QPoint(40, 12) << QPoint(92, 12) << 0 << 0;
    QTest::newRow("drop-down, glyph") << 2 << QPoint(92, 12) << QPoint(92, 12) << 0 << 1;
    QTest::newRow("drop-down, beside glyph") << 2 << QPoint(92, 3) << QPoint(92, 3) << 1 << 0;
    QTest::newRow("plain, glyph place") << 0 << QPoint(92, 12) << QPoint(92, 12) << 1 << 0;
    QTest::newRow("plain, released outside") << 0 << QPoint(40, 12) << QPoint(40, 40) << 0 << 0;
    QTest::newRow("raised, main part") << 4 << QPoint(40, 12) << QPoint(60, 20) << 1 << 0;
    QTest::newRow("unknown mode acts plain") << 7 << QPoint(92, 12) << QPoint(92, 12) << 1 << 0;
}

void TestKXButton::parts()
{
    QFETCH(int, mode);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, clicks);
    QFETCH(int, arrowClicks);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    QSignalSpy click(&button, &KXButton::clicked);
    QSignalSpy arrow(&button, &KXButton::arrowClicked);
    QTest::mousePress(&button, Qt::LeftButton, {}, press);
    QCOMPARE(click.count() + arrow.count(), 0);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, release);
    QCOMPARE(click.count(), clicks);
    QCOMPARE(arrow.count(), arrowClicks);
    // Whatever the outcome, a release leaves the hover look with everything back in place.
    QCOMPARE(int(currentSkin(button)), 0);
    QCOMPARE(captionRect(button).top(), 12 - captionRect(button).height() / 2);
}

void TestKXButton::pressLook_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<int>("mainSkin");
    QTest::addColumn<int>("arrowSkin");
    QTest::addColumn<int>("captionShift");
    QTest::addColumn<int>("glyphShift");
    QTest::newRow("plain") << 0 << QPoint(40, 12) << 1 << -1 << 1 << 0;
    QTest::newRow("drop-down main") << 2 << QPoint(40, 12) << 1 << -1 << 1 << 1;
    QTest::newRow("drop-down glyph") << 2 << QPoint(92, 12) << 1 << -1 << 1 << 1;
    QTest::newRow("split main") << 3 << QPoint(40, 12) << 1 << 0 << 1 << 0;
    QTest::newRow("split arrow") << 3 << QPoint(92, 5) << 2 << 1 << 0 << 1;
}

void TestKXButton::pressLook()
{
    QFETCH(int, mode);
    QFETCH(QPoint, press);
    QFETCH(int, mainSkin);
    QFETCH(int, arrowSkin);
    QFETCH(int, captionShift);
    QFETCH(int, glyphShift);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    button.setAlign(KXButton::Align(0)); // lays out in the new Mode
    const QRect caption = captionRect(button);
    const QRect glyph = arrowGlyphRect(button);
    QTest::mousePress(&button, Qt::LeftButton, {}, press);
    QCOMPARE(int(currentSkin(button)), mainSkin);
    if (arrowSkin >= 0)
        QCOMPARE(int(arrowPartSkin(button)), arrowSkin);
    QCOMPARE(captionRect(button), caption.translated(0, captionShift));
    if (!glyph.isNull())
        QCOMPARE(arrowGlyphRect(button), glyph.translated(0, glyphShift));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, press);
    QCOMPARE(captionRect(button), caption);
    if (!glyph.isNull())
        QCOMPARE(arrowGlyphRect(button), glyph);
    if (arrowSkin >= 0)
        QCOMPARE(int(arrowPartSkin(button)), 0);
}

void TestKXButton::autoSize_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("pictureSide");
    QTest::addColumn<int>("captionLeft");
    QTest::addColumn<int>("extra");
    QTest::newRow("empty") << 0 << QString() << 0 << -1 << 0;
    QTest::newRow("empty with picture") << 0 << QString() << 16 << -1 << 0;
    QTest::newRow("empty with big picture, split") << 3 << QString() << 32 << -1 << 0;
    QTest::newRow("caption") << 0 << QStringLiteral("Открыть") << 0 << 6 << 5;
    QTest::newRow("caption and picture") << 0 << QStringLiteral("Открыть") << 16 << 22 << 5;
    QTest::newRow("toggle") << 1 << QStringLiteral("Тест") << 16 << 22 << 5;
    QTest::newRow("drop-down") << 2 << QStringLiteral("Открыть") << 16 << 22 << 14;
    QTest::newRow("split") << 3 << QStringLiteral("Сохранить") << 16 << 22 << 14;
    QTest::newRow("raised") << 4 << QStringLiteral("Далее") << 0 << 6 << 5;
    QTest::newRow("access key") << 0 << QStringLiteral("&Далее") << 0 << 6 << 5;
}

void TestKXButton::autoSize()
{
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(int, pictureSide);
    QFETCH(int, captionLeft);
    QFETCH(int, extra);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    if (pictureSide > 0)
        button.setPicture(square(pictureSide));
    button.setCaption(caption);
    button.setAutoSize(true);
    QCOMPARE(button.height(), 25);
    if (captionLeft < 0) {
        QCOMPARE(button.width(), 22);
        return;
    }
    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    const int textWidth = qCeil(QFontMetricsF(button.font()).horizontalAdvance(shown));
    QCOMPARE(captionRect(button).left(), captionLeft);
    QCOMPARE(button.width(), captionLeft + textWidth + extra);
}

void TestKXButton::centredAutoSizeSettles()
{
    Host host;
    KXButton &button = *host.button;
    button.setAlign(KXButton::Align(1));
    button.setCaption(QStringLiteral("Продолжить"));
    button.setAutoSize(true);
    const QRect caption = captionRect(button);
    QCOMPARE(button.width(), caption.left() + caption.width() + 5);
    QCOMPARE(caption.left(), button.width() / 2 - caption.width() / 2);
}

void TestKXButton::captionFollowsPicture()
{
    Host host;
    KXButton &button = *host.button;
    button.setPicture(square(16));
    button.setCaption(QStringLiteral("Создать"));
    QCOMPARE(pictureRect(button), QRect(3, 12 - 8, 16, 16));
    QCOMPARE(captionRect(button).left(), 22);
    button.setAlign(KXButton::Align(1));
    QCOMPARE(captionRect(button).left(), 97 / 2 - captionRect(button).width() / 2);
}

void TestKXButton::pictureAloneKeepsCaption_data()
{
    QTest::addColumn<QString>("relayout");
    QTest::newRow("by caption") << QStringLiteral("Caption");
    QTest::newRow("by align") << QStringLiteral("Align");
    QTest::newRow("by resize") << QStringLiteral("resize");
}

void TestKXButton::pictureAloneKeepsCaption()
{
    QFETCH(QString, relayout);
    Host host;
    KXButton &button = *host.button;
    button.setCaption(QStringLiteral("Сборка"));
    QCOMPARE(captionRect(button).left(), 6);
    button.setPicture(square(16));
    QCOMPARE(captionRect(button).left(), 6);
    // Until the next layout the picture hangs from the centre line an empty one had, its lower
    // rows cut off by the bottom edge.
    QCOMPARE(pictureRect(button), QRect(3, 12, 16, 25 - 12));
    if (relayout == QStringLiteral("Caption"))
        button.setCaption(QStringLiteral("Сборка"));
    else if (relayout == QStringLiteral("Align"))
        button.setAlign(KXButton::Align(0));
    else
        button.resize(98, 25);
    QCOMPARE(captionRect(button).left(), 22);
    QCOMPARE(pictureRect(button), QRect(3, 4, 16, 16));
}

void TestKXButton::hoverOnce()
{
    Host host;
    KXButton &button = *host.button;
    button.leaveTick(); // the creation tick: pointer elsewhere
    QSignalSpy in(&button, &KXButton::pointerEntered);
    QSignalSpy out(&button, &KXButton::pointerLeft);
    // Once the pointer is found elsewhere, the leave timer stops: no further tick says so again.
    QTest::qWait(250);
    QCOMPARE(out.count(), 0);
    QTest::mouseMove(&button, QPoint(30, 10));
    QTest::mouseMove(&button, QPoint(40, 12));
    QCOMPARE(in.count(), 1);
    QCOMPARE(int(currentSkin(button)), 0);
    QCOMPARE(out.count(), 0);
    // Entering starts the leave timer again, which sees the pointer go.
    QCursor::setPos(host.window.mapToGlobal(QPoint(250, 90)));
    QTRY_COMPARE(out.count(), 1);
}

void TestKXButton::leaveEdge_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<bool>("inside");
    QTest::newRow("middle") << QPoint(40, 12) << true;
    QTest::newRow("top left corner") << QPoint(0, 0) << true;
    QTest::newRow("x on the far edge") << QPoint(97, 12) << true;
    QTest::newRow("y on the far edge") << QPoint(40, 25) << true;
    QTest::newRow("far corner") << QPoint(97, 25) << true;
    QTest::newRow("one past x") << QPoint(98, 12) << false;
    QTest::newRow("one past y") << QPoint(40, 26) << false;
    QTest::newRow("left of it") << QPoint(-1, 12) << false;
    QTest::newRow("above it") << QPoint(40, -1) << false;
}

void TestKXButton::leaveEdge()
{
    QFETCH(QPoint, pointer);
    QFETCH(bool, inside);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(4));
    QSignalSpy in(&button, &KXButton::pointerEntered);
    QTest::mouseMove(&button, QPoint(40, 12));
    QCOMPARE(in.count(), 1);
    QSignalSpy out(&button, &KXButton::pointerLeft);
    QCursor::setPos(button.mapToGlobal(pointer));
    button.leaveTick();
    QCOMPARE(out.count(), inside ? 0 : 1);
    QCOMPARE(int(currentSkin(button)), inside ? 0 : 10);
    // Still over it, the leave timer keeps watching and sees the pointer go; once left, it stops.
    QCursor::setPos(host.window.mapToGlobal(QPoint(250, 90)));
    QTRY_COMPARE(out.count(), 1);
    QTest::qWait(250);
    QCOMPARE(out.count(), 1);
}

void TestKXButton::restingSkin_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("resting");
    QTest::newRow("plain") << 0 << 2;
    QTest::newRow("toggle") << 1 << 2;
    QTest::newRow("drop-down") << 2 << 2;
    QTest::newRow("split") << 3 << 2;
    QTest::newRow("raised") << 4 << 10;
    QTest::newRow("out of range") << -3 << 2;
}

void TestKXButton::restingSkin()
{
    QFETCH(int, mode);
    QFETCH(int, resting);
    KXButton button;
    button.setMode(KXButton::Mode(mode));
    button.resize(97, 25);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QCOMPARE(int(currentSkin(button)), resting);
    QCOMPARE(arrowGlyphRect(button).isNull(), mode != 2 && mode != 3);
    // Mode alone repaints nothing: the next layout brings the new look.
    button.setMode(KXButton::Mode(mode == 4 ? 0 : 4));
    QCOMPARE(int(currentSkin(button)), resting);
    button.setAlign(KXButton::Align(0));
    QCOMPARE(int(currentSkin(button)), mode == 4 ? 2 : 10);
    // The arrow part of Mode 3 shows in the hover look, the main part's frame before it.
    button.setMode(KXButton::Mode(mode));
    button.setAlign(KXButton::Align(0));
    QTest::mouseMove(&button, QPoint(40, 12));
    QCOMPARE(showsArrowPart(button), mode == 3);
}

void TestKXButton::captionColour_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("skin");
    QTest::newRow("enabled") << 0 << true << QColor(Qt::black) << 2;
    QTest::newRow("disabled") << 0 << false << QColor(100, 100, 100) << 2;
    QTest::newRow("raised disabled") << 4 << false << QColor(100, 100, 100) << 10;
}

void TestKXButton::captionColour()
{
    QFETCH(int, mode);
    QFETCH(bool, enabled);
    QFETCH(QColor, colour);
    QFETCH(int, skin);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    QTest::mouseMove(&button, QPoint(40, 12));
    QCOMPARE(int(currentSkin(button)), 0);
    button.setEnabledState(!enabled);
    button.setEnabledState(enabled);
    QCOMPARE(button.enabledState(), enabled);
    QCOMPARE(button.isEnabled(), enabled);
    QCOMPARE(captionColor(button), colour);
    QCOMPARE(int(currentSkin(button)), skin);
    QSignalSpy click(&button, &KXButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(40, 12));
    QCOMPARE(click.count(), enabled ? 1 : 0);
}

void TestKXButton::disabledParent()
{
    Host host;
    KXButton &button = *host.button;
    host.window.setEnabled(false);
    QCOMPARE(button.enabledState(), true);
    QCOMPARE(captionColor(button), QColor(100, 100, 100));
    host.window.setEnabled(true);
    QCOMPARE(captionColor(button), QColor(Qt::black));
    button.setEnabled(false);
    QCOMPARE(button.property("Enabled").toBool(), false);
    QCOMPARE(captionColor(button), QColor(100, 100, 100));
}

void TestKXButton::disablingDropsAPress_data()
{
    QTest::addColumn<bool>("parent");
    QTest::addColumn<int>("mode");
    QTest::newRow("own setting") << false << 0;
    QTest::newRow("parent, plain") << true << 0;
    QTest::newRow("parent, raised") << true << 4;
}

void TestKXButton::disablingDropsAPress()
{
    QFETCH(bool, parent);
    QFETCH(int, mode);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    button.setAlign(KXButton::Align(0));
    const QRect caption = captionRect(button);
    const int resting = int(currentSkin(button));
    QTest::mousePress(&button, Qt::LeftButton, {}, mainPartPoint(button));
    QCOMPARE(int(currentSkin(button)), 1);
    if (parent)
        host.window.setEnabled(false);
    else
        button.setEnabledState(false);
    // A disabled control gets no release: the press ends here, in the resting look.
    QCOMPARE(int(currentSkin(button)), resting);
    QCOMPARE(captionRect(button), caption);
    QCOMPARE(captionColor(button), QColor(100, 100, 100));
}

void TestKXButton::disabledIgnoresPointer_data()
{
    QTest::addColumn<bool>("parent");
    QTest::addColumn<int>("mode");
    QTest::newRow("own setting") << false << 0;
    QTest::newRow("own setting, raised") << false << 4;
    QTest::newRow("parent") << true << 0;
}

void TestKXButton::disabledIgnoresPointer()
{
    QFETCH(bool, parent);
    QFETCH(int, mode);
    Host host;
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    button.leaveTick(); // the creation tick: pointer elsewhere
    const int resting = int(currentSkin(button));
    if (parent)
        host.window.setEnabled(false);
    else
        button.setEnabledState(false);
    QSignalSpy in(&button, &KXButton::pointerEntered);

    // Qt delivers enter events to disabled widgets, unlike moves and presses.
    const QPointF inside = QPoint(20, button.height() / 2);
    QEnterEvent enter(inside, button.mapTo(&host.window, inside), button.mapToGlobal(inside));
    QApplication::sendEvent(&button, &enter);

    QCOMPARE(in.count(), 0);
    QCOMPARE(int(currentSkin(button)), resting);
}

void TestKXButton::keyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("otherClicks");
    QTest::newRow("space") << int(Qt::Key_Space) << true << 1 << 0;
    QTest::newRow("return") << int(Qt::Key_Return) << true << 1 << 0;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << true << 1 << 0;
    QTest::newRow("letter") << int(Qt::Key_A) << true << 0 << 0;
    QTest::newRow("escape") << int(Qt::Key_Escape) << true << 0 << 0;
    // Disabling passes the focus on to the next button, which then takes the key.
    QTest::newRow("space, disabled") << int(Qt::Key_Space) << false << 0 << 1;
}

void TestKXButton::keyboard()
{
    QFETCH(int, key);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);
    QFETCH(int, otherClicks);
    Host host;
    auto *other = new KXButton(&host.window);
    other->setGeometry(120, 10, 97, 25);
    other->show();
    QVERIFY(QTest::qWaitForWindowActive(&host.window));
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(1));
    button.setFocus();
    QVERIFY(button.hasFocus());
    button.setEnabledState(enabled);
    QSignalSpy click(&button, &KXButton::clicked);
    QSignalSpy otherClick(other, &KXButton::clicked);
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key(key)); // to the focus widget
    QCOMPARE(click.count(), clicks);
    QCOMPARE(otherClick.count(), otherClicks);
    QCOMPARE(button.hasFocus(), enabled);
    // The keyboard raises clicked only, like the access key; the toggle state stays.
    QCOMPARE(button.check(), false);
}

void TestKXButton::accessKey_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("clicks");
    QTest::newRow("latin") << QStringLiteral("&Next") << int(Qt::Key_N) << true << 1;
    QTest::newRow("latin, other letter") << QStringLiteral("&Next") << int(Qt::Key_X) << true << 0;
    QTest::newRow("middle letter") << QStringLiteral("Ne&xt") << int(Qt::Key_X) << true << 1;
    QTest::newRow("cyrillic") << QStringLiteral("&Далее") << int(U'Д') << true << 1;
    QTest::newRow("no access key") << QStringLiteral("Next") << int(Qt::Key_N) << true << 0;
    QTest::newRow("escaped ampersand") << QStringLiteral("&&Next") << int(Qt::Key_N) << true << 0;
    QTest::newRow("disabled") << QStringLiteral("&Next") << int(Qt::Key_N) << false << 0;
}

void TestKXButton::accessKey()
{
    QFETCH(QString, caption);
    QFETCH(int, key);
    QFETCH(bool, enabled);
    QFETCH(int, clicks);
    Host host;
    QVERIFY(QTest::qWaitForWindowActive(&host.window));
    KXButton &button = *host.button;
    button.setCaption(caption);
    button.setEnabledState(enabled);
    QSignalSpy click(&button, &KXButton::clicked);
    const QString text = QString(QChar(key)).toLower();
    QTest::sendKeyEvent(QTest::Press, &host.window, Qt::Key(key), text, Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Release, &host.window, Qt::Key(key), text, Qt::AltModifier);
    QCOMPARE(click.count(), clicks);
}

void TestKXButton::arrowKeys_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("arrowClicks");
    QTest::newRow("drop-down, down arrow") << 2 << int(Qt::Key_Down) << true << 1;
    QTest::newRow("drop-down, F4") << 2 << int(Qt::Key_F4) << true << 1;
    QTest::newRow("split, down arrow") << 3 << int(Qt::Key_Down) << true << 1;
    QTest::newRow("plain, down arrow") << 0 << int(Qt::Key_Down) << true << 0;
    QTest::newRow("drop-down, up arrow") << 2 << int(Qt::Key_Up) << true << 0;
}

void TestKXButton::arrowKeys()
{
    QFETCH(int, mode);
    QFETCH(int, key);
    QFETCH(bool, enabled);
    QFETCH(int, arrowClicks);
    Host host;
    QVERIFY(QTest::qWaitForWindowActive(&host.window));
    KXButton &button = *host.button;
    button.setMode(KXButton::Mode(mode));
    button.setEnabledState(enabled);
    button.setFocus();
    QSignalSpy arrow(&button, &KXButton::arrowClicked);
    QSignalSpy click(&button, &KXButton::clicked);
    QTest::keyClick(&button, Qt::Key(key));
    QCOMPARE(arrow.count(), arrowClicks);
    QCOMPARE(click.count(), 0);
}

void TestKXButton::accessibleName_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accelerator");
    QTest::newRow("caption") << "Открыть"
                             << ""
                             << ""
                             << "Открыть"
                             << "";
    QTest::newRow("access key left out") << "&Далее"
                                         << ""
                                         << ""
                                         << "Далее"
                                         << "Alt+Д";
    QTest::newRow("escaped ampersand") << "Save && run"
                                       << ""
                                       << ""
                                       << "Save & run"
                                       << "";
    QTest::newRow("caption before tooltip") << "New"
                                            << "Create a new project"
                                            << ""
                                            << "New"
                                            << "";
    QTest::newRow("picture only, by its tooltip") << ""
                                                  << "Help and information"
                                                  << ""
                                                  << "Help and information"
                                                  << "";
    QTest::newRow("explicit name wins") << "Ok"
                                        << ""
                                        << "Confirm"
                                        << "Confirm"
                                        << "";
}

void TestKXButton::accessibleName()
{
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QFETCH(QString, accessibleName);
    QFETCH(QString, name);
    QFETCH(QString, accelerator);
    KXButton button;
    button.setCaption(caption);
    button.setToolTip(toolTip);
    button.setAccessibleName(accessibleName);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&button);
    QVERIFY(face);
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(face->text(QAccessible::Accelerator), accelerator);
    // The name follows a new caption.
    if (accessibleName.isEmpty()) {
        button.setCaption("&Другая");
        QCOMPARE(face->text(QAccessible::Name), "Другая");
    }
}

void TestKXButton::accessibleState_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("hasPopup");
    QTest::newRow("plain") << 0 << false << false << false;
    QTest::newRow("toggle, off") << 1 << false << true << false;
    QTest::newRow("toggle, on") << 1 << true << true << false;
    QTest::newRow("drop-down") << 2 << false << false << true;
    QTest::newRow("split") << 3 << false << false << true;
    QTest::newRow("raised, Check ignored") << 4 << true << false << false;
}

void TestKXButton::accessibleState()
{
    QFETCH(int, mode);
    QFETCH(bool, check);
    QFETCH(bool, checkable);
    QFETCH(bool, hasPopup);
    KXButton button;
    button.setMode(KXButton::Mode(mode));
    button.setCheck(check);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&button);
    QCOMPARE(face->role(), QAccessible::Button);
    const QAccessible::State state = face->state();
    QCOMPARE(bool(state.checkable), checkable);
    QCOMPARE(bool(state.checked), checkable && check);
    QCOMPARE(bool(state.hasPopup), hasPopup);
}

void TestKXButton::accessibleActions_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("menu"); // the menu action, else the press action
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("arrowClicks");
    QTest::addColumn<bool>("checkAfter");
    QTest::newRow("press") << 0 << true << false << 1 << 0 << false;
    QTest::newRow("press a toggle") << 1 << true << false << 1 << 0 << true;
    QTest::newRow("menu of a drop-down") << 2 << true << true << 0 << 1 << false;
    QTest::newRow("menu of a plain button") << 0 << true << true << 0 << 0 << false;
    QTest::newRow("press, disabled") << 0 << false << false << 0 << 0 << false;
    QTest::newRow("menu, disabled") << 3 << false << true << 0 << 0 << false;
}

void TestKXButton::accessibleActions()
{
    QFETCH(int, mode);
    QFETCH(bool, enabled);
    QFETCH(bool, menu);
    QFETCH(int, clicks);
    QFETCH(int, arrowClicks);
    QFETCH(bool, checkAfter);
    KXButton button;
    button.setMode(KXButton::Mode(mode));
    button.setEnabledState(enabled);
    QSignalSpy click(&button, &KXButton::clicked);
    QSignalSpy arrow(&button, &KXButton::arrowClicked);
    QAccessibleActionInterface *actions =
        QAccessible::queryAccessibleInterface(&button)->actionInterface();
    QVERIFY(actions);
    const QString action = menu ? QAccessibleActionInterface::showMenuAction()
                                : QAccessibleActionInterface::pressAction();
    QCOMPARE(actions->actionNames().contains(action), clicks + arrowClicks > 0);
    actions->doAction(action);
    QCOMPARE(click.count(), clicks);
    QCOMPARE(arrow.count(), arrowClicks);
    QCOMPARE(button.check(), checkAfter);
}

void TestKXButton::smallControlDrawsScaled()
{
    Host host;
    KXButton &button = *host.button;
    button.setCaption(QString());
    button.resize(12, 12);
    // Laid out on a 16 x 16 surface: the picture sits at the logical centre line 8.
    button.setPicture(square(4));
    button.setAlign(KXButton::Align(0));
    // At (3, 6, 4, 4) of the surface, which the 12-pixel control shows at three quarters: from
    // x 2.25, centred on the line 6.
    QCOMPARE(pictureRect(button).left(), 2);
    QCOMPARE(pictureRect(button).center().y(), 6);
    QSignalSpy click(&button, &KXButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(11, 11));
    QCOMPARE(click.count(), 1);
    QCOMPARE(button.grab().size(), QSize(12, 12));
}

void TestKXButton::pixelsFollowSkin()
{
    Host host;
    KXButton &button = *host.button;
    button.setCaption(QString());
    button.setMode(KXButton::Mode(3));
    button.setAlign(KXButton::Align(0));
    button.clearFocus();
    const QImage resting = button.grab().toImage();
    QCOMPARE(resting.pixelColor(40, 3), QColor(240, 240, 240));
    button.setFocus();
    QVERIFY(button.hasFocus());
    QVERIFY(button.grab().toImage().pixelColor(40, 3) != QColor(240, 240, 240));
    button.clearFocus();
    QCOMPARE(resting.pixelColor(92, 12), QColor(Qt::black)); // the glyph's top row
    QTest::mouseMove(&button, QPoint(40, 12));
    const QImage hover = button.grab().toImage();
    // The hover skin has a frame along the top and a light face below it.
    QCOMPARE(hover.pixelColor(40, 0), QColor(168, 168, 168));
    QVERIFY(hover.pixelColor(40, 3).red() > 235);
    QCOMPARE(hover.pixelColor(0, 12), QColor(168, 168, 168));
    QCOMPARE(hover.pixelColor(96, 12), QColor(168, 168, 168));
}

QTEST_MAIN(TestKXButton)
#include "tst_kxbutton.moc"

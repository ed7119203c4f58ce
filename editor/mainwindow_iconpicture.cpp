#include "mainwindow_iconpicture.h"

#include "language.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace kq {

namespace {

// One click area over a cell; it draws nothing, so the picture shows through. As a button of
// its own it tells assistive technology what the cell means and whether it is the chosen one.
class IconCell : public QAbstractButton
{
public:
    IconCell(int cell, IconPicture *picture) : QAbstractButton(picture), mCell(cell)
    {
        setObjectName(QStringLiteral("icn") + QString::number(cell));
        setGeometry(cell * IconPicture::CellSize, 0, IconPicture::CellSize, IconPicture::CellSize);
        setCursor(Qt::PointingHandCursor);
        // The picture takes the focus for the whole row.
        setFocusPolicy(Qt::NoFocus);
        setCheckable(true);
        setAutoExclusive(true);
        connect(this, &QAbstractButton::clicked, picture,
                [this, picture] { emit picture->cellClicked(mCell); });
    }

protected:
    void paintEvent(QPaintEvent *) override {}
    // A click only chooses; the checked cell follows the dialog's icon (setCurrentCell).
    void nextCheckState() override {}

private:
    int mCell;
};

} // namespace

IconPicture::IconPicture(QWidget *parent)
    : QWidget(parent), mDrawing(CellSize * CellCount, CellSize, QImage::Format_ARGB32_Premultiplied)
{
    setObjectName(QStringLiteral("msg_icons"));
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::StrongFocus);
    mDrawing.fill(Qt::transparent);
    for (int cell = 0; cell < CellCount; ++cell)
        mCells[cell] = new IconCell(cell, this);
}

void IconPicture::setBackground(const QColor &color)
{
    mBackground = color;
    update();
}

void IconPicture::clearPicture()
{
    mDrawing.fill(Qt::transparent);
    update();
}

void IconPicture::fillCell(int cell, const QColor &color)
{
    QPainter painter(&mDrawing);
    painter.fillRect(cell * CellSize, 0, CellSize, mDrawing.height(), color);
    update();
}

void IconPicture::drawStrip(const QPixmap &strip)
{
    QPainter painter(&mDrawing);
    painter.drawPixmap(0, 0, strip);
    update();
}

void IconPicture::setCurrentCell(int cell)
{
    mCurrent = cell >= 0 && cell < CellCount ? cell : -1;
    // Buttons that exclude each other cannot show none checked.
    for (int i = 0; i < CellCount; ++i) {
        mCells[i]->setAutoExclusive(false);
        mCells[i]->setChecked(i == mCurrent);
        mCells[i]->setAutoExclusive(true);
    }
    update();
}

void IconPicture::retranslate()
{
    // The ids follow the icon codes: none, error, warning, information, question, package.
    for (int cell = 0; cell < CellCount; ++cell) {
        const QString meaning = ResString(430 + cell);
        mCells[cell]->setText(meaning);
        mCells[cell]->setToolTip(meaning);
    }
}

QImage IconPicture::rendered() const
{
    QImage image(mDrawing.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(mBackground);
    QPainter painter(&image);
    painter.drawImage(0, 0, mDrawing);
    return image;
}

QSize IconPicture::sizeHint() const
{
    return QSize(CellSize * CellCount, CellSize);
}

void IconPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, rendered());
    if (!hasFocus())
        return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = mCurrent >= 0
                     ? QRect(mCurrent * CellSize, 0, CellSize, CellSize).adjusted(1, 1, -1, -1)
                     : rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void IconPicture::keyPressEvent(QKeyEvent *event)
{
    int cell = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        cell = qMax(mCurrent - 1, 0);
        break;
    case Qt::Key_Right:
        cell = qMin(mCurrent + 1, CellCount - 1);
        break;
    case Qt::Key_Home:
        cell = 0;
        break;
    case Qt::Key_End:
        cell = CellCount - 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (cell != mCurrent)
        emit cellClicked(cell);
}

void IconPicture::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void IconPicture::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

} // namespace kq

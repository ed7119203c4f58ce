#include "mainwindow_iconpicture.h"

#include <QMouseEvent>
#include <QPainter>

namespace kq {

namespace {

// One click area over a cell; it draws nothing, so the picture shows through.
class IconCell : public QWidget
{
public:
    IconCell(int cell, IconPicture *picture) : QWidget(picture), mCell(cell), mPicture(picture)
    {
        setObjectName(QStringLiteral("icn") + QString::number(cell));
        setGeometry(cell * IconPicture::CellSize, 0, IconPicture::CellSize, IconPicture::CellSize);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit mPicture->cellClicked(mCell);
    }

private:
    int mCell;
    IconPicture *mPicture;
};

} // namespace

IconPicture::IconPicture(QWidget *parent)
    : QWidget(parent), mDrawing(CellSize * CellCount, CellSize, QImage::Format_ARGB32_Premultiplied)
{
    setObjectName(QStringLiteral("msg_icons"));
    setFixedSize(sizeHint());
    mDrawing.fill(Qt::transparent);
    for (int cell = 0; cell < CellCount; ++cell)
        new IconCell(cell, this);
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
}

} // namespace kq

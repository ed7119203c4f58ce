#include "iconpicture.h"

#include "language.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>

namespace kq {

namespace {

// The meanings of the cells, in the order of the icon codes.
constexpr TextId CellMeanings[IconPicture::CellCount] = {
    TextId::IconNone,        TextId::IconError,    TextId::IconWarning,
    TextId::IconInformation, TextId::IconQuestion, TextId::IconPackage};

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
        // One chosen cell: read as a row of option buttons.
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
    // A group of their own keeps the cells apart from the option buttons around the picture,
    // which would otherwise count them as theirs; it lets the row show no cell chosen too.
    auto *group = new QButtonGroup(this);
    group->setExclusive(false);
    for (int cell = 0; cell < CellCount; ++cell) {
        mCells[cell] = new IconCell(cell, this);
        group->addButton(mCells[cell]);
    }
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
    for (int i = 0; i < CellCount; ++i)
        mCells[i]->setChecked(i == mCurrent);
    update();
}

void IconPicture::retranslate()
{
    for (int cell = 0; cell < CellCount; ++cell) {
        const QString meaning = languageText(CellMeanings[cell]);
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
    // The style's focus frame is faint over the selection colour, so the chosen cell is framed
    // in the highlight colour.
    const QRect cell = mCurrent >= 0 ? QRect(mCurrent * CellSize, 0, CellSize, CellSize) : rect();
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
    painter.drawRect(cell.adjusted(1, 1, -1, -1));
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

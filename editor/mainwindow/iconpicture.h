#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <array>

class QAbstractButton;

namespace kq {

// The icon choice of the properties panel: six 32 x 32 cells side by side over a background
// colour, with a transparent click area "icn0" to "icn5" over each cell. It takes the focus
// from the Tab key; the arrow keys, Home and End then choose a cell as a click does.
class IconPicture : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellSize = 32;
    static constexpr int CellCount = 6;

    explicit IconPicture(QWidget *parent = nullptr);

    QColor background() const { return mBackground; }
    void setBackground(const QColor &color);

    // Back to the bare background.
    void clearPicture();
    void fillCell(int cell, const QColor &color);
    void drawStrip(const QPixmap &strip);

    // The cell that holds the dialog's icon, or -1 for none; the keys move from it.
    int currentCell() const { return mCurrent; }
    void setCurrentCell(int cell);
    // The meaning of each cell ("Information", ...) for tooltips and assistive technology.
    void retranslate();

    // What the picture shows: the background with everything drawn on it.
    QImage rendered() const;

    QSize sizeHint() const override;

signals:
    // A cell chosen by a click or a key.
    void cellClicked(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    std::array<QAbstractButton *, CellCount> mCells{};
    int mCurrent = -1;
    QColor mBackground = Qt::white;
    QImage mDrawing;
};

} // namespace kq

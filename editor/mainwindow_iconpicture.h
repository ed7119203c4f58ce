#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kq {

// The icon choice of the properties panel: six 32 x 32 cells side by side over a background
// colour, with a transparent click area "icn0" to "icn5" over each cell.
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

    // What the picture shows: the background with everything drawn on it.
    QImage rendered() const;

    QSize sizeHint() const override;

signals:
    void cellClicked(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor mBackground = Qt::white;
    QImage mDrawing;
};

} // namespace kq

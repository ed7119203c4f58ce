#include "iconstrips.h"

#include "artwork.h"

#include <QImage>

namespace kq {

namespace {

// Pure magenta marks the see-through pixels of the strips.
QPixmap keyedStrip(const QString &fileName)
{
    QImage image = loadControlArt(fileName).toImage();
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(255, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xff000000u) == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

const QPixmap &iconStrip(int style)
{
    static const QPixmap glossy = keyedStrip(QStringLiteral("icons0.png"));
    static const QPixmap classic = keyedStrip(QStringLiteral("icons1.png"));
    static const QPixmap none;
    switch (style) {
    case 0:
        return glossy;
    case 1:
        return classic;
    default:
        return none;
    }
}

} // namespace kq

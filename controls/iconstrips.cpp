#include "iconstrips.h"

#include "artwork.h"

#include <QImage>

namespace kq {

namespace {

// Pure magenta marks the see-through pixels of the strips.
QPixmap keyedStrip(const QString &fileName)
{
    QImage image = loadControlImage(fileName);
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

// Each strip is read when first needed: a project plays in one style and needs only one.
const QPixmap &iconStrip(int style)
{
    static const QPixmap none;
    switch (style) {
    case 0: {
        static const QPixmap glossy = keyedStrip(QStringLiteral("icons0.png"));
        return glossy;
    }
    case 1: {
        static const QPixmap classic = keyedStrip(QStringLiteral("icons1.png"));
        return classic;
    }
    default:
        return none;
    }
}

} // namespace kq

#include "artwork.h"

#include <QImageReader>

// The resources live in a static library, so nothing would pull them in without this call.
static void initControlResources()
{
    Q_INIT_RESOURCE(controls);
}

namespace kq {

QImage readPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QImage loadControlImage(const QString &fileName)
{
    static const bool initialised = [] {
        initControlResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return readPng(QStringLiteral(":/kq/controls/") + fileName);
}

QPixmap loadControlArt(const QString &fileName)
{
    return QPixmap::fromImage(loadControlImage(fileName));
}

QImage loadIconStrip(int style)
{
    if (style != 0 && style != 1)
        return {};
    QImage image = loadControlImage(QStringLiteral("icons%1.png").arg(style));
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
    return image;
}

} // namespace kq

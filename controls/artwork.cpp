#include "artwork.h"

#include <QImageReader>

// The resources live in a static library, so nothing would pull them in without this call.
static void initControlResources()
{
    Q_INIT_RESOURCE(controls);
}

namespace kq {

QImage loadControlImage(const QString &fileName)
{
    static const bool initialised = [] {
        initControlResources();
        return true;
    }();
    Q_UNUSED(initialised);
    // Guessing the format would load every image-format plug-in to ask it; the artwork is PNG,
    // which Qt reads itself.
    QImageReader reader(QStringLiteral(":/kq/controls/") + fileName, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap loadControlArt(const QString &fileName)
{
    return QPixmap::fromImage(loadControlImage(fileName));
}

} // namespace kq

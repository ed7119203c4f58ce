#include "artwork.h"

// The resources live in a static library, so nothing would pull them in without this call.
static void initControlResources()
{
    Q_INIT_RESOURCE(controls);
}

namespace kq {

QPixmap loadControlArt(const QString &fileName)
{
    static const bool initialised = [] {
        initControlResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QPixmap(QStringLiteral(":/kq/controls/") + fileName);
}

} // namespace kq

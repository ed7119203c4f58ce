#include "iconstrips.h"

#include "artwork.h"

namespace kq {

// Each strip is read when first needed: a project plays in one style and needs only one.
const QPixmap &iconStrip(int style)
{
    static const QPixmap none;
    switch (style) {
    case 0: {
        static const QPixmap glossy = QPixmap::fromImage(loadIconStrip(0));
        return glossy;
    }
    case 1: {
        static const QPixmap classic = QPixmap::fromImage(loadIconStrip(1));
        return classic;
    }
    default:
        return none;
    }
}

} // namespace kq

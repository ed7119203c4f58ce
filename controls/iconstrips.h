#pragma once

#include <QPixmap>

namespace kq {

// Icon strips of the runner's windows: 192 x 32, six 32 x 32 cells (0 empty, 1 error, 2 warning,
// 3 information, 4 question, 5 package), transparent where the artwork is magenta.
// Style 0 holds glossy round icons, style 1 classic desktop ones; any other style gives a null
// pixmap. Each strip is loaded once per process.
const QPixmap &iconStrip(int style);

} // namespace kq

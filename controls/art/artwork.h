#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace kq {

// Loads one picture of the controls' artwork (":/kq/controls/<fileName>"); null when missing.
// The artwork is PNG and read as such, so no other image-format plug-in is ever loaded.
QImage loadControlImage(const QString &fileName);
QPixmap loadControlArt(const QString &fileName);

// Icon strip `style` (0 or 1) as an image, transparent where the artwork is pure magenta; a null
// image for any other style.
QImage loadIconStrip(int style);

} // namespace kq

#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace kq {

// Reads a PNG picture. Guessing the format would load every image-format plug-in to ask it;
// Qt reads PNG itself. A null image when the file is missing or no PNG.
QImage readPng(const QString &path);

// Loads one picture of the controls' artwork (":/kq/controls/<fileName>"); null when missing.
// The artwork is PNG and read as such, so no other image-format plug-in is ever loaded.
QImage loadControlImage(const QString &fileName);
QPixmap loadControlArt(const QString &fileName);

// Icon strip `style` (0 or 1) as an image, transparent where the artwork is pure magenta; a null
// image for any other style.
QImage loadIconStrip(int style);

} // namespace kq

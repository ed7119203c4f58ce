#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace kq {

// Loads one picture of the controls' artwork (":/kq/controls/<fileName>"); null when missing.
// The artwork is PNG and read as such, so no other image-format plug-in is ever loaded.
QImage loadControlImage(const QString &fileName);
QPixmap loadControlArt(const QString &fileName);

} // namespace kq

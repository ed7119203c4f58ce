#pragma once

#include <QPixmap>
#include <QString>

namespace kq {

// Loads one picture of the controls' artwork (":/kq/controls/<fileName>"); null when missing.
QPixmap loadControlArt(const QString &fileName);

} // namespace kq

#pragma once

#include <QString>

namespace kq {

// The product's web page, opened from the management window, the main window's help menu and the
// About window.
inline const QString ProductWebPage = QStringLiteral("https://quorvex.example.org/");

} // namespace kq

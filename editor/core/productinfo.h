#pragma once

#include <QString>

namespace kq {

// The product's name: the main window's title without a project file, and the splash window's.
inline const QString ProductTitle = QStringLiteral("Kestrane Quorvex");

// The product's web page, opened from the management window, the main window's help menu and the
// About window.
inline const QString ProductWebPage = QStringLiteral("https://quorvex.example.org/");

} // namespace kq

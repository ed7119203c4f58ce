#pragma once

#include <QString>

namespace kq {

// The folder that holds the editor and everything it reads and writes beside it (Languages,
// Themes, Plugins, Samples, Runner). It is the running executable's folder unless set.
QString programFolder();
// An empty path returns to the executable's folder.
void setProgramFolder(const QString &path);

// A path below the program folder, such as "Themes/standart.tvth", joined with "/".
QString programPath(const QString &relative);

} // namespace kq

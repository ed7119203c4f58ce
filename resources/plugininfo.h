#pragma once

#include <QString>

namespace kq {

// One header value of a plug-in description file: "GetName", "GetAuthor", "GetVersion"; any
// other selector gives "" for a valid file. Error codes "PlugErr1" to "PlugErr3".
QString pluginHeaderValue(const QString &path, const QString &selector);

// The line after "[Description]" with every "#" turned into a line break (CR LF); "PlugErr3"
// without that section, "<n>PlugErrGen" when the file cannot be read.
QString pluginDescriptionText(const QString &path);

} // namespace kq

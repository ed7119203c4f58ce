#pragma once

#include "projectcheck.h"

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The editor's own look: its pictures, its application icon and the font of its lists.
namespace kq::EditorLook {

// The font of the editor's lists and text boxes: "Courier New", or the system's fixed-pitch
// font where it is missing.
QFont fixedPitchFont();

// A picture of the editor's artwork by its path below ":/kq/editor/", such as "splash.png" or
// "mainwindow/new.png", read as PNG without asking Qt's image-format plug-ins; null when missing.
QPixmap artwork(const QString &path);

// The application icon of the desktop entry, in its 48 and 256 pixel pictures, for the windows'
// title bars and task switchers.
QIcon applicationIcon();

// The mark of a finding of the project check: the error or warning picture of the classic icon
// strip. Never the desktop's icon theme, which Qt searches file by file when its cache is stale.
QIcon findingIcon(Finding::Severity severity);

} // namespace kq::EditorLook

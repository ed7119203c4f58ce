#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QComboBox;
class QPushButton;
class QWidget;

namespace kq::management {

// Resource ids are "%" and four digits: resId(201) is "%0201", resId(22) is "%0022".
QString resId(int number);

// The files of a folder below the program folder that match pattern, in name order.
QStringList folderEntries(const QString &folder, const QString &pattern);

// Cuts paths at the first entry that valid() refuses and returns the texts shown for the rest.
QStringList validEntries(QStringList &paths, const std::function<bool(const QString &)> &valid,
                         const std::function<QString(const QString &)> &text);

// A listed language or theme: its name, marked with "*" when the user made it.
QString listedName(const QString &name, const QString &status);

// A push button designed with a resource id as its caption. No button of the window is a
// default button: Enter in a list must not close the window or run a command.
QPushButton *captionButton(const QString &name, const QString &caption, QWidget *parent);

// A drop-down list in the fixed-pitch font, as wide as `characters` characters whatever it holds.
QComboBox *dropDown(const QString &name, int characters, QWidget *parent);

// The new, delete and save picture buttons of the language and theme panels, named prefix0 to
// prefix2.
std::array<QPushButton *, 3> pictureButtons(const QString &prefix, QWidget *parent);

} // namespace kq::management

#pragma once

#include "theme.h"

#include <QColor>
#include <QObject>

#include <array>
#include <initializer_list>

class QLabel;
class QWidget;

namespace kq {

// Enables or disables the controls and tells whether any of them was set the other way before:
// only then do their colours need painting again.
bool setControlsEnabled(std::initializer_list<QWidget *> controls, bool enabled);

// Puts the active theme's colours onto a window's controls. It keeps its own copy of the eleven
// colours, read when the settings are applied, and paints every control by its kind and by
// whether it is enabled at that moment, so whoever enables or disables controls paints again.
class ThemePainter : public QObject
{
    Q_OBJECT

public:
    // The status line stays black whatever the theme gives the other labels.
    ThemePainter(QWidget &window, QLabel &statusLine);

    // Makes the theme file of the settings the active one and copies its colours.
    void readTheme();
    QColor color(ThemeColorKey key) const;
    // The window's background, the framed areas, the icon picture and every label, box, list,
    // option and push button, in the window's own order.
    void paint();

private:
    void paintControl(QWidget *control);

    QWidget &mWindow;
    QLabel &mStatusLine;
    std::array<qint32, ThemeColorCount> mColors{};
};

} // namespace kq

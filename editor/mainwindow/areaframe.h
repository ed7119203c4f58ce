#pragma once

#include <QFrame>

namespace kq {

// One framed area of the main window (the list, the panel, the script box, the style box): a
// named frame with a background of its own, which the theme paints, and mouse tracking, so that
// the status line can show the area's hint while the mouse is over its background.
class AreaFrame : public QFrame
{
    Q_OBJECT

public:
    AreaFrame(const QString &name, QWidget *parent = nullptr);
};

} // namespace kq

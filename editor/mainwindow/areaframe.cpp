#include "areaframe.h"

namespace kq {

AreaFrame::AreaFrame(const QString &name, QWidget *parent) : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

} // namespace kq

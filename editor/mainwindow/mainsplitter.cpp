#include "mainsplitter.h"

#include <QResizeEvent>

namespace kq {

MainSplitter::MainSplitter(QWidget *editing, QWidget *flow, QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("main_splitter"));
    addWidget(editing);
    addWidget(flow);
    // The flow picture can be pushed out of the way; the editing areas cannot.
    setCollapsible(0, false);
    setCollapsible(1, true);
}

void MainSplitter::restoreSplit(const QByteArray &state, int width, int editingWidth)
{
    // A state of another Qt version or edited by hand is ignored.
    if (restoreState(state))
        return;
    splitAsDesigned(width, editingWidth);
}

void MainSplitter::bringBackFlow(int editingWidth)
{
    if (sizes().value(1) == 0)
        splitAsDesigned(width(), editingWidth);
}

void MainSplitter::splitAsDesigned(int width, int editingWidth)
{
    const int editing = qMax(widget(0)->minimumWidth(), qMin(editingWidth, width - 200));
    setSizes({editing, width - editing});
}

void MainSplitter::resizeEvent(QResizeEvent *event)
{
    shareWidthChange(*event);
    QSplitter::resizeEvent(event);
}

void MainSplitter::shareWidthChange(const QResizeEvent &event)
{
    // The first layout of the window, and a flow picture pushed out of the way, keep the split
    // as it is.
    const int change = event.size().width() - event.oldSize().width();
    QList<int> sizes = this->sizes();
    if (!event.oldSize().isValid() || !isVisible() || change == 0 || sizes.at(1) == 0)
        return;
    sizes[0] += change / 4;
    sizes[1] += change - change / 4;
    setSizes(sizes);
}

} // namespace kq

#pragma once

#include <QSplitter>

namespace kq {

// The split between the editing areas (left) and the flow tabs (right). The editing areas hold
// short texts, so when the window gets wider or narrower a quarter of the change goes to them
// and the rest to the flow picture. The editing areas cannot be collapsed; the flow tabs can.
class MainSplitter : public QSplitter
{
    Q_OBJECT

public:
    MainSplitter(QWidget *editing, QWidget *flow, QWidget *parent = nullptr);

    // The split the settings keep; without one, the editing areas get their designed width
    // (editingWidth) out of width and the flow tabs the rest.
    void restoreSplit(const QByteArray &state, int width, int editingWidth);
    // Flow tabs pushed out of the way come back with their designed share of the width.
    void bringBackFlow(int editingWidth);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void shareWidthChange(const QResizeEvent &event);
    void splitAsDesigned(int width, int editingWidth);
};

} // namespace kq

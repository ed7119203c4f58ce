#pragma once

#include <QRect>
#include <QTimer>
#include <QWidget>

namespace kq {

// Skinned progress bar, 16 pixels high: a dark track, a green fill of Value per cent and a
// light glint that runs along the fill, moved by a 15 ms drawing tick.
class KXToolBar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Value READ value WRITE setValue)

public:
    static constexpr int BarHeight = 16;
    static constexpr int GlintWidth = 90;

    explicit KXToolBar(QWidget *parent = nullptr);
    ~KXToolBar() override;

    int value() const { return mValue; }
    // Clamped to 0..100; shown from the next tick on.
    void setValue(int value);

    // (percent * width) div 100.
    int percentToWidth(int percent) const;

    // One 15 ms drawing tick: moves the glint and repaints.
    void tick();
    bool isTickTimerActive() const { return mDraw.isActive(); }

    // Left edge of the glint, and the parts a paint draws now, in the control's pixels.
    int glintPosition() const { return mGlint; }
    QRect fillRect() const;
    QRect glintRect() const; // the visible, cut part of the glint; empty when nothing shows
    int glintCut() const { return percentToWidth(mValue) + 2; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int mValue = 0;
    int mGlint = 0;
    QTimer mDraw;
};

} // namespace kq

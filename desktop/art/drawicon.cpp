// Draws the application icon, <out>/48/kestrane-quorvex.png and <out>/256/kestrane-quorvex.png:
// two dialog windows in cascade, the front one with a message line, a progress bar and a button,
// in the blues of the splash picture.
#include <cstdio>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Navy(28, 47, 94);
const QColor Blue(47, 95, 179);
const QColor Teal(38, 156, 172);

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// A soft shadow below a card, a few translucent rounded rectangles growing outwards.
void shadow(QPainter &p, const QRectF &card, qreal radius, qreal unit)
{
    p.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        const qreal grow = i * unit * 0.6;
        p.setBrush(QColor(20, 40, 80, 16));
        p.drawRoundedRect(card.translated(0, unit).adjusted(-grow, -grow, grow, grow),
                          radius + grow, radius + grow);
    }
}

// One dialog window: a rounded card with a title bar in a gradient and a thin outline.
QPainterPath card(QPainter &p, const QRectF &r, const QColor &face, const QColor &barFrom,
                  const QColor &barTo, qreal unit)
{
    const qreal radius = unit * 3;
    shadow(p, r, radius, unit);
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    p.fillPath(shape, face);

    QLinearGradient bar(r.left(), 0, r.right(), 0);
    bar.setColorAt(0, barFrom);
    bar.setColorAt(1, barTo);
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), unit * 9), bar);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(Navy, 110), unit * 0.9));
    p.drawPath(shape);
    return shape;
}

// The icon on a square of `size` pixels; all measures are in units of size / 64.
QImage icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 64.0;

    card(p, QRectF(4 * u, 6 * u, 42 * u, 34 * u), QColor(222, 233, 246), QColor(150, 178, 216),
         QColor(160, 196, 214), u);

    const QRectF front(16 * u, 20 * u, 44 * u, 38 * u);
    card(p, front, Qt::white, Navy, Teal, u);

    p.setPen(Qt::NoPen);
    // The message line.
    p.setBrush(QColor(170, 188, 214));
    p.drawRoundedRect(QRectF(front.left() + 5 * u, front.top() + 13 * u, 26 * u, 4 * u), 2 * u,
                      2 * u);
    // The progress bar, two thirds full.
    const QRectF track(front.left() + 5 * u, front.top() + 21 * u, 34 * u, 5 * u);
    p.setBrush(QColor(214, 224, 238));
    p.drawRoundedRect(track, 2.5 * u, 2.5 * u);
    QLinearGradient fill(track.left(), 0, track.right(), 0);
    fill.setColorAt(0, Blue);
    fill.setColorAt(1, Teal);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(track.topLeft(), QSizeF(track.width() * 0.66, track.height())),
                      2.5 * u, 2.5 * u);
    // The button in the corner.
    const QRectF button(front.right() - 19 * u, front.bottom() - 9 * u, 14 * u, 5.5 * u);
    QLinearGradient push(0, button.top(), 0, button.bottom());
    push.setColorAt(0, Teal.lighter(118));
    push.setColorAt(1, Teal);
    p.setBrush(push);
    p.drawRoundedRect(button, 2.75 * u, 2.75 * u);
    // Window controls on the title bar, only where they stay legible.
    if (size >= 64) {
        p.setBrush(QColor(255, 255, 255, 210));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(front.right() - (5 + 4.5 * i) * u, front.top() + 4.5 * u),
                          1.3 * u, 1.3 * u);
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    int failures = 0;
    for (const int size : {48, 256}) {
        const QString folder = QString::number(size);
        out.mkpath(folder);
        const QString path = out.filePath(folder + QStringLiteral("/kestrane-quorvex.png"));
        if (!icon(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

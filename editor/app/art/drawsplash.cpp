// Draws the editor's splash picture (569 x 198) and About picture (569 x 376) as PNG files.
#include <cstdio>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor Navy(28, 47, 94);
const QColor Blue(47, 95, 179);
const QColor Teal(38, 156, 172);
const QColor Ink(84, 104, 138);
const QString Family = QStringLiteral("DejaVu Sans");

QDir gOut;

void save(const QImage &image, const char *name)
{
    const QString path = gOut.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QFont pixelFont(qreal px, QFont::Weight weight = QFont::Normal)
{
    QFont f(Family);
    f.setPixelSize(qRound(px));
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// A pale sky: white at the top, a cool light blue at the foot, a soft glow at the upper right.
void background(QPainter &p, const QSize &size)
{
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(255, 255, 255));
    sky.setColorAt(1, QColor(232, 240, 249));
    p.fillRect(QRect(QPoint(), size), sky);

    QRadialGradient glow(size.width() * 0.86, size.height() * 0.15, size.height() * 1.1);
    glow.setColorAt(0, QColor(206, 226, 248, 170));
    glow.setColorAt(1, QColor(206, 226, 248, 0));
    p.fillRect(QRect(QPoint(), size), glow);
}

// Two translucent ribbons sweeping up towards the right edge, ending on the accent band.
void ribbons(QPainter &p, const QSize &size, qreal rise, int strength)
{
    const qreal w = size.width();
    const qreal h = size.height();
    for (int i = 0; i < 2; ++i) {
        const qreal lift = rise * (i == 0 ? 1.0 : 0.62);
        QPainterPath wave;
        wave.moveTo(w * 0.18, h);
        wave.cubicTo(w * 0.45, h - lift * 0.05, w * 0.7, h - lift * 0.35, w, h - lift);
        wave.lineTo(w, h);
        wave.closeSubpath();
        QLinearGradient fill(w * 0.2, 0, w, 0);
        fill.setColorAt(0, withAlpha(Teal, 0));
        fill.setColorAt(0.55, withAlpha(Teal, strength / (i + 1)));
        fill.setColorAt(1, withAlpha(Blue, strength * 3 / (2 * (i + 1))));
        p.fillPath(wave, fill);
    }
}

void accentBand(QPainter &p, const QRectF &band)
{
    QLinearGradient fill(band.left(), 0, band.right(), 0);
    fill.setColorAt(0, Navy);
    fill.setColorAt(0.55, Blue);
    fill.setColorAt(1, Teal);
    p.fillRect(band, fill);
}

// A hairline that fades out to the right.
void rule(QPainter &p, qreal x, qreal y, qreal width)
{
    QLinearGradient fill(x, 0, x + width, 0);
    fill.setColorAt(0, withAlpha(Blue, 150));
    fill.setColorAt(1, withAlpha(Teal, 0));
    p.fillRect(QRectF(x, y, width, 1.5), fill);
}

void softShadow(QPainter &p, const QRectF &card, qreal radius)
{
    p.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        p.setBrush(QColor(20, 40, 80, 9));
        p.drawRoundedRect(card.translated(0, 2.5).adjusted(-i, -i + 1, i, i), radius + i,
                          radius + i);
    }
}

// One small dialog window: a rounded card with a title bar, two text lines and a button.
void card(QPainter &p, const QRectF &r, const QColor &face, const QColor &barFrom,
          const QColor &barTo, bool detailed)
{
    const qreal radius = r.height() * 0.09;
    softShadow(p, r, radius);

    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    p.fillPath(shape, face);

    const qreal barHeight = r.height() * 0.2;
    QLinearGradient bar(r.left(), 0, r.right(), 0);
    bar.setColorAt(0, barFrom);
    bar.setColorAt(1, barTo);
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), barHeight), bar);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(Navy, 70), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    if (!detailed)
        return;
    const qreal unit = r.height() / 60.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 204, 224));
    const qreal textLeft = r.left() + 9 * unit;
    p.drawRoundedRect(QRectF(textLeft, r.top() + 20 * unit, r.width() * 0.62, 4.5 * unit), 2 * unit,
                      2 * unit);
    p.drawRoundedRect(QRectF(textLeft, r.top() + 29 * unit, r.width() * 0.42, 4.5 * unit), 2 * unit,
                      2 * unit);

    const QRectF button(r.right() - 31 * unit, r.bottom() - 15 * unit, 23 * unit, 9 * unit);
    QLinearGradient push(0, button.top(), 0, button.bottom());
    push.setColorAt(0, Teal.lighter(118));
    push.setColorAt(1, Teal);
    p.setBrush(push);
    p.drawRoundedRect(button, 4.5 * unit, 4.5 * unit);

    // Three dots on the title bar, as a window shows its controls.
    p.setBrush(QColor(255, 255, 255, 200));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(r.right() - (7 + 6 * i) * unit, r.top() + barHeight / 2), 1.6 * unit,
                      1.6 * unit);
}

// Three dialog windows in cascade: the steps of a dialog program.
void emblem(QPainter &p, const QPointF &origin, qreal scale)
{
    const QSizeF size(84 * scale, 60 * scale);
    const QPointF step(19 * scale, 15 * scale);
    card(p, QRectF(origin, size), QColor(214, 227, 243), QColor(150, 178, 216),
         QColor(160, 196, 214), false);
    card(p, QRectF(origin + step, size), QColor(234, 241, 250), QColor(92, 134, 200),
         QColor(88, 170, 186), false);
    card(p, QRectF(origin + step * 2, size), QColor(255, 255, 255), Navy, Teal, true);
}

// "Kestrane" in the regular weight and "Quorvex" in bold, shrunk to fit the width given.
void title(QPainter &p, const QPointF &baseline, qreal px, qreal maxWidth)
{
    const QString first = QStringLiteral("Kestrane ");
    const QString second = QStringLiteral("Quorvex");
    for (;;) {
        const qreal width = QFontMetricsF(pixelFont(px)).horizontalAdvance(first) +
                            QFontMetricsF(pixelFont(px, QFont::Bold)).horizontalAdvance(second);
        if (width <= maxWidth || px < 12)
            break;
        px -= 0.5;
    }
    p.setFont(pixelFont(px));
    p.setPen(Blue);
    p.drawText(baseline, first);
    const qreal advance = QFontMetricsF(pixelFont(px)).horizontalAdvance(first);
    p.setFont(pixelFont(px, QFont::Bold));
    p.setPen(Navy);
    p.drawText(baseline + QPointF(advance, 0), second);
}

void text(QPainter &p, const QPointF &baseline, const QString &line, qreal px, const QColor &c,
          qreal spacing = 0)
{
    QFont f = pixelFont(px);
    f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    p.setFont(f);
    p.setPen(c);
    p.drawText(baseline, line);
}

// Both pictures share the sky, the ribbons, the accent band at the foot and a hairline frame;
// `content` draws what lies between.
template <typename Content>
QImage picture(const QSize &size, qreal ribbonRise, int ribbonStrength, Content content)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    background(p, size);
    ribbons(p, size, ribbonRise, ribbonStrength);
    content(p);

    accentBand(p, QRectF(0, size.height() - 5, size.width(), 5));
    p.setPen(QPen(withAlpha(Navy, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    return img;
}

QImage splash()
{
    return picture(QSize(569, 198), 120, 34, [](QPainter &p) {
        emblem(p, QPointF(30, 44), 1.15);
        title(p, QPointF(196, 92), 36, 348);
        rule(p, 198, 106, 330);
        text(p, QPointF(198, 130), QStringLiteral("Dialog programs, step by step"), 14, Ink, 0.6);
        text(p, QPointF(198, 168), QStringLiteral("VERSION 2.0 BETA"), 10.5, withAlpha(Ink, 190),
             1.6);
    });
}

// The top holds the emblem and the title; the lower part stays calm for the text lines.
QImage about()
{
    return picture(QSize(569, 376), 90, 18, [](QPainter &p) {
        QLinearGradient head(0, 0, 0, 100);
        head.setColorAt(0, QColor(255, 255, 255, 0));
        head.setColorAt(1, QColor(222, 234, 248, 150));
        p.fillRect(QRectF(0, 0, 569, 100), head);
        emblem(p, QPointF(22, 14), 0.78);
        title(p, QPointF(146, 52), 28, 390);
        text(p, QPointF(148, 76), QStringLiteral("Dialog programs, step by step"), 12.5, Ink, 0.5);
        accentBand(p, QRectF(0, 100, 569, 2));
        rule(p, 28, 286, 420);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    gOut = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    save(splash(), "splash.png");
    save(about(), "about.png");
    return 0;
}

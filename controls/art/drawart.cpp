// Draws the button skins, the progress bar pictures and the two icon strips as PNG files.
#include <cmath>
#include <cstdio>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QDir gOut;

void save(const QImage &image, const char *name)
{
    const QString path = gOut.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

int lerp(int a, int b, double t)
{
    return int(std::lround(a + (b - a) * t));
}

QColor lerp(const QColor &a, const QColor &b, double t)
{
    return QColor(lerp(a.red(), b.red(), t), lerp(a.green(), b.green(), t),
                  lerp(a.blue(), b.blue(), t));
}

QColor grey(int v)
{
    return QColor(v, v, v);
}

// Button skins: 9 x 23 on the light window grey.
constexpr int SkinW = 9;
constexpr int SkinH = 23;
constexpr int Back = 240;

// Rounded frame: the corner pixel is the background, its neighbours a blend of frame and
// background, so the 1-pixel frame reads as rounded.
void roundedFrame(QImage &img, const QColor &frame)
{
    const QColor corner = lerp(frame, grey(Back), 0.55);
    for (int x = 1; x < SkinW - 1; ++x) {
        img.setPixelColor(x, 0, frame);
        img.setPixelColor(x, SkinH - 1, frame);
    }
    for (int y = 1; y < SkinH - 1; ++y) {
        img.setPixelColor(0, y, frame);
        img.setPixelColor(SkinW - 1, y, frame);
    }
    for (int cx : {0, SkinW - 1}) {
        for (int cy : {0, SkinH - 1}) {
            img.setPixelColor(cx, cy, grey(Back));
            const int ix = cx == 0 ? 1 : cx - 1;
            const int iy = cy == 0 ? 1 : cy - 1;
            img.setPixelColor(ix, cy, corner);
            img.setPixelColor(cx, iy, corner);
            img.setPixelColor(ix, iy, lerp(frame, img.pixelColor(ix, iy), 0.6));
        }
    }
}

// Face value of the hover skin for inner row r (1..21): light top half, a step to the
// darkest line in the middle, then brighter again towards the bottom.
int hoverFace(int r)
{
    if (r <= 10)
        return lerp(250, 232, (r - 1) / 9.0);
    return lerp(218, 244, (r - 11) / 10.0);
}

QImage skin(int (*face)(int), int frame)
{
    QImage img(SkinW, SkinH, QImage::Format_RGB32);
    for (int y = 1; y < SkinH - 1; ++y)
        for (int x = 1; x < SkinW - 1; ++x)
            img.setPixelColor(x, y, grey(face(y)));
    roundedFrame(img, grey(frame));
    return img;
}

int pressedFace(int r)
{
    return hoverFace(SkinH - 1 - r);
}

int raisedFace(int r)
{
    if (r <= 10)
        return lerp(237, 189, (r - 1) / 9.0);
    return lerp(213, 232, (r - 11) / 10.0);
}

QImage raisedSkin()
{
    QImage img = skin(raisedFace, 125);
    // Light inner edges: top row and both inner columns brightened.
    for (int x = 2; x < SkinW - 2; ++x)
        img.setPixelColor(x, 1, grey(250));
    for (int y = 2; y < SkinH - 2; ++y) {
        for (int x : {1, SkinW - 2}) {
            const int v = img.pixelColor(x, y).red();
            img.setPixelColor(x, y, grey(qMin(255, v + 14)));
        }
    }
    return img;
}

void drawSkins()
{
    save(skin(hoverFace, 168), "skin0.png");
    save(skin(pressedFace, 168), "skin1.png");
    QImage flat(SkinW, SkinH, QImage::Format_RGB32);
    flat.fill(grey(Back));
    save(flat, "skin2.png");
    save(raisedSkin(), "skin10.png");
}

// The progress bar's fill colour in row r of its 16 rows (skin 3 x 16, glint 90 x 16): lightest
// at row 5, deep green at the bottom.
QColor fillColour(int r)
{
    if (r <= 5)
        return lerp(QColor(0, 204, 0), QColor(128, 230, 128), (r - 1) / 4.0);
    return lerp(QColor(40, 196, 40), QColor(3, 166, 3), (r - 6) / 8.0);
}

void drawBar()
{
    QImage skinImg(3, 16, QImage::Format_RGB32);
    skinImg.fill(Qt::black);
    for (int y = 1; y < 15; ++y) {
        skinImg.setPixelColor(1, y, fillColour(y));
        skinImg.setPixelColor(2, y, grey(102));
    }
    save(skinImg, "barskin.png");

    QImage light(90, 16, QImage::Format_RGB32);
    light.fill(Qt::black);
    for (int y = 1; y < 15; ++y) {
        const QColor base = fillColour(y);
        const QColor bright = lerp(base, QColor(255, 255, 255), 0.53);
        for (int x = 0; x < 90; ++x) {
            const double s = std::sin(M_PI * (x + 0.5) / 90.0);
            light.setPixelColor(x, y, lerp(base, bright, s * s));
        }
    }
    save(light, "barlight.png");
}

// Icon strips: 192 x 32, six 32 x 32 cells, magenta where they are see-through.
constexpr int Cell = 32;
const QColor Magenta(255, 0, 255);

// Antialiased drawing is flattened for a colour-keyed strip: mostly covered pixels become solid,
// their soft edge pre-blended on the light window background; the rest turns magenta.
QImage flatten(const QImage &argb)
{
    QImage out(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = argb.pixelColor(x, y);
            if (c.alpha() < 110) {
                out.setPixelColor(x, y, Magenta);
                continue;
            }
            QColor solid = lerp(grey(Back), QColor(c.red(), c.green(), c.blue()), c.alphaF());
            if (solid == Magenta)
                solid = QColor(254, 0, 254);
            out.setPixelColor(x, y, solid);
        }
    }
    return out;
}

QPainterPath exclamationPath(double cx, double top, double height, double width)
{
    QPainterPath path;
    const double stem = height * 0.66;
    path.addRoundedRect(QRectF(cx - width / 2, top, width, stem), width / 2.5, width / 2.5);
    const double dot = width * 1.05;
    path.addEllipse(QRectF(cx - dot / 2, top + height - dot, dot, dot));
    return path;
}

QPainterPath infoPath(double cx, double top, double height, double width)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill); // the serifs overlap the stem
    const double dot = width * 1.1;
    path.addEllipse(QRectF(cx - dot / 2, top, dot, dot));
    const double stemTop = top + dot + width * 0.45;
    path.addRect(QRectF(cx - width / 2, stemTop, width, top + height - stemTop));
    // Small serifs: left of the stem's top, both sides of its foot.
    path.addRect(QRectF(cx - width / 2 - width * 0.45, stemTop, width * 0.45, width * 0.5));
    path.addRect(QRectF(cx - width / 2 - width * 0.45, top + height - width * 0.5, width * 1.9,
                        width * 0.5));
    return path.simplified();
}

// Question mark built from a stroked hook and a round dot.
void drawQuestion(QPainter &p, double cx, double top, double height, double width,
                  const QColor &colour)
{
    const double r = height * 0.22;
    QPainterPath hook;
    const QPointF centre(cx, top + r + width / 2);
    hook.arcMoveTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 165);
    hook.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 165, -245);
    hook.quadTo(QPointF(cx, centre.y() + r * 0.9), QPointF(cx, top + height * 0.66));
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double dot = width * 1.1;
    p.drawEllipse(QRectF(cx - dot / 2, top + height - dot, dot, dot));
    p.restore();
}

void drawCross(QPainter &p, const QPointF &c, double arm, double width, const QColor &colour)
{
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    p.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
    p.restore();
}

// White highlight fading downwards over the given area.
void drawSheen(QPainter &p, const QRectF &area, int topAlpha, int bottomAlpha, bool round)
{
    QLinearGradient sheen(0, area.top(), 0, area.bottom());
    sheen.setColorAt(0, QColor(255, 255, 255, topAlpha));
    sheen.setColorAt(1, QColor(255, 255, 255, bottomAlpha));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    if (round)
        p.drawEllipse(area);
    else
        p.drawRect(area);
}

// A glossy ball: radial body, darker rim, white sheen over the upper half.
void glossyBall(QPainter &p, const QColor &light, const QColor &dark, const QColor &rim)
{
    const QRectF ball(2.5, 2.5, 27, 27);
    QRadialGradient body(QPointF(13, 11), 18, QPointF(11, 9));
    body.setColorAt(0, light);
    body.setColorAt(1, dark);
    p.setPen(QPen(rim, 1.2));
    p.setBrush(body);
    p.drawEllipse(ball);
    drawSheen(p, QRectF(6.5, 3.6, 19, 12), 220, 20, true);
}

void glossyBox(QPainter &p, bool glossy)
{
    // Front, side and top faces of a cardboard box in a simple oblique view.
    const QPolygonF front({QPointF(3, 12), QPointF(21, 12), QPointF(21, 29), QPointF(3, 29)});
    const QPolygonF side({QPointF(21, 12), QPointF(29, 5), QPointF(29, 22), QPointF(21, 29)});
    const QPolygonF top({QPointF(3, 12), QPointF(11, 5), QPointF(29, 5), QPointF(21, 12)});
    const QColor outline = glossy ? QColor(110, 70, 25) : QColor(0, 0, 0);
    p.setPen(QPen(outline, 1));
    if (glossy) {
        QLinearGradient f(0, 12, 0, 29);
        f.setColorAt(0, QColor(232, 186, 120));
        f.setColorAt(1, QColor(196, 140, 72));
        p.setBrush(f);
    } else {
        p.setBrush(QColor(214, 170, 100));
    }
    p.drawPolygon(front);
    p.setBrush(glossy ? QColor(176, 122, 58) : QColor(168, 120, 60));
    p.drawPolygon(side);
    p.setBrush(glossy ? QColor(246, 212, 160) : QColor(236, 200, 140));
    p.drawPolygon(top);
    // Packing tape over the top and down the front.
    const QColor tape = glossy ? QColor(250, 236, 200) : QColor(250, 240, 210);
    p.setPen(QPen(outline, 0.8));
    p.setBrush(tape);
    p.drawPolygon(QPolygonF({QPointF(9, 12), QPointF(15, 12), QPointF(23, 5), QPointF(17, 5)}));
    p.drawRect(QRectF(9, 12, 6, 7));
    if (glossy)
        drawSheen(p, QRectF(3.5, 12.5, 17, 8), 110, 0, false);
}

void drawGlossyCell(QPainter &p, int code)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (code) {
    case 1:
        glossyBall(p, QColor(255, 120, 105), QColor(190, 20, 15), QColor(130, 0, 0));
        drawCross(p, QPointF(16, 16.5), 5.5, 3.6, Qt::white);
        break;
    case 2:
        glossyBall(p, QColor(255, 226, 110), QColor(232, 150, 0), QColor(160, 95, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 42, 0));
        p.drawPath(exclamationPath(16, 7.5, 18, 3.8));
        break;
    case 3:
        glossyBall(p, QColor(120, 185, 255), QColor(20, 80, 205), QColor(10, 45, 140));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(infoPath(16, 7.5, 17.5, 3.8));
        break;
    case 4:
        glossyBall(p, QColor(130, 220, 120), QColor(30, 135, 40), QColor(15, 85, 20));
        drawQuestion(p, 16, 7.5, 18, 3.6, Qt::white);
        break;
    case 5:
        glossyBox(p, true);
        break;
    default:
        break;
    }
}

// Speech balloon of the classic information and question icons.
void balloon(QPainter &p)
{
    QPainterPath path;
    path.addEllipse(QRectF(2.5, 1.5, 27, 23));
    QPainterPath tail;
    tail.moveTo(8, 19);
    tail.lineTo(5, 30);
    tail.lineTo(15, 22);
    tail.closeSubpath();
    path = path.united(tail);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 128));
    p.drawPath(path.translated(2, 2));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void drawClassicCell(QPainter &p, int code)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (code) {
    case 1: {
        const QRectF disc(2.5, 2.5, 26, 26);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(disc.translated(2, 2));
        p.setPen(QPen(QColor(128, 0, 0), 1));
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(disc);
        drawCross(p, disc.center(), 5.5, 3.4, Qt::white);
        break;
    }
    case 2: {
        const QPolygonF triangle({QPointF(15.5, 2), QPointF(29.5, 28), QPointF(1.5, 28)});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawPolygon(triangle.translated(2, 2));
        p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(triangle);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(exclamationPath(15.5, 9.5, 15.5, 3.2));
        break;
    }
    case 3:
        balloon(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 255));
        p.drawPath(infoPath(16, 5, 16, 3.4));
        break;
    case 4:
        balloon(p);
        drawQuestion(p, 16, 5, 16, 3.4, QColor(0, 0, 255));
        break;
    case 5:
        glossyBox(p, false);
        break;
    default:
        break;
    }
}

void drawStrip(void (*cell)(QPainter &, int), const char *name)
{
    QImage argb(6 * Cell, Cell, QImage::Format_ARGB32_Premultiplied);
    argb.fill(Qt::transparent);
    QPainter p(&argb);
    for (int code = 0; code < 6; ++code) {
        p.save();
        p.translate(code * Cell, 0);
        p.setClipRect(0, 0, Cell, Cell);
        cell(p, code);
        p.restore();
    }
    p.end();
    save(flatten(argb.convertToFormat(QImage::Format_ARGB32)), name);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    gOut = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    drawSkins();
    drawBar();
    drawStrip(drawGlossyCell, "icons0.png");
    drawStrip(drawClassicCell, "icons1.png");
    return 0;
}

// Draws the main window's 16 x 16 pictures: the seven toolbar buttons, the four list buttons and
// the two script insert buttons.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>

namespace {

QDir gOut;

QImage canvas()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void save(const QImage &image, const char *name)
{
    const QString path = gOut.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void begin(QPainter &p, QImage &image)
{
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
}

QLinearGradient vertical(double top, double bottom, const QColor &a, const QColor &b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

// A round glossy button filling the picture, lit from the upper left.
void drawBall(QPainter &p, const QColor &light, const QColor &dark, const QColor &rim)
{
    QRadialGradient ball(QPointF(6, 5), 10);
    ball.setColorAt(0, light);
    ball.setColorAt(1, dark);
    p.setPen(QPen(rim, 1));
    p.setBrush(ball);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
}

// A sheet of paper with a folded corner and a green plus.
void drawNew()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(9.5, 0.5);
    sheet.lineTo(13.5, 4.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(110, 118, 130), 1));
    p.setBrush(vertical(0, 16, QColor(255, 255, 255), QColor(226, 232, 240)));
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(9.5, 0.5);
    fold.lineTo(9.5, 4.5);
    fold.lineTo(13.5, 4.5);
    p.setBrush(QColor(205, 212, 222));
    p.drawPath(fold);
    p.setPen(QPen(QColor(180, 188, 200), 1));
    for (double y : {7.5, 9.5, 11.5})
        p.drawLine(QPointF(4.5, y), QPointF(9.5, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 150, 60));
    p.drawRect(QRectF(10, 9, 2, 6));
    p.drawRect(QRectF(8, 11, 6, 2));
    p.end();
    save(image, "new.png");
}

// An open yellow folder.
void drawOpen()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    p.setPen(QPen(QColor(160, 118, 20), 1));
    QPainterPath back;
    back.moveTo(0.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(7.0, 5.0);
    back.lineTo(13.5, 5.0);
    back.lineTo(13.5, 13.5);
    back.lineTo(0.5, 13.5);
    back.closeSubpath();
    p.setBrush(vertical(3, 14, QColor(240, 200, 90), QColor(214, 160, 40)));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(3.0, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.0, 13.5);
    front.lineTo(0.5, 13.5);
    front.closeSubpath();
    p.setBrush(vertical(7, 14, QColor(255, 228, 130), QColor(240, 190, 60)));
    p.drawPath(front);
    p.end();
    save(image, "open.png");
}

// A blue diskette.
void drawSave()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.setPen(QPen(QColor(30, 60, 120), 1));
    p.setBrush(vertical(1, 15, QColor(80, 130, 210), QColor(40, 85, 165)));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 248));
    p.drawRect(QRectF(4, 2, 7, 5));
    p.setBrush(QColor(40, 85, 165));
    p.drawRect(QRectF(8, 3, 2, 3));
    p.setBrush(QColor(250, 250, 252));
    p.drawRoundedRect(QRectF(3.5, 9, 9, 5), 1, 1);
    p.setPen(QPen(QColor(170, 180, 195), 1));
    p.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
    p.end();
    save(image, "save.png");
}

// A green round "play" button.
void drawTest()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    drawBall(p, QColor(130, 220, 120), QColor(30, 140, 50), QColor(20, 100, 35));
    QPainterPath play;
    play.moveTo(6, 4);
    play.lineTo(12, 8);
    play.lineTo(6, 12);
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(play);
    p.end();
    save(image, "test.png");
}

// A brown parcel: the project packed into a program.
void drawBuild()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    p.setPen(QPen(QColor(120, 80, 30), 1));
    QPainterPath top;
    top.moveTo(1.5, 5.5);
    top.lineTo(5.5, 1.5);
    top.lineTo(14.5, 1.5);
    top.lineTo(10.5, 5.5);
    top.closeSubpath();
    p.setBrush(QColor(226, 180, 110));
    p.drawPath(top);
    QPainterPath side;
    side.moveTo(10.5, 5.5);
    side.lineTo(14.5, 1.5);
    side.lineTo(14.5, 10.5);
    side.lineTo(10.5, 14.5);
    side.closeSubpath();
    p.setBrush(QColor(170, 120, 55));
    p.drawPath(side);
    p.setBrush(vertical(5, 15, QColor(210, 160, 90), QColor(185, 135, 65)));
    p.drawRect(QRectF(1.5, 5.5, 9, 9));
    p.setPen(QPen(QColor(245, 235, 205), 1.5));
    p.drawLine(QPointF(6, 5.5), QPointF(6, 14.5));
    p.drawLine(QPointF(6, 5.5), QPointF(10, 1.5));
    p.end();
    save(image, "build.png");
}

// A grey gear wheel: program management.
void drawManage()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    const QPointF centre(8, 8);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const double outer = (i % 2 == 0) ? 7.4 : 5.6;
        const double a0 = (i - 0.5) * M_PI / teeth;
        const double a1 = (i + 0.5) * M_PI / teeth;
        const QPointF p0 = centre + QPointF(std::cos(a0) * outer, std::sin(a0) * outer);
        const QPointF p1 = centre + QPointF(std::cos(a1) * outer, std::sin(a1) * outer);
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, 2.3, 2.3);
    p.setPen(QPen(QColor(70, 76, 86), 1));
    QRadialGradient metal(QPointF(6, 5), 10);
    metal.setColorAt(0, QColor(200, 206, 214));
    metal.setColorAt(1, QColor(110, 118, 130));
    p.setBrush(metal);
    p.drawPath(gear.subtracted(hole));
    p.end();
    save(image, "manage.png");
}

// A blue round button with a white question mark.
void drawHelp()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    drawBall(p, QColor(110, 170, 240), QColor(30, 90, 190), QColor(20, 60, 140));
    QPainterPath mark;
    mark.moveTo(5.6, 6.2);
    mark.cubicTo(5.6, 3.2, 10.6, 3.2, 10.6, 6.0);
    mark.cubicTo(10.6, 7.8, 8.0, 8.0, 8.0, 10.0);
    p.setPen(QPen(Qt::white, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.0, 12.4), 1.15, 1.15);
    p.end();
    save(image, "help.png");
}

void drawPlus()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    QPainterPath plus;
    plus.addRect(QRectF(6.5, 2.5, 3, 11));
    plus.addRect(QRectF(2.5, 6.5, 11, 3));
    p.setPen(QPen(QColor(20, 110, 40), 1));
    p.setBrush(vertical(2, 14, QColor(110, 205, 110), QColor(40, 150, 60)));
    p.drawPath(plus.simplified());
    p.end();
    save(image, "list_new.png");
}

void drawCross()
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    p.setPen(QPen(QColor(150, 25, 25), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    p.setPen(QPen(QColor(230, 80, 70), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    p.end();
    save(image, "list_delete.png");
}

void drawArrow(bool up, const char *name)
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    QPainterPath arrow;
    arrow.moveTo(8, 1.5);
    arrow.lineTo(14.5, 8);
    arrow.lineTo(10.5, 8);
    arrow.lineTo(10.5, 14.5);
    arrow.lineTo(5.5, 14.5);
    arrow.lineTo(5.5, 8);
    arrow.lineTo(1.5, 8);
    arrow.closeSubpath();
    if (!up) {
        QTransform flip;
        flip.translate(0, 16);
        flip.scale(1, -1);
        arrow = flip.map(arrow);
    }
    p.setPen(QPen(QColor(25, 70, 150), 1));
    p.setBrush(vertical(1, 15, QColor(110, 165, 235), QColor(40, 95, 185)));
    p.drawPath(arrow);
    p.end();
    save(image, name);
}

// A green arrow into a numbered button: insert the script into button 1 or 2.
void drawInsert(int number, const char *name)
{
    QImage image = canvas();
    QPainter p;
    begin(p, image);
    p.setPen(QPen(QColor(90, 96, 106), 1));
    p.setBrush(vertical(6, 15, QColor(250, 250, 252), QColor(215, 220, 228)));
    p.drawRoundedRect(QRectF(6.5, 5.5, 9, 10), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 60, 120));
    // The digit as pixels, so it stays crisp at this size.
    static const char *const digits[2][6] = {
        {"..#.", ".##.", "..#.", "..#.", "..#.", ".###"},
        {".##.", "#..#", "...#", "..#.", ".#..", "####"},
    };
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 4; ++col)
            if (digits[number - 1][row][col] == '#')
                p.drawRect(QRectF(9 + col, 7 + row, 1, 1));
    QPainterPath arrow;
    arrow.moveTo(0.5, 2.5);
    arrow.lineTo(3.5, 2.5);
    arrow.lineTo(3.5, 0.5);
    arrow.lineTo(7.5, 4.0);
    arrow.lineTo(3.5, 7.5);
    arrow.lineTo(3.5, 5.5);
    arrow.lineTo(0.5, 5.5);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(20, 110, 40), 1));
    p.setBrush(QColor(60, 170, 70));
    p.drawPath(arrow);
    p.end();
    save(image, name);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    gOut = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    drawNew();
    drawOpen();
    drawSave();
    drawTest();
    drawBuild();
    drawManage();
    drawHelp();
    drawPlus();
    drawCross();
    drawArrow(true, "list_up.png");
    drawArrow(false, "list_down.png");
    drawInsert(1, "scr_ins0.png");
    drawInsert(2, "scr_ins1.png");
    return 0;
}

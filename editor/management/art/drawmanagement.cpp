// Draws the 16 x 16 pictures of the management window's small buttons: new, delete and save.
#include <cstdio>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Size = 16;

QImage canvas()
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void save(const QImage &image, const QDir &out, const char *name)
{
    const QString path = out.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A sheet of paper with a folded corner and a green plus sign.
QImage drawNew()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(2.5, 1.5);
    sheet.lineTo(9.5, 1.5);
    sheet.lineTo(12.5, 4.5);
    sheet.lineTo(12.5, 14.5);
    sheet.lineTo(2.5, 14.5);
    sheet.closeSubpath();
    QLinearGradient paper(0, 0, 12, 14);
    paper.setColorAt(0, QColor(255, 255, 255));
    paper.setColorAt(1, QColor(222, 228, 236));
    p.setBrush(paper);
    p.setPen(QPen(QColor(96, 108, 124), 1));
    p.drawPath(sheet);
    p.setBrush(QColor(200, 208, 220));
    p.drawPolygon(QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}));
    p.setPen(QPen(QColor(160, 170, 184), 1));
    for (double y : {7.5, 9.5, 11.5})
        p.drawLine(QPointF(4.5, y), QPointF(8.5, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 130, 52));
    p.drawRoundedRect(QRectF(9, 8, 7, 7), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(12, 9, 1, 5));
    p.drawRect(QRectF(10, 11, 5, 1));
    return image;
}

// A red cross with a darker edge.
QImage drawDelete()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(140, 20, 20), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    p.setPen(QPen(QColor(222, 52, 44), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return image;
}

// A blue floppy disk with its label and shutter.
QImage drawSave()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath disk;
    disk.moveTo(1.5, 1.5);
    disk.lineTo(12.5, 1.5);
    disk.lineTo(14.5, 3.5);
    disk.lineTo(14.5, 14.5);
    disk.lineTo(1.5, 14.5);
    disk.closeSubpath();
    QLinearGradient body(0, 0, 0, 16);
    body.setColorAt(0, QColor(70, 120, 200));
    body.setColorAt(1, QColor(36, 78, 150));
    p.setBrush(body);
    p.setPen(QPen(QColor(22, 48, 98), 1));
    p.drawPath(disk);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 248, 252));
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(36, 78, 150));
    p.drawRect(QRectF(9, 3, 2, 3));
    p.setBrush(QColor(210, 216, 226));
    p.drawRect(QRectF(4, 9.5, 8, 5));
    p.setPen(QPen(QColor(150, 158, 170), 1));
    p.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    save(drawNew(), out, "new.png");
    save(drawDelete(), out, "delete.png");
    save(drawSave(), out, "save.png");
    return 0;
}

#include "mainwindow_helpers.h"

#include <QFrame>
#include <QPushButton>

// The pictures live in a static library, so nothing would pull them in without this call.
static void initMainWindowResources()
{
    Q_INIT_RESOURCE(mainwindow);
}

namespace kq::mainwindow {

QPixmap art(const QString &fileName)
{
    static const bool initialised = [] {
        initMainWindowResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QPixmap(QStringLiteral(":/kq/editor/mainwindow/") + fileName);
}

QFont fixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(art(picture));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(30, 26);
    return button;
}

QFrame *panel(const QString &name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    frame->setMouseTracking(true);
    return frame;
}

QString toRecordText(const QString &boxText)
{
    QString text = boxText;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString toBoxText(const QString &recordText)
{
    QString text = recordText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace kq::mainwindow

#include "editorhelpers.h"

#include "language.h"
#include "programfolder.h"
#include "uiservices.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

// The pictures live in a static library, so nothing would pull them in without these calls.
static void initEditorResources()
{
    Q_INIT_RESOURCE(mainwindow);
    Q_INIT_RESOURCE(management);
    Q_INIT_RESOURCE(splash);
    Q_INIT_RESOURCE(appicon);
}

namespace kq::editor {

QFont fixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QPixmap artwork(const QString &path)
{
    static const bool initialised = [] {
        initEditorResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QPixmap(QStringLiteral(":/kq/editor/") + path);
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const char *size : {"48", "256"})
        icon.addPixmap(artwork(QStringLiteral("icon/") + QLatin1String(size) +
                               QStringLiteral(".png")));
    return icon;
}

void setWindowAlpha(QWidget *window, int alpha)
{
    window->setWindowOpacity(alpha / 255.0);
#if QT_CONFIG(xcb)
    // On X11 the property change waits in the connection's output buffer. Qt's glib event loop
    // sends that buffer only while it handles X events, and a timer tick is not one, so without
    // this flush a fade would reach the compositor seconds late, in one jump.
    // Other platforms may offer the X11 interface too (offscreen does), without a connection.
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
#endif
}

QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(artwork(picture));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(30, 26);
    button->setAutoDefault(false);
    return button;
}

QString toBoxText(const QString &recordText)
{
    QString text = recordText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString toRecordText(const QString &boxText)
{
    QString text = boxText;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void openReadme(UiServices &ui)
{
    const QString readme = programPath(QStringLiteral("readme.txt"));
    if (QFileInfo(readme).isFile())
        ui.openUrl(QUrl::fromLocalFile(readme));
}

void warnFailed(UiServices &ui, QWidget *parent, const QString &reason)
{
    const QString text = ResString(QStringLiteral("%0020"));
    ui.message(parent, text, text, UiServices::Icon::Warning, UiServices::Buttons::Ok, reason);
}

QString undoEntryText(const QString &id, const QString &commandText)
{
    const QString entry = ResString(id);
    return commandText.isEmpty() ? entry : entry + QStringLiteral(" (") + commandText + u')';
}

} // namespace kq::editor

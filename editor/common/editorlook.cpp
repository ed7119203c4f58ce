#include "editorlook.h"

#include "artwork.h"
#include "iconstrips.h"

// The pictures live in a static library, so nothing would pull them in without these calls.
static void initEditorResources()
{
    Q_INIT_RESOURCE(mainwindow);
    Q_INIT_RESOURCE(management);
    Q_INIT_RESOURCE(splash);
    Q_INIT_RESOURCE(appicon);
}

namespace kq::EditorLook {

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
    return QPixmap::fromImage(readPng(QStringLiteral(":/kq/editor/") + path));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const char *size : {"48", "256"})
        icon.addPixmap(
            artwork(QStringLiteral("icon/") + QLatin1String(size) + QStringLiteral(".png")));
    return icon;
}

QIcon findingIcon(Finding::Severity severity)
{
    // The classic strip's cells 1 and 2 are its error and warning pictures.
    const int cell = severity == Finding::Severity::Error ? 1 : 2;
    const int side = iconStrip(1).height();
    return QIcon(iconStrip(1).copy(cell * side, 0, side, side));
}

} // namespace kq::EditorLook

#include "olecolor.h"

#include <QGuiApplication>

#include <iterator>

namespace kq {

namespace {

struct SystemColor
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Index by index the palette entry nearest to the system colour of that number.
SystemColor systemColor(int index)
{
    constexpr QPalette::ColorGroup Active = QPalette::Active;
    constexpr QPalette::ColorGroup Disabled = QPalette::Disabled;
    static constexpr SystemColor table[] = {
        {Active, QPalette::Mid},             // 0 scroll bar
        {Active, QPalette::Window},          // 1 desktop
        {Active, QPalette::Highlight},       // 2 active caption
        {Active, QPalette::Mid},             // 3 inactive caption
        {Active, QPalette::Window},          // 4 menu
        {Active, QPalette::Base},            // 5 window
        {Active, QPalette::Shadow},          // 6 window frame
        {Active, QPalette::WindowText},      // 7 menu text
        {Active, QPalette::Text},            // 8 window text
        {Active, QPalette::HighlightedText}, // 9 caption text
        {Active, QPalette::Button},          // 10 active border
        {Active, QPalette::Button},          // 11 inactive border
        {Active, QPalette::Mid},             // 12 application workspace
        {Active, QPalette::Highlight},       // 13 highlight
        {Active, QPalette::HighlightedText}, // 14 highlight text
        {Active, QPalette::Button},          // 15 button face
        {Active, QPalette::Dark},            // 16 button shadow
        {Disabled, QPalette::Text},          // 17 grey text
        {Active, QPalette::ButtonText},      // 18 button text
        {Disabled, QPalette::WindowText},    // 19 inactive caption text
        {Active, QPalette::Light},           // 20 button highlight
        {Active, QPalette::Shadow},          // 21 3D dark shadow
        {Active, QPalette::Midlight},        // 22 3D light
        {Active, QPalette::ToolTipText},     // 23 info text
        {Active, QPalette::ToolTipBase},     // 24 info background
        {Active, QPalette::Window},          // 25 unused
        {Active, QPalette::Link},            // 26 hot-tracked item
        {Active, QPalette::Highlight},       // 27 active caption gradient
        {Active, QPalette::Mid},             // 28 inactive caption gradient
        {Active, QPalette::Highlight},       // 29 menu highlight
        {Active, QPalette::Window},          // 30 menu bar
    };
    if (index < 0 || index >= int(std::size(table)))
        return {Active, QPalette::Window};
    return table[index];
}

} // namespace

QColor colorFromOle(qint32 value, const QPalette &palette)
{
    const quint32 bits = quint32(value);
    if (value < 0) {
        const SystemColor system = systemColor(int(bits & 0xFF));
        return palette.color(system.group, system.role);
    }
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

QColor colorFromOle(qint32 value)
{
    // Without a GUI application object there is no application palette to ask.
    const bool gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return colorFromOle(value, gui ? QGuiApplication::palette() : QPalette());
}

qint32 oleFromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return qint32(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

} // namespace kq

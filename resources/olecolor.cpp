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
    constexpr QPalette::ColorGroup active = QPalette::Active;
    constexpr QPalette::ColorGroup disabled = QPalette::Disabled;
    static constexpr SystemColor table[] = {
        {active, QPalette::Mid},             // 0 scroll bar
        {active, QPalette::Window},          // 1 desktop
        {active, QPalette::Highlight},       // 2 active caption
        {active, QPalette::Mid},             // 3 inactive caption
        {active, QPalette::Window},          // 4 menu
        {active, QPalette::Base},            // 5 window
        {active, QPalette::Shadow},          // 6 window frame
        {active, QPalette::WindowText},      // 7 menu text
        {active, QPalette::Text},            // 8 window text
        {active, QPalette::HighlightedText}, // 9 caption text
        {active, QPalette::Button},          // 10 active border
        {active, QPalette::Button},          // 11 inactive border
        {active, QPalette::Mid},             // 12 application workspace
        {active, QPalette::Highlight},       // 13 highlight
        {active, QPalette::HighlightedText}, // 14 highlight text
        {active, QPalette::Button},          // 15 button face
        {active, QPalette::Dark},            // 16 button shadow
        {disabled, QPalette::Text},          // 17 grey text
        {active, QPalette::ButtonText},      // 18 button text
        {disabled, QPalette::WindowText},    // 19 inactive caption text
        {active, QPalette::Light},           // 20 button highlight
        {active, QPalette::Shadow},          // 21 3D dark shadow
        {active, QPalette::Midlight},        // 22 3D light
        {active, QPalette::ToolTipText},     // 23 info text
        {active, QPalette::ToolTipBase},     // 24 info background
        {active, QPalette::Window},          // 25 unused
        {active, QPalette::Link},            // 26 hot-tracked item
        {active, QPalette::Highlight},       // 27 active caption gradient
        {active, QPalette::Mid},             // 28 inactive caption gradient
        {active, QPalette::Highlight},       // 29 menu highlight
        {active, QPalette::Window},          // 30 menu bar
    };
    if (index < 0 || index >= int(std::size(table)))
        return {active, QPalette::Window};
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

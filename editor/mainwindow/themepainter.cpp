#include "themepainter.h"

#include "areaframe.h"
#include "iconpicture.h"
#include "olecolor.h"
#include "optionsetting.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kq {

namespace {

using Key = ThemeColorKey;

// One colour for a role whatever the state: the theme picks it by the enabled state itself.
void setRole(QPalette &palette, QPalette::ColorRole role, const QColor &color)
{
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, role, color);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    setRole(palette, QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColors(QWidget *widget, const QColor &text, const QColor &background)
{
    QPalette palette = widget->palette();
    setRole(palette, QPalette::Text, text);
    setRole(palette, QPalette::Base, background);
    if (qobject_cast<QComboBox *>(widget)) {
        // A drop-down list that cannot be typed in is drawn as a button.
        setRole(palette, QPalette::ButtonText, text);
        setRole(palette, QPalette::Button, background);
    }
    widget->setPalette(palette);
}

bool isTextBox(QWidget *control)
{
    return qobject_cast<QLineEdit *>(control) || qobject_cast<QPlainTextEdit *>(control) ||
           qobject_cast<QComboBox *>(control) || qobject_cast<QListWidget *>(control);
}

} // namespace

bool setControlsEnabled(std::initializer_list<QWidget *> controls, bool enabled)
{
    bool changed = false;
    for (QWidget *control : controls) {
        // A control disabled by its own setting carries the attribute, whatever its parents do.
        changed = changed || control->testAttribute(Qt::WA_ForceDisabled) == enabled;
        control->setEnabled(enabled);
    }
    return changed;
}

ThemePainter::ThemePainter(QWidget &window, QLabel &statusLine)
    : QObject(&window), mWindow(window), mStatusLine(statusLine)
{
    setObjectName(QStringLiteral("theme_painter"));
}

void ThemePainter::readTheme()
{
    themeHeaderValue(optionSetting(OptionRead, OptionTheme), QStringLiteral("GetFile"));
    for (int key = 0; key < ThemeColorCount; ++key)
        mColors[key] = activeThemeColor(QString(ThemeColorSet[key]));
}

QColor ThemePainter::color(ThemeColorKey key) const
{
    return colorFromOle(mColors.at(int(key)));
}

void ThemePainter::paint()
{
    setBackground(&mWindow, color(Key::BackgroundColor));
    for (AreaFrame *area : mWindow.findChildren<AreaFrame *>())
        setBackground(area, color(Key::BoxEnabledColor));
    for (IconPicture *icons : mWindow.findChildren<IconPicture *>())
        icons->setBackground(
            color(icons->isEnabled() ? Key::TextboxEnabledColor : Key::TextboxDisabledColor));

    for (QWidget *control : mWindow.findChildren<QWidget *>()) {
        // Dialogs the window owns have colours of their own.
        if (control->window() == &mWindow)
            paintControl(control);
    }

    QPalette status = mStatusLine.palette();
    setRole(status, QPalette::WindowText, Qt::black);
    mStatusLine.setPalette(status);
}

void ThemePainter::paintControl(QWidget *control)
{
    const bool enabled = control->isEnabled();
    if (qobject_cast<QLabel *>(control)) {
        QPalette palette = control->palette();
        setRole(palette, QPalette::WindowText,
                color(enabled ? Key::LabelEnabledColor : Key::LabelDisabledColor));
        control->setPalette(palette);
    } else if (isTextBox(control)) {
        setTextColors(control, color(Key::TextboxForeColor),
                      color(enabled ? Key::TextboxEnabledColor : Key::TextboxDisabledColor));
    } else if (qobject_cast<QRadioButton *>(control)) {
        // Buttons fill their background from the button role and styles draw their text in
        // either role, so both pairs carry the colours.
        QPalette palette = control->palette();
        setRole(palette, QPalette::WindowText, color(Key::TextboxForeColor));
        setRole(palette, QPalette::ButtonText, color(Key::TextboxForeColor));
        setRole(palette, QPalette::Window, color(Key::ButtonEnabledColor));
        setRole(palette, QPalette::Button, color(Key::ButtonEnabledColor));
        control->setPalette(palette);
        control->setAutoFillBackground(true);
    } else if (qobject_cast<QPushButton *>(control)) {
        QPalette palette = control->palette();
        setRole(palette, QPalette::Button,
                color(enabled ? Key::ButtonEnabledColor : Key::ButtonDisabledColor));
        control->setPalette(palette);
    }
}

} // namespace kq

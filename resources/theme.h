#pragma once

#include <QLatin1String>
#include <QString>

#include <array>

namespace kq {

// The colour keys of a theme in their fixed order; the theme editor works on the first ten.
inline constexpr std::array<QLatin1String, 11> ThemeColorSet{
    QLatin1String("TextboxEnabledColor"), QLatin1String("TextboxDisabledColor"),
    QLatin1String("TextboxForeColor"),    QLatin1String("LabelEnabledColor"),
    QLatin1String("LabelDisabledColor"),  QLatin1String("ButtonEnabledColor"),
    QLatin1String("ButtonDisabledColor"), QLatin1String("SelectionColor"),
    QLatin1String("BackgroundColor"),     QLatin1String("BoxEnabledColor"),
    QLatin1String("BoxDisabledColor")};

// The colour keys by name, in the order of ThemeColorSet.
enum class ThemeColorKey {
    TextboxEnabledColor,
    TextboxDisabledColor,
    TextboxForeColor,
    LabelEnabledColor,
    LabelDisabledColor,
    ButtonEnabledColor,
    ButtonDisabledColor,
    SelectionColor,
    BackgroundColor,
    BoxEnabledColor,
    BoxDisabledColor,
};
inline constexpr int ThemeColorCount = int(ThemeColorSet.size());

inline QLatin1String themeColorName(ThemeColorKey key)
{
    return ThemeColorSet.at(int(key));
}

// The colours a user theme holds: the first ten keys of ThemeColorSet.
using ThemeColors = std::array<qint32, 10>;

// Full path of the theme file that activeThemeColor reads; set by every successful
// themeHeaderValue.
QString activeThemeFile();

// One header value of a theme file: "GetName", "GetVersion", "GetStatus"; "GetFile" returns the
// path. A valid header makes the file the activeThemeFile, whatever the selector. Error codes
// "ResErr1" to "ResErr3" and "<n>ThemeErrGen".
QString themeHeaderValue(const QString &path, const QString &selector);

// The colour of key in the activeThemeFile, read afresh at every call. A failure gives its
// number in place of the colour: 53 no file, 62 no line with the key, 13 not a number.
qint32 activeThemeColor(const QString &key);

// Writes a user theme ("Status=User") with the ten colours, replacing the file only when the
// whole theme has been written, so a failed save leaves an earlier file as it was.
bool writeUserTheme(const QString &path, const QString &name, const ThemeColors &colors,
                    QString *error = nullptr);

} // namespace kq

#pragma once

#include <QString>

namespace kq {

enum OptionMode : qint32 { OptionRead = 0, OptionWrite = 1 };
// Key 0 holds the language file name ("russian.lang"), key 1 the full path of the theme file.
// The main window keeps its place and size (key 2), the split between its editing areas and the
// flow picture (key 3), the projects opened or saved last (key 4) and the height of the problems
// under the flow picture and whether they are folded (key 6) beside them, and the height of the
// preview under them and whether it is folded (key 7). Key 5 is "0" when the user turned the
// start-up picture off.
enum OptionKey : qint32 {
    OptionLanguage = 0,
    OptionTheme = 1,
    OptionWindowGeometry = 2,
    OptionWindowLayout = 3,
    OptionRecentProjects = 4,
    OptionStartupPicture = 5,
    OptionProblemsPane = 6,
    OptionPreviewPane = 7
};

// The language of a first run, before the settings name one.
inline const QString DefaultLanguageFile = QStringLiteral("russian.lang");

// Reads (mode 0) or writes (mode 1) one editor setting in the per-user store, addressed by the
// editor's own base name, the section "Options" and the key as decimal text. A read of a key
// never written gives ""; a write and any other mode give "".
QString optionSetting(qint32 mode, qint32 key, const QString &value = QString());

// The application name the settings are kept under: the running executable's file name less a
// trailing ".exe" in any letter case.
QString settingsApplicationName();
QString settingsApplicationName(const QString &executablePath);

} // namespace kq

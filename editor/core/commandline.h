#pragma once

#include "textid.h"

#include <QString>
#include <QStringList>

#include <optional>

class QProcessEnvironment;
class QTextStream;

namespace kq {

// What the editor's command line asks for.
struct CommandLine
{
    enum class Action { Edit, Check, Build, Help, Version, Wrong };

    Action action = Action::Edit;
    QString file;   // the project to open, check or build
    QString output; // the program (or, portable, the folder; web, the page) a build writes
    bool noSplash = false;
    bool quiet = false;
    bool force = false;
    bool portable = false;
    bool archive = false;
    bool web = false;
    bool windows = false;
    QString text; // why a wrong command line is wrong, as Qt's parser says it
    // Why a wrong command line is wrong, as a text of the language files filled with reasonArgs;
    // put into words only when it is told, once the language of the settings is active.
    std::optional<TextId> reason;
    QStringList reasonArgs;
};

// Exit statuses of the modes without a window.
enum ExitStatus : int {
    ExitClean = 0,        // checked without findings; built
    ExitWarnings = 1,     // checked: warnings only
    ExitFailed = 1,       // a build that failed
    ExitErrors = 2,       // checked: errors; a build refused for them
    ExitUnreadable = 3,   // the project cannot be read
    ExitWrongCommand = 4, // the command line is wrong
    ExitNoDisplay = 4     // the editor's window was asked for where there is no display
};

// The arguments (the program name first) without the options of Qt's window system (-platform
// NAME, -style NAME, -reverse, ...), which only the editor's window takes.
QStringList withoutWindowSystemOptions(const QStringList &arguments);

// Whether the arguments (the program name first) ask for anything but the editor's window:
// checking, building, help, version, or a wrong command line that is told why. Told before any
// application object exists, so none of it needs a display.
bool runsWithoutWindow(const QStringList &arguments);

// Whether the editor's window, asked for by the arguments (the program name first), would find
// no display: Qt's X11 or Wayland window system, as chosen by -platform or QT_QPA_PLATFORM, with
// neither -display nor DISPLAY nor WAYLAND_DISPLAY. Told before the application object is made,
// since making it without a display ends the program at once.
bool lacksDisplay(const QStringList &arguments, const QProcessEnvironment &environment);
// Says in one line on err that the window needs a display and what works without one; returns
// the exit status.
int refuseWithoutDisplay(QTextStream &err);

// Makes the language of the editor's settings the one the command line speaks, Qt's own texts
// included; a first run has none yet, and a language file that is gone gives way to the shipped
// one. Needs the application object.
void useSettingsLanguage();

// Why a wrong command line is wrong, in the active language.
QString wrongReason(const CommandLine &line);

// What --help prints, in the active language: made when it is printed, since the command line
// is read before the language is known.
QString commandLineHelp();

// Reads the arguments (the program name first). Its texts are in the active language.
CommandLine parseCommandLine(const QStringList &arguments);

// Whether the editor opens with its start-up picture: only for a plain start, not for a file
// opened from the file manager, and not when the user turned it off (the setting of key 5).
bool showsStartupPicture(const CommandLine &commandLine, const QString &setting);

// Runs a mode without a window, writing what it prints to out and err; returns the exit status.
int runWithoutWindow(const CommandLine &commandLine, QTextStream &out, QTextStream &err);

} // namespace kq

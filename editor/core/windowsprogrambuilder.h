#pragma once

#include <QByteArray>
#include <QString>

namespace kq {

class DialogProject;

// The words the Windows program says itself, in the language it is built in.
struct WindowsProgramWords
{
    QString stopped; // the box shown at a fault; %1 the runner's reason

    // The words of the active language file.
    static WindowsProgramWords ofLanguage();
};

// The Windows player of the program folder, which Windows builds copy.
QString windowsPlayerProgram();

// Builds a project into one Windows program: a copy of the Windows player with the project
// compiled into a StepTable appended to it, with the pictures of its project style. The player
// only follows the table, as the web page does.
class WindowsProgramBuilder
{
public:
    explicit WindowsProgramBuilder(const DialogProject &project,
                                   WindowsProgramWords words = WindowsProgramWords::ofLanguage());

    // The table as the player reads it from the end of its file, trailer included. The box of a
    // fault bears the program's name.
    QByteArray table(const QString &programName) const;
    // Writes the player at playerPath with the table as `path`, where BuildTarget allows it: a
    // new file, or a Windows program an earlier build wrote. False with a reason in *error (when
    // given).
    bool write(const QString &path, const QString &playerPath = windowsPlayerProgram(),
               QString *error = nullptr) const;

    // The program file for a name chosen without any extension gets ".exe".
    static QString programPath(const QString &chosen);

private:
    const DialogProject &mProject;
    WindowsProgramWords mWords;
};

} // namespace kq

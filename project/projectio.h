#pragma once

#include <QString>

#include <optional>

namespace kq {

class DialogProject;

// Whole-file operations on the editor's project. Each returns false on failure with a reason in
// *error (when given); what was done before the failure stays, as the editor's commands expect.
namespace ProjectIO {

// Reads a project file (.dlg2) into the project; the project path is not changed.
bool loadProjectFile(DialogProject &project, const QString &path, QString *error = nullptr);

// Writes the header and every dialog as a complete new file, replacing an old one atomically
// (never leaving a longer old project's trailing records), then loads the project back from it.
// On success the project path becomes path; a failed write leaves an old file whole.
bool saveProjectFile(DialogProject &project, const QString &path, QString *error = nullptr);

// Writes the header and every dialog as a runner data file or plug-in exchange file, replacing
// any old file; the project is not changed.
bool writeDataFile(const DialogProject &project, const QString &path, QString *error = nullptr);

// Imports an old text project (.dlg): one message dialog per line, code page 1251. Empties the
// project path. On a line that cannot be imported (an empty file fails at its first line) the
// dialogs before it stay with their count, the header is not set, and false returns.
bool importLegacyProject(DialogProject &project, const QString &path, QString *error = nullptr);

// What the open command read at a chosen path, told apart by the last four characters in any
// letter case: a project ("DLG2"), an old text project (".DLG"), or a built program (".EXE", or
// an executable file without extension), whose project is its data file beside it or, failing
// that, a "main.dlg" in its folder.
enum class OpenedKind { Project, Legacy, ProgramData, ProgramLegacy };

// The open operation after the file dialog: clears the project (the dialog count stays), then
// loads what the path names and returns what that was. The project path becomes the file for a
// project that loaded, empty otherwise. None with a reason in *error (when given) when the path
// names no file (then nothing changes), a file of no kind the editor opens, or a file that does
// not load.
std::optional<OpenedKind> openPath(DialogProject &project, const QString &path,
                                   QString *error = nullptr);

// The name a project is saved under: the name as typed, with ".dlg2" added unless it already
// ends so (in any letter case), so that Open takes the file for a project again. "Project v1.2"
// becomes "Project v1.2.dlg2".
QString projectFileName(const QString &typed);

// The data file of a built program: the chosen path less a trailing ".exe" (any letter case),
// plus ".dll"; the runner finds its own data file by the same rule.
QString buildDataFilePath(const QString &programPath);

} // namespace ProjectIO

} // namespace kq

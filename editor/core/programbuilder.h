#pragma once

#include "buildtarget.h"

#include <QString>
#include <QStringList>

namespace kq {

class DialogProject;

// The runner of the program folder, which test runs start and builds copy. It takes Qt from the
// system it runs on.
QString runnerProgram();
// The runner that portable builds copy: the same program, looking for its libraries in lib/
// beside itself first (run path $ORIGIN/lib).
QString portableRunnerProgram();

// The build command after its file dialog: copies the runner to programPath with its
// permissions and writes the project beside it as the data file (ProjectIO::buildDataFilePath),
// where BuildTarget allows both. False with a reason in *error (when given); a program whose data
// file could not be written is removed again.
bool buildProgram(const DialogProject &project, const QString &runnerPath,
                  const QString &programPath, QString *error = nullptr);

// What a portable build wrote.
struct PortableBuild
{
    QString program;          // the program file inside the folder
    QStringList bundled;      // libraries and plug-ins, relative to the folder
    QStringList leftToSystem; // libraries the program takes from the system it runs on
    qint64 folderBytes = 0;   // every file of the folder
};

// A folder that runs on a Linux desktop without Qt: the program (a copy of the portable runner at
// runnerPath, named after the folder) and its data file as buildProgram writes them, the
// libraries the runner needs in lib/, Qt's xcb and offscreen platform plug-ins in
// plugins/platforms/, a qt.conf that points Qt there and a README.txt for the person who gets it.
// The folder must be one BuildTarget allows: new, empty, or an earlier portable build, whose
// libraries and plug-ins are replaced.
bool buildPortable(const DialogProject &project, const QString &runnerPath, const QString &folder,
                   PortableBuild *build, QString *error = nullptr);

// A size in megabytes with one decimal, as builds report the size of what they wrote.
QString megabytes(qint64 bytes);
// A size in whole kilobytes, rounded up, as small builds (a web page) report it.
QString kilobytes(qint64 bytes);

// Packs a folder into one gzip-compressed tar file named after it (folder + ".tar.gz"), beside
// it, holding the folder under its own name. An older archive (one BuildTarget allows) is
// replaced once the new one is whole.
bool packFolder(const QString &folder, QString *archive, QString *error = nullptr);
// The archive packFolder makes of a folder.
QString archivePath(const QString &folder);

} // namespace kq

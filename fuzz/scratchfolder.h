#pragma once

#include <QString>

namespace kq::Fuzz {

// A folder of the harness's own for the files it writes, removed when the process ends. It is
// the program folder of the resource readers.
QString scratchFolder();

// A path in the scratch folder that no earlier input used: a file rewritten within the same
// clock tick at the same size would look unchanged to the readers' store of files read.
QString freshScratchPath(const QString &relativeFolder, const QString &suffix);

// Writes the file as left alone for an hour: the readers keep what they read only of files not
// changed just now, and what they keep is what the harnesses are to test.
bool writeScratchFile(const QString &path, const QByteArray &bytes);

} // namespace kq::Fuzz

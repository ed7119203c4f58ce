#pragma once

#include <QStringList>

namespace kq {

// The sample projects the Open menu lists, as file names in the program folder's Samples
// folder, in menu order: the five that every language lists, followed by the English samples
// when the language identifier is "1" (English).
QStringList sampleFileNames(const QString &languageId);

} // namespace kq

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kq {

// Failure numbers carried inside the readers' error codes ("53ResErrGen", colour 62 ...).
namespace FileErrorCode {
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int DeviceIo = 57;
constexpr int InputPastEnd = 62;
constexpr int PermissionDenied = 70;
constexpr int PathAccess = 75;
} // namespace FileErrorCode

// The decoded lines of one file, shared between the readers of the same unchanged file.
using TextLines = std::shared_ptr<const QStringList>;

// Line by line reading of the language, theme and plug-in description files. The whole file is
// read and closed by open(), so no reader ever leaves a file open, whatever it returns.
// Lines end in CR LF, LF alone or CR alone; the text is code page 1251.
// A file is read and decoded once per change: what was read is kept by path, size, modification
// time and inode, so the many lookups of a window do not read a large file again each time,
// whether the file was written a moment ago or carries a date in the future.
class TextLineReader
{
public:
    TextLineReader() = default;
    explicit TextLineReader(const QString &path) { open(path); }

    bool open(const QString &path);
    bool isOpen() const { return mOpen; }

    bool atEnd() const { return !mLines || mNext >= mLines->size(); }
    // The next line; none past the last line, with errorCode() InputPastEnd, and none on a reader
    // whose open failed.
    std::optional<QString> readLine();

    // The failure number of the last failed open or read, 0 after success.
    int errorCode() const { return mError; }

    // Every line of the open file, and the number of the next line readLine gives (from 0).
    // The same pointer comes back for a file that has not changed since it was read.
    TextLines lines() const { return mLines; }
    qsizetype position() const { return mNext; }

private:
    TextLines mLines;
    qsizetype mNext = 0;
    bool mOpen = false;
    int mError = 0;
};

} // namespace kq

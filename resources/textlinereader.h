#pragma once

#include <QList>
#include <QString>

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

// Line by line reading of the language, theme and plug-in description files. The whole file is
// read and closed by open(), so no reader ever leaves a file open, whatever it returns.
// Lines end in CR LF, LF alone or CR alone; the text is code page 1251.
class TextLineReader
{
public:
    TextLineReader() = default;
    explicit TextLineReader(const QString &path) { open(path); }

    bool open(const QString &path);
    bool isOpen() const { return mOpen; }

    bool atEnd() const { return mNext >= mLines.size(); }
    // False past the last line, with errorCode() InputPastEnd; false on a reader whose open failed.
    bool readLine(QString *line);

    // The failure number of the last failed open or read, 0 after success.
    int errorCode() const { return mError; }

private:
    QList<QByteArray> mLines;
    qsizetype mNext = 0;
    bool mOpen = false;
    int mError = 0;
};

} // namespace kq

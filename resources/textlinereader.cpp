#include "textlinereader.h"

#include "codepage.h"
#include "textlines.h"

#include <QFile>
#include <QFileInfo>

namespace kq {

namespace {

int openFailureCode(const QString &path, const QFile &file)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileErrorCode::FileNotFound;
    if (!info.isFile())
        return FileErrorCode::PathAccess;
    if (file.error() == QFileDevice::PermissionsError || !info.isReadable())
        return FileErrorCode::PermissionDenied;
    return FileErrorCode::PathAccess;
}

} // namespace

bool TextLineReader::open(const QString &path)
{
    mLines.clear();
    mNext = 0;
    mOpen = false;
    mError = 0;

    if (path.isEmpty()) {
        mError = FileErrorCode::FileNotFound;
        return false;
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        mError = openFailureCode(path, file);
        return false;
    }
    const QByteArray bytes = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError;
    file.close();
    if (failed) {
        mError = FileErrorCode::DeviceIo;
        return false;
    }
    mLines = splitTextLines(bytes);
    mOpen = true;
    return true;
}

bool TextLineReader::readLine(QString *line)
{
    if (!mOpen)
        return false;
    if (atEnd()) {
        mError = FileErrorCode::InputPastEnd;
        return false;
    }
    *line = fromCodePage(mLines.at(mNext++));
    mError = 0;
    return true;
}

} // namespace kq

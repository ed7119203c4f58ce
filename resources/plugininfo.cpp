#include "plugininfo.h"

#include "resourcefields.h"
#include "textlinereader.h"

#include <QFileInfo>

namespace kq {

namespace {

QString generalError(const TextLineReader &file)
{
    return QString::number(file.errorCode()) + QStringLiteral("PlugErrGen");
}

} // namespace

QString PluginInfo(const QString &path, const QString &selector)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QStringLiteral("PlugErr2");
    if (ReadFileType(path) != u"!PluginFile")
        return QStringLiteral("PlugErr1");
    TextLineReader reader(path);
    if (!reader.isOpen())
        return generalError(reader);
    if (FindSection(reader, QStringLiteral("[Info]")) != u"[Info]")
        return QStringLiteral("PlugErr3");

    // A file that ends inside its three header lines counts as a damaged header.
    QString value;
    const HeaderCheck check = ReadHeaderLines(
        reader, {{u"Name", u"GetName"}, {u"Author", u"GetAuthor"}, {u"Version", u"GetVersion"}},
        selector, &value);
    return check == HeaderCheck::Valid ? value : QStringLiteral("PlugErr3");
}

QString PluginDescription(const QString &path)
{
    TextLineReader reader(path);
    if (!reader.isOpen())
        return generalError(reader);
    if (FindSection(reader, QStringLiteral("[Description]")) != u"[Description]")
        return QStringLiteral("PlugErr3");
    QString line;
    if (!reader.readLine(&line))
        return generalError(reader);
    return line.replace(u'#', QStringLiteral("\r\n"));
}

} // namespace kq

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

QString pluginHeaderValue(const QString &path, const QString &selector)
{
    // A file that ends inside its three header lines counts as a damaged header.
    static constexpr HeaderCodes codes{u"PlugErr1", u"PlugErr3", u"PlugErrGen", true};
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QStringLiteral("PlugErr2");
    QString errorCode;
    const std::optional<QString> value = readHeaderValue(
        path, QStringLiteral("!PluginFile"), QStringLiteral("[Info]"),
        {{u"Name", u"GetName"}, {u"Author", u"GetAuthor"}, {u"Version", u"GetVersion"}}, selector,
        codes, &errorCode);
    return value.value_or(errorCode);
}

QString pluginDescriptionText(const QString &path)
{
    TextLineReader reader(path);
    if (!reader.isOpen())
        return generalError(reader);
    if (skipToSection(reader, QStringLiteral("[Description]")) != u"[Description]")
        return QStringLiteral("PlugErr3");
    std::optional<QString> line = reader.readLine();
    if (!line)
        return generalError(reader);
    return line->replace(u'#', QStringLiteral("\r\n"));
}

} // namespace kq

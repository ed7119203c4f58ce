#include "theme.h"

#include "codepage.h"
#include "fileplaces.h"
#include "resourcefields.h"
#include "textlinereader.h"
#include "wholefile.h"

#include <QFileInfo>

namespace kq {

namespace {

QString &activeTheme()
{
    static QString path;
    return path;
}

// The setting keeps a full path, which breaks when the program folder is moved (or the setting
// came from another system). A path that names no file falls back on the theme of the same file
// name in the Themes folder (the user's own or the shipped one), when there is one.
QString themeFile(const QString &path)
{
    if (QFileInfo(path).isFile())
        return path;
    const QString name = path.mid(qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
    const QString listed = FilePlaces::current().filePath(QStringLiteral("Themes"), name);
    return !name.isEmpty() && QFileInfo(listed).isFile() ? listed : path;
}

} // namespace

QString activeThemeFile()
{
    return activeTheme();
}

QString themeHeaderValue(const QString &path, const QString &selector)
{
    static constexpr HeaderCodes codes{u"ResErr1", u"ResErr3", u"ThemeErrGen", false};
    if (path.isEmpty())
        return QStringLiteral("ResErr2");
    const QString file = themeFile(path);
    QString errorCode;
    const std::optional<QString> value = readHeaderValue(
        file, QStringLiteral("!ThemeFile"), QStringLiteral("[Info]"),
        {{u"Name", u"GetName"}, {u"Version", u"GetVersion"}, {u"Status", u"GetStatus"}}, selector,
        codes, &errorCode);
    if (!value)
        return errorCode;
    activeTheme() = file;
    return selector == u"GetFile" ? file : *value;
}

qint32 activeThemeColor(const QString &key)
{
    TextLineReader reader(activeTheme());
    while (const std::optional<QString> line = reader.readLine()) {
        if (line->left(key.size()) == key) {
            bool ok = false;
            const qint32 value = lineField(*line, 1, QStringLiteral("=")).toInt(&ok, 10);
            return ok ? value : FileErrorCode::TypeMismatch;
        }
    }
    return reader.errorCode();
}

bool writeUserTheme(const QString &path, const QString &name, const ThemeColors &colors,
                    QString *error)
{
    // A line break in the name would start a line of its own (a pasted "Status=General" would
    // make a program theme); it is written as the "#" that the field rule reads as a break.
    QString oneLineName = name;
    oneLineName.replace(QStringLiteral("\r\n"), QStringLiteral("#"));
    oneLineName.replace(u'\r', u'#').replace(u'\n', u'#');
    QString text = QStringLiteral("%1\r\n!ThemeFile\r\n\r\n[Info]\r\nName=%2\r\nVersion=2.0\r\n"
                                  "Status=User\r\n\r\n[Colors]\r\n")
                       .arg(QLatin1String(MagicLine), oneLineName);
    for (size_t i = 0; i < colors.size(); ++i)
        text += QStringLiteral("%1=%2\r\n").arg(ThemeColorSet.at(i)).arg(colors.at(i));

    return writeWholeFile(path, toCodePage(text), error);
}

} // namespace kq

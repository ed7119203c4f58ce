#include "harnesses.h"
#include "scratchfolder.h"

#include "codepage.h"
#include "language.h"
#include "plugininfo.h"
#include "programfolder.h"
#include "resourcefields.h"
#include "textlines.h"
#include "theme.h"

#include <QFileInfo>

namespace kq::Fuzz {

namespace {

// The lookups as the file format defines them, read straight from the bytes every time: what
// the readers answer from what they keep of a file must be the same.
QStringList decodedLines(const QByteArray &bytes)
{
    QStringList lines;
    for (const QByteArray &line : splitTextLines(bytes))
        lines << fromCodePage(line);
    return lines;
}

QString scannedResString(const QStringList &lines, const QString &id)
{
    const qsizetype section = lines.indexOf(QStringLiteral("[Rescource]"));
    if (section < 0)
        return QStringLiteral("ResErr3");
    for (qsizetype i = section + 1; i < lines.size(); ++i) {
        if (QStringView(lines.at(i)).left(5) == id)
            return lineField(lines.at(i), 1, QStringLiteral(","));
    }
    return QStringLiteral("ResErr6");
}

qint32 scannedThemeColor(const QStringList &lines, const QString &key)
{
    for (const QString &line : lines) {
        if (QStringView(line).left(key.size()) == key) {
            bool ok = false;
            const qint32 value = lineField(line, 1, QStringLiteral("=")).toInt(&ok, 10);
            return ok ? value : 13;
        }
    }
    return 62;
}

// The ids a lookup is tried with: the first five characters of the file's lines and a few of
// the program's own.
QStringList triedIds(const QStringList &lines)
{
    QStringList ids{QStringLiteral("%0001"), QStringLiteral(".Help"), QStringLiteral("%0300"),
                    QStringLiteral("%")};
    for (qsizetype i = 0; i < lines.size() && i < 64; ++i)
        ids << lines.at(i).left(5);
    return ids;
}

// A language file with a valid header and nothing else, made active before each input's file
// is tried, so that the input's file is active only when its own GetFile made it so.
QString standbyLanguage()
{
    static const QString file = [] {
        const QString name = QStringLiteral("standby.lang");
        const QByteArray text = QByteArray(MagicLine) +
                                "\r\n!RescourceFile\r\n\r\n[Language]\r\nName=Standby\r\n"
                                "ResId=1\r\nAuthor=Fuzz\r\nVersion=2.0\r\nStatus=User\r\n";
        require(writeScratchFile(scratchPath(QStringLiteral("Languages/") + name), text),
                "the standby language file is written");
        return name;
    }();
    return file;
}

void checkLanguage(const QByteArray &input, const QStringList &lines)
{
    static const QString path = scratchPath(QStringLiteral("Languages/input.lang"));
    require(writeScratchFile(path, input), "the scratch file is written");
    const QString file = QFileInfo(path).fileName();
    require(languageHeaderValue(standbyLanguage(), QStringLiteral("GetFile")) == standbyLanguage(),
            "the standby language becomes active");
    for (const char *selector : {"GetName", "GetId", "GetAuthor", "GetVersion", "GetStatus", "x"})
        languageHeaderValue(file, QString::fromLatin1(selector));
    const QString strings = languageResourceLines(file);
    if (!lines.contains(QStringLiteral("[Rescource]")))
        require(strings == u"ResErr3", "a file without resources has no strings");

    if (languageHeaderValue(file, QStringLiteral("GetFile")) == file) {
        require(activeLanguageFile() == file, "GetFile makes the file active");
        for (const QString &id : triedIds(lines)) {
            const QString expected = scannedResString(lines, id);
            const QString found = languageText(id);
            // A later id the file lacks comes from the shipped file of its language.
            if (expected == u"ResErr6" && id.size() == 5 && id.startsWith(u'%') &&
                QStringView(id).mid(1).toInt() > int(LastDescribedResourceId))
                continue;
            require(found == expected, "languageText answers as a scan of the file does");
        }
    }
}

void checkTheme(const QByteArray &input, const QStringList &lines)
{
    static const QString path = scratchPath(QStringLiteral("Themes/input.tvth"));
    require(writeScratchFile(path, input), "the scratch file is written");
    for (const char *selector : {"GetName", "GetVersion", "GetStatus", "x"})
        themeHeaderValue(path, QString::fromLatin1(selector));
    if (themeHeaderValue(path, QStringLiteral("GetFile")) == path) {
        for (const QLatin1String key : ThemeColorSet)
            require(activeThemeColor(key) == scannedThemeColor(lines, key),
                    "activeThemeColor answers as a scan of the file does");
    }
}

void checkPlugin(const QByteArray &input)
{
    static const QString path = scratchPath(QStringLiteral("Plugins/input.tvpl"));
    require(writeScratchFile(path, input), "the scratch file is written");
    for (const char *selector : {"GetName", "GetAuthor", "GetVersion", "x"})
        pluginHeaderValue(path, QString::fromLatin1(selector));
    pluginDescriptionText(path);
}

} // namespace

void resourceFiles(const QByteArray &input)
{
    // The scratch folder is the program folder the readers look in.
    static const bool inScratchFolder = [] {
        setProgramFolder(scratchFolder());
        return true;
    }();
    Q_UNUSED(inScratchFolder);
    const QStringList lines = decodedLines(input);
    checkLanguage(input, lines);
    checkTheme(input, lines);
    checkPlugin(input);
}

} // namespace kq::Fuzz

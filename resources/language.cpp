#include "language.h"

#include "programfolder.h"
#include "resourcefields.h"
#include "textlinereader.h"

#include <QFileInfo>
#include <QStringList>

namespace kq {

namespace {

QString &activeLanguage()
{
    static QString file;
    return file;
}

bool languageExists(const QString &file)
{
    return !file.isEmpty() && QFileInfo(languagePath(file)).isFile();
}

QString generalError(const TextLineReader &file)
{
    return QString::number(file.errorCode()) + QStringLiteral("ResErrGen");
}

const QString ResourceSection = QStringLiteral("[Rescource]");

} // namespace

QString languagePath(const QString &file)
{
    return programPath(QStringLiteral("Languages/") + file);
}

QString ActiveLanguageFile()
{
    return activeLanguage();
}

QString ResString(const QString &id)
{
    const QString file = activeLanguage();
    if (!languageExists(file))
        return QStringLiteral("ResErr2");
    TextLineReader reader(languagePath(file));
    if (!reader.isOpen())
        return generalError(reader);
    if (FindSection(reader, ResourceSection) != ResourceSection)
        return QStringLiteral("ResErr3");
    QString line;
    while (reader.readLine(&line)) {
        if (line.left(5) == id)
            return SplitField(line, 1, QStringLiteral(","));
    }
    if (reader.errorCode() == FileErrorCode::InputPastEnd)
        return QStringLiteral("ResErr6");
    return generalError(reader);
}

QString LanguageInfo(const QString &file, const QString &selector)
{
    static constexpr HeaderCodes codes{u"ResErr1", u"ResErr3", u"ResErrGen", false};
    if (!languageExists(file))
        return QStringLiteral("ResErr2");
    QString result;
    if (!ReadInfoHeader(languagePath(file), QStringLiteral("!RescourceFile"),
                        QStringLiteral("[Language]"),
                        {{u"Name", u"GetName"},
                         {u"ResId", u"GetId"},
                         {u"Author", u"GetAuthor"},
                         {u"Version", u"GetVersion"},
                         {u"Status", u"GetStatus"}},
                        selector, codes, &result))
        return result;
    if (selector == u"GetFile") {
        activeLanguage() = file;
        return file;
    }
    return result;
}

QString LanguageStrings(const QString &file)
{
    if (!languageExists(file))
        return QStringLiteral("ResErr2");
    TextLineReader reader(languagePath(file));
    if (FindSection(reader, ResourceSection) != ResourceSection)
        return QStringLiteral("ResErr3");
    QStringList entries;
    QString line;
    while (reader.readLine(&line)) {
        if (line.startsWith(u'%'))
            entries.append(line);
    }
    return entries.join(QStringLiteral("&&"));
}

} // namespace kq

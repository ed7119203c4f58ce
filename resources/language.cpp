#include "language.h"

#include "fileplaces.h"
#include "programfolder.h"
#include "reasontext.h"
#include "resourcefields.h"
#include "textlinereader.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>

// The shipped language files live in a static library, so nothing would pull them in without
// this call.
static void initShippedLanguages()
{
    Q_INIT_RESOURCE(languages);
}

namespace kq {

namespace {

QString &activeLanguage()
{
    static QString file;
    return file;
}

// The path of a language file that exists; none otherwise. Every lookup asks, so the places are
// worked out once per lookup.
std::optional<QString> existingLanguagePath(const QString &file)
{
    if (file.isEmpty())
        return std::nullopt;
    QString path = languagePath(file);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

QString generalError(const TextLineReader &file)
{
    return QString::number(file.errorCode()) + QStringLiteral("ResErrGen");
}

const QString ResourceSection = QStringLiteral("[Rescource]");
const QString MissingId = QStringLiteral("ResErr6");

// Where the entries of one read of a language file stand: the line of its "[Rescource]" header
// (-1 without one) and, for the first five characters of every line after it, the first line
// that starts so. A line shorter than five characters is its own key.
struct ResourceIndex
{
    TextLines lines;
    qsizetype section = -1;
    QHash<QString, qsizetype> firstLine;
};

ResourceIndex indexResources(const TextLines &lines)
{
    ResourceIndex index;
    index.lines = lines;
    index.section = lines->indexOf(ResourceSection);
    if (index.section < 0)
        return index;
    index.firstLine.reserve(lines->size() - index.section);
    // From the end back, so that the first line with a key is the one that stays.
    for (qsizetype i = lines->size() - 1; i > index.section; --i)
        index.firstLine.insert(lines->at(i).left(5), i);
    return index;
}

// The index of the file as it is now, made again only when the file has changed.
const ResourceIndex &resourceIndex(const TextLineReader &reader, const QString &path)
{
    static QHash<QString, ResourceIndex> indexes;
    auto it = indexes.find(path);
    if (it == indexes.end() || it->lines != reader.lines()) {
        // Only the active file and the shipped fallbacks are looked up; keep no stale ones.
        if (indexes.size() > 8)
            indexes.clear();
        it = indexes.insert(path, indexResources(reader.lines()));
    }
    return *it;
}

// languageText's scan of one language file: the first entry of the resource section whose first
// five characters are the id.
QString lookUp(const QString &path, const QString &id)
{
    TextLineReader reader(path);
    if (!reader.isOpen())
        return generalError(reader);
    const ResourceIndex &index = resourceIndex(reader, path);
    if (index.section < 0)
        return QStringLiteral("ResErr3");
    const auto entry = index.firstLine.constFind(id);
    if (entry == index.firstLine.constEnd())
        return MissingId;
    return lineField(index.lines->at(*entry), 1, QStringLiteral(","));
}

// Ids up to "%0246" are the ones every language file is made for; later versions of the
// program add ids after them, which older files do not carry.
bool isLaterId(const QString &id)
{
    if (id.size() != 5 || !id.startsWith(u'%'))
        return false;
    bool ok = false;
    const int number = QStringView(id).mid(1).toInt(&ok);
    return ok && number > int(LastDescribedResourceId);
}

// A file that carries the last of the described ids was made whole for them; one whose entries
// run out before it is broken, and its later ids show the error like every other id it lacks.
bool madeForDescribedIds(const QString &path)
{
    return lookUp(path, resourceId(LastDescribedResourceId)) != MissingId;
}

// The language file shipped with the program for a language id: "1" English, any other Russian.
QString shippedLanguage(const QString &languageId)
{
    static const bool initialised = [] {
        initShippedLanguages();
        return true;
    }();
    Q_UNUSED(initialised);
    return languageId == u"1" ? QStringLiteral(":/kq/languages/english.lang")
                              : QStringLiteral(":/kq/languages/russian.lang");
}

} // namespace

QString languagePath(const QString &file)
{
    return FilePlaces::current().filePath(QStringLiteral("Languages"), file);
}

QString activeLanguageFile()
{
    return activeLanguage();
}

QString resourceId(TextId id)
{
    return u'%' + QString::number(int(id)).rightJustified(4, u'0');
}

QString LanguageTexts::operator()(TextId id)
{
    auto it = mTexts.constFind(int(id));
    if (it == mTexts.constEnd())
        it = mTexts.insert(int(id), languageText(id));
    return *it;
}

QString languageText(TextId id)
{
    return languageText(resourceId(id));
}

QString languageText(const QString &id)
{
    const QString file = activeLanguage();
    const std::optional<QString> path = existingLanguagePath(file);
    if (!path)
        return QStringLiteral("ResErr2");
    const QString text = lookUp(*path, id);
    if (text != MissingId || !isLaterId(id) || !madeForDescribedIds(*path))
        return text;
    // A file made before the id existed shows the shipped text of its language.
    const QString shipped =
        lookUp(shippedLanguage(languageHeaderValue(file, QStringLiteral("GetId"))), id);
    return shipped == MissingId ? text : shipped;
}

QString filledText(const QString &text, const QStringList &arguments)
{
    QString filled;
    filled.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype index = i + 1 < text.size() ? text.at(i + 1).digitValue() - 1 : -1;
        if (text.at(i) == u'%' && index >= 0 && index < arguments.size()) {
            filled += arguments.at(index);
            ++i;
        } else {
            filled += text.at(i);
        }
    }
    return filled;
}

QString pluralForm(const QString &forms, qint64 count)
{
    const QStringList choices = forms.split(u'|');
    const qint64 lastTwo = qAbs(count) % 100;
    const qint64 last = lastTwo % 10;
    qsizetype form = 0;
    if (choices.size() == 2)
        form = count == 1 ? 0 : 1;
    else if (choices.size() >= 3)
        form = last == 1 && lastTwo != 11                                 ? 0
               : last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14) ? 1
                                                                          : 2;
    return choices.at(form);
}

QString languageHeaderValue(const QString &file, const QString &selector)
{
    static constexpr HeaderCodes codes{u"ResErr1", u"ResErr3", u"ResErrGen", false};
    const std::optional<QString> path = existingLanguagePath(file);
    if (!path)
        return QStringLiteral("ResErr2");
    QString errorCode;
    const std::optional<QString> value =
        readHeaderValue(*path, QStringLiteral("!RescourceFile"), QStringLiteral("[Language]"),
                        {{u"Name", u"GetName"},
                         {u"ResId", u"GetId"},
                         {u"Author", u"GetAuthor"},
                         {u"Version", u"GetVersion"},
                         {u"Status", u"GetStatus"}},
                        selector, codes, &errorCode);
    if (!value)
        return errorCode;
    if (selector == u"GetFile") {
        activeLanguage() = file;
        // From now on the reasons of the model speak the language too.
        setReasonLookup([](TextId id) { return languageText(id); });
        return file;
    }
    return *value;
}

QString languageResourceLines(const QString &file)
{
    const std::optional<QString> path = existingLanguagePath(file);
    if (!path)
        return QStringLiteral("ResErr2");
    TextLineReader reader(*path);
    if (skipToSection(reader, ResourceSection) != ResourceSection)
        return QStringLiteral("ResErr3");
    QStringList entries;
    while (const std::optional<QString> line = reader.readLine()) {
        if (line->startsWith(u'%'))
            entries.append(*line);
    }
    return entries.join(QStringLiteral("&&"));
}

QString helpFilePath()
{
    const QString file = activeLanguageFile();
    const bool english =
        !file.isEmpty() && languageHeaderValue(file, QStringLiteral("GetId")) == u"1";
    const QString englishGuide = programPath(QStringLiteral("readme-english.txt"));
    if (english && QFileInfo(englishGuide).isFile())
        return englishGuide;
    return programPath(QStringLiteral("readme.txt"));
}

} // namespace kq

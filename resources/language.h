#pragma once

#include "textid.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace kq {

// The language file that languageText reads: a bare file name in the Languages folder of the
// program folder. Empty until languageHeaderValue(file, "GetFile") succeeds.
QString activeLanguageFile();

// The full path of a language file given by its bare file name, in the Languages folder: the
// user's own file of that name when there is one (FilePlaces), otherwise the shipped one.
QString languagePath(const QString &file);

// The last of the resource ids that every language file carries; later ids were added since.
inline constexpr TextId LastDescribedResourceId = TextId::ColourPanel;

// The text of a resource id such as "%0128" in the active language file, as the file is now;
// an error code ("ResErr2", "ResErr3", "ResErr6", "LangErr4", "<n>ResErrGen") otherwise.
// A later id ("%0300") that the file lacks gives the text of the language file shipped for
// the file's language id ("1" English, any other Russian).
QString languageText(const QString &id);

// The resource id of a text, "%" and four digits: resourceId(TextId::TabLanguages) is "%0201".
QString resourceId(TextId id);
// languageText of resourceId(id): the way code names a text of the language file.
QString languageText(TextId id);

// Texts of the active language, each looked up once: for a view that shows many texts at a time,
// since every lookup checks the language file on disk. Kept no longer than one filling of the
// view, so that a changed file or language is seen the next time.
class LanguageTexts
{
public:
    QString operator()(TextId id);

private:
    QHash<int, QString> mTexts;
};

// A text of the language file with its markers %1 to %9 replaced by the arguments, each once. A
// text without markers, such as the error code of a file that cannot be read, stays as it is.
QString filledText(const QString &text, const QStringList &arguments);

// The form of a text for a count. A language file gives the forms of a text that counts
// something separated by "|": one form serves every count, two are the English forms (1, other),
// three the Russian ones (1, 21, ...; 2 to 4, 22 to 24, ...; other).
QString pluralForm(const QString &forms, qint64 count);

// One header value of a language file: "GetName", "GetId", "GetAuthor", "GetVersion",
// "GetStatus"; "GetFile" returns the file and makes it the activeLanguageFile. Any other
// selector gives "" for a valid header. Error codes "ResErr1" to "ResErr3", "<n>ResErrGen".
QString languageHeaderValue(const QString &file, const QString &selector);

// The user guide in the active language: "readme-english.txt" of the program folder for an
// English language file (language id "1") when it is there, "readme.txt" otherwise.
QString helpFilePath();

// Every line of the resource section that starts with "%", whole, joined by "&&".
QString languageResourceLines(const QString &file);

} // namespace kq

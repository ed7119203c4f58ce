#include "qttranslation.h"

#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kq {

namespace {

// What languageHeaderValue gives in place of a value: "ResErr1" to "ResErr3", or "<n>ResErrGen".
bool isLanguageError(const QString &value)
{
    return value.startsWith(u"ResErr") || value.endsWith(u"ResErrGen");
}

void installRussian(bool wanted)
{
    static QTranslator *russian = nullptr;
    static bool installed = false;
    if (wanted == installed)
        return;
    if (!wanted) {
        QCoreApplication::removeTranslator(russian);
        installed = false;
        return;
    }
    if (!russian) {
        russian = new QTranslator(QCoreApplication::instance());
        if (!russian->load(QStringLiteral("qtbase_ru"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            return;
    }
    installed = QCoreApplication::installTranslator(russian);
}

} // namespace

void QtTranslation::follow(const QString &languageId)
{
    const QString id = isLanguageError(languageId)
                           ? languageHeaderValue(activeLanguageFile(), QStringLiteral("GetId"))
                           : languageId;
    installRussian(id == u"0");
}

} // namespace kq

#include "qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kq {

void QtTranslation::follow(const QString &languageId)
{
    static QTranslator *russian = nullptr;
    static bool installed = false;
    const bool wanted = languageId == u"0";
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

} // namespace kq

#pragma once

#include <QString>

namespace kq {

// Qt's own texts in the editor's language: the buttons of message boxes, the labels of the file,
// input and colour dialogs. A language file with the identifier "0" is Russian and gets Qt's
// Russian texts; any other identifier leaves Qt's English ones.
class QtTranslation
{
public:
    // Installs or removes Qt's Russian texts for the identifier of the language just applied.
    // An error code in its place means that language file failed to load: the editor's texts
    // then stay in the activeLanguageFile, and Qt's follow that file instead. Where the system
    // lacks Qt's translation files the texts stay English.
    static void follow(const QString &languageId);
};

} // namespace kq

#pragma once

#include <QString>

namespace kq {

// Qt's own texts in the editor's language: the buttons of message boxes, the labels of the file,
// input and colour dialogs. A language file with the identifier "0" is Russian and gets Qt's
// Russian texts; any other identifier leaves Qt's English ones.
class QtTranslation
{
public:
    // Installs or removes Qt's Russian texts for the identifier of the active language file.
    // Where the system lacks Qt's translation files the texts stay English.
    static void follow(const QString &languageId);
};

} // namespace kq

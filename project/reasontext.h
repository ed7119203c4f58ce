#pragma once

#include "textid.h"

#include <QString>
#include <QStringList>

namespace kq {

// A reason the model or a build gives, as a text of the language files: its id, and the English
// words that stand in where no language is looked up (the runner,
// which prints its faults in English, and tests of the model alone).
struct ReasonText
{
    TextId id;
    const char16_t *english;

    // The text in the active language, else the English, its "%1", "%2", ... filled in from
    // args in one pass, so that an argument holding "%1" stays as it is.
    QString with(const QStringList &args = {}) const;
    // The English with args filled in, whatever language is active.
    QString inEnglish(const QStringList &args = {}) const;
};

// How the model reaches the language files without depending on them: the language module
// installs its lookup once a language file is active. Null leaves the English.
using ReasonLookup = QString (*)(TextId id);
void setReasonLookup(ReasonLookup lookup);

} // namespace kq

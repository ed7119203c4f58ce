#pragma once

#include "dialogproject.h"
#include "projectdocument.h"

#include <QList>
#include <QString>

#include <utility>

namespace kq {

// What the find bar looks for, and where.
struct SearchOptions
{
    // Bits of places.
    enum Place : unsigned {
        Captions = 1,
        Texts = 2,
        ButtonCaptions = 4,
        Scripts = 8,
        Everywhere = Captions | Texts | ButtonCaptions | Scripts
    };

    QString text;
    bool matchCase = false;
    bool wholeWords = false;
    unsigned places = Everywhere;
};

// One place the text was found: the dialog (1 to 99), its field and the characters of the field
// as the record holds it (line breaks as CR LF, padding cut off).
struct TextMatch
{
    int dialog = 0;
    ProjectDocument::Field field = ProjectDocument::Field::Caption;
    int start = 0;
    int length = 0;
    bool operator==(const TextMatch &other) const = default;
};

// The records a replacement changes, and what it made of the matches it was given.
struct Replacement
{
    QList<std::pair<int, DialogRecord>> records;
    int replaced = 0;
    // Matches left as they were because their field would grow past its length.
    int skipped = 0;
    // Characters of the replacement the code page lacks, written as "?", counted per match.
    int unstorable = 0;
    // Scripts that ran before and cannot be run after.
    int brokenScripts = 0;
};

// Finding and replacing text in a project's fields. Letter case is compared the Unicode way (so
// Cyrillic too); a whole word is one with no letter, digit or "_" right before or after it.
namespace TextSearch {

// The field as the record holds it, padding cut off.
QString fieldText(const DialogRecord &record, ProjectDocument::Field field);
// The fields of the places that a step of its type lets the author edit, in the panel's order.
QList<ProjectDocument::Field> searchedFields(const DialogRecord &record, unsigned places);

// Where the options' text is in one text, left to right, not overlapping.
QList<int> matchesIn(const QString &text, const SearchOptions &options);
// Every match in the project's dialogs, in list order and field order.
QList<TextMatch> find(const DialogProject &project, const SearchOptions &options);

// The words around a match on its line, shortened with "…" where cut.
QString context(const DialogRecord &record, const TextMatch &match);

// The records after each match is replaced by `with`, the way typing would change them:
// characters the code page lacks become "?", a field never grows past its width. Matches that no
// longer fit their field (the project changed since they were found) are ignored.
Replacement replace(const DialogProject &project, const QList<TextMatch> &matches,
                    const QString &with);

} // namespace TextSearch

} // namespace kq

#include "textsearch.h"

#include "buttonscript.h"
#include "codepage.h"
#include "dialogrecord.h"

#include <algorithm>
#include <tuple>

namespace kq::TextSearch {

namespace {

using Field = ProjectDocument::Field;

// The characters around a match shown in the list of matches, on each side.
constexpr int ContextReach = 24;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c.category() == QChar::Mark_NonSpacing;
}

bool isWholeWord(const QString &text, int start, int length)
{
    const bool before = start > 0 && isWordCharacter(text.at(start - 1));
    const bool after = start + length < text.size() && isWordCharacter(text.at(start + length));
    return !before && !after;
}

bool scriptRuns(const QString &script)
{
    const QString trimmed = trimmedSpaces(script);
    return ButtonScript::isNoAction(trimmed) || ButtonScript::interpret(trimmed, 1).has_value();
}

} // namespace

QString fieldText(const DialogRecord &record, Field field)
{
    return trimmedRight(ProjectDocument::fieldOf(record, field));
}

QList<Field> searchedFields(const DialogRecord &record, unsigned places)
{
    // A pause has no window of its own: no caption, no buttons, only the script of its end. A
    // progress bar's second button is its fixed "full" end.
    const bool pause = record.type == DialogRecord::Pause;
    const bool progress = record.type == DialogRecord::Progress;
    QList<Field> fields;
    if ((places & SearchOptions::Captions) != 0 && !pause)
        fields << Field::Caption;
    if ((places & SearchOptions::Texts) != 0)
        fields << Field::Text;
    if ((places & SearchOptions::ButtonCaptions) != 0 && !pause) {
        fields << Field::Button1;
        if (!progress)
            fields << Field::Button2;
    }
    if ((places & SearchOptions::Scripts) != 0) {
        fields << Field::Script1;
        if (!pause)
            fields << Field::Script2;
    }
    return fields;
}

QList<int> matchesIn(const QString &text, const SearchOptions &options)
{
    QList<int> starts;
    const qsizetype length = options.text.size();
    if (length == 0)
        return starts;
    const Qt::CaseSensitivity sensitivity =
        options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype from = 0;
    while ((from = text.indexOf(options.text, from, sensitivity)) >= 0) {
        if (!options.wholeWords || isWholeWord(text, int(from), int(length))) {
            starts << int(from);
            from += length;
        } else {
            ++from;
        }
    }
    return starts;
}

QList<TextMatch> find(const DialogProject &project, const SearchOptions &options)
{
    QList<TextMatch> matches;
    if (options.text.isEmpty())
        return matches;
    for (int dialog = 1; dialog <= project.dialogCount(); ++dialog) {
        const DialogRecord &record = project.record(dialog);
        for (const Field field : searchedFields(record, options.places)) {
            for (const int start : matchesIn(fieldText(record, field), options))
                matches.append({dialog, field, start, int(options.text.size())});
        }
    }
    return matches;
}

QString context(const DialogRecord &record, const TextMatch &match)
{
    const QString text = fieldText(record, match.field);
    // The line of the match only: a record breaks lines with CR LF.
    const auto isBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
    int from = match.start;
    while (from > 0 && match.start - from < ContextReach && !isBreak(text.at(from - 1)))
        --from;
    int to = qMin(int(text.size()), match.start + match.length);
    while (to < text.size() && to - match.start - match.length < ContextReach &&
           !isBreak(text.at(to)))
        ++to;
    // A cut word is left out rather than shown in part.
    const bool cutBefore = from > 0 && !isBreak(text.at(from - 1));
    const bool cutAfter = to < text.size() && !isBreak(text.at(to));
    QString shown = text.mid(from, to - from).simplified();
    if (cutBefore)
        shown.prepend(u'…');
    if (cutAfter)
        shown.append(u'…');
    return shown;
}

Replacement replace(const DialogProject &project, const QList<TextMatch> &matches,
                    const QString &with)
{
    Replacement result;
    const QString stored = storableText(with);
    const int unstorablePerMatch = unstorableCharacters(with);
    QList<DialogRecord> records(project.dialogCount() + 1);
    QList<bool> touched(project.dialogCount() + 1, false);
    // The last match of a field first: the places of the earlier ones stay as they were found.
    QList<TextMatch> ordered = matches;
    std::stable_sort(ordered.begin(), ordered.end(), [](const TextMatch &a, const TextMatch &b) {
        return std::tie(a.dialog, a.field, b.start) < std::tie(b.dialog, b.field, a.start);
    });
    for (const TextMatch &match : std::as_const(ordered)) {
        if (match.dialog < 1 || match.dialog > project.dialogCount())
            continue;
        if (!touched[match.dialog]) {
            records[match.dialog] = project.record(match.dialog);
            touched[match.dialog] = true;
        }
        QString &field = ProjectDocument::fieldOf(records[match.dialog], match.field);
        QString text = trimmedRight(field);
        if (match.start < 0 || match.length <= 0 || match.start + match.length > text.size())
            continue;
        text.replace(match.start, match.length, stored);
        if (text.size() > ProjectDocument::fieldWidth(match.field)) {
            ++result.skipped;
            continue;
        }
        field = text;
        ++result.replaced;
        result.unstorable += unstorablePerMatch;
    }
    for (int dialog = 1; dialog < touched.size(); ++dialog) {
        if (!touched[dialog] || records[dialog].toBytes() == project.record(dialog).toBytes())
            continue;
        const DialogRecord &before = project.record(dialog);
        for (const Field script : {Field::Script1, Field::Script2}) {
            if (scriptRuns(ProjectDocument::fieldOf(before, script)) &&
                !scriptRuns(ProjectDocument::fieldOf(records[dialog], script)))
                ++result.brokenScripts;
        }
        result.records.append({dialog, records[dialog]});
    }
    return result;
}

} // namespace kq::TextSearch

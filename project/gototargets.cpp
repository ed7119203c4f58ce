#include "gototargets.h"

#include "buttonscript.h"
#include "dialogproject.h"

namespace kq::GoToTargets {

namespace {

constexpr int WordsLength = 7; // "Идти К "
constexpr int LastTarget = 99; // two digits

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

const QString &scriptOf(const DialogRecord &record, int script)
{
    return script == 1 ? record.btnscr1 : record.btnscr2;
}

} // namespace

std::optional<int> target(const QString &script)
{
    const QString written = trimmedSpaces(script);
    if (written.size() != WordsLength + 2 ||
        written.left(WordsLength).toUpper() != ButtonScript::GoToPrefix.toUpper() ||
        !isDigit(written.at(WordsLength)) || !isDigit(written.at(WordsLength + 1)))
        return std::nullopt;
    return written.mid(WordsLength).toInt();
}

QString retargeted(const QString &script, int target)
{
    return trimmedSpaces(script).left(WordsLength) +
           QStringLiteral("%1").arg(target, 2, 10, QLatin1Char('0'));
}

ListChange ListChange::inserted(int number, int steps, int count)
{
    return ListChange(Kind::Inserted, number, count, steps);
}

ListChange ListChange::removed(int number, int steps)
{
    return ListChange(Kind::Removed, number, number, steps);
}

ListChange ListChange::swapped(int first, int second)
{
    return ListChange(Kind::Swapped, first, second, LastTarget + 1);
}

ListChange ListChange::reordered(const QList<int> &newNumbers)
{
    ListChange change(Kind::Reordered, 0, 0, int(newNumbers.size()));
    change.mNewNumbers = newNumbers;
    return change;
}

int ListChange::renumbered(int target) const
{
    if (target >= mSteps)
        return target;
    switch (mKind) {
    case Kind::Inserted:
        return target >= mFirst ? target + mSecond : target;
    case Kind::Removed:
        return target > mFirst ? target - 1 : target;
    case Kind::Reordered:
        return mNewNumbers.at(target);
    case Kind::Swapped:
        break;
    }
    if (target == mFirst)
        return mSecond;
    return target == mSecond ? mFirst : target;
}

bool ListChange::leadsToRemoved(int target) const
{
    return mKind == Kind::Removed && target == mFirst;
}

QList<Rewrite> rewrites(const DialogProject &project, const ListChange &change)
{
    QList<Rewrite> found;
    for (int dialog = 1; dialog <= project.dialogCount(); ++dialog) {
        const DialogRecord &record = project.record(dialog);
        for (int script : {1, 2}) {
            const QString &before = scriptOf(record, script);
            const std::optional<int> old = target(before);
            if (!old)
                continue;
            const int renumbered = change.renumbered(*old);
            const bool removed = change.leadsToRemoved(*old);
            if (renumbered != *old || removed)
                found << Rewrite{dialog, script, before,
                                 renumbered != *old ? retargeted(before, renumbered) : before,
                                 removed};
        }
    }
    return found;
}

} // namespace kq::GoToTargets

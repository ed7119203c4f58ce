#include "buttonscript.h"

#include "dialogrecord.h"

#include <QStringList>

#include <limits>

namespace kq::ButtonScript {

namespace {

// Upper-casing follows the Unicode (here Cyrillic) case rules.
bool wordIs(const QStringList &words, int index, const QString &upperWord)
{
    return index < words.size() && words.at(index).toUpper() == upperWord;
}

bool fitsInt16(qint64 value)
{
    return value >= std::numeric_limits<qint16>::min() &&
           value <= std::numeric_limits<qint16>::max();
}

} // namespace

QString normalize(const QString &typed)
{
    if (typed.isEmpty())
        return NoAction;
    // Split at single spaces: two spaces in a row give an empty word and so no match.
    const QStringList words = typed.split(u' ');
    if (wordIs(words, 0, QStringLiteral("ВЫХОД")))
        return Exit;
    if (!wordIs(words, 0, QStringLiteral("ИДТИ")) || words.size() < 2)
        return NoAction;
    if (wordIs(words, 1, QStringLiteral("ДАЛЕЕ")))
        return GoNext;
    if (wordIs(words, 1, QStringLiteral("НАЗАД")))
        return GoBack;
    if (wordIs(words, 1, QStringLiteral("К")) && words.size() > 2 && words.at(2).size() == 2)
        return GoToPrefix + words.at(2);
    return NoAction;
}

Command command(const QString &script)
{
    const QString upper = script.toUpper();
    if (upper == Exit.toUpper())
        return Command::Exit;
    if (upper == GoNext.toUpper())
        return Command::GoNext;
    if (upper == GoBack.toUpper())
        return Command::GoBack;
    return Command::GoTo;
}

std::optional<qint16> interpret(const QString &script, qint16 position)
{
    qint64 next = 0;
    switch (command(script)) {
    case Command::Exit:
        next = -1;
        break;
    case Command::GoNext:
        next = qint64(position) + 1;
        break;
    case Command::GoBack:
        next = qint64(position) - 1;
        break;
    case Command::GoTo: {
        // The first seven characters play no part, the rest is the target's dialog number.
        bool ok = false;
        const int target = trimmedSpaces(script.mid(7)).toInt(&ok);
        if (!ok || !fitsInt16(target))
            return std::nullopt;
        next = qint64(target) + 1;
        break;
    }
    }
    if (!fitsInt16(next))
        return std::nullopt;
    return qint16(next);
}

bool isNoAction(const QString &script)
{
    return trimmedSpaces(script) == NoAction;
}

QString goTo(int dialogNumber)
{
    return GoToPrefix + QStringLiteral("%1").arg(dialogNumber, 2, 10, QLatin1Char('0'));
}

} // namespace kq::ButtonScript

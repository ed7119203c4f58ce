#include "buttonscript.h"

#include "dialogrecord.h"

#include <QRegularExpression>
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

// The Russian words, split at single spaces: two spaces in a row give an empty word and so no
// match. Words after the ones a command needs are dropped.
std::optional<QString> russianCommand(const QString &typed)
{
    const QStringList words = typed.split(u' ');
    if (wordIs(words, 0, QStringLiteral("ВЫХОД")))
        return Exit;
    if (!wordIs(words, 0, QStringLiteral("ИДТИ")) || words.size() < 2)
        return std::nullopt;
    if (wordIs(words, 1, QStringLiteral("ДАЛЕЕ")))
        return GoNext;
    if (wordIs(words, 1, QStringLiteral("НАЗАД")))
        return GoBack;
    if (wordIs(words, 1, QStringLiteral("К")) && words.size() > 2 && words.at(2).size() == 2)
        return GoToPrefix + words.at(2);
    return std::nullopt;
}

// The English words an English user types ("exit", "go next", "go back", "go to 5"), in any
// letter case and with any spaces around them. The target is a dialog number of one or two
// digits, padded as the composer pads it.
std::optional<QString> englishCommand(const QString &typed)
{
    const QStringList words = typed.simplified().split(u' ', Qt::SkipEmptyParts);
    if (wordIs(words, 0, QStringLiteral("EXIT")))
        return Exit;
    if (!wordIs(words, 0, QStringLiteral("GO")))
        return std::nullopt;
    if (wordIs(words, 1, QStringLiteral("NEXT")))
        return GoNext;
    if (wordIs(words, 1, QStringLiteral("BACK")))
        return GoBack;
    static const QRegularExpression target(QStringLiteral("^[0-9]{1,2}$"));
    if (wordIs(words, 1, QStringLiteral("TO")) && words.size() > 2 &&
        target.match(words.at(2)).hasMatch())
        return goTo(words.at(2).toInt());
    return std::nullopt;
}

} // namespace

QString normalize(const QString &typed)
{
    if (typed.isEmpty())
        return NoAction;
    if (const std::optional<QString> russian = russianCommand(typed))
        return *russian;
    return englishCommand(typed).value_or(NoAction);
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

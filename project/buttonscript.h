#pragma once

#include <QString>

#include <optional>

namespace kq {

// The one-line button scripts: the editor stores them in canonical form, the runner interprets
// the stored text to find the next step position.
namespace ButtonScript {

inline const QString Exit = QStringLiteral("Выход");
inline const QString GoNext = QStringLiteral("Идти Далее");
inline const QString GoBack = QStringLiteral("Идти Назад");
inline const QString GoToPrefix = QStringLiteral("Идти К ");
inline const QString NoAction = QStringLiteral("Нет");

// Editor: turns whatever the user typed, in Russian or English words, into one canonical
// command; anything unknown is "Нет".
QString normalize(const QString &typed);

// What the runner makes of a script (already trimmed): the three words in any letter case, and
// any other text as a go-to, whether or not its target can be read.
enum class Command { Exit, GoNext, GoBack, GoTo };
Command command(const QString &script);

// Runner: the position after the script (already trimmed) ran at the given position; -1 for
// exit. No value when the script cannot be interpreted or the position leaves 16 bits.
std::optional<qint16> interpret(const QString &script, qint16 position);

// Runner windows: a button whose script is exactly "Нет" (after trimming) does nothing.
bool isNoAction(const QString &script);

// The go-to command for a dialog number as the editor numbers them: "Идти К 05".
QString goTo(int dialogNumber);

} // namespace ButtonScript

} // namespace kq

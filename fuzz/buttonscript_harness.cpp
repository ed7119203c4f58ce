#include "harnesses.h"

#include "buttonscript.h"
#include "codepage.h"
#include "dialogrecord.h"

#include <QtEndian>

namespace kq::Fuzz {

namespace {

bool isCanonical(const QString &script)
{
    using namespace ButtonScript;
    if (script == Exit || script == GoNext || script == GoBack || script == NoAction)
        return true;
    return script.startsWith(GoToPrefix) && script.size() == GoToPrefix.size() + 2;
}

// What the editor stores is the canonical form; it fits a script field and reads back as typed.
void checkNormalised(const QString &typed)
{
    const QString canonical = ButtonScript::normalize(typed);
    require(isCanonical(canonical), "the editor stores only canonical scripts");
    require(ButtonScript::normalize(canonical) == canonical, "normalising is idempotent");
    require(canonical.size() <= DialogRecord::ButtonWidth, "a canonical script fits its field");
    DialogRecord record = DialogRecord::cleared();
    record.btnscr1 = canonical;
    const DialogRecord stored = DialogRecord::fromBytes(record.toBytes());
    require(trimmedRight(stored.btnscr1) == canonical, "a canonical script reads back as written");
}

void checkInterpreted(const QString &script, qint16 position)
{
    const std::optional<qint16> next = ButtonScript::interpret(script, position);
    const QString upper = script.toUpper();
    if (upper == ButtonScript::Exit.toUpper())
        require(next == qint16(-1), "exit ends the run");
    else if (upper == ButtonScript::GoNext.toUpper())
        require(position == 32767 ? !next : next == qint16(position + 1), "go next steps on");
    else if (upper == ButtonScript::GoBack.toUpper())
        require(position == -32768 ? !next : next == qint16(position - 1), "go back steps back");
    else if (next)
        require(*next >= -32767, "a go-to target is a number from its 8th character on");
}

} // namespace

void buttonScript(const QByteArray &input)
{
    // The first two bytes are the position the script runs at; the rest is the script.
    const qint16 position =
        input.size() >= 2 ? qFromLittleEndian<qint16>(input.constData()) : qint16(1);
    const QString script = fromCodePage(input.mid(2));
    checkNormalised(script);
    checkInterpreted(script, position);
    checkInterpreted(trimmedSpaces(script), position);
}

} // namespace kq::Fuzz

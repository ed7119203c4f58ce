#include "stepflow.h"

#include "buttonscript.h"
#include "dialogproject.h"

#include <algorithm>

namespace kq::StepFlow {

namespace {

// Where the script leads when the runner runs it at the step's position (step + 1). Buttons
// whose script is "Нет" never run it; an automatic end runs whatever it holds.
StepExit exitFor(StepField field, const QString &caption, const QString &rawScript, int step,
                 int dialogCount)
{
    StepExit exit;
    exit.field = field;
    exit.caption = caption;
    exit.script = trimmedSpaces(rawScript);
    if (!exit.isAutomatic() && ButtonScript::isNoAction(exit.script)) {
        exit.leads = StepExit::Leads::Stays;
        return exit;
    }
    const std::optional<qint16> next = ButtonScript::interpret(exit.script, qint16(step + 1));
    if (!next) {
        exit.leads = StepExit::Leads::Fault;
    } else if (ButtonScript::command(exit.script) == ButtonScript::Command::Exit) {
        exit.leads = StepExit::Leads::Exit;
    } else {
        exit.target = *next - 1;
        const bool inList = *next > 0 && *next <= dialogCount;
        exit.leads = inList ? StepExit::Leads::Step : StepExit::Leads::OffList;
    }
    return exit;
}

} // namespace

int scriptOf(StepField field)
{
    switch (field) {
    case StepField::Button1:
    case StepField::PauseEnd:
        return 1;
    case StepField::Button2:
    case StepField::BarFull:
        return 2;
    default:
        return 0;
    }
}

bool isTimed(qint16 time)
{
    return time > 0;
}

bool waits(const DialogRecord &record)
{
    switch (record.type) {
    case DialogRecord::Message:
        return true;
    case DialogRecord::Progress:
    case DialogRecord::Pause:
        return isTimed(record.time);
    default:
        return false;
    }
}

Ending ending(const DialogRecord &record)
{
    if (!waits(record))
        return Ending::AtOnce;
    switch (record.type) {
    case DialogRecord::Message:
        return Ending::ByUser;
    case DialogRecord::Progress: {
        // The window's button, and its close box, do what the button's script says.
        const bool answers =
            !trimmedSpaces(record.btn1).isEmpty() && !ButtonScript::isNoAction(record.btnscr1);
        return answers ? Ending::ByUser : Ending::ByClockInWindow;
    }
    default:
        return Ending::ByClock;
    }
}

QString automaticScript(const DialogRecord &record)
{
    switch (record.type) {
    case DialogRecord::Progress:
        return record.btnscr2;
    case DialogRecord::Pause:
        return record.btnscr1;
    default:
        return ButtonScript::GoNext;
    }
}

std::optional<EndlessCircle>
circleAhead(int step, int count, const std::function<std::optional<DialogRecord>(int)> &read,
            const std::function<Ending(const DialogRecord &)> &endingOf, QList<int> *passed)
{
    QList<std::pair<int, Ending>> walked;
    while (step >= 0 && step < count) {
        const std::optional<DialogRecord> record = read(step);
        if (!record)
            return std::nullopt;
        const Ending ending = endingOf(*record);
        if (ending == Ending::ByUser)
            return std::nullopt;
        const auto seen = std::find_if(walked.cbegin(), walked.cend(),
                                       [step](const auto &entry) { return entry.first == step; });
        if (seen != walked.cend()) {
            EndlessCircle circle{seen->first};
            for (auto member = seen; member != walked.cend(); ++member) {
                circle.silent = circle.silent && member->second == Ending::AtOnce;
                circle.showsWindow =
                    circle.showsWindow || member->second == Ending::ByClockInWindow;
            }
            return circle;
        }
        walked.append({step, ending});
        if (passed)
            passed->append(step);
        const std::optional<qint16> next =
            ButtonScript::interpret(trimmedSpaces(automaticScript(*record)), qint16(step + 1));
        if (!next)
            return std::nullopt;
        step = *next - 1;
    }
    return std::nullopt;
}

bool showsIcon(const DialogRecord &record)
{
    return record.type == DialogRecord::Message || record.type == DialogRecord::Progress;
}

QString shownCaption(const DialogRecord &record)
{
    return trimmedRight(record.caption);
}

QString shownText(const DialogRecord &record)
{
    QString text = trimmedRight(record.text);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

QList<StepExit> exits(const DialogProject &project, int step)
{
    const DialogRecord &record = project.record(step + 1);
    const int count = project.dialogCount();
    const QString caption1 = trimmedSpaces(record.btn1);
    const QString caption2 = trimmedSpaces(record.btn2);
    switch (record.type) {
    case DialogRecord::Message: {
        // Button 1 is always there, even without a caption; button 2 only with one.
        QList<StepExit> result{exitFor(StepField::Button1, caption1, record.btnscr1, step, count)};
        if (!caption2.isEmpty())
            result << exitFor(StepField::Button2, caption2, record.btnscr2, step, count);
        return result;
    }
    case DialogRecord::Progress: {
        // A bar of no time is full at once and its window never shows, nor its button.
        QList<StepExit> result;
        if (!caption1.isEmpty() && isTimed(record.time))
            result << exitFor(StepField::Button1, caption1, record.btnscr1, step, count);
        result << exitFor(StepField::BarFull, QString(), automaticScript(record), step, count);
        return result;
    }
    case DialogRecord::Pause:
        return {exitFor(StepField::PauseEnd, QString(), automaticScript(record), step, count)};
    default:
        return {exitFor(StepField::None, QString(), automaticScript(record), step, count)};
    }
}

CloseBox closeBox(const DialogRecord &record)
{
    switch (record.type) {
    case DialogRecord::Message: {
        const bool twoButtons = !trimmedSpaces(record.btn2).isEmpty();
        if (ButtonScript::isNoAction(twoButtons ? record.btnscr2 : record.btnscr1))
            return CloseBox::EndRun;
        return twoButtons ? CloseBox::Button2 : CloseBox::Button1;
    }
    case DialogRecord::Progress:
        return trimmedSpaces(record.btn1).isEmpty() ? CloseBox::Ignored : CloseBox::Button1;
    default:
        return CloseBox::Ignored;
    }
}

} // namespace kq::StepFlow

#pragma once

#include "stepkind.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kq {

// The runner's life: find and open the data file, read the project style from the header,
// play the steps by their button scripts until the position leaves the list, then close
// (and in test mode delete) the data file. Steps that nobody answers (steps without a window,
// pauses, progress windows without a working button) lead on the same way every time: when they
// lead round in a circle, the run would never end. A circle without any window is a fault; in a
// circle that shows a progress window, the window's close box ends the run.
class StepLoop
{
public:
    enum class Status { Finished, NoDataFile, Fault };

    struct Outcome
    {
        Status status = Status::Finished;
        QString fault; // what went wrong, for a Fault
        int stepsPlayed = 0;
    };

    // The data file pairs with the program: its folder, its name less a trailing ".exe"
    // (any letter case), and ".dll". So "quiz" and "quiz.exe" both play "quiz.dll".
    static QString dataFilePath(const QString &programPath);
    // Test mode holds when the arguments, spaces trimmed, end in "editor", case-sensitively.
    static bool isTestMode(const QStringList &arguments);
    // A normal file at the data path; anything else counts as missing.
    static bool hasDataFile(const QString &dataPath);

    // The step kind for a record type; a type without one shows nothing and counts as result 0.
    // The loop does not own the kinds.
    void setStepKind(qint16 type, StepKind *kind) { mKinds.insert(type, kind); }

    Outcome run(const QString &dataPath, bool testMode);

    // Where the steps come from: record 1 is the header, record p + 1 the step at position p;
    // no value when a record cannot be read.
    using RecordReader = std::function<std::optional<DialogRecord>(int record)>;
    // Plays the `count` steps that `read` gives in the style of `header`, from the step at
    // position `first` (1 is the first step) until the position leaves the list.
    Outcome play(const DialogRecord &header, qint16 count, const RecordReader &read,
                 qint16 first = 1);

private:
    StepFlow::Ending endingOf(const DialogRecord &record) const;

    QHash<qint16, StepKind *> mKinds;
};

} // namespace kq

#pragma once

// Small projects for the tests of the project check and the flow view: a header style and steps
// given by their type, buttons, scripts, time and icon.

#include "buttonscript.h"
#include "dialogproject.h"

#include <QList>
#include <QString>

namespace kq::StepTest {

using kq::DialogProject;
using kq::DialogRecord;

struct Step
{
    qint16 type = DialogRecord::Message;
    QString btn1;
    QString scr1;
    QString btn2;
    QString scr2;
    qint16 time = 0;
    qint16 ico = 0;
    QString text{}; // empty: "Шаг" and the step's number
};

using Steps = QList<Step>;

inline Step message(const QString &btn1, const QString &scr1, const QString &btn2 = {},
                    const QString &scr2 = {})
{
    return {DialogRecord::Message, btn1, scr1, btn2, scr2, 0, 0, QString()};
}

inline Step progress(qint16 time, const QString &btn1, const QString &scr1, const QString &barFull)
{
    return {DialogRecord::Progress, btn1, scr1, QString(), barFull, time, 0, QString()};
}

inline Step pause(qint16 time, const QString &pauseEnd)
{
    return {DialogRecord::Pause, QString(), pauseEnd, QString(), QString(), time, 0, QString()};
}

inline Step ofType(qint16 type)
{
    Step step;
    step.type = type;
    return step;
}

inline Step withIcon(Step step, qint16 ico)
{
    step.ico = ico;
    return step;
}

inline Step withText(Step step, const QString &text)
{
    step.text = text;
    return step;
}

inline DialogProject makeProject(const Steps &steps, const QString &style = QStringLiteral("0"))
{
    DialogProject project;
    project.record(0).text = style;
    for (int i = 0; i < steps.size(); ++i) {
        DialogRecord &record = project.record(i + 1);
        const Step &step = steps.at(i);
        record.text = step.text.isEmpty() ? QStringLiteral("Шаг %1").arg(i) : step.text;
        record.type = step.type;
        record.btn1 = step.btn1;
        record.btnscr1 = step.scr1;
        record.btn2 = step.btn2;
        record.btnscr2 = step.scr2;
        record.time = step.time;
        record.ico = step.ico;
    }
    project.setDialogCount(qint16(steps.size()));
    return project;
}

inline const QString Next = kq::ButtonScript::GoNext;
inline const QString Back = kq::ButtonScript::GoBack;
inline const QString Exit = kq::ButtonScript::Exit;
inline const QString No = kq::ButtonScript::NoAction;

} // namespace kq::StepTest

#pragma once

// Projects that a built program plays without anyone at the keyboard, and a run of a program to
// its end.

#include "buttonscript.h"
#include "dialogproject.h"
#include "dialogrecord.h"

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>

namespace kq::ProgramTest {

inline kq::DialogRecord step(kq::DialogRecord::Type type, qint16 time, const QString &script)
{
    kq::DialogRecord record = kq::DialogRecord::cleared();
    record.type = type;
    record.caption = QStringLiteral("Проверка");
    record.text = QStringLiteral("Проверка диска C:");
    record.btn1 = QStringLiteral("ОК");
    record.ico = 3;
    record.time = time;
    record.btnscr1 = record.btnscr2 = script;
    return record;
}

inline kq::DialogProject project(const QList<kq::DialogRecord> &steps, qint16 style = 0)
{
    kq::DialogProject project;
    project.record(0).text = QString::number(style);
    for (int i = 0; i < steps.size(); ++i)
        project.record(i + 1) = steps.at(i);
    project.setDialogCount(qint16(steps.size()));
    return project;
}

// A progress window and a pause of a second each: it shows a window and ends by itself.
inline kq::DialogProject selfEnding(qint16 style = 0)
{
    return project({step(kq::DialogRecord::Progress, 1, kq::ButtonScript::GoNext),
                    step(kq::DialogRecord::Pause, 1, kq::ButtonScript::Exit)},
                   style);
}

inline kq::DialogProject oneMessage()
{
    return project({step(kq::DialogRecord::Message, 0, kq::ButtonScript::Exit)});
}

struct Finished
{
    int exitCode = -1; // -1: it did not end normally in time
    QByteArray output;
    QByteArray errors;
};

inline Finished run(const QString &program, const QStringList &arguments,
                    const QProcessEnvironment &environment, int timeoutMs = 30000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Finished finished;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        finished.exitCode = process.exitCode();
    }
    finished.output = process.readAllStandardOutput();
    finished.errors = process.readAllStandardError();
    return finished;
}

inline QProcessEnvironment offscreen()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

} // namespace kq::ProgramTest

#include "runfault.h"

namespace kq::RunFault {

namespace {

QString stepName(int step)
{
    return QStringLiteral("step %1").arg(step);
}

} // namespace

QString noProjectStyle()
{
    return QStringLiteral("the project header holds no project style");
}

QString scriptCannotRun(int step, const QString &script)
{
    return QStringLiteral("%1: the script \"%2\" cannot be run").arg(stepName(step), script);
}

QString cannotShow(int step, qint16 projectStyle)
{
    return QStringLiteral("%1 cannot be shown in project style %2")
        .arg(stepName(step))
        .arg(projectStyle);
}

QString silentLoop(int step)
{
    return QStringLiteral("%1: the scripts lead back to it without showing anything, so the run "
                          "would never end")
        .arg(stepName(step));
}

QString pauseLoop(int step)
{
    return QStringLiteral("%1: the scripts lead back to it through pauses, without a window the "
                          "user can answer, so the run would never end")
        .arg(stepName(step));
}

} // namespace kq::RunFault

#pragma once

#include <QString>

namespace kq {

// Why a run ends as a fault, in the words the runner prints and the web page shows. Steps are
// named as the editor's list numbers them, from 0.
namespace RunFault {

QString noProjectStyle();
QString scriptCannotRun(int step, const QString &script);
QString cannotShow(int step, qint16 projectStyle);
// Steps that show nothing lead back to the step without any step waiting in between.
QString silentLoop(int step);
// Pauses (and steps that show nothing) lead back to the step without a window in between.
QString pauseLoop(int step);

} // namespace RunFault

} // namespace kq

#pragma once

#include <QString>

namespace kq {

// Why a run ends as a fault: the runner prints it in English, the web page and the editor show
// it in the active language. Steps are named as the editor's list numbers them, from 0.
namespace RunFault {

// The runner's data file.
QString dataFileNotOpened(const QString &path);
QString noProjectHeader(const QString &path);
QString stepNotRead(int step);

QString noProjectStyle();
QString scriptCannotRun(int step, const QString &script);
QString cannotShow(int step, qint16 projectStyle);
// Steps that show nothing lead back to the step without any step waiting in between.
QString silentLoop(int step);
// Pauses (and steps that show nothing) lead back to the step without a window in between.
QString pauseLoop(int step);

// A fault as the runner printed it, in the active language; any other text stays as it is.
QString retold(const QString &printed);

} // namespace RunFault

} // namespace kq

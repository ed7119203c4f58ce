#pragma once

#include <QStringList>

namespace kq {

// The projects opened or saved last, newest first, as absolute paths. The list lives in the
// settings store, read again at every change, so two editors running at once keep each other's
// entries.
namespace RecentProjects {

inline constexpr int MaxCount = 8;

// The list with path in front: an earlier entry for the same file goes, the oldest beyond
// MaxCount fall off.
QStringList withAdded(const QStringList &list, const QString &path);
// The list without any entry for the file at path.
QStringList withRemoved(const QStringList &list, const QString &path);

// The stored list, at most MaxCount entries.
QStringList read();
void write(const QStringList &list);

// Puts path in front of the stored list, or takes it out; both give the list as now stored.
QStringList add(const QString &path);
QStringList remove(const QString &path);

} // namespace RecentProjects

} // namespace kq

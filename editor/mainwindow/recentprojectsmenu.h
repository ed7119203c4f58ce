#pragma once

#include "recentprojects.h"

#include <QObject>
#include <QStringList>

#include <array>

class QAction;
class QMenu;

namespace kq {

// The recent projects in the Open menu: entries "mnuOpnRecent0" to "mnuOpnRecent7" showing the
// projects opened or saved last (by this or another editor), name first, then a separator line
// "mnuOpnLine2". Only the entries that hold a project are shown.
class RecentProjectsMenu : public QObject
{
    Q_OBJECT

public:
    static constexpr int EntryCount = RecentProjects::MaxCount;

    // The entries and their separator go at the end of the menu as it is now.
    explicit RecentProjectsMenu(QMenu &menu);

    // Shows the stored list again; the menu does so each time it opens.
    void refresh();
    // A project opened or saved goes in front of the recent projects.
    void remember(const QString &path);
    // The entries without texts, so that localising the menu again finds nothing in them.
    void clearTexts();

signals:
    // The user chose the entry of a project that still exists.
    void openRequested(const QString &path);
    // The user chose the entry of a project that is gone; the entry has left the list.
    void projectGone(const QString &path);

private:
    void choose(int index);

    QMenu &mMenu;
    std::array<QAction *, EntryCount> mEntries{};
    QAction *mSeparator = nullptr;
    QStringList mPaths;
};

} // namespace kq

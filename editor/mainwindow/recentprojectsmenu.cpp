#include "recentprojectsmenu.h"

#include "recentprojects.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>

namespace kq {

namespace {

// Wide enough for a deep folder in one line, narrow enough for the menu to stay beside the
// button on a small screen.
constexpr int FolderWidth = 420;

// "quiz.dlg2   (~/projects)": the name first, as the user looks for it.
QString entryText(const QString &path, const QFontMetrics &metrics)
{
    const QFileInfo file(path);
    QString folder = QDir::toNativeSeparators(file.path());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (folder == home || folder.startsWith(home + QDir::separator()))
        folder.replace(0, home.size(), QStringLiteral("~"));
    folder = metrics.elidedText(folder, Qt::ElideMiddle, FolderWidth);
    QString text = file.fileName() + QStringLiteral("   (") + folder + u')';
    // A "&" in a name is shown, not taken for a mnemonic.
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

RecentProjectsMenu::RecentProjectsMenu(QMenu &menu) : QObject(&menu), mMenu(menu)
{
    setObjectName(QStringLiteral("recent_projects"));
    for (int i = 0; i < EntryCount; ++i) {
        mEntries[i] = new QAction(&menu);
        mEntries[i]->setObjectName(QStringLiteral("mnuOpnRecent") + QString::number(i));
        menu.addAction(mEntries[i]);
        connect(mEntries[i], &QAction::triggered, this, [this, i] { choose(i); });
    }
    mSeparator = menu.addSeparator();
    mSeparator->setObjectName(QStringLiteral("mnuOpnLine2"));
    menu.setToolTipsVisible(true);
    // Another editor may have opened or saved a project meanwhile.
    connect(&menu, &QMenu::aboutToShow, this, &RecentProjectsMenu::refresh);
}

void RecentProjectsMenu::refresh()
{
    mPaths = RecentProjects::read();
    const QFontMetrics metrics(mMenu.font());
    for (int i = 0; i < EntryCount; ++i) {
        QAction *entry = mEntries[i];
        const QString path = mPaths.value(i);
        entry->setText(path.isEmpty() ? QString() : entryText(path, metrics));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setVisible(!path.isEmpty());
    }
    mSeparator->setVisible(!mPaths.isEmpty());
}

void RecentProjectsMenu::remember(const QString &path)
{
    RecentProjects::add(path);
    refresh();
}

void RecentProjectsMenu::clearTexts()
{
    for (QAction *entry : mEntries)
        entry->setText(QString());
}

void RecentProjectsMenu::choose(int index)
{
    const QString path = mPaths.value(index);
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        // Nothing to ask or to warn about: the entry is simply out of date.
        RecentProjects::remove(path);
        refresh();
        emit projectGone(path);
        return;
    }
    emit openRequested(path);
}

} // namespace kq

// What the main window remembers from one run to the next: the projects opened or saved last,
// and its own place, size and split.

#include "mainwindow.h"

#include "language.h"
#include "optionsetting.h"
#include "recentprojects.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QSplitter>

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

QByteArray storedBytes(OptionKey key)
{
    return QByteArray::fromBase64(optionSetting(OptionRead, key).toLatin1());
}

void storeBytes(OptionKey key, const QByteArray &bytes)
{
    optionSetting(OptionWrite, key, QString::fromLatin1(bytes.toBase64()));
}

} // namespace

void MainWindow::showRecentEntries()
{
    mRecentPaths = RecentProjects::read();
    const QFontMetrics metrics(mMnuOpn->font());
    for (int i = 0; i < RecentCount; ++i) {
        QAction *entry = mMnuOpnRecent[i];
        const QString path = mRecentPaths.value(i);
        entry->setText(path.isEmpty() ? QString() : entryText(path, metrics));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setVisible(!path.isEmpty());
    }
    mMnuOpnLine2->setVisible(!mRecentPaths.isEmpty());
}

void MainWindow::rememberProject(const QString &path)
{
    RecentProjects::add(path);
    showRecentEntries();
}

void MainWindow::openRecent(int index)
{
    const QString path = mRecentPaths.value(index);
    if (path.isEmpty())
        return;
    if (!QFileInfo(path).isFile()) {
        // Nothing to ask or to warn about: the entry is simply out of date.
        RecentProjects::remove(path);
        showRecentEntries();
        mSts->setText(languageText(410).arg(QDir::toNativeSeparators(path)));
        return;
    }
    openFile(path);
}

void MainWindow::restoreWindowLayout()
{
    // Settings of another Qt version or edited by hand are ignored: the window opens as new.
    restoreGeometry(storedBytes(OptionWindowGeometry));
    if (!mSplitter->restoreState(storedBytes(OptionWindowLayout))) {
        // At first the editing areas have their designed width and the flow picture the rest.
        const int editing = mSplitter->widget(0)->minimumWidth();
        mSplitter->setSizes({editing, width() - editing});
    }
}

void MainWindow::saveWindowLayout() const
{
    storeBytes(OptionWindowGeometry, saveGeometry());
    storeBytes(OptionWindowLayout, mSplitter->saveState());
}

} // namespace kq

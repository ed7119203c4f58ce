#pragma once

#include "filelock.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

namespace kq {

// Where the editor finds the files of its program folder and where it writes its own. A program
// folder the user may write (a copied folder, the build's app folder) holds everything, as it
// always did. One the user may not write (installed for every user and owned by root) only
// holds what was shipped: the themes, languages and plug-ins the user saves or adds, and the
// plug-in exchange files, go to the same folders below the user's data folder
// ($XDG_DATA_HOME/kestrane-quorvex), and the lists show both, the user's own file winning over a
// shipped one of the same name.
class FilePlaces
{
public:
    // The places of the running editor (programFolder()) for the current user. Whether the user
    // may write the folder is looked at once for each folder.
    static FilePlaces current();
    // shared: the program folder is not the user's to write, so the user's folder takes what
    // the editor writes.
    FilePlaces(const QString &programFolder, const QString &userFolder, bool shared);

    bool isShared() const { return mShared; }
    QString programFolder() const { return mProgramFolder; }
    QString userFolder() const { return mUserFolder; }

    // The folder ("Themes", "Languages", "Plugins") in which the editor makes new files. Made
    // when it is missing; a shared installation gets it below the user's folder.
    QString folderForWriting(const QString &folder) const;
    // The file of that name in the folder as the editor reads it: the user's own when there is
    // one, otherwise the shipped one (which need not exist).
    QString filePath(const QString &folder, const QString &name) const;
    // The files of the folder that match pattern, in name order: the shipped ones and the user's
    // own together, the user's own taking the place of a shipped one of the same name.
    QStringList files(const QString &folder, const QString &pattern) const;

    // A file the user brought: one below the user's folder of a shared installation.
    bool isUsersOwn(const QString &path) const;
    // A file that came with a shared installation, which the user may neither change nor delete.
    bool isShipped(const QString &path) const;
    // Where changes to a listed file are saved: the file itself, or for a shipped file the user's
    // own file of that name.
    QString savePath(const QString &path) const;

    // The user's folder for the editor's files: $XDG_DATA_HOME/kestrane-quorvex.
    static QString userDataFolder();
    // Whether the editor writes into the program folder: the user may write it and the folders
    // below it that the editor writes into (Runner, Themes, Languages, Plugins), and it is not
    // installed for every user, which nobody's editor writes, not even the superuser's.
    static bool isWritableProgramFolder(const QString &folder);
    // Whether an installation for every user put the folder where it is: its file "installed"
    // names the folder's own place. A copy elsewhere is its user's, as any copied folder is.
    static bool isInstalledForEveryUser(const QString &folder);

private:
    QString mProgramFolder;
    QString mUserFolder;
    bool mShared;
};

// Where one test run plays: the runner with its data file "run.dll" beside it, since the runner
// reads the data file beside its own file. In a program folder the user may write that is the
// folder Runner itself, as it always was; otherwise a private folder below the user's cache
// ($XDG_CACHE_HOME/kestrane-quorvex) with a copy of the runner, removed after the run. The editor
// holds the copy locked from the moment it is made until the run is over, and the runner, in test
// mode, while it runs: a private folder whose copy no one holds was left by a killed editor.
class TestRunPlace
{
public:
    TestRunPlace();
    ~TestRunPlace();

    // Makes the place ready for the runner at runnerPath; false with a reason in *error (when
    // given). Only a private folder needs anything done; the runner is not looked at otherwise.
    bool prepare(const FilePlaces &places, const QString &runnerPath, QString *error = nullptr);

    QString folder() const { return mFolder; }
    QString runner() const { return mRunner; }
    QString dataFile() const;

    // After the run: the data file goes, and a private folder with everything in it.
    void clear();

    // Removes the private folders that neither an editor nor a runner holds any more.
    static void removeAbandoned();

private:
    QString mFolder;
    QString mRunner;
    std::unique_ptr<QTemporaryDir> mPrivate;
    FileLock mInUse;
};

} // namespace kq

#include "fileplaces.h"

#include "programfolder.h"
#include "projectio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

namespace kq {

namespace {

const QString FolderName = QStringLiteral("kestrane-quorvex");

// The folders below the program folder that the editor writes into.
const QStringList WrittenFolders = {QStringLiteral("Runner"), QStringLiteral("Themes"),
                                    QStringLiteral("Languages"), QStringLiteral("Plugins")};

// Written by the installation (desktop/installfinish.cmake) into a program folder installed for
// every user, holding the folder's installed path.
const QString InstalledMarker = QStringLiteral("installed");
// Enough for any path the system can open.
constexpr qint64 MaxPathBytes = 4096;

bool isBelow(const QString &path, const QString &folder)
{
    const QString parent = QDir::cleanPath(QFileInfo(path).absolutePath());
    return parent.startsWith(QDir::cleanPath(folder) + u'/');
}

QStringList entries(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

QString privateRunsFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(FolderName);
}

bool isHeldByAnyone(const QString &folder)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
    return std::any_of(files.cbegin(), files.cend(), [&dir](const QString &file) {
        return FileLock::isHeld(dir.filePath(file));
    });
}

} // namespace

FilePlaces FilePlaces::current()
{
    // Every language lookup asks for the places, so whether the user may write the program
    // folder is looked at once per folder; it does not change while the editor runs.
    static QString checkedFolder;
    static bool shared = false;
    const QString folder = kq::programFolder();
    if (folder != checkedFolder) {
        shared = !isWritableProgramFolder(folder);
        checkedFolder = folder;
    }
    return FilePlaces(folder, userDataFolder(), shared);
}

FilePlaces::FilePlaces(const QString &programFolder, const QString &userFolder, bool shared)
    : mProgramFolder(QDir::cleanPath(programFolder)), mUserFolder(QDir::cleanPath(userFolder)),
      mShared(shared)
{
}

QString FilePlaces::folderForWriting(const QString &folder) const
{
    const QString path = QDir(mShared ? mUserFolder : mProgramFolder).filePath(folder);
    QDir().mkpath(path);
    return path;
}

QString FilePlaces::filePath(const QString &folder, const QString &name) const
{
    const QString relative = folder + u'/' + name;
    if (mShared) {
        const QString own = QDir(mUserFolder).filePath(relative);
        if (QFileInfo(own).isFile())
            return own;
    }
    return QDir(mProgramFolder).filePath(relative);
}

QStringList FilePlaces::files(const QString &folder, const QString &pattern) const
{
    // Keyed by file name, so the user's own files, added last, take the place of shipped ones.
    QMap<QString, QString> byName;
    const QDir shipped(QDir(mProgramFolder).filePath(folder));
    for (const QString &name : entries(shipped.path(), pattern))
        byName.insert(name, shipped.filePath(name));
    if (mShared) {
        const QDir own(QDir(mUserFolder).filePath(folder));
        for (const QString &name : entries(own.path(), pattern))
            byName.insert(name, own.filePath(name));
    }
    return byName.values();
}

bool FilePlaces::isUsersOwn(const QString &path) const
{
    return mShared && isBelow(path, mUserFolder);
}

bool FilePlaces::isShipped(const QString &path) const
{
    return mShared && isBelow(path, mProgramFolder);
}

QString FilePlaces::savePath(const QString &path) const
{
    if (!isShipped(path))
        return path;
    const QFileInfo file(path);
    return QDir(folderForWriting(file.dir().dirName())).filePath(file.fileName());
}

QString FilePlaces::userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(FolderName);
}

bool FilePlaces::isWritableProgramFolder(const QString &folder)
{
    if (!QFileInfo(folder).isWritable() || isInstalledForEveryUser(folder))
        return false;
    for (const QString &sub : WrittenFolders) {
        const QFileInfo info(QDir(folder).filePath(sub));
        if (info.exists() && !info.isWritable())
            return false;
    }
    return true;
}

bool FilePlaces::isInstalledForEveryUser(const QString &folder)
{
    QFile marker(QDir(folder).filePath(InstalledMarker));
    if (!marker.open(QIODevice::ReadOnly))
        return false;
    QByteArray place = marker.readLine(MaxPathBytes);
    if (place.endsWith('\n'))
        place.chop(1);
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return !canonical.isEmpty() &&
           QFileInfo(QFile::decodeName(place)).canonicalFilePath() == canonical;
}

TestRunPlace::TestRunPlace() = default;

TestRunPlace::~TestRunPlace() = default;

bool TestRunPlace::prepare(const FilePlaces &places, const QString &runnerPath, QString *error)
{
    clear();
    if (!places.isShared()) {
        mFolder = QFileInfo(runnerPath).absolutePath();
        mRunner = runnerPath;
        return true;
    }
    const QString cache = privateRunsFolder();
    QDir().mkpath(cache);
    // The folder of the private folders is held while one is made and locked, and while
    // abandoned ones are looked for, so none is taken for abandoned before its maker locked it.
    FileLock guard;
    guard.lock(cache, FileLock::Mode::Exclusive);
    // A folder of the user's alone (mode 0700), so no one else can put a runner in its place.
    auto folder =
        std::make_unique<QTemporaryDir>(QDir(cache).filePath(QStringLiteral("run-XXXXXX")));
    const QString copy = folder->filePath(QFileInfo(runnerPath).fileName());
    QFile runner(runnerPath);
    if (!folder->isValid() || !runner.copy(copy)) {
        if (error)
            *error = folder->isValid() ? runnerPath + QStringLiteral(": ") + runner.errorString()
                                       : folder->errorString();
        return false;
    }
    mInUse.tryLock(copy, FileLock::Mode::Shared);
    mPrivate = std::move(folder);
    mFolder = mPrivate->path();
    mRunner = copy;
    return true;
}

QString TestRunPlace::dataFile() const
{
    return mRunner.isEmpty() ? QString() : ProjectIO::buildDataFilePath(mRunner);
}

void TestRunPlace::clear()
{
    if (!mRunner.isEmpty())
        QFile::remove(dataFile());
    mPrivate.reset();
    mInUse.unlock();
    mFolder.clear();
    mRunner.clear();
}

void TestRunPlace::removeAbandoned()
{
    if (!QFileInfo(privateRunsFolder()).isDir())
        return;
    FileLock guard;
    guard.lock(privateRunsFolder(), FileLock::Mode::Exclusive);
    const QDir runs(privateRunsFolder());
    for (const QString &name :
         runs.entryList({QStringLiteral("run-*")}, QDir::Dirs | QDir::NoSymLinks)) {
        if (!isHeldByAnyone(runs.filePath(name)))
            QDir(runs.filePath(name)).removeRecursively();
    }
}

} // namespace kq

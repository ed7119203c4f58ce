#include "programbuilder.h"

#include "dialogproject.h"
#include "elffile.h"
#include "failure.h"
#include "librarybundle.h"
#include "programfolder.h"
#include "projectio.h"
#include "reasontext.h"
#include "wholefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>

#include <algorithm>

namespace kq {

namespace {

// The platform plug-ins a portable program carries: xcb for the desktop, offscreen for runs
// without a display.
const QStringList Platforms = {QStringLiteral("xcb"), QStringLiteral("offscreen")};

constexpr ReasonText NoPermissions{TextId::BuildNoPermissions, u"%1: cannot set its permissions"};
constexpr ReasonText NoFolder{TextId::BuildNoFolder, u"%1: cannot make the folder"};
constexpr ReasonText OlderFilesStay{TextId::BuildOlderFilesStay,
                                    u"%1: cannot remove the older files"};
constexpr ReasonText NoRunPath{TextId::BuildNoRunPath,
                               u"%1 was built without the run path $ORIGIN/lib"};
constexpr ReasonText NoFolderOfItsOwn{TextId::BuildNoFolderOfItsOwn,
                                      u"%1: a portable program needs a folder of its own"};
constexpr ReasonText NotPacked{TextId::BuildNotPacked, u"tar cannot pack %1: %2"};
constexpr ReasonText NotWritten{TextId::BuildNotWritten, u"%1: cannot be written"};

// For the person who gets the folder: %1 the program, %2 its data file.
const QString Readme = QStringLiteral(R"(%1
=====

Эта программа сделана в Kestrane Quorvex и работает без установки на 64-битном
Linux с графическим рабочим столом (X11 или Wayland с XWayland).

Запуск: откройте файл "%1" в этой папке двойным щелчком или выполните в терминале
    cd путь/к/этой/папке
    ./%1

Не разделяйте файлы папки: "%2" хранит шаги программы, папки lib и plugins -
нужные ей библиотеки. Папку можно переносить и переименовывать; сам файл "%1"
ищет рядом "%2" по своему имени.


This program was made with Kestrane Quorvex and runs without installing on
64-bit Linux with a graphical desktop (X11, or Wayland with XWayland).

To start it, open the file "%1" in this folder with a double-click, or run in a
terminal:
    cd path/to/this/folder
    ./%1

Keep the folder's files together: "%2" holds the program's steps, the folders
lib and plugins the libraries it needs. The folder may be moved and renamed; the
file "%1" finds "%2" beside it by its own name.
)");

bool copyRunner(const QString &runnerPath, const QString &target, QString *error)
{
    QFile runner(runnerPath);
    if (!runner.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("%1: %2").arg(runnerPath, runner.errorString()));
    const QByteArray program = runner.readAll();
    if (runner.error() != QFileDevice::NoError)
        return failWith(error, QStringLiteral("%1: %2").arg(runnerPath, runner.errorString()));
    // Written whole before it replaces an existing file of that name.
    if (!writeWholeFile(target, program, error))
        return false;
    return QFile::setPermissions(target, runner.permissions()) ||
           failWith(error, NoPermissions.with({target}));
}

// The folder is made, or an earlier portable build's libraries and plug-ins are removed from it,
// so none of an older Qt stays behind. A link in their place goes, not what it leads to.
bool prepareFolder(const QDir &dir, QString *error)
{
    if (!dir.mkpath(QStringLiteral(".")))
        return failWith(error, NoFolder.with({dir.path()}));
    for (const QString &sub :
         {dir.filePath(QStringLiteral("lib")), dir.filePath(QStringLiteral("plugins"))}) {
        const bool removed =
            QFileInfo(sub).isSymLink() ? QFile::remove(sub) : QDir(sub).removeRecursively();
        if (!removed)
            return failWith(error, OlderFilesStay.with({sub}));
    }
    for (const QString &sub : {QStringLiteral("lib"), QStringLiteral("plugins/platforms")}) {
        if (!dir.mkpath(sub))
            return failWith(error, NoFolder.with({dir.filePath(sub)}));
    }
    return true;
}

// Only a runner that looks for libraries in lib/ beside itself makes a portable program.
bool findsItsLibraries(const QString &runnerPath, QString *error)
{
    ElfFile runner;
    if (!runner.load(runnerPath))
        return failWith(error, runner.errorString());
    if (!runner.runPath().split(u':').contains(u"$ORIGIN/lib"))
        return failWith(error, NoRunPath.with({runnerPath}));
    return true;
}

bool copyInto(const QString &source, const QDir &dir, const QString &target, QString *error)
{
    QFile file(source);
    return file.copy(dir.filePath(target)) ||
           failWith(error, QStringLiteral("%1: %2").arg(dir.filePath(target), file.errorString()));
}

// "quiz/" and "quiz" name the same folder, whose name is "quiz".
QString absolute(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

qint64 folderBytes(const QString &folder)
{
    qint64 bytes = 0;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        bytes += files.nextFileInfo().size();
    return bytes;
}

} // namespace

QString runnerProgram()
{
#ifdef Q_OS_WIN
    return programPath(QStringLiteral("Runner/run.exe"));
#else
    return programPath(QStringLiteral("Runner/run"));
#endif
}

QString portableRunnerProgram()
{
    return programPath(QStringLiteral("Runner/run-portable"));
}

bool buildProgram(const DialogProject &project, const QString &runnerPath,
                  const QString &programPath, QString *error)
{
    const QString dataPath = ProjectIO::buildDataFilePath(programPath);
    for (const auto &[kind, target] : {std::pair{BuildTarget::Kind::Program, programPath},
                                       std::pair{BuildTarget::Kind::DataFile, dataPath}}) {
        if (!BuildTarget{kind, target, project.path(), runnerPath}.mayWrite(error))
            return false;
    }
    if (!copyRunner(runnerPath, programPath, error))
        return false;
    // A program without its data file would only end at once: it goes too.
    if (!ProjectIO::writeDataFile(project, dataPath, error)) {
        QFile::remove(programPath);
        return false;
    }
    return true;
}

bool buildPortable(const DialogProject &project, const QString &runnerPath, const QString &folder,
                   PortableBuild *build, QString *error)
{
    const QDir dir(absolute(folder));
    const QString name = dir.dirName();
    if (name.isEmpty())
        return failWith(error, NoFolderOfItsOwn.with({folder}));
    const BuildTarget target{BuildTarget::Kind::PortableFolder, dir.path(), project.path(),
                             runnerPath};
    if (!target.mayWrite(error) || !findsItsLibraries(runnerPath, error) ||
        !prepareFolder(dir, error))
        return false;
    PortableBuild result;
    result.program = dir.filePath(name);
    if (!buildProgram(project, runnerPath, result.program, error))
        return false;

    LibraryBundle bundle;
    if (!bundle.add(runnerPath))
        return failWith(error, bundle.errorString());
    const QString platforms =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/");
    for (const QString &platform : Platforms) {
        const QString plugin = QStringLiteral("libq%1.so").arg(platform);
        const QString target = QStringLiteral("plugins/platforms/") + plugin;
        if (!bundle.add(platforms + plugin))
            return failWith(error, bundle.errorString());
        if (!copyInto(platforms + plugin, dir, target, error))
            return false;
        result.bundled.append(target);
    }
    const QMap<QString, QString> libraries = bundle.libraries();
    for (auto library = libraries.cbegin(); library != libraries.cend(); ++library) {
        const QString target = QStringLiteral("lib/") + library.key();
        if (!copyInto(library.value(), dir, target, error))
            return false;
        result.bundled.append(target);
    }
    std::sort(result.bundled.begin(), result.bundled.end());

    const QString dataName = QFileInfo(ProjectIO::buildDataFilePath(result.program)).fileName();
    if (!writeWholeFile(dir.filePath(QStringLiteral("qt.conf")), PortableQtConf, error) ||
        !writeWholeFile(dir.filePath(QStringLiteral("README.txt")),
                        Readme.arg(name, dataName).toUtf8(), error))
        return false;
    result.leftToSystem = bundle.leftToSystem();
    result.folderBytes = folderBytes(dir.path());
    if (build)
        *build = result;
    return true;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1);
}

QString kilobytes(qint64 bytes)
{
    return QString::number((bytes + 1023) / 1024);
}

QString archivePath(const QString &folder)
{
    return absolute(folder) + QStringLiteral(".tar.gz");
}

bool packFolder(const QString &folder, QString *archive, QString *error)
{
    const QFileInfo info(absolute(folder));
    const QString target = archivePath(folder);
    if (!BuildTarget{BuildTarget::Kind::Archive, target, {}, {}}.mayWrite(error))
        return false;
    const QString part = target + QStringLiteral(".part");
    // tar is part of every Linux system and writes owners, permissions and long names as every
    // unpacker expects them.
    QProcess tar;
    tar.start(QStringLiteral("tar"), {QStringLiteral("-czf"), part, QStringLiteral("-C"),
                                      info.path(), QStringLiteral("--"), info.fileName()});
    if (!tar.waitForFinished(-1) || tar.exitStatus() != QProcess::NormalExit ||
        tar.exitCode() != 0) {
        QFile::remove(part);
        const QString reason = QString::fromLocal8Bit(tar.readAllStandardError()).trimmed();
        return failWith(error, NotPacked.with({info.filePath(),
                                               reason.isEmpty() ? tar.errorString() : reason}));
    }
    QFile::remove(target);
    if (!QFile::rename(part, target))
        return failWith(error, NotWritten.with({target}));
    if (archive)
        *archive = target;
    return true;
}

} // namespace kq

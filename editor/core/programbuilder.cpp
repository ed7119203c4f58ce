#include "programbuilder.h"

#include "dialogproject.h"
#include "elffile.h"
#include "failure.h"
#include "librarybundle.h"
#include "programfolder.h"
#include "projectio.h"
#include "wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>

#include <algorithm>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace kq {

namespace {

// Qt reads qt.conf beside the program; plug-ins are then looked for in plugins/ of the folder
// only, never in the system's Qt.
const QString QtConf = u"[Paths]\nPrefix = .\nPlugins = plugins\n"_s;

// The platform plug-ins a portable program carries: xcb for the desktop, offscreen for runs
// without a display.
const QStringList Platforms = {u"xcb"_s, u"offscreen"_s};

// For the person who gets the folder: %1 the program, %2 its data file.
const QString Readme = uR"(%1
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
)"_s;

bool sameFile(const QString &a, const QString &b)
{
    std::error_code ignored;
    return std::filesystem::equivalent(QFile::encodeName(a).constData(),
                                       QFile::encodeName(b).constData(), ignored);
}

// A build writes files the user names; the editor and the runner it copies are not among them.
bool isProtected(const QString &path, const QString &runnerPath)
{
    return sameFile(path, runnerPath) || sameFile(path, QCoreApplication::applicationFilePath());
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What an earlier build left at a path may be replaced; any other file stays the user's. The
// program is a runner copy (of this runner, or of any that carries the runner's mark), the data
// file a file of whole project records.
bool mayReplace(const QString &path, bool program, const QString &runnerPath)
{
    const QFileInfo existing(path);
    if (!existing.exists() && !existing.isSymLink())
        return true;
    if (!existing.isFile())
        return false;
    if (program)
        return isBuiltProgram(path) || fileContent(path) == fileContent(runnerPath);
    return existing.size() >= DialogRecord::Size && existing.size() % DialogRecord::Size == 0;
}

// Why a build must not write the file, or nothing when it may.
QString refusal(const QString &target, bool program, const DialogProject &project,
                const QString &runnerPath)
{
    if (isProtected(target, runnerPath))
        return u"%1 is the editor or its runner; choose another name"_s.arg(target);
    if (!project.path().isEmpty() && sameFile(target, project.path()))
        return u"%1 is the project being built; choose another name"_s.arg(target);
    if (!mayReplace(target, program, runnerPath))
        return u"%1 exists and is not %2 an earlier build wrote; choose another name"_s.arg(
            target, program ? u"a program"_s : u"a data file"_s);
    return QString();
}

bool copyRunner(const QString &runnerPath, const QString &target, QString *error)
{
    QFile runner(runnerPath);
    if (!runner.open(QIODevice::ReadOnly))
        return failWith(error, u"%1: %2"_s.arg(runnerPath, runner.errorString()));
    const QByteArray program = runner.readAll();
    if (runner.error() != QFileDevice::NoError)
        return failWith(error, u"%1: %2"_s.arg(runnerPath, runner.errorString()));
    // Written whole before it replaces an existing file of that name.
    if (!writeWholeFile(target, program, error))
        return false;
    return QFile::setPermissions(target, runner.permissions()) ||
           failWith(error, u"%1: cannot set its permissions"_s.arg(target));
}

// A new folder is made; an existing one must be empty or an earlier portable build, whose
// libraries and plug-ins are removed, so none of an older Qt stays behind.
bool prepareFolder(const QDir &dir, QString *error)
{
    if (!dir.mkpath(u"."_s))
        return failWith(error, u"%1: cannot make the folder"_s.arg(dir.path()));
    const bool empty =
        dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    if (!empty && fileContent(dir.filePath(u"qt.conf"_s)) != QtConf.toUtf8())
        return failWith(error,
                        u"%1 holds other files; a portable program needs a folder of its own"_s.arg(
                            dir.path()));
    for (const QString &sub : {u"lib"_s, u"plugins"_s}) {
        if (!QDir(dir.filePath(sub)).removeRecursively())
            return failWith(error, u"%1: cannot remove the older files"_s.arg(dir.filePath(sub)));
    }
    if (!dir.mkpath(u"lib"_s) || !dir.mkpath(u"plugins/platforms"_s))
        return failWith(error, u"%1: cannot make its lib and plugins folders"_s.arg(dir.path()));
    return true;
}

// Only a runner that looks for libraries in lib/ beside itself makes a portable program.
bool findsItsLibraries(const QString &runnerPath, QString *error)
{
    ElfFile runner;
    if (!runner.load(runnerPath))
        return failWith(error, runner.errorString());
    if (!runner.runPath().split(u':').contains(u"$ORIGIN/lib"))
        return failWith(error, u"%1 was built without the run path $ORIGIN/lib"_s.arg(runnerPath));
    return true;
}

bool copyInto(const QString &source, const QDir &dir, const QString &target, QString *error)
{
    QFile file(source);
    return file.copy(dir.filePath(target)) ||
           failWith(error, u"%1: %2"_s.arg(dir.filePath(target), file.errorString()));
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
    return programPath(u"Runner/run.exe"_s);
#else
    return programPath(u"Runner/run"_s);
#endif
}

QString portableRunnerProgram()
{
    return programPath(u"Runner/run-portable"_s);
}

bool isBuiltProgram(const QString &path)
{
    ElfFile program;
    return program.load(path) && program.sectionNames().contains(QLatin1String(RunnerMark));
}

bool buildProgram(const DialogProject &project, const QString &runnerPath,
                  const QString &programPath, QString *error)
{
    const QString dataPath = ProjectIO::buildDataFilePath(programPath);
    for (const auto &[target, program] :
         {std::pair{programPath, true}, std::pair{dataPath, false}}) {
        if (const QString reason = refusal(target, program, project, runnerPath); !reason.isEmpty())
            return failWith(error, reason);
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
        return failWith(error, u"%1: a portable program needs a folder of its own"_s.arg(folder));
    if (!findsItsLibraries(runnerPath, error) || !prepareFolder(dir, error))
        return false;
    PortableBuild result;
    result.program = dir.filePath(name);
    if (!buildProgram(project, runnerPath, result.program, error))
        return false;

    LibraryBundle bundle;
    if (!bundle.add(runnerPath))
        return failWith(error, bundle.errorString());
    const QString platforms = QLibraryInfo::path(QLibraryInfo::PluginsPath) + u"/platforms/"_s;
    for (const QString &platform : Platforms) {
        const QString plugin = u"libq%1.so"_s.arg(platform);
        const QString target = u"plugins/platforms/"_s + plugin;
        if (!bundle.add(platforms + plugin))
            return failWith(error, bundle.errorString());
        if (!copyInto(platforms + plugin, dir, target, error))
            return false;
        result.bundled.append(target);
    }
    const QMap<QString, QString> libraries = bundle.libraries();
    for (auto library = libraries.cbegin(); library != libraries.cend(); ++library) {
        const QString target = u"lib/"_s + library.key();
        if (!copyInto(library.value(), dir, target, error))
            return false;
        result.bundled.append(target);
    }
    std::sort(result.bundled.begin(), result.bundled.end());

    const QString dataName = QFileInfo(ProjectIO::buildDataFilePath(result.program)).fileName();
    if (!writeWholeFile(dir.filePath(u"qt.conf"_s), QtConf.toUtf8(), error) ||
        !writeWholeFile(dir.filePath(u"README.txt"_s), Readme.arg(name, dataName).toUtf8(), error))
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

bool packFolder(const QString &folder, QString *archive, QString *error)
{
    const QFileInfo info(absolute(folder));
    const QString target = info.filePath() + u".tar.gz"_s;
    const QString part = target + u".part"_s;
    // tar is part of every Linux system and writes owners, permissions and long names as every
    // unpacker expects them.
    QProcess tar;
    tar.start(u"tar"_s, {u"-czf"_s, part, u"-C"_s, info.path(), u"--"_s, info.fileName()});
    if (!tar.waitForFinished(-1) || tar.exitStatus() != QProcess::NormalExit ||
        tar.exitCode() != 0) {
        QFile::remove(part);
        const QString reason = QString::fromLocal8Bit(tar.readAllStandardError()).trimmed();
        return failWith(error, u"tar cannot pack %1: %2"_s.arg(
                                   info.filePath(), reason.isEmpty() ? tar.errorString() : reason));
    }
    QFile::remove(target);
    if (!QFile::rename(part, target))
        return failWith(error, u"%1: cannot be written"_s.arg(target));
    if (archive)
        *archive = target;
    return true;
}

} // namespace kq

#include "buildtarget.h"

#include "dialogrecord.h"
#include "elffile.h"
#include "failure.h"
#include "programfolder.h"
#include "reasontext.h"
#include "tableformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>

namespace kq {

namespace {

using Kind = BuildTarget::Kind;

// A page's mark stands in its head, within its first few kilobytes.
constexpr qint64 PageHeadBytes = 4096;
const QString ArchiveEnding = QStringLiteral(".tar.gz");

// Every refusal ends by asking for another name.
constexpr ReasonText InEditorFolder{
    TextId::TargetInEditorFolder,
    u"%1 is part of the editor's program folder; choose another name"};
constexpr ReasonText HoldsEditorFolder{
    TextId::TargetHoldsEditorFolder, u"%1 holds the editor's program folder; choose another name"};
constexpr ReasonText IsRunner{TextId::TargetIsRunner,
                              u"%1 is or holds the runner a build copies; choose another name"};
constexpr ReasonText HoldsProject{TextId::TargetHoldsProject,
                                  u"%1 holds the project being built; choose another name"};
constexpr ReasonText IsProject{TextId::TargetIsProject,
                               u"%1 is the project being built; choose another name"};
constexpr ReasonText HoldsOtherFiles{
    TextId::TargetHoldsOtherFiles,
    u"%1 holds other files; a portable program needs a folder of its own"};
// What exists at the target and is not an earlier build, by the kind of the target.
constexpr ReasonText NotAProgram{
    TextId::TargetNotAProgram,
    u"%1 exists and is not a program an earlier build wrote; choose another name"};
constexpr ReasonText NotADataFile{
    TextId::TargetNotADataFile,
    u"%1 exists and is not a data file an earlier build wrote; choose another name"};
constexpr ReasonText NotAFolder{TextId::TargetNotAFolder,
                                u"%1 exists and is not a portable program's folder an "
                                u"earlier build wrote; choose another name"};
constexpr ReasonText NotAnArchive{TextId::TargetNotAnArchive,
                                  u"%1 exists and is not a portable program's archive an "
                                  u"earlier build wrote; choose another name"};
constexpr ReasonText NotAPage{
    TextId::TargetNotAPage,
    u"%1 exists and is not a web page an earlier build wrote; choose another name"};
constexpr ReasonText NotAWindowsProgram{
    TextId::NotAWindowsProgramReason,
    u"%1 exists and is not a Windows program an earlier build wrote; choose another name"};

QByteArray fileContent(const QString &path, qint64 bytes = -1)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return bytes < 0 ? file.readAll() : file.read(bytes);
}

// What the file system says, whatever names, links or letter case lead there.
bool sameFile(const QString &a, const QString &b)
{
    std::error_code ignored;
    return std::filesystem::equivalent(QFile::encodeName(a).constData(),
                                       QFile::encodeName(b).constData(), ignored);
}

// Where a path leads as the file system resolves it: the canonical path of the part that
// exists, followed by the names that do not exist yet.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString parent = info.path();
    return parent == path ? path : QDir(resolved(parent)).filePath(info.fileName());
}

// The places a write at path may reach: where it leads, and the name itself, which a writer may
// replace instead of following a link.
QStringList places(const QString &path)
{
    const QFileInfo info(path);
    return {resolved(path), QDir(resolved(info.path())).filePath(info.fileName())};
}

// Whether place is folder itself or lies anywhere below it.
bool liesIn(QString place, const QString &folder)
{
    for (;;) {
        if (sameFile(place, folder))
            return true;
        const QString parent = QFileInfo(place).path();
        if (parent == place)
            return false;
        place = parent;
    }
}

// Why a build must never write there, or nothing: the editor's own files, and the project's.
QString forbidden(const BuildTarget &target)
{
    const bool folder = target.kind == Kind::PortableFolder;
    const QStringList editorFolders{programFolder(), QCoreApplication::applicationDirPath()};
    for (const QString &place : places(target.path)) {
        for (const QString &editor : editorFolders) {
            if (liesIn(place, editor))
                return InEditorFolder.with({target.path});
            if (folder && liesIn(editor, place))
                return HoldsEditorFolder.with({target.path});
        }
        if (!target.runnerPath.isEmpty() &&
            (folder ? liesIn(target.runnerPath, place) : sameFile(place, target.runnerPath)))
            return IsRunner.with({target.path});
        if (!target.projectPath.isEmpty() &&
            (folder ? liesIn(target.projectPath, place) : sameFile(place, target.projectPath)))
            return (folder ? HoldsProject : IsProject).with({target.path});
    }
    return {};
}

bool isEmptyFolder(const QString &path)
{
    return QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                              QDir::System);
}

// Whether what exists at the target is what an earlier build of its kind wrote there.
bool earlierBuild(const BuildTarget &target, const QFileInfo &existing)
{
    if (target.kind == Kind::PortableFolder)
        return existing.isDir() &&
               (isEmptyFolder(target.path) || isBuiltPortableFolder(target.path));
    if (!existing.isFile())
        return false;
    switch (target.kind) {
    case Kind::Program:
        return isBuiltProgram(target.path) ||
               fileContent(target.path) == fileContent(target.runnerPath);
    case Kind::DataFile:
        return existing.size() >= DialogRecord::Size && existing.size() % DialogRecord::Size == 0;
    case Kind::Archive:
        return isBuiltArchive(target.path);
    case Kind::WebPage:
        return isBuiltWebPage(target.path);
    case Kind::WindowsProgram:
        return isBuiltWindowsProgram(target.path) ||
               fileContent(target.path) == fileContent(target.runnerPath);
    case Kind::PortableFolder:
        break;
    }
    return false;
}

// Why what exists at the target may not be replaced, or nothing.
QString notAnEarlierBuild(const BuildTarget &target)
{
    const QFileInfo existing(target.path);
    if ((!existing.exists() && !existing.isSymLink()) || earlierBuild(target, existing))
        return {};
    if (target.kind == Kind::PortableFolder && existing.isDir())
        return HoldsOtherFiles.with({target.path});
    const ReasonText &refusal = target.kind == Kind::Program          ? NotAProgram
                                : target.kind == Kind::DataFile       ? NotADataFile
                                : target.kind == Kind::Archive        ? NotAnArchive
                                : target.kind == Kind::PortableFolder ? NotAFolder
                                : target.kind == Kind::WindowsProgram ? NotAWindowsProgram
                                                                      : NotAPage;
    return refusal.with({target.path});
}

} // namespace

bool isBuiltProgram(const QString &path)
{
    ElfFile program;
    return program.load(path) && program.sectionNames().contains(QLatin1String(RunnerMark));
}

bool isBuiltWebPage(const QString &path)
{
    const QByteArray head = fileContent(path, PageHeadBytes);
    return head.startsWith("<!DOCTYPE html>") && head.contains(WebPageMark);
}

bool isBuiltWindowsProgram(const QString &path)
{
    namespace Format = WindowsTable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < Format::TrailerSize ||
        !file.read(2).startsWith("MZ") ||
        !file.seek(file.size() - qint64(sizeof(Format::TrailerMagic))))
        return false;
    return file.read(sizeof(Format::TrailerMagic)) ==
           QByteArray(Format::TrailerMagic, sizeof(Format::TrailerMagic));
}

bool isBuiltPortableFolder(const QString &path)
{
    const QString conf = QDir(path).filePath(QStringLiteral("qt.conf"));
    return QFileInfo(conf).isFile() && fileContent(conf) == PortableQtConf;
}

bool isBuiltArchive(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!name.endsWith(ArchiveEnding) || !QFileInfo(path).isFile())
        return false;
    const QString conf = name.chopped(ArchiveEnding.size()) + QStringLiteral("/qt.conf");
    QProcess tar;
    tar.start(QStringLiteral("tar"), {QStringLiteral("-xzOf"), path, QStringLiteral("--"), conf});
    return tar.waitForFinished(-1) && tar.exitStatus() == QProcess::NormalExit &&
           tar.exitCode() == 0 && tar.readAllStandardOutput() == PortableQtConf;
}

bool BuildTarget::mayWrite(QString *error) const
{
    QString reason = forbidden(*this);
    if (reason.isEmpty())
        reason = notAnEarlierBuild(*this);
    return reason.isEmpty() || failWith(error, reason);
}

} // namespace kq

#pragma once

#include <QString>

namespace kq {

// The section every runner carries, so that a program built by this editor can be told from any
// other file.
inline constexpr char RunnerMark[] = "kq_runner";
// The element in the head of every page a web build writes, so that a page built by this editor
// can be told from any other file.
inline constexpr char WebPageMark[] = R"(<meta name="generator" content="Kestrane Quorvex">)";
// The qt.conf of every portable folder: Qt finds the folder's plug-ins through it, and its first
// line marks the folder as one that a build wrote.
inline constexpr char PortableQtConf[] =
    "; A portable program built by Kestrane Quorvex; a new build may replace this folder.\n"
    "[Paths]\nPrefix = .\nPlugins = plugins\n";

// An ELF program that carries the runner's mark: a runner, or a program built from one.
bool isBuiltProgram(const QString &path);
// An HTML file that carries the web page's mark in its head.
bool isBuiltWebPage(const QString &path);
// A folder whose qt.conf is the one a portable build writes.
bool isBuiltPortableFolder(const QString &path);
// A Windows program that ends in the step table a Windows build appends to the player.
bool isBuiltWindowsProgram(const QString &path);
// A gzip-compressed tar file that holds a portable folder of its own name (less ".tar.gz"), as
// packing one writes it.
bool isBuiltArchive(const QString &path);

// A file or folder a build is about to write, and what the build reads: the one rule that every
// build (program, portable folder, its archive, web page, Windows program) obeys, from the command
// line and the editor alike.
struct BuildTarget
{
    enum class Kind { Program, DataFile, PortableFolder, Archive, WebPage, WindowsProgram };

    Kind kind;
    QString path;
    // The project's own file, empty for a project that has none.
    QString projectPath;
    // The runner a program build copies, or the player a Windows build copies; empty for a web
    // page.
    QString runnerPath;

    // True when the build may write path: it is never the project's file, the running editor,
    // the runner, nor anything in the editor's program folder (a folder may not hold any of
    // them either), wherever links lead; and what exists there already is what an earlier build
    // of the same kind wrote. False with the reason in *error (when given) otherwise.
    bool mayWrite(QString *error = nullptr) const;
};

} // namespace kq

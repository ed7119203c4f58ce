#pragma once

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

namespace kq {

// Whether a library, named as programs ask for it ("libc.so.6"), is one that every Linux desktop
// has and a portable program must take from the system: the C and C++ runtimes, the graphics
// drivers, the X11 and xcb client libraries and the font and sound stacks.
bool isLeftToSystem(const QString &soname);

// Where the dynamic loader finds, on this system, each library that a program or library needs
// directly or through others (ldd's answer); a library it does not find maps to an empty path.
bool loaderPaths(const QString &file, QHash<QString, QString> *paths, QString *error = nullptr);

// The libraries that programs and plug-ins need and a desktop may lack, found by following their
// needs (DT_NEEDED) from library to library. A library left to the system is not followed: what
// it needs is the system's business too.
class LibraryBundle
{
public:
    // Adds what file needs. False when the loader does not find one of those libraries here.
    bool add(const QString &file);

    // Bundled libraries by the name programs ask for, with their file on this system.
    QMap<QString, QString> libraries() const { return mLibraries; }
    QStringList leftToSystem() const;

    QString errorString() const { return mError; }

private:
    QMap<QString, QString> mLibraries;
    QSet<QString> mLeftToSystem;
    QString mError;
};

} // namespace kq

#include "librarybundle.h"

#include "elffile.h"
#include "reasontext.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

namespace kq {

namespace {

constexpr ReasonText NotListed{TextId::LibrariesNotListed,
                               u"ldd cannot list the libraries of %1: %2"};
constexpr ReasonText NotInstalled{TextId::LibraryNotInstalled,
                                  u"%1 needs %2, which is not installed"};

// After the exclude list of portable Linux applications (AppImage, linuxdeploy): libraries that
// every desktop has, or that must match the system's kernel, drivers or servers to work.
const QSet<QString> SystemLibraries = {
    // the GNU C library
    QStringLiteral("ld-linux.so.2"), QStringLiteral("ld-linux-x86-64.so.2"),
    QStringLiteral("libanl.so.1"), QStringLiteral("libBrokenLocale.so.1"),
    QStringLiteral("libcidn.so.1"), QStringLiteral("libc.so.6"), QStringLiteral("libdl.so.2"),
    QStringLiteral("libm.so.6"), QStringLiteral("libmvec.so.1"), QStringLiteral("libpthread.so.0"),
    QStringLiteral("libresolv.so.2"), QStringLiteral("librt.so.1"),
    QStringLiteral("libthread_db.so.1"), QStringLiteral("libutil.so.1"),
    // the C++ runtime and the compiler's support library
    QStringLiteral("libstdc++.so.6"), QStringLiteral("libgcc_s.so.1"),
    // graphics drivers
    QStringLiteral("libGL.so.1"), QStringLiteral("libEGL.so.1"), QStringLiteral("libGLX.so.0"),
    QStringLiteral("libGLdispatch.so.0"), QStringLiteral("libOpenGL.so.0"),
    QStringLiteral("libdrm.so.2"), QStringLiteral("libglapi.so.0"), QStringLiteral("libgbm.so.1"),
    QStringLiteral("libwayland-client.so.0"),
    // fonts
    QStringLiteral("libfontconfig.so.1"), QStringLiteral("libfreetype.so.6"),
    QStringLiteral("libharfbuzz.so.0"), QStringLiteral("libfribidi.so.0"),
    // sound servers
    QStringLiteral("libasound.so.2"), QStringLiteral("libjack.so.0"),
    QStringLiteral("libpipewire-0.3.so.0"),
    // the base system
    QStringLiteral("libcom_err.so.2"), QStringLiteral("libexpat.so.1"),
    QStringLiteral("libgpg-error.so.0"), QStringLiteral("libICE.so.6"),
    QStringLiteral("libSM.so.6"), QStringLiteral("libusb-1.0.so.0"), QStringLiteral("libuuid.so.1"),
    QStringLiteral("libz.so.1"), QStringLiteral("libgmp.so.10")};

// The xcb utility libraries are no part of the X client libraries: desktops without Qt programs
// may lack them, and Qt's xcb plug-in does not start without them.
const QSet<QString> XcbUtilities = {
    QStringLiteral("libxcb-cursor"),      QStringLiteral("libxcb-errors"),
    QStringLiteral("libxcb-ewmh"),        QStringLiteral("libxcb-icccm"),
    QStringLiteral("libxcb-image"),       QStringLiteral("libxcb-keysyms"),
    QStringLiteral("libxcb-render-util"), QStringLiteral("libxcb-util")};

} // namespace

bool isLeftToSystem(const QString &soname)
{
    if (SystemLibraries.contains(soname) || soname.startsWith(u"libnss_"))
        return true;
    // X11 client libraries (libX11, libXau, ...), libxcb and its protocol extensions
    if (soname.startsWith(u"libX"))
        return true;
    return soname.startsWith(u"libxcb") && !XcbUtilities.contains(soname.section(u'.', 0, 0));
}

bool loaderPaths(const QString &file, QHash<QString, QString> *paths, QString *error)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {file});
    if (!ldd.waitForFinished(60000) || ldd.exitStatus() != QProcess::NormalExit ||
        ldd.exitCode() != 0) {
        if (error) {
            const QString reason = QString::fromLocal8Bit(ldd.readAllStandardError()).trimmed();
            *error = NotListed.with({file, reason.isEmpty() ? ldd.errorString() : reason});
        }
        return false;
    }
    // "\tlibQt6Core.so.6 => /lib/x86_64-linux-gnu/libQt6Core.so.6 (0x...)", or "=> not found"
    static const QRegularExpression line(
        QStringLiteral("^\\s*(\\S+) => (.*?)(?: \\(0x[0-9a-f]+\\))?$"));
    const QStringList lines = QString::fromLocal8Bit(ldd.readAllStandardOutput()).split(u'\n');
    for (const QString &text : lines) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch()) {
            const QString path = match.captured(2);
            paths->insert(match.captured(1), path == u"not found" ? QString() : path);
        }
    }
    return true;
}

bool LibraryBundle::add(const QString &file)
{
    QHash<QString, QString> paths;
    ElfFile elf;
    if (!loaderPaths(file, &paths, &mError))
        return false;
    if (!elf.load(file)) {
        mError = elf.errorString();
        return false;
    }
    QStringList wanted = elf.needed();
    while (!wanted.isEmpty()) {
        const QString name = wanted.takeFirst();
        if (isLeftToSystem(name)) {
            mLeftToSystem.insert(name);
            continue;
        }
        if (mLibraries.contains(name))
            continue;
        const QString path = paths.value(name);
        if (path.isEmpty()) {
            mError = NotInstalled.with({file, name});
            return false;
        }
        if (!elf.load(path)) {
            mError = elf.errorString();
            return false;
        }
        mLibraries.insert(name, path);
        wanted.append(elf.needed());
    }
    return true;
}

QStringList LibraryBundle::leftToSystem() const
{
    QStringList names(mLeftToSystem.cbegin(), mLeftToSystem.cend());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace kq

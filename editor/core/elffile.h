#pragma once

#include <QString>
#include <QStringList>

namespace kq {

// What the dynamic loader reads from a 64-bit little-endian ELF program or library: the
// libraries it needs (DT_NEEDED), its run paths, and the names of its sections.
class ElfFile
{
public:
    // Reads the file whole; false with a reason in errorString() when it is no such ELF file.
    bool load(const QString &path);

    QStringList needed() const { return mNeeded; }
    // The old-style run path (DT_RPATH), which also serves the libraries loaded on its behalf.
    QString runPath() const { return mRunPath; }
    // The newer run path (DT_RUNPATH), which serves only this file's own needs.
    QString newRunPath() const { return mNewRunPath; }
    QStringList sectionNames() const { return mSectionNames; }

    QString errorString() const { return mError; }

private:
    bool fail(const QString &reason);

    QStringList mNeeded;
    QString mRunPath;
    QString mNewRunPath;
    QStringList mSectionNames;
    QString mError;
};

} // namespace kq

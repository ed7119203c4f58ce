#include "autosave.h"

#include "filelock.h"
#include "projectdocument.h"
#include "projectio.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace kq {

namespace {

const QString ProjectEnding = QStringLiteral(".dlg2");
const QString PathEnding = QStringLiteral(".path");
const QString LockEnding = QStringLiteral(".lock");

// A name of this editor's own that no other editor, before or after, is given: process ids are
// not, since a new editor in a container often gets the very id of the one that was killed.
QString ownBase()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// An editor that still runs holds its lock; the system lets go of a killed one's. Copies of
// earlier versions, named by process id, carry such a lock too.
bool ownerIsGone(const QString &lockPath)
{
    return !FileLock::isHeld(lockPath);
}

// The copy's record of itself: the original path, then the number of dialogs it holds.
QByteArray describe(const QString &originalPath, int dialogs)
{
    return originalPath.toUtf8() + '\n' + QByteArray::number(dialogs) + '\n';
}

// The copy as the editor wrote it: whole, and holding the dialogs its record names.
std::optional<Autosave::Recovery> readCopy(const QString &base)
{
    QFile record(base + PathEnding);
    if (!record.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = record.readAll().split('\n');
    bool counted = false;
    const int dialogs = lines.value(1).toInt(&counted);
    Autosave::Recovery recovery{base + ProjectEnding, QString::fromUtf8(lines.value(0)), base, {}};
    const qint64 expectedSize = qint64(dialogs + 1) * DialogRecord::Size;
    if (!counted || dialogs < 1 || QFileInfo(recovery.projectFile).size() != expectedSize ||
        !ProjectIO::loadProjectFile(recovery.project, recovery.projectFile) ||
        recovery.project.dialogCount() != dialogs)
        return std::nullopt;
    return recovery;
}

// Moves the copy's files into the set-aside folder under a name not taken there yet.
QString setAside(const QString &base)
{
    QDir().mkpath(Autosave::setAsideFolder());
    const QString name = QFileInfo(base).fileName();
    QString target = QDir(Autosave::setAsideFolder()).filePath(name);
    for (int n = 2; QFile::exists(target + ProjectEnding); ++n)
        target = QDir(Autosave::setAsideFolder()).filePath(name + u'-' + QString::number(n));
    QFile::rename(base + PathEnding, target + PathEnding);
    QFile::rename(base + ProjectEnding, target + ProjectEnding);
    QFile::remove(base + LockEnding);
    return target + ProjectEnding;
}

} // namespace

Autosave::Autosave(ProjectDocument &document, QObject *parent)
    : QObject(parent), mDocument(document)
{
    mBase = QDir(folder()).filePath(ownBase());
    QDir().mkpath(folder());
    removeStaleLocks();
    mLock.tryLock(mBase + LockEnding, FileLock::Mode::Exclusive);

    mTimer.setInterval(Interval);
    connect(&mTimer, &QTimer::timeout, this, &Autosave::tick);
    mTimer.start();
    connect(&mDocument, &ProjectDocument::contentsChanged, this, [this] { mPending = true; });
    // A list operation changes much at once, so it is kept at once: once its command is on the
    // undo stack, since only then does the document count as modified.
    mWriter.setMaxThreadCount(1);
    for (auto listChanged : {&ProjectDocument::dialogsInserted, &ProjectDocument::dialogsRemoved})
        connect(&mDocument, listChanged, this, &Autosave::saveSoon, Qt::QueuedConnection);
    connect(&mDocument, &ProjectDocument::dialogMoved, this, &Autosave::saveSoon,
            Qt::QueuedConnection);
    connect(&mDocument, &ProjectDocument::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            discard();
    });
}

// An editor that ends in order has dealt with its project; only a killed one leaves a copy.
Autosave::~Autosave()
{
    discard();
    QFile::remove(mBase + LockEnding);
}

QString Autosave::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

QString Autosave::projectFile() const
{
    return mBase + ProjectEnding;
}

void Autosave::tick()
{
    if (mPending)
        saveNow();
}

bool Autosave::write(const QString &base, const QByteArray &record, const QByteArray &copy)
{
    // The record is written first: a copy is never found without the file it belongs to, and
    // a copy cut short by a crash does not hold the dialogs its record names.
    return writeWholeFile(base + PathEnding, record) && writeWholeFile(base + ProjectEnding, copy);
}

void Autosave::saveNow()
{
    mWriter.waitForDone();
    if (!mDocument.isModified())
        return;
    const DialogProject &project = mDocument.project();
    if (write(mBase, describe(mDocument.path(), project.dialogCount()), project.fileBytes()))
        mPending = false;
}

void Autosave::saveSoon()
{
    if (!mDocument.isModified())
        return;
    // The project as it is now; a copy that could not be written leaves it to the timer.
    const DialogProject &project = mDocument.project();
    const QByteArray record = describe(mDocument.path(), project.dialogCount());
    const QByteArray copy = project.fileBytes();
    mPending = false;
    mWriter.start([this, base = mBase, record, copy] {
        if (!write(base, record, copy))
            QMetaObject::invokeMethod(this, [this] { mPending = true; });
    });
}

void Autosave::discard()
{
    mWriter.waitForDone();
    QFile::remove(projectFile());
    QFile::remove(mBase + PathEnding);
    mPending = false;
}

QString Autosave::setAsideFolder()
{
    return folder() + QStringLiteral("/unreadable");
}

Autosave::LeftOvers Autosave::findLeftOvers()
{
    const QDir dir(folder());
    const QStringList copies =
        dir.entryList({QStringLiteral("*") + ProjectEnding}, QDir::Files, QDir::Time);
    LeftOvers found;
    for (const QString &copy : copies) {
        const QString base = dir.filePath(QFileInfo(copy).completeBaseName());
        if (!ownerIsGone(base + LockEnding))
            continue;
        std::optional<Recovery> recovery = readCopy(base);
        if (!recovery)
            found.setAside << setAside(base);
        else if (!found.recovery)
            found.recovery = std::move(recovery);
    }
    return found;
}

void Autosave::removeStaleLocks()
{
    const QDir dir(folder());
    for (const QString &lock : dir.entryList({QStringLiteral("*") + LockEnding}, QDir::Files)) {
        const QString base = dir.filePath(QFileInfo(lock).completeBaseName());
        // A lock beside a copy stays until the copy is dealt with.
        if (!QFile::exists(base + ProjectEnding) && ownerIsGone(base + LockEnding))
            QFile::remove(base + LockEnding);
    }
}

void Autosave::remove(const Recovery &recovery)
{
    for (const QString &ending : {ProjectEnding, PathEnding, LockEnding})
        QFile::remove(recovery.base + ending);
}

} // namespace kq

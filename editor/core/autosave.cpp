#include "autosave.h"

#include "projectdocument.h"
#include "wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kq {

namespace {

const QString ProjectEnding = QStringLiteral(".dlg2");
const QString PathEnding = QStringLiteral(".path");
const QString LockEnding = QStringLiteral(".lock");

} // namespace

Autosave::Autosave(ProjectDocument &document, QObject *parent)
    : QObject(parent), mDocument(document)
{
    mBase = QDir(folder()).filePath(QString::number(QCoreApplication::applicationPid()));
    QDir().mkpath(folder());
    mLock = std::make_unique<QLockFile>(mBase + LockEnding);
    mLock->tryLock(0);

    mTimer.setInterval(Interval);
    connect(&mTimer, &QTimer::timeout, this, &Autosave::tick);
    mTimer.start();
    connect(&mDocument, &ProjectDocument::contentsChanged, this, [this] { mPending = true; });
    // A list operation changes much at once, so it is kept at once: once its command is on the
    // undo stack, since only then does the document count as modified.
    for (auto listChanged : {&ProjectDocument::dialogInserted, &ProjectDocument::dialogRemoved})
        connect(&mDocument, listChanged, this, &Autosave::saveNow, Qt::QueuedConnection);
    connect(&mDocument, &ProjectDocument::dialogMoved, this, &Autosave::saveNow,
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

void Autosave::saveNow()
{
    if (!mDocument.isModified())
        return;
    // The original path is written first: a copy is never found without the file it belongs to.
    if (writeWholeFile(mBase + PathEnding, mDocument.path().toUtf8()) &&
        writeWholeFile(projectFile(), mDocument.project().fileBytes()))
        mPending = false;
}

void Autosave::discard()
{
    QFile::remove(projectFile());
    QFile::remove(mBase + PathEnding);
    mPending = false;
}

std::optional<Autosave::Recovery> Autosave::findLeftOver()
{
    const QDir dir(folder());
    const QStringList copies =
        dir.entryList({QStringLiteral("*") + ProjectEnding}, QDir::Files, QDir::Time);
    const QString own = QString::number(QCoreApplication::applicationPid());
    for (const QString &copy : copies) {
        if (QFileInfo(copy).completeBaseName() == own)
            continue;
        const QString base = dir.filePath(QFileInfo(copy).completeBaseName());
        // An editor that still runs holds its lock; the lock of a killed one is stale.
        QLockFile lock(base + LockEnding);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QFile pathFile(base + PathEnding);
        const QString original =
            pathFile.open(QIODevice::ReadOnly) ? QString::fromUtf8(pathFile.readAll()) : QString();
        return Recovery{base + ProjectEnding, original, base};
    }
    return std::nullopt;
}

void Autosave::remove(const Recovery &recovery)
{
    for (const QString &ending : {ProjectEnding, PathEnding, LockEnding})
        QFile::remove(recovery.base + ending);
}

} // namespace kq

#pragma once

#include "dialogproject.h"
#include "filelock.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <optional>

namespace kq {

class ProjectDocument;

// Keeps a recovery copy of a changed project in the user's data folder, never beside or over
// the user's own file: every 30 seconds while there are new changes, and at once after a list
// operation, written then by a thread of its own so that the window shows the operation
// meanwhile. Each running editor holds a lock beside its copy, so a copy whose editor was killed
// or crashed can be told from one whose editor still runs.
class Autosave : public QObject
{
    Q_OBJECT

public:
    static constexpr int Interval = 30 * 1000;

    // A recovery copy left by an editor that no longer runs, read completely.
    struct Recovery
    {
        QString projectFile;
        QString originalPath;
        QString base; // the copy's files without their extension
        DialogProject project;
    };

    // What editors that were killed left: the newest copy that reads completely and holds the
    // dialogs it recorded, and the copies that do not, which are set aside (kept, never
    // deleted) so that they are not offered again.
    struct LeftOvers
    {
        std::optional<Recovery> recovery;
        QStringList setAside; // where each copy set aside is now
    };

    explicit Autosave(ProjectDocument &document, QObject *parent = nullptr);
    ~Autosave() override;

    // Writes the recovery copy now when the project is changed.
    void saveNow();
    // Has the copy written by the writer thread when the project is changed.
    void saveSoon();
    // The project was saved, dropped or replaced: its recovery copy goes.
    void discard();
    // One tick of the timer: writes when something changed since the last copy.
    void tick();

    QString projectFile() const;
    QTimer &timer() { return mTimer; }

    // The folder of the recovery copies, and the one where copies that cannot be read are kept.
    static QString folder();
    static QString setAsideFolder();
    static LeftOvers findLeftOvers();
    static void remove(const Recovery &recovery);
    // Removes the locks of editors that no longer run.
    static void removeStaleLocks();

private:
    // Writes the record, then the copy; false when either could not be written.
    static bool write(const QString &base, const QByteArray &record, const QByteArray &copy);

    ProjectDocument &mDocument;
    // One thread, so copies are written in the order they were taken; saveNow and discard wait
    // for it, so nothing it writes lands after them.
    QThreadPool mWriter;
    QTimer mTimer;
    QString mBase;
    FileLock mLock;
    bool mPending = false;
};

} // namespace kq

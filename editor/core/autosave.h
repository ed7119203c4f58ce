#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

namespace kq {

class ProjectDocument;

// Keeps a recovery copy of a changed project in the user's data folder, never beside or over
// the user's own file: every 30 seconds while there are new changes, and at once after a list
// operation. Each running editor holds a lock beside its copy, so a copy whose editor was killed
// or crashed can be told from one whose editor still runs.
class Autosave : public QObject
{
    Q_OBJECT

public:
    static constexpr int Interval = 30 * 1000;

    // A recovery copy left by an editor that no longer runs.
    struct Recovery
    {
        QString projectFile;
        QString originalPath;
        QString base; // the copy's files without their extension
    };

    explicit Autosave(ProjectDocument &document, QObject *parent = nullptr);
    ~Autosave() override;

    // Writes the recovery copy now when the project is changed.
    void saveNow();
    // The project was saved, dropped or replaced: its recovery copy goes.
    void discard();
    // One tick of the timer: writes when something changed since the last copy.
    void tick();

    QString projectFile() const;
    QTimer &timer() { return mTimer; }

    // The folder of the recovery copies.
    static QString folder();
    static std::optional<Recovery> findLeftOver();
    static void remove(const Recovery &recovery);

private:
    ProjectDocument &mDocument;
    QTimer mTimer;
    QString mBase;
    std::unique_ptr<QLockFile> mLock;
    bool mPending = false;
};

} // namespace kq

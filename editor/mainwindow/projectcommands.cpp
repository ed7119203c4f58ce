#include "projectcommands.h"

#include "autosave.h"
#include "fileplaces.h"
#include "language.h"
#include "productinfo.h"
#include "programfolder.h"
#include "projectdocument.h"
#include "projectio.h"
#include "uiservices.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

namespace kq {

namespace {

const QString ProjectSuffix = QStringLiteral("dlg2");

// Whether Save can replace the file at path: a file there may be written, and its folder takes
// the new file that replaces it whole.
bool mayWriteFile(const QString &path)
{
    // A program folder installed for every user is never written, not even by root.
    if (FilePlaces::current().isShipped(path))
        return false;
    const QFileInfo file(path);
    return (!file.exists() || file.isWritable()) && QFileInfo(file.absolutePath()).isWritable();
}

} // namespace

ProjectCommands::ProjectCommands(UiServices &ui, ProjectDocument &document, QWidget *window)
    : QObject(window), mUi(ui), mDocument(document), mWindow(window),
      mAutosave(new Autosave(document, this))
{
    setObjectName(QStringLiteral("project_commands"));
}

void ProjectCommands::newProject()
{
    DialogProject fresh;
    fresh.record(0).text = QStringLiteral("0");
    fresh.newDialog(1, ProjectDocument::newDialogText());
    fresh.setDialogCount(1);
    replaceWith(fresh);
}

void ProjectCommands::replaceWith(const DialogProject &project)
{
    mDocument.replaceProject(project);
    mAutosave->discard();
}

bool ProjectCommands::mayReplaceProject()
{
    mDocument.commitPendingEdits();
    return !mDocument.isModified() || askSaveChanges();
}

bool ProjectCommands::askSaveChanges()
{
    // A restored copy is not the file it came from: the question says so before a save writes it.
    QString question = languageText(TextId::SaveChangesQuestion);
    if (mDocument.isRestored())
        question = mDocument.path().isEmpty()
                       ? languageText(TextId::SaveRestoredQuestion)
                       : languageText(TextId::SaveRestoredToQuestion)
                             .arg(QDir::toNativeSeparators(mDocument.path()));
    const UiServices::Answer answer =
        mUi.message(mWindow, question, ProductTitle, UiServices::Icon::Question,
                    UiServices::Buttons::YesNoCancel);
    switch (answer) {
    case UiServices::Answer::Yes:
        // Work that could not be written is not given up: a failed or cancelled save stops here.
        return save(SaveMode::Save);
    case UiServices::Answer::No:
        return true;
    default:
        return false;
    }
}

void ProjectCommands::closeProject()
{
    // Whatever was chosen, the project has been dealt with: no recovery copy is left behind.
    mAutosave->discard();
}

bool ProjectCommands::save(SaveMode mode)
{
    mDocument.commitPendingEdits();
    QString path = mDocument.path();
    // A file the user may not write (a sample of an installation for every user) is not given
    // up on: Save asks where to keep the project, offering its name among the user's documents.
    const bool keptElsewhere = !path.isEmpty() && !mayWriteFile(path);
    if (mode == SaveMode::SaveAs || path.isEmpty() || keptElsewhere) {
        // The name offered, and any name typed, end in ".dlg2", so Open takes the file again.
        // A file that may not be written is offered among the user's documents; the project's
        // own file is offered as it is, so this covers it too.
        QString suggested = mDocument.pathBeside(QStringLiteral(".") + ProjectSuffix);
        if (!mayWriteFile(suggested))
            suggested = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                            .filePath(QFileInfo(suggested).fileName());
        path = ProjectIO::projectFileName(mUi.saveFileName(
            mWindow, {languageText(TextId::SaveProjectAsTitle),
                      languageText(TextId::ProjectFiles) + QStringLiteral("|*.dlg2"),
                      ProjectSuffix,
                      suggested,
                      {}}));
        if (path.isEmpty())
            return false;
    }
    // The document's own records stay as they are; only their file changes.
    DialogProject written = mDocument.project();
    QString error;
    if (!ProjectIO::saveProjectFile(written, path, &error)) {
        mUi.warnFailed(mWindow, error);
        return false;
    }
    mDocument.markSaved(path);
    mAutosave->discard();
    emit projectFileUsed(path);
    return true;
}

void ProjectCommands::open()
{
    if (!mayReplaceProject())
        return;
    const QString filter = languageText(TextId::ProjectFiles) + QStringLiteral("|*.dlg2|") +
                           languageText(TextId::LegacyProjectFiles) + QStringLiteral("|*.dlg|") +
                           languageText(TextId::BuiltProgramFiles) + QStringLiteral("|*.exe");
    // A cancelled dialog leaves the project as it is.
    const QString path = mUi.openFileName(mWindow, languageText(TextId::OpenProjectTitle), filter);
    if (!path.isEmpty())
        openProjectPath(path);
}

void ProjectCommands::openFile(const QString &path)
{
    if (mayReplaceProject())
        openProjectPath(path);
}

bool ProjectCommands::openProjectPath(const QString &path)
{
    // The project is read aside, so a file that cannot be read leaves the one in the editor,
    // its path and its title untouched.
    // An absolute path, so that the save dialogs offer the project's folder whatever the
    // current folder is later.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    DialogProject opened = mDocument.project();
    QString error;
    if (!ProjectIO::openPath(opened, absolute, &error)) {
        mUi.warnFailed(mWindow, error);
        return false;
    }
    replaceWith(opened);
    mDocument.setOpenedFrom(absolute);
    emit projectFileUsed(absolute);
    warnBrokenStyle();
    return true;
}

void ProjectCommands::warnBrokenStyle()
{
    const qint16 style = mDocument.record(0).projectStyle().value_or(-1);
    if (style < 0 || style > 1)
        mUi.warnFailed(mWindow, languageText(TextId::NoProjectStyle));
}

void ProjectCommands::openSample(const QString &fileName)
{
    const QString path = programPath(QStringLiteral("Samples/") + fileName);
    if (fileName.isEmpty() || !QFileInfo(path).isFile()) {
        mUi.message(mWindow, languageText(TextId::SampleNotFound),
                    languageText(TextId::OperationFailed), UiServices::Icon::Warning,
                    UiServices::Buttons::Ok);
        return;
    }
    // A sample replaces the project as Open does, so unsaved edits are not dropped unasked.
    if (!mayReplaceProject())
        return;
    const QString kind = fileName.right(4).toUpper();
    DialogProject sample = mDocument.project();
    bool ok = true;
    QString error;
    if (kind == u"DLG2") {
        ok = ProjectIO::loadProjectFile(sample, path, &error);
        // Only a sample that was read becomes the file Save writes to, and only where the user
        // may write it: Save asks for a place for a sample of an installation for every user.
        sample.setPath(FilePlaces::current().isShipped(path) ? QString() : path);
    } else if (kind == u".DLG") {
        ok = ProjectIO::importLegacyProject(sample, path, &error);
    } else {
        return;
    }
    if (!ok) {
        mUi.warnFailed(mWindow, error);
        return;
    }
    replaceWith(sample);
    mDocument.setOpenedFrom(path);
    warnBrokenStyle();
}

void ProjectCommands::loadPluginResult(const DialogProject &result)
{
    mDocument.applyPluginResult(result);
    mAutosave->saveNow();
}

void ProjectCommands::offerRecovery()
{
    const Autosave::LeftOvers left = Autosave::findLeftOvers();
    for (const QString &setAside : left.setAside)
        mUi.message(
            mWindow,
            languageText(TextId::RecoveryCopyUnreadable).arg(QDir::toNativeSeparators(setAside)),
            ProductTitle, UiServices::Icon::Warning, UiServices::Buttons::Ok);
    if (!left.recovery)
        return;
    const Autosave::Recovery &recovery = *left.recovery;
    const UiServices::Answer answer =
        mUi.message(mWindow, languageText(TextId::RestoreRecoveryQuestion), ProductTitle,
                    UiServices::Icon::Question, UiServices::Buttons::YesNo, recovery.originalPath);
    if (answer != UiServices::Answer::Yes) {
        Autosave::remove(recovery);
        return;
    }
    DialogProject recovered = recovery.project;
    recovered.setPath(recovery.originalPath);
    mDocument.replaceProject(recovered, ProjectDocument::Replaced::Restored);
    Autosave::remove(recovery);
    mAutosave->saveNow();
}

} // namespace kq

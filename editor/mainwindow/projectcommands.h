#pragma once

#include <QObject>

class QWidget;

namespace kq {

class Autosave;
class DialogProject;
class ProjectDocument;
class UiServices;

// The commands that replace or write the project as a whole: new, open, open a file or a
// sample, save, save as, and the projects that come from elsewhere (a plug-in's result, a
// recovery copy). Whatever would drop unsaved edits asks first; failures show the OperationFailed
// warning with the reason. It keeps the document's recovery copy (Autosave) in step: a project
// saved, dropped or replaced leaves none behind.
class ProjectCommands : public QObject
{
    Q_OBJECT

public:
    enum class SaveMode { Save, SaveAs };

    // Questions, dialogs and warnings appear over window.
    ProjectCommands(UiServices &ui, ProjectDocument &document, QWidget *window);

    // A fresh project of one dialog in style 0; asks nothing.
    void newProject();
    // The file dialog, then the project it names.
    void open();
    // Opens a file as open does after its file dialog: a failure leaves the project untouched.
    void openFile(const QString &path);
    // A sample of the "Samples" folder by its file name: a project file or an old project.
    void openSample(const QString &fileName);
    // True when the project was written; false when it failed or the user cancelled. Save asks
    // for a name, as Save As does, when the project has no file or one the user may not write.
    bool save(SaveMode mode);
    // Before the project in memory is closed or replaced: true when it has no unsaved edits, or
    // the user saved them or chose to drop them.
    bool mayReplaceProject();
    // The project is closed with the editor: its recovery copy goes.
    void closeProject();
    // A plug-in's result replaces the records as one undoable, unsaved change.
    void loadPluginResult(const DialogProject &result);
    // Offers a recovery copy that an editor killed or crashed left behind.
    void offerRecovery();

signals:
    // A project file was opened or saved: it goes in front of the recent projects.
    void projectFileUsed(const QString &path);

private:
    bool askSaveChanges();
    // A project read from path replaces the document; false (and the warning) when it failed.
    bool openProjectPath(const QString &path);
    // Replaces the document with a project read from a file or made new.
    void replaceWith(const DialogProject &project);
    void warnBrokenStyle();

    UiServices &mUi;
    ProjectDocument &mDocument;
    QWidget *mWindow;
    Autosave *mAutosave;
};

} // namespace kq

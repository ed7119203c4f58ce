#pragma once

#include "dialogproject.h"
#include "gototargets.h"
#include "projectcheck.h"
#include "stepclipboard.h"
#include "stepflow.h"
#include "textid.h"

#include <QObject>
#include <QString>

#include <array>
#include <utility>

class QUndoStack;

namespace kq {

// The one place that changes the editor's project. It owns the records, the dialog count, the
// project path, the selected dialog and the undo history; every change is an undoable command,
// and the views follow its signals instead of keeping copies of records.
class ProjectDocument : public QObject
{
    Q_OBJECT

public:
    enum class Field { Text, Caption, Button1, Button2, Script1, Script2 };
    // A project replaced as a whole is clean, except a recovered autosave, which only exists in
    // memory: closing must not drop that unasked, and it is told as such until it is saved.
    enum class Replaced { Clean, Restored };

    explicit ProjectDocument(QObject *parent = nullptr);
    ~ProjectDocument() override;

    const DialogProject &project() const { return mProject; }
    const DialogRecord &record(int index) const { return mProject.record(index); }
    int dialogCount() const { return mProject.dialogCount(); }
    QString path() const { return mProject.path(); }
    // What a save dialog offers for something made of the project: its folder and its name with
    // the given ending ("…/quiz.dlg2" and ".png" give "…/quiz.png"), always as an absolute path.
    // A project without a file of its own is named after the file it was imported from, or else
    // after its first step's caption ("Untitled" without one), in the folder last used.
    QString pathBeside(const QString &ending) const;
    // The file the project was read from where that is not its own file (an old text project, a
    // built program, a shipped sample); forgotten when another project replaces it.
    void setOpenedFrom(const QString &file);
    QUndoStack *undoStack() const { return mUndoStack; }

    // The selected dialog, 1 to the dialog count.
    int currentDialog() const { return mCurrentDialog; }
    // Another current dialog is selected alone.
    void setCurrentDialog(int dialog);

    // The dialogs the list operations below act on, with the current one, which the properties
    // panel edits and which need not be among them.
    struct Selection
    {
        QList<int> dialogs;
        int current = 1;
        bool operator==(const Selection &other) const = default;
    };
    Selection selection() const { return {selectedDialogs(), mCurrentDialog}; }
    // In list order; the current dialog when none is selected.
    QList<int> selectedDialogs() const;
    void setSelection(const QList<int> &dialogs, int current);

    // The project differs from what was last opened or saved.
    bool isModified() const;
    // The project is a recovery copy that has not been saved since it was restored.
    bool isRestored() const { return mRestored; }

    // Undoable edits of one record; an edit that changes nothing is not recorded. Typing in one
    // field of one dialog merges into a single command.
    void setField(int dialog, Field field, const QString &value);
    // The text of a field in a record, and how many characters the record has room for.
    static QString &fieldOf(DialogRecord &record, Field field);
    static const QString &fieldOf(const DialogRecord &record, Field field)
    {
        return fieldOf(const_cast<DialogRecord &>(record), field);
    }
    static int fieldWidth(Field field);
    // Several records replaced at once (index and new record), as one command with the given
    // name; the views hear of it once. Records that change nothing are left out.
    void replaceRecords(const QList<std::pair<int, DialogRecord>> &records, TextId undoText);
    void setTime(int dialog, qint16 time);
    // The step type with its side effects on the other fields, as one command.
    void setType(int dialog, int type);
    void setIcon(int dialog, int icon);
    void setStyle(int style);

    // Undoable list operations. A new dialog goes after the given one and becomes current.
    // Each also rewrites the go-to scripts whose targets it moves, in the same command, so that
    // every button keeps leading to the same step.
    void insertDialog(int after);
    void deleteDialog(int dialog);
    void moveDialog(int dialog, int offset);

    // The same on many dialogs, each one command. A project keeps at least one dialog. Moving by
    // one moves a block as a block, and each dialog of a scattered selection by one, in their
    // order; a dialog at an end stays, and so do the selected ones it would pass.
    bool canDeleteDialogs(const QList<int> &dialogs) const;
    void deleteDialogs(const QList<int> &dialogs, TextId undoText = TextId::UndoStepDeletion);
    bool canMoveDialogs(const QList<int> &dialogs, int offset) const;
    void moveDialogs(const QList<int> &dialogs, int offset);
    // The dialogs, in their order, go where the dialog `before` is (one past the last: the end).
    void moveDialogsTo(const QList<int> &dialogs, int before);

    // The dialogs' steps with a mark of this document. A followed copy's mark goes on following
    // the list operations, so that a paste here knows where the steps they lead to went; a drag,
    // which ends before the list changes, is not followed.
    enum class Copy { Followed, ForDrag };
    CopiedSteps copySteps(const QList<int> &dialogs, Copy kind = Copy::Followed);
    // Inserts copied steps after the dialog `after` and selects them. Go-to targets among them
    // lead to the copies; the others lead to the same step when the steps are this document's,
    // and keep their number when they come from another project. False, and nothing changed,
    // when the project has no room for them all (stepsRoom tells how many fit).
    bool pasteSteps(const CopiedSteps &steps, int after, TextId undoText = TextId::UndoPaste);
    int stepsRoom() const { return DialogProject::MaxDialogs - dialogCount(); }
    // Copies of the dialogs after the dialog `after` (-1: the last of them).
    bool duplicateDialogs(const QList<int> &dialogs, int after = -1,
                          TextId undoText = TextId::UndoDuplicate);

    // Script 1 or 2 of the dialog is led anew, as one command: to the step `target` (numbered
    // from 0) or to "Выход". A target one past the last step is a new message step made there.
    // False when nothing changed: the script led there already, the target is not in the list,
    // no room is left for a new step, or `leads` is neither a step nor the exit.
    bool linkScript(int dialog, int script, StepExit::Leads leads, int target = -1);

    // Every command calls this first, whatever it does to the project: the view that holds typing
    // not yet sent (the properties panel) sends it now, so the command sees what the user sees.
    void commitPendingEdits();
    // Undo and redo of the history, pending typing committed first.
    void undo();
    void redo();

    // A new history for a project opened, imported, created or recovered.
    void replaceProject(const DialogProject &project, Replaced state = Replaced::Clean);
    // A plug-in's result as one undoable command: its header, dialogs and dialog count take the
    // place of the project's, and the path stays. Undo gives back the records as they were.
    void applyPluginResult(const DialogProject &result);
    // The project was written to path: that is now its file, and its current state is clean.
    void markSaved(const QString &path);

    // The record of a dialog after a switch to the given type (the fields that type does not
    // use are reset); exposed so that tests building records by hand apply the command's rule.
    static DialogRecord switchedType(const DialogRecord &record, int type);
    // The text of a new dialog and of the buttons a step type fixes, in the active language.
    static QString newDialogText();
    // A new message dialog as "New step" makes it.
    static DialogRecord newDialogRecord();

    // Script 1 or 2 of a dialog led to a step that was deleted and now leads to the one that took
    // its place; it stays so until the script is edited or another project replaces this one.
    bool leadsToDeletedStep(int dialog, int script) const;
    // The project check with a warning on each of those scripts.
    QList<Finding> check() const;

signals:
    // commitPendingEdits was called: a view with typing not yet sent sends it now.
    void pendingEditsRequested();
    // Record index: 0 the header, 1 to 99 the dialogs.
    void recordChanged(int index);
    // `count` dialogs from `first` on were inserted or removed; the later ones moved by as many.
    void dialogsInserted(int first, int count);
    void dialogsRemoved(int first, int count);
    // One dialog or a range of them changed places.
    void dialogMoved(int from, int to);
    // Sent before dialogMoved: where each dialog went; order[k] is the dialog now at place k + 1.
    void dialogsReordered(const QList<int> &order);
    void selectionChanged();
    void projectReplaced();
    // After every change of the records or the count, whatever its kind.
    void contentsChanged();
    void currentDialogChanged(int dialog);
    void modifiedChanged(bool modified);
    void pathChanged(const QString &path);
    // A list operation (or its undo or redo) rewrote go-to scripts, or left scripts leading to
    // the step that took a deleted one's place.
    void scriptsFollowed(int rewritten, int leftOnDeleted);

private:
    friend class RecordCommand;
    friend class InsertCommand;
    friend class DeleteCommand;
    friend class MoveCommand;
    friend class ResultCommand;
    friend class FollowingTargets;
    friend class GroupCommand;
    friend class ReorderCommand;
    friend class PasteCommand;
    friend class RecordsCommand;

    // Per dialog, bit 1 and bit 2: script 1 or 2 leads to where a deleted step was.
    using DeletedTargets = std::array<quint8, DialogProject::Capacity>;
    // Where the steps of a copy (by their numbers when copied) are now.
    using StepNumbers = std::array<qint8, DialogProject::Capacity>;
    struct CopyOrigin
    {
        QByteArray mark;
        StepNumbers numberNow{};
    };

    void followCopies(const GoToTargets::ListChange &change);
    // The copied records as pasted at step number `first`, their go-to targets led as pasteSteps
    // tells; numberNow is where their steps are now, none for another project's.
    static QList<DialogRecord> pastedRecords(const CopiedSteps &steps, const StepNumbers *numberNow,
                                             const GoToTargets::ListChange &change, int first);
    bool insertCopies(const CopiedSteps &steps, const StepNumbers *numberNow, int after,
                      TextId undoText);
    void reorder(const QList<int> &order, TextId undoText);
    void reorderRecords(const QList<int> &order);
    // A command of several list operations has ended: the views hear of it once.
    void groupDone(int rewritten, int leftOnDeleted);

    void pushRecord(int index, const DialogRecord &after, const QString &text, int mergeKey);
    void writeRecord(int index, const DialogRecord &record);
    void insertRecords(int first, const QList<DialogRecord> &records);
    void removeRecords(int first, int count);
    void swapRecords(int first, int second);
    void writeScript(int dialog, int script, const QString &text);
    // The records and dialog count of contents (not its path) with the given marks; dialog
    // becomes the selected one and every view shows the project anew.
    void showContents(const DialogProject &contents, const DeletedTargets &marks, int dialog);
    void contentsReplaced(int dialog);
    // contentsChanged, held back while a command changes several things at once.
    void contentsDone();
    QString nameFromFirstCaption() const;
    // The folder of the project opened or saved last, or the user's documents.
    static QString lastFolderUsed();
    void emitModified();

    DialogProject mProject;
    QUndoStack *mUndoStack = nullptr;
    int mCurrentDialog = 1;
    bool mRestored = false;
    bool mLastModified = false;
    DeletedTargets mDeletedTargets{};
    bool mBatching = false;
    QString mOpenedFrom;
    QList<int> mSelection;
    // The copies this document made last, newest last.
    QList<CopyOrigin> mCopyOrigins;
    QByteArray mMark;
    int mCopySerial = 0;
    // Inside a command of several list operations, which tell the views once at its end.
    int mGroupDepth = 0;
    int mGroupRewritten = 0;
    int mGroupLeft = 0;
};

} // namespace kq

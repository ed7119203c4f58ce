#include "projectdocument.h"

#include "buttonscript.h"
#include "codepage.h"
#include "language.h"

#include "recentprojects.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace kq {

namespace {

// The runner draws a message's text in the default font of the desktop it runs on, which the
// editor shares when it has a window system; without one (`tavlen --check`) it estimates.
ProjectCheck::LineMeasure runnerLineWidth()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return ProjectCheck::estimatedLineWidth;
    return [metrics = QFontMetrics(QGuiApplication::font())](const QString &line) {
        return metrics.horizontalAdvance(line);
    };
}

// Merge keys of field edits: one per field, so typing in another field starts a new command.
constexpr int FieldMergeBase = 1;
constexpr int TimeMergeKey = 100;
constexpr int MaxSuggestedName = 60;

QString commandText(TextId id)
{
    return languageText(id);
}

QString fixedButtonText(TextId id)
{
    return languageText(id).left(DialogRecord::ButtonWidth);
}

QString &fieldOf(DialogRecord &record, ProjectDocument::Field field)
{
    switch (field) {
    case ProjectDocument::Field::Text:
        return record.text;
    case ProjectDocument::Field::Caption:
        return record.caption;
    case ProjectDocument::Field::Button1:
        return record.btn1;
    case ProjectDocument::Field::Button2:
        return record.btn2;
    case ProjectDocument::Field::Script1:
        return record.btnscr1;
    case ProjectDocument::Field::Script2:
        break;
    }
    return record.btnscr2;
}

int widthOf(ProjectDocument::Field field)
{
    switch (field) {
    case ProjectDocument::Field::Text:
        return DialogRecord::TextWidth;
    case ProjectDocument::Field::Caption:
        return DialogRecord::CaptionWidth;
    default:
        return DialogRecord::ButtonWidth;
    }
}

// Records that would be stored as the same bytes: padding is not content.
bool sameContent(const DialogRecord &first, const DialogRecord &second)
{
    return first.toBytes() == second.toBytes();
}

quint8 scriptBit(int script)
{
    return quint8(script == 1 ? 1 : 2);
}

// What the script of a step is to its window: a button's, or the script of the step's own end.
StepField scriptField(const DialogRecord &record, int script)
{
    switch (record.type) {
    case DialogRecord::Message:
        return script == 1 ? StepField::Button1 : StepField::Button2;
    case DialogRecord::Progress:
        return script == 1 ? StepField::Button1 : StepField::BarFull;
    case DialogRecord::Pause:
        return script == 1 ? StepField::PauseEnd : StepField::None;
    default:
        return StepField::None;
    }
}

// Views only edit dialogs the list shows, so a project without any gets a new one's first.
DialogProject withADialog(DialogProject project)
{
    if (project.dialogCount() < 1) {
        project.newDialog(1, ProjectDocument::newDialogText());
        project.setDialogCount(1);
    }
    return project;
}

} // namespace

// The go-to scripts one list operation renumbers, kept with its command. Redo runs the operation
// and then rewrites them; undo puts the exact scripts back and then undoes the operation, so the
// list and every script come back as one step.
class FollowingTargets
{
public:
    explicit FollowingTargets(const GoToTargets::ListChange &change) : mChange(change) {}

    template <class Operation> void redo(ProjectDocument *document, Operation operation)
    {
        mMarksBefore = document->mDeletedTargets;
        document->mBatching = true;
        operation();
        if (!mFound) {
            mRewrites = GoToTargets::rewrites(document->project(), mChange);
            mFound = true;
        }
        for (const GoToTargets::Rewrite &rewrite : std::as_const(mRewrites)) {
            document->writeScript(rewrite.dialog, rewrite.script, rewrite.after);
            if (rewrite.leadsToRemoved)
                document->mDeletedTargets[rewrite.dialog] |= scriptBit(rewrite.script);
        }
        finish(document);
    }

    template <class Operation> void undo(ProjectDocument *document, Operation operation)
    {
        document->mBatching = true;
        for (const GoToTargets::Rewrite &rewrite : std::as_const(mRewrites))
            document->writeScript(rewrite.dialog, rewrite.script, rewrite.before);
        operation();
        document->mDeletedTargets = mMarksBefore;
        finish(document);
    }

private:
    void finish(ProjectDocument *document) const
    {
        document->mBatching = false;
        emit document->contentsChanged();
        const auto left = std::count_if(mRewrites.cbegin(), mRewrites.cend(),
                                        [](const auto &rewrite) { return rewrite.leadsToRemoved; });
        const auto rewritten =
            std::count_if(mRewrites.cbegin(), mRewrites.cend(),
                          [](const auto &rewrite) { return rewrite.after != rewrite.before; });
        if (rewritten > 0 || left > 0)
            emit document->scriptsFollowed(int(rewritten), int(left));
    }

    GoToTargets::ListChange mChange;
    QList<GoToTargets::Rewrite> mRewrites;
    ProjectDocument::DeletedTargets mMarksBefore{};
    bool mFound = false;
};

// One record before and after an edit. Field edits of one dialog and one field merge while the
// user types, and a merge that ends where it started leaves no command behind.
class RecordCommand : public QUndoCommand
{
public:
    RecordCommand(ProjectDocument *document, int index, const DialogRecord &after,
                  const QString &text, int mergeKey)
        : QUndoCommand(text), mDocument(document), mIndex(index), mBefore(document->record(index)),
          mAfter(after), mMergeKey(mergeKey)
    {
    }

    int id() const override { return mMergeKey > 0 ? 1 : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const RecordCommand *>(other);
        if (next->mIndex != mIndex || next->mMergeKey != mMergeKey)
            return false;
        mAfter = next->mAfter;
        setObsolete(sameContent(mAfter, mBefore));
        return true;
    }

    void redo() override
    {
        if (!mMarked) {
            mMarksBefore = mDocument->mDeletedTargets;
            mMarked = true;
        }
        apply(mAfter);
    }
    void undo() override
    {
        apply(mBefore);
        mDocument->mDeletedTargets = mMarksBefore;
    }

private:
    void apply(const DialogRecord &record)
    {
        if (mIndex > 0)
            mDocument->setCurrentDialog(mIndex);
        mDocument->writeRecord(mIndex, record);
    }

    ProjectDocument *mDocument;
    int mIndex;
    DialogRecord mBefore;
    DialogRecord mAfter;
    int mMergeKey;
    ProjectDocument::DeletedTargets mMarksBefore{};
    bool mMarked = false;
};

// Dialog index k is the step the list numbers k - 1.
class InsertCommand : public QUndoCommand
{
public:
    InsertCommand(ProjectDocument *document, int dialog, const DialogRecord &record,
                  const QString &text)
        : QUndoCommand(text), mDocument(document), mDialog(dialog), mRecord(record),
          mTargets(GoToTargets::ListChange::inserted(dialog - 1, document->dialogCount()))
    {
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { mDocument->insertRecord(mDialog, mRecord); });
    }
    void undo() override
    {
        mTargets.undo(mDocument, [this] { mDocument->removeRecord(mDialog); });
    }

private:
    ProjectDocument *mDocument;
    int mDialog;
    DialogRecord mRecord;
    FollowingTargets mTargets;
};

class DeleteCommand : public QUndoCommand
{
public:
    DeleteCommand(ProjectDocument *document, int dialog, const QString &text)
        : QUndoCommand(text), mDocument(document), mDialog(dialog),
          mRecord(document->record(dialog)),
          mTargets(GoToTargets::ListChange::removed(dialog - 1, document->dialogCount()))
    {
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { mDocument->removeRecord(mDialog); });
    }
    void undo() override
    {
        mTargets.undo(mDocument, [this] { mDocument->insertRecord(mDialog, mRecord); });
    }

private:
    ProjectDocument *mDocument;
    int mDialog;
    DialogRecord mRecord;
    FollowingTargets mTargets;
};

class MoveCommand : public QUndoCommand
{
public:
    MoveCommand(ProjectDocument *document, int from, int to, const QString &text)
        : QUndoCommand(text), mDocument(document), mFrom(from), mTo(to),
          mTargets(GoToTargets::ListChange::swapped(from - 1, to - 1))
    {
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { move(mFrom, mTo); });
    }
    void undo() override
    {
        mTargets.undo(mDocument, [this] { move(mTo, mFrom); });
    }

private:
    void move(int from, int to)
    {
        mDocument->swapRecords(from, to);
        emit mDocument->dialogMoved(from, to);
        mDocument->setCurrentDialog(to);
    }

    ProjectDocument *mDocument;
    int mFrom;
    int mTo;
    FollowingTargets mTargets;
};

// A plug-in's result: the whole project before and after it as one step. The path is not part of
// it, so a save under another name in between stays.
class ResultCommand : public QUndoCommand
{
public:
    ResultCommand(ProjectDocument *document, const DialogProject &after, const QString &text)
        : QUndoCommand(text), mDocument(document), mBefore(document->project()), mAfter(after),
          mMarksBefore(document->mDeletedTargets), mDialogBefore(document->currentDialog())
    {
    }

    void redo() override { mDocument->showContents(mAfter, {}, 1); }
    void undo() override { mDocument->showContents(mBefore, mMarksBefore, mDialogBefore); }

private:
    ProjectDocument *mDocument;
    DialogProject mBefore;
    DialogProject mAfter;
    ProjectDocument::DeletedTargets mMarksBefore;
    int mDialogBefore;
};

ProjectDocument::ProjectDocument(QObject *parent)
    : QObject(parent), mUndoStack(new QUndoStack(this))
{
    connect(mUndoStack, &QUndoStack::cleanChanged, this, &ProjectDocument::emitModified);
}

ProjectDocument::~ProjectDocument() = default;

void ProjectDocument::setCurrentDialog(int dialog)
{
    if (dialog < 1 || dialog > dialogCount() || dialog == mCurrentDialog)
        return;
    mCurrentDialog = dialog;
    emit currentDialogChanged(dialog);
}

QString ProjectDocument::pathBeside(const QString &ending) const
{
    const QString base = path().isEmpty() ? mOpenedFrom : path();
    if (base.isEmpty())
        return QDir(lastFolderUsed()).filePath(nameFromFirstCaption() + ending);
    // Only the endings of what the editor opens are dropped: "Quiz v1.2" keeps its ".2".
    const QFileInfo project(base);
    QString name = project.fileName();
    for (const QString &known :
         {QStringLiteral(".dlg2"), QStringLiteral(".dlg"), QStringLiteral(".exe")}) {
        if (name.endsWith(known, Qt::CaseInsensitive)) {
            // The file's own ending is kept as it is spelt: "UPPER.DLG2" is not "UPPER.dlg2".
            if (known.compare(ending, Qt::CaseInsensitive) == 0)
                return project.absoluteFilePath();
            name.chop(known.size());
            break;
        }
    }
    return project.absoluteDir().filePath(name + ending);
}

void ProjectDocument::setOpenedFrom(const QString &file)
{
    mOpenedFrom = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
}

QString ProjectDocument::nameFromFirstCaption() const
{
    // Characters no file name may hold, on this system or on a friend's, are left out.
    static const QRegularExpression notInNames(QStringLiteral("[\\/:*?\"<>|\x00-\x1f]"));
    QString name = trimmedSpaces(record(1).caption);
    name.remove(notInNames);
    name = name.simplified().left(MaxSuggestedName);
    return name.isEmpty() ? languageText(TextId::Untitled) : name;
}

QString ProjectDocument::lastFolderUsed()
{
    const QString recent = RecentProjects::read().value(0);
    if (!recent.isEmpty() && QFileInfo(recent).absoluteDir().exists())
        return QFileInfo(recent).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool ProjectDocument::isModified() const
{
    return !mUndoStack->isClean() || mRestored;
}

void ProjectDocument::emitModified()
{
    const bool modified = isModified();
    if (modified == mLastModified)
        return;
    mLastModified = modified;
    emit modifiedChanged(modified);
}

void ProjectDocument::pushRecord(int index, const DialogRecord &after, const QString &text,
                                 int mergeKey)
{
    if (index < 0 || index > dialogCount() || sameContent(after, record(index)))
        return;
    mUndoStack->push(new RecordCommand(this, index, after, text, mergeKey));
}

void ProjectDocument::setField(int dialog, Field field, const QString &value)
{
    if (dialog < 1 || dialog > dialogCount())
        return;
    DialogRecord after = record(dialog);
    QString &target = fieldOf(after, field);
    // The record holds what the file will: characters the code page lacks are "?" at once.
    // Padding is not content: a field that only differs by trailing spaces is unchanged.
    const QString cut = storableText(value).left(widthOf(field));
    if (trimmedRight(target) == trimmedRight(cut))
        return;
    target = cut;
    pushRecord(dialog, after, commandText(TextId::UndoTyping), FieldMergeBase + int(field));
}

void ProjectDocument::setTime(int dialog, qint16 time)
{
    if (dialog < 1 || dialog > dialogCount())
        return;
    DialogRecord after = record(dialog);
    after.time = time;
    pushRecord(dialog, after, commandText(TextId::UndoTyping), TimeMergeKey);
}

DialogRecord ProjectDocument::switchedType(const DialogRecord &record, int type)
{
    DialogRecord after = record;
    after.type = qint16(type);
    // The script that runs by itself (bar full, pause end) goes on; scripts of buttons wait for
    // the author to choose.
    switch (type) {
    case DialogRecord::Message:
        after.time = 0;
        after.btnscr1 = ButtonScript::NoAction;
        after.btnscr2 = ButtonScript::NoAction;
        break;
    case DialogRecord::Progress:
        after.btn2 = fixedButtonText(TextId::BarFullButton);
        after.btnscr1 = ButtonScript::NoAction;
        after.btnscr2 = ButtonScript::GoNext;
        break;
    case DialogRecord::Pause:
        after.caption.clear();
        after.btn1 = fixedButtonText(TextId::PauseOverButton);
        after.btnscr1 = ButtonScript::GoNext;
        after.btn2.clear();
        after.btnscr2.clear();
        break;
    default:
        break;
    }
    return after;
}

QString ProjectDocument::newDialogText()
{
    return languageText(TextId::NewMessageText);
}

void ProjectDocument::setType(int dialog, int type)
{
    if (dialog < 1 || dialog > dialogCount() || type < 0 || type > DialogRecord::Pause ||
        record(dialog).type == type)
        return;
    pushRecord(dialog, switchedType(record(dialog), type), commandText(TextId::UndoTypeChange), 0);
}

void ProjectDocument::setIcon(int dialog, int icon)
{
    if (dialog < 1 || dialog > dialogCount())
        return;
    DialogRecord after = record(dialog);
    after.ico = qint16(icon);
    pushRecord(dialog, after, commandText(TextId::UndoIconChoice), 0);
}

void ProjectDocument::setStyle(int style)
{
    // The header holds nothing but the style.
    DialogRecord header = DialogRecord::cleared();
    header.text = QString::number(style);
    if (record(0).projectStyle() == style)
        return;
    pushRecord(0, header, commandText(TextId::UndoProjectStyle), 0);
}

void ProjectDocument::insertDialog(int after)
{
    if (dialogCount() >= DialogProject::MaxDialogs || after < 0 || after > dialogCount())
        return;
    DialogProject fresh;
    fresh.newDialog(1, newDialogText());
    mUndoStack->push(
        new InsertCommand(this, after + 1, fresh.record(1), commandText(TextId::UndoNewStep)));
}

void ProjectDocument::deleteDialog(int dialog)
{
    if (dialogCount() <= 1 || dialog < 1 || dialog > dialogCount())
        return;
    mUndoStack->push(new DeleteCommand(this, dialog, commandText(TextId::UndoStepDeletion)));
}

void ProjectDocument::moveDialog(int dialog, int offset)
{
    const int other = dialog + offset;
    if (dialog < 1 || dialog > dialogCount() || other < 1 || other > dialogCount() || offset == 0)
        return;
    mUndoStack->push(new MoveCommand(this, dialog, other, commandText(TextId::UndoStepMove)));
}

void ProjectDocument::commitPendingEdits()
{
    emit pendingEditsRequested();
}

void ProjectDocument::undo()
{
    commitPendingEdits();
    mUndoStack->undo();
}

void ProjectDocument::redo()
{
    commitPendingEdits();
    mUndoStack->redo();
}

void ProjectDocument::writeRecord(int index, const DialogRecord &record)
{
    // An edited script no longer leads where a deleted step was: the author has seen to it.
    DialogRecord &current = mProject.record(index);
    if (current.btnscr1 != record.btnscr1)
        mDeletedTargets[index] &= quint8(~scriptBit(1));
    if (current.btnscr2 != record.btnscr2)
        mDeletedTargets[index] &= quint8(~scriptBit(2));
    current = record;
    emit recordChanged(index);
    contentsDone();
}

void ProjectDocument::writeScript(int dialog, int script, const QString &text)
{
    QString &target =
        script == 1 ? mProject.record(dialog).btnscr1 : mProject.record(dialog).btnscr2;
    if (target == text)
        return;
    target = text;
    emit recordChanged(dialog);
}

void ProjectDocument::contentsDone()
{
    if (!mBatching)
        emit contentsChanged();
}

void ProjectDocument::insertRecord(int dialog, const DialogRecord &record)
{
    const int count = dialogCount();
    for (int k = count; k >= dialog; --k) {
        mProject.record(k + 1) = mProject.record(k);
        mDeletedTargets[k + 1] = mDeletedTargets[k];
    }
    mProject.record(dialog) = record;
    mDeletedTargets[dialog] = 0;
    mProject.setDialogCount(qint16(count + 1));
    emit dialogInserted(dialog);
    mCurrentDialog = 0;
    setCurrentDialog(dialog);
    contentsDone();
}

DialogRecord ProjectDocument::removeRecord(int dialog)
{
    const int count = dialogCount();
    const DialogRecord removed = mProject.record(dialog);
    for (int k = dialog; k < count; ++k) {
        mProject.record(k) = mProject.record(k + 1);
        mDeletedTargets[k] = mDeletedTargets[k + 1];
    }
    mProject.clearRecord(count);
    mDeletedTargets[count] = 0;
    mProject.setDialogCount(qint16(count - 1));
    emit dialogRemoved(dialog);
    // The dialog that took the place of the removed one is selected, or the new last one.
    mCurrentDialog = 0;
    setCurrentDialog(qMin(dialog, count - 1));
    contentsDone();
    return removed;
}

void ProjectDocument::swapRecords(int first, int second)
{
    std::swap(mProject.record(first), mProject.record(second));
    std::swap(mDeletedTargets[first], mDeletedTargets[second]);
    // The selected dialog may stay where it is and now hold the other record.
    emit recordChanged(first);
    emit recordChanged(second);
}

bool ProjectDocument::leadsToDeletedStep(int dialog, int script) const
{
    return dialog >= 1 && dialog <= dialogCount() && (mDeletedTargets[dialog] & scriptBit(script));
}

QList<Finding> ProjectDocument::check() const
{
    QList<Finding> findings = ProjectCheck::check(mProject, runnerLineWidth());
    for (int dialog = 1; dialog <= dialogCount(); ++dialog) {
        for (int script : {1, 2}) {
            if (leadsToDeletedStep(dialog, script))
                findings << Finding{Finding::Kind::TargetDeleted,
                                    dialog - 1,
                                    scriptField(record(dialog), script),
                                    {}};
        }
    }
    // In step order, as the check gives them.
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.step < b.step; });
    return findings;
}

void ProjectDocument::replaceProject(const DialogProject &project, Replaced state)
{
    const QString oldPath = path();
    mProject = withADialog(project);
    mRestored = state == Replaced::Restored;
    mOpenedFrom.clear();
    mDeletedTargets = {};
    mUndoStack->clear();
    contentsReplaced(1);
    if (path() != oldPath)
        emit pathChanged(path());
    emitModified();
}

void ProjectDocument::applyPluginResult(const DialogProject &result)
{
    commitPendingEdits();
    mUndoStack->push(
        new ResultCommand(this, withADialog(result), commandText(TextId::UndoPluginResult)));
}

void ProjectDocument::showContents(const DialogProject &contents, const DeletedTargets &marks,
                                   int dialog)
{
    const QString path = mProject.path();
    mProject = contents;
    mProject.setPath(path);
    mDeletedTargets = marks;
    contentsReplaced(dialog);
}

void ProjectDocument::contentsReplaced(int dialog)
{
    mCurrentDialog = dialog;
    emit projectReplaced();
    emit contentsChanged();
    emit currentDialogChanged(mCurrentDialog);
}

void ProjectDocument::markSaved(const QString &path)
{
    const bool moved = path != this->path();
    mProject.setPath(path);
    mRestored = false;
    mUndoStack->setClean();
    if (moved)
        emit pathChanged(path);
    emitModified();
}

} // namespace kq

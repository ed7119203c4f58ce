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
#include <QUuid>

#include <algorithm>
#include <numeric>

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
// The copies a document follows: the clipboard's and a few made before it.
constexpr int KeptCopies = 4;

QString commandText(TextId id)
{
    return languageText(id);
}

QString fixedButtonText(TextId id)
{
    return languageText(id).left(DialogRecord::ButtonWidth);
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
// list and every script come back as one step. The dialogs an operation has just filled with
// records of their own (a paste) are not rewritten.
class FollowingTargets
{
public:
    explicit FollowingTargets(const GoToTargets::ListChange &change, int skipFirst = 0,
                              int skipCount = 0)
        : mChange(change), mSkipFirst(skipFirst), mSkipCount(skipCount)
    {
    }

    template <class Operation> void redo(ProjectDocument *document, Operation operation)
    {
        mMarksBefore = document->mDeletedTargets;
        mOriginsBefore = document->mCopyOrigins;
        document->mBatching = true;
        operation();
        if (!mFound) {
            mRewrites = GoToTargets::rewrites(document->project(), mChange);
            mRewrites.removeIf([this](const GoToTargets::Rewrite &rewrite) {
                return rewrite.dialog >= mSkipFirst && rewrite.dialog < mSkipFirst + mSkipCount;
            });
            mFound = true;
        }
        for (const GoToTargets::Rewrite &rewrite : std::as_const(mRewrites)) {
            document->writeScript(rewrite.dialog, rewrite.script, rewrite.after);
            if (rewrite.leadsToRemoved)
                document->mDeletedTargets[rewrite.dialog] |= scriptBit(rewrite.script);
        }
        document->followCopies(mChange);
        finish(document);
    }

    template <class Operation> void undo(ProjectDocument *document, Operation operation)
    {
        document->mBatching = true;
        for (const GoToTargets::Rewrite &rewrite : std::as_const(mRewrites))
            document->writeScript(rewrite.dialog, rewrite.script, rewrite.before);
        operation();
        document->mDeletedTargets = mMarksBefore;
        // A copy made after this command was done cannot be followed back: it is forgotten.
        QList<ProjectDocument::CopyOrigin> origins = mOriginsBefore;
        origins.removeIf([document](const ProjectDocument::CopyOrigin &origin) {
            return std::none_of(document->mCopyOrigins.cbegin(), document->mCopyOrigins.cend(),
                                [&origin](const auto &kept) { return kept.mark == origin.mark; });
        });
        document->mCopyOrigins = origins;
        finish(document);
    }

private:
    void finish(ProjectDocument *document) const
    {
        document->mBatching = false;
        const auto left = std::count_if(mRewrites.cbegin(), mRewrites.cend(),
                                        [](const auto &rewrite) { return rewrite.leadsToRemoved; });
        const auto rewritten =
            std::count_if(mRewrites.cbegin(), mRewrites.cend(),
                          [](const auto &rewrite) { return rewrite.after != rewrite.before; });
        if (document->mGroupDepth > 0) {
            document->mGroupRewritten += int(rewritten);
            document->mGroupLeft += int(left);
            return;
        }
        document->groupDone(int(rewritten), int(left));
    }

    GoToTargets::ListChange mChange;
    int mSkipFirst;
    int mSkipCount;
    QList<GoToTargets::Rewrite> mRewrites;
    ProjectDocument::DeletedTargets mMarksBefore{};
    QList<ProjectDocument::CopyOrigin> mOriginsBefore;
    bool mFound = false;
};

// One record before and after an edit. Field edits of one dialog and one field merge while the
// user types, and a merge that ends where it started leaves no command behind.
class RecordCommand : public QUndoCommand
{
public:
    RecordCommand(ProjectDocument *document, int index, const DialogRecord &after,
                  const QString &text, int mergeKey, QUndoCommand *parent = nullptr)
        : QUndoCommand(text, parent), mDocument(document), mIndex(index),
          mBefore(document->record(index)), mAfter(after), mMergeKey(mergeKey)
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

// Several records written at once, as one command: the views hear of the whole change once.
class RecordsCommand : public QUndoCommand
{
public:
    RecordsCommand(ProjectDocument *document, const QList<std::pair<int, DialogRecord>> &records,
                   const QString &text)
        : QUndoCommand(text), mDocument(document), mAfter(records)
    {
        for (const auto &[index, record] : records)
            mBefore.append({index, document->record(index)});
    }

    void redo() override
    {
        mMarksBefore = mDocument->mDeletedTargets;
        apply(mAfter);
    }
    void undo() override
    {
        apply(mBefore);
        mDocument->mDeletedTargets = mMarksBefore;
    }

private:
    void apply(const QList<std::pair<int, DialogRecord>> &records)
    {
        mDocument->mBatching = true;
        for (const auto &[index, record] : records)
            mDocument->writeRecord(index, record);
        mDocument->mBatching = false;
        mDocument->contentsDone();
    }

    ProjectDocument *mDocument;
    QList<std::pair<int, DialogRecord>> mBefore;
    QList<std::pair<int, DialogRecord>> mAfter;
    ProjectDocument::DeletedTargets mMarksBefore{};
};

// Dialog index k is the step the list numbers k - 1.
class InsertCommand : public QUndoCommand
{
public:
    InsertCommand(ProjectDocument *document, int dialog, const DialogRecord &record,
                  const QString &text, QUndoCommand *parent = nullptr)
        : QUndoCommand(text, parent), mDocument(document), mDialog(dialog), mRecord(record),
          mTargets(GoToTargets::ListChange::inserted(dialog - 1, document->dialogCount()))
    {
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { mDocument->insertRecords(mDialog, {mRecord}); });
    }
    void undo() override
    {
        mTargets.undo(mDocument, [this] { mDocument->removeRecords(mDialog, 1); });
    }

private:
    ProjectDocument *mDocument;
    int mDialog;
    DialogRecord mRecord;
    FollowingTargets mTargets;
};

// Of a list of `steps` steps; a part of a command that deletes several.
class DeleteCommand : public QUndoCommand
{
public:
    DeleteCommand(ProjectDocument *document, int dialog, int steps, const QString &text,
                  QUndoCommand *parent = nullptr)
        : QUndoCommand(text, parent), mDocument(document), mDialog(dialog),
          mRecord(document->record(dialog)),
          mTargets(GoToTargets::ListChange::removed(dialog - 1, steps))
    {
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { mDocument->removeRecords(mDialog, 1); });
    }
    void undo() override
    {
        mTargets.undo(mDocument, [this] { mDocument->insertRecords(mDialog, {mRecord}); });
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

// Several list operations, its children, as one command: the views hear of it once, and the
// selection comes back as it was before or after.
class GroupCommand : public QUndoCommand
{
public:
    GroupCommand(ProjectDocument *document, const QString &text)
        : QUndoCommand(text), mDocument(document), mBefore(document->selection())
    {
    }

    void redo() override
    {
        run([this] { QUndoCommand::redo(); });
        if (!mAfterKnown) {
            mAfter = mDocument->selection();
            mAfterKnown = true;
        }
        mDocument->setSelection(mAfter.dialogs, mAfter.current);
    }
    void undo() override
    {
        run([this] { QUndoCommand::undo(); });
        mDocument->setSelection(mBefore.dialogs, mBefore.current);
    }

private:
    template <class Children> void run(Children children)
    {
        mDocument->mGroupRewritten = 0;
        mDocument->mGroupLeft = 0;
        ++mDocument->mGroupDepth;
        children();
        --mDocument->mGroupDepth;
        mDocument->groupDone(mDocument->mGroupRewritten, mDocument->mGroupLeft);
    }

    ProjectDocument *mDocument;
    ProjectDocument::Selection mBefore;
    ProjectDocument::Selection mAfter;
    bool mAfterKnown = false;
};

// The dialogs in a new order: order[k] is the dialog that goes to place k + 1. The moved
// dialogs stay selected at their new places.
class ReorderCommand : public QUndoCommand
{
public:
    ReorderCommand(ProjectDocument *document, const QList<int> &order, const QString &text)
        : QUndoCommand(text), mDocument(document), mOrder(order), mBack(order.size()),
          mBefore(document->selection()), mTargets(GoToTargets::ListChange::reordered({}))
    {
        QList<int> newNumbers(order.size());
        for (qsizetype place = 0; place < order.size(); ++place) {
            newNumbers[order.at(place) - 1] = int(place);
            mBack[order.at(place) - 1] = int(place) + 1;
        }
        mTargets = FollowingTargets(GoToTargets::ListChange::reordered(newNumbers));
        for (const int dialog : std::as_const(mBefore.dialogs))
            mAfter.dialogs << mBack.at(dialog - 1);
        std::sort(mAfter.dialogs.begin(), mAfter.dialogs.end());
        mAfter.current = mBack.at(mBefore.current - 1);
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { mDocument->reorderRecords(mOrder); });
        mDocument->setSelection(mAfter.dialogs, mAfter.current);
    }
    void undo() override
    {
        mTargets.undo(mDocument, [this] { mDocument->reorderRecords(mBack); });
        mDocument->setSelection(mBefore.dialogs, mBefore.current);
    }

private:
    ProjectDocument *mDocument;
    QList<int> mOrder;
    // The order that puts them back: the place each dialog went to.
    QList<int> mBack;
    ProjectDocument::Selection mBefore;
    ProjectDocument::Selection mAfter;
    FollowingTargets mTargets;
};

// Records inserted from the dialog `first` on, as a paste or a duplicate, then selected.
class PasteCommand : public QUndoCommand
{
public:
    PasteCommand(ProjectDocument *document, int first, const QList<DialogRecord> &records,
                 const GoToTargets::ListChange &change, const QString &text)
        : QUndoCommand(text), mDocument(document), mFirst(first), mRecords(records),
          mBefore(document->selection()), mTargets(change, first, int(records.size()))
    {
        for (int k = 0; k < records.size(); ++k)
            mAfter.dialogs << first + k;
        mAfter.current = first;
    }

    void redo() override
    {
        mTargets.redo(mDocument, [this] { mDocument->insertRecords(mFirst, mRecords); });
        mDocument->setSelection(mAfter.dialogs, mAfter.current);
    }
    void undo() override
    {
        mTargets.undo(mDocument,
                      [this] { mDocument->removeRecords(mFirst, int(mRecords.size())); });
        mDocument->setSelection(mBefore.dialogs, mBefore.current);
    }

private:
    ProjectDocument *mDocument;
    int mFirst;
    QList<DialogRecord> mRecords;
    ProjectDocument::Selection mBefore;
    ProjectDocument::Selection mAfter;
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

    void redo() override
    {
        // The steps of earlier copies are not where they were any more.
        mDocument->mCopyOrigins.clear();
        mDocument->showContents(mAfter, {}, 1);
    }
    void undo() override { mDocument->showContents(mBefore, mMarksBefore, mDialogBefore); }

private:
    ProjectDocument *mDocument;
    DialogProject mBefore;
    DialogProject mAfter;
    ProjectDocument::DeletedTargets mMarksBefore;
    int mDialogBefore;
};

ProjectDocument::ProjectDocument(QObject *parent)
    : QObject(parent), mUndoStack(new QUndoStack(this)),
      mMark(QUuid::createUuid().toRfc4122().toHex())
{
    connect(mUndoStack, &QUndoStack::cleanChanged, this, &ProjectDocument::emitModified);
}

ProjectDocument::~ProjectDocument() = default;

void ProjectDocument::setCurrentDialog(int dialog)
{
    if (dialog < 1 || dialog > dialogCount() || dialog == mCurrentDialog)
        return;
    setSelection({dialog}, dialog);
}

QList<int> ProjectDocument::selectedDialogs() const
{
    QList<int> dialogs = mSelection;
    dialogs.removeIf([this](int dialog) { return dialog < 1 || dialog > dialogCount(); });
    return dialogs.isEmpty() ? QList<int>{mCurrentDialog} : dialogs;
}

void ProjectDocument::setSelection(const QList<int> &dialogs, int current)
{
    QList<int> selected = dialogs;
    selected.removeIf([this](int dialog) { return dialog < 1 || dialog > dialogCount(); });
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    const bool selectionMoved = selected != mSelection;
    mSelection = selected;
    if (current >= 1 && current <= dialogCount() && current != mCurrentDialog) {
        mCurrentDialog = current;
        emit currentDialogChanged(current);
    }
    if (selectionMoved)
        emit selectionChanged();
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

QString &ProjectDocument::fieldOf(DialogRecord &record, Field field)
{
    switch (field) {
    case Field::Text:
        return record.text;
    case Field::Caption:
        return record.caption;
    case Field::Button1:
        return record.btn1;
    case Field::Button2:
        return record.btn2;
    case Field::Script1:
        return record.btnscr1;
    case Field::Script2:
        break;
    }
    return record.btnscr2;
}

int ProjectDocument::fieldWidth(Field field)
{
    switch (field) {
    case Field::Text:
        return DialogRecord::TextWidth;
    case Field::Caption:
        return DialogRecord::CaptionWidth;
    default:
        return DialogRecord::ButtonWidth;
    }
}

void ProjectDocument::setField(int dialog, Field field, const QString &value)
{
    if (dialog < 1 || dialog > dialogCount())
        return;
    DialogRecord after = record(dialog);
    QString &target = fieldOf(after, field);
    // The record holds what the file will: characters the code page lacks are "?" at once.
    // Padding is not content: a field that only differs by trailing spaces is unchanged.
    const QString cut = storableText(value).left(fieldWidth(field));
    if (trimmedRight(target) == trimmedRight(cut))
        return;
    target = cut;
    pushRecord(dialog, after, commandText(TextId::UndoTyping), FieldMergeBase + int(field));
}

void ProjectDocument::replaceRecords(const QList<std::pair<int, DialogRecord>> &records,
                                     TextId undoText)
{
    commitPendingEdits();
    QList<std::pair<int, DialogRecord>> changed;
    for (const auto &[index, record] : records) {
        if (index >= 0 && index <= dialogCount() && !sameContent(record, this->record(index)))
            changed.append({index, record});
    }
    if (!changed.isEmpty())
        mUndoStack->push(new RecordsCommand(this, changed, commandText(undoText)));
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

DialogRecord ProjectDocument::newDialogRecord()
{
    DialogProject fresh;
    fresh.newDialog(1, newDialogText());
    return fresh.record(1);
}

void ProjectDocument::insertDialog(int after)
{
    if (dialogCount() >= DialogProject::MaxDialogs || after < 0 || after > dialogCount())
        return;
    mUndoStack->push(
        new InsertCommand(this, after + 1, newDialogRecord(), commandText(TextId::UndoNewStep)));
}

bool ProjectDocument::linkScript(int dialog, int script, StepExit::Leads leads, int target)
{
    if (dialog < 1 || dialog > dialogCount() || (script != 1 && script != 2))
        return false;
    const bool toStep = leads == StepExit::Leads::Step && target >= 0 && target <= dialogCount();
    const bool toNewStep = toStep && target == dialogCount();
    if ((!toStep && leads != StepExit::Leads::Exit) || (toNewStep && stepsRoom() < 1))
        return false;
    commitPendingEdits();
    DialogRecord linked = record(dialog);
    fieldOf(linked, script == 1 ? Field::Script1 : Field::Script2) =
        leads == StepExit::Leads::Exit ? ButtonScript::Exit : ButtonScript::goTo(target);
    const QString undoText = commandText(TextId::UndoLink);
    if (!toNewStep) {
        if (sameContent(linked, record(dialog)))
            return false;
        mUndoStack->push(new RecordCommand(this, dialog, linked, undoText, 0));
        return true;
    }
    // The step the arrow came from stays current, ready for the next arrow.
    auto *group = new GroupCommand(this, undoText);
    new InsertCommand(this, dialogCount() + 1, newDialogRecord(), undoText, group);
    new RecordCommand(this, dialog, linked, undoText, 0, group);
    mUndoStack->push(group);
    return true;
}

void ProjectDocument::deleteDialog(int dialog)
{
    if (dialogCount() <= 1 || dialog < 1 || dialog > dialogCount())
        return;
    mUndoStack->push(
        new DeleteCommand(this, dialog, dialogCount(), commandText(TextId::UndoStepDeletion)));
}

void ProjectDocument::moveDialog(int dialog, int offset)
{
    const int other = dialog + offset;
    if (dialog < 1 || dialog > dialogCount() || other < 1 || other > dialogCount() || offset == 0)
        return;
    mUndoStack->push(new MoveCommand(this, dialog, other, commandText(TextId::UndoStepMove)));
}

bool ProjectDocument::canDeleteDialogs(const QList<int> &dialogs) const
{
    return !dialogs.isEmpty() && dialogs.size() < dialogCount();
}

void ProjectDocument::deleteDialogs(const QList<int> &dialogs, TextId undoText)
{
    if (!canDeleteDialogs(dialogs))
        return;
    // The last first: the earlier ones keep their places, and every go-to target follows as it
    // would with the steps deleted one by one.
    auto *group = new GroupCommand(this, commandText(undoText));
    int steps = dialogCount();
    for (auto dialog = dialogs.crbegin(); dialog != dialogs.crend(); ++dialog)
        new DeleteCommand(this, *dialog, steps--, commandText(undoText), group);
    mUndoStack->push(group);
}

namespace {

// Each selected dialog passes the unselected one before it (offset -1) or after it (+1); those at
// an end, and the selected ones behind them, stay. order[k] is the dialog for place k + 1.
QList<int> movedByOne(const QList<int> &dialogs, int offset, int count)
{
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 1);
    const auto selected = [&dialogs](int dialog) { return dialogs.contains(dialog); };
    if (offset < 0) {
        for (int place = 1; place < count; ++place) {
            if (selected(order.at(place)) && !selected(order.at(place - 1)))
                std::swap(order[place], order[place - 1]);
        }
    } else {
        for (int place = count - 2; place >= 0; --place) {
            if (selected(order.at(place)) && !selected(order.at(place + 1)))
                std::swap(order[place], order[place + 1]);
        }
    }
    return order;
}

bool isIdentity(const QList<int> &order)
{
    for (qsizetype place = 0; place < order.size(); ++place) {
        if (order.at(place) != place + 1)
            return false;
    }
    return true;
}

} // namespace

bool ProjectDocument::canMoveDialogs(const QList<int> &dialogs, int offset) const
{
    return offset != 0 && !isIdentity(movedByOne(dialogs, offset, dialogCount()));
}

void ProjectDocument::moveDialogs(const QList<int> &dialogs, int offset)
{
    if (offset != 0)
        reorder(movedByOne(dialogs, offset, dialogCount()), TextId::UndoStepMove);
}

void ProjectDocument::moveDialogsTo(const QList<int> &dialogs, int before)
{
    QList<int> order;
    const auto take = [&](bool selected, int from, int to) {
        for (int dialog = from; dialog < to; ++dialog) {
            if (dialogs.contains(dialog) == selected)
                order << dialog;
        }
    };
    take(false, 1, before);
    take(true, 1, dialogCount() + 1);
    take(false, before, dialogCount() + 1);
    reorder(order, TextId::UndoStepMove);
}

void ProjectDocument::reorder(const QList<int> &order, TextId undoText)
{
    if (order.size() != dialogCount() || isIdentity(order))
        return;
    mUndoStack->push(new ReorderCommand(this, order, commandText(undoText)));
}

void ProjectDocument::reorderRecords(const QList<int> &order)
{
    const DialogProject before = mProject;
    const DeletedTargets marks = mDeletedTargets;
    int first = 0;
    int last = 0;
    for (qsizetype place = 0; place < order.size(); ++place) {
        const int dialog = int(place) + 1;
        if (order.at(place) == dialog)
            continue;
        mProject.record(dialog) = before.record(order.at(place));
        mDeletedTargets[dialog] = marks[order.at(place)];
        first = first == 0 ? dialog : first;
        last = dialog;
        emit recordChanged(dialog);
    }
    if (first > 0) {
        emit dialogsReordered(order);
        emit dialogMoved(first, last);
    }
    contentsDone();
}

CopiedSteps ProjectDocument::copySteps(const QList<int> &dialogs, Copy kind)
{
    CopiedSteps steps;
    steps.origin = mMark + ':' + QByteArray::number(++mCopySerial);
    for (const int dialog : dialogs) {
        if (dialog < 1 || dialog > dialogCount())
            continue;
        steps.numbers << dialog - 1;
        steps.records << record(dialog);
    }
    if (kind == Copy::ForDrag)
        return steps;
    CopyOrigin origin{steps.origin, {}};
    std::iota(origin.numberNow.begin(), origin.numberNow.end(), qint8(0));
    mCopyOrigins << origin;
    while (mCopyOrigins.size() > KeptCopies)
        mCopyOrigins.removeFirst();
    return steps;
}

void ProjectDocument::followCopies(const GoToTargets::ListChange &change)
{
    for (CopyOrigin &origin : mCopyOrigins) {
        for (qint8 &number : origin.numberNow)
            number = qint8(change.renumbered(number));
    }
}

bool ProjectDocument::pasteSteps(const CopiedSteps &steps, int after, TextId undoText)
{
    const auto origin =
        std::find_if(mCopyOrigins.cbegin(), mCopyOrigins.cend(),
                     [&steps](const CopyOrigin &kept) { return kept.mark == steps.origin; });
    return insertCopies(steps, origin == mCopyOrigins.cend() ? nullptr : &origin->numberNow, after,
                        undoText);
}

bool ProjectDocument::duplicateDialogs(const QList<int> &dialogs, int after, TextId undoText)
{
    if (dialogs.isEmpty())
        return true;
    CopiedSteps steps;
    for (const int dialog : dialogs) {
        steps.numbers << dialog - 1;
        steps.records << record(dialog);
    }
    StepNumbers here{};
    std::iota(here.begin(), here.end(), qint8(0));
    return insertCopies(steps, &here, after < 0 ? dialogs.last() : after, undoText);
}

bool ProjectDocument::insertCopies(const CopiedSteps &steps, const StepNumbers *numberNow,
                                   int after, TextId undoText)
{
    const int count = int(steps.records.size());
    if (count == 0 || after < 0 || after > dialogCount())
        return true;
    if (count > stepsRoom())
        return false;
    const auto change = GoToTargets::ListChange::inserted(after, dialogCount(), count);
    mUndoStack->push(new PasteCommand(this, after + 1,
                                      pastedRecords(steps, numberNow, change, after), change,
                                      commandText(undoText)));
    return true;
}

QList<DialogRecord> ProjectDocument::pastedRecords(const CopiedSteps &steps,
                                                   const StepNumbers *numberNow,
                                                   const GoToTargets::ListChange &change, int first)
{
    QList<DialogRecord> records = steps.records;
    for (DialogRecord &record : records) {
        for (QString *script : {&record.btnscr1, &record.btnscr2}) {
            const std::optional<int> target = GoToTargets::target(*script);
            if (!target)
                continue;
            const qsizetype copied = steps.numbers.indexOf(*target);
            int led = *target;
            if (copied >= 0)
                led = first + int(copied);
            else if (numberNow)
                led = change.renumbered(numberNow->at(*target));
            if (led != *target)
                *script = GoToTargets::retargeted(*script, led);
        }
    }
    return records;
}

void ProjectDocument::groupDone(int rewritten, int leftOnDeleted)
{
    emit contentsChanged();
    if (rewritten > 0 || leftOnDeleted > 0)
        emit scriptsFollowed(rewritten, leftOnDeleted);
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

void ProjectDocument::insertRecords(int first, const QList<DialogRecord> &records)
{
    // The later dialogs move once, and the views hear of the whole block once: a paste of many
    // steps costs the list one layout, not one a step.
    const int count = dialogCount();
    const int added = int(records.size());
    for (int k = count; k >= first; --k) {
        mProject.record(k + added) = mProject.record(k);
        mDeletedTargets[k + added] = mDeletedTargets[k];
    }
    for (int k = 0; k < added; ++k) {
        mProject.record(first + k) = records.at(k);
        mDeletedTargets[first + k] = 0;
    }
    mProject.setDialogCount(qint16(count + added));
    emit dialogsInserted(first, added);
    mCurrentDialog = 0;
    setCurrentDialog(first);
    contentsDone();
}

void ProjectDocument::removeRecords(int first, int removed)
{
    const int count = dialogCount();
    for (int k = first; k + removed <= count; ++k) {
        mProject.record(k) = mProject.record(k + removed);
        mDeletedTargets[k] = mDeletedTargets[k + removed];
    }
    for (int k = count - removed + 1; k <= count; ++k) {
        mProject.clearRecord(k);
        mDeletedTargets[k] = 0;
    }
    mProject.setDialogCount(qint16(count - removed));
    emit dialogsRemoved(first, removed);
    // The dialog that took the place of the removed ones is selected, or the new last one.
    mCurrentDialog = 0;
    setCurrentDialog(qMin(first, count - removed));
    contentsDone();
}

void ProjectDocument::swapRecords(int first, int second)
{
    std::swap(mProject.record(first), mProject.record(second));
    std::swap(mDeletedTargets[first], mDeletedTargets[second]);
    QList<int> order(dialogCount());
    std::iota(order.begin(), order.end(), 1);
    std::swap(order[first - 1], order[second - 1]);
    emit dialogsReordered(order);
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
    mCopyOrigins.clear();
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
    mSelection = {dialog};
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

#include "projectdocument.h"

#include "buttonscript.h"
#include "language.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace kq {

namespace {

// Merge keys of field edits: one per field, so typing in another field starts a new command.
constexpr int FieldMergeBase = 1;
constexpr int TimeMergeKey = 100;

QString commandText(int id)
{
    return languageText(id);
}

QString fixedButtonText(int id)
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

} // namespace

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

    void redo() override { apply(mAfter); }
    void undo() override { apply(mBefore); }

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
};

class InsertCommand : public QUndoCommand
{
public:
    InsertCommand(ProjectDocument *document, int dialog, const DialogRecord &record,
                  const QString &text)
        : QUndoCommand(text), mDocument(document), mDialog(dialog), mRecord(record)
    {
    }

    void redo() override { mDocument->insertRecord(mDialog, mRecord); }
    void undo() override { mDocument->removeRecord(mDialog); }

private:
    ProjectDocument *mDocument;
    int mDialog;
    DialogRecord mRecord;
};

class DeleteCommand : public QUndoCommand
{
public:
    DeleteCommand(ProjectDocument *document, int dialog, const QString &text)
        : QUndoCommand(text), mDocument(document), mDialog(dialog),
          mRecord(document->record(dialog))
    {
    }

    void redo() override { mDocument->removeRecord(mDialog); }
    void undo() override { mDocument->insertRecord(mDialog, mRecord); }

private:
    ProjectDocument *mDocument;
    int mDialog;
    DialogRecord mRecord;
};

class MoveCommand : public QUndoCommand
{
public:
    MoveCommand(ProjectDocument *document, int from, int to, const QString &text)
        : QUndoCommand(text), mDocument(document), mFrom(from), mTo(to)
    {
    }

    void redo() override { move(mFrom, mTo); }
    void undo() override { move(mTo, mFrom); }

private:
    void move(int from, int to)
    {
        mDocument->swapRecords(from, to);
        emit mDocument->dialogMoved(from, to);
        mDocument->setCurrentDialog(to);
        emit mDocument->contentsChanged();
    }

    ProjectDocument *mDocument;
    int mFrom;
    int mTo;
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

bool ProjectDocument::isModified() const
{
    return !mUndoStack->isClean() || mUnsavedReplacement;
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
    // Padding is not content: a field that only differs by trailing spaces is unchanged.
    const QString cut = value.left(widthOf(field));
    if (trimmedRight(target) == trimmedRight(cut))
        return;
    target = cut;
    pushRecord(dialog, after, commandText(302), FieldMergeBase + int(field));
}

void ProjectDocument::setTime(int dialog, qint16 time)
{
    if (dialog < 1 || dialog > dialogCount())
        return;
    DialogRecord after = record(dialog);
    after.time = time;
    pushRecord(dialog, after, commandText(302), TimeMergeKey);
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
        after.btn2 = fixedButtonText(126);
        after.btnscr1 = ButtonScript::NoAction;
        after.btnscr2 = ButtonScript::GoNext;
        break;
    case DialogRecord::Pause:
        after.caption.clear();
        after.btn1 = fixedButtonText(127);
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
    return languageText(125);
}

void ProjectDocument::setType(int dialog, int type)
{
    if (dialog < 1 || dialog > dialogCount() || type < 0 || type > DialogRecord::Pause ||
        record(dialog).type == type)
        return;
    pushRecord(dialog, switchedType(record(dialog), type), commandText(303), 0);
}

void ProjectDocument::setIcon(int dialog, int icon)
{
    if (dialog < 1 || dialog > dialogCount())
        return;
    DialogRecord after = record(dialog);
    after.ico = qint16(icon);
    pushRecord(dialog, after, commandText(304), 0);
}

void ProjectDocument::setStyle(int style)
{
    // The header holds nothing but the style.
    DialogRecord header = DialogRecord::cleared();
    header.text = QString::number(style);
    if (record(0).projectStyle() == style)
        return;
    pushRecord(0, header, commandText(305), 0);
}

void ProjectDocument::insertDialog(int after)
{
    if (dialogCount() >= DialogProject::MaxDialogs || after < 0 || after > dialogCount())
        return;
    DialogProject fresh;
    fresh.newDialog(1, newDialogText());
    mUndoStack->push(new InsertCommand(this, after + 1, fresh.record(1), commandText(306)));
}

void ProjectDocument::deleteDialog(int dialog)
{
    if (dialogCount() <= 1 || dialog < 1 || dialog > dialogCount())
        return;
    mUndoStack->push(new DeleteCommand(this, dialog, commandText(307)));
}

void ProjectDocument::moveDialog(int dialog, int offset)
{
    const int other = dialog + offset;
    if (dialog < 1 || dialog > dialogCount() || other < 1 || other > dialogCount() || offset == 0)
        return;
    mUndoStack->push(new MoveCommand(this, dialog, other, commandText(308)));
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
    mProject.record(index) = record;
    emit recordChanged(index);
    emit contentsChanged();
}

void ProjectDocument::insertRecord(int dialog, const DialogRecord &record)
{
    const int count = dialogCount();
    for (int k = count; k >= dialog; --k)
        mProject.record(k + 1) = mProject.record(k);
    mProject.record(dialog) = record;
    mProject.setDialogCount(qint16(count + 1));
    emit dialogInserted(dialog);
    mCurrentDialog = 0;
    setCurrentDialog(dialog);
    emit contentsChanged();
}

DialogRecord ProjectDocument::removeRecord(int dialog)
{
    const int count = dialogCount();
    const DialogRecord removed = mProject.record(dialog);
    for (int k = dialog; k < count; ++k)
        mProject.record(k) = mProject.record(k + 1);
    mProject.clearRecord(count);
    mProject.setDialogCount(qint16(count - 1));
    emit dialogRemoved(dialog);
    // The dialog that took the place of the removed one is selected, or the new last one.
    mCurrentDialog = 0;
    setCurrentDialog(qMin(dialog, count - 1));
    emit contentsChanged();
    return removed;
}

void ProjectDocument::swapRecords(int first, int second)
{
    std::swap(mProject.record(first), mProject.record(second));
}

void ProjectDocument::replaceProject(const DialogProject &project, Replaced state)
{
    const QString oldPath = path();
    mProject = project;
    // Views only edit dialogs the list shows, so a project without any gets a new one's first.
    if (mProject.dialogCount() < 1) {
        mProject.newDialog(1, newDialogText());
        mProject.setDialogCount(1);
    }
    mUnsavedReplacement = state == Replaced::Unsaved;
    mUndoStack->clear();
    mCurrentDialog = 1;
    emit projectReplaced();
    emit contentsChanged();
    emit currentDialogChanged(mCurrentDialog);
    if (path() != oldPath)
        emit pathChanged(path());
    emitModified();
}

void ProjectDocument::markSaved(const QString &path)
{
    const bool moved = path != this->path();
    mProject.setPath(path);
    mUnsavedReplacement = false;
    mUndoStack->setClean();
    if (moved)
        emit pathChanged(path);
    emitModified();
}

} // namespace kq

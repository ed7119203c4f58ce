#include "dialoglistview.h"

#include "editorlook.h"
#include "language.h"
#include "picturebutton.h"
#include "projectdocument.h"
#include "stepeditactions.h"
#include "themepainter.h"

#include <QAction>
#include <QDrag>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace kq {

namespace {

constexpr int EntryTextLength = 20;

// "k. " and the first 20 characters of the text; line breaks show as spaces in the one-line list.
QString entryText(int number, const QString &text)
{
    QString start = trimmedRight(trimmedRight(text).left(EntryTextLength));
    start.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QString::number(number) + QStringLiteral(". ") + start;
}

// "Undo (typing)": an undo or redo entry by its language id, with what it would undo.
QString undoEntryText(TextId id, const QString &commandText)
{
    const QString entry = languageText(id);
    return commandText.isEmpty() ? entry : entry + QStringLiteral(" (") + commandText + u')';
}

// The list's drag and drop. The selected steps leave as copied steps; steps dropped on it go
// where the drop indicator shows: moved when they are this list's own drag, copied with Ctrl or
// from anywhere else. The list removes and inserts nothing itself: it follows the document.
class StepList : public QListWidget
{
public:
    StepList(ProjectDocument &document, StepEditActions &actions, QWidget *parent)
        : QListWidget(parent), mDocument(document), mActions(actions)
    {
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDropIndicatorShown(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
    }

protected:
    QStringList mimeTypes() const override { return {StepClipboard::MimeType}; }

    Qt::DropActions supportedDropActions() const override
    {
        return Qt::CopyAction | Qt::MoveAction;
    }

    QMimeData *mimeData(const QList<QListWidgetItem *> &items) const override
    {
        QList<int> dialogs;
        for (const QListWidgetItem *item : items)
            dialogs << row(item) + 1;
        std::sort(dialogs.begin(), dialogs.end());
        const CopiedSteps steps = mDocument.copySteps(dialogs, ProjectDocument::Copy::ForDrag);
        mDragMark = steps.origin;
        return StepClipboard::toMimeData(steps);
    }

    void startDrag(Qt::DropActions /*supportedActions*/) override
    {
        auto *drag = new QDrag(this);
        drag->setMimeData(mimeData(selectedItems()));
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    }

    // A key of an edit command that reaches the list itself, as when its window is not the
    // active one, does what the command's shortcut does.
    void keyPressEvent(QKeyEvent *event) override
    {
        const QKeySequence pressed(event->keyCombination());
        for (int command = 0; command < StepEditActions::CommandCount; ++command) {
            QAction *action = mActions.action(StepEditActions::Command(command));
            if (action->shortcut() == pressed) {
                if (action->isEnabled())
                    action->trigger();
                event->accept();
                return;
            }
        }
        QListWidget::keyPressEvent(event);
    }

    void dropEvent(QDropEvent *event) override
    {
        stopAutoScroll();
        setState(NoState);
        viewport()->update();
        const auto steps = StepClipboard::fromMimeData(event->mimeData());
        if (!steps) {
            event->ignore();
            return;
        }
        const int before = dropPlace(event->position().toPoint());
        mDocument.commitPendingEdits();
        if (steps->origin != mDragMark) {
            mActions.pasteAt(*steps, before - 1, TextId::UndoDrop);
        } else {
            QList<int> dialogs;
            for (const int number : std::as_const(steps->numbers))
                dialogs << number + 1;
            if (event->modifiers() & Qt::ControlModifier)
                mActions.duplicateAt(dialogs, before - 1);
            else
                mDocument.moveDialogsTo(dialogs, before);
        }
        // What was dropped is in the document; the source must not remove anything.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        setFocus();
    }

private:
    // The dialog the drop goes before: the lower half of an entry drops after it, and below the
    // last entry is the end.
    int dropPlace(const QPoint &at) const
    {
        const QModelIndex index = indexAt(at);
        if (!index.isValid())
            return count() + 1;
        return index.row() + 1 + (at.y() >= visualRect(index).center().y() ? 1 : 0);
    }

    ProjectDocument &mDocument;
    StepEditActions &mActions;
    mutable QByteArray mDragMark;
};

} // namespace

DialogListView::DialogListView(ProjectDocument &document, QWidget *parent)
    : AreaFrame(QStringLiteral("listbox"), parent), mDocument(document)
{
    mEditActions = new StepEditActions(document, this);
    mList = new StepList(document, *mEditActions, this);
    mList->setObjectName(QStringLiteral("dlg_list"));
    mEditActions->attachTo(mList);
    mList->setFont(EditorLook::fixedPitchFont());
    // Its entries are cut at the right, so it is never wider than designed; on a small screen it
    // gives up room before the panel.
    mList->setMinimumWidth(170);
    mList->setMaximumWidth(230);
    mList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mList, &QListWidget::currentRowChanged, this, &DialogListView::sendSelection);
    connect(mList, &QListWidget::itemSelectionChanged, this, &DialogListView::sendSelection);
    connect(mList, &QWidget::customContextMenuRequested, this, &DialogListView::showContextMenu);

    const auto button = [this](const char *name) {
        const QString id = QLatin1String(name);
        return pictureButton(id, QStringLiteral("mainwindow/") + id + QStringLiteral(".png"), this);
    };
    mNew = button("list_new");
    mDelete = button("list_delete");
    mUp = button("list_up");
    mDown = button("list_down");
    connect(mNew, &QPushButton::clicked, this, &DialogListView::insertDialog);
    connect(mDelete, &QPushButton::clicked, this, &DialogListView::deleteDialog);
    connect(mUp, &QPushButton::clicked, this, &DialogListView::moveUp);
    connect(mDown, &QPushButton::clicked, this, &DialogListView::moveDown);

    mEditButton = new QToolButton(this);
    mEditButton->setObjectName(QStringLiteral("list_edit"));
    mEditButton->setPopupMode(QToolButton::InstantPopup);
    mEditButton->setFocusPolicy(Qt::NoFocus);
    auto *editMenu = new QMenu(mEditButton);
    editMenu->setObjectName(QStringLiteral("list_edit_menu"));
    mEditActions->addTo(editMenu);
    mEditButton->setMenu(editMenu);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton *listButton : {mNew, mDelete, mUp, mDown})
        buttons->addWidget(listButton);
    buttons->addStretch(1);
    buttons->addWidget(mEditButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(mList, 1);
    layout->addLayout(buttons);

    connect(&mDocument, &ProjectDocument::recordChanged, this, &DialogListView::updateEntry);
    connect(&mDocument, &ProjectDocument::dialogsInserted, this, &DialogListView::insertEntries);
    connect(&mDocument, &ProjectDocument::dialogsRemoved, this, &DialogListView::removeEntries);
    connect(&mDocument, &ProjectDocument::dialogMoved, this,
            [this](int from, int to) { updateEntries(std::min(from, to), std::max(from, to)); });
    connect(&mDocument, &ProjectDocument::projectReplaced, this, &DialogListView::refresh);
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this,
            &DialogListView::selectCurrent);
    connect(&mDocument, &ProjectDocument::selectionChanged, this, &DialogListView::selectCurrent);
    refresh();
}

void DialogListView::refresh()
{
    {
        const QSignalBlocker blocker(mList);
        mList->clear();
        for (int k = 1; k <= mDocument.dialogCount(); ++k)
            mList->addItem(entryText(k - 1, mDocument.record(k).text));
    }
    markErrors(mErrorSteps);
    selectCurrent();
}

void DialogListView::updateEntry(int dialog)
{
    if (QListWidgetItem *item = mList->item(dialog - 1))
        item->setText(entryText(dialog - 1, mDocument.record(dialog).text));
}

// A list operation renumbers only the entries from its dialog on; the entries before it keep
// their items, so a 99-step list is not filled, laid out and painted again whole.
void DialogListView::insertEntries(int first, int count)
{
    {
        const QSignalBlocker blocker(mList);
        for (int k = 0; k < count; ++k)
            mList->insertItem(first - 1, QString());
    }
    updateEntries(first, mDocument.dialogCount());
}

void DialogListView::removeEntries(int first, int count)
{
    {
        const QSignalBlocker blocker(mList);
        for (int k = 0; k < count; ++k)
            delete mList->takeItem(first - 1);
    }
    updateEntries(first, mDocument.dialogCount());
}

void DialogListView::updateEntries(int first, int last)
{
    {
        const QSignalBlocker blocker(mList);
        for (int dialog = first; dialog <= last; ++dialog)
            updateEntry(dialog);
    }
    markErrors(mErrorSteps);
    selectCurrent();
}

void DialogListView::markErrors(const QSet<int> &steps)
{
    mErrorSteps = steps;
    const QIcon error = EditorLook::findingIcon(Finding::Severity::Error);
    for (int row = 0; row < mList->count(); ++row) {
        QListWidgetItem *item = mList->item(row);
        // An entry without an error that shows none is left alone: setting even an empty icon
        // repaints it.
        if (steps.contains(row) || !item->icon().isNull())
            item->setIcon(steps.contains(row) ? error : QIcon());
    }
}

void DialogListView::selectCurrent()
{
    if (!mSendingSelection) {
        const QSignalBlocker blocker(mList);
        QItemSelection selection;
        for (const int dialog : mDocument.selectedDialogs()) {
            const QModelIndex index = mList->model()->index(dialog - 1, 0);
            selection.select(index, index);
        }
        QItemSelectionModel *model = mList->selectionModel();
        model->setCurrentIndex(mList->model()->index(mDocument.currentDialog() - 1, 0),
                               QItemSelectionModel::NoUpdate);
        model->select(selection, QItemSelectionModel::ClearAndSelect);
    }
    updateButtons();
}

void DialogListView::sendSelection()
{
    QList<int> dialogs;
    for (const QListWidgetItem *item : mList->selectedItems())
        dialogs << mList->row(item) + 1;
    mSendingSelection = true;
    mDocument.setSelection(dialogs, mList->currentRow() + 1);
    mSendingSelection = false;
    // With no entry selected (Ctrl+click on the last one, a click below the entries) the keys
    // act on the current step: the list shows it selected, as the map does.
    if (dialogs.isEmpty())
        selectCurrent();
    else
        updateButtons();
}

void DialogListView::updateButtons()
{
    const int count = mDocument.dialogCount();
    const QList<int> selected = mDocument.selectedDialogs();
    bool changed = setControlsEnabled({mNew}, count < DialogProject::MaxDialogs);
    changed = setControlsEnabled({mDelete}, mDocument.canDeleteDialogs(selected)) || changed;
    changed = setControlsEnabled({mUp}, mDocument.canMoveDialogs(selected, -1)) || changed;
    changed = setControlsEnabled({mDown}, mDocument.canMoveDialogs(selected, 1)) || changed;
    if (changed)
        emit buttonsUpdated();
}

void DialogListView::retranslate()
{
    mList->setAccessibleName(languageText(TextId::DialogList));
    // The keys are the list's own (eventFilter).
    describePictureButton(mNew, languageText(TextId::InsertStep), QKeySequence(Qt::Key_Insert));
    describePictureButton(mDelete, languageText(TextId::DeleteStep), QKeySequence(Qt::Key_Delete));
    describePictureButton(mUp, languageText(TextId::MoveStepUp),
                          QKeySequence(Qt::CTRL | Qt::Key_Up));
    describePictureButton(mDown, languageText(TextId::MoveStepDown),
                          QKeySequence(Qt::CTRL | Qt::Key_Down));
    mEditActions->retranslate();
    mEditButton->setText(languageText(TextId::EditMenu));
    mEditButton->setToolTip(languageText(TextId::EditMenuHint));
    mEditButton->setAccessibleName(languageText(TextId::EditMenu));
    mEditButton->setAccessibleDescription(languageText(TextId::EditMenuHint));
}

void DialogListView::insertDialog()
{
    mEditActions->action(StepEditActions::Insert)->trigger();
    mList->setFocus();
}

void DialogListView::deleteDialog()
{
    mEditActions->action(StepEditActions::Delete)->trigger();
    mList->setFocus();
}

void DialogListView::moveUp()
{
    mEditActions->action(StepEditActions::MoveUp)->trigger();
    mList->setFocus();
}

void DialogListView::moveDown()
{
    mEditActions->action(StepEditActions::MoveDown)->trigger();
    mList->setFocus();
}

void DialogListView::showContextMenu(const QPoint &at)
{
    const std::unique_ptr<QMenu> menu(createContextMenu());
    menu->exec(mList->viewport()->mapToGlobal(at));
}

QMenu *DialogListView::createContextMenu()
{
    QUndoStack *stack = mDocument.undoStack();
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("dlg_list_menu"));
    QAction *undo = menu->addAction(undoEntryText(TextId::Undo, stack->undoText()));
    undo->setObjectName(QStringLiteral("dlg_list_undo"));
    undo->setEnabled(stack->canUndo());
    connect(undo, &QAction::triggered, &mDocument, &ProjectDocument::undo);
    QAction *redo = menu->addAction(undoEntryText(TextId::Redo, stack->redoText()));
    redo->setObjectName(QStringLiteral("dlg_list_redo"));
    redo->setEnabled(stack->canRedo());
    connect(redo, &QAction::triggered, &mDocument, &ProjectDocument::redo);
    menu->addSeparator();
    mEditActions->addTo(menu);
    return menu;
}

void DialogListView::addToEditMenu(const QList<QAction *> &actions)
{
    mEditButton->menu()->addSeparator();
    mEditButton->menu()->addActions(actions);
}

} // namespace kq

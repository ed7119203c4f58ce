#include "dialoglistview.h"

#include "editorlook.h"
#include "language.h"
#include "picturebutton.h"
#include "projectdocument.h"
#include "themepainter.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
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

} // namespace

DialogListView::DialogListView(ProjectDocument &document, QWidget *parent)
    : AreaFrame(QStringLiteral("listbox"), parent), mDocument(document)
{

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("dlg_list"));
    mList->setFont(EditorLook::fixedPitchFont());
    // Its entries are cut at the right, so it is never wider than designed; on a small screen it
    // gives up room before the panel.
    mList->setMinimumWidth(170);
    mList->setMaximumWidth(230);
    mList->setContextMenuPolicy(Qt::CustomContextMenu);
    mList->installEventFilter(this);
    connect(mList, &QListWidget::currentRowChanged, this,
            [this](int row) { mDocument.setCurrentDialog(row + 1); });
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

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton *listButton : {mNew, mDelete, mUp, mDown})
        buttons->addWidget(listButton);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(mList, 1);
    layout->addLayout(buttons);

    connect(&mDocument, &ProjectDocument::recordChanged, this, &DialogListView::updateEntry);
    connect(&mDocument, &ProjectDocument::dialogInserted, this, &DialogListView::insertEntry);
    connect(&mDocument, &ProjectDocument::dialogRemoved, this, &DialogListView::removeEntry);
    connect(&mDocument, &ProjectDocument::dialogMoved, this,
            [this](int from, int to) { updateEntries(std::min(from, to), std::max(from, to)); });
    connect(&mDocument, &ProjectDocument::projectReplaced, this, &DialogListView::refresh);
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this,
            &DialogListView::selectCurrent);
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
void DialogListView::insertEntry(int dialog)
{
    {
        const QSignalBlocker blocker(mList);
        mList->insertItem(dialog - 1, QString());
    }
    updateEntries(dialog, mDocument.dialogCount());
}

void DialogListView::removeEntry(int dialog)
{
    {
        const QSignalBlocker blocker(mList);
        delete mList->takeItem(dialog - 1);
    }
    updateEntries(dialog, mDocument.dialogCount());
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
    {
        const QSignalBlocker blocker(mList);
        mList->setCurrentRow(mDocument.currentDialog() - 1);
    }
    updateButtons();
}

void DialogListView::updateButtons()
{
    const int count = mDocument.dialogCount();
    const int current = mDocument.currentDialog();
    bool changed = setControlsEnabled({mNew}, count < DialogProject::MaxDialogs);
    changed = setControlsEnabled({mDelete}, count > 1) || changed;
    changed = setControlsEnabled({mUp}, count > 1 && current > 1) || changed;
    changed = setControlsEnabled({mDown}, count > 1 && current < count) || changed;
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
}

void DialogListView::insertDialog()
{
    mDocument.commitPendingEdits();
    mDocument.insertDialog(mDocument.currentDialog());
    mList->setFocus();
}

void DialogListView::deleteDialog()
{
    mDocument.commitPendingEdits();
    mDocument.deleteDialog(mDocument.currentDialog());
    mList->setFocus();
}

void DialogListView::moveUp()
{
    mDocument.commitPendingEdits();
    mDocument.moveDialog(mDocument.currentDialog(), -1);
    mList->setFocus();
}

void DialogListView::moveDown()
{
    mDocument.commitPendingEdits();
    mDocument.moveDialog(mDocument.currentDialog(), 1);
    mList->setFocus();
}

bool DialogListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mList && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool control = key->modifiers() & Qt::ControlModifier;
        if (key->key() == Qt::Key_Delete && !control) {
            deleteDialog();
            return true;
        }
        if (key->key() == Qt::Key_Insert && !control) {
            insertDialog();
            return true;
        }
        if (control && key->key() == Qt::Key_Up) {
            moveUp();
            return true;
        }
        if (control && key->key() == Qt::Key_Down) {
            moveDown();
            return true;
        }
    }
    return AreaFrame::eventFilter(watched, event);
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
    return menu;
}

} // namespace kq

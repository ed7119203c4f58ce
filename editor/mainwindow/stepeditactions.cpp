#include "stepeditactions.h"

#include "language.h"
#include "projectdocument.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <numeric>

namespace kq {

namespace {

struct CommandLook
{
    const char *name;
    TextId caption;
    QKeyCombination key;
};

// In the order of the enum.
constexpr CommandLook Looks[] = {
    {"edit_cut", TextId::EditCut, Qt::CTRL | Qt::Key_X},
    {"edit_copy", TextId::EditCopy, Qt::CTRL | Qt::Key_C},
    {"edit_paste", TextId::EditPaste, Qt::CTRL | Qt::Key_V},
    {"edit_duplicate", TextId::EditDuplicate, Qt::CTRL | Qt::Key_D},
    {"edit_select_all", TextId::EditSelectAll, Qt::CTRL | Qt::Key_A},
    {"edit_insert", TextId::EditInsert, QKeyCombination(Qt::Key_Insert)},
    {"edit_delete", TextId::EditDelete, QKeyCombination(Qt::Key_Delete)},
    {"edit_up", TextId::EditMoveUp, Qt::CTRL | Qt::Key_Up},
    {"edit_down", TextId::EditMoveDown, Qt::CTRL | Qt::Key_Down},
};
static_assert(std::size(Looks) == StepEditActions::CommandCount);

} // namespace

StepEditActions::StepEditActions(ProjectDocument &document, QObject *parent)
    : QObject(parent), mDocument(document)
{
    for (int command = 0; command < CommandCount; ++command) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(Looks[command].name));
        action->setShortcut(QKeySequence(Looks[command].key));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, [this, command] { run(Command(command)); });
        mActions[command] = action;
    }
    connect(&mDocument, &ProjectDocument::selectionChanged, this, &StepEditActions::updateStates);
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this,
            &StepEditActions::updateStates);
    connect(&mDocument, &ProjectDocument::contentsChanged, this, &StepEditActions::updateStates);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &StepEditActions::updateStates);
    retranslate();
    updateStates();
}

void StepEditActions::attachTo(QWidget *widget)
{
    for (QAction *action : mActions)
        widget->addAction(action);
}

void StepEditActions::addTo(QMenu *menu) const
{
    for (const Command command : {Cut, Copy, Paste, Duplicate})
        menu->addAction(mActions.at(command));
    menu->addSeparator();
    for (const Command command : {Insert, Delete, MoveUp, MoveDown})
        menu->addAction(mActions.at(command));
    menu->addSeparator();
    menu->addAction(mActions.at(SelectAll));
}

void StepEditActions::retranslate()
{
    for (int command = 0; command < CommandCount; ++command) {
        QAction *action = mActions.at(command);
        action->setText(languageText(Looks[command].caption));
        action->setToolTip(action->text() + QStringLiteral(" (") +
                           action->shortcut().toString(QKeySequence::NativeText) + u')');
    }
}

void StepEditActions::updateStates()
{
    const QList<int> selected = mDocument.selectedDialogs();
    const int count = mDocument.dialogCount();
    mActions[Cut]->setEnabled(mDocument.canDeleteDialogs(selected));
    mActions[Paste]->setEnabled(
        StepClipboard::holdsSteps(QGuiApplication::clipboard()->mimeData()));
    mActions[Duplicate]->setEnabled(mDocument.stepsRoom() > 0);
    mActions[Insert]->setEnabled(mDocument.stepsRoom() > 0);
    mActions[Delete]->setEnabled(mDocument.canDeleteDialogs(selected));
    mActions[MoveUp]->setEnabled(count > 1 && mDocument.canMoveDialogs(selected, -1));
    mActions[MoveDown]->setEnabled(count > 1 && mDocument.canMoveDialogs(selected, 1));
}

void StepEditActions::run(Command command)
{
    // A key works on what the user sees: typing not yet sent goes to its step first.
    mDocument.commitPendingEdits();
    switch (command) {
    case Cut:
        cut();
        break;
    case Copy:
        copy();
        break;
    case Paste:
        paste();
        break;
    case Duplicate:
        duplicate();
        break;
    case SelectAll:
        selectAll();
        break;
    case Insert:
        insert();
        break;
    case Delete:
        remove();
        break;
    case MoveUp:
        moveUp();
        break;
    case MoveDown:
        moveDown();
        break;
    case CommandCount:
        break;
    }
}

void StepEditActions::copy()
{
    const CopiedSteps steps = mDocument.copySteps(mDocument.selectedDialogs());
    QGuiApplication::clipboard()->setMimeData(StepClipboard::toMimeData(steps));
}

void StepEditActions::cut()
{
    const QList<int> selected = mDocument.selectedDialogs();
    if (!mDocument.canDeleteDialogs(selected))
        return;
    copy();
    mDocument.deleteDialogs(selected, TextId::UndoCut);
}

void StepEditActions::paste()
{
    pasteAfter(mDocument.currentDialog());
}

void StepEditActions::pasteAfter(int after)
{
    // Anything else on the clipboard is not for the list.
    const auto steps = StepClipboard::fromMimeData(QGuiApplication::clipboard()->mimeData());
    if (steps)
        pasteAt(*steps, after, TextId::UndoPaste);
}

void StepEditActions::pasteAt(const CopiedSteps &steps, int after, TextId undoText)
{
    if (!mDocument.pasteSteps(steps, after, undoText))
        tellNoRoom(steps.records.size());
}

void StepEditActions::duplicateAt(const QList<int> &dialogs, int after)
{
    if (!mDocument.duplicateDialogs(dialogs, after, TextId::UndoDrop))
        tellNoRoom(dialogs.size());
}

void StepEditActions::tellNoRoom(qsizetype count)
{
    emit statusMessage(pluralForm(languageText(TextId::PasteTooMany), count)
                           .arg(count)
                           .arg(mDocument.stepsRoom()));
}

void StepEditActions::duplicate()
{
    const QList<int> selected = mDocument.selectedDialogs();
    if (!mDocument.duplicateDialogs(selected))
        tellNoRoom(selected.size());
}

void StepEditActions::selectAll()
{
    QList<int> all(mDocument.dialogCount());
    std::iota(all.begin(), all.end(), 1);
    mDocument.setSelection(all, mDocument.currentDialog());
}

void StepEditActions::insert()
{
    mDocument.insertDialog(mDocument.currentDialog());
}

void StepEditActions::remove()
{
    mDocument.deleteDialogs(mDocument.selectedDialogs());
}

void StepEditActions::moveUp()
{
    mDocument.moveDialogs(mDocument.selectedDialogs(), -1);
}

void StepEditActions::moveDown()
{
    mDocument.moveDialogs(mDocument.selectedDialogs(), 1);
}

} // namespace kq

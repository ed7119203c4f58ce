#pragma once

#include "areaframe.h"
#include <QSet>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;

namespace kq {

class ProjectDocument;
class StepEditActions;

// The dialog list with its four buttons and its Edit menu: one entry per dialog, "k. " and the
// start of its text. It follows the document and sends list operations to it; its selection and
// current entry are the document's. Steps are dragged to a new place (Ctrl copies), and steps
// dropped from another editor are copied in.
class DialogListView : public AreaFrame
{
    Q_OBJECT

public:
    explicit DialogListView(ProjectDocument &document, QWidget *parent = nullptr);

    QListWidget *list() const { return mList; }
    StepEditActions *editActions() const { return mEditActions; }
    // More entries at the end of the Edit menu, after a separator.
    void addToEditMenu(const QList<QAction *> &actions);

    // Refills every entry and selects the current dialog.
    void refresh();
    // Marks the entries of steps (numbered from 0) that the project check finds errors in.
    void markErrors(const QSet<int> &steps);
    // Enables the list buttons for the dialog count and the selection.
    void updateButtons();
    // The list's name and the buttons' tooltips in the active language.
    void retranslate();

    void insertDialog();
    void deleteDialog();
    void moveUp();
    void moveDown();
    // The context menu: Undo and Redo, each with what it undoes, and the edit commands; the
    // caller owns it.
    QMenu *createContextMenu();

signals:
    // Buttons were enabled or disabled: the window colours them again.
    void buttonsUpdated();

private:
    void updateEntry(int dialog);
    void insertEntries(int first, int count);
    void removeEntries(int first, int count);
    // Writes the entries of the dialogs first to last again, then the marks and the selection.
    void updateEntries(int first, int last);
    void selectCurrent();
    // The list's selection and current entry go to the document.
    void sendSelection();
    void showContextMenu(const QPoint &at);

    ProjectDocument &mDocument;
    QListWidget *mList = nullptr;
    QPushButton *mNew = nullptr;
    QPushButton *mDelete = nullptr;
    QPushButton *mUp = nullptr;
    QPushButton *mDown = nullptr;
    QToolButton *mEditButton = nullptr;
    StepEditActions *mEditActions = nullptr;
    // The list is telling the document its selection, which it need not be shown again.
    bool mSendingSelection = false;
    QSet<int> mErrorSteps;
};

} // namespace kq

#pragma once

#include "stepclipboard.h"
#include "textid.h"

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QWidget;

namespace kq {

class ProjectDocument;

// The commands on the selected steps, shared by the dialog list, the flow map, their context
// menus and the Edit menu: cut, copy, paste, duplicate, select all, new step, delete and move.
// Their keys work while a widget they are attached to has the focus, so that in a text box
// Ctrl+C and the others keep their meaning for the text. The clipboard carries the steps in a
// type of our own; contents that are not ours are left alone.
class StepEditActions : public QObject
{
    Q_OBJECT

public:
    enum Command {
        Cut,
        Copy,
        Paste,
        Duplicate,
        SelectAll,
        Insert,
        Delete,
        MoveUp,
        MoveDown,
        CommandCount
    };

    explicit StepEditActions(ProjectDocument &document, QObject *parent = nullptr);

    QAction *action(Command command) const { return mActions.at(command); }
    void attachTo(QWidget *widget);
    void addTo(QMenu *menu) const;
    void retranslate();
    // Enabled by the selection, the dialog count and what the clipboard holds.
    void updateStates();

    void cut();
    void copy();
    void paste();
    // The clipboard's steps after the dialog `after`, whichever is current.
    void pasteAfter(int after);
    void duplicate();
    void selectAll();
    void insert();
    void remove();
    void moveUp();
    void moveDown();
    // Steps dropped after the dialog `after`: one command, or a notice when they do not fit.
    void pasteAt(const CopiedSteps &steps, int after, TextId undoText);
    // This list's own steps dropped with Ctrl: copies after the dialog `after`.
    void duplicateAt(const QList<int> &dialogs, int after);

signals:
    void statusMessage(const QString &text);

private:
    void run(Command command);
    // A paste or duplicate of count steps did not fit: how many do.
    void tellNoRoom(qsizetype count);

    ProjectDocument &mDocument;
    std::array<QAction *, CommandCount> mActions{};
};

} // namespace kq

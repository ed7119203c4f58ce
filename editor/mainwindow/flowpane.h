#pragma once

#include "projectcheck.h"

#include <QSet>
#include <QWidget>

class QBoxLayout;
class QPushButton;
class QSplitter;
class QToolButton;

namespace kq {

class FlowView;
class ProblemsView;
class ProjectDocument;
class StepEditActions;
class UiServices;

// The pane beside the editing areas: the picture of the project's flow with its fit and export
// buttons, and under it the problems the project check finds, so that a finding and its place
// are seen together. The problems can be folded away to their title row; their height and
// whether they are folded are remembered. The pane follows the document: the check runs after
// every change (it is cheap for 99 steps), and the current dialog's box is highlighted.
class FlowPane : public QWidget
{
    Q_OBJECT

public:
    FlowPane(UiServices &ui, ProjectDocument &document, QWidget *parent = nullptr);

    // The edit commands work on the map too, by key and in its context menu.
    void setEditActions(StepEditActions *actions);
    FlowView *flowView() const { return mFlowView; }

    // Captions, the export button and the findings in the active language.
    void retranslate();

    // The problems' height and whether they are folded, as the settings keep them. A state
    // that cannot be read leaves the pane as it opens the first time.
    QByteArray saveState() const;
    void restoreState(const QByteArray &state);
    bool problemsFolded() const;
    void setProblemsFolded(bool folded);

signals:
    // The steps (numbered from 0) the last check found errors in.
    void errorStepsFound(const QSet<int> &steps);
    // The user chose a finding: its step (-1 for the project) and what it concerns.
    void findingActivated(int step, kq::StepField field);
    // The user double-clicked a step's box on the map.
    void stepOpened(int step);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *createFlowPart();
    QWidget *createProblemsPart();
    void stackButtonsWhenNarrow();
    void applyProblemsHeight();
    void showProblemsCount();

    void checkProject();
    void showSelection();
    void showContextMenu(const QPoint &at);
    // The menu of the map's empty space: a new step or the clipboard's steps at the end.
    void showEndMenu(const QPoint &at);
    void relinkExit(int step, StepField field, StepExit::Leads leads, int target);
    void exportPicture();

    UiServices &mUi;
    ProjectDocument &mDocument;
    QSplitter *mSplitter = nullptr;
    FlowView *mFlowView = nullptr;
    ProblemsView *mProblems = nullptr;
    StepEditActions *mEditActions = nullptr;
    QToolButton *mProblemsTitle = nullptr;
    QPushButton *mExportPicture = nullptr;
    QPushButton *mFitFlow = nullptr;
    QBoxLayout *mButtons = nullptr;
    // The height the problems take when shown, kept while they are folded.
    int mProblemsHeight;
    // A remembered height waits for the pane's real size before it is applied.
    bool mHeightPending = true;
};

} // namespace kq

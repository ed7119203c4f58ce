#pragma once

#include "projectcheck.h"

#include <QSet>
#include <QTabWidget>

class QBoxLayout;
class QPushButton;

namespace kq {

class FlowView;
class ProblemsView;
class ProjectDocument;
class UiServices;

// The tabs beside the editing areas: the picture of the project's flow with its fit and export
// buttons, and the problems the project check finds. They follow the document: the check runs
// after every change (it is cheap for 99 steps), and the current dialog's box is highlighted.
class FlowTabs : public QTabWidget
{
    Q_OBJECT

public:
    FlowTabs(UiServices &ui, ProjectDocument &document, QWidget *parent = nullptr);

    // Tab names, the export button and the findings in the active language.
    void retranslate();

signals:
    // The steps (numbered from 0) the last check found errors in.
    void errorStepsFound(const QSet<int> &steps);
    // The user chose a finding: its step (-1 for the project) and what it concerns.
    void findingActivated(int step, kq::StepField field);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void stackButtonsWhenNarrow();

    void checkProject();
    void exportPicture();

    UiServices &mUi;
    ProjectDocument &mDocument;
    FlowView *mFlowView = nullptr;
    ProblemsView *mProblems = nullptr;
    QPushButton *mExportPicture = nullptr;
    QPushButton *mFitFlow = nullptr;
    QBoxLayout *mButtons = nullptr;
};

} // namespace kq

#include "flowtabs.h"

#include "flowview.h"
#include "language.h"
#include "picturebutton.h"
#include "problemsview.h"
#include "productinfo.h"
#include "projectdocument.h"
#include "uiservices.h"

#include <QAction>
#include <QBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kq {

FlowTabs::FlowTabs(UiServices &ui, ProjectDocument &document, QWidget *parent)
    : QTabWidget(parent), mUi(ui), mDocument(document)
{
    setObjectName(QStringLiteral("flow_tabs"));

    auto *flowPage = new QWidget(this);
    mFlowView = new FlowView(flowPage);
    mExportPicture = new QPushButton(resourceId(372), flowPage);
    mExportPicture->setObjectName(QStringLiteral("flow_export"));
    mExportPicture->setAutoDefault(false);
    connect(mExportPicture, &QPushButton::clicked, this, &FlowTabs::exportPicture);
    mFitFlow = new QPushButton(resourceId(480), flowPage);
    mFitFlow->setObjectName(QStringLiteral("flow_fit"));
    mFitFlow->setAutoDefault(false);
    connect(mFitFlow, &QPushButton::clicked, mFlowView, &FlowView::fitToView);
    // Ctrl+0 fits the map from anywhere in the window, as the button does.
    auto *fitKey = new QAction(this);
    fitKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    addAction(fitKey);
    connect(fitKey, &QAction::triggered, mFlowView, &FlowView::fitToView);
    // Tab goes along the row from left to right.
    setTabOrder(mFitFlow, mExportPicture);
    mButtons = new QBoxLayout(QBoxLayout::LeftToRight);
    mButtons->addWidget(mFitFlow);
    mButtons->addStretch(1);
    mButtons->addWidget(mExportPicture);
    auto *flowLayout = new QVBoxLayout(flowPage);
    flowLayout->setContentsMargins(4, 4, 4, 4);
    flowLayout->addWidget(mFlowView, 1);
    flowLayout->addLayout(mButtons);
    addTab(flowPage, resourceId(370));

    mProblems = new ProblemsView(this);
    addTab(mProblems, resourceId(371));

    connect(mFlowView, &FlowView::stepActivated, this,
            [this](int step) { mDocument.setCurrentDialog(step + 1); });
    connect(mProblems, &ProblemsView::findingActivated, this, &FlowTabs::findingActivated);
    connect(&mDocument, &ProjectDocument::contentsChanged, this, &FlowTabs::checkProject);
    // A project opened shows its whole flow, however the user zoomed the one before.
    connect(&mDocument, &ProjectDocument::projectReplaced, mFlowView, &FlowView::showWholeWidth);
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this,
            [this](int dialog) { mFlowView->selectStep(dialog - 1); });
}

void FlowTabs::retranslate()
{
    setTabText(0, languageText(370));
    setTabText(1, languageText(371));
    mExportPicture->setText(languageText(372));
    mFitFlow->setText(languageText(480));
    mFitFlow->setToolTip(toolTipWithKey(languageText(481), QKeySequence(Qt::CTRL | Qt::Key_0)));
    mFlowView->setToolTip(languageText(482));
    mFlowView->setAccessibleName(tabText(0));
    mProblems->setAccessibleName(tabText(1));
    mProblems->retranslate();
    checkProject();
    // As narrow as the wider button, so that the editing areas keep their room on a small screen.
    setMinimumWidth(qMax(mFitFlow->sizeHint().width(), mExportPicture->sizeHint().width()) + 16);
    stackButtonsWhenNarrow();
}

void FlowTabs::resizeEvent(QResizeEvent *event)
{
    QTabWidget::resizeEvent(event);
    stackButtonsWhenNarrow();
}

void FlowTabs::stackButtonsWhenNarrow()
{
    // A pane too narrow for both buttons side by side puts one above the other, captions whole.
    const int sideBySide = mFitFlow->sizeHint().width() + mExportPicture->sizeHint().width() + 24;
    mButtons->setDirection(width() < sideBySide ? QBoxLayout::TopToBottom
                                                : QBoxLayout::LeftToRight);
}

void FlowTabs::checkProject()
{
    const QList<Finding> findings = mDocument.check();
    mProblems->showFindings(findings);
    mFlowView->showProject(mDocument.project(), findings);
    mFlowView->selectStep(mDocument.currentDialog() - 1);
    QSet<int> errorSteps;
    for (const Finding &finding : findings) {
        if (finding.severity() == Finding::Severity::Error && finding.step >= 0)
            errorSteps.insert(finding.step);
    }
    emit errorStepsFound(errorSteps);
}

void FlowTabs::exportPicture()
{
    const QString path = mUi.saveFileName(window(), languageText(373),
                                          languageText(374) + QStringLiteral("|*.png|") +
                                              languageText(375) + QStringLiteral("|*.svg"),
                                          QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QString error;
    if (!mFlowView->exportPicture(path, &error))
        mUi.message(window(), languageText(377), ProductTitle, UiServices::Icon::Warning,
                    UiServices::Buttons::Ok, error);
}

} // namespace kq

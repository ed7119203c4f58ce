#include "flowpane.h"

#include "stepeditactions.h"

#include "flowview.h"
#include "language.h"
#include "picturebutton.h"
#include "problemsview.h"
#include "productinfo.h"
#include "projectdocument.h"
#include "uiservices.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QDataStream>
#include <QIODevice>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace kq {

namespace {

// Room for a few findings under the picture, before the user drags it otherwise.
constexpr int FirstProblemsHeight = 150;
// Raised when what saveState writes changes.
constexpr quint8 StateVersion = 1;

} // namespace

FlowPane::FlowPane(UiServices &ui, ProjectDocument &document, QWidget *parent)
    : QWidget(parent), mUi(ui), mDocument(document), mProblemsHeight(FirstProblemsHeight)
{
    setObjectName(QStringLiteral("flow_pane"));
    mSplitter = new QSplitter(Qt::Vertical, this);
    mSplitter->setObjectName(QStringLiteral("flow_split"));
    mSplitter->setChildrenCollapsible(false);
    mSplitter->addWidget(createFlowPart());
    mSplitter->addWidget(createProblemsPart());
    // A taller window gives the picture the room; the problems keep their height.
    mSplitter->setStretchFactor(0, 1);
    mSplitter->setStretchFactor(1, 0);
    connect(mSplitter, &QSplitter::splitterMoved, this, [this] {
        if (!problemsFolded())
            mProblemsHeight = mSplitter->sizes().at(1);
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mSplitter);

    // A click chooses its step alone, also the current one outside a selection of others (Ctrl
    // and a click in the list leave it so), which the keys must not act on instead.
    connect(mFlowView, &FlowView::stepActivated, this,
            [this](int step) { mDocument.setSelection({step + 1}, step + 1); });
    connect(mProblems, &ProblemsView::findingActivated, this, &FlowPane::findingActivated);
    connect(mFlowView, &FlowView::stepOpened, this, &FlowPane::stepOpened);
    connect(mFlowView, &FlowView::exitRelinked, this, &FlowPane::relinkExit);
    connect(&mDocument, &ProjectDocument::contentsChanged, this, &FlowPane::checkProject);
    // A project opened shows its whole flow, however the user zoomed the one before.
    connect(&mDocument, &ProjectDocument::projectReplaced, mFlowView, &FlowView::showWholeWidth);
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this,
            [this](int dialog) { mFlowView->selectStep(dialog - 1); });
    connect(&mDocument, &ProjectDocument::selectionChanged, this, &FlowPane::showSelection);
}

void FlowPane::showSelection()
{
    QList<int> steps;
    for (const int dialog : mDocument.selectedDialogs())
        steps << dialog - 1;
    mFlowView->showSelection(steps);
}

void FlowPane::setEditActions(StepEditActions *actions)
{
    mEditActions = actions;
    actions->attachTo(mFlowView);
    mFlowView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mFlowView, &QWidget::customContextMenuRequested, this, &FlowPane::showContextMenu);
}

void FlowPane::showContextMenu(const QPoint &at)
{
    const int step = mFlowView->menuStepAt(at);
    if (step < 0) {
        showEndMenu(at);
        return;
    }
    // A step's box outside the selection is chosen first, as a click chooses it.
    if (!mDocument.selectedDialogs().contains(step + 1))
        mDocument.setSelection({step + 1}, step + 1);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("flow_menu"));
    mEditActions->addTo(&menu);
    menu.exec(mFlowView->viewport()->mapToGlobal(at));
}

void FlowPane::showEndMenu(const QPoint &at)
{
    // Empty space stands for the end of the list: what is added there goes after the last step.
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("flow_end_menu"));
    QAction *insert = menu.addAction(languageText(TextId::FlowNewStepAtEnd), this,
                                     [this] { mDocument.insertDialog(mDocument.dialogCount()); });
    insert->setObjectName(QStringLiteral("flow_insert_end"));
    insert->setEnabled(mDocument.stepsRoom() > 0);
    QAction *paste = menu.addAction(languageText(TextId::FlowPasteAtEnd), this,
                                    [this] { mEditActions->pasteAfter(mDocument.dialogCount()); });
    paste->setObjectName(QStringLiteral("flow_paste_end"));
    paste->setEnabled(mEditActions->action(StepEditActions::Paste)->isEnabled());
    menu.exec(mFlowView->viewport()->mapToGlobal(at));
}

void FlowPane::relinkExit(int step, StepField field, StepExit::Leads leads, int target)
{
    if (!mDocument.linkScript(step + 1, StepFlow::scriptOf(field), leads, target) &&
        target >= mDocument.dialogCount())
        // Drawn into empty space with 99 steps: no room for the new step.
        QApplication::beep();
}

QWidget *FlowPane::createFlowPart()
{
    auto *flowPart = new QWidget(this);
    mFlowView = new FlowView(flowPart);
    mExportPicture = new QPushButton(resourceId(TextId::ExportPictureButton), flowPart);
    mExportPicture->setObjectName(QStringLiteral("flow_export"));
    mExportPicture->setAutoDefault(false);
    connect(mExportPicture, &QPushButton::clicked, this, &FlowPane::exportPicture);
    mFitFlow = new QPushButton(resourceId(TextId::FitFlow), flowPart);
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
    auto *layout = new QVBoxLayout(flowPart);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(mFlowView, 1);
    layout->addLayout(mButtons);
    return flowPart;
}

QWidget *FlowPane::createProblemsPart()
{
    auto *problemsPart = new QWidget(this);
    problemsPart->setObjectName(QStringLiteral("problems_pane"));
    mProblemsTitle = new QToolButton(problemsPart);
    mProblemsTitle->setObjectName(QStringLiteral("problems_title"));
    mProblemsTitle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mProblemsTitle->setAutoRaise(true);
    mProblemsTitle->setCheckable(true);
    mProblemsTitle->setChecked(true);
    mProblemsTitle->setArrowType(Qt::DownArrow);
    connect(mProblemsTitle, &QToolButton::toggled, this,
            [this](bool shown) { setProblemsFolded(!shown); });
    mProblems = new ProblemsView(problemsPart);
    auto *layout = new QVBoxLayout(problemsPart);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(mProblemsTitle, 0, Qt::AlignLeft);
    layout->addWidget(mProblems, 1);
    return problemsPart;
}

bool FlowPane::problemsFolded() const
{
    return !mProblemsTitle->isChecked();
}

void FlowPane::setProblemsFolded(bool folded)
{
    mProblemsTitle->setChecked(!folded);
    mProblemsTitle->setArrowType(folded ? Qt::RightArrow : Qt::DownArrow);
    mProblems->setVisible(!folded);
    QWidget *problemsPart = mSplitter->widget(1);
    // Folded, the part is its title row and the picture takes the rest.
    const int titleHeight = problemsPart->minimumSizeHint().height();
    problemsPart->setMaximumHeight(folded ? titleHeight : QWIDGETSIZE_MAX);
    if (!folded)
        applyProblemsHeight();
    else if (const int total = mSplitter->height() - mSplitter->handleWidth(); total > titleHeight)
        // The splitter keeps the room the problems had until it lays out again: hand it over now.
        mSplitter->setSizes({total - titleHeight, titleHeight});
}

void FlowPane::applyProblemsHeight()
{
    const int total = mSplitter->height() - mSplitter->handleWidth();
    if (total <= 0 || !isVisible()) {
        mHeightPending = true;
        return;
    }
    mHeightPending = false;
    // As high as they were left, as long as the picture keeps the least room it needs: the pane
    // shares its side with the preview and may be lower than the one they were left in.
    const int pictureLeast = mSplitter->widget(0)->minimumSizeHint().height();
    const int problems = qMax(0, qMin(mProblemsHeight, total - pictureLeast));
    mSplitter->setSizes({total - problems, problems});
}

QByteArray FlowPane::saveState() const
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << StateVersion << qint32(mProblemsHeight) << problemsFolded();
    return state;
}

void FlowPane::restoreState(const QByteArray &state)
{
    QDataStream in(state);
    quint8 version = 0;
    qint32 height = 0;
    bool folded = false;
    in >> version >> height >> folded;
    if (in.status() != QDataStream::Ok || version != StateVersion || height <= 0)
        return;
    mProblemsHeight = height;
    setProblemsFolded(folded);
}

void FlowPane::showProblemsCount()
{
    const qsizetype count = mProblems->findings().size();
    const QString title = languageText(TextId::ProblemsTab);
    mProblemsTitle->setText(count ? QStringLiteral("%1 (%2)").arg(title).arg(count) : title);
    mProblemsTitle->setAccessibleName(title);
}

void FlowPane::retranslate()
{
    mExportPicture->setText(languageText(TextId::ExportPictureButton));
    mFitFlow->setText(languageText(TextId::FitFlow));
    mFitFlow->setToolTip(
        toolTipWithKey(languageText(TextId::FitFlowHint), QKeySequence(Qt::CTRL | Qt::Key_0)));
    mFlowView->setToolTip(languageText(TextId::FlowViewHint));
    mFlowView->setHandleToolTip(languageText(TextId::FlowLinkHandle));
    mFlowView->setAccessibleName(languageText(TextId::FlowTab));
    mProblems->setAccessibleName(languageText(TextId::ProblemsTab));
    mProblems->retranslate();
    checkProject();
    // As narrow as the wider button, so that the editing areas keep their room on a small screen.
    setMinimumWidth(qMax(mFitFlow->sizeHint().width(), mExportPicture->sizeHint().width()) + 16);
    stackButtonsWhenNarrow();
}

void FlowPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    stackButtonsWhenNarrow();
    if (mHeightPending && !problemsFolded())
        applyProblemsHeight();
}

void FlowPane::showEvent(QShowEvent *event)
{
    // The splitter has set out its parts by now, from their sizes: the remembered height wins.
    QWidget::showEvent(event);
    if (mHeightPending && !problemsFolded())
        applyProblemsHeight();
}

void FlowPane::stackButtonsWhenNarrow()
{
    kq::stackButtonsWhenNarrow(mButtons, {mFitFlow, mExportPicture}, width(), 24);
}

void FlowPane::checkProject()
{
    const QList<Finding> findings = mDocument.check();
    mProblems->showFindings(findings);
    showProblemsCount();
    mFlowView->showProject(mDocument.project(), findings);
    mFlowView->selectStep(mDocument.currentDialog() - 1);
    showSelection();
    QSet<int> errorSteps;
    for (const Finding &finding : findings) {
        if (finding.severity() == Finding::Severity::Error && finding.step >= 0)
            errorSteps.insert(finding.step);
    }
    emit errorStepsFound(errorSteps);
}

void FlowPane::exportPicture()
{
    const QString path = mUi.saveFileName(
        window(), {languageText(TextId::ExportPictureTitle),
                   languageText(TextId::PngPictures) + QStringLiteral("|*.png|") +
                       languageText(TextId::SvgPictures) + QStringLiteral("|*.svg"),
                   QStringLiteral("png"), mDocument.pathBeside(QStringLiteral(".png")),
                   languageText(TextId::ExportButton)});
    if (path.isEmpty())
        return;
    QString error;
    if (!mFlowView->exportPicture(path, &error))
        mUi.message(window(), languageText(TextId::PictureNotWritten), ProductTitle,
                    UiServices::Icon::Warning, UiServices::Buttons::Ok, error);
}

} // namespace kq

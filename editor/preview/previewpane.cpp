#include "previewpane.h"

#include "inplaceplay.h"
#include "language.h"
#include "messagewindow.h"
#include "picturebutton.h"
#include "progresswindow.h"
#include "projectcheck.h"
#include "projectdocument.h"
#include "runfault.h"
#include "stepflow.h"
#include "stepstage.h"

#include <QAction>
#include <QBoxLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include <cmath>

namespace kq {

namespace {

// The frame a window manager puts around a step window: its border and title bar.
QSize withFrame(QSize client)
{
    return client + QSize(MessageWindow::FrameWidth, MessageWindow::FrameHeight);
}

// A moment of the bar in seconds as a person writes it: every digit of the whole seconds, a
// hundredth (one tick) at the finest, no trailing zeros.
QString seconds(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

PreviewPane::PreviewPane(ProjectDocument &document, QWidget *parent)
    : QWidget(parent), mDocument(document)
{
    setObjectName(QStringLiteral("preview_pane"));
    mTitle = new QToolButton(this);
    mTitle->setObjectName(QStringLiteral("preview_title"));
    mTitle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mTitle->setAutoRaise(true);
    mTitle->setCheckable(true);
    mTitle->setChecked(true);
    mTitle->setArrowType(Qt::DownArrow);
    connect(mTitle, &QToolButton::toggled, this, [this](bool shown) { setFolded(!shown); });
    mScale = new QLabel(this);
    mScale->setObjectName(QStringLiteral("preview_scale"));

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(mTitle);
    titleRow->addStretch(1);
    titleRow->addWidget(mScale);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setSpacing(2);
    layout->addLayout(titleRow);
    layout->addWidget(createBody(), 1);

    mPlay = new InPlacePlay(*mStage, this);
    connect(mPlay, &InPlacePlay::stepStarted, this, [this](int step, const DialogRecord &record) {
        mPlayedDialog = step + 1;
        followStep(step);
        if (record.type == DialogRecord::Pause)
            showCard(cardFor(record, step));
        else
            mPages->setCurrentWidget(mStage);
        mFitWarning->hide();
        updateButtons();
    });
    connect(mStage, &StepStage::closeBoxClicked, this, [this] {
        if (mStage->window())
            mStage->window()->reject();
    });
    connect(mStage, &StepStage::scaleChanged, this, &PreviewPane::showScale);

    // Any change of the project stops a run and shows the step anew.
    connect(&mDocument, &ProjectDocument::contentsChanged, this, [this] {
        if (isPlaying())
            stopPlaying();
        else
            showSelectedStep();
    });
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this, [this] {
        if (mFollowing)
            return;
        if (isPlaying())
            stopPlaying();
        else
            showSelectedStep();
    });
    followPlayedThroughListChanges();
    retranslate();
}

PreviewPane::~PreviewPane() = default;

void PreviewPane::followPlayedThroughListChanges()
{
    // An edit stops a run only once the edit is done: by then an insert, a delete, a move or an
    // undo of one may have given the played step another number.
    connect(&mDocument, &ProjectDocument::dialogsInserted, this, [this](int first, int count) {
        if (mPlayedDialog >= first)
            mPlayedDialog += count;
    });
    connect(&mDocument, &ProjectDocument::dialogsRemoved, this, [this](int first, int count) {
        if (mPlayedDialog >= first + count)
            mPlayedDialog -= count;
        else if (mPlayedDialog >= first)
            mPlayedDialog = 0;
    });
    connect(&mDocument, &ProjectDocument::dialogsReordered, this, [this](const QList<int> &order) {
        mPlayedDialog = int(order.indexOf(mPlayedDialog)) + 1;
    });
    connect(&mDocument, &ProjectDocument::projectReplaced, this, [this] { mPlayedDialog = 0; });
}

QWidget *PreviewPane::createBody()
{
    mBody = new QWidget(this);
    mFitWarning = new QLabel(mBody);
    mFitWarning->setObjectName(QStringLiteral("preview_warning"));
    mFitWarning->setWordWrap(true);
    mFitWarning->hide();

    mStage = new StepStage(mBody);
    mCard = new QLabel(mBody);
    mCard->setObjectName(QStringLiteral("preview_card"));
    mCard->setAlignment(Qt::AlignCenter);
    mCard->setWordWrap(true);
    mCard->setFrameShape(QFrame::StyledPanel);
    mCard->setTextFormat(Qt::PlainText);
    mPages = new QStackedWidget(mBody);
    mPages->addWidget(mStage);
    mPages->addWidget(mCard);

    mMomentLabel = new QLabel(mBody);
    mMomentLabel->setObjectName(QStringLiteral("preview_moment_label"));
    mMoment = new QSlider(Qt::Horizontal, mBody);
    mMoment->setObjectName(QStringLiteral("preview_moment"));
    mMoment->setRange(0, ProgressWindow::Ticks);
    mMomentLabel->setBuddy(mMoment);
    connect(mMoment, &QSlider::valueChanged, this, [this] {
        if (!isPlaying())
            showSelectedStep();
    });

    mPlayHere = new QPushButton(mBody);
    mPlayHere->setObjectName(QStringLiteral("preview_play"));
    mPlayFromStart = new QPushButton(mBody);
    mPlayFromStart->setObjectName(QStringLiteral("preview_play_start"));
    mStop = new QPushButton(mBody);
    mStop->setObjectName(QStringLiteral("preview_stop"));
    for (QPushButton *button : {mPlayHere, mPlayFromStart, mStop})
        button->setAutoDefault(false);
    connect(mPlayHere, &QPushButton::clicked, this, &PreviewPane::playHere);
    connect(mPlayFromStart, &QPushButton::clicked, this, &PreviewPane::playFromStart);
    connect(mStop, &QPushButton::clicked, this, &PreviewPane::stopPlaying);

    // The keys work anywhere in the main window, as the toolbar's do.
    mPlayHereKey = new QAction(this);
    mPlayHereKey->setObjectName(QStringLiteral("key_play_here"));
    mPlayHereKey->setShortcut(QKeySequence(Qt::Key_F6));
    connect(mPlayHereKey, &QAction::triggered, this, &PreviewPane::playHere);
    mPlayFromStartKey = new QAction(this);
    mPlayFromStartKey->setObjectName(QStringLiteral("key_play_start"));
    mPlayFromStartKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(mPlayFromStartKey, &QAction::triggered, this, &PreviewPane::playFromStart);
    addActions({mPlayHereKey, mPlayFromStartKey});

    auto *moment = new QHBoxLayout;
    moment->addWidget(mMomentLabel);
    moment->addWidget(mMoment, 1);
    mButtons = new QBoxLayout(QBoxLayout::LeftToRight);
    mButtons->addWidget(mPlayHere);
    mButtons->addWidget(mPlayFromStart);
    mButtons->addStretch(1);
    mButtons->addWidget(mStop);
    auto *layout = new QVBoxLayout(mBody);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(mFitWarning);
    layout->addWidget(mPages, 1);
    layout->addLayout(moment);
    layout->addLayout(mButtons);
    return mBody;
}

void PreviewPane::retranslate()
{
    const QString title = languageText(TextId::PreviewTitle);
    mTitle->setText(title);
    mTitle->setAccessibleName(title);
    setAccessibleName(title);
    mStage->setAccessibleName(title);
    mStage->setAccessibleDescription(languageText(TextId::PreviewHint));
    mStage->setToolTip(languageText(TextId::PreviewHint));
    mScale->setAccessibleName(languageText(TextId::PreviewScaleName));
    mMoment->setAccessibleName(languageText(TextId::PreviewMomentName));
    mPlayHere->setText(languageText(TextId::PreviewPlayHere));
    mPlayHere->setToolTip(
        toolTipWithKey(languageText(TextId::PreviewPlayHereHint), mPlayHereKey->shortcut()));
    mPlayFromStart->setText(languageText(TextId::PreviewPlayFromStart));
    mPlayFromStart->setToolTip(toolTipWithKey(languageText(TextId::PreviewPlayFromStartHint),
                                              mPlayFromStartKey->shortcut()));
    mStop->setText(languageText(TextId::PreviewStop));
    mStop->setToolTip(
        toolTipWithKey(languageText(TextId::PreviewStopHint), QKeySequence(Qt::Key_Escape)));
    // As narrow as the widest button, like the flow pane above it, so that the editing areas
    // keep their room on a small screen; the window on the stage is scaled down to fit.
    setMinimumWidth(std::max({mPlayHere->sizeHint().width(), mPlayFromStart->sizeHint().width(),
                              mStop->sizeHint().width()}) +
                    16);
    stackButtonsWhenNarrow();
    if (!isPlaying())
        showSelectedStep();
}

void PreviewPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    stackButtonsWhenNarrow();
}

void PreviewPane::stackButtonsWhenNarrow()
{
    kq::stackButtonsWhenNarrow(mButtons, {mPlayHere, mPlayFromStart, mStop}, width(), 32);
}

bool PreviewPane::isFolded() const
{
    return !mTitle->isChecked();
}

void PreviewPane::setFolded(bool folded)
{
    if (folded && isPlaying())
        stopPlaying();
    mTitle->setChecked(!folded);
    mTitle->setArrowType(folded ? Qt::RightArrow : Qt::DownArrow);
    mBody->setVisible(!folded);
    mScale->setVisible(!folded);
    // Folded, the pane is its title row and the map above it takes the rest.
    setMaximumHeight(folded ? minimumSizeHint().height() : QWIDGETSIZE_MAX);
    if (!folded && mStepStale && !isPlaying())
        showSelectedStep();
    emit foldedChanged(folded);
}

void PreviewPane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (mStepStale && !isPlaying())
        showSelectedStep();
}

bool PreviewPane::isPlaying() const
{
    return mPlay->isPlaying();
}

std::unique_ptr<StepWindow> PreviewPane::windowFor(const DialogRecord &record, qint16 projectStyle,
                                                   int ticks)
{
    if (record.type == DialogRecord::Message && MessageWindow::canPlay(projectStyle))
        return std::make_unique<MessageWindow>(record, projectStyle);
    if (record.type != DialogRecord::Progress || !ProgressWindow::canPlay(projectStyle) ||
        !StepFlow::waits(record))
        return nullptr;
    auto window = std::make_unique<ProgressWindow>(record, projectStyle);
    // The bar as the runner's clock leaves it after so many ticks.
    for (int tick = 0; tick < qMin(ticks, int(ProgressWindow::Ticks)); ++tick)
        window->tick();
    return window;
}

void PreviewPane::showSelectedStep()
{
    mEndingShown = false;
    // A pane nobody sees (folded, or in a window not shown yet) builds no window for each edit:
    // the step is shown once the pane is.
    mStepStale = !mBody->isVisible();
    if (mStepStale) {
        updateButtons();
        return;
    }
    const int dialog = mDocument.currentDialog();
    const int step = dialog - 1;
    const DialogRecord &record = mDocument.record(dialog);
    const std::optional<qint16> style = mDocument.record(0).projectStyle();
    const bool timedBar = record.type == DialogRecord::Progress && StepFlow::waits(record);
    mMoment->setVisible(timedBar);
    mMomentLabel->setVisible(timedBar);
    std::unique_ptr<StepWindow> window;
    if (style)
        window = windowFor(record, *style, mMoment->value());
    if (!window) {
        mStage->showWindow(nullptr);
        if (!style)
            showCard(RunFault::retold(RunFault::noProjectStyle()));
        else if ((record.type == DialogRecord::Message || timedBar))
            showCard(RunFault::retold(RunFault::cannotShow(step, *style)));
        else
            showCard(cardFor(record, step));
        mFitWarning->hide();
        updateButtons();
        return;
    }
    mStage->showWindow(std::move(window));
    mPages->setCurrentWidget(mStage);
    showScale(mStage->scale());
    showFitWarning();
    showMoment();
    updateButtons();
}

void PreviewPane::showCard(const QString &text)
{
    mCard->setText(text);
    mCard->setAccessibleName(text);
    mPages->setCurrentWidget(mCard);
    mScale->clear();
}

QString PreviewPane::cardFor(const DialogRecord &record, int step) const
{
    if (record.type != DialogRecord::Pause || !StepFlow::waits(record))
        return languageText(TextId::PreviewShowsNothing);
    QString then = languageText(TextId::PreviewNowhere);
    for (const StepExit &exit : StepFlow::exits(mDocument.project(), step)) {
        if (exit.field != StepField::PauseEnd)
            continue;
        if (exit.leads == StepExit::Leads::Step)
            then = filledText(languageText(TextId::PreviewToStep), {QString::number(exit.target)});
        else if (exit.leads == StepExit::Leads::Exit)
            then = languageText(TextId::FlowExit);
        else if (exit.leads == StepExit::Leads::OffList)
            then = languageText(exit.target < 0 ? TextId::FlowBeforeFirstStep
                                                : TextId::FlowPastLastStep);
    }
    return filledText(languageText(TextId::PreviewPause), {QString::number(record.time), then});
}

void PreviewPane::showScale(double scale)
{
    if (mPages->currentWidget() != mStage || !mStage->window()) {
        mScale->clear();
        return;
    }
    mScale->setText(filledText(languageText(TextId::PreviewScale),
                               {QString::number(std::lround(scale * 100))}));
}

void PreviewPane::showFitWarning()
{
    // As the check warns of a message line wider than most screens, and beyond that of a
    // window larger than the screen the editor is on.
    StepWindow *window = mStage->window();
    const QSize outer = withFrame(window->size());
    const auto *text = window->findChild<QLabel *>(QStringLiteral("msg_text"));
    const QSize screen = this->screen()->availableGeometry().size();
    const bool tooLarge = (text && ProjectCheck::isTooWide(text->width())) ||
                          outer.width() > screen.width() || outer.height() > screen.height();
    mFitWarning->setText(
        filledText(languageText(TextId::PreviewTooLarge),
                   {QString::number(outer.width()), QString::number(outer.height())}));
    mFitWarning->setVisible(tooLarge);
}

void PreviewPane::showMoment()
{
    const DialogRecord &record = mDocument.record(mDocument.currentDialog());
    const double at = record.time * double(mMoment->value()) / ProgressWindow::Ticks;
    mMomentLabel->setText(
        filledText(languageText(TextId::PreviewMoment), {seconds(at), seconds(record.time)}));
}

void PreviewPane::playHere()
{
    play(mDocument.currentDialog() - 1);
}

void PreviewPane::playFromStart()
{
    play(0);
}

void PreviewPane::play(int firstStep)
{
    if (isPlaying() || mDocument.dialogCount() == 0)
        return;
    mDocument.commitPendingEdits();
    if (isFolded())
        setFolded(false);
    emit aboutToPlay();
    mMoment->hide();
    mMomentLabel->hide();
    updateButtons();
    mPlayedDialog = firstStep + 1;
    const StepLoop::Outcome outcome = mPlay->play(mDocument.project(), firstStep);
    if (mPlay->wasStopped()) {
        // Back to editing the step that was playing, where the edit that stopped it left it; a
        // step deleted leaves the selection the delete made.
        if (mPlayedDialog > 0)
            followStep(mPlayedDialog - 1);
        showSelectedStep();
        return;
    }
    showEnding(outcome);
}

void PreviewPane::showEnding(const StepLoop::Outcome &outcome)
{
    mStage->showWindow(nullptr);
    if (outcome.status == StepLoop::Status::Fault)
        showCard(
            filledText(languageText(TextId::WebProgramStopped), {RunFault::retold(outcome.fault)}));
    else
        showCard(languageText(TextId::WebProgramEnded));
    mEndingShown = true;
    updateButtons();
}

void PreviewPane::stopPlaying()
{
    if (isPlaying()) {
        mPlay->stop();
        return;
    }
    if (mEndingShown)
        showSelectedStep();
}

void PreviewPane::followStep(int step)
{
    mFollowing = true;
    mDocument.setCurrentDialog(step + 1);
    mFollowing = false;
}

void PreviewPane::updateButtons()
{
    const bool playing = isPlaying();
    mPlayHere->setEnabled(!playing);
    mPlayFromStart->setEnabled(!playing);
    mPlayHereKey->setEnabled(!playing);
    mPlayFromStartKey->setEnabled(!playing);
    mStop->setEnabled(playing || mEndingShown);
}

void PreviewPane::keyPressEvent(QKeyEvent *event)
{
    // Esc in a playing window is its close box; anywhere else on the pane it stops the run.
    if (event->key() == Qt::Key_Escape && (isPlaying() || mEndingShown)) {
        stopPlaying();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kq

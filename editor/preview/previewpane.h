#pragma once

#include "steploop.h"

#include <QWidget>

#include <memory>

class QAction;
class QBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class QToolButton;

namespace kq {

class InPlacePlay;
class ProjectDocument;
class StepStage;
class StepWindow;
struct DialogRecord;

// The selected step as the runner will show it: the runner's own window on a stage, rebuilt
// after every change of the document, with the scale it is shown at, a warning when it would not
// fit the screen, and for a progress bar the moment to look at. A pause, and a step that shows
// nothing, are told on a card. "Play here" plays the project in place from the selected step
// (or from the start); Esc on the pane, or any edit, stops it and returns to the step that was
// playing. The pane folds to its title row.
class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    PreviewPane(ProjectDocument &document, QWidget *parent = nullptr);
    ~PreviewPane() override;

    void retranslate();

    bool isFolded() const;
    void setFolded(bool folded);

    StepStage *stage() const { return mStage; }
    InPlacePlay *player() const { return mPlay; }
    bool isPlaying() const;

    // Plays from the selected step, or from step 0; returns once the run has ended or stopped.
    void playHere();
    void playFromStart();
    void stopPlaying();

    // A window of the runner for a step in a project style, as the runner builds it, with its
    // bar at `ticks` per cent for a progress step; none where the step shows no window or the
    // style has no look.
    static std::unique_ptr<StepWindow> windowFor(const DialogRecord &record, qint16 projectStyle,
                                                 int ticks = 0);

signals:
    void foldedChanged(bool folded);
    // A run is about to play: whatever keeps the pane out of sight gives it room to be seen.
    void aboutToPlay();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *createBody();
    void stackButtonsWhenNarrow();
    void showSelectedStep();
    void showCard(const QString &text);
    QString cardFor(const DialogRecord &record, int step) const;
    void showScale(double scale);
    void showFitWarning();
    void showMoment();
    void play(int firstStep);
    void showEnding(const StepLoop::Outcome &outcome);
    void followStep(int step);
    void followPlayedThroughListChanges();
    void updateButtons();

    ProjectDocument &mDocument;
    QToolButton *mTitle = nullptr;
    QWidget *mBody = nullptr;
    QLabel *mScale = nullptr;
    QLabel *mFitWarning = nullptr;
    QStackedWidget *mPages = nullptr;
    StepStage *mStage = nullptr;
    QLabel *mCard = nullptr;
    QLabel *mMomentLabel = nullptr;
    QSlider *mMoment = nullptr;
    QPushButton *mPlayHere = nullptr;
    QPushButton *mPlayFromStart = nullptr;
    QPushButton *mStop = nullptr;
    QBoxLayout *mButtons = nullptr;
    QAction *mPlayHereKey = nullptr;
    QAction *mPlayFromStartKey = nullptr;
    InPlacePlay *mPlay = nullptr;
    // The dialog being played, kept in its place through the list changes that stop a run; 0
    // once it is deleted or another project replaces the one played.
    int mPlayedDialog = 0;
    // Set while the pane itself selects the step being played, which is no reason to stop.
    bool mFollowing = false;
    // The run ended and its ending is shown, until the next change.
    bool mEndingShown = false;
    // The selected step changed while the pane was not seen: it is shown when the pane is.
    bool mStepStale = false;
};

} // namespace kq

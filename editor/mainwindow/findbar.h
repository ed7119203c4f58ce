#pragma once

#include "textsearch.h"

#include <QList>
#include <QWidget>

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kq {

// The bar under the editing areas that finds text in the project's fields and replaces it. It
// shows the matches as a list and steps through them; what a match is, and what a replacement
// does to a record, TextSearch decides. The bar searches again after every change of the project
// while it is open, and sends replacements to the document as one command each.
class FindBar : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(ProjectDocument &document, QWidget *parent = nullptr);

    // Shows the bar with the text box focused; with the replacement row or without it.
    void openFind();
    void openReplace();
    void close();

    void findNext();
    void findPrevious();
    void replaceCurrent();
    void replaceAll();

    const QList<TextMatch> &matches() const { return mMatches; }
    int currentMatch() const { return mCurrent; }
    // The keys of the next and previous match, for the window to hold while the bar is open.
    QAction *nextAction() const { return mNextAction; }
    QAction *previousAction() const { return mPreviousAction; }

    // Texts that are not captions: the count, tooltips and the names of the boxes.
    void retranslate();

signals:
    // The steps (numbered from 0) with a match; none once the bar is closed.
    void foundStepsChanged(const QList<int> &steps);
    // The user went to a match: its step is to be selected and the text in its box.
    void matchChosen(const kq::TextMatch &match);
    // A replacement was made: what it did, for the status line, and how many characters the
    // project file cannot hold it stored as "?".
    void replacementsDone(const QString &summary, int unstorable);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    SearchOptions options() const;
    // Finds the matches anew, keeping the current one's place in the list where it can.
    void search();
    void showMatches();
    void showCount();
    void goTo(int index);
    // The first match at or after `start` in the field of `place`, in list order; round to the
    // first match past the last, none without matches.
    int firstMatchFrom(const TextMatch &place, int start) const;
    void openWith(bool replacing);
    void applyReplacement(const Replacement &replacement);

    ProjectDocument &mDocument;
    QLineEdit *mText = nullptr;
    QCheckBox *mMatchCase = nullptr;
    QCheckBox *mWholeWords = nullptr;
    // Captions, texts, button captions, scripts, in the order of SearchOptions' places.
    std::array<QCheckBox *, 4> mPlaces{};
    QPushButton *mPrevious = nullptr;
    QPushButton *mNext = nullptr;
    QLabel *mCount = nullptr;
    QPushButton *mClose = nullptr;
    QList<QWidget *> mReplaceRow;
    QLineEdit *mReplacement = nullptr;
    QPushButton *mReplace = nullptr;
    QPushButton *mReplaceAll = nullptr;
    QListWidget *mList = nullptr;
    QAction *mNextAction = nullptr;
    QAction *mPreviousAction = nullptr;
    QList<TextMatch> mMatches;
    int mCurrent = -1;
};

} // namespace kq

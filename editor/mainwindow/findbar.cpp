#include "findbar.h"

#include "codepage.h"
#include "language.h"
#include "localizecontrols.h"
#include "mnemonic.h"
#include "picturebutton.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <tuple>
#include <utility>

namespace kq {

namespace {

using Field = ProjectDocument::Field;

// The list shows a few matches at a time; the bar is as high as its three rows.
constexpr int ListMinimumWidth = 320;

// The name of a field as its label in the properties panel shows it, without key and colon.
QString fieldName(Field field)
{
    static const std::array<TextId, 6> labels{TextId::LabelText,    TextId::LabelCaption,
                                              TextId::LabelButton1, TextId::LabelButton2,
                                              TextId::LabelScript1, TextId::LabelScript2};
    QString name = withoutMnemonic(languageText(labels.at(int(field))));
    if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

// Check boxes are not among the controls the window localises: retranslate captions them.
QCheckBox *checkBox(const char *name, QWidget *parent)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton *pushButton(const char *name, TextId caption, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    setCaptionId(button, caption);
    button->setAutoDefault(false);
    return button;
}

// A text box with its label in front of it.
std::pair<QLabel *, QLineEdit *> labelledBox(const char *labelName, TextId caption,
                                             const char *boxName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(labelName));
    setCaptionId(label, caption);
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(boxName));
    label->setBuddy(box);
    return {label, box};
}

} // namespace

FindBar::FindBar(ProjectDocument &document, QWidget *parent) : QWidget(parent), mDocument(document)
{
    setObjectName(QStringLiteral("find_bar"));
    buildControls();
    hide();

    connect(mText, &QLineEdit::textChanged, this, &FindBar::search);
    connect(mText, &QLineEdit::returnPressed, this, &FindBar::findNext);
    for (QCheckBox *box : {mMatchCase, mWholeWords})
        connect(box, &QCheckBox::toggled, this, &FindBar::search);
    for (QCheckBox *box : mPlaces)
        connect(box, &QCheckBox::toggled, this, &FindBar::search);
    connect(mNext, &QPushButton::clicked, this, &FindBar::findNext);
    connect(mPrevious, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(mClose, &QPushButton::clicked, this, &FindBar::close);
    connect(mReplacement, &QLineEdit::returnPressed, this, &FindBar::replaceCurrent);
    connect(mReplace, &QPushButton::clicked, this, &FindBar::replaceCurrent);
    connect(mReplaceAll, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(mList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { goTo(mList->row(item)); });
    connect(mList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { goTo(mList->row(item)); });
    // No match of a project opened or made anew has been gone to: the first Replace shows one.
    connect(&mDocument, &ProjectDocument::projectReplaced, this, [this] { mCurrent = -1; });
    // Typing, undo and every other change find the matches anew while the bar is open.
    connect(&mDocument, &ProjectDocument::contentsChanged, this, [this] {
        if (isVisible())
            search();
    });

    // The keys work wherever the focus is in the window, but only while the bar is open.
    const auto keyAction = [this](const char *name, const QKeySequence &key,
                                  void (FindBar::*step)()) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, step);
        return action;
    };
    mNextAction = keyAction("key_find_next", QKeySequence(Qt::Key_F3), &FindBar::findNext);
    mPreviousAction = keyAction("key_find_previous", QKeySequence(Qt::SHIFT | Qt::Key_F3),
                                &FindBar::findPrevious);
}

void FindBar::buildControls()
{
    QLabel *findLabel = nullptr;
    std::tie(findLabel, mText) = labelledBox("find_label", TextId::FindLabel, "find_text", this);
    mPrevious = pushButton("find_previous", TextId::FindPrevious, this);
    mNext = pushButton("find_next", TextId::FindNext, this);
    mCount = new QLabel(this);
    mCount->setObjectName(QStringLiteral("find_count"));
    mClose = pushButton("find_close", TextId::FindClose, this);

    mMatchCase = checkBox("find_case", this);
    mWholeWords = checkBox("find_words", this);
    mPlaces = {checkBox("find_in_captions", this), checkBox("find_in_texts", this),
               checkBox("find_in_buttons", this), checkBox("find_in_scripts", this)};
    for (QCheckBox *box : mPlaces)
        box->setChecked(true);

    QLabel *replaceLabel = nullptr;
    std::tie(replaceLabel, mReplacement) =
        labelledBox("replace_label", TextId::ReplaceLabel, "replace_text", this);
    mReplace = pushButton("replace_one", TextId::ReplaceOne, this);
    mReplaceAll = pushButton("replace_all", TextId::ReplaceAll, this);
    mReplaceRow = {replaceLabel, mReplacement, mReplace, mReplaceAll};

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("find_matches"));
    mList->setMinimumWidth(ListMinimumWidth);

    auto *grid = new QGridLayout;
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(mText, 0, 1);
    auto *stepping = new QHBoxLayout;
    for (QWidget *widget : std::initializer_list<QWidget *>{mPrevious, mNext, mCount})
        stepping->addWidget(widget);
    stepping->addStretch(1);
    stepping->addWidget(mClose);
    grid->addLayout(stepping, 0, 2);
    auto *options = new QHBoxLayout;
    options->addWidget(mMatchCase);
    options->addWidget(mWholeWords);
    options->addSpacing(12);
    for (QCheckBox *box : mPlaces)
        options->addWidget(box);
    options->addStretch(1);
    grid->addLayout(options, 1, 1, 1, 2);
    grid->addWidget(replaceLabel, 2, 0);
    grid->addWidget(mReplacement, 2, 1);
    auto *replacing = new QHBoxLayout;
    replacing->addWidget(mReplace);
    replacing->addWidget(mReplaceAll);
    replacing->addStretch(1);
    grid->addLayout(replacing, 2, 2);
    grid->setColumnStretch(1, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addLayout(grid, 3);
    layout->addWidget(mList, 2);
    setMaximumHeight(sizeHint().height());
}

void FindBar::retranslate()
{
    const std::pair<QCheckBox *, TextId> boxes[] = {
        {mMatchCase, TextId::FindMatchCase},  {mWholeWords, TextId::FindWholeWords},
        {mPlaces[0], TextId::FindInCaptions}, {mPlaces[1], TextId::FindInTexts},
        {mPlaces[2], TextId::FindInButtons},  {mPlaces[3], TextId::FindInScripts}};
    for (const auto &[box, caption] : boxes)
        box->setText(languageText(caption));
    mText->setAccessibleName(withoutMnemonic(languageText(TextId::FindLabel)));
    mReplacement->setAccessibleName(withoutMnemonic(languageText(TextId::ReplaceLabel)));
    mList->setAccessibleName(withoutMnemonic(languageText(TextId::FindMatchesList)));
    mNext->setToolTip(
        toolTipWithKey(withoutMnemonic(languageText(TextId::FindNext)), mNextAction->shortcut()));
    mPrevious->setToolTip(toolTipWithKey(withoutMnemonic(languageText(TextId::FindPrevious)),
                                         mPreviousAction->shortcut()));
    mClose->setToolTip(toolTipWithKey(withoutMnemonic(languageText(TextId::FindClose)),
                                      QKeySequence(Qt::Key_Escape)));
    if (isVisible())
        showMatches();
}

SearchOptions FindBar::options() const
{
    SearchOptions options;
    options.text = mText->text();
    options.matchCase = mMatchCase->isChecked();
    options.wholeWords = mWholeWords->isChecked();
    options.places = 0;
    static constexpr std::array<SearchOptions::Place, 4> places{
        SearchOptions::Captions, SearchOptions::Texts, SearchOptions::ButtonCaptions,
        SearchOptions::Scripts};
    for (size_t i = 0; i < places.size(); ++i) {
        if (mPlaces.at(i)->isChecked())
            options.places |= places.at(i);
    }
    return options;
}

void FindBar::openFind()
{
    openWith(false);
}

void FindBar::openReplace()
{
    openWith(true);
}

void FindBar::openWith(bool replacing)
{
    for (QWidget *widget : std::as_const(mReplaceRow))
        widget->setVisible(replacing);
    show();
    setMaximumHeight(sizeHint().height());
    // With something to find already, Ctrl+H goes on to what it is replaced by.
    QLineEdit *box = replacing && !mText->text().isEmpty() ? mReplacement : mText;
    box->setFocus(Qt::ShortcutFocusReason);
    box->selectAll();
    search();
}

void FindBar::close()
{
    hide();
    mMatches.clear();
    mCurrent = -1;
    mList->clear();
    emit foundStepsChanged({});
}

void FindBar::search()
{
    const TextMatch current = mMatches.value(mCurrent);
    mMatches = TextSearch::find(mDocument.project(), options());
    const qsizetype same = mMatches.indexOf(current);
    mCurrent = same >= 0 ? int(same) : qMin(mCurrent, int(mMatches.size()) - 1);
    if (mMatches.isEmpty())
        mCurrent = -1;
    showMatches();
    QList<int> steps;
    for (const TextMatch &match : std::as_const(mMatches)) {
        if (steps.isEmpty() || steps.last() != match.dialog - 1)
            steps << match.dialog - 1;
    }
    emit foundStepsChanged(steps);
}

void FindBar::showMatches()
{
    const QSignalBlocker quiet(mList);
    mList->clear();
    const QString separator = QStringLiteral(" · ");
    for (const TextMatch &match : std::as_const(mMatches)) {
        mList->addItem(QString::number(match.dialog - 1) + separator + fieldName(match.field) +
                       separator + TextSearch::context(mDocument.record(match.dialog), match));
    }
    mList->setCurrentRow(mCurrent);
    showCount();
}

void FindBar::showCount()
{
    const bool any = !mMatches.isEmpty();
    // Before the first step through the matches, the count alone.
    const QString current = mCurrent >= 0 ? QString::number(mCurrent + 1) : QStringLiteral("–");
    if (mText->text().isEmpty())
        mCount->clear();
    else if (any)
        mCount->setText(languageText(TextId::FindMatchCount).arg(current).arg(mMatches.size()));
    else
        mCount->setText(languageText(TextId::FindNoMatches));
    for (QWidget *widget :
         std::initializer_list<QWidget *>{mNext, mPrevious, mReplace, mReplaceAll})
        widget->setEnabled(any);
}

void FindBar::goTo(int index)
{
    if (index < 0 || index >= mMatches.size())
        return;
    mCurrent = index;
    {
        const QSignalBlocker quiet(mList);
        mList->setCurrentRow(index);
    }
    showCount();
    emit matchChosen(mMatches.at(index));
}

int FindBar::firstMatchFrom(const TextMatch &place, int start) const
{
    if (mMatches.isEmpty())
        return -1;
    // The matches are in list order: by step, by the field's place in the panel, then by start.
    const QList<Field> fields =
        TextSearch::searchedFields(mDocument.record(place.dialog), options().places);
    const auto order = [&](const TextMatch &match) {
        return std::tuple(match.dialog,
                          match.dialog == place.dialog ? fields.indexOf(match.field) : 0,
                          match.start);
    };
    const auto from = std::tuple(place.dialog, fields.indexOf(place.field), start);
    for (qsizetype index = 0; index < mMatches.size(); ++index) {
        if (order(mMatches.at(index)) >= from)
            return int(index);
    }
    // Past the last match, round to the first, as F3 goes.
    return 0;
}

void FindBar::findNext()
{
    if (!isVisible())
        return;
    // F3 works from a panel box too: what was typed there goes to its own step before another
    // step's match is shown, and the matches are those of what the project then holds.
    mDocument.commitPendingEdits();
    if (mMatches.isEmpty())
        return;
    goTo((mCurrent + 1) % int(mMatches.size()));
}

void FindBar::findPrevious()
{
    if (!isVisible())
        return;
    mDocument.commitPendingEdits();
    if (mMatches.isEmpty())
        return;
    const int count = int(mMatches.size());
    goTo((qMax(mCurrent, 0) + count - 1) % count);
}

void FindBar::replaceCurrent()
{
    // Replacing by Enter goes on from the replacement box.
    const bool fromBox = mReplacement->hasFocus();
    // What the user typed last counts: the matches are found in what the project now holds.
    mDocument.commitPendingEdits();
    search();
    if (mCurrent < 0) {
        // Before any match was gone to, the first press shows the one it would replace.
        findNext();
    } else {
        const TextMatch replaced = mMatches.at(mCurrent);
        const Replacement replacement =
            TextSearch::replace(mDocument.project(), {replaced}, mReplacement->text());
        applyReplacement(replacement);
        // On to the match after the new text, which may hold what was found again (a word
        // replaced by its plural, a letter case changed): pressing again must not replace it.
        const int length = replacement.replaced > 0 ? int(storableText(mReplacement->text()).size())
                                                    : replaced.length;
        goTo(firstMatchFrom(replaced, replaced.start + length));
    }
    if (fromBox)
        mReplacement->setFocus(Qt::OtherFocusReason);
}

void FindBar::replaceAll()
{
    mDocument.commitPendingEdits();
    search();
    applyReplacement(TextSearch::replace(mDocument.project(), mMatches, mReplacement->text()));
}

void FindBar::applyReplacement(const Replacement &replacement)
{
    mDocument.replaceRecords(replacement.records, TextId::UndoReplace);
    QString status = pluralForm(languageText(TextId::ReplacedCount), replacement.replaced)
                         .arg(replacement.replaced);
    if (replacement.skipped > 0) {
        status += u' ' + pluralForm(languageText(TextId::ReplaceSkipped), replacement.skipped)
                             .arg(replacement.skipped);
    }
    if (replacement.brokenScripts > 0) {
        status +=
            u' ' + pluralForm(languageText(TextId::ReplaceBrokeScripts), replacement.brokenScripts)
                       .arg(replacement.brokenScripts);
    }
    emit replacementsDone(status, replacement.unstorable);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kq

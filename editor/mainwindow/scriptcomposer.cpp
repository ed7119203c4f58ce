#include "scriptcomposer.h"

#include "buttonscript.h"
#include "digitkeyfilter.h"
#include "fieldbox.h"
#include "language.h"
#include "localizecontrols.h"
#include "picturebutton.h"
#include "projectdocument.h"
#include "themepainter.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kq {

namespace {

// The entries of the two lists by language id: "Нет", "Идти", "Выход" and "Далее", "Назад", "К"
// in Russian.
constexpr TextId CommandIds[] = {TextId::CommandNone, TextId::CommandGo, TextId::CommandExit};
constexpr TextId DirectionIds[] = {TextId::DirectionNext, TextId::DirectionBack,
                                   TextId::DirectionTo};

void fillList(QComboBox *list, std::initializer_list<TextId> ids)
{
    const QSignalBlocker blocker(list);
    const int selected = list->currentIndex();
    list->clear();
    for (const TextId id : ids)
        list->addItem(languageText(id));
    list->setCurrentIndex(selected);
}

} // namespace

ScriptComposer::ScriptComposer(ProjectDocument &document, QWidget *parent)
    : AreaFrame(QStringLiteral("scrbox"), parent), mDocument(document)
{

    mTitle = new QLabel(this);
    setCaptionId(mTitle, TextId::ButtonScript);
    mTitle->setObjectName(QStringLiteral("Label12"));
    QFont bold = mTitle->font();
    bold.setBold(true);
    mTitle->setFont(bold);

    mCommand = new QComboBox(this);
    mCommand->setObjectName(QStringLiteral("scr_com"));
    connect(mCommand, &QComboBox::activated, this, &ScriptComposer::selectCommand);
    mDirection = new QComboBox(this);
    mDirection->setObjectName(QStringLiteral("scr_atr"));
    connect(mDirection, &QComboBox::activated, this, &ScriptComposer::selectDirection);

    mArgument = new FieldBox(QStringLiteral("scr_arg"), 2, this);
    new DigitKeyFilter(mArgument, DigitKeyFilter::Empty::Stays);
    mArgument->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}")), mArgument));
    mArgument->setFixedWidth(44);
    mArgument->setAlignment(Qt::AlignCenter);
    mArgument->installEventFilter(this);

    for (int i = 0; i < 2; ++i) {
        const QString number = QString::number(i);
        mInsert[i] = pictureButton(
            QStringLiteral("scr_ins") + number,
            QStringLiteral("mainwindow/scr_ins") + number + QStringLiteral(".png"), this);
        connect(mInsert[i], &QPushButton::clicked, this, [this, i] { insertScript(i); });
    }
    retranslate();

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(mCommand, 1);
    row->addWidget(mDirection, 1);
    row->addWidget(mArgument);
    row->addSpacing(4);
    row->addWidget(mInsert[0]);
    row->addWidget(mInsert[1]);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(6);
    layout->addWidget(mTitle);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(&mDocument, &ProjectDocument::currentDialogChanged, this,
            &ScriptComposer::updateInsertButtons);
    connect(&mDocument, &ProjectDocument::recordChanged, this,
            &ScriptComposer::updateInsertButtons);
    connect(&mDocument, &ProjectDocument::projectReplaced, this,
            &ScriptComposer::updateInsertButtons);
    updateInsertButtons();
}

void ScriptComposer::retranslate()
{
    fillList(mCommand, {CommandIds[0], CommandIds[1], CommandIds[2]});
    fillList(mDirection, {DirectionIds[0], DirectionIds[1], DirectionIds[2]});
    // The lists and the box have no labels of their own, so they are named for screen readers.
    const std::pair<QWidget *, TextId> named[] = {{mCommand, TextId::ComposerCommand},
                                                  {mDirection, TextId::ComposerDirection},
                                                  {mArgument, TextId::ComposerStepNumber}};
    for (const auto &[control, id] : named) {
        // Some platforms name a drop-down list by its value; the tooltip then describes it.
        const QString meaning = languageText(id);
        control->setAccessibleName(meaning);
        control->setToolTip(meaning);
    }
    // "Вставить к кнопке 1" and "... 2" in Russian.
    describePictureButton(mInsert[0], languageText(TextId::InsertIntoScript1));
    describePictureButton(mInsert[1], languageText(TextId::InsertIntoScript2));
}

void ScriptComposer::updateInsertButtons()
{
    // Every script box the step uses can be composed: both buttons of a message, the button and
    // the bar-full script of a progress, the pause-end script of a pause.
    const int type = mDocument.record(mDocument.currentDialog()).type;
    const bool changed = setControlsEnabled({mInsert[0]}, true);
    if (setControlsEnabled({mInsert[1]}, type != DialogRecord::Pause) || changed)
        emit statesChanged();
}

void ScriptComposer::selectCommand(int index)
{
    {
        const QSignalBlocker blocker(mCommand);
        mCommand->setCurrentIndex(index);
    }
    commandChosen(index);
}

void ScriptComposer::commandChosen(int index)
{
    mArgument->setEnabled(false);
    mArgument->clear();
    if (index == Go) {
        mDirection->setEnabled(true);
        selectDirection(Next);
    } else {
        mDirection->setEnabled(false);
        const QSignalBlocker blocker(mDirection);
        mDirection->setCurrentIndex(-1);
    }
    emit statesChanged();
}

void ScriptComposer::selectDirection(int index)
{
    {
        const QSignalBlocker blocker(mDirection);
        mDirection->setCurrentIndex(index);
    }
    directionChosen(index);
}

void ScriptComposer::directionChosen(int index)
{
    if (index == Next || index == Back) {
        mArgument->setEnabled(false);
        mArgument->clear();
    } else if (index == To) {
        mArgument->setEnabled(true);
        mArgument->setText(QStringLiteral("00"));
    }
    emit statesChanged();
}

void ScriptComposer::padArgument()
{
    const QString argument = mArgument->text();
    if (argument.isEmpty())
        mArgument->setText(QStringLiteral("00"));
    else if (argument.size() == 1)
        mArgument->setText(QLatin1Char('0') + argument);
}

QString ScriptComposer::composedScript() const
{
    switch (mCommand->currentIndex()) {
    case Go:
        switch (mDirection->currentIndex()) {
        case Back:
            return ButtonScript::GoBack;
        case To:
            return ButtonScript::GoToPrefix + mArgument->text();
        default:
            return ButtonScript::GoNext;
        }
    case Exit:
        return ButtonScript::Exit;
    default:
        return ButtonScript::NoAction;
    }
}

void ScriptComposer::insertScript(int button)
{
    if (!mInsert.at(button)->isEnabled())
        return;
    if (mArgument->isEnabled())
        padArgument();
    emit insertRequested(button, composedScript());
}

bool ScriptComposer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mArgument && event->type() == QEvent::FocusOut)
        padArgument();
    return AreaFrame::eventFilter(watched, event);
}

} // namespace kq

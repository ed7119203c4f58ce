#include "propertiespanel.h"

#include "buttonscript.h"
#include "codepage.h"
#include "digitkeyfilter.h"
#include "fieldbox.h"
#include "iconpicture.h"
#include "iconstrips.h"
#include "language.h"
#include "localizecontrols.h"
#include "optionrow.h"
#include "projectdocument.h"
#include "textlines.h"
#include "themepainter.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QValidator>

#include <algorithm>

namespace kq {

namespace {

constexpr int MaxTime = 32767;

// The time box takes whole seconds from 0 to the longest time the runner plays, nothing else.
class TimeValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.isEmpty())
            return Intermediate;
        const bool digits = std::all_of(input.cbegin(), input.cend(),
                                        [](QChar c) { return c >= u'0' && c <= u'9'; });
        return digits && input.toInt() <= MaxTime ? Acceptable : Invalid;
    }
};

QLabel *fieldLabel(const char *name, TextId caption, QWidget *parent)
{
    auto *label = new QLabel(parent);
    setCaptionId(label, caption);
    label->setObjectName(QLatin1String(name));
    return label;
}

// The width the record gives a text: its line breaks are stored as CR LF.
int recordLength(const QString &boxText)
{
    return int(boxText.size() + boxText.count(QLatin1Char('\n')));
}

void showText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
    box->setModified(false);
}

} // namespace

PropertiesPanel::PropertiesPanel(ProjectDocument &document, QWidget *parent)
    : AreaFrame(QStringLiteral("data_box"), parent), mDocument(document)
{
    buildFields();
    layOutFields();
    connect(&mDocument, &ProjectDocument::pendingEditsRequested, this,
            &PropertiesPanel::commitEdits);
    connect(&mDocument, &ProjectDocument::recordChanged, this, &PropertiesPanel::recordChanged);
    connect(&mDocument, &ProjectDocument::currentDialogChanged, this, &PropertiesPanel::load);
    connect(&mDocument, &ProjectDocument::projectReplaced, this, &PropertiesPanel::load);
    load();
}

void PropertiesPanel::buildFields()
{
    mLblType = fieldLabel("msg_lbltype", TextId::LabelType, this);
    mLblCaption = fieldLabel("msg_lblcaption", TextId::LabelCaption, this);
    mCaption = new FieldBox(QStringLiteral("msg_caption"), DialogRecord::CaptionWidth, this);

    mLblText = fieldLabel("msg_lbltext", TextId::LabelText, this);
    mText = new FieldTextBox(QStringLiteral("msg_text"), DialogRecord::TextWidth, this);
    mText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mText->setTabChangesFocus(true);
    connect(mText->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { limitText(position, added); });
    connect(mText, &QPlainTextEdit::textChanged, this, [this] { writeField(mText); });

    mLblBtn[0] = fieldLabel("msg_lblbtn1", TextId::LabelButton1, this);
    mLblBtn[1] = fieldLabel("msg_lblbtn2", TextId::LabelButton2, this);
    mLblBtnScr[0] = fieldLabel("msg_lblbtnscr1", TextId::LabelScript1, this);
    mLblBtnScr[1] = fieldLabel("msg_lblbtnscr2", TextId::LabelScript2, this);
    for (int i = 0; i < 2; ++i) {
        const QString number = QString::number(i);
        mBtn[i] = new FieldBox(QStringLiteral("msg_btn") + number, DialogRecord::ButtonWidth, this);
        mBtnScr[i] =
            new FieldBox(QStringLiteral("msg_btnscr") + number, DialogRecord::ButtonWidth, this);
    }
    for (QLineEdit *box : {mCaption, mBtn[0], mBtn[1]})
        connect(box, &QLineEdit::textEdited, this, [this, box] { writeField(box); });

    // The runner plays every time from 0 to 32767 seconds.
    mLblTime = fieldLabel("msg_lbltime", TextId::LabelTime, this);
    mTime = new FieldBox(QStringLiteral("msg_time"), 5, this);
    mTime->setValidator(new TimeValidator(mTime));
    new DigitKeyFilter(mTime, DigitKeyFilter::Empty::ZeroWhenEmpty, DigitKeyFilter::Full::Refused);
    mTime->setFixedWidth(64);
    mTime->setAlignment(Qt::AlignCenter);
    connect(mTime, &QLineEdit::textEdited, this, &PropertiesPanel::writeTime);

    mLblIco = fieldLabel("msg_lblico", TextId::LabelIcon, this);
    mIcons = new IconPicture(this);
    connect(mIcons, &IconPicture::cellClicked, this, &PropertiesPanel::iconClick);

    for (QWidget *field : std::initializer_list<QWidget *>{mText, mCaption, mBtn[0], mBtn[1],
                                                           mBtnScr[0], mBtnScr[1], mTime})
        field->installEventFilter(this);

    // A label's access key takes the focus to its field; the type label's goes to the type
    // option that is selected (showStates).
    const std::pair<QLabel *, QWidget *> buddies[] = {
        {mLblCaption, mCaption},     {mLblText, mText},
        {mLblBtn[0], mBtn[0]},       {mLblBtn[1], mBtn[1]},
        {mLblBtnScr[0], mBtnScr[0]}, {mLblBtnScr[1], mBtnScr[1]},
        {mLblTime, mTime},           {mLblIco, mIcons}};
    for (const auto &[label, field] : buddies)
        label->setBuddy(field);
}

void PropertiesPanel::layOutFields()
{
    mTypeRow = new OptionRow(QStringLiteral("msg_type"),
                             {TextId::TypeMessage, TextId::TypeProgress, TextId::TypePause}, this);
    for (int type = 0; type < mTypeRow->count(); ++type)
        mType[type] = mTypeRow->option(type);
    connect(mTypeRow, &OptionRow::chosen, this, &PropertiesPanel::selectType);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(7);
    grid->addWidget(mLblType, 0, 0);
    grid->addLayout(mTypeRow, 0, 1, 1, 3);
    grid->addWidget(mLblCaption, 1, 0);
    grid->addWidget(mCaption, 1, 1, 1, 3);
    grid->addWidget(mLblText, 2, 0, Qt::AlignTop);
    grid->addWidget(mText, 2, 1, 1, 3);
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(mLblBtn[i], 3 + i, 0);
        grid->addWidget(mBtn[i], 3 + i, 1);
        grid->addWidget(mLblBtnScr[i], 3 + i, 2);
        grid->addWidget(mBtnScr[i], 3 + i, 3);
    }
    grid->addWidget(mLblIco, 5, 0);
    grid->addWidget(mIcons, 5, 1, Qt::AlignLeft);
    grid->addWidget(mLblTime, 5, 2);
    grid->addWidget(mTime, 5, 3, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);
    setKeyboardOrder();
}

void PropertiesPanel::setKeyboardOrder()
{
    // Tab follows the panel's rows, left to right, rather than the order the fields were made.
    QWidget *const order[] = {mType[0],   mType[1], mType[2],   mCaption, mText, mBtn[0],
                              mBtnScr[0], mBtn[1],  mBtnScr[1], mIcons,   mTime};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void PropertiesPanel::retranslate()
{
    mIcons->retranslate();
}

void PropertiesPanel::recordChanged(int index)
{
    // The field being typed in already shows what it wrote; reloading it would move the cursor.
    if (mWriting)
        return;
    if (index == 0 || index == mDocument.currentDialog())
        load();
}

void PropertiesPanel::load()
{
    const int current = mDocument.currentDialog();
    if (current < 1 || current > mDocument.dialogCount())
        return;
    const QScopedValueRollback loading(mLoading, true);
    const DialogRecord &record = mDocument.record(current);
    mTypeRow->showOption(record.type);
    showStates(record.type);
    const QString boxText = toBoxText(trimmedRight(record.text));
    if (mText->toPlainText() != boxText)
        mText->setPlainText(boxText);
    showText(mCaption, trimmedRight(record.caption));
    // The button the runner does not show carries the language's label, never written back.
    showText(mBtn[0], record.type == DialogRecord::Pause ? languageText(TextId::PauseOverButton)
                                                         : trimmedRight(record.btn1));
    showText(mBtn[1], record.type == DialogRecord::Progress ? languageText(TextId::BarFullButton)
                                                            : trimmedRight(record.btn2));
    showText(mBtnScr[0], trimmedRight(record.btnscr1));
    showText(mBtnScr[1], trimmedRight(record.btnscr2));
    showText(mTime, QString::number(record.time));
    for (QWidget *box : std::initializer_list<QWidget *>{mText, mCaption, mBtn[0], mBtn[1],
                                                         mBtnScr[0], mBtnScr[1], mTime})
        mSynced[box] = textIn(box);
    redrawIcons();
}

void PropertiesPanel::showStates(int type)
{
    const bool message = type == DialogRecord::Message;
    const bool progress = type == DialogRecord::Progress;
    const bool pause = type == DialogRecord::Pause;
    bool changed = false;
    const auto enable = [&changed](std::initializer_list<QWidget *> widgets, bool on) {
        changed = setControlsEnabled(widgets, on) || changed;
    };
    enable({mTime, mLblTime}, !message);
    enable({mCaption, mLblCaption, mIcons, mLblIco, mBtn[0], mLblBtn[0]}, !pause);
    enable({mBtn[1], mLblBtn[1]}, !progress && !pause);
    enable({mBtnScr[1], mLblBtnScr[1]}, !pause);
    if (type >= 0 && type < int(mType.size()))
        mLblType->setBuddy(mType[type]);
    if (changed)
        emit statesChanged();
}

void PropertiesPanel::selectType(int type)
{
    mDocument.commitPendingEdits();
    mDocument.setType(mDocument.currentDialog(), type);
    // A click on a type the document refused (none) shows the record's own again.
    load();
}

void PropertiesPanel::iconClick(int cell)
{
    mDocument.commitPendingEdits();
    mDocument.setIcon(mDocument.currentDialog(), cell);
}

void PropertiesPanel::focusField(StepField field)
{
    const int script = StepFlow::scriptOf(field);
    if (script > 0)
        mBtnScr[script - 1]->setFocus(Qt::OtherFocusReason);
    else
        mCaption->setFocus(Qt::OtherFocusReason);
}

void PropertiesPanel::selectInField(int field, int start, int length)
{
    using Field = ProjectDocument::Field;
    if (Field(field) == Field::Text) {
        const QString record = trimmedRight(mDocument.record(mDocument.currentDialog()).text);
        const int from = int(toBoxText(record.left(start)).size());
        const int to = int(toBoxText(record.left(start + length)).size());
        QTextCursor cursor(mText->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        mText->setTextCursor(cursor);
        mText->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::array<QLineEdit *, 5> boxes{mCaption, mBtn[0], mBtn[1], mBtnScr[0], mBtnScr[1]};
    QLineEdit *box = boxes.at(std::clamp(field - int(Field::Caption), 0, 4));
    box->setFocus(Qt::OtherFocusReason);
    box->setSelection(start, length);
}

void PropertiesPanel::redrawIcons()
{
    const DialogRecord &record = mDocument.record(mDocument.currentDialog());
    mIcons->clearPicture();
    mIcons->setCurrentCell(record.type == DialogRecord::Pause ? -1 : record.ico);
    if (record.type == DialogRecord::Pause)
        return;
    if (record.ico >= 0 && record.ico < IconPicture::CellCount)
        mIcons->fillCell(record.ico, mSelectionColor);
    if (const std::optional<qint16> style = mDocument.record(0).projectStyle()) {
        const QPixmap &strip = iconStrip(*style);
        if (!strip.isNull())
            mIcons->drawStrip(strip);
    }
}

void PropertiesPanel::setSelectionColor(const QColor &color)
{
    mSelectionColor = color;
    redrawIcons();
}

QString PropertiesPanel::textIn(QWidget *box) const
{
    return box == mText ? mText->toPlainText() : static_cast<QLineEdit *>(box)->text();
}

bool PropertiesPanel::edited(QWidget *box) const
{
    const auto synced = mSynced.constFind(box);
    return synced == mSynced.cend() || *synced != textIn(box);
}

bool PropertiesPanel::differs(QWidget *box) const
{
    const DialogRecord &record = mDocument.record(mDocument.currentDialog());
    if (box == mText)
        return mText->toPlainText() != toBoxText(trimmedRight(record.text));
    const QString shown = static_cast<QLineEdit *>(box)->text();
    if (box == mCaption)
        return shown != trimmedRight(record.caption);
    if (box == mBtn[0])
        return shown != trimmedRight(record.btn1);
    if (box == mBtn[1])
        return shown != trimmedRight(record.btn2);
    if (box == mBtnScr[0])
        return shown != trimmedRight(record.btnscr1);
    if (box == mBtnScr[1])
        return shown != trimmedRight(record.btnscr2);
    if (box == mTime)
        return shown != QString::number(record.time);
    return false;
}

void PropertiesPanel::writeField(QWidget *box)
{
    if (mLoading || !box->isEnabled() || !edited(box) || !differs(box))
        return;
    const QScopedValueRollback writing(mWriting, true);
    const int current = mDocument.currentDialog();
    using Field = ProjectDocument::Field;
    if (box == mText)
        mDocument.setField(current, Field::Text, toRecordText(mText->toPlainText()));
    else if (box == mCaption)
        mDocument.setField(current, Field::Caption, mCaption->text());
    else if (box == mBtn[0])
        mDocument.setField(current, Field::Button1, mBtn[0]->text());
    else if (box == mBtn[1])
        mDocument.setField(current, Field::Button2, mBtn[1]->text());
    else if (box == mBtnScr[0])
        mDocument.setField(current, Field::Script1, mBtnScr[0]->text());
    else if (box == mBtnScr[1])
        mDocument.setField(current, Field::Script2, mBtnScr[1]->text());
    mSynced[box] = textIn(box);
}

void PropertiesPanel::writeTime()
{
    if (mLoading || !mTime->isEnabled() || !edited(mTime) || !differs(mTime))
        return;
    const QScopedValueRollback writing(mWriting, true);
    // An empty box is 0; the runner plays no more than 32767 seconds.
    const int time = qBound(0, mTime->text().toInt(), MaxTime);
    mDocument.setTime(mDocument.currentDialog(), qint16(time));
    mSynced[mTime] = mTime->text();
}

void PropertiesPanel::normalizeScript(int button)
{
    QLineEdit *box = mBtnScr.at(button);
    if (!box->isEnabled() || !edited(box) || !differs(box))
        return;
    box->setText(ButtonScript::normalize(box->text()));
    mSynced.remove(box);
    writeField(box);
}

void PropertiesPanel::commitEdits()
{
    for (QWidget *box : std::initializer_list<QWidget *>{mText, mCaption, mBtn[0], mBtn[1]})
        writeField(box);
    normalizeScript(0);
    normalizeScript(1);
    writeTime();
    showStoredText();
}

void PropertiesPanel::showStoredText()
{
    int replaced = unstorableCharacters(mText->toPlainText());
    for (const QLineEdit *box : {mCaption, mBtn[0], mBtn[1], mBtnScr[0], mBtnScr[1]})
        replaced += unstorableCharacters(box->text());
    if (replaced == 0)
        return;
    // What the boxes show is what the project holds, and will play.
    load();
    emit charactersReplaced(replaced);
}

void PropertiesPanel::insertScript(int button, const QString &script)
{
    mDocument.commitPendingEdits();
    // A script the user chose is written even where the box already showed it.
    mBtnScr.at(button)->setText(script);
    mSynced.remove(mBtnScr.at(button));
    writeField(mBtnScr.at(button));
}

bool PropertiesPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::FocusOut: {
        // A menu or another window taking the focus is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (widget && !mLoading && reason != Qt::PopupFocusReason &&
            reason != Qt::ActiveWindowFocusReason) {
            if (widget == mBtnScr[0] || widget == mBtnScr[1])
                normalizeScript(widget == mBtnScr[0] ? 0 : 1);
            else if (widget == mTime)
                writeTime();
            else
                writeField(widget);
            showStoredText();
        }
        break;
    }
    case QEvent::KeyRelease:
        // The "0" an empty box gets before a key is the box's value too.
        if (watched == mTime)
            writeTime();
        break;
    default:
        break;
    }
    return AreaFrame::eventFilter(watched, event);
}

void PropertiesPanel::limitText(int position, int added)
{
    if (mLimitingText)
        return;
    const QScopedValueRollback guard(mLimitingText, true);
    const QString text = mText->toPlainText();
    int excess = recordLength(text) - DialogRecord::TextWidth;
    if (excess <= 0)
        return;
    // The characters just typed or pasted that go past the field are dropped, last first; a
    // line break takes two places in the record.
    int to = qMin(position + added, int(text.size()));
    int from = to;
    while (from > position && excess > 0)
        excess -= text.at(--from) == u'\n' ? 2 : 1;
    if (excess > 0) {
        to = int(text.size());
        from = to;
        while (from > 0 && excess > 0)
            excess -= text.at(--from) == u'\n' ? 2 : 1;
    }
    QTextCursor cursor(mText->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

} // namespace kq

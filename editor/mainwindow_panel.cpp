#include "mainwindow.h"

#include "buttonscript.h"
#include "editorhelpers.h"
#include "iconstrips.h"
#include "language.h"
#include "mainwindow_helpers.h"
#include "mainwindow_iconpicture.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include <span>

namespace kq {

namespace {

constexpr int SelectionColorKey = 7;

QLabel *fieldLabel(const char *name, const char *caption, QWidget *parent)
{
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel *titleLabel(const char *name, const char *caption, QWidget *parent)
{
    QLabel *label = fieldLabel(name, caption, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLineEdit *textBox(const QString &name, int maxLength, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setFont(editor::fixedPitchFont());
    return box;
}

// A row of option buttons "<name>0", "<name>1", ...; chosen runs when one becomes selected, so a
// click on the option that is already selected changes nothing.
template <typename Chosen>
QHBoxLayout *optionRow(std::span<QRadioButton *> options, const QString &name,
                       std::initializer_list<const char *> ids, QWidget *parent, Chosen chosen)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    int index = 0;
    for (const char *id : ids) {
        auto *option = new QRadioButton(QLatin1String(id), parent);
        option->setObjectName(name + QString::number(index));
        option->setAutoFillBackground(true);
        QObject::connect(option, &QRadioButton::toggled, parent, [chosen, index](bool on) {
            if (on)
                chosen(index);
        });
        row->addWidget(option);
        options[index++] = option;
    }
    row->addStretch(1);
    return row;
}

// The width the record gives a text: its line breaks are stored as CR LF.
int recordLength(const QString &boxText)
{
    return int(boxText.size() + boxText.count(QLatin1Char('\n')));
}

} // namespace

void MainWindow::buildDataBox()
{
    mDataBox = mainwindow::panel(QStringLiteral("data_box"), this);
    mDataBox->installEventFilter(this);
    mHints.insert(mDataBox, QStringLiteral("%0139"));

    mLblType = fieldLabel("msg_lbltype", "%0101", mDataBox);
    QHBoxLayout *types =
        optionRow(mMsgType, QStringLiteral("msg_type"), {"%0120", "%0121", "%0122"}, mDataBox,
                  [this](int type) { typeChosen(type); });

    mLblCaption = fieldLabel("msg_lblcaption", "%0103", mDataBox);
    mMsgCaption = textBox(QStringLiteral("msg_caption"), DialogRecord::CaptionWidth, mDataBox);

    mLblText = fieldLabel("msg_lbltext", "%0104", mDataBox);
    mMsgText = new QPlainTextEdit(mDataBox);
    mMsgText->setObjectName(QStringLiteral("msg_text"));
    mMsgText->setFont(editor::fixedPitchFont());
    mMsgText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mMsgText->setTabChangesFocus(true);
    connect(mMsgText->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { limitText(position, added); });

    mLblBtn[0] = fieldLabel("msg_lblbtn1", "%0105", mDataBox);
    mLblBtn[1] = fieldLabel("msg_lblbtn2", "%0106", mDataBox);
    mLblBtnScr[0] = fieldLabel("msg_lblbtnscr1", "%0107", mDataBox);
    mLblBtnScr[1] = fieldLabel("msg_lblbtnscr2", "%0108", mDataBox);
    for (int i = 0; i < 2; ++i) {
        mMsgBtn[i] = textBox(QStringLiteral("msg_btn") + QString::number(i),
                             DialogRecord::ButtonWidth, mDataBox);
        mMsgBtnScr[i] = textBox(QStringLiteral("msg_btnscr") + QString::number(i),
                                DialogRecord::ButtonWidth, mDataBox);
    }

    mLblTime = fieldLabel("msg_lbltime", "%0102", mDataBox);
    mMsgTime = textBox(QStringLiteral("msg_time"), 1, mDataBox);
    mMsgTime->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), mMsgTime));
    mMsgTime->setFixedWidth(40);
    mMsgTime->setAlignment(Qt::AlignCenter);

    mLblIco = fieldLabel("msg_lblico", "%0109", mDataBox);
    mMsgIcons = new IconPicture(mDataBox);
    connect(mMsgIcons, &IconPicture::cellClicked, this, &MainWindow::iconClick);

    for (QWidget *field : std::initializer_list<QWidget *>{
             mMsgText, mMsgCaption, mMsgBtn[0], mMsgBtn[1], mMsgBtnScr[0], mMsgBtnScr[1], mMsgTime})
        field->installEventFilter(this);

    auto *grid = new QGridLayout(mDataBox);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(7);
    grid->addWidget(mLblType, 0, 0);
    grid->addLayout(types, 0, 1, 1, 3);
    grid->addWidget(mLblCaption, 1, 0);
    grid->addWidget(mMsgCaption, 1, 1, 1, 3);
    grid->addWidget(mLblText, 2, 0, Qt::AlignTop);
    grid->addWidget(mMsgText, 2, 1, 1, 3);
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(mLblBtn[i], 3 + i, 0);
        grid->addWidget(mMsgBtn[i], 3 + i, 1);
        grid->addWidget(mLblBtnScr[i], 3 + i, 2);
        grid->addWidget(mMsgBtnScr[i], 3 + i, 3);
    }
    grid->addWidget(mLblIco, 5, 0);
    grid->addWidget(mMsgIcons, 5, 1, Qt::AlignLeft);
    grid->addWidget(mLblTime, 5, 2);
    grid->addWidget(mMsgTime, 5, 3, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);
}

void MainWindow::buildScriptBox()
{
    mScrBox = mainwindow::panel(QStringLiteral("scrbox"), this);
    mScrBox->installEventFilter(this);
    mHints.insert(mScrBox, QStringLiteral("%0141"));

    mLabel12 = titleLabel("Label12", "%0110", mScrBox);

    mScrCom = new QComboBox(mScrBox);
    mScrCom->setObjectName(QStringLiteral("scr_com"));
    mScrCom->addItems({QStringLiteral("Нет"), QStringLiteral("Идти"), QStringLiteral("Выход")});
    connect(mScrCom, &QComboBox::activated, this, &MainWindow::selectCommand);

    mScrAtr = new QComboBox(mScrBox);
    mScrAtr->setObjectName(QStringLiteral("scr_atr"));
    mScrAtr->addItems({QStringLiteral("Далее"), QStringLiteral("Назад"), QStringLiteral("К")});
    connect(mScrAtr, &QComboBox::activated, this, &MainWindow::selectDirection);

    mScrArg = textBox(QStringLiteral("scr_arg"), 2, mScrBox);
    mScrArg->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), mScrArg));
    mScrArg->setFixedWidth(44);
    mScrArg->setAlignment(Qt::AlignCenter);
    mScrArg->installEventFilter(this);

    for (int i = 0; i < 2; ++i) {
        const QString number = QString::number(i);
        mScrIns[i] = editor::pictureButton(
            QStringLiteral("scr_ins") + number,
            QStringLiteral("mainwindow/scr_ins") + number + QStringLiteral(".png"), mScrBox);
        mScrIns[i]->setToolTip(QStringLiteral("Вставить к кнопке ") + QString::number(i + 1));
        connect(mScrIns[i], &QPushButton::clicked, this, [this, i] { insertScript(i); });
    }

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(mScrCom, 1);
    row->addWidget(mScrAtr, 1);
    row->addWidget(mScrArg);
    row->addSpacing(4);
    row->addWidget(mScrIns[0]);
    row->addWidget(mScrIns[1]);

    auto *layout = new QVBoxLayout(mScrBox);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(6);
    layout->addWidget(mLabel12);
    layout->addLayout(row);
    layout->addStretch(1);
}

void MainWindow::buildProjectBox()
{
    mProjectBox = mainwindow::panel(QStringLiteral("projectbox"), this);
    mProjectBox->installEventFilter(this);
    mHints.insert(mProjectBox, QStringLiteral("%0140"));

    mLabel10 = titleLabel("Label10", "%0111", mProjectBox);
    auto *layout = new QVBoxLayout(mProjectBox);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(4);
    layout->addWidget(mLabel10);
    QHBoxLayout *options = optionRow(mPrjSt, QStringLiteral("prj_st"), {"%0123", "%0124"},
                                     mProjectBox, [this](int style) { styleChosen(style); });
    layout->addLayout(options);
    layout->addStretch(1);
    mPrjSt[0]->setChecked(true);
}

void MainWindow::selectType(int type)
{
    {
        const QSignalBlocker blocker(mMsgType.at(type));
        mMsgType.at(type)->setChecked(true);
    }
    typeChosen(type);
}

void MainWindow::typeChosen(int type)
{
    const QList<QWidget *> fields = {
        mMsgTime, mMsgCaption, mMsgBtn[0], mMsgBtn[1], mMsgBtnScr[0], mMsgBtnScr[1], mMsgIcons,
        mLblTime, mLblCaption, mLblBtn[0], mLblBtn[1], mLblBtnScr[0], mLblBtnScr[1], mLblIco};
    {
        // Boxes disabled here lose the focus; that is no edit of theirs to write back.
        const QScopedValueRollback loading(mLoading, true);
        for (QWidget *field : fields)
            field->setEnabled(true);
        mScrIns[0]->setEnabled(true);
        mScrIns[1]->setEnabled(true);
        mMsgBtnScr[0]->setText(ButtonScript::NoAction);
        switch (type) {
        case DialogRecord::Message:
            mMsgTime->setEnabled(false);
            mLblTime->setEnabled(false);
            mMsgTime->setText(QStringLiteral("0"));
            mMsgBtnScr[1]->setText(ButtonScript::NoAction);
            break;
        case DialogRecord::Progress:
            mMsgBtn[1]->setEnabled(false);
            mLblBtn[1]->setEnabled(false);
            mMsgBtn[1]->setText(ResString(QStringLiteral("%0126")));
            mMsgBtnScr[1]->setText(ButtonScript::NoAction);
            mScrIns[1]->setEnabled(false);
            break;
        default:
            for (QWidget *field : std::initializer_list<QWidget *>{
                     mMsgCaption, mLblCaption, mMsgIcons, mLblIco, mMsgBtn[0], mLblBtn[0],
                     mMsgBtn[1], mLblBtn[1], mMsgBtnScr[1], mLblBtnScr[1]})
                field->setEnabled(false);
            mMsgCaption->clear();
            mMsgIcons->clearPicture();
            mMsgBtn[0]->setText(ResString(QStringLiteral("%0127")));
            mMsgBtn[1]->clear();
            mMsgBtnScr[1]->clear();
            mScrIns[0]->setEnabled(false);
            mScrIns[1]->setEnabled(false);
            break;
        }
    }
    if (type != mProject.record(mCurrentDialog).type)
        WriteDialog(mCurrentDialog);
    SetColors();
    if (type != DialogRecord::Pause)
        IconUpdate();
}

void MainWindow::IconUpdate()
{
    const DialogRecord &record = mProject.record(mCurrentDialog);
    if (record.type == DialogRecord::Pause)
        return;
    mMsgIcons->clearPicture();
    if (record.ico >= 0 && record.ico < IconPicture::CellCount)
        mMsgIcons->fillCell(record.ico, color(SelectionColorKey));
    qint16 style = -1;
    if (mProject.record(0).projectStyle(&style)) {
        const QPixmap &strip = iconStrip(style);
        if (!strip.isNull())
            mMsgIcons->drawStrip(strip);
    }
}

void MainWindow::iconClick(int cell)
{
    mProject.record(mCurrentDialog).ico = qint16(cell);
    IconUpdate();
}

void MainWindow::selectStyle(int style)
{
    {
        const QSignalBlocker blocker(mPrjSt.at(style));
        mPrjSt.at(style)->setChecked(true);
    }
    styleChosen(style);
}

void MainWindow::styleChosen(int style)
{
    mProject.clearRecord(0);
    mProject.record(0).text = QString::number(style);
    if (!mMsgType[DialogRecord::Pause]->isChecked())
        IconUpdate();
}

bool MainWindow::filterDigitKey(QLineEdit *box, QKeyEvent *event, bool zeroWhenEmpty)
{
    // Only keys that type a character are filtered; Tab and the cursor keys keep their work.
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    const QChar key = typed.front();
    const bool passes = typed.size() == 1 && ((key >= u'0' && key <= u'9') || key == u'\b');
    if (!passes)
        QApplication::beep();
    if (zeroWhenEmpty && box->text().isEmpty()) {
        // Selected, so that the digit typed next replaces the "0" in the one-digit box.
        box->setText(QStringLiteral("0"));
        box->selectAll();
    } else if (passes && key != u'\b' && !box->hasSelectedText() &&
               box->text().size() >= box->maxLength()) {
        // A full box would refuse the digit without a sign; it starts over with it instead.
        box->selectAll();
    }
    return !passes;
}

void MainWindow::limitText(int position, int added)
{
    if (mLimitingText)
        return;
    const QScopedValueRollback guard(mLimitingText, true);
    const QString text = mMsgText->toPlainText();
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
    QTextCursor cursor(mMsgText->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void MainWindow::normalizeScript(int button)
{
    mMsgBtnScr.at(button)->setText(ButtonScript::normalize(mMsgBtnScr.at(button)->text()));
}

void MainWindow::padArgument()
{
    const QString argument = mScrArg->text();
    if (argument.isEmpty())
        mScrArg->setText(QStringLiteral("00"));
    else if (argument.size() == 1)
        mScrArg->setText(QLatin1Char('0') + argument);
}

void MainWindow::leaveField(QWidget *field)
{
    if (field == mMsgText) {
        WriteDialog(mCurrentDialog);
        ListUpdate();
    } else if (field == mMsgCaption || field == mMsgBtn[0] || field == mMsgBtn[1]) {
        WriteDialog(mCurrentDialog);
    } else if (field == mMsgBtnScr[0] || field == mMsgBtnScr[1]) {
        normalizeScript(field == mMsgBtnScr[0] ? 0 : 1);
        WriteDialog(mCurrentDialog);
    } else if (field == mScrArg) {
        padArgument();
    }
}

bool MainWindow::isModified(QWidget *field) const
{
    if (field == mMsgText)
        return mMsgText->document()->isModified();
    if (auto *box = qobject_cast<QLineEdit *>(field))
        return box->isModified();
    return false;
}

void MainWindow::commitEdits()
{
    QWidget *field = focusWidget();
    if (field && field != mMsgTime && field->isEnabled() && isModified(field))
        leaveField(field);
}

void MainWindow::selectCommand(int index)
{
    {
        const QSignalBlocker blocker(mScrCom);
        mScrCom->setCurrentIndex(index);
    }
    commandChosen(index);
}

void MainWindow::commandChosen(int index)
{
    mScrArg->setEnabled(false);
    mScrArg->clear();
    if (index == 1) { // "Идти" goes on with a direction
        mScrAtr->setEnabled(true);
        selectDirection(0);
    } else {
        mScrAtr->setEnabled(false);
        const QSignalBlocker blocker(mScrAtr);
        mScrAtr->setCurrentIndex(-1);
    }
    SetColors();
}

void MainWindow::selectDirection(int index)
{
    {
        const QSignalBlocker blocker(mScrAtr);
        mScrAtr->setCurrentIndex(index);
    }
    directionChosen(index);
}

void MainWindow::directionChosen(int index)
{
    if (index == 0 || index == 1) {
        mScrArg->setEnabled(false);
        mScrArg->clear();
    } else if (index == 2) { // "К" takes a dialog number
        mScrArg->setEnabled(true);
        mScrArg->setText(QStringLiteral("00"));
    }
    SetColors();
}

void MainWindow::insertScript(int button)
{
    if (!mScrIns.at(button)->isEnabled())
        return;
    if (mScrArg->isEnabled())
        padArgument();
    QString script = mScrCom->currentText();
    if (mScrAtr->isEnabled())
        script += QLatin1Char(' ') + mScrAtr->currentText();
    if (mScrArg->isEnabled())
        script += QLatin1Char(' ') + mScrArg->text();
    mMsgBtnScr.at(button)->setText(script);
    WriteDialog(mCurrentDialog);
}

} // namespace kq

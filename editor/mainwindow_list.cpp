#include "mainwindow.h"

#include "editorhelpers.h"
#include "language.h"
#include "mainwindow_helpers.h"
#include "productinfo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace kq {

namespace {

constexpr int EntryTextLength = 20;

// "k. " and the first 20 characters of the text; line breaks show as spaces in the one-line list.
QString entryText(int number, const QString &text)
{
    QString start = trimmedRight(trimmedRight(text).left(EntryTextLength));
    start.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QString::number(number) + QStringLiteral(". ") + start;
}

} // namespace

void MainWindow::buildListBox()
{
    mListBox = mainwindow::panel(QStringLiteral("listbox"), this);
    mListBox->installEventFilter(this);
    mHints.insert(mListBox, QStringLiteral("%0138"));

    mDlgList = new QListWidget(mListBox);
    mDlgList->setObjectName(QStringLiteral("dlg_list"));
    mDlgList->setFont(editor::fixedPitchFont());
    mDlgList->setMinimumWidth(230);
    connect(mDlgList, &QListWidget::currentRowChanged, this, &MainWindow::listSelected);

    mListNew = editor::pictureButton(QStringLiteral("list_new"),
                                     QStringLiteral("mainwindow/list_new.png"), mListBox);
    mListDelete = editor::pictureButton(QStringLiteral("list_delete"),
                                        QStringLiteral("mainwindow/list_delete.png"), mListBox);
    mListUp = editor::pictureButton(QStringLiteral("list_up"),
                                    QStringLiteral("mainwindow/list_up.png"), mListBox);
    mListDown = editor::pictureButton(QStringLiteral("list_down"),
                                      QStringLiteral("mainwindow/list_down.png"), mListBox);
    connect(mListNew, &QPushButton::clicked, this, &MainWindow::listNew);
    connect(mListDelete, &QPushButton::clicked, this, &MainWindow::listDelete);
    connect(mListUp, &QPushButton::clicked, this, &MainWindow::listUp);
    connect(mListDown, &QPushButton::clicked, this, &MainWindow::listDown);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton *button : {mListNew, mListDelete, mListUp, mListDown})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(mListBox);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(mDlgList, 1);
    layout->addLayout(buttons);
}

void MainWindow::ListUpdate()
{
    // The panel only edits a dialog the list shows, so a project read without any dialog gets
    // the one a new project starts with; otherwise its edits would be lost at the next save.
    if (mProject.dialogCount() < 1)
        makeOnlyDialog();
    const int previous = mCurrentDialog - 1;
    const int count = mProject.dialogCount();
    {
        const QSignalBlocker blocker(mDlgList);
        mDlgList->clear();
        for (int k = 1; k <= count && k <= DialogProject::MaxDialogs; ++k)
            mDlgList->addItem(entryText(k - 1, mProject.record(k).text));
    }
    // A project with fewer dialogs than the old position starts at its first dialog.
    if (previous >= 0 && previous < mDlgList->count())
        selectEntry(previous);
    else if (mDlgList->count() > 0)
        selectEntry(0);
    TestButton();
    if (mProject.record(mCurrentDialog).type != DialogRecord::Pause)
        IconUpdate();
}

void MainWindow::selectEntry(int row)
{
    {
        const QSignalBlocker blocker(mDlgList);
        mDlgList->setCurrentRow(row);
    }
    listSelected(row);
}

void MainWindow::listSelected(int row)
{
    if (row < 0 || row >= mDlgList->count())
        return;
    mCurrentDialog = qint16(row + 1);
    LoadDialog(mCurrentDialog);
    TestButton();
    if (mProject.record(mCurrentDialog).type != DialogRecord::Pause)
        IconUpdate();
}

void MainWindow::LoadDialog(int i)
{
    if (i < 1 || i > DialogProject::MaxDialogs)
        return;
    const QScopedValueRollback loading(mLoading, true);
    DialogRecord &record = mProject.record(i);
    if (record.type >= 0 && record.type < int(mMsgType.size()))
        selectType(record.type);
    mMsgText->setPlainText(editor::toBoxText(trimmedRight(record.text)));
    mMsgCaption->setText(trimmedRight(record.caption));
    // The label of the button the runner does not show follows the current language.
    if (record.type == DialogRecord::Progress)
        record.btn2 = ResString(QStringLiteral("%0126")).left(DialogRecord::ButtonWidth);
    else if (record.type == DialogRecord::Pause)
        record.btn1 = ResString(QStringLiteral("%0127")).left(DialogRecord::ButtonWidth);
    mMsgBtn[0]->setText(trimmedRight(record.btn1));
    mMsgBtn[1]->setText(trimmedRight(record.btn2));
    mMsgBtnScr[0]->setText(trimmedRight(record.btnscr1));
    mMsgBtnScr[1]->setText(trimmedRight(record.btnscr2));
    mMsgTime->setText(QString::number(record.time));
    mMsgText->document()->setModified(false);
    SetColors();
    if (record.type != DialogRecord::Pause)
        IconUpdate();
}

void MainWindow::WriteDialog(int i)
{
    if (i < 1 || i > DialogProject::MaxDialogs)
        return;
    DialogRecord &record = mProject.record(i);
    record.text = editor::toRecordText(mMsgText->toPlainText()).left(DialogRecord::TextWidth);
    record.caption = mMsgCaption->text().left(DialogRecord::CaptionWidth);
    record.btn1 = mMsgBtn[0]->text().left(DialogRecord::ButtonWidth);
    record.btn2 = mMsgBtn[1]->text().left(DialogRecord::ButtonWidth);
    record.btnscr1 = mMsgBtnScr[0]->text().left(DialogRecord::ButtonWidth);
    record.btnscr2 = mMsgBtnScr[1]->text().left(DialogRecord::ButtonWidth);
    record.time = mMsgTime->text().toShort(); // an empty box gives 0
    record.type = mMsgType[0]->isChecked()   ? DialogRecord::Message
                  : mMsgType[1]->isChecked() ? DialogRecord::Progress
                                             : DialogRecord::Pause;
    for (QLineEdit *box : {mMsgCaption, mMsgBtn[0], mMsgBtn[1], mMsgBtnScr[0], mMsgBtnScr[1]})
        box->setModified(false);
    mMsgText->document()->setModified(false);
    mChanged = true;
}

void MainWindow::TestButton()
{
    for (QPushButton *button : {mListNew, mListDelete, mListUp, mListDown})
        button->setEnabled(true);
    const int count = mProject.dialogCount();
    if (count <= 1) {
        mListUp->setEnabled(false);
        mListDown->setEnabled(false);
        mListDelete->setEnabled(false);
    } else if (mCurrentDialog == 1) {
        mListUp->setEnabled(false);
    } else if (mCurrentDialog == count) {
        mListDown->setEnabled(false);
    }
    if (count >= DialogProject::MaxDialogs)
        mListNew->setEnabled(false);
    SetColors();
}

void MainWindow::listNew()
{
    const int count = mProject.dialogCount();
    if (count >= DialogProject::MaxDialogs)
        return;
    // The new dialog goes right after the current one, not at the end.
    const int added = mCurrentDialog + 1;
    for (int k = count; k >= added; --k)
        mProject.record(k + 1) = mProject.record(k);
    mProject.newDialog(added, ResString(QStringLiteral("%0125")));
    mProject.setDialogCount(qint16(count + 1));
    ListUpdate();
    selectEntry(added - 1);
    TestButton();
    mDlgList->setFocus();
}

void MainWindow::listDelete()
{
    const int current = mCurrentDialog;
    const int count = mProject.dialogCount();
    if (count <= 1 || current < 1 || current > count)
        return;
    if (current < count) {
        for (int k = current; k <= count - 1; ++k)
            mProject.record(k) = mProject.record(k + 1);
    } else {
        mProject.clearRecord(current);
    }
    const int remaining = count - 1;
    mProject.setDialogCount(qint16(remaining));
    ListUpdate();
    selectEntry((remaining < current ? remaining : current) - 1);
    TestButton();
    mDlgList->setFocus();
}

void MainWindow::listUp()
{
    moveDialog(-1);
}

void MainWindow::listDown()
{
    moveDialog(1);
}

void MainWindow::moveDialog(int offset)
{
    const int current = mCurrentDialog;
    const int other = current + offset;
    if (current < 1 || current > mProject.dialogCount() || other < 1 ||
        other > mProject.dialogCount())
        return;
    std::swap(mProject.record(current), mProject.record(other));
    ListUpdate();
    // The moved dialog stays selected at its new place.
    selectEntry(other - 1);
    LoadDialog(other);
    TestButton();
    mDlgList->setFocus();
}

void MainWindow::makeOnlyDialog()
{
    mProject.newDialog(1, ResString(QStringLiteral("%0125")));
    mProject.setDialogCount(1);
}

void MainWindow::newProject()
{
    mProject.setPath(QString());
    selectStyle(0);
    mProject.record(0).text = QStringLiteral("0");
    makeOnlyDialog();
    ListUpdate();
    selectEntry(0);
    IconUpdate();
    setWindowTitle(ProductTitle);
}

} // namespace kq

#include "managementwindow.h"

#include "editorhelpers.h"
#include "language.h"
#include "managementwindow_p.h"
#include "optionsetting.h"
#include "uiservices.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kq {

using namespace management;

namespace {

// A viewer row shows an entry line less its id, its comma and the one space after the comma.
constexpr int RowPrefix = 7;

} // namespace

QWidget *ManagementWindow::buildLanguagePanel()
{
    auto *panel = new QWidget(this);
    const QFont font = editor::fixedPitchFont();

    mLangList = dropDown(QStringLiteral("langlist"), 24, panel);
    connect(mLangList, &QComboBox::activated, this, &ManagementWindow::languageSelected);

    mLangButtons = pictureButtons(QStringLiteral("ln_cont"), panel);
    // Making and saving languages is done outside the editor; the two buttons only keep their
    // place.
    mLangButtons.at(0)->setEnabled(false);
    mLangButtons.at(2)->setEnabled(false);
    connect(mLangButtons.at(1), &QPushButton::clicked, this, &ManagementWindow::deleteLanguage);

    mLangInfo = new QPlainTextEdit(panel);
    mLangInfo->setObjectName(QStringLiteral("ln_info"));
    mLangInfo->setFont(font);
    mLangInfo->setReadOnly(true);
    mLangInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    mLangInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame =
        2 * mLangInfo->frameWidth() + 2 * int(mLangInfo->document()->documentMargin());
    mLangInfo->setFixedHeight(4 * QFontMetrics(font).lineSpacing() + frame + 2);

    auto *idLabel = new QLabel(QStringLiteral("%0210"), panel);
    idLabel->setObjectName(QStringLiteral("ln_desc"));
    mLangId = dropDown(QStringLiteral("ln_id"), 18, panel);
    idLabel->setBuddy(mLangId);

    auto *viewer = new QFrame(panel);
    viewer->setObjectName(QStringLiteral("Picture1"));
    viewer->setFrameShape(QFrame::StyledPanel);
    viewer->setFrameShadow(QFrame::Sunken);
    mStringViewer = viewer;
    // The mouse wheel over the rows or between them turns the scroll bar.
    viewer->installEventFilter(this);
    auto *rows = new QVBoxLayout;
    rows->setSpacing(1);
    for (int r = 0; r < int(mStringBoxes.size()); ++r) {
        auto *row = new QLineEdit(viewer);
        row->setObjectName(QStringLiteral("ln_st") + QString::number(r));
        row->setFont(font);
        row->setReadOnly(true);
        row->setFrame(false);
        QSizePolicy policy = row->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        row->setSizePolicy(policy);
        row->installEventFilter(this);
        rows->addWidget(row);
        mStringBoxes.at(r) = row;
    }
    mStringScroll = new QScrollBar(Qt::Vertical, viewer);
    mStringScroll->setObjectName(QStringLiteral("ln_scroll"));
    mStringScroll->setRange(0, 0);
    mStringScroll->setPageStep(int(mStringBoxes.size()));
    connect(mStringScroll, &QScrollBar::valueChanged, this, &ManagementWindow::showStringRows);
    auto *viewerLayout = new QHBoxLayout(viewer);
    viewerLayout->setContentsMargins(4, 4, 0, 4);
    viewerLayout->addLayout(rows, 1);
    viewerLayout->addWidget(mStringScroll);

    auto *top = new QHBoxLayout;
    top->addWidget(mLangList, 1);
    for (QPushButton *button : mLangButtons)
        top->addWidget(button);
    auto *idRow = new QHBoxLayout;
    idRow->addWidget(idLabel);
    idRow->addWidget(mLangId, 1);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addLayout(top);
    layout->addWidget(mLangInfo);
    layout->addLayout(idRow);
    layout->addWidget(viewer, 1);
    return panel;
}

void ManagementWindow::fillLanguageList()
{
    mLanguageFiles = folderEntries(QStringLiteral("Languages"), QStringLiteral("*.lang"));
    const QStringList shown = validEntries(
        mLanguageFiles,
        [](const QString &file) {
            return LanguageInfo(file, QStringLiteral("GetVersion")) == u"2.0";
        },
        [](const QString &file) {
            return listedName(LanguageInfo(file, QStringLiteral("GetName")),
                              LanguageInfo(file, QStringLiteral("GetStatus")));
        });
    showEntries(mLangList, shown, mLanguageFiles, OptionLanguage,
                &ManagementWindow::languageSelected);
}

void ManagementWindow::languageSelected()
{
    const int row = mLangList->currentIndex();
    if (row < 0 || row >= mLanguageFiles.size())
        return;
    const QString file = mLanguageFiles.at(row);

    const QString version = LanguageInfo(file, QStringLiteral("GetVersion"));
    if (version != u"2.0" &&
        acceptsDeletingVersion(version, 22, ResString(QStringLiteral("%0201")))) {
        deleteLanguage();
        return;
    }

    mLangButtons.at(1)->setEnabled(LanguageInfo(file, QStringLiteral("GetStatus")) != u"General");
    mLangInfo->setPlainText(editor::toBoxText(ResString(QStringLiteral("%0230")) + u'\n' + u' ' +
                                              mLangList->currentText() + u'\n' +
                                              ResString(QStringLiteral("%0231")) + u'\n' + u' ' +
                                              LanguageInfo(file, QStringLiteral("GetAuthor"))));

    // An identifier other than 0 or 1 has no entry, and then none is shown.
    bool isNumber = false;
    const int id = LanguageInfo(file, QStringLiteral("GetId")).toInt(&isNumber);
    mLangId->setCurrentIndex(isNumber && id >= 0 && id < mLangId->count() ? id : -1);

    mStringRows = LanguageStrings(file).split(QStringLiteral("&&"));
    {
        const QSignalBlocker blocker(mStringScroll);
        mStringScroll->setMaximum(int(mStringRows.size()) - 1);
    }
    showStringRows();

    OptionSetting(OptionWrite, OptionLanguage, file);
}

void ManagementWindow::showStringRows()
{
    for (int r = 0; r < int(mStringBoxes.size()); ++r) {
        QLineEdit *box = mStringBoxes.at(r);
        const int k = mStringScroll->value() + r;
        box->setVisible(k < mStringRows.size());
        if (k < mStringRows.size()) {
            box->setText(mStringRows.at(k).mid(RowPrefix));
            box->setCursorPosition(0);
        }
    }
}

void ManagementWindow::deleteLanguage()
{
    const int row = mLangList->currentIndex();
    if (row >= 0 && row < mLanguageFiles.size())
        deleteListed(mLangList, languagePath(mLanguageFiles.at(row)), 0,
                     &ManagementWindow::languageSelected);
}

} // namespace kq

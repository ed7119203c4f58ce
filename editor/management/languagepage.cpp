#include "languagepage.h"

#include "editorlook.h"
#include "fileplaces.h"
#include "language.h"
#include "optionsetting.h"
#include "textlines.h"
#include "uiservices.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
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

using namespace Management;

namespace {

// A viewer row shows an entry line less its id, its comma and the one space after the comma.
constexpr int RowPrefix = 7;

} // namespace

LanguagePage::LanguagePage(UiServices &ui, QWidget *parent)
    : ManagementPage(ui, TextId::TabLanguages, parent)
{
    const QFont font = EditorLook::fixedPitchFont();

    mList = dropDown(QStringLiteral("langlist"), 24, this);
    mList->setAccessibleName(languageText(TextId::TabLanguages));
    connect(mList, &QComboBox::activated, this, &LanguagePage::languageSelected);

    mButtons =
        pictureButtons(QStringLiteral("ln_cont"),
                       {TextId::NewLanguage, TextId::DeleteLanguage, TextId::SaveLanguage}, this);
    // Making and saving languages is done outside the editor; the two buttons only keep their
    // place.
    mButtons.at(0)->setEnabled(false);
    mButtons.at(2)->setEnabled(false);
    connect(mButtons.at(1), &QPushButton::clicked, this, &LanguagePage::deleteLanguage);

    mInfo = new QPlainTextEdit(this);
    mInfo->setObjectName(QStringLiteral("ln_info"));
    mInfo->setAccessibleName(languageText(TextId::AboutLanguage));
    mInfo->setFont(font);
    mInfo->setReadOnly(true);
    mInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    mInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * mInfo->frameWidth() + 2 * int(mInfo->document()->documentMargin());
    mInfo->setFixedHeight(4 * QFontMetrics(font).lineSpacing() + frame + 2);

    auto *idLabel = new QLabel(resourceId(TextId::LanguageIdLabel), this);
    idLabel->setObjectName(QStringLiteral("ln_desc"));
    mLangId = dropDown(QStringLiteral("ln_id"), 18, this);
    idLabel->setBuddy(mLangId);

    auto *viewer = new QFrame(this);
    viewer->setObjectName(QStringLiteral("Picture1"));
    viewer->setFrameShape(QFrame::StyledPanel);
    viewer->setFrameShadow(QFrame::Sunken);
    mViewer = viewer;
    // The mouse wheel over the rows or between them turns the scroll bar.
    viewer->installEventFilter(this);
    auto *rows = new QVBoxLayout;
    rows->setSpacing(1);
    for (int r = 0; r < int(mStringBoxes.size()); ++r) {
        auto *row = new QLineEdit(viewer);
        row->setObjectName(QStringLiteral("ln_st") + QString::number(r));
        row->setAccessibleName(languageText(TextId::LanguageTextRow).arg(r + 1));
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
    mScroll = new QScrollBar(Qt::Vertical, viewer);
    mScroll->setObjectName(QStringLiteral("ln_scroll"));
    mScroll->setRange(0, 0);
    mScroll->setPageStep(int(mStringBoxes.size()));
    connect(mScroll, &QScrollBar::valueChanged, this, &LanguagePage::showStringRows);
    auto *viewerLayout = new QHBoxLayout(viewer);
    viewerLayout->setContentsMargins(4, 4, 0, 4);
    viewerLayout->addLayout(rows, 1);
    viewerLayout->addWidget(mScroll);

    auto *top = new QHBoxLayout;
    top->addWidget(mList, 1);
    for (QPushButton *button : mButtons)
        top->addWidget(button);
    auto *idRow = new QHBoxLayout;
    idRow->addWidget(idLabel);
    idRow->addWidget(mLangId, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addLayout(top);
    layout->addWidget(mInfo);
    layout->addLayout(idRow);
    layout->addWidget(viewer, 1);

    mLangId->addItems(
        {languageText(TextId::LanguageRussian), languageText(TextId::LanguageEnglish)});
    mButtons.at(1)->setToolTip(languageText(TextId::DeleteLanguage));
}

void LanguagePage::fill()
{
    // The list and the setting name languages by their bare file names.
    QStringList files;
    for (const QString &path : folderEntries(QStringLiteral("Languages"), QStringLiteral("*.lang")))
        files << QFileInfo(path).fileName();
    const QStringList shown = validEntries(
        files,
        [](const QString &file) {
            return languageHeaderValue(file, QStringLiteral("GetVersion")) == u"2.0";
        },
        [](const QString &file) {
            return listedName(languageHeaderValue(file, QStringLiteral("GetName")),
                              languageHeaderValue(file, QStringLiteral("GetStatus")),
                              FilePlaces::current().isUsersOwn(languagePath(file)));
        });
    showEntries(mList, shown, files, optionSetting(OptionRead, OptionLanguage),
                [this] { languageSelected(); });
}

void LanguagePage::languageSelected()
{
    const QString file = mList->currentData().toString();
    if (file.isEmpty())
        return;

    const QString version = languageHeaderValue(file, QStringLiteral("GetVersion"));
    if (version != u"2.0" && acceptsDeletingVersion(version, TextId::LanguageVersionBefore,
                                                    TextId::LanguageVersionAfter, title())) {
        deleteLanguage();
        return;
    }

    mButtons.at(1)->setEnabled(languageHeaderValue(file, QStringLiteral("GetStatus")) !=
                                   u"General" ||
                               FilePlaces::current().isUsersOwn(languagePath(file)));
    // The name as the file gives it: the list's "*" marks the user's own files, not the name.
    const QString name = languageHeaderValue(file, QStringLiteral("GetName"));
    mInfo->setPlainText(toBoxText(languageText(TextId::LanguageNameLabel) + u'\n' + u' ' + name +
                                  u'\n' + languageText(TextId::LanguageAuthorLabel) + u'\n' + u' ' +
                                  languageHeaderValue(file, QStringLiteral("GetAuthor"))));

    // An identifier other than 0 or 1 has no entry, and then none is shown.
    bool isNumber = false;
    const int id = languageHeaderValue(file, QStringLiteral("GetId")).toInt(&isNumber);
    mLangId->setCurrentIndex(isNumber && id >= 0 && id < mLangId->count() ? id : -1);

    mStringRows = languageResourceLines(file).split(QStringLiteral("&&"));
    {
        const QSignalBlocker blocker(mScroll);
        mScroll->setMaximum(int(mStringRows.size()) - 1);
    }
    showStringRows();

    optionSetting(OptionWrite, OptionLanguage, file);
}

void LanguagePage::showStringRows()
{
    for (int r = 0; r < int(mStringBoxes.size()); ++r) {
        QLineEdit *box = mStringBoxes.at(r);
        const int k = mScroll->value() + r;
        box->setVisible(k < mStringRows.size());
        if (k < mStringRows.size()) {
            box->setText(mStringRows.at(k).mid(RowPrefix));
            box->setCursorPosition(0);
        }
    }
}

void LanguagePage::deleteLanguage()
{
    const QString file = mList->currentData().toString();
    if (!file.isEmpty())
        deleteListed(mList, languagePath(file), [this] { languageSelected(); });
}

bool LanguagePage::eventFilter(QObject *watched, QEvent *event)
{
    // The mouse wheel over the rows or between them turns the scroll bar.
    if (event->type() == QEvent::Wheel && (watched == mViewer || watched->parent() == mViewer)) {
        QCoreApplication::sendEvent(mScroll, event);
        return true;
    }
    return ManagementPage::eventFilter(watched, event);
}

} // namespace kq

#include "managementwindow.h"

#include "editorhelpers.h"
#include "language.h"
#include "localizecontrols.h"
#include "managementwindow_p.h"
#include "optionsetting.h"
#include "productinfo.h"
#include "programfolder.h"
#include "uiservices.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>

namespace kq {

namespace management {

QString resId(int number)
{
    return u'%' + QString::number(number).rightJustified(4, u'0');
}

QStringList folderEntries(const QString &folder, const QString &pattern)
{
    return QDir(programPath(folder)).entryList({pattern}, QDir::Files, QDir::Name);
}

QStringList validEntries(QStringList &paths, const std::function<bool(const QString &)> &valid,
                         const std::function<QString(const QString &)> &text)
{
    QStringList shown;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!valid(paths.at(i))) {
            paths.resize(i);
            break;
        }
        shown << text(paths.at(i));
    }
    return shown;
}

QString listedName(const QString &name, const QString &status)
{
    return status == u"User" ? name + u'*' : name;
}

QPushButton *captionButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QComboBox *dropDown(const QString &name, int characters, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setFont(editor::fixedPitchFont());
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(characters);
    return box;
}

std::array<QPushButton *, 3> pictureButtons(const QString &prefix, QWidget *parent)
{
    static constexpr const char16_t *pictures[] = {u"new.png", u"delete.png", u"save.png"};
    std::array<QPushButton *, 3> buttons{};
    for (int i = 0; i < int(buttons.size()); ++i)
        buttons.at(i) = editor::pictureButton(
            prefix + QString::number(i),
            QStringLiteral("management/") + QString::fromUtf16(pictures[i]), parent);
    return buttons;
}

} // namespace management

using namespace management;

namespace {

// Wide enough for the product's texts in every shipped language.
constexpr QSize SmallestSize(600, 440);

} // namespace

ManagementWindow::ManagementWindow(UiServices &ui, DialogProject &project,
                                   std::function<void()> projectReloaded, QWidget *parent)
    : QDialog(parent), mUi(ui), mProject(project), mProjectReloaded(std::move(projectReloaded))
{
    setObjectName(QStringLiteral("store"));
    setWindowTitle(QStringLiteral("Управление программой"));

    mTabs = new QTabBar(this);
    mTabs->setObjectName(QStringLiteral("maintab"));
    mTabs->setExpanding(false);
    mTabs->setDrawBase(true);

    mPanels = {buildLanguagePanel(), buildThemePanel(), buildPluginPanel(), buildDownloadsPanel()};
    auto *panelArea = new QGridLayout;
    panelArea->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < int(mPanels.size()); ++i) {
        QWidget *panel = mPanels.at(i);
        panel->setObjectName(QStringLiteral("frm") + QString::number(i));
        // Hidden panels keep their room, so the window is as large as its largest panel.
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
        panelArea->addWidget(panel, 0, 0);
    }

    auto *help = captionButton(QStringLiteral("btns0"), QStringLiteral("%0011"), this);
    auto *close = captionButton(QStringLiteral("btns1"), QStringLiteral("%0010"), this);
    connect(help, &QPushButton::clicked, this, [this] { editor::openReadme(mUi); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(help);
    buttonRow->addStretch();
    buttonRow->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(mTabs);
    layout->addLayout(panelArea, 1);
    layout->addLayout(buttonRow);

    {
        const QSignalBlocker blocker(mTabs);
        for (int i = 201; i <= 205; ++i)
            mTabs->addTab(ResString(resId(i)));
    }
    connect(mTabs, &QTabBar::currentChanged, this, &ManagementWindow::tabChosen);

    mTextActive->setText(ResString(QStringLiteral("%0224")));
    mTextInactive->setText(ResString(QStringLiteral("%0225")));
    mLangId->addItems({ResString(QStringLiteral("%0222")), ResString(QStringLiteral("%0223"))});
    mLangButtons.at(1)->setToolTip(ResString(QStringLiteral("%0226")));
    for (int i = 0; i < int(mThemeButtons.size()); ++i)
        mThemeButtons.at(i)->setToolTip(ResString(resId(227 + i)));
    {
        const QSignalBlocker blocker(mThemeItem);
        for (int i = 237; i <= 246; ++i)
            mThemeItem->addItem(ResString(resId(i)));
    }

    LocalizeControls(this);
    fixSize();

    for (int i = 1; i < int(mPanels.size()); ++i)
        mPanels.at(i)->hide();
    FrmSub(0);
}

QWidget *ManagementWindow::buildDownloadsPanel()
{
    auto *panel = new QWidget(this);
    auto *text = new QLabel(QStringLiteral("%0216"), panel);
    text->setObjectName(QStringLiteral("ad_lbl"));
    text->setWordWrap(true);
    auto *open = captionButton(QStringLiteral("ad_down"), QStringLiteral("%0217"), panel);
    connect(open, &QPushButton::clicked, this, [this] { mUi.openUrl(QUrl(ProductWebPage)); });

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 16, 4, 4);
    layout->addWidget(text);
    auto *row = new QHBoxLayout;
    row->addWidget(open);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    return panel;
}

void ManagementWindow::fixSize()
{
    setFixedSize(sizeHint().expandedTo(SmallestSize));
}

void ManagementWindow::tabChosen(int index)
{
    for (QWidget *panel : mPanels)
        panel->hide();
    const QString caption = mTabs->tabText(index);
    for (int i = 0; i < 5; ++i) {
        if (caption != ResString(resId(201 + i)))
            continue;
        // The last two tabs both lead to the downloads page.
        mPanels.at(std::min(i, 3))->show();
        FrmSub(i);
        return;
    }
}

void ManagementWindow::showEntries(QComboBox *list, const QStringList &texts,
                                   const QStringList &files, qint32 settingKey, Handler selected)
{
    {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(texts);
        list->setCurrentIndex(-1);
    }
    const int current = int(files.indexOf(OptionSetting(OptionRead, settingKey)));
    if (current >= 0)
        selectEntry(list, current, selected);
}

void ManagementWindow::selectEntry(QComboBox *list, int row, Handler selected)
{
    {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(row);
    }
    (this->*selected)();
}

void ManagementWindow::FrmSub(int panel)
{
    switch (panel) {
    case 0:
        fillLanguageList();
        break;
    case 1:
        fillThemeList();
        break;
    case 2:
        fillPluginList();
        break;
    default:
        break;
    }
}

bool ManagementWindow::acceptsDeletingVersion(const QString &version, int firstId,
                                              const QString &title)
{
    const QString question = ResString(resId(firstId)) + version + ResString(resId(firstId + 1));
    return mUi.message(this, question, title, UiServices::Icon::Warning,
                       UiServices::Buttons::YesNo) == UiServices::Answer::Yes;
}

void ManagementWindow::deleteListed(QComboBox *list, const QString &path, int panel,
                                    Handler selected)
{
    if (!confirmsDelete(list->currentText(), ResString(resId(201 + panel))))
        return;
    QFile::remove(path);
    FrmSub(panel);
    if (list->count() > 0)
        selectEntry(list, 0, selected);
}

bool ManagementWindow::confirmsDelete(const QString &entryText, const QString &title)
{
    return mUi.message(this, ResString(QStringLiteral("%0234")) + u'\n' + entryText, title,
                       UiServices::Icon::Question,
                       UiServices::Buttons::YesNo) != UiServices::Answer::No;
}

} // namespace kq

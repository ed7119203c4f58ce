#include "managementwindow.h"

#include "language.h"
#include "languagepage.h"
#include "localizecontrols.h"
#include "managementpage.h"
#include "optionsetting.h"
#include "pluginpage.h"
#include "productinfo.h"
#include "themepage.h"
#include "uiservices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>

namespace kq {

using namespace Management;

namespace {

// Wide enough for the product's texts in every shipped language.
constexpr QSize SmallestSize(600, 440);

constexpr TextId TabTitles[] = {TextId::TabLanguages, TextId::TabThemes, TextId::TabPlugins,
                                TextId::TabDownloads, TextId::TabUpdates};

} // namespace

ManagementWindow::ManagementWindow(UiServices &ui, const DialogProject &project, QWidget *parent)
    : QDialog(parent), mUi(ui)
{
    setObjectName(QStringLiteral("store"));
    setWindowTitle(QStringLiteral("Управление программой"));

    mTabs = new QTabBar(this);
    mTabs->setObjectName(QStringLiteral("maintab"));
    mTabs->setExpanding(false);
    mTabs->setDrawBase(true);

    mLanguages = new LanguagePage(ui, this);
    mThemes = new ThemePage(ui, this);
    mPlugins = new PluginPage(ui, project, this);
    connect(mPlugins, &PluginPage::resultLoaded, this, &ManagementWindow::pluginResultLoaded);
    mPanels = {mLanguages, mThemes, mPlugins, buildDownloadsPanel()};
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

    auto *help = captionButton(QStringLiteral("btns0"), resourceId(TextId::ManagementHelp), this);
    auto *close = captionButton(QStringLiteral("btns1"), resourceId(TextId::ManagementClose), this);
    connect(help, &QPushButton::clicked, this, [this] { mUi.openReadme(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    // Takes effect at the next plain start; a file opened from the file manager never waits.
    auto *startupPicture = new QCheckBox(languageText(TextId::ShowStartupPicture), this);
    startupPicture->setObjectName(QStringLiteral("chk_splash"));
    startupPicture->setChecked(optionSetting(OptionRead, OptionStartupPicture) != u'0');
    connect(startupPicture, &QCheckBox::toggled, this, [](bool on) {
        optionSetting(OptionWrite, OptionStartupPicture,
                      on ? QStringLiteral("1") : QStringLiteral("0"));
    });

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(help);
    buttonRow->addSpacing(12);
    buttonRow->addWidget(startupPicture);
    buttonRow->addStretch();
    buttonRow->addWidget(close);
    // Tab goes along the row as it is seen: the box sits between the two buttons.
    setTabOrder(help, startupPicture);
    setTabOrder(startupPicture, close);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(mTabs);
    layout->addLayout(panelArea, 1);
    layout->addLayout(buttonRow);

    {
        const QSignalBlocker blocker(mTabs);
        for (const TextId title : TabTitles)
            mTabs->addTab(languageText(title));
    }
    connect(mTabs, &QTabBar::currentChanged, this, &ManagementWindow::tabChosen);

    localizeControls(this);
    fixSize();

    for (int i = 1; i < int(mPanels.size()); ++i)
        mPanels.at(i)->hide();
    refillList(0);
}

QWidget *ManagementWindow::buildDownloadsPanel()
{
    auto *panel = new QWidget(this);
    auto *text = new QLabel(resourceId(TextId::DownloadsText), panel);
    text->setObjectName(QStringLiteral("ad_lbl"));
    text->setWordWrap(true);
    auto *open = captionButton(QStringLiteral("ad_down"), resourceId(TextId::OpenWebsite), panel);
    // Said here, in the window the user looks at, with the address ready to be copied.
    auto *failure = new QLabel(panel);
    failure->setObjectName(QStringLiteral("ad_fail"));
    failure->setTextFormat(Qt::PlainText);
    failure->setWordWrap(true);
    failure->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    failure->hide();
    const auto showFailure = [failure] {
        failure->setText(languageText(TextId::AddressNotOpened).arg(ProductWebPage));
        failure->show();
    };
    connect(open, &QPushButton::clicked, this, [this, failure, showFailure] {
        failure->hide();
        if (!mUi.openUrl(QUrl(ProductWebPage), failure, showFailure))
            showFailure();
    });

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 16, 4, 4);
    layout->addWidget(text);
    auto *row = new QHBoxLayout;
    row->addWidget(open);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(failure);
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
    for (int i = 0; i < int(std::size(TabTitles)); ++i) {
        if (caption != languageText(TabTitles[i]))
            continue;
        // The last two tabs both lead to the downloads page.
        mPanels.at(std::min(i, 3))->show();
        refillList(i);
        return;
    }
}

void ManagementWindow::refillList(int panel)
{
    const std::array<ManagementPage *, 3> pages{mLanguages, mThemes, mPlugins};
    if (panel >= 0 && panel < int(pages.size()))
        pages.at(panel)->fill();
}

} // namespace kq
